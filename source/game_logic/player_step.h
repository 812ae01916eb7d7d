// The guard on one physics step of the player's machine. The frame's step can
// be long (a tenth of a second and more on software OpenGL, over a quarter
// after a stall), and a body that moves farther in one step than a wall is
// thick, or than the push-out can undo, ends up inside scenery, pushed through
// it or under it, or past the rim. Before the step, the player's velocity is
// cut so that its box stops at the face of any solid level object it would
// enter (sliding along it), at the rim's inner faces, and no lower than half
// its hover height over the ground where the step ends.
//
// Main thread, called by the player controller and the dead-player motion
// with the object lock held. Changes only the velocity and, to put a player
// that something pushed past the rim back inside it, the position.
#pragma once

class GameObject;
class ObjectManager;
class Vector;

void GuardPlayerStep(ObjectManager& objects, GameObject& player, Vector& velocity, float hover, float dt);
