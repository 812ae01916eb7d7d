// The owner look-ups shared by the behaviour states: every state names the
// game object it drives and finds it again in the object table at each call,
// so a state never holds a pointer that could outlive its object.
//
// Threads: the states run on the main thread inside the behaviour update, or
// while an object is being built; either way the caller holds the object lock
// (asserted in the test builds). These helpers never take the lock.
#pragma once

#include <string>

class GameObject;

namespace state_owner {

// The registered object of that name, or null when there is none (an owner
// killed and removed, or an object stamped before it was registered).
GameObject* Find(const std::string& name);

// Sets the current animation of the owner's skeleton; nothing without a
// GraphicsComp.
void SetAnimation(const std::string& name, int animation);

// linearVel and angularVel to zero (all four components); nothing without a
// PhysicsComp.
void StopAll(const std::string& name);

// linearVel to zero (all four components) and angularVel.y to 0; nothing
// without a PhysicsComp.
void StopMoving(const std::string& name);

}  // namespace state_owner
