// InterfaceManager::ProcessEvent: one row per message this module answers.
// Rows read their parameters first and change things only afterwards. Any
// other message is ignored: among them "Enemy Death", "Set HP Max", "Set
// Boost Max" and "Set Boost", which reach this module and change nothing.
#include <string>

#include "event_manager/event.h"

#include "interface/game_message.h"
#include "interface_manager.h"
#include "interface_manager/message_handlers.h"
#include "system.h"

namespace {

using Handler = void (*)(InterfaceManager& ui, const Event& event);

struct Row {
    const char* message;
    Handler answer;
};

// The names of the score screen's name-entry widgets, gone once a name is in.
const char* const kNameEntryWidgets[] = {"NameInput", "NameText", "DirectionsText"};

const Row kRows[] = {
    {InterfaceManager::kStateChange,
     [](InterfaceManager& ui, const Event& event) {
         ui.BuildInterface(event.GetParam<InterfaceState::Type>(InterfaceManager::kStateParam));
     }},
    {kGameMessageEvent,
     [](InterfaceManager& ui, const Event& event) {
         message_handlers::ShowGameMessage(ui, event.GetParam<GMessage>(kGameMessageData));
     }},
    {kGameMessageDeleteEvent,
     [](InterfaceManager& ui, const Event& event) {
         message_handlers::DeleteGameMessage(ui, event.GetParam<std::string>(InterfaceManager::kParamName));
     }},
    {kDeleteAllGameMessagesEvent,
     [](InterfaceManager& ui, const Event&) { message_handlers::DeleteAllGameMessages(ui); }},
    {InterfaceManager::kWaveCountMessage,
     [](InterfaceManager& ui, const Event& event) {
         message_handlers::ShowWaveCount(ui, event.GetParam<std::string>(InterfaceManager::kMessageParam));
     }},
    {InterfaceManager::kResolutionChange,
     [](InterfaceManager& ui, const Event&) { ui.BuildInterface(ui.currentState); }},
    {InterfaceManager::kControlsOk, [](InterfaceManager& ui, const Event&) { message_handlers::ApplyControls(ui); }},
    {InterfaceManager::kOptionsApply, [](InterfaceManager& ui, const Event&) { message_handlers::ApplyOptions(ui); }},
    {InterfaceManager::kLoadTitle,
     [](InterfaceManager& ui, const Event&) { ui.BuildInterface(InterfaceState::Title); }},
    {InterfaceManager::kLoadEndlessModeStart,
     [](InterfaceManager& ui, const Event&) { ui.BuildInterface(InterfaceState::EndlessModeStart); }},
    {InterfaceManager::kQuit, [](InterfaceManager&, const Event&) { Module<System>::Instance()->Quit(); }},
    {InterfaceManager::kFullScreenToggle,
     [](InterfaceManager& ui, const Event&) { message_handlers::ReplaceResolutionSelector(ui, false); }},
    {InterfaceManager::kWindowModeToggle,
     [](InterfaceManager& ui, const Event&) { message_handlers::ReplaceResolutionSelector(ui, true); }},
    {InterfaceManager::kRestart, [](InterfaceManager& ui, const Event&) { ui.restartPending = true; }},
    {InterfaceManager::kEnemyHit, [](InterfaceManager& ui, const Event&) { ui.ShowEnemyHit(); }},
    {InterfaceManager::kQuitConfirm,
     [](InterfaceManager& ui, const Event&) { message_handlers::ShowQuitQuestion(ui); }},
    {InterfaceManager::kQuitCancel, [](InterfaceManager& ui, const Event&) { ui.BuildInterface(ui.previousState); }},
    {InterfaceManager::kUpdateScoreList,
     [](InterfaceManager& ui, const Event&) {
         // The typed name is the score state's; here only the entry goes.
         for (const char* name : kNameEntryWidgets) ui.DeleteInterfaceObject(name);
     }},
};

}  // namespace

void InterfaceManager::ProcessEvent(const Event& event) {
    for (const Row& row : kRows) {
        if (event.eventType == row.message) {
            row.answer(*this, event);
            return;
        }
    }
}
