// The level states' frames: level one's three waves and its one ending,
// level two's goal region, level three's arena, seven waves, the endless
// waves, the four-second delay of its waves, and a wave still in flight when
// the level is loaded again.
#include <gtest/gtest.h>

#include <memory>

#include "game_flow/flow_queues.h"
#include "game_logic.h"
#include "game_states/ingame_state.h"
#include "game_states/level_states.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "platform/clock.h"
#include "spawn_manager.h"
#include "support/stopped_clock.h"
#include "system.h"

namespace {

using flow_test::Poll;
using flow_test::Types;
using Strings = std::vector<std::string>;

GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
SpawnManager& Spawner() { return *Module<SpawnManager>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }

// The level's timed waves are made at this clock reading (the clock stands
// still while paused), so they are due at kMadeAt + 4.
constexpr double kMadeAt = 100.0;

// Each "Distribute Objects" as "number pattern".
using Waves = std::vector<std::string>;
Waves WavesOf(const std::vector<Event>& events) {
    Waves waves;
    for (const Event& event : events) {
        EXPECT_EQ(event.eventType, SpawnManager::kDistributeObjects);
        EXPECT_EQ(event.from, "IngameState");
        waves.push_back(std::to_string(event.GetParam<int>(SpawnManager::kParamNumber)) + " " +
                        event.GetParam<std::string>(SpawnManager::kParamPattern));
    }
    return waves;
}

int SizeOf(const Waves& waves) {
    int size = 0;
    for (const std::string& wave : waves) size += std::stoi(wave);
    return size;
}

// The wave lines sent to the interface.
Strings Lines(const std::vector<Event>& events) {
    Strings lines;
    for (const Event& event : events) {
        EXPECT_EQ(event.eventType, InterfaceManager::kWaveCountMessage);
        EXPECT_EQ(event.from, "IngameState");
        lines.push_back(event.GetParam<std::string>(InterfaceManager::kMessageParam));
    }
    return lines;
}

// Releases every timed event (they are all due long before this).
std::vector<Event> ReleasedToSpawner() {
    platform::SetClockTime(kMadeAt + 1000.0);
    flow_test::Events().Update();
    return Poll("SpawnManager");
}

// Single-threaded tests: the reference outlives the lock safely.
GameObject& Live(const std::string& name) {
    ObjectLock lock;
    return *Objects().GetGameObject(name);
}

void Die(LevelState& level, int times) {
    for (int i = 0; i < times; ++i) level.HandleMessage(Event("IngameState", "GameLogic", kEnemyDeathEvent));
}

void PlacePlayer(float x, float z) {
    {
        ObjectLock lock;
        if (Objects().HasGameObject("player")) {
            Objects().GetGameObject("player")->trans = Vector(x, 30.0f, z);
            return;
        }
    }
    GameObject player("player");
    player.trans = Vector(x, 30.0f, z);
    player.AttachComponent(StatsComp());
    Objects().AddGameObject(player);
}

class LevelFrames : public flow_test::FlowQueues {
protected:
    void SetUp() override {
        FlowQueues::SetUp();
        Objects().Init();
        ClearObjects();
        GameLogic& logic = Logic();
        logic.playerDied = logic.levelComplete = logic.endlessMode = false;
        logic.waveNumber = -1;
        Sys().pausedTime.store(kMadeAt);
        Sys().paused.store(true);
    }
    void TearDown() override {
        Sys().paused.store(false);
        ClearObjects();
        Objects().Kill();
        FlowQueues::TearDown();
    }
    static void ClearObjects() {
        ObjectLock lock;
        Objects().ClearGameObjects();
    }
    // Nothing sent anywhere since the last look.
    static void ExpectQuiet() {
        EXPECT_TRUE(ReleasedToSpawner().empty());
        EXPECT_TRUE(Poll("InterfaceManager").empty());
        EXPECT_TRUE(Poll("GameLogic").empty());
    }

