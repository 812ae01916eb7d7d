// The menu screens: title, pause, credits, options and key bindings. Layouts
// are fractions of the window's size W x H taken at every build, so a screen
// rebuilt after a mode change fits the new window. Buttons post the menu
// messages that the game state on top answers; every event they carry comes
// from "InterfaceManager".
#include <iterator>
#include <string>

#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_states/level_states.h"
#include "game_states/menu_messages.h"
#include "input_manager.h"
#include "interface/button.h"
#include "interface/choice_widgets.h"
#include "interface/controls_button.h"
#include "interface/game_message.h"
#include "interface/slider_bar.h"
#include "interface/text_box.h"
#include "interface_manager.h"
#include "interface_manager/resolution_text.h"
#include "interface_manager/screen_widgets.h"
#include "interface_manager/screens.h"
#include "sound_manager.h"
#include "system.h"

namespace {

using screen_widgets::FromInterface;
using screen_widgets::kWhite;

const Color4 kRed{1.0f, 0.0f, 0.0f, 0.0f};  // pressed; clear like the idle colour
const float kMenuButtonHeight = 40.0f;

System& Sys() { return *Module<System>::Instance(); }
float W() { return float(Sys().width); }
float H() { return float(Sys().height); }
Vector At(float x, float y) { return Vector(x, y, 0.0f, 0.0f); }

Event ToGame(const char* type) { return FromInterface(addressee::kGameLogic, type); }
Event ToInterface(const char* type) { return FromInterface(addressee::kInterfaceManager, type); }
Event ToSound(const char* type) { return FromInterface(addressee::kSoundManager, type); }

// A widget of factory kind `kind`, or null when none could be made (the
// factory has said why); the caller registers it.
template <class Widget>
Widget* Make(InterfaceManager& ui, int kind, const Vector& at = Vector()) {
    return dynamic_cast<Widget*>(ui.CreateInterfaceObject(kind, at));
}

// The look every key-binding button shares with the other menu buttons
// (screen_widgets::MakeButton): clear, a white centred label.
void StyleButton(ButtonBase& button, const std::string& label, const Color4& pressed) {
    button.SetIdleColor(1.0f, 1.0f, 1.0f, 0.0f);
    button.pressedColor = pressed;
    button.label.text = label;
    button.label.color = kWhite;
    button.label.AlignCenter();
}

// One entry of a column of menu buttons named by their labels.
struct MenuEntry {
    const char* label;
    float y;  // fraction of the window height
    std::vector<Event> events;
};

// A column button: placed from the button's default width, so that it is
// centred on `centreX`, then widened by `extraWidth` and made 40 high.
void AddColumnButton(InterfaceManager& ui, const MenuEntry& entry, float centreX, float extraWidth,
                     const Color4& pressed, bool dimLabel) {
    const float width = ButtonBase::kDefaultWidth;
    Button* button = screen_widgets::MakeButton(ui, At(centreX - 0.5f * width, entry.y * H()), width + extraWidth,
                                                kMenuButtonHeight, entry.label, entry.label, pressed, entry.events);
    if (!button) return;
    button->dimLabel = dimLabel;
    ui.AddInterfaceObject(button);
}

// A button of the options and key-binding screens, keeping its generated name.
void AddDialogButton(InterfaceManager& ui, const char* label, const Vector& at, float width, const Color4& pressed,
                     const std::vector<Event>& events) {
    screen_widgets::AddButton(ui, at, width, kMenuButtonHeight, label, "", pressed, events);
}

// The pause screen's level title and objectives, by the level's category.
struct LevelLines {
    const char* levelName;
    const char* title;
    const char* first;
    const char* second;
};

const LevelLines kLevelLines[] = {
    {LevelOne::kCategory, "Level 1", "-Survive through the waves of enemies", ""},
    {LevelTwo::kCategory, "Level 2", "-Boost out of the shaft", "-Make your way to the city"},
    {LevelThree::kCategory, "Level 3", "-Fight your way through the city to the plaza",
     "-Survive through the waves of enemies"},
};
const LevelLines kUnknownLevel = {"", "Level 4?", "", ""};

const LevelLines& LinesOf(const std::string& levelName) {
    for (const LevelLines& lines : kLevelLines)
        if (levelName == lines.levelName) return lines;
    return kUnknownLevel;
}

// One line typed out at the pause screen's pace; empty lines are sent too.
void PostTypedLine(GMessage& line, const char* text, float x, float y, float scale) {
    line.text = text;
    line.position = Vector(x, y, 0.0f, 0.0f);
    line.scale = scale;
    PostGameMessage(addressee::kInterfaceManager, line);
}

void PostLevelLines() {
    const LevelLines& lines = LinesOf(Module<GameLogic>::Instance()->levelName);
    GMessage line;
    line.color = Vector(1.0f, 1.0f, 1.0f, 1.0f);
    line.typeOut = true;
    line.letterTime = 0.025f;
    line.persistent = true;
    PostTypedLine(line, lines.title, 0.05f, 0.9f, 1.0f);
    PostTypedLine(line, lines.first, 0.1f, 0.8f, 0.8f);
    PostTypedLine(line, lines.second, 0.1f, 0.7f, 0.8f);
}

// The radio pair that chooses full screen ("On", option 0) or a window.
void AddScreenModeChoice(InterfaceManager& ui) {
    auto* radio = Make<RadioButton>(ui, InterfaceManager::kRadioButton, At(0.5f * W(), 0.9f * H()));
    if (!radio) return;
    radio->name = screens::kScreenChoice;
    radio->SetText("Fullscreen Mode");
    radio->SetOptionText(0, "On");
    radio->SetOptionText(1, "Off");
    // The options are the group's first two children.
    radio->children.at(0)->AddEvent(ToInterface(InterfaceManager::kFullScreenToggle));
    radio->children.at(1)->AddEvent(ToInterface(InterfaceManager::kWindowModeToggle));
    radio->SelectOption(Sys().fullScreen ? 0 : 1);
    ui.AddInterfaceObject(radio);
}

void AddVolumeSlider(InterfaceManager& ui, const char* name, float y, const char* caption, int volume) {
    auto* slider = Make<SliderBar>(ui, InterfaceManager::kSliderBar, At(0.25f * W(), y * H()));
    if (!slider) return;
    slider->name = name;
    slider->SetDisplayText(caption);
    slider->SetValue(float(volume) / 255.0f * 100.0f);
    ui.AddInterfaceObject(slider);
}

// The key-binding buttons' places, as fractions of the window: a column of
// four at the left, then one at the middle.
constexpr float kBindingColumns[] = {0.01f, 0.5f};
constexpr float kBindingRows[] = {0.7f, 0.6f, 0.5f, 0.4f};
static_assert(std::size(kKeyBindings) == std::size(kBindingColumns) * std::size(kBindingRows), "a place for each");

void AddBindingButton(InterfaceManager& ui, const KeyBinding& entry, float x, float y) {
    auto* button = Make<ControlsButton>(ui, InterfaceManager::kControlsButton, At(x * W(), y * H()));
    if (!button) return;
    button->SetSize(350.0f, 50.0f);
    button->key = Module<InputManager>::Instance()->*entry.key;
    button->keyName = InterfaceManager::GetKeyName(button->key);
    button->name = entry.caption;
    StyleButton(*button, entry.caption + button->keyName, kRed);
    ui.AddInterfaceObject(button);
}

void AddControlsHeading(InterfaceManager& ui) {
    screen_widgets::AddBanner(ui, "Controls:  Click the button to reassign key");
}

void AddSensitivitySlider(InterfaceManager& ui) {
    auto* slider = Make<SliderBar>(ui, InterfaceManager::kSliderBar, At(0.25f * W(), 0.15f * H()));
    if (!slider) return;
    slider->name = screens::kMouseSlider;
    slider->SetDisplayText("Mouse Sensitivity");
    slider->SetMaxText("4.0");
    slider->SetMinText(".25 ");
    slider->SetRange(0.25f, 4.0f);
    slider->SetValue(Sys().mouseSensitivity);
    ui.AddInterfaceObject(slider);
}

}  // namespace

