// The Physics module's pass: gather, step, write back, and the body index.
#include "physics.h"

#include <cassert>
#include <exception>
#include <string>

#include "collision_manager.h"
#include "collision_manager/snapshot.h"
#include "event_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "system.h"

namespace {

bool IsZero(const Quaternion& q) { return q.s == 0.0f && q.v.x == 0.0f && q.v.y == 0.0f && q.v.z == 0.0f && q.v.w == 0.0f; }

// A mass that is not positive (or not a number) counts as none.
float UsableMass(float mass) { return mass > 0.0f ? mass : 0.0f; }

}  // namespace

void Physics::Init() {
    RegisterEventClient();
    initialised.store(true);
}

void Physics::Kill() {
    initialised.store(false);
    UnregisterEventClient();
    forcePhysics.ClearForces();
}

void Physics::ProcessEvent(const Event& event) { forcePhysics.ProcessEvent(event); }

void Physics::Update() {
    if (!initialised.load()) return;
    DispatchEvents();
    PollBroadcasts();
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    GatherBodies(objects);
    Step(frameClock.frameStart, frameClock.timeStep);
    WriteBack(objects);
}

void Physics::PollBroadcasts() {
    for (const Event& event : Module<EventManager>::Instance()->PollEvents(EventManager::kBroadcast)) {
        if (event.eventType != ObjectManager::kKillGameObject) continue;
        try {
            RemoveBody(event.GetParam<unsigned>(ObjectManager::kParamObjNum));
        } catch (const std::exception& error) {
            ReportDroppedEvent(EventManager::kBroadcast, event, error);
        }
    }
}

// --- Bodies

bool Physics::HasBody(unsigned objNum) const { return bodyIndex.get<ByObjNumHashed>().count(objNum) != 0; }

unsigned Physics::GetBodyIndex(unsigned objNum) const {
    const auto found = bodyIndex.get<ByObjNumHashed>().find(objNum);
    assert(found != bodyIndex.get<ByObjNumHashed>().end() && "GetBodyIndex of an object without a body");
    return found->index;
}

RigidBodyState& Physics::GetBody(unsigned objNum) { return bodies[GetBodyIndex(objNum)]; }

RigidBodyState* Physics::FindBody(unsigned objNum) {
    const auto& byObject = bodyIndex.get<ByObjNumHashed>();
    const auto found = byObject.find(objNum);
    return found == byObject.end() ? nullptr : &bodies[found->index];
}

void Physics::RemoveBody(unsigned objNum) {
    auto& byObject = bodyIndex.get<ByObjNumHashed>();
    const auto found = byObject.find(objNum);
    if (found == byObject.end()) return;
    const unsigned removed = found->index;
    byObject.erase(found);
    bodies.erase(bodies.begin() + removed);
    // Ascending, so each entry moves into the place just freed: the order and
    // the uniqueness of the places hold throughout.
    auto& byIndex = bodyIndex.get<ByBodyIndex>();
    for (auto later = byIndex.upper_bound(removed); later != byIndex.end(); ++later)
        byIndex.modify(later, [](BodyIndexEntry& entry) { --entry.index; });
}

// --- Gather

void Physics::GatherBodies(ObjectManager& objects) {
    ObjectLock guard(objects);
    for (const auto& entry : objects.gameObjectList) {
        const GameObject& object = entry.second;
        const PhysicsComp* physics = object.GetPhysicsComp();
        if (!physics || physics->infMass) continue;
        if (object.isDead)
            RemoveBody(object.objNum);
        else
            GatherBody(object);
    }
}

