// The high-score screen: what it announces and shows, how a run enters the
// table (or does not), what it stores, and how it leaves.
#include <gtest/gtest.h>

#include <sstream>

#include "game_flow/flow_queues.h"
#include "geom/geom_expect.h"
#include "game_logic.h"
#include "game_states/menu_messages.h"
#include "game_states/score_state.h"
#include "game_states/state_factory.h"
#include "interface/game_message.h"
#include "interface/interface_state.h"
#include "interface_manager.h"
#include "support/temp_folder.h"

namespace {

using flow_test::Poll;
using flow_test::Types;
using test_support::ReadFile;

GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
ScoreList& Scores() { return Module<InterfaceManager>::Instance()->scoreList; }

Event NameEntered(const std::string& name) {
    Event event("InterfaceManager", "GameLogic", InterfaceManager::kUpdateScoreList);
    event.SetParam(InterfaceManager::kParamName, name);
    return event;
}

void SetRun(uint32_t kills, uint32_t fired, uint32_t hit, uint32_t shield, uint32_t armor) {
    GameLogic& logic = Logic();
    logic.enemiesKilled = kills;
    logic.shotsFired = fired;
    logic.shotsHit = hit;
    logic.damageShield = shield;
    logic.damageArmor = armor;
}

class ScoreScreen : public flow_test::FlowQueues {
protected:
    void SetUp() override {
        FlowQueues::SetUp();
        Scores() = ScoreList(path);
        Logic().ResetStatistics();
        log.Restart();
    }

    test_support::TempFolder folder;
    const std::string path = folder.Path() + "/score.bin";
    ScoreState state;
};

// The table as the interface received it: the clearing, the heading, then
// four cells per row.
void ExpectTableShown(const std::vector<Event>& events, const ScoreList& list) {
    ASSERT_EQ(events.size(), 2u + 40u);
    EXPECT_EQ(events[0].eventType, kDeleteAllGameMessagesEvent);
    EXPECT_EQ(events[0].from, "GameLogic");
    const GMessage heading = events[1].GetParam<GMessage>(kGameMessageData);
    EXPECT_EQ(heading.text, "High Scores");
    EXPECT_TRUE(VectorNear(heading.position, Vector(0.42f, 0.9f, 0.0f, 0.0f), 0.0f));
    EXPECT_EQ(heading.scale, 1.5f);
    const float columns[] = {0.125f, 0.32f, 0.54f, 0.81f};
    for (int row = 0; row < 10; ++row) {
        const ScoreEntry& entry = list.entries[row];
        const std::string texts[] = {entry.name, std::to_string(entry.kills), std::to_string(entry.damageReceived),
                                     std::to_string(entry.accuracy) + "%"};
        const float y = float(double(0.7f) - double(0.03f) * row);
        for (int column = 0; column < 4; ++column) {
            const Event& event = events[2 + row * 4 + column];
            SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
            EXPECT_EQ(event.eventType, kGameMessageEvent);
            EXPECT_EQ(event.from, "InterfaceManager");
            const GMessage cell = event.GetParam<GMessage>(kGameMessageData);
            EXPECT_EQ(cell.text, texts[column]);
            EXPECT_TRUE(VectorNear(cell.position, Vector(columns[column], y, 0.0f, 0.0f), 0.0f));
            EXPECT_EQ(cell.scale, 0.8f);
        }
    }
    for (size_t i = 1; i < events.size(); ++i) {
        const GMessage line = events[i].GetParam<GMessage>(kGameMessageData);
        EXPECT_TRUE(line.key.empty() && line.typeOut && line.persistent);
        EXPECT_EQ(line.letterTime, 0.02f);
        EXPECT_TRUE(VectorNear(line.color, Vector(1.0f, 1.0f, 1.0f, 1.0f), 0.0f));
    }
}

TEST_F(ScoreScreen, InitAnnouncesTheScreenAndShowsTheTable) {
    std::unique_ptr<GameState> made = MakeGameState(GameStateName::Score);
    ASSERT_TRUE(dynamic_cast<ScoreState*>(made.get()));
    made->Init();
    EXPECT_TRUE(log.Has("ScoreState Init")) << log.Text();
    std::vector<Event> events = Poll("InterfaceManager");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].eventType, InterfaceManager::kStateChange);
    EXPECT_EQ(events[0].from, "GameLogic");
    EXPECT_EQ(events[0].GetParam<InterfaceState::Type>(InterfaceManager::kStateParam), InterfaceState::Score);
    events.erase(events.begin());
    ExpectTableShown(events, Scores());
}

