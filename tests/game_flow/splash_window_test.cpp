// The start of the game on its window, GameLogic started for real: the
// splash hands over to the title at the later of the slides' end and the
// first load's end, a key after the load ends it at once (one during the load
// does not), and the hand-over rebuilds the instance lists when instanced
// drawing is on. Then a level load under the cut-scene state: the level left
// is emptied, the cut-scene updates once and pops itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "game_flow/flow_support.h"
#include "game_states/splash_state.h"
#include "game_states/title_state.h"
#include "graphics.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "lua_manager.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "spawn_manager.h"
#include "support/gl_context.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

using namespace flow_test;

constexpr double kFrame = 1.0 / 60.0;
constexpr double kSlidesSeconds = 5.5 + 2.0 + 3.0;

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

bool TitleOnTop() { return dynamic_cast<TitleState*>(Game().TopState()) != nullptr; }
bool SplashOnTop() { return dynamic_cast<SplashState*>(Game().TopState()) != nullptr; }

size_t InstanceLists() {
    ObjectLock lock;
    return Objects().instanceBufferList.size();
}

void ClearInstanceLists() {
    ObjectLock lock;
    Objects().instanceBufferList.clear();
}

class StartOfTheGame : public test_support::GLContextTest {
protected:
    static void SetUpTestSuite() {
        GLContextTest::SetUpTestSuite();
        if (!opened) return;
        Module<EventManager>::Instance()->Init();
        Module<ResourceManager>::Instance()->Init();
        Module<ObjectManager>::Instance()->Init();
        Module<LuaManager>::Instance()->Init();
        Module<InputManager>::Instance()->Init();
    }

    void SetUp() override {
        GLContextTest::SetUp();
        if (HasFatalFailure()) return;
        Objects().splashScreen = SplashScreen();
        Objects().credits = SplashScreen();
        Game().Init();
    }
    void TearDown() override {
        Game().Kill();
        journal.clear();
        Module<InputManager>::Instance()->anyKeyPressed = false;
        Sys().shaderModel4 = false;
    }

    // The game's frames while the first load runs, the slides standing still.
    static void WaitForTheLoad() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!Game().loadingDone && std::chrono::steady_clock::now() < deadline) {
            Game().Update();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(Game().loadingDone);
    }

    // One frame: the slides move on by `step` as the renderer moves them,
    // then GameLogic's update.
    static void Frame(double step = kFrame) {
        Sys().frameTime.store(step);
        Objects().splashScreen.Update();
        Game().Update();
    }

    // Frames until the title is on top; the show time they took.
    static double FramesToTheTitle() {
        double shown = 0.0;
        for (; !TitleOnTop() && shown < 3.0 * kSlidesSeconds; shown += kFrame) Frame();
        return shown;
    }

    test_support::TempProfile profile;
    test_support::LogCapture log;
    Journal journal;  // outlives the states that write into it (TearDown's Kill)
};

// A key pressed while the level loads changes nothing: the slides play on.
// (The object lock held here keeps the load from ending meanwhile.)
TEST_F(StartOfTheGame, AfterAQuickLoadTheTitleFollowsTheSlidesAndTheInstanceListsAreBuilt) {
    Sys().shaderModel4 = true;
    {
        ObjectLock holdTheLoader;
        for (int i = 0; i < 30; ++i) {
            Module<InputManager>::Instance()->anyKeyPressed = true;
            Game().Update();
        }
        Module<InputManager>::Instance()->anyKeyPressed = false;
    }
    EXPECT_TRUE(Sys().IsSplashPlaying());
    WaitForTheLoad();
    ClearInstanceLists();
    SentTo("InterfaceManager");
    EXPECT_NEAR(FramesToTheTitle(), kSlidesSeconds, 4 * kFrame);
    EXPECT_GT(InstanceLists(), 0u);
    const std::deque<Event> toInterface = SentTo("InterfaceManager");
    ASSERT_FALSE(toInterface.empty());
    EXPECT_EQ(toInterface.front().eventType, InterfaceManager::kLoadTitle);
    EXPECT_EQ(toInterface.front().from, "GameLogic:PauseState");
    const std::deque<Event> toGraphics = SentTo("Graphics");
    ASSERT_FALSE(toGraphics.empty());
    EXPECT_FALSE(toGraphics.back().GetParam<bool>(Graphics::kParamRenderingSplash));
}