    test_support::StoppedClock stoppedClock;  // due times read exactly as set
};

TEST_F(LevelFrames, LevelOneSendsThreeWavesThenEndsOnce) {
    LevelOne level;
    EXPECT_EQ(Logic().waveNumber, 0);
    const Waves expected[] = {{"2 MediumMech"}, {"4 MediumMech"}, {"4 MediumMech", "1 HeavyMech"}};
    for (int wave = 0; wave < 3; ++wave) {
        SCOPED_TRACE(wave);
        level.Update();
        EXPECT_EQ(WavesOf(Poll("SpawnManager")), expected[wave]) << "delivered at once";
        EXPECT_EQ(Lines(Poll("InterfaceManager")), Strings{std::to_string(wave + 1) + " of 3"});
        EXPECT_EQ(Logic().waveNumber, wave + 1);
        level.Update();  // the wave lives: nothing more
        ExpectQuiet();
        Die(level, level.liveEnemies);
    }
    level.Update();
    EXPECT_TRUE(ReleasedToSpawner().empty());
    const std::vector<Event> toLogic = Poll("GameLogic");
    ASSERT_EQ(Types(toLogic), (Strings{IngameState::kChangeLevel, GameLogic::kPushState}));
    EXPECT_EQ(toLogic[0].from, "IngameState:LevelOne");
    EXPECT_EQ(toLogic[0].GetParam<std::string>(IngameState::kLevelParam), "one");
    EXPECT_EQ(toLogic[1].from, "GameLogic:IngameState");
    EXPECT_EQ(toLogic[1].GetParam<GameStateName::Type>(GameLogic::kStateParam), GameStateName::Win);
    EXPECT_EQ(Lines(Poll("InterfaceManager")), Strings{""});
    EXPECT_TRUE(Logic().levelComplete);
    EXPECT_EQ(level.waveNumber, 5);
    EXPECT_EQ(Logic().waveNumber, 4);
    for (int frame = 0; frame < 3; ++frame) level.Update();
    EXPECT_TRUE(Poll("GameLogic").empty());
    EXPECT_EQ(log.Count("player won"), 1) << log.Text();
}

TEST_F(LevelFrames, LevelOneDoesNotEndForADeadPlayer) {
    LevelOne level;
    level.waveNumber = 3;
    Logic().playerDied = true;
    level.Update();
    ExpectQuiet();
    EXPECT_FALSE(Logic().levelComplete);
}

TEST_F(LevelFrames, MoreDeathsThanTheWaveHeldBringTheNextWaveNextFrame) {
    LevelOne level;
    level.Update();
    Poll("SpawnManager");
    Die(level, 3);
    EXPECT_EQ(level.liveEnemies, -1);
    level.Update();
    EXPECT_EQ(WavesOf(Poll("SpawnManager")), (Waves{"4 MediumMech"}));
    EXPECT_EQ(level.liveEnemies, 4) << "the count restarts at the wave's size";
}

TEST_F(LevelFrames, LevelTwoIsWonStrictlyInsideTheGoalRegion) {
    const struct {
        float z, x;
        bool won;
    } cases[] = {{1420.0f, 700.0f, false}, {1420.01f, 700.0f, true}, {1500.0f, 800.0f, false},
                 {1500.0f, 799.99f, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.z) + ", " + std::to_string(c.x));
        Logic().levelComplete = false;
        log.Restart();
        PlacePlayer(c.x, c.z);
        LevelTwo level;
        level.Update();
        EXPECT_EQ(Logic().levelComplete, c.won);
        const std::vector<Event> toLogic = Poll("GameLogic");
        if (!c.won) {
            EXPECT_TRUE(toLogic.empty());
            continue;
        }
        ASSERT_EQ(Types(toLogic), (Strings{IngameState::kChangeLevel, GameLogic::kPushState}));
        EXPECT_EQ(toLogic[0].from, "IngameState:LevelTwo");
        EXPECT_EQ(toLogic[0].GetParam<std::string>(IngameState::kLevelParam), "test");
        EXPECT_EQ(toLogic[1].GetParam<GameStateName::Type>(GameLogic::kStateParam), GameStateName::Win);
        EXPECT_EQ(log.Count("player won"), 1);
        EXPECT_TRUE(Poll("InterfaceManager").empty());
    }
}

