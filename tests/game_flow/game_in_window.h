// The real game in this process, in a window of 1024 x 768 on the test's X
// server, driven frame by frame: main's own start-up, the splash ended by a
// key (xdotool, as a player's) once the first load is in, up to the title;
// and what the tests that look at play ask of it (the level in play, the
// machines taken away, the player kept whole, the cockpit at rest).
// The clock is stopped and moved on a 60th of a second per frame; every wait
// is bounded by a frame count.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "game_logic.h"
#include "game_states/ingame_state.h"
#include "game_states/title_state.h"
#include "main/frame_loop.h"
#include "main/start_up.h"
#include "object_manager.h"
#include "objects/components.h"
#include "platform/clock.h"
#include "support/log_capture.h"
#include "support/stopped_clock.h"
#include "support/temp_folder.h"
#include "support/x11_window.h"
#include "system.h"

namespace game_flow_test {

constexpr int kWidth = 1024, kHeight = 768;  // the window the game opens
constexpr double kStep = 1.0 / 60.0;
constexpr float kCockpitRest = 1.5707963f;  // the bob's top, where the cockpit rests

template <class State>
State* Top() {
    return dynamic_cast<State*>(Module<GameLogic>::Instance()->TopState());
}

// The level `Level` in play, its load handed over.
template <class Level>
bool Playing() {
    const GameLogic& logic = *Module<GameLogic>::Instance();
    IngameState* ingame = Top<IngameState>();
    return ingame && logic.loadingDone && !logic.IsLoadInFlight() &&
           dynamic_cast<Level*>(&ingame->CurrentLevel()) != nullptr;
}

// The cockpit settled at the top of its bob and without lag. Takes the
// object lock.
inline bool CockpitAtRest() {
    ObjectLock lock;
    const CockpitObject& cockpit = Module<ObjectManager>::Instance()->cockpit;
    return std::fabs(cockpit.bobPhase - kCockpitRest) <= 0.04f && std::fabs(cockpit.moveOffset.y) <= 0.1f;
}

// Every machine (an object with statistics other than the player) killed.
// Takes the object lock.
inline void KillTheMachines() {
    ObjectLock lock;
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    for (auto& entry : objects.gameObjectList) {
        GameObject& object = entry.second;
        if (object.GetStatsComp() && !object.isDead && object.name != GameObject::kPlayerName)
            objects.KillGameObject(object);
    }
}

// The player's hull and shield kept full, for tests that let the machines
// fire at it. Takes the object lock.
inline void KeepPlayerAlive() {
    ObjectLock lock;
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    if (!objects.HasGameObject(GameObject::kPlayerName)) return;  // a level loading
    StatsComp& stats = *objects.GetGameObject(GameObject::kPlayerName)->GetStatsComp();
    stats.hp = stats.healthMax;
    stats.sp = float(stats.shield);
}

template <class Base = ::testing::Test>
class GameInWindow : public Base {
protected:

    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "x11", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
    void TearDown() override {
        if (started) ShutDownGame();
    }

    // One frame of the game's own loop, a 60th of a second on.
    static void Frame() {
        platform::SetClockTime(platform::GetClockTime() + kStep);
        Module<System>::Instance()->frameTime.store(kStep);
        RunFrame(false);
    }
    // Frames until `done`, at most `limit`, `each` before every frame.
    static bool RunUntil(const std::function<bool()>& done, int limit, const std::function<void()>& each = [] {}) {
        for (int i = 0; i < limit && Module<System>::Instance()->running.load(); ++i) {
            if (done()) return true;
            each();
            Frame();
        }
        return done();
    }
    void Xdo(const std::string& arguments) {
        const std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
        ASSERT_EQ(0, std::system(command.c_str())) << command;
    }

    // From the start through the splash to the title.
    void StartToTheTitle() {
        ASSERT_TRUE(display.IsOpen()) << "run under xvfb-run";
        profile.WriteFile("The Quellbrand/settings.xml",
                          "<Settings><Setting ID=\"full_screen\" key=\"0\" /><Setting ID=\"screen_width\" "
                          "key=\"1024\" /><Setting ID=\"screen_height\" key=\"768\" /></Settings>\n");
        System& system = *Module<System>::Instance();
        GameLogic& logic = *Module<GameLogic>::Instance();
        system.running.store(true);  // the capture marks the game as not running
        ASSERT_TRUE(StartGame()) << log.Text();
        started = true;
        ASSERT_EQ(kWidth, system.width);
        ASSERT_EQ(kHeight, system.height);
        const auto window = display.WaitForWindow("The Quellbrand", getpid(), 10.0);
        ASSERT_TRUE(window.has_value());
        Xdo("windowfocus --sync " + std::to_string(*window));
        ASSERT_TRUE(RunUntil([&logic] { return logic.loadingDone.load(); }, 6000)) << log.Text();
        Xdo("keydown x");
        RunUntil([] { return false; }, 3);
        Xdo("keyup x");
        ASSERT_TRUE(RunUntil([&logic] { return dynamic_cast<TitleState*>(logic.TopState()) != nullptr; }, 600))
            << log.Text();
    }

    test_support::LogCapture log;
    test_support::TempProfile profile;
    test_support::X11Display display;
    test_support::StoppedClock stoppedClock;  // the frames set the time
    bool started = false;
};

}  // namespace game_flow_test
