// The end screens as built at two window sizes: each widget's kind, name,
// place, size, texts, colours and the events it carries, and what a build
// posts by itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_manager.h"
#include "game_logic.h"
#include "input_manager.h"
#include "interface/button.h"
#include "interface/text_box.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "system.h"

namespace {

InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
InputManager& Input() { return *Module<InputManager>::Instance(); }
InterfaceObjectList& Registry() { return Module<ObjectManager>::Instance()->interObjList; }
System& Sys() { return *Module<System>::Instance(); }

struct Rgba {
    float r, g, b, a;
};
bool Same(const Color4& c, const Rgba& e) { return c.r == e.r && c.g == e.g && c.b == e.b && c.a == e.a; }

// One widget as a screen should register it. An empty name means the
// generated one, which starts with the kind's keyword.
struct Expected {
    bool button;
    std::string name;
    float x, y, width, height;
    std::string text;
    Rgba textColor;
    Rgba color;                              // a button's idle colour and its colour now
    Rgba pressed;                            // buttons only
    std::vector<std::string> events;         // "addressee:type", in order
    int alignment = TextAlignment::Center;
};

const Rgba kWhite{1, 1, 1, 1}, kClear{1, 1, 1, 0}, kGreen{0, 1, 0, 0.5f}, kNone{0, 0, 0, 0};

class EndScreens : public ::testing::TestWithParam<std::pair<int, int>> {
protected:
    void SetUp() override {
        Module<EventManager>::Instance()->Init();
        Module<InputManager>::Instance()->Init();
        Sys().width = GetParam().first;
        Sys().height = GetParam().second;
        Ui().Init();
        Drain();
    }
    void TearDown() override {
        Ui().Kill();
        Module<EventManager>::Instance()->Kill();
        Sys().width = 1024, Sys().height = 768;
        Sys().SetTextInputMode(false);
    }
    static std::vector<std::string> Drain(const char* client = "SoundManager") {
        std::vector<std::string> types;
        for (const Event& event : Module<EventManager>::Instance()->PollEvents(client))
            types.push_back(event.from + ">" + event.eventType);
        return types;
    }
    float W() const { return float(GetParam().first); }
    float H() const { return float(GetParam().second); }