TEST_F(LevelFrames, LevelTwoNeedsALivePlayer) {
    LevelTwo level;
    level.Update();  // no "player" at all
    PlacePlayer(100.0f, 1500.0f);
    Logic().playerDied = true;
    level.Update();
    EXPECT_FALSE(Logic().levelComplete);
    ExpectQuiet();
}

TEST_F(LevelFrames, LevelThreeClearsTheArenaThenSendsSevenWaves) {
    for (const char* name : {"MediumMech1", "HeavyMech2"}) {
        GameObject machine(name);
        machine.AttachComponent(StatsComp());
        Objects().AddGameObject(machine);
    }
    Objects().AddGameObject(GameObject("Crate"));  // no stats: not a machine
    LevelThree level;
    PlacePlayer(500.0f, 1300.0f);
    level.Update();
    EXPECT_FALSE(level.wavesStarted);
    EXPECT_FALSE(Live("MediumMech1").isDead);
    ExpectQuiet();
    PlacePlayer(500.0f, 1299.9f);
    level.liveEnemies = 3;
    level.Update();
    EXPECT_TRUE(level.wavesStarted);
    EXPECT_EQ(level.liveEnemies, 0);
    EXPECT_TRUE(Live("MediumMech1").isDead && Live("HeavyMech2").isDead);
    EXPECT_FALSE(Live("player").isDead || Live("Crate").isDead);
    ExpectQuiet();  // no wave in that frame, and no "Enemy Death" for the cleared

    const Waves waves[] = {{"4 MediumMech"},
                           {"6 MediumMech"},
                           {"4 MediumMech", "1 HeavyMech"},
                           {"6 MediumMech", "2 HeavyMech"},
                           {"2 MediumMech", "5 HeavyMech"},
                           {"12 MediumMech"},
                           {"7 MediumMech", "5 HeavyMech"}};
    for (int wave = 0; wave < 7; ++wave) {
        SCOPED_TRACE(wave);
        level.Update();
        EXPECT_EQ(WavesOf(ReleasedToSpawner()), waves[wave]);
        const int size = SizeOf(waves[wave]);
        EXPECT_EQ(level.liveEnemies, size);
        EXPECT_EQ(Logic().waveNumber, wave + 1);
        const Strings lines = Lines(Poll("InterfaceManager"));
        EXPECT_EQ(lines, Strings{std::to_string(wave + 1) + " of 7"});
        EXPECT_TRUE(Poll("GameLogic").empty());
        Die(level, size);
    }
    level.Update();
    EXPECT_TRUE(ReleasedToSpawner().empty());
    const std::vector<Event> toLogic = Poll("GameLogic");
    ASSERT_EQ(Types(toLogic), Strings{GameLogic::kPushState});
    EXPECT_EQ(toLogic[0].from, "GameLogic:IngameState");
    EXPECT_EQ(toLogic[0].GetParam<GameStateName::Type>(GameLogic::kStateParam), GameStateName::EndlessModeStart);
    EXPECT_EQ(Lines(Poll("InterfaceManager")), Strings{""});
    EXPECT_EQ(level.waveNumber, 7);

    std::unique_ptr<GameState> copy(level.Clone());
    auto& clone = dynamic_cast<LevelThree&>(*copy);
    EXPECT_TRUE(clone.wavesStarted);
    EXPECT_EQ(clone.waveNumber, 7);
    Logic().endlessMode = true;
    level.Exit();
    EXPECT_FALSE(Logic().endlessMode);
    level.Reset();
    EXPECT_FALSE(level.wavesStarted);
    EXPECT_EQ(level.waveNumber + level.liveEnemies, 0);
}