TEST_F(StartOfTheGame, AfterSlowSlidesTheTitleWaitsForTheLoad) {
    Sys().shaderModel4 = false;
    ClearInstanceLists();
    for (int i = 0; i < 22; ++i) Frame(0.5);  // eleven seconds of slides at once
    EXPECT_FALSE(Sys().IsSplashPlaying());
    ASSERT_FALSE(Game().loadingDone) << "the load ended before the slides did; nothing left to wait for";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!TitleOnTop() && std::chrono::steady_clock::now() < deadline) {
        if (!Game().loadingDone) {
            ASSERT_TRUE(SplashOnTop());
        }
        Frame();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(TitleOnTop());
    EXPECT_EQ(InstanceLists(), 0u) << "instance lists built without instanced drawing";
}

TEST_F(StartOfTheGame, AKeyAfterTheLoadEndsTheSlidesOnTheNextFrame) {
    WaitForTheLoad();
    Frame();
    SentTo("InterfaceManager");
    Module<InputManager>::Instance()->anyKeyPressed = true;
    Frame();
    Module<InputManager>::Instance()->anyKeyPressed = false;
    EXPECT_FALSE(Sys().IsSplashPlaying());
    EXPECT_TRUE(SentTo("InterfaceManager").empty());
    Frame();
    EXPECT_EQ(TypesOf(SentTo("InterfaceManager")), std::vector<std::string>{InterfaceManager::kLoadTitle});
    Frame();
    EXPECT_TRUE(TitleOnTop());
}

// The load start a restart uses: the level left is emptied at once, the
// cut-scene state covers the state below until the load is handed over,
// updates once, pops itself and has the instance lists rebuilt.
TEST_F(StartOfTheGame, ALevelLoadRunsUnderTheCutSceneWhichUpdatesOnceAndPopsItself) {
    WaitForTheLoad();
    Sys().SetSplashPlaying(false);
    while (!TitleOnTop()) Frame();
    Game().PushState(RecordingState("R", journal));
    journal.clear();
    Objects().AddGameObject(GameObject("marker"));
    {
        ObjectLock lock;
        Module<SpawnManager>::Instance()->AddSpawnPoint("marker");
    }
    Sys().shaderModel4 = true;
    ClearInstanceLists();
    SentTo("Physics");
    log.Restart();

    Game().StartLevelLoad();
    EXPECT_EQ(TypesOf(SentTo("Physics")), std::vector<std::string>{"ClearForces"});
    {
        ObjectLock lock;
        EXPECT_FALSE(Objects().HasGameObject("marker"));
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::find(journal.begin(), journal.end(), "R Init") == journal.end() &&
           std::chrono::steady_clock::now() < deadline) {
        Frame();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (int i = 0; i < 5; ++i) Frame();
    ASSERT_GE(journal.size(), 3u);
    EXPECT_EQ(Journal(journal.begin(), journal.begin() + 3), (Journal{"R Exit", "R Init", "R sees Pop State"}));
    EXPECT_EQ(log.Count("Cutscene State"), 1);
    EXPECT_EQ(log.Count("Starting LoadLevel()"), 1);
    EXPECT_GT(InstanceLists(), 0u);
    const std::vector<std::string>& points = Module<SpawnManager>::Instance()->spawnPoints;
    EXPECT_EQ(std::count(points.begin(), points.end(), "marker"), 0);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

}  // namespace