void Physics::GatherBody(const GameObject& object) {
    auto& byObject = bodyIndex.get<ByObjNumHashed>();
    auto found = byObject.find(object.objNum);
    if (found == byObject.end())
        found = byObject.insert(BodyIndexEntry{object.objNum, static_cast<unsigned>(bodyIndex.size())}).first;
    if (bodies.size() < found->index + 1) bodies.resize(found->index + 1);
    const PhysicsComp& physics = *object.GetPhysicsComp();
    RigidBodyState& body = bodies[found->index];
    body.forceAccum = Vector();
    body.torqueAccum = Vector();
    body.position = body.prevPosition = object.trans;
    body.orientation = body.prevOrientation = object.rot;
    body.angularVel = body.prevAngularVel = physics.angularVel;
    body.linearVel = body.prevLinearVel = physics.linearVel;
    body.mass = physics.mass;
    // A mass at or below zero cannot be accelerated (rather than dividing by it).
    body.invMass = physics.mass > 0.0f ? 1.0f / physics.mass : 0.0f;
    body.infMass = physics.infMass;
}

// --- Step

void Physics::Step(double t0, double dt) {
    const unsigned pass = Module<CollisionManager>::Instance()->GetCollisionEvents(contacts);
    // A list already answered (collision switched off, or two physics passes
    // within one collision pass) would push the same bodies twice.
    if (pass != answeredContactPass) {
        for (const CollisionEvent& contact : contacts) ResolveContact(contact);
        answeredContactPass = pass;
    }
    forcePhysics.ApplyForces(*this, t0);
    for (RigidBodyState& body : bodies) body.Integrate(0.0f, dt);
    NormalizeOrientations();
}

void Physics::ResolveContact(const CollisionEvent& event) {
    if (!event.resolveContact) return;
    const Vector push = event.contactNormal * event.depth;
    RigidBodyState* a = FindBody(event.objA);
    RigidBodyState* b = FindBody(event.objB);
    // Without a body an object is immovable; two massless bodies share the
    // depth; otherwise the lighter one moves farther.
    float shareA = 1.0f;
    float shareB = 1.0f;
    if (a && b) {
        const float massA = UsableMass(a->mass);
        const float massB = UsableMass(b->mass);
        const float total = massA + massB;
        shareA = total > 0.0f ? massB / total : 0.5f;
        shareB = total > 0.0f ? massA / total : 0.5f;
    }
    if (a) a->position = a->position - push * shareA;
    if (b) b->position = b->position + push * shareB;
}

void Physics::NormalizeOrientations() {
    for (RigidBodyState& body : bodies) body.orientation = UnitOrIdentity(body.orientation);
}

// --- Write back

void Physics::WriteBack(ObjectManager& objects) {
    ObjectLock guard(objects);
    for (const BodyIndexEntry& entry : bodyIndex.get<ByBodyIndex>()) {
        const GameObjectList::iterator found = objects.gameObjectList.find(entry.objNum);
        if (found == objects.gameObjectList.end() || found->second.isDead) continue;
        // An object that lost its PhysicsComp meanwhile keeps its state.
        if (!found->second.GetPhysicsComp()) continue;
        WriteBody(found->second, bodies[entry.index]);
    }
}

void Physics::WriteBody(GameObject& object, const RigidBodyState& body) {
    PhysicsComp& physics = *object.GetPhysicsComp();
    const Vector trans = object.trans + (body.position - body.prevPosition);
    const Quaternion turn = body.orientation - body.prevOrientation;
    const Quaternion turned = object.rot + turn;
    const Vector angularVel = physics.angularVel + (body.angularVel - body.prevAngularVel);
    const Vector linearVel = physics.linearVel + (body.linearVel - body.prevLinearVel);
    if (!IsFinite(trans) || !IsFinite(turned) || !IsFinite(angularVel) || !IsFinite(linearVel)) {
        WarnNotFinite(object);
        return;
    }
    object.trans = trans;
    // A turn added to whatever rotation the object holds now is made a unit
    // rotation again; an object that did not turn keeps its rotation as is.
    if (!IsZero(turn)) object.rot = UnitOrIdentity(turned);
    physics.angularVel = angularVel;
    physics.linearVel = linearVel;
}

void Physics::WarnNotFinite(const GameObject& object) {
    if (!warnedNotFinite.insert(object.objNum).second) return;
    Module<System>::Instance()->Warning(SOURCE_POS + "body of " + object.name + " (" + std::to_string(object.objNum) +
                                       ") is not finite after the step; the object keeps its last state\n");
}
