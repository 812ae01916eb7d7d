// The head-up display's wave line ("Wave 1 of 3", green, low on the left) in
// the running game, read back from the window: shown in play, and shown
// again after every return from the pause, directly by "Resume Game" or
// after the options, the key bindings or the credits opened from it and
// closed. Keys and clicks come from xdotool through SDL's event pump.
#include "interface/menu_game.h"

#include <cstdio>
#include <string>
#include <vector>

#include "game_states/credits_state.h"
#include "game_states/settings_states.h"
#include "objects/components.h"

namespace menu_test {
namespace {

// The wave line's key, as the interface registers it.
constexpr const char* kWaveLine = "Wave Message";

class WaveLine : public MenuGame {
protected:
    // Pixels of the line's own green in the band its text takes, above the
    // (also green) health bar: the line starts at 5% of the width and of
    // the height, in letters about 26 pixels high.
    int WaveGreen() const {
        const int left = int(0.05f * float(Sys().width)), bottom = int(0.05f * float(Sys().height));
        std::vector<std::pair<int, int>> points;
        for (int y = bottom + 3; y <= bottom + 30; ++y)
            for (int x = left; x < left + 300; ++x) points.push_back({x, Sys().height - 1 - y});
        int green = 0;
        for (const test_support::ScreenColor& c : test_support::ReadOwnWindowPixels(points))
            green += c.g >= 180 && c.r <= 80 && c.b <= 80;
        return green;
    }
    // The run must not end in a death while the menus are walked through:
    // the first wave's machines are firing all the while.
    static void HardenPlayer() {
        ObjectLock lock;
        GameObject* player = Module<ObjectManager>::Instance()->GetGameObject(GameObject::kPlayerName);
        if (player && player->GetStatsComp()) player->GetStatsComp()->hp = 1000000;
    }
    // Play again after "Resume Game", with the display built anew.
    void Resume() {
        Click("Resume Game");
        ASSERT_TRUE(RunUntil([] { return OnTop<IngameState>() && Registry().Contains("minimap"); }, 30));
        Frames(3);  // the rebuilt display's messages are handled and drawn
    }
};

// A menu opened from the pause and closed with Escape, back to the pause.
struct Detour {
    const char* button;  // none: straight back to play
    InterfaceState::Type screen;
    bool (*onTop)();
};

TEST_F(WaveLine, IsShownAgainAfterEveryReturnFromThePause) {
    StartPlaying();
    HardenPlayer();
    ASSERT_TRUE(RunUntil([] { return Registry().Contains(kWaveLine); }, 60)) << "the first wave was not announced";
    Frames(2);
    const int playing = WaveGreen();
    std::printf("wave line in play: %d green pixels\n", playing);
    ASSERT_GT(playing, 60) << "the line's green is not found where it is drawn";

    const Detour detours[] = {
        {nullptr, InterfaceState::Pause, OnTop<PauseState>},
        {"Options", InterfaceState::Options, OnTop<OptionsState>},
        {"Controls", InterfaceState::Controls, OnTop<ControlsState>},
        {"Credits", InterfaceState::Credits, OnTop<CreditsState>},
    };
    for (const Detour& detour : detours) {
        const std::string road = detour.button ? detour.button : "the pause alone";
        SCOPED_TRACE(road);
        ASSERT_NO_FATAL_FAILURE(Pause());
        EXPECT_LT(WaveGreen(), playing / 4) << "the pause screen replaces the display";
        if (detour.button) {
            Click(detour.button);
            ASSERT_TRUE(RunUntil([&] { return detour.onTop() && Ui().currentState == detour.screen; }, 30));
            Frames(2);
            HoldKey("Escape");
            ASSERT_TRUE(RunUntil([] { return OnTop<PauseState>() && Ui().currentState == InterfaceState::Pause; }, 30));
            Frames(2);
        }
        ASSERT_NO_FATAL_FAILURE(Resume());
        const int back = WaveGreen();
        std::printf("wave line back in play after %s: %d green pixels\n", road.c_str(), back);
        EXPECT_GE(back, playing * 3 / 4) << "the wave line is gone";
        EXPECT_TRUE(Registry().Contains(kWaveLine));
    }
}

}  // namespace
}  // namespace menu_test
