// The shipped first level with a dozen bodies dropped onto its scenery:
// crates and spheres in stacks over the first boxes of the level, each with
// gravity, so that they fall, land and push each other. Used by the physics
// determinism test and its threaded twin, and by the physics benchmark.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "collision_manager.h"
#include "event_manager.h"
#include "level.h"
#include "object_manager.h"
#include "objects/components.h"
#include "physics.h"
#include "platform/random.h"
#include "resource_manager.h"
#include "support/collision_scene.h"

namespace test_support {

constexpr int kFallingBodies = 12;

inline std::string FallingName(int i) { return "falling" + std::to_string(i); }

// Loads the categories once per process, then (again) the first level.
inline bool LoadLevelOne() {
    static const bool categories = [] {
        ResourceManager& store = *Module<ResourceManager>::Instance();
        store.Init();
        store.LoadCategory("all");
        store.LoadCategory("level1");
        return true;
    }();
    platform::SeedRandom(1);
    return categories && Singleton<Level>::Instance()->LoadLevel("./resource/levels/level1.xml");
}

// The positions of the level's first few boxes, in name order.
inline std::vector<Vector> SceneryTops(size_t count) {
    std::vector<std::pair<std::string, Vector>> boxes;
    ObjectLock lock;
    for (const auto& entry : SceneObjects().gameObjectList) {
        const CollisionComp* shape = entry.second.GetCollisionComp();
        if (shape && shape->hasOBB && entry.second.GetPhysicsComp())
            boxes.emplace_back(entry.second.name,
                               entry.second.trans + shape->obb.center + Vector(0, shape->obb.extents.y, 0));
    }
    std::sort(boxes.begin(), boxes.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Vector> tops;
    for (size_t i = 0; i < boxes.size() && i < count; ++i) tops.push_back(boxes[i].second);
    return tops;
}

// Stacks of four bodies over three boxes: alternately crates (boxes of
// half size 3, mass 10) and spheres (radius 2.5, mass 1 to 3), the spheres
// offset a little so that they land on the crates' edges. The crates of a
// stack share their x, so their spans tie on the sweep axis. Each body gets
// gravity through "AddForce". False when the level has fewer than three
// boxes.
inline bool AddFallingBodies() {
    const std::vector<Vector> tops = SceneryTops(3);
    if (tops.size() < 3) return false;
    for (int i = 0; i < kFallingBodies; ++i) {
        const Vector at = tops[i % 3] + Vector(0.7f * (i % 2), 12.0f + 8.0f * (i / 3), -0.5f * (i % 2));
        SceneObject body(FallingName(i));
        body.At(at.x, at.y, at.z).Masks(2, 8 | 2);  // scenery is group 3: category bit 8
        if (i % 2 == 0)
            body.Sphere(5.2f).Box(3, 3, 3).Body(10);
        else
            body.Sphere(2.5f).Body(1.0f + (i % 3));
        const unsigned objNum = AddToScene(body);
        if (objNum == 0) return false;
        Event gravity("Test", "Physics", ForcePhysics::kAddForce);
        gravity.SetParam<std::string>(ForcePhysics::kType, ForcePhysics::kGravityType);
        gravity.SetParam<unsigned>(ForcePhysics::kObj, objNum);
        Module<EventManager>::Instance()->PublishEvent(gravity);
    }
    return true;
}

// The height of each falling body, by its index; not-a-number for a body
// that is gone.
inline std::vector<float> FallingHeights() {
    std::vector<float> heights;
    ObjectLock lock;
    for (int i = 0; i < kFallingBodies; ++i) {
        try {
            heights.push_back(SceneObjects().GetGameObject(FallingName(i))->trans.y);
        } catch (const std::out_of_range&) {
            heights.push_back(std::numeric_limits<float>::quiet_NaN());
        }
    }
    return heights;
}

// A hash of every object's position and rotation, in name order (object
// numbers differ between runs of one process).
inline size_t SceneHash() {
    std::map<std::string, std::string> states;
    ObjectLock lock;
    for (const auto& entry : SceneObjects().gameObjectList) {
        const GameObject& o = entry.second;
        const float state[] = {o.trans.x, o.trans.y, o.trans.z, o.rot.s, o.rot.v.x, o.rot.v.y, o.rot.v.z};
        states[o.name].assign(reinterpret_cast<const char*>(state), sizeof state);
    }
    std::string all;
    for (const auto& state : states) all += state.first + state.second;
    return std::hash<std::string>()(all);
}

// A physics scene holding the level with its falling bodies.
class FallingScene : public PhysicsScene {
protected:
    void SetUp() override {
        PhysicsScene::SetUp();
        ASSERT_TRUE(LoadLevelOne());
        ASSERT_TRUE(AddFallingBodies());
    }
    void TearDown() override {
        Singleton<Level>::Instance()->ReleaseLevelData();
        PhysicsScene::TearDown();
    }
};

}  // namespace test_support