namespace screens {

void BuildTitle(InterfaceManager& ui) {
    const MenuEntry entries[] = {
        {"Start Game", 0.42f, {ToGame(MenuMessage::kEnterGame), ToSound(SoundManager::kPlayMusic)}},
        {"High Scores", 0.35f, {ToGame(MenuMessage::kEnterHighScores)}},
        {"Options", 0.28f, {ToGame(MenuMessage::kEnterOptions)}},
        {"Controls", 0.21f, {ToGame(MenuMessage::kEnterControls)}},
        {"Credits", 0.14f, {ToGame(MenuMessage::kEnterCredits)}},
        {"Quit", 0.07f, {ToInterface(InterfaceManager::kQuitConfirm)}},
    };
    const Color4 clear{1.0f, 1.0f, 1.0f, 0.0f};
    for (const MenuEntry& entry : entries) {
        const bool scores = entry.label == std::string("High Scores");
        AddColumnButton(ui, entry, 0.5f * W(), 0.0f, scores ? kRed : clear, false);
    }
}

void BuildPause(InterfaceManager& ui) {
    Module<SoundManager>::Instance()->StopSound();
    PostLevelLines();
    Module<EventManager>::Instance()->PublishEvent(ToSound(SoundManager::kAdjustMusicVolume));
    const MenuEntry entries[] = {
        {"Resume Game", 0.49f, {ToGame(MenuMessage::kEnterGame)}},
        {"Options", 0.42f, {ToGame(MenuMessage::kEnterOptions)}},
        {"Controls", 0.35f, {ToGame(MenuMessage::kEnterControls)}},
        {"Credits", 0.28f, {ToGame(MenuMessage::kEnterCredits)}},
        {"Abort Mission", 0.21f, {ToGame(MenuMessage::kEnterGame), ToInterface(InterfaceManager::kRestart)}},
        {"Main Menu", 0.14f, {ToGame(MenuMessage::kEnterTitle)}},
        {"Quit", 0.07f, {ToInterface(InterfaceManager::kQuitConfirm)}},
    };
    for (const MenuEntry& entry : entries) AddColumnButton(ui, entry, 0.15f * W(), 10.0f, kRed, true);
}

void BuildCredits(InterfaceManager& ui) {
    Button* anywhere = Make<Button>(ui, InterfaceManager::kButton, At(0.0f, 0.0f));
    if (!anywhere) return;
    anywhere->SetIdleColor(0.0f, 0.0f, 0.0f, 0.0f);
    anywhere->SetPressedColor(0.0f, 0.0f, 0.0f, 0.0f);
    Event title = ToInterface(InterfaceManager::kStateChange);
    title.SetParam(InterfaceManager::kStateParam, InterfaceState::Title);
    anywhere->AddEvent(title);
    anywhere->AddEvent(ToGame(MenuMessage::kEnterTitle));
    for (InterfaceObject* child : anywhere->children) child->SetColor(0.0f, 0.0f, 0.0f, 0.0f);
    anywhere->HideBorders();
    anywhere->label.color.a = 0.0f;
    anywhere->SetSize(W(), H());
    ui.AddInterfaceObject(anywhere);
}

void BuildOptions(InterfaceManager& ui) {
    AddScreenModeChoice(ui);
    AddResolutionSelector(ui, !Sys().fullScreen);
    const SoundManager& sound = *Module<SoundManager>::Instance();
    AddVolumeSlider(ui, kMusicSlider, 0.35f, "Music Volume", sound.musicVolume);
    AddVolumeSlider(ui, kSoundSlider, 0.2f, "Sound Volume", sound.soundVolume);
    const Event apply = ToInterface(InterfaceManager::kOptionsApply);
    const Event leave = ToGame(MenuMessage::kEnterTitle);
    AddDialogButton(ui, "Ok", At(0.35f * W(), 0.05f * H()), 100.0f, kRed, {apply, leave});
    AddDialogButton(ui, "Apply", At(0.52f * W(), 0.05f * H()), 150.0f, Color4{1.0f, 0.0f, 0.0f, 1.0f}, {apply});
    AddDialogButton(ui, "Cancel", At(0.75f * W(), 0.05f * H()), 150.0f, kRed, {leave});
}

void AddResolutionSelector(InterfaceManager& ui, bool windowed) {
    // Made directly: the factory's selector would ignore `windowed`.
    auto* selector = new ResolutionSelector(ui.nextObjectId, windowed, Vector());
    ui.nextObjectId += 100;
    selector->name = kResolutionSelector;
    if (auto* caption = dynamic_cast<TextBox*>(selector->FirstChild()))
        caption->SetText(ResolutionSelector::kCaption + GetResolutionString(Sys().width, Sys().height));
    ui.AddInterfaceObject(selector);
}

void BuildControls(InterfaceManager& ui) {
    ui.keyCapture = false;
    AddControlsHeading(ui);
    for (size_t i = 0; i < std::size(kKeyBindings); ++i)
        AddBindingButton(ui, kKeyBindings[i], kBindingColumns[i / std::size(kBindingRows)],
                         kBindingRows[i % std::size(kBindingRows)]);
    AddSensitivitySlider(ui);
    const Event leave = ToGame(MenuMessage::kEnterTitle);
    AddDialogButton(ui, "Ok", At(0.52f * W(), 0.05f * H()), 100.0f, kRed,
                    {ToInterface(InterfaceManager::kControlsOk), leave});
    AddDialogButton(ui, "Back", At(0.75f * W(), 0.05f * H()), 150.0f, kRed, {leave});
}

}  // namespace screens
