// InterfaceManager: the screens that end a level or the game, and the choice
// after level three's last scripted wave. Win and GameOver show a heading and
// their buttons; the statistics lines come from their states as game
// messages. Score shows the table's column headings (the rows come from the
// score state as game messages) and, for a run that beats the tenth entry,
// the name entry.
#include "event_manager.h"
#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_states/endless_mode_start_state.h"
#include "game_states/menu_messages.h"
#include "input_manager.h"
#include "interface/text_box.h"
#include "interface_manager.h"
#include "interface_manager/screen_widgets.h"
#include "interface_manager/screens.h"
#include "sound_manager.h"
#include "system.h"

using namespace screen_widgets;

namespace {

constexpr Color4 kPressedGreen{0.0f, 1.0f, 0.0f, 0.5f};
// A button is made 75 high; these screens halve that.
constexpr float kHalfButtonHeight = 75.0f / 2.0f;

// "Continue" of the win and score screens: on to what lies below, with music.
std::vector<Event> ContinueEvents() {
    return {FromInterface(addressee::kGameLogic, MenuMessage::kEnterGame),
            FromInterface(addressee::kSoundManager, SoundManager::kPlayMusic)};
}

// A caption of the name entry, its text placed at the box's lower left.
void AddCaption(InterfaceManager& ui, const char* name, const Vector& at, const std::string& text) {
    TextBox* box = MakeTextBox(ui, at, 200.0f, 35.0f, text, kWhite, Color4{0.0f, 0.0f, 0.0f, 0.0f});
    if (!box) return;
    box->name = name;
    box->text.AlignBottomLeft();
    ui.AddInterfaceObject(box);
}

// Two captions and the box that takes the typed name, selected at once so
// that typing reaches it without a click.
void AddNameEntry(InterfaceManager& ui) {
    const Window s = WindowSize();
    AddCaption(ui, "DirectionsText", Vector(0.15f * s.w, 0.2f * s.h, 0.0f, 0.0f), "Enter your name and press 'enter'");
    const Vector captionAt(0.1f * s.w, 0.1f * s.h, 0.0f, 0.0f);
    const float captionWidth = 200.0f;
    AddCaption(ui, "NameText", captionAt, "Player Name: ");
    TextBox* input = MakeTextBox(ui, Vector(captionAt.x + captionWidth + 10.0f, captionAt.y, 0.0f, 0.0f), 200.0f,
                                 35.0f, "", kWhite, Color4{0.5f, 0.5f, 0.5f, 1.0f});
    if (!input) return;
    input->name = TextBox::kNameInput;
    input->editable = true;
    // The box shows the entry buffer: it starts empty, not with whatever was
    // typed before the screen was built.
    Module<InputManager>::Instance()->ClearText();
    if (ui.AddInterfaceObject(input)) ui.selectedName = TextBox::kNameInput;
}

}  // namespace

namespace screens {

void BuildWin(InterfaceManager& ui) {
    Module<SoundManager>::Instance()->StopSound();
    Module<EventManager>::Instance()->PublishEvent(FromInterface(addressee::kSoundManager, SoundManager::kStopMusic));
    const Window s = WindowSize();
    AddHeading(ui, 0.2f * s.w, 0.9f * s.h, "Mission Complete", kWhite);
    AddButton(ui, Vector(0.55f * s.w, 0.2f * s.h, 0.0f, 0.0f), 300.0f, kHalfButtonHeight, "Continue", "",
              kPressedGreen, ContinueEvents());
}

void BuildGameOver(InterfaceManager& ui) {
    const Window s = WindowSize();
    AddHeading(ui, 0.15f * s.w, 0.9f * s.h, "Mission Failed", kWhite);
    AddButton(ui, Vector(0.55f * s.w, 0.2f * s.h, 0.0f, 0.0f), 300.0f, kHalfButtonHeight, "Return to Title", "",
              kPressedGreen, {FromInterface(addressee::kGameLogic, MenuMessage::kEnterTitle)});
    AddButton(ui, Vector(0.55f * s.w, 0.1f * s.h, 0.0f, 0.0f), 150.0f, kHalfButtonHeight, "Retry", "",
              kPressedGreen, {FromInterface(addressee::kGameLogic, MenuMessage::kEnterGame)});
}

void BuildEndlessModeStart(InterfaceManager& ui) {
    const Window s = WindowSize();
    // Three copies a hair apart in fading colours read as one glowing title.
    const float x = 0.5f * s.w - 300.0f;
    AddHeading(ui, x, 0.9f * s.h, "Ultimatum", Color4{0.0f, 0.9f, 0.9f, 1.0f});
    AddHeading(ui, x, 0.898f * s.h, "Ultimatum", Color4{0.3f, 1.0f, 1.0f, 0.9f});
    AddHeading(ui, x, 0.896f * s.h, "Ultimatum", Color4{1.0f, 1.0f, 1.0f, 0.8f});
    const char* const stop = "Stop Now and Win";
    const char* const fight = "Play Until You Die";
    AddButton(ui, Vector(0.5f * s.w - 200.0f, 0.5f * s.h, 0.0f, 0.0f), 400.0f, 40.0f, stop, stop,
              Color4{1.0f, 0.0f, 0.0f, 0.0f}, {FromInterface(addressee::kGameLogic, EndlessModeStartState::kStopNow)});
    AddButton(ui, Vector(0.5f * s.w - 200.0f, 0.42f * s.h, 0.0f, 0.0f), 400.0f, 40.0f, fight, fight,
              Color4{0.0f, 1.0f, 0.0f, 0.0f},
              {FromInterface(addressee::kGameLogic, EndlessModeStartState::kInfiniteMode)});
}

void BuildScore(InterfaceManager& ui) {
    Module<System>::Instance()->SetTextInputMode(true);
    const Window s = WindowSize();
    const std::pair<const char*, float> columns[] = {
        {"Name", 0.15f}, {"Kills", 0.33f}, {"Damage Received", 0.55f}, {"Accuracy", 0.825f}};
    for (const auto& [heading, centre] : columns) AddHeading(ui, centre * s.w - 300.0f, 0.75f * s.h, heading, kWhite);
    if (ui.scoreList.Qualifies(Module<GameLogic>::Instance()->enemiesKilled)) AddNameEntry(ui);
    AddButton(ui, Vector(0.65f * s.w, 0.1f * s.h, 0.0f, 0.0f), 250.0f, kHalfButtonHeight, "Continue", "",
              kPressedGreen, ContinueEvents());
}

}  // namespace screens
