// Physics: moves every object that has a PhysicsComp, once per frame on the
// physics thread. A pass copies the live bodies out of the object table
// (GatherBodies), pushes contacting bodies apart by their masses using the
// contacts the collision thread published for the previous pass, adds the
// standing forces (ForcePhysics), integrates velocities, positions and
// orientations over the pass's time step, and writes back only the change
// it made (WriteBack), so a move the main thread made meanwhile survives.
// Contacts correct positions only: no bounce, no friction.
//
// Threads: Init and Kill on the main thread; Update (and so ProcessEvent) on
// the physics thread, or a test standing in for it. The bodies, their index
// and the forces belong to that thread. The object lock is taken only to
// gather and to write back (RAII guard); nothing escapes Update.
//
// Handles "AddForce" and "ClearForces" addressed to "Physics", and
// "KillGameObject" on "BROADCAST" (the body is dropped). Sends nothing.
// Never calls AddGameObject, never holds the object lock during the step.
#pragma once

#include <atomic>
#include <set>
#include <vector>

#include "collision_manager/records.h"
#include "main/frame_clock.h"
#include "module.h"
#include "physics/forces.h"
#include "physics/rigid_body.h"

class GameObject;
class ObjectManager;

// No constraint exists yet; the extension keeps its place.
class ConstraintPhysics : public Extension<Physics> {};
// Its list of corrections, which nothing fills, is left out.
class ImpulsePhysics : public Extension<Physics> {};

class Physics : public virtual Module<Physics> {
public:
    Physics() : Module<Physics>("Physics") {}

    // Registers the client "Physics".
    void Init() override;
    // Nothing before Init or after Kill. Otherwise: this module's events,
    // the "KillGameObject" broadcasts, then gather, step and write back with
    // the pass's clock.
    void Update() override;
    // Unregisters the client and drops every force; the bodies stay.
    void Kill() override;
    // Hands "AddForce" and "ClearForces" to ForcePhysics.
    void ProcessEvent(const Event& event) override;

    // The clock the next Update uses: the worker loop sets the pass's
    // published clock; tests set their own.
    void SetFrameClock(const FrameClock& clock) { frameClock = clock; }

    // --- Bodies (physics thread)
    bool HasBody(unsigned objNum) const;
    // The body's place in `bodies`; the number must have a body.
    unsigned GetBodyIndex(unsigned objNum) const;
    // The number must have a body. Valid until bodies are added or removed.
    RigidBodyState& GetBody(unsigned objNum);
    // The body of the number, or null when it has none. Valid until bodies
    // are added or removed.
    RigidBodyState* FindBody(unsigned objNum);
    // Drops the body and moves every later one down a place; nothing when
    // the number has none.
    void RemoveBody(unsigned objNum);

    // --- The steps of a pass
    // Under the object lock: every live object with a PhysicsComp that is not
    // of infinite mass gets (or refreshes) its body; a dead one loses it.
    void GatherBodies(ObjectManager& objects);
    // Contacts (each published list once), forces, integration, unit
    // orientations, for the frame start t0 and step dt in seconds.
    void Step(double t0, double dt);
    // Pushes the event's two bodies apart along its normal by its depth,
    // the lighter one farther; an object without a body does not move.
    void ResolveContact(const CollisionEvent& event);
    void NormalizeOrientations();
    // Under the object lock: adds each body's change of this pass to its
    // object, unless the result would not be finite.
    void WriteBack(ObjectManager& objects);

    ConstraintPhysics constraintPhysics;
    ForcePhysics forcePhysics;
    ImpulsePhysics impulsePhysics;
    BodyIndex bodyIndex;
    std::vector<RigidBodyState> bodies;

private:
    void PollBroadcasts();
    void GatherBody(const GameObject& object);
    void WriteBody(GameObject& object, const RigidBodyState& body);
    void WarnNotFinite(const GameObject& object);

    std::atomic<bool> initialised{false};
    FrameClock frameClock;
    std::vector<CollisionEvent> contacts;  // reused between passes
    unsigned answeredContactPass = 0;      // the collision pass last answered
    std::set<unsigned> warnedNotFinite;    // objects already reported
};
