#include "game_states/score_state.h"

#include <exception>
#include <string>

#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_states/menu_messages.h"
#include "game_states/state_events.h"
#include "interface/game_message.h"
#include "interface/interface_state.h"
#include "interface_manager.h"
#include "system.h"

namespace {

// The columns of a row: where each cell starts, as a fraction of the width.
constexpr float kNameX = 0.125f;
constexpr float kKillsX = 0.32f;
constexpr float kDamageX = 0.54f;
constexpr float kAccuracyX = 0.81f;

System& Sys() { return *Module<System>::Instance(); }

void SendLine(const std::string& text, float x, float y, float scale) {
    GMessage line;
    line.text = text;
    line.position = Vector(x, y, 0.0f, 0.0f);
    line.typeOut = true;
    line.letterTime = 0.02f;
    line.scale = scale;
    line.persistent = true;
    PostGameMessage(addressee::kInterfaceManager, line);
}

// Row i's height: the constants as floats, the arithmetic in doubles, the
// result a float again, so rows land where the screen's headings expect.
float RowY(int row) { return float(double(0.7f) - double(0.03f) * row); }

}  // namespace

void ScoreState::Init() {
    Sys().Log("ScoreState Init");
    state_events::ShowScreen(InterfaceState::Score);
    ShowHighScores();
}

void ScoreState::Exit() {
    Sys().Log("ScoreState Exit");
    state_events::ClearLines();
}

void ScoreState::HandleMessage(const Event& event) {
    if (event.eventType == MenuMessage::kEnterGame) {
        state_events::PopState("ScoreState");
    } else if (event.eventType == InterfaceManager::kUpdateScoreList) {
        try {
            InsertRun(event);
        } catch (const std::exception& error) {
            // Nothing inserted and the statistics kept; the table still shows.
            ReportDroppedEvent(addressee::kGameLogic, event, error);
        }
    }
    ShowHighScores();
}

void ScoreState::InsertRun(const Event& event) {
    GameLogic& logic = *Module<GameLogic>::Instance();
    ScoreList& list = Module<InterfaceManager>::Instance()->scoreList;
    if (!list.Qualifies(logic.enemiesKilled)) return;
    ScoreEntry entry;
    entry.name = event.GetParam<std::string>(InterfaceManager::kParamName);
    entry.kills = logic.enemiesKilled;
    entry.damageReceived = logic.TotalDamage();
    entry.accuracy = logic.StoredAccuracy();
    // A failed save is logged by the list, which keeps the entry in memory.
    list.Insert(entry);
    logic.ResetStatistics();
}

void ScoreState::ShowHighScores() {
    state_events::ClearLines();
    SendLine("High Scores", 0.42f, 0.9f, 1.5f);
    const ScoreList& list = Module<InterfaceManager>::Instance()->scoreList;
    for (std::size_t i = 0; i < list.entries.size() && i < ScoreList::kEntryCount; ++i) {
        const ScoreEntry& entry = list.entries[i];
        const float y = RowY(int(i));
        SendLine(entry.name, kNameX, y, 0.8f);
        SendLine(std::to_string(entry.kills), kKillsX, y, 0.8f);
        SendLine(std::to_string(entry.damageReceived), kDamageX, y, 0.8f);
        SendLine(std::to_string(entry.accuracy) + "%", kAccuracyX, y, 0.8f);
    }
}
