// The menu screens in the game's window: every widget's name, rectangle and
// events, at 1024 x 768 and, after the options screen has switched the
// window to 800 x 600, again at that size; the options screen's volumes and
// modes and the key-binding screen, clicked and typed as a player would.
#include "interface/menu_game.h"

#include <SDL.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "game_states/settings_states.h"
#include "interface/button.h"
#include "interface/choice_widgets.h"
#include "interface/controls_button.h"
#include "interface/slider_bar.h"
#include "interface/text_box.h"

namespace menu_test {
namespace {

// One widget as the tables give it: its name (a button that keeps its
// generated name is given by "[its label]"), its rectangle and its events
// ("to/type", with a screen number after a "State Change").
struct Row {
    std::string id;
    float x, y, width, height;
    std::vector<std::string> events;
};

std::string Describe(const Event& event) {
    std::string text = event.to + "/" + event.eventType;
    if (event.Has(InterfaceManager::kStateParam))
        text += " " + std::to_string(event.GetParam<InterfaceState::Type>(InterfaceManager::kStateParam));
    return (event.from == "InterfaceManager" ? "" : "from " + event.from + ": ") + text;
}

Row RowOf(const InterfaceObject& widget) {
    Row row{widget.name, widget.position.x, widget.position.y, widget.width, widget.height, {}};
    const auto* button = dynamic_cast<const ButtonBase*>(&widget);
    // An unlabelled one still reads its name.
    if (button && widget.name.rfind("BUTTON", 0) == 0)
        row.id = "[" + (button->label.text == widget.name ? std::string() : button->label.text) + "]";
    for (const Event& event : widget.events) row.events.push_back(Describe(event));
    return row;
}

const std::string kGame = "GameLogic/", kUi = "InterfaceManager/", kSound = "SoundManager/";

std::vector<Row> TitleTable(float W, float H) {
    const float x = 0.5f * W - 100.0f;
    return {{"Start Game", x, 0.42f * H, 200, 40, {kGame + "Enter Game", kSound + "Play Music"}},
            {"High Scores", x, 0.35f * H, 200, 40, {kGame + "Enter High Scores"}},
            {"Options", x, 0.28f * H, 200, 40, {kGame + "Enter Options"}},
            {"Controls", x, 0.21f * H, 200, 40, {kGame + "Enter Controls"}},
            {"Credits", x, 0.14f * H, 200, 40, {kGame + "Enter Credits"}},
            {"Quit", x, 0.07f * H, 200, 40, {kUi + "Quit Confirm"}}};
}

std::vector<Row> PauseTable(float W, float H) {
    const float x = 0.15f * W - 100.0f;
    return {{"Resume Game", x, 0.49f * H, 210, 40, {kGame + "Enter Game"}},
            {"Options", x, 0.42f * H, 210, 40, {kGame + "Enter Options"}},
            {"Controls", x, 0.35f * H, 210, 40, {kGame + "Enter Controls"}},
            {"Credits", x, 0.28f * H, 210, 40, {kGame + "Enter Credits"}},
            {"Abort Mission", x, 0.21f * H, 210, 40, {kGame + "Enter Game", kUi + "Restart"}},
            {"Main Menu", x, 0.14f * H, 210, 40, {kGame + "Enter Title"}},
            {"Quit", x, 0.07f * H, 210, 40, {kUi + "Quit Confirm"}}};
}

std::vector<Row> CreditsTable(float W, float H) {
    return {{"[]", 0, 0, W, H, {kUi + "State Change 2", kGame + "Enter Title"}}};
}

std::vector<Row> OptionsTable(float W, float H) {
    return {{"Screen Radio Button", 0.5f * W, 0.9f * H, 0, 0, {}},
            {"resSelector", 0, 0, 0, 0, {}},
            {"musicSlider", 0.25f * W, 0.35f * H, 0.5f * W, 0.02f * H, {}},
            {"soundSlider", 0.25f * W, 0.2f * H, 0.5f * W, 0.02f * H, {}},
            {"[Ok]", 0.35f * W, 0.05f * H, 100, 40, {kUi + "Options Apply", kGame + "Enter Title"}},
            {"[Apply]", 0.52f * W, 0.05f * H, 150, 40, {kUi + "Options Apply"}},
            {"[Cancel]", 0.75f * W, 0.05f * H, 150, 40, {kGame + "Enter Title"}}};
}

std::vector<Row> ControlsTable(float W, float H) {
    std::vector<Row> rows{{"TEXTBOX", float(int(W) / 2) - 200.0f, 0.8f * H, 400, 50, {}}};
    const char* captions[] = {"Forward: ", "Back: ", "Left: ", "Right: ", "Dash: ", "Jump: ", "Lasers: ", "Missiles: "};
    for (int i = 0; i < 8; ++i)
        rows.push_back({captions[i], (i < 4 ? 0.01f : 0.5f) * W, (0.7f - 0.1f * float(i % 4)) * H, 350, 50, {}});
    rows.push_back({"mouseSlider", 0.25f * W, 0.15f * H, 0.5f * W, 0.02f * H, {}});
    rows.push_back({"[Ok]", 0.52f * W, 0.05f * H, 100, 40, {kUi + "Controls Ok", kGame + "Enter Title"}});
    rows.push_back({"[Back]", 0.75f * W, 0.05f * H, 150, 40, {kGame + "Enter Title"}});
    return rows;
}

std::vector<Row> QuitTable(float W, float H) {
    return {{"TEXTBOX", float(int(W) / 2) - 200.0f, 0.8f * H, 400, 50, {}},
            {"Yes", 0.5f * W - 100.0f, 0.5f * H, 210, 40, {kUi + "Quit"}},
            {"No", 0.5f * W - 100.0f, 0.4f * H, 210, 40, {kUi + "Quit Cancel"}}};
}

bool SameRow(const Row& shown, const Row& wanted) {
    // Generated names differ only in their running id.
    const bool sameId = shown.id == wanted.id || (wanted.id == "TEXTBOX" && shown.id.rfind("TEXTBOX", 0) == 0);
    auto near = [](float a, float b) { return std::fabs(a - b) < 1e-3f; };
    return sameId && near(shown.x, wanted.x) && near(shown.y, wanted.y) && near(shown.width, wanted.width) &&
           near(shown.height, wanted.height) && shown.events == wanted.events;
}

std::string Text(const Row& row) {
    std::ostringstream out;
    out << row.id << " (" << row.x << ", " << row.y << ") " << row.width << " x " << row.height;
    for (const std::string& event : row.events) out << " [" << event << "]";
    return out.str();
}

class MenuScreens : public MenuGame {
protected:
    // The registered widgets, in their order, against a table.
    static void ExpectScreen(const std::vector<Row>& wanted, const char* screen) {
        SCOPED_TRACE(screen);
        ASSERT_EQ(Registry().size(), wanted.size());
        for (size_t i = 0; i < wanted.size(); ++i) {
            const Row shown = RowOf(*Registry().At(i).widget);
            EXPECT_TRUE(SameRow(shown, wanted[i])) << "shown:  " << Text(shown) << "\nwanted: " << Text(wanted[i]);
        }
    }
    // Every screen built in turn, as the states ask for them, then the title.
    static void ExpectAllScreens() {
        const float W = float(Sys().width), H = float(Sys().height);
        InterfaceManager& ui = Ui();
        const struct {
            InterfaceState::Type screen;
            std::vector<Row> rows;
            const char* name;
        } screens[] = {{InterfaceState::Title, TitleTable(W, H), "title"},
                       {InterfaceState::Pause, PauseTable(W, H), "pause"},
                       {InterfaceState::Credits, CreditsTable(W, H), "credits"},
                       {InterfaceState::Options, OptionsTable(W, H), "options"},
                       {InterfaceState::Controls, ControlsTable(W, H), "controls"}};
        for (const auto& s : screens) {
            ui.BuildInterface(s.screen);
            ExpectScreen(s.rows, s.name);
        }
        ui.ProcessEvent(Event("test", "InterfaceManager", InterfaceManager::kQuitConfirm));
        ExpectScreen(QuitTable(W, H), "quit question");
        ui.BuildInterface(InterfaceState::Title);
    }
    // The registered button with that label.
    static ButtonBase* Labelled(const std::string& label) {
        for (const InterfaceObjectList::Entry& entry : Registry()) {
            auto* button = dynamic_cast<ButtonBase*>(entry.widget);
            if (button && button->label.text == label) return button;
        }
        return nullptr;
    }
    void ClickLabelled(const std::string& label) {
        const ButtonBase* button = Labelled(label);
        ASSERT_NE(nullptr, button) << label;
        ClickAt(button->position.x + 0.5f * button->width, button->position.y + 0.5f * button->height);
    }
    void ClickChild(const InterfaceObject& child) {
        ClickAt(child.position.x + 0.5f * child.width, child.position.y + 0.5f * child.height);
    }
    void OpenFromTitle(const char* button, InterfaceState::Type screen) {
        Click(button);
        ASSERT_TRUE(RunUntil([&] { return Ui().currentState == screen; }, 10));
        Frames(2);
    }
    static SliderBar* Slider(const char* name) { return dynamic_cast<SliderBar*>(Registry().Find(name)); }
    // The slider's knob dragged with the button held to `fraction` of the track.
    void Drag(const char* sliderName, float fraction) {
        const SliderBar* slider = Slider(sliderName);
        ASSERT_NE(nullptr, slider);
        const InterfaceObject* knob = slider->FindChild(SliderBar::kKnob);
        const float y = slider->position.y + 0.5f * slider->height;
        const float x = slider->position.x, width = slider->width;
        PointAt(knob->position.x + 0.5f * knob->width, y);
        Xdo("mousedown 1");
        Frames(2);
        PointAt(x + fraction * width, y);
        Xdo("mouseup 1");
        Frames(2);
    }
    // The value of a Setting of the saved settings file.
    std::string Saved(const std::string& id) const {
        const std::string text = test_support::ReadFile(profile.Path() + "/The Quellbrand/settings.xml");
        const std::string key = "ID=\"" + id + "\" key=\"";
        const size_t at = text.find(key);
        if (at == std::string::npos) return "";
        return text.substr(at + key.size(), text.find('"', at + key.size()) - at - key.size());
    }
};

TEST_F(MenuScreens, EveryScreenAt1024x768AndAfterApplyingTheWindowAt800x600) {
    ExpectAllScreens();
    OpenFromTitle("Options", InterfaceState::Options);
    const InterfaceObject* selector = Registry().Find("resSelector");
    ASSERT_NE(nullptr, selector);
    const InterfaceObject* size = selector->FindChild("800x600");
    ASSERT_NE(nullptr, size) << "the windowed list offers 800x600";
    ClickChild(*size);
    EXPECT_EQ("800x600", dynamic_cast<const ResolutionSelector*>(Registry().Find("resSelector"))->selection);
    ClickLabelled("Apply");
    ASSERT_TRUE(RunUntil([] { return Sys().width == 800 && Sys().height == 600; }, 10)) << log.Text();
    Frames(3);
    const auto shown = display.GetSize(window);
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(800, shown->width);
    EXPECT_EQ(600, shown->height);
    EXPECT_TRUE(log.Has("selected = 800x600"));
    ExpectScreen(OptionsTable(800, 600), "options rebuilt for the new window");
    EXPECT_TRUE(ShowsColour(790, 590, kSkyColour));
    EXPECT_EQ("800", Saved("screen_width"));
    ExpectAllScreens();
}

TEST_F(MenuScreens, UntouchedVolumesStayAndAMovedOneLandsOnItsPercent) {
    Sound().musicVolume = 127;
    Sound().soundVolume = 126;
    OpenFromTitle("Options", InterfaceState::Options);
    for (int apply = 0; apply < 5; ++apply) {
        ClickLabelled("Apply");
        Frames(2);
        EXPECT_EQ(127, Sound().musicVolume);
        EXPECT_EQ(126, Sound().soundVolume);
    }
    EXPECT_EQ("127", Saved("music_volume"));
    Drag("musicSlider", 0.2f);
    EXPECT_NEAR(20.0f, Slider("musicSlider")->value, 0.5f);
    ClickLabelled("Apply");
    Frames(2);
    EXPECT_EQ(51, Sound().musicVolume);
    EXPECT_EQ("51", Saved("music_volume")) << "saved as the sound module keeps it";
    ClickLabelled("Apply");
    Frames(2);
    EXPECT_EQ(51, Sound().musicVolume);
    EXPECT_EQ(126, Sound().soundVolume);
}

TEST_F(MenuScreens, TheScreenModeChoiceRebuildsTheListWithTheSizeInForce) {
    OpenFromTitle("Options", InterfaceState::Options);
    const int before = Registry().Find("resSelector")->id;
    auto* choice = dynamic_cast<RadioButton*>(Registry().Find("Screen Radio Button"));
    ASSERT_NE(nullptr, choice);
    ASSERT_TRUE(choice->IsOptionSelected()) << "a window: \"Off\" selected";
    ClickChild(*choice->children.at(0));
    ASSERT_TRUE(RunUntil([&] { return Registry().Find("resSelector")->id != before; }, 5));
    const auto* fullScreenList = dynamic_cast<const ResolutionSelector*>(Registry().Find("resSelector"));
    const auto* caption = dynamic_cast<const TextBox*>(fullScreenList->FirstChild());
    EXPECT_EQ("Resolution Selected: 1024x768", caption->text.text);
    EXPECT_EQ("", fullScreenList->selection);
    EXPECT_FALSE(choice->IsOptionSelected());
    EXPECT_FALSE(Sys().fullScreen) << "only Apply changes the mode";
}

// "On" or "Off", with a size picked in the list or none, then Apply: the
// mode the System keeps, the one the display shows, the window's size and
// the saved file. Each row starts where the one before left the game; with
// no size picked the size in force stays.
TEST_F(MenuScreens, ApplyPutsTheChosenModeInForceAndSavesIt) {
    const struct {
        int option;        // 0: "On" (full screen), 1: "Off"
        const char* size;  // picked in the list; "" for none
        bool fullScreen;
        int width, height;
    } rows[] = {
        {0, "", true, 1024, 768},          {1, "", false, 1024, 768},        {1, "800x600", false, 800, 600},
        {0, "", true, 800, 600},           {0, "1024x768", true, 1024, 768}, {1, "800x600", false, 800, 600},
    };
    OpenFromTitle("Options", InterfaceState::Options);
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.option == 0 ? "On" : "Off") + " with \"" + row.size + "\"");
        const auto* choice = dynamic_cast<const RadioButton*>(Registry().Find("Screen Radio Button"));
        ASSERT_NE(nullptr, choice);
        ClickChild(*choice->children.at(size_t(row.option)));
        Frames(2);
        if (*row.size) {
            const InterfaceObject* size = Registry().Find("resSelector")->FindChild(row.size);
            ASSERT_NE(nullptr, size) << "the list offers " << row.size;
            ClickChild(*size);
        }
        log.Restart();
        ClickLabelled("Apply");
        ASSERT_TRUE(RunUntil([&] { return log.Has("SAVING"); }, 10)) << log.Text();
        Frames(3);
        EXPECT_TRUE(log.Has(std::string("selected = ") + row.size + "\n")) << log.Text();
        EXPECT_EQ(row.fullScreen, Sys().fullScreen);
        EXPECT_TRUE(Sys().width == row.width && Sys().height == row.height) << Sys().width << "x" << Sys().height;
        const SDL_Surface* screen = SDL_GetVideoSurface();
        ASSERT_NE(nullptr, screen);
        EXPECT_EQ(row.fullScreen, (screen->flags & SDL_FULLSCREEN) != 0) << "the mode the display shows";
        EXPECT_TRUE(screen->w == row.width && screen->h == row.height) << screen->w << "x" << screen->h;
        EXPECT_EQ(row.fullScreen ? "1" : "0", Saved("full_screen"));
        EXPECT_EQ(std::to_string(row.width), Saved("screen_width"));
        EXPECT_EQ(std::to_string(row.height), Saved("screen_height"));
        const auto* shown = dynamic_cast<const RadioButton*>(Registry().Find("Screen Radio Button"));
        ASSERT_NE(nullptr, shown);
        EXPECT_EQ(!row.fullScreen, shown->IsOptionSelected()) << "the screen shows the mode in force";
    }
}

