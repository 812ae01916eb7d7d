#include "game_states/score_state.h"

#include <exception>
#include <string>

#include "event_manager.h"
#include "game_logic.h"
#include "interface/game_message.h"
#include "interface/interface_events.h"
#include "interface/interface_state.h"
#include "interface_manager.h"
#include "system.h"

namespace {

constexpr const char* kInterfaceManager = "InterfaceManager";

// The columns of a row: where each cell starts, as a fraction of the width.
constexpr float kNameX = 0.125f;
constexpr float kKillsX = 0.32f;
constexpr float kDamageX = 0.54f;
constexpr float kAccuracyX = 0.81f;

System& Sys() { return *Module<System>::Instance(); }

void Publish(const std::string& from, const std::string& to, const std::string& type) {
    Event event(from, to, type);
    event.createdTime = Sys().GetTime();
    Module<EventManager>::Instance()->PublishEvent(std::move(event));
}

void SendLine(const std::string& text, float x, float y, float scale) {
    GMessage line;
    line.text = text;
    line.position = Vector(x, y, 0.0f, 0.0f);
    line.typeOut = true;
    line.letterTime = 0.02f;
    line.scale = scale;
    line.persistent = true;
    Event event(kInterfaceManager, kGameMessageTo, kGameMessageEvent);
    event.createdTime = Sys().GetTime();
    event.SetParam(kGameMessageData, line);
    Module<EventManager>::Instance()->PublishEvent(std::move(event));
}

// Row i's height: the constants as floats, the arithmetic in doubles, the
// result a float again, so rows land where the screen's headings expect.
float RowY(int row) { return float(double(0.7f) - double(0.03f) * row); }

}  // namespace

void ScoreState::Init() {
    Sys().Log("ScoreState Init\n");
    Event event("GameLogic", kInterfaceManager, kStateChangeEvent);
    event.createdTime = Sys().GetTime();
    event.SetParam(kStateChangeParam, InterfaceState::Score);
    Module<EventManager>::Instance()->PublishEvent(std::move(event));
    ShowHighScores();
}

void ScoreState::Exit() {
    Sys().Log("ScoreState Exit\n");
    Publish("GameLogic", kInterfaceManager, kDeleteAllGameMessagesEvent);
}

void ScoreState::HandleMessage(const Event& event) {
    if (event.eventType == kEnterGame) {
        Publish("ScoreState", "GameLogic", GameLogic::kPopState);
    } else if (event.eventType == kUpdateScoreList) {
        try {
            InsertRun(event);
        } catch (const std::exception& error) {
            // Nothing inserted and the statistics kept; the table still shows.
            ReportDroppedEvent("GameLogic", event, error);
        }
    }
    ShowHighScores();
}

void ScoreState::InsertRun(const Event& event) {
    GameLogic& logic = *Module<GameLogic>::Instance();
    ScoreList& list = Module<InterfaceManager>::Instance()->scoreList;
    if (!list.Qualifies(logic.enemiesKilled)) return;
    ScoreEntry entry;
    entry.name = event.GetParam<std::string>(kNameParam);
    entry.kills = logic.enemiesKilled;
    entry.damageReceived = logic.TotalDamage();
    entry.accuracy = logic.StoredAccuracy();
    // A failed save is logged by the list, which keeps the entry in memory.
    list.Insert(entry);
    logic.ResetStatistics();
}

void ScoreState::ShowHighScores() {
    Publish("GameLogic", kInterfaceManager, kDeleteAllGameMessagesEvent);
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
