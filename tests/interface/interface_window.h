// The interface in the game's window (640 x 480, the test context's size)
// for the widget and end-screen window tests: once per suite the start-up
// category with its OpenGL side, the object, event and input modules and the
// renderer; then frames as the frame loop runs them (System, InputManager,
// InterfaceManager, GameLogic's messages handed to its stack, Graphics). The
// profile folder is a temporary one (the score list writes there).
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>

#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/addressees.h"
#include "graphics.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "support/gl_context.h"
#include "support/temp_folder.h"

namespace interface_window {

constexpr int kW = 640, kH = 480;

inline InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
inline InputManager& Input() { return *Module<InputManager>::Instance(); }
inline EventManager& Post() { return *Module<EventManager>::Instance(); }
inline GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
inline InterfaceObjectList& Registry() { return Module<ObjectManager>::Instance()->interObjList; }

class InterfaceWindow : public test_support::GLContextTest {
protected:
    static void SetUpTestSuite() {
        profile = new test_support::TempProfile();
        GLContextTest::SetUpTestSuite();
        if (!opened) return;
        ResourceManager& store = *Module<ResourceManager>::Instance();
        store.Init();
        store.LoadCategory(GameLogic::kStartUpCategory);
        store.LoadContextCategory(GameLogic::kStartUpCategory);
        Module<ObjectManager>::Instance()->Init();
        Post().Init();
        Input().Init();
        Module<Graphics>::Instance()->Init();
    }

    // One frame as the frame loop runs it. A test that stacks states
    // registers "GameLogic"; otherwise nothing reaches it.
    static void Frame() {
        Sys().Update();
        Input().Update();
        Ui().Update();
        for (const Event& event : Post().PollEvents(addressee::kGameLogic)) Logic().ProcessEvent(event);
        Module<Graphics>::Instance()->Update();
    }
    static void Frames(int count) {
        for (int i = 0; i < count; ++i) Frame();
    }
    // Frames until `done` holds (X events take a moment to arrive); false
    // when it never did.
    static bool FramesUntil(const std::function<bool()>& done, int limit = 120) {
        for (int i = 0; i < limit; ++i) {
            Frame();
            if (done()) return true;
            SDL_Delay(5);
        }
        return false;
    }

    static inline test_support::TempProfile* profile = nullptr;
};

}  // namespace interface_window
