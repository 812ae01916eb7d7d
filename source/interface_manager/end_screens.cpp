// InterfaceManager: the screens that end a level, and the choice after level
// three's last scripted wave. Win and GameOver show a heading and their
// buttons; the statistics lines come from their states as game messages.
#include "event_manager.h"
#include "game_logic/addressees.h"
#include "game_states/endless_mode_start_state.h"
#include "game_states/menu_messages.h"
#include "interface_manager.h"
#include "interface_manager/screen_widgets.h"
#include "interface_manager/screens.h"
#include "sound_manager.h"

using namespace screen_widgets;

namespace {

constexpr Color4 kPressedGreen{0.0f, 1.0f, 0.0f, 0.5f};
// A button is made 75 high; these screens halve that.
constexpr float kHalfButtonHeight = 75.0f / 2.0f;

}  // namespace

namespace screens {

void BuildWin(InterfaceManager& ui) {
    Module<SoundManager>::Instance()->StopSound();
    Module<EventManager>::Instance()->PublishEvent(FromInterface(addressee::kSoundManager, SoundManager::kStopMusic));
    const Window s = WindowSize();
    AddHeading(ui, 0.2f * s.w, 0.9f * s.h, "Mission Complete", kWhite);
    AddButton(ui, Vector(0.55f * s.w, 0.2f * s.h, 0.0f, 0.0f), 300.0f, kHalfButtonHeight, "Continue", "",
              kPressedGreen,
              {FromInterface(addressee::kGameLogic, MenuMessage::kEnterGame),
               FromInterface(addressee::kSoundManager, SoundManager::kPlayMusic)});
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

}  // namespace screens