TEST_F(MenuScreens, KeysAreCapturedEscapeCancelsACaptureAndOkTakesTheSensitivity) {
    OpenFromTitle("Controls", InterfaceState::Controls);
    EXPECT_TRUE(ShowsColour(900, 700, kSkyColour));
    Click("Jump: ");
    auto* jump = dynamic_cast<ControlsButton*>(Registry().Find("Jump: "));
    ASSERT_TRUE(RunUntil([&] { return jump->capturing; }, 5));
    HoldKey("j");
    ASSERT_TRUE(RunUntil([&] { return !jump->capturing; }, 5));
    EXPECT_EQ(74, Input().jump);
    EXPECT_EQ("Jump: J", jump->label.text);

    Click("Dash: ");
    auto* dash = dynamic_cast<ControlsButton*>(Registry().Find("Dash: "));
    ASSERT_TRUE(RunUntil([&] { return dash->capturing; }, 5));
    HoldKey("Escape");
    Frames(3);
    EXPECT_FALSE(dash->capturing);
    EXPECT_EQ(304, Input().dash) << "Escape is never bound";
    EXPECT_TRUE(OnTop<ControlsState>()) << "the capture took that Escape";
    HoldKey("Escape");
    ASSERT_TRUE(RunUntil(TitleOnTop, 5));

    OpenFromTitle("Controls", InterfaceState::Controls);
    Drag("mouseSlider", 0.5f);
    const float chosen = Slider("mouseSlider")->value;
    EXPECT_NEAR(2.125f, chosen, 0.05f);
    ClickLabelled("Ok");
    ASSERT_TRUE(RunUntil(TitleOnTop, 5));
    EXPECT_EQ(chosen, Sys().mouseSensitivity);
    EXPECT_EQ("74", Saved("jump"));
}

}  // namespace
}  // namespace menu_test
