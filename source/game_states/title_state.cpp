#include "game_states/title_state.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "game_states/ingame_state.h"
#include "game_states/menu_messages.h"
#include "game_states/state_events.h"
#include "input_manager.h"
#include "interface/game_message.h"
#include "interface_manager.h"
#include "sound_manager.h"
#include "system.h"

namespace {

constexpr const char* kSender = "TitleState";

GMessage VersionLine() {
    GMessage line;
    line.key = "versionStringHandle";
    line.text = System::GetVersionString();
    line.color = Vector(1.0f, 1.0f, 1.0f, 1.0f);
    line.position = Vector(0.02f, 0.02f, 0.0f, 0.0f);
    line.typeOut = false;
    line.scale = 0.7f;
    line.persistent = true;
    return line;
}

// The statistics start from zero, then the in-game state is pushed and,
// once on top, told to load the first level.
void StartGame() {
    Module<GameLogic>::Instance()->ResetStatistics();
    state_events::PushState(kSender, GameStateName::Ingame);
    state_events::ChangeLevel(kSender, IngameState::kFirstLevel);
}

// The menu messages that open a screen over the title.
constexpr std::pair<const char*, GameStateName::Type> kScreens[] = {
    {MenuMessage::kEnterOptions, GameStateName::Options},
    {MenuMessage::kEnterCredits, GameStateName::Credits},
    {MenuMessage::kEnterControls, GameStateName::Controls},
    {MenuMessage::kEnterHighScores, GameStateName::Score},
};

}  // namespace

void TitleState::Init() {
    state_events::ShowScreen(InterfaceState::Title);
    state_events::Publish(Event(addressee::kInterfaceManager, addressee::kSoundManager, SoundManager::kStopMusic));
    PostGameMessage(addressee::kGameLogic, VersionLine());
    System& system = *Module<System>::Instance();
    system.ReleaseMouse();
    system.Pause(true);
    levelLoadingBehind = !Module<GameLogic>::Instance()->loadingDone;
}

void TitleState::Update() {
    if (std::exchange(levelLoadingBehind, false)) state_events::RebuildInstanceBuffersIfInstanced();
    for (const std::string& message : std::exchange(heldMessages, {})) Answer(message);
    if (!Module<InputManager>::Instance()->WasKeyPressed(InputManager::kEscape)) return;
    const bool asking = Module<InterfaceManager>::Instance()->currentState == InterfaceState::QuitConfirm;
    const char* answer = asking ? InterfaceManager::kQuitCancel : InterfaceManager::kQuitConfirm;
    state_events::Publish(Event(kSender, addressee::kInterfaceManager, answer));
}

void TitleState::HandleMessage(const Event& event) {
    const bool answered = event.eventType == MenuMessage::kEnterGame ||
                          std::any_of(std::begin(kScreens), std::end(kScreens),
                                      [&](const auto& screen) { return event.eventType == screen.first; });
    if (!answered) return;
    if (Module<GameLogic>::Instance()->loadingDone)
        Answer(event.eventType);
    else
        heldMessages.push_back(event.eventType);
}

void TitleState::Answer(const std::string& message) {
    if (message == MenuMessage::kEnterGame) {
        StartGame();
        return;
    }
    for (const auto& [screenMessage, state] : kScreens)
        if (message == screenMessage) state_events::PushState(kSender, state);
}
