// Builds the objects of collision and physics tests in the ObjectManager's
// table: spheres, oriented and axis-aligned boxes, shots and bodies, with a
// fluent description, and fixtures that give each test fresh event queues,
// an empty object table and an initialised CollisionManager (and Physics).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "collision_manager.h"
#include "event_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "physics.h"
#include "support/log_capture.h"

namespace test_support {

// One object to add. Every object gets a CollisionComp with a bounding
// sphere; Box and AxisBox add the boxes, Shot a BulletComp, Body (or a
// velocity) a PhysicsComp.
struct SceneObject {
    explicit SceneObject(std::string name) : name(std::move(name)) {
        collision.hasBoundSphere = true;
        collision.category = collision.collidesWith = 1;
    }

    SceneObject& At(float x, float y, float z) { trans = Vector(x, y, z); return *this; }
    SceneObject& Turned(const Quaternion& q) { rot = q; return *this; }
    SceneObject& Sphere(float radius) { collision.boundSphere.radius = radius; return *this; }
    SceneObject& NoSphere() { collision.hasBoundSphere = false; return *this; }
    // An oriented box of the given half sizes, centred on the object.
    SceneObject& Box(float ex, float ey, float ez, const Quaternion& turn = Quaternion(1.0f)) {
        collision.hasOBB = true;
        collision.obb = OBB(Vector(), Vector(ex, ey, ez), turn);
        return *this;
    }
    SceneObject& AxisBox(float ex, float ey, float ez) {
        collision.hasAABB = true;
        collision.aabb = AABB(Vector(), Vector(ex, ey, ez));
        return *this;
    }
    SceneObject& Masks(unsigned category, unsigned collidesWith) {
        collision.category = category;
        collision.collidesWith = collidesWith;
        return *this;
    }
    SceneObject& Shot() { isShot = true; collision.resolveContact = false; return *this; }
    SceneObject& Body(float mass, bool infinite = false) {
        hasPhysics = true;
        physics.mass = mass;
        physics.infMass = infinite;
        return *this;
    }
    SceneObject& Moving(float vx, float vy, float vz) { hasPhysics = true; physics.linearVel = Vector(vx, vy, vz); return *this; }
    SceneObject& Spinning(float wx, float wy, float wz) { hasPhysics = true; physics.angularVel = Vector(wx, wy, wz); return *this; }
    SceneObject& NotPickable() { collision.canBePicked = false; return *this; }

    std::string name;
    Vector trans;
    Quaternion rot{1.0f};
    CollisionComp collision;
    bool isShot = false;
    bool hasPhysics = false;
    PhysicsComp physics;
};

inline ObjectManager& SceneObjects() { return *Module<ObjectManager>::Instance(); }

// Registers the object; returns its number (0 when it was refused).
inline unsigned AddToScene(const SceneObject& spec) {
    GameObject object(spec.name);
    object.trans = spec.trans;
    object.rot = spec.rot;
    object.AttachComponent(spec.collision);
    if (spec.isShot) object.AttachComponent(BulletComp());
    if (spec.hasPhysics) object.AttachComponent(spec.physics);
    if (!SceneObjects().AddGameObject(object)) return 0;
    ObjectLock lock;
    return SceneObjects().GetObjectNumber(spec.name);
}

inline void ClearScene() {
    ObjectLock lock;
    SceneObjects().ClearGameObjects();
}

// Fresh queues, an empty table and an initialised collision manager with a
// clock of 1/60 s steps; the log is captured.
class CollisionScene : public ::testing::Test {
protected:
    void SetUp() override {
        Module<EventManager>::Instance()->Kill();
        Module<EventManager>::Instance()->Init();
        SceneObjects().Init();
        ClearScene();
        collision.Init();
        collision.SetFrameClock(FrameClock{10.0, 1.0 / 60.0});
    }
    void TearDown() override {
        collision.Kill();
        ClearScene();
        SceneObjects().Kill();
        Module<EventManager>::Instance()->Kill();
    }
    // Sends "Set" with one bool setting and runs a pass so it takes effect.
    void Set(const char* setting, bool value) {
        Event set("Test", "CollisionManager", CollisionManager::kSetEvent);
        set.SetParam<bool>(setting, value);
        Module<EventManager>::Instance()->PublishEvent(set);
        collision.Update();
    }

    LogCapture log;
    CollisionManager& collision = *Module<CollisionManager>::Instance();
};

// The same with Physics initialised and holding no bodies from before.
class PhysicsScene : public CollisionScene {
protected:
    void SetUp() override {
        CollisionScene::SetUp();
        physics.Init();
        physics.bodies.clear();
        physics.bodyIndex.clear();
    }
    void TearDown() override {
        physics.Kill();
        CollisionScene::TearDown();
    }

    Physics& physics = *Module<Physics>::Instance();
};

}  // namespace test_support
