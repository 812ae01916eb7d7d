// An enemy that dies in the frame in which a menu opens over play still
// counts against its wave, once.
#include <gtest/gtest.h>

#include "game_flow/ingame_play.h"
#include "game_states/level_states.h"

namespace {

using game_flow_test::IngamePlay;

class CoveredDeath : public IngamePlay {
protected:
    static void PostDeath() {
        Module<EventManager>::Instance()->PublishEvent(
            Event("IngameState", addressee::kGameLogic, kEnemyDeathEvent));
    }
};

TEST_F(CoveredDeath, EscapeAndAKillInOneFrameStillEndTheWave) {
    ASSERT_TRUE(EnterGame());
    Frame();  // level one's first wave: two machines
    IngameState* ingame = Ingame();
    ASSERT_TRUE(ingame);
    ASSERT_EQ(ingame->CurrentLevel().liveEnemies, 2);

    // What the in-game frame posts when Escape is pressed as the last two die.
    PostPush(GameStateName::Pause);
    PostDeath();
    PostDeath();
    Frame();
    ASSERT_NE(Logic().TopState(), ingame) << "the pause menu covers play";
    EXPECT_EQ(ingame->CurrentLevel().liveEnemies, 0);

    Post(GameLogic::kPopState);
    Frames(2);
    ASSERT_EQ(Ingame(), ingame);
    EXPECT_EQ(ingame->CurrentLevel().waveNumber, 2) << "the second wave follows";
    EXPECT_EQ(ingame->CurrentLevel().liveEnemies, 4);

    PostDeath();  // uncovered: the in-game state passes it on, once
    Frame();
    EXPECT_EQ(ingame->CurrentLevel().liveEnemies, 3);
}

}  // namespace