TEST_F(LevelFrames, EndlessWavesGrowAndTurnSuper) {
    const Waves table[] = {
        {"7 MediumMech", "5 HeavyMech"},
        {"8 MediumMech", "6 HeavyMech"},
        {"9 MediumMech", "7 HeavyMech"},
        {"2 MediumMechSuper", "10 MediumMech", "8 HeavyMech"},
        {"2 HeavyMechSuper", "11 MediumMech", "9 HeavyMech"},
        {"2 MediumMechSuper", "3 HeavyMechSuper", "12 MediumMech", "10 HeavyMech"},
        {"8 MediumMechSuper", "6 HeavyMechSuper"},
        {"9 MediumMechSuper", "7 HeavyMechSuper"},
        {"10 MediumMechSuper", "8 HeavyMechSuper"},
        {"11 MediumMechSuper", "9 HeavyMechSuper"},
        {"12 MediumMechSuper", "10 HeavyMechSuper"},
        {"13 MediumMechSuper", "11 HeavyMechSuper"},
        {"14 MediumMechSuper", "12 HeavyMechSuper"},
        {"15 MediumMechSuper", "13 HeavyMechSuper"},
        {"16 MediumMechSuper", "14 HeavyMechSuper"},
        {"17 MediumMechSuper", "15 HeavyMechSuper"},
        {"17 MediumMechSuper", "15 HeavyMechSuper"},
    };
    LevelThree level;
    level.wavesStarted = true;
    level.waveNumber = 7;
    Logic().endlessMode = true;
    for (int n = 0; n <= 16; ++n) {
        SCOPED_TRACE(n);
        level.Update();
        EXPECT_EQ(WavesOf(ReleasedToSpawner()), table[n]);
        EXPECT_EQ(level.liveEnemies, SizeOf(table[n]));
        EXPECT_EQ(Lines(Poll("InterfaceManager")), Strings{std::to_string(8 + n) + " of infinite"});
        EXPECT_EQ(Logic().waveNumber, 8 + n);
        level.Update();  // a living wave holds the next one back
        ExpectQuiet();
        level.liveEnemies = 0;
    }
}

TEST_F(LevelFrames, LevelThreeWavesArriveFourSecondsLater) {
    LevelThree level;
    level.wavesStarted = true;
    level.Update();
    EXPECT_EQ(level.liveEnemies, 4) << "counted at release";
    platform::SetClockTime(kMadeAt + 3.99);
    flow_test::Events().Update();
    EXPECT_TRUE(Poll("SpawnManager").empty());
    platform::SetClockTime(kMadeAt + 4.0);
    flow_test::Events().Update();
    const std::vector<Event> due = Poll("SpawnManager");
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].triggerTime, kMadeAt + 4.0);
}

// A wave released shortly before a load start (a restart, a level change)
// must not come out of the next level's spawn points.
TEST_F(LevelFrames, AWaveInFlightAcrossALoadSpawnsNothing) {
    GameObject gate("gate");
    SpawnComp spawn;
    spawn.delay = spawn.countdown = 1000.0;
    gate.AttachComponent(spawn);
    Objects().AddGameObject(gate);
    auto queued = [] {
        ObjectLock lock;
        return static_cast<SpawnComp*>(Objects().GetGameObject("gate")->GetComponent(CompIndex::Spawn))
            ->patternQueue.size();
    };
    auto deliver = [](const std::vector<Event>& events) {
        ObjectLock lock;
        for (const Event& event : events) Spawner().ProcessEvent(event);
    };

    LevelThree level;
    level.wavesStarted = true;
    level.Update();  // four "MediumMech", due in four seconds
    Spawner().ClearSpawnPoints();
    {
        ObjectLock lock;
        Spawner().AddSpawnPoint("gate");  // the reloaded level's point
    }
    deliver(ReleasedToSpawner());
    EXPECT_EQ(queued(), 0u);
    EXPECT_TRUE(log.Has("was sent before the level was loaded")) << log.Text();

    level.Reset();
    level.wavesStarted = true;
    level.Update();
    deliver(ReleasedToSpawner());
    EXPECT_EQ(queued(), 4u) << "a wave of the level now loaded arrives";

    LevelOne first;
    first.Update();  // untimed and unstamped: as ever
    deliver(Poll("SpawnManager"));
    EXPECT_EQ(queued(), 6u);
    Spawner().ClearSpawnPoints();
}

}  // namespace
