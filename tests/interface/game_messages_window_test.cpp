// Text lines over the title screen of the running game, frame by frame at
// 1/60 s of game time: typing out letter by letter, the display time, keys
// used twice, removal of every line, and the head-up display's wave line.
// What is drawn is read back from the window as ink on the title's flat
// picture.
#include "interface/menu_game.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "event_manager.h"
#include "interface/game_message_widget.h"

namespace menu_test {
namespace {

class GameMessages : public MenuGame {
protected:
    static void Send(const Event& event) { Module<EventManager>::Instance()->PublishEvent(event); }
    static GMessage Line(const std::string& key, const std::string& text, float x, float y) {
        GMessage line;
        line.key = key;
        line.text = text;
        line.position = Vector(x, y, 0.0f, 0.0f);
        return line;
    }
    static void Show(const GMessage& line) {
        Event message("test", kGameMessageTo, kGameMessageEvent);
        message.SetParam(kGameMessageData, line);
        Send(message);
    }
    static GameMessage* Shown(const std::string& key) { return dynamic_cast<GameMessage*>(Registry().Find(key)); }

    // Pixels of the band where a line starting at fractions (x, y) is
    // drawn: counted when they differ from the picture behind them (or,
    // for `colour`, when they are nearer that colour than the picture).
    int Ink(float x, float y, uint32_t colour = 0) const {
        const int left = int(x * float(Sys().width)), bottom = int(y * float(Sys().height));
        std::vector<std::pair<int, int>> points;
        for (int row = Sys().height - 1 - (bottom + 30); row <= Sys().height - 1 - (bottom - 4); ++row)
            for (int column = left - 2; column < left + 400; ++column) points.push_back({column, row});
        int ink = 0;
        for (const test_support::ScreenColor& c : test_support::ReadOwnWindowPixels(points)) {
            const bool background = test_support::Shows(c, kTitleColour, 40);
            ink += colour ? !background && test_support::Shows(c, colour, 100) : !background;
        }
        return ink;
    }
};

TEST_F(GameMessages, ATypedLineGrowsLetterByLetterAndIsCompleteAfterAQuarterSecond) {
    GMessage line = Line("typed", "ABCDEFGHIJKLMNOPQRST", 0.3f, 0.6f);
    line.typeOut = true;
    line.letterTime = 0.0125f;
    line.persistent = true;
    Show(line);
    ASSERT_TRUE(RunUntil([this] { return Shown("typed") != nullptr; }, 2, true));
    std::vector<int> ink{Ink(0.3f, 0.6f)};
    int frames = 1;
    while (Shown("typed")->shownChars < 20 && frames < 30) {
        Frame(true);
        ++frames;
        ink.push_back(Ink(0.3f, 0.6f));
    }
    EXPECT_NEAR(frames, 15, 1) << "20 letters at 0.0125 s in frames of 1/60 s";
    for (size_t i = 1; i < ink.size(); ++i) EXPECT_GE(ink[i], ink[i - 1]) << "frame " << i;
    EXPECT_GT(ink.back(), 3 * ink[ink.size() / 4]) << "the line grew as it typed";
    EXPECT_GT(ink[ink.size() / 4], 0);

    GMessage atOnce = Line("at once", "ABCDEFGHIJKLMNOPQRST", 0.3f, 0.75f);
    atOnce.typeOut = true;
    atOnce.letterTime = 0.0f;
    atOnce.persistent = true;
    Show(atOnce);
    ASSERT_TRUE(RunUntil([this] { return Shown("at once") != nullptr; }, 2, true));
    EXPECT_EQ(20, Shown("at once")->shownChars);
    EXPECT_EQ(ink.back(), Ink(0.3f, 0.75f)) << "the whole text in the first frame it is drawn";
}

TEST_F(GameMessages, ALineIsDrawnUntilItsAgeReachesItsDisplayTime) {
    GMessage line = Line("timed", "Health +50", 0.3f, 0.6f);
    line.displayTime = 1.0f;
    Show(line);
    ASSERT_TRUE(RunUntil([this] { return Shown("timed") != nullptr; }, 2, true));
    // The age a frame's update sees decides whether that frame draws the line.
    int drawn = 0;
    while (drawn < 300) {
        ASSERT_GT(Ink(0.3f, 0.6f), 0) << "drawn at age " << Shown("timed")->age;
        ++drawn;
        const float seen = Shown("timed")->age;
        Frame(true);
        if (!Shown("timed")->visible) {
            EXPECT_GE(seen, 1.0f);
            EXPECT_EQ(0, Ink(0.3f, 0.6f)) << "not drawn in the frame its age reaches 1";
            break;
        }
        EXPECT_LT(seen, 1.0f);
    }
    EXPECT_NEAR(drawn, 60, 1);
    Frame(true);
    EXPECT_EQ(nullptr, Shown("timed"));
    EXPECT_EQ(0, Ink(0.3f, 0.6f));
}

TEST_F(GameMessages, AKeyUsedTwiceKeepsTheFirstLineUntilItIsDeleted) {
    GMessage first = Line("notice", "First", 0.3f, 0.6f), second = Line("notice", "Second line", 0.3f, 0.6f);
    first.persistent = second.persistent = true;
    Show(first);
    Show(second);
    Frames(2, true);
    ASSERT_NE(nullptr, Shown("notice"));
    EXPECT_EQ("First", Shown("notice")->fullText);
    const int firstInk = Ink(0.3f, 0.6f);
    Event remove("test", kGameMessageTo, kGameMessageDeleteEvent);
    remove.SetParam<std::string>(InterfaceManager::kParamName, "notice");
    Send(remove);
    Show(second);
    Frames(2, true);
    ASSERT_NE(nullptr, Shown("notice"));
    EXPECT_EQ("Second line", Shown("notice")->fullText);
    EXPECT_GT(Ink(0.3f, 0.6f), firstInk);
}

TEST_F(GameMessages, DeleteAllRemovesTheLinesAndNothingElse) {
    for (GMessage line : {Line("", "one", 0.3f, 0.6f), Line("", "two", 0.3f, 0.5f)}) {
        line.persistent = true;  // two lines without a key: two names
        Show(line);
    }
    Frames(2, true);
    auto lines = [] {
        int count = 0;
        for (const auto& entry : Registry()) count += entry.widget->type == WidgetType::GameMessage;
        return count;
    };
    EXPECT_EQ(3, lines()) << "two lines and the version line";
    const size_t others = Registry().size() - 3;
    Send(Event("test", kGameMessageTo, kDeleteAllGameMessagesEvent));
    Frame(true);
    EXPECT_EQ(0, lines());
    EXPECT_EQ(others, Registry().size());
    EXPECT_TRUE(Registry().Contains("Start Game"));
    EXPECT_EQ(0, Ink(0.3f, 0.6f));
    EXPECT_EQ(1, log.Count("Deleting all game messages"));
}

TEST_F(GameMessages, TheWaveLineShowsGreenAtTheLowerLeftAndAnEmptyOneRemovesIt) {
    auto wave = [](const std::string& text) {
        Event count("test", kGameMessageTo, InterfaceManager::kWaveCountMessage);
        count.SetParam<std::string>(InterfaceManager::kMessageParam, text);
        Send(count);
    };
    const uint32_t kGreen = 0xFF00FF00u;
    EXPECT_EQ(0, Ink(0.05f, 0.05f, kGreen));
    wave("2 of 3");
    Frames(3, true);
    const GameMessage* line = Shown("Wave Message");
    ASSERT_NE(nullptr, line);
    EXPECT_EQ("Wave 2 of 3", line->fullText);
    EXPECT_EQ("2 of 3", Ui().waveCountText);
    EXPECT_GT(Ink(0.05f, 0.05f, kGreen), 20);
    wave("");
    Frames(3, true);
    EXPECT_EQ(nullptr, Shown("Wave Message"));
    EXPECT_EQ(0, Ink(0.05f, 0.05f, kGreen));
}

}  // namespace
}  // namespace menu_test
