// The end screens in the game's window (640 x 480): each heading's text is
// drawn inside its own box, a real click on "Retry" reaches GameLogic, whose
// game-over state answers it, and a name typed into the score screen lands
// in "score.bin". The screens are shown on black (the
// quit question's background) so that only their own pixels change.
#include "interface/interface_window.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game_states/end_of_level_states.h"
#include "game_states/score_state.h"
#include "interface/button.h"
#include "interface/text_box.h"
#include "support/screen_pixels.h"

namespace {

using namespace test_support;
using namespace interface_window;

// Stands in for the states below an end screen.
class Below : public GameState {
public:
    void Init() override {}
    void Update() override {}
    void Exit() override {}
    GameState* Clone() const override { return new Below(*this); }
};

class EndScreensWindow : public InterfaceWindow {
protected:
    void SetUp() override {
        GLContextTest::SetUp();
        if (HasFatalFailure()) return;
        Ui().Init();
        Post().RegisterClient("GameLogic");
        Sys().frameTime.store(1.0 / 60);
    }

    void TearDown() override {
        std::system("xdotool mouseup 1 >/dev/null 2>&1");
        Frames(2);
        Ui().Kill();
        Logic().Kill();
        Post().UnregisterClient("GameLogic");
        EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    }

    // Builds the screen and shows it on black.
    static void Show(InterfaceState::Type screen) {
        Ui().BuildInterface(screen);
        Ui().currentState = InterfaceState::QuitConfirm;
        Frames(2);
    }

    // Every pixel of the window, in interface coordinates (y up).
    static std::vector<std::pair<int, int>> AllPoints() {
        std::vector<std::pair<int, int>> points;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) points.push_back({x, y});
        return points;
    }
    static std::vector<ScreenColor> Picture() {
        std::vector<std::pair<int, int>> points = AllPoints();
        for (auto& point : points) point.second = kH - 1 - point.second;
        return ReadOwnWindowPixels(points);
    }

    // The heading's text is drawn, and only inside its box: blanking it
    // changes some pixels, none of them outside the box.
    static void ExpectDrawnInItsBox(TextBox& heading) {
        SCOPED_TRACE(heading.text.text);
        const std::vector<ScreenColor> shown = Picture();
        const std::string text = heading.text.text;
        heading.text.text.clear();
        Frame();
        const std::vector<ScreenColor> blank = Picture();
        heading.text.text = text;
        Frame();
        ASSERT_TRUE(shown.size() == size_t(kW * kH) && blank.size() == shown.size());
        const std::vector<std::pair<int, int>> points = AllPoints();
        int changed = 0, outside = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            const ScreenColor& a = shown[i];
            const ScreenColor& b = blank[i];
            if (a.r == b.r && a.g == b.g && a.b == b.b) continue;
            ++changed;
            const auto [x, y] = points[i];
            outside += x < heading.position.x || x > heading.position.x + heading.width || y < heading.position.y ||
                       y > heading.position.y + heading.height;
        }
        EXPECT_GT(changed, 20);
        EXPECT_EQ(0, outside);
    }
    static std::vector<TextBox*> Headings() {
        std::vector<TextBox*> headings;
        for (const auto& entry : Registry())
            if (auto* box = dynamic_cast<TextBox*>(entry.widget)) headings.push_back(box);
        return headings;
    }
};

TEST_F(EndScreensWindow, EachHeadingIsDrawnInsideItsBox) {
    for (InterfaceState::Type screen :
         {InterfaceState::Win, InterfaceState::GameOver, InterfaceState::EndlessModeStart, InterfaceState::Score}) {
        SCOPED_TRACE(screen);
        Logic().enemiesKilled = 0;  // no name entry on the score screen
        Show(screen);
        const std::vector<TextBox*> headings = Headings();
        const size_t count = screen == InterfaceState::EndlessModeStart ? 3u : screen == InterfaceState::Score ? 4u : 1u;
        ASSERT_EQ(count, headings.size());
        for (TextBox* heading : headings) ExpectDrawnInItsBox(*heading);
    }
}

TEST_F(EndScreensWindow, AClickOnRetryReachesTheGameOverStateAsEnterGame) {
    Logic().PushState(Below());  // the title's place
    Logic().PushState(Below());  // the level's place
    Logic().PushState(GameOverState());
    Show(InterfaceState::GameOver);
    const InterfaceObject* retry = nullptr;
    for (const auto& entry : Registry())
        if (auto* button = dynamic_cast<const Button*>(entry.widget); button && button->label.text == "Retry")
            retry = button;
    ASSERT_NE(nullptr, retry);
    const int x = int(retry->position.x + retry->width / 2), y = int(retry->position.y + retry->height / 2);
    SDL_WarpMouse(Uint16(x), Uint16(kH - y));
    Frames(2);
    ASSERT_EQ(0, std::system("xdotool mousedown 1"));
    ASSERT_TRUE(FramesUntil([] { return Logic().StateCount() == 2; }));
    ASSERT_EQ(0, std::system("xdotool mouseup 1"));
    EXPECT_EQ(nullptr, dynamic_cast<GameOverState*>(Logic().TopState())) << "popped once, and once only";
    Frames(3);
    EXPECT_EQ(2u, Logic().StateCount());
}

// Ten characters and Enter, typed as SDL key events with their characters,
// reach the selected name box; the score state beneath stores the run.
TEST_F(EndScreensWindow, ATypedNameLandsInTheScoreFile) {
    const std::string folder = profile->Path() + "/The Quellbrand";
    std::filesystem::create_directories(folder);
    ScoreList& list = Ui().scoreList;
    list = ScoreList(folder + "/score.bin");
    list.Init();
    ASSERT_TRUE(std::filesystem::exists(list.path));
    const uint32_t kills = list.entries.back().kills + 1;
    Logic().PushState(Below());
    Logic().PushState(ScoreState());
    Logic().enemiesKilled = kills;
    Logic().shotsFired = 4, Logic().shotsHit = 3;
    Show(InterfaceState::Score);
    ASSERT_EQ("NameInput", Ui().selectedName);
    for (char typed : std::string("Quellbrand\r")) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.unicode = Uint16(typed);
        SDL_PushEvent(&event);
    }
    ASSERT_TRUE(FramesUntil([] { return Logic().enemiesKilled == 0; })) << "the run was stored";
    Frames(2);
    EXPECT_FALSE(Registry().Contains("NameInput")) << "the entry is gone once used";
    Sys().SetTextInputMode(false);

    ScoreList reread(list.path);
    reread.Init();
    ASSERT_EQ(ScoreList::kEntryCount, reread.entries.size());
    int found = 0;
    for (const ScoreEntry& entry : reread.entries)
        found += entry.name == "Quellbrand" && entry.kills == kills && entry.accuracy == 75;
    EXPECT_EQ(1, found);
}

}  // namespace