TEST_F(ScoreScreen, EnterGamePopsAndEveryMessageShowsTheTableAgain) {
    state.HandleMessage(Event("InterfaceManager", "GameLogic", MenuMessage::kEnterGame));
    const std::vector<Event> toLogic = Poll("GameLogic");
    ASSERT_EQ(Types(toLogic), std::vector<std::string>{GameLogic::kPopState});
    EXPECT_EQ(toLogic[0].from, "ScoreState");
    ExpectTableShown(Poll("InterfaceManager"), Scores());

    state.HandleMessage(Event("Somebody", "GameLogic", "Anything Else"));
    ExpectTableShown(Poll("InterfaceManager"), Scores());
    EXPECT_TRUE(Poll("GameLogic").empty());
}

TEST_F(ScoreScreen, ExitClearsTheLines) {
    std::unique_ptr<GameState> copy(state.Clone());
    copy->Exit();
    EXPECT_TRUE(log.Has("ScoreState Exit")) << log.Text();
    const std::vector<Event> events = Poll("InterfaceManager");
    EXPECT_EQ(Types(events), std::vector<std::string>{kDeleteAllGameMessagesEvent});
}

std::string RecordBytes(const ScoreEntry& entry) {
    ScoreList single("");
    single.entries = {entry};
    std::ostringstream out;
    single.WriteEntries(out);
    return out.str();
}

TEST_F(ScoreScreen, ARunEntersOnlyAboveTheTenthAndBelowItsEquals) {
    const struct {
        uint32_t kills;
        const char* name;
        bool inserted;
        size_t row;  // where the run lands: below the default entry it ties
    } cases[] = {{30, "Tie", false, 0}, {31, "Run", true, 9}, {50, "", true, 6}, {0, "Zero", false, 0},
                 {76, "Top", true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kills);
        Scores() = ScoreList(path + std::to_string(c.kills));
        const ScoreList before = Scores();
        SetRun(c.kills, 10, 5, 3, 4);
        state.HandleMessage(NameEntered(c.name));
        ASSERT_EQ(Scores().entries.size(), 10u);
        EXPECT_EQ(Logic().enemiesKilled, c.inserted ? 0u : c.kills) << "statistics cleared only by an entry";
        EXPECT_EQ(Logic().shotsFired, c.inserted ? 0u : 10u);
        if (!c.inserted) {
            EXPECT_EQ(Scores().entries, before.entries);
            continue;
        }
        const ScoreEntry run{c.name, c.kills, 50, 7};
        EXPECT_EQ(Scores().entries[c.row], run);
        EXPECT_EQ(Scores().entries.back().kills, c.kills == 31 ? 31u : 35u) << "the 30 leaves the table";
        const std::string file = ReadFile(Scores().path);
        EXPECT_NE(file.find(RecordBytes(run)), std::string::npos);
        EXPECT_EQ(file.find(RecordBytes(before.entries.back())), std::string::npos);
        EXPECT_EQ(ScoreList(Scores().path).entries, Scores().entries) << "the file reads back the same";
    }
    EXPECT_EQ(RecordBytes({"", 50, 50, 7}).size(), 16u);
}

TEST_F(ScoreScreen, StoredFiguresAreWholePercentsAndSaturatedDamage) {
    const struct {
        uint32_t fired, hit, shield, armor, accuracy, damage;
    } cases[] = {
        {100, 29, 1, 2, 29, 3},
        {0, 0, 0, 0, 0, 0},
        {4, 5, 0, 0, 100, 0},
        {50000000, 50000000, 0, 0, 100, 0},
        {3, 1, 4000000000u, 400000000u, 33, 4294967295u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.hit) + " of " + std::to_string(c.fired));
        Scores() = ScoreList("");
        SetRun(99, c.fired, c.hit, c.shield, c.armor);
        state.HandleMessage(NameEntered("Acc"));
        EXPECT_EQ(Scores().entries[0], (ScoreEntry{"Acc", 99, c.accuracy, c.damage}));
    }
}

TEST_F(ScoreScreen, ANameThatIsMissingInsertsNothingAndKeepsTheRun) {
    SetRun(60, 1, 1, 1, 1);
    const ScoreList before = Scores();
    Event noName("InterfaceManager", "GameLogic", InterfaceManager::kUpdateScoreList);
    Event wrongType = noName;
    wrongType.SetParam(InterfaceManager::kParamName, 7);
    for (const Event& event : {noName, wrongType}) {
        log.Restart();
        state.HandleMessage(event);
        EXPECT_EQ(Scores().entries, before.entries);
        EXPECT_EQ(Logic().enemiesKilled, 60u);
        EXPECT_EQ(log.Count("WARNING"), 1) << log.Text();
        EXPECT_TRUE(log.Has("Update Score List") && log.Has("name")) << log.Text();
        ExpectTableShown(Poll("InterfaceManager"), Scores());
    }
}

}  // namespace