    static void Check(const std::vector<Expected>& screen) {
        ASSERT_EQ(Registry().size(), screen.size());
        for (size_t i = 0; i < screen.size(); ++i) {
            const Expected& e = screen[i];
            const InterfaceObject& widget = *Registry().At(i).widget;
            SCOPED_TRACE("widget " + std::to_string(i) + " " + widget.name);
            if (e.name.empty())
                EXPECT_EQ(0u, widget.name.find(e.button ? "BUTTON" : "TEXTBOX"));
            else
                EXPECT_EQ(e.name, widget.name);
            EXPECT_EQ(Registry().At(i).name, widget.name);
            EXPECT_TRUE(widget.position.x == e.x && widget.position.y == e.y)
                << widget.position.x << ", " << widget.position.y << " for " << e.x << ", " << e.y;
            EXPECT_TRUE(widget.width == e.width && widget.height == e.height) << widget.width << " x " << widget.height;
            const InterfaceText* text = nullptr;
            if (e.button) {
                const auto& button = dynamic_cast<const Button&>(widget);
                text = &button.label;
                EXPECT_TRUE(Same(button.idleColor, e.color) && Same(button.pressedColor, e.pressed));
            } else {
                text = &dynamic_cast<const TextBox&>(widget).text;
            }
            EXPECT_TRUE(Same(widget.color, e.color));
            EXPECT_EQ(e.text, text->text);
            EXPECT_TRUE(Same(text->color, e.textColor));
            EXPECT_EQ(e.alignment, text->alignment);
            std::vector<std::string> events;
            for (const Event& event : widget.events) {
                EXPECT_EQ("InterfaceManager", event.from);
                events.push_back(event.to + ":" + event.eventType);
            }
            EXPECT_EQ(e.events, events);
        }
    }
};

TEST_P(EndScreens, WinShowsItsHeadingAndContinueAndStopsTheMusic) {
    Ui().BuildInterface(InterfaceState::Win);
    EXPECT_EQ(std::vector<std::string>{"InterfaceManager>Stop Music"}, Drain());
    Check({
        {false, "", 0.2f * W(), 0.9f * H(), 600, 50, "Mission Complete", kWhite, kClear, {}, {}},
        {true, "", 0.55f * W(), 0.2f * H(), 300, 37.5f, "Continue", kWhite, kClear, kGreen,
         {"GameLogic:Enter Game", "SoundManager:Play Music"}},
    });
}

TEST_P(EndScreens, GameOverOffersTheTitleAndARetryAndPostsNothing) {
    Ui().BuildInterface(InterfaceState::GameOver);
    EXPECT_TRUE(Drain().empty() && Drain("GameLogic").empty() && Drain("InterfaceManager").empty());
    Check({
        {false, "", 0.15f * W(), 0.9f * H(), 600, 50, "Mission Failed", kWhite, kClear, {}, {}},
        {true, "", 0.55f * W(), 0.2f * H(), 300, 37.5f, "Return to Title", kWhite, kClear, kGreen,
         {"GameLogic:Enter Title"}},
        {true, "", 0.55f * W(), 0.1f * H(), 150, 37.5f, "Retry", kWhite, kClear, kGreen, {"GameLogic:Enter Game"}},
    });
}

TEST_P(EndScreens, TheUltimatumOffersToStopOrToFightOn) {
    Ui().BuildInterface(InterfaceState::EndlessModeStart);
    EXPECT_TRUE(Drain().empty());
    const float x = 0.5f * W() - 300.0f, buttonX = 0.5f * W() - 200.0f;
    Check({
        {false, "", x, 0.9f * H(), 600, 50, "Ultimatum", {0, 0.9f, 0.9f, 1}, kClear, {}, {}},
        {false, "", x, 0.898f * H(), 600, 50, "Ultimatum", {0.3f, 1, 1, 0.9f}, kClear, {}, {}},
        {false, "", x, 0.896f * H(), 600, 50, "Ultimatum", {1, 1, 1, 0.8f}, kClear, {}, {}},
        {true, "Stop Now and Win", buttonX, 0.5f * H(), 400, 40, "Stop Now and Win", kWhite, kClear, {1, 0, 0, 0},
         {"GameLogic:Stop Now"}},
        {true, "Play Until You Die", buttonX, 0.42f * H(), 400, 40, "Play Until You Die", kWhite, kClear,
         {0, 1, 0, 0}, {"GameLogic:Infinite Mode"}},
    });
    EXPECT_EQ(InterfaceState::EndlessModeStart, Ui().currentState);
    EXPECT_EQ(InterfaceManager::kNoneSelected, Ui().selectedName);
}

// The name entry only for a run that beats the tenth entry; text input on
// either way, so the entry takes typing at once.
TEST_P(EndScreens, ScoreShowsTheHeadingsAndTheNameEntryOnlyForARunThatBeatsTheTenth) {
    Ui().scoreList.entries = ScoreList::DefaultEntries();
    Ui().scoreList.Sort();
    const uint32_t tenth = Ui().scoreList.entries.back().kills;
    std::vector<Expected> screen;
    for (const auto& [heading, c] : {std::pair<const char*, float>{"Name", 0.15f}, {"Kills", 0.33f},
                                     {"Damage Received", 0.55f}, {"Accuracy", 0.825f}})
        screen.push_back({false, "", c * W() - 300.0f, 0.75f * H(), 600, 50, heading, kWhite, kClear, {}, {}});
    const Expected proceed{true, "", 0.65f * W(), 0.1f * H(), 250, 37.5f, "Continue", kWhite, kClear, kGreen,
                           {"GameLogic:Enter Game", "SoundManager:Play Music"}};

    Module<GameLogic>::Instance()->enemiesKilled = tenth;
    Ui().BuildInterface(InterfaceState::Score);
    std::vector<Expected> plain = screen;
    plain.push_back(proceed);
    Check(plain);
    EXPECT_EQ(InterfaceManager::kNoneSelected, Ui().selectedName);
    EXPECT_TRUE(Sys().GetTextInputMode());
    EXPECT_TRUE(Drain().empty());

    Input().AppendChar('x');  // typed before the screen
    Module<GameLogic>::Instance()->enemiesKilled = tenth + 1;
    Ui().BuildInterface(InterfaceState::Score);
    screen.push_back({false, "DirectionsText", 0.15f * W(), 0.2f * H(), 200, 35, "Enter your name and press 'enter'",
                      kWhite, kNone, {}, {}, TextAlignment::BottomLeft});
    screen.push_back({false, "NameText", 0.1f * W(), 0.1f * H(), 200, 35, "Player Name: ", kWhite, kNone, {}, {},
                      TextAlignment::BottomLeft});
    screen.push_back({false, "NameInput", 0.1f * W() + 210.0f, 0.1f * H(), 200, 35, "", kWhite, {0.5f, 0.5f, 0.5f, 1},
                      {}, {}, TextAlignment::kNone});
    screen.push_back(proceed);
    Check(screen);
    EXPECT_EQ("NameInput", Ui().selectedName);
    EXPECT_TRUE(Registry().Find("NameInput")->editable);
    EXPECT_TRUE(Sys().GetTextInputMode());
    EXPECT_EQ("", Input().GetText()) << "the box starts empty";
    Module<GameLogic>::Instance()->enemiesKilled = 0;
}

INSTANTIATE_TEST_SUITE_P(Windows, EndScreens, ::testing::Values(std::make_pair(1024, 768), std::make_pair(800, 600)),
                         [](const auto& info) {
                             return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

}  // namespace
