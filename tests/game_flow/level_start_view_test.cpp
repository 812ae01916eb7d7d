// Where each level of the real content starts the player looking, loaded by
// the game's own loader: level 1 towards the basin's centre (away from the
// rim's cliff that turns its shaded face to the start), the others along -z;
// level, and again so on a restart after the player has looked elsewhere.
#include <gtest/gtest.h>

#include <ostream>

#include "game_flow/fitted_out.h"
#include "game_states/level_states.h"
#include "level_frames.h"

namespace {

struct StartView {
    game_flow_test::LevelFiles files;
    bool facesTheMiddle;  // otherwise along -z (yaw 0)
};
void PrintTo(const StartView& start, std::ostream* out) { *out << start.files.script; }

const StartView kStarts[] = {
    {{LevelOne::kScript, LevelOne::kLevelFile, LevelOne::kCategory, LevelOne::kCategory}, true},
    {{LevelTwo::kScript, LevelTwo::kLevelFile, LevelTwo::kCategory, LevelOne::kCategory}, false},
    {{LevelThree::kScript, LevelThree::kLevelFile, LevelThree::kCategory, LevelTwo::kCategory}, false},
};

class LevelStartView : public game_flow_test::LevelFrames<::testing::TestWithParam<StartView>> {
protected:
    void ExpectStartView(const char* when) {
        const float expected = GetParam().facesTheMiddle ? flow_test::YawTowardsTheMiddle() : 0.0f;
        ObjectLock lock;
        const CameraObject& camera = Objects().cameraObject;
        EXPECT_LE(flow_test::DegreesApart(camera.yaw, expected), 10.0) << when << ": yaw " << camera.yaw;
        EXPECT_FLOAT_EQ(camera.pitch, 0.0f) << when;
    }
};

TEST_P(LevelStartView, TheViewStartsLevelAndFacingTheStartsWayAlsoOnARestart) {
    Start(GetParam().files);
    ExpectStartView("first load");
    {
        ObjectLock lock;
        Objects().cameraObject.yaw += 2.0f;
        Objects().cameraObject.pitch = 0.5f;
    }
    Logic().LoadLevel();
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    ExpectStartView("restart");
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelStartView, ::testing::ValuesIn(kStarts),
                         [](const ::testing::TestParamInfo<StartView>& info) {
                             return "level" + std::to_string(info.index + 1);
                         });

}  // namespace
