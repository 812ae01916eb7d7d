// The head-up display's widgets in the game's window at 1024 x 768, drawn by
// the renderer's own frames (System, input, interface, Graphics) over the
// black background of the quit question's screen, on a run folder whose
// interface pictures are flat white: a widget shows exactly its colour
// times its alpha. What it drew is read back from the screen.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "event_manager.h"
#include "graphics.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "support/gl_context.h"
#include "support/own_pictures.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"

namespace hud_window {

using test_support::ScreenColor;

constexpr int kW = 1024, kH = 768;

inline InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
inline ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
inline ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }
inline InterfaceObjectList& Registry() { return Objects().interObjList; }

// The interface pictures, each replaced by a flat white one.
inline std::map<std::string, std::string> FlatInterfacePictures() {
    const uint32_t white[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    const std::string png = test_support::QuadrantPng(16, 16, white);
    std::map<std::string, std::string> files;
    for (const char* picture : {"minimap", "crosshair", "hit", "missile_icon"})
        files["resource/art assets/interface/" + std::string(picture) + ".png"] = png;
    return files;
}

// A point of the interface (y up) and what it should show.
struct Probe {
    int x;
    int y;
    ScreenColor color;
};

inline std::string Describe(const ScreenColor& c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

inline bool Near(const ScreenColor& shown, const ScreenColor& wanted, int tolerance) {
    return std::abs(shown.r - wanted.r) <= tolerance && std::abs(shown.g - wanted.g) <= tolerance &&
           std::abs(shown.b - wanted.b) <= tolerance;
}

// `rgba` in [0, 1] laid at its alpha over `under`.
inline ScreenColor Over(float r, float g, float b, float a, const ScreenColor& under = ScreenColor{}) {
    auto mix = [&](float c, int below) { return int(std::lround(c * a * 255.0f + (1.0f - a) * float(below))); };
    return ScreenColor{mix(r, under.r), mix(g, under.g), mix(b, under.b)};
}

class HudWindow : public test_support::GLContextTest {
protected:
    static void SetUpTestSuite() {
        profile = new test_support::TempProfile();
        run = new test_support::RunFolderWith(QUELL_RUN_DIR, FlatInterfacePictures());
        working = new test_support::WorkingIn(run->Path());
        System& system = Sys();
        system.running.store(false);
        system.fullScreen = false;
        system.width = kW;
        system.height = kH;
        if (!serverHolder) serverHolder = new test_support::X11Display();
        if (!opened) opened = system.InitGL();
        if (!opened) return;
        Store().Init();
        Store().LoadCategory("all_first");
        Store().LoadContextCategory("all_first");
        Objects().Init();
        Module<EventManager>::Instance()->Init();
        Module<InputManager>::Instance()->Init();
        Module<Graphics>::Instance()->Init();
    }

    void SetUp() override {
        GLContextTest::SetUp();
        if (HasFatalFailure()) return;
        Ui().Init();
        Ui().currentState = InterfaceState::QuitConfirm;  // black behind the widgets
        Sys().frameTime.store(1.0 / 60);
        Objects().cameraObject.yaw = 0.0f;
    }

    void TearDown() override {
        Ui().Kill();
        ObjectLock lock(Objects());
        Objects().ClearGameObjects();
        EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    }

    // One frame as the frame loop runs it.
    static void Frame() {
        Sys().Update();
        Module<InputManager>::Instance()->Update();
        Ui().Update();
        Module<Graphics>::Instance()->Update();
    }
    static void Frames(int count) {
        for (int i = 0; i < count; ++i) Frame();
    }

    // The colours shown at interface points (y up), read in one go.
    static std::vector<ScreenColor> ShownAt(const std::vector<std::pair<int, int>>& points) {
        std::vector<std::pair<int, int>> rows;
        for (const auto& [x, y] : points) rows.emplace_back(x, kH - 1 - y);
        return test_support::ReadOwnWindowPixels(rows);
    }
    static ScreenColor ShownAt(int x, int y) {
        const std::vector<ScreenColor> shown = ShownAt({{x, y}});
        return shown.empty() ? ScreenColor{-1, -1, -1} : shown[0];
    }
    // Each probe's colour within `tolerance`; failures name the case.
    static void ExpectShown(const std::vector<Probe>& probes, int tolerance, const std::string& what) {
        std::vector<std::pair<int, int>> points;
        for (const Probe& probe : probes) points.emplace_back(probe.x, probe.y);
        const std::vector<ScreenColor> shown = ShownAt(points);
        ASSERT_EQ(shown.size(), probes.size()) << "the screen could not be read";
        for (size_t i = 0; i < probes.size(); ++i)
            EXPECT_TRUE(Near(shown[i], probes[i].color, tolerance))
                << what << ": at (" << probes[i].x << ", " << probes[i].y << ") shown " << Describe(shown[i])
                << ", wanted " << Describe(probes[i].color);
    }

    // A registered object with statistics (the player is one).
    static void AddMachine(const std::string& name, const Vector& at) {
        GameObject object(name);
        object.trans = at;
        object.AttachComponent(StatsComp(100, 1.0f, 0.0f, 100.0f, 0));
        ASSERT_TRUE(Objects().AddGameObject(object)) << name;
    }
    // A registered level box: graphics and a collision box of those half extents.
    static void AddBlock(const std::string& name, const Vector& at, const Vector& halfExtents) {
        GameObject object(name);
        object.trans = at;
        CollisionComp collision;
        collision.hasOBB = true;
        collision.obb.extents = halfExtents;
        object.AttachComponent(collision);
        object.AttachComponent(GraphicsComp());
        ASSERT_TRUE(Objects().AddGameObject(object)) << name;
    }
    static StatsComp& StatsOf(const std::string& name) {
        ObjectLock lock(Objects());
        return *Objects().GetGameObject(name)->GetStatsComp();
    }

    static inline test_support::TempProfile* profile = nullptr;
    static inline test_support::RunFolderWith* run = nullptr;
    static inline test_support::WorkingIn* working = nullptr;
};

}  // namespace hud_window
