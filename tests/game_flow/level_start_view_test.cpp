// Where each level of the real content starts the player looking, loaded by
// the game's own loader: level and along -z on every level, again so on a
// restart after the player has looked elsewhere, and however the camera was
// turned while the level's script ran. Level 1 places its start so that
// this view faces the basin's centre.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "game_flow/fitted_out.h"
#include "game_states/level_states.h"
#include "level_frames.h"
#include "support/temp_folder.h"

namespace game_flow_test {
void PrintTo(const LevelFiles& files, std::ostream* out) { *out << files.name; }
}  // namespace game_flow_test

namespace {

using game_flow_test::LevelFiles;

const LevelFiles kLevelOne{LevelOne::kScript, LevelOne::kLevelFile, LevelOne::kCategory, LevelOne::kCategory};
const LevelFiles kLevels[] = {
    kLevelOne,
    {LevelTwo::kScript, LevelTwo::kLevelFile, LevelTwo::kCategory, LevelOne::kCategory},
    {LevelThree::kScript, LevelThree::kLevelFile, LevelThree::kCategory, LevelTwo::kCategory},
};

template <class Base>
class StartView : public game_flow_test::LevelFrames<Base> {
protected:
    using game_flow_test::LevelFrames<Base>::Objects;

    void ExpectLevelAlongMinusZ(const char* when) {
        ObjectLock lock;
        const CameraObject& camera = Objects().cameraObject;
        EXPECT_FLOAT_EQ(camera.yaw, 0.0f) << when;
        EXPECT_FLOAT_EQ(camera.pitch, 0.0f) << when;
    }
    static void TurnTheCamera() {
        ObjectLock lock;
        Objects().cameraObject.yaw += 2.0f;
        Objects().cameraObject.pitch = 0.5f;
    }
};

class EveryLevel : public StartView<::testing::TestWithParam<LevelFiles>> {};

TEST_P(EveryLevel, StartsLevelAlongMinusZAlsoOnARestart) {
    Start(GetParam());
    ExpectLevelAlongMinusZ("first load");
    TurnTheCamera();
    Logic().LoadLevel();
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    ExpectLevelAlongMinusZ("restart");
}

INSTANTIATE_TEST_SUITE_P(Levels, EveryLevel, ::testing::ValuesIn(kLevels),
                         [](const ::testing::TestParamInfo<LevelFiles>& info) {
                             return "level" + std::to_string(info.index + 1);
                         });

class LevelOneStart : public StartView<::testing::Test> {
protected:
    void SetUp() override { Start(kLevelOne); }
};

TEST_F(LevelOneStart, LooksAlongMinusZAtTheBasinsCentre) {
    EXPECT_LE(flow_test::DegreesApart(flow_test::YawTowardsTheMiddle(), 0.0f), 10.0);
}

// The view is set once the level's script has run: whatever turned the camera
// while the level was being read (here a turn made while the script runs, on
// the loader's thread), the level starts level and along -z.
TEST_F(LevelOneStart, ACameraTurnedWhileTheScriptRunsIsLevelAfterTheLoad) {
    test_support::TempFolder folder;
    const std::string ran = folder.Path() + "/ran", go = folder.Path() + "/go";
    // The real script, then a wait (bounded by the script itself) for the
    // test's turn of the camera.
    folder.WriteFile("script.lua", std::string("dofile('") + LevelOne::kScript + "')\n" +
                                       "io.open('" + ran + "', 'w'):close()\n"
                                       "local deadline = os.time() + 300\n"
                                       "while os.time() < deadline do\n"
                                       "  local released = io.open('" + go + "')\n"
                                       "  if released then released:close() return end\n"
                                       "end\n");
    Logic().scriptPath = folder.Path() + "/script.lua";
    std::thread loader([] { Logic().LoadLevel(); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    bool scriptRan = false;
    while (!(scriptRan = std::ifstream(ran).good()) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (scriptRan) TurnTheCamera();
    std::ofstream(go).put('\n');
    loader.join();
    ASSERT_TRUE(scriptRan) << "the level's script never ran\n" << log.Text();
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    ExpectLevelAlongMinusZ("after the load");
}

}  // namespace
