// The level states' per-frame work: level one's three waves, level two's goal
// region, level three's start region, seven scripted waves and the endless
// waves that follow. Everything is sent as events: waves to the spawn module,
// the wave line to the interface, the level's end to GameLogic.
#include <algorithm>
#include <string>

#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_states/ingame_state.h"
#include "game_states/level_states.h"
#include "game_states/state_events.h"
#include "object_manager.h"
#include "objects/components.h"
#include "spawn_manager.h"
#include "system.h"

namespace {

constexpr const char* kFromIngame = IngameState::kName;
constexpr const char* kFromGameLogicIngame = IngameState::kLoadSender;
constexpr const char* kMediumMech = "MediumMech";
constexpr const char* kHeavyMech = "HeavyMech";
constexpr const char* kMediumMechSuper = "MediumMechSuper";
constexpr const char* kHeavyMechSuper = "HeavyMechSuper";

// Level two is won beyond both edges of the goal region (strictly).
constexpr float kLevelTwoGoalZ = 1420.0f;
constexpr float kLevelTwoGoalX = 800.0f;
// Level three's arena lies below this z.
constexpr float kArenaZ = 1300.0f;
// Level three's waves appear this long after their release.
constexpr double kWaveDelay = 4.0;

struct Wave {
    int medium;
    int heavy;
};
constexpr Wave kLevelOneWaves[] = {{2, 0}, {4, 0}, {4, 1}};
constexpr int kLevelOneWaveCount = 3;
constexpr int kLevelOneEnd = kLevelOneWaveCount + 1;  // the wave number that ends the level
constexpr Wave kLevelThreeWaves[] = {{4, 0}, {6, 0}, {4, 1}, {6, 2}, {2, 5}, {12, 0}, {7, 5}};
constexpr int kLevelThreeWaveCount = 7;
constexpr int kFirstEndlessWave = kLevelThreeWaveCount;  // n = waveNumber - 7

System& Sys() { return *Module<System>::Instance(); }
GameLogic& Logic() { return *Module<GameLogic>::Instance(); }

Event Distribution(int count, const char* pattern) {
    Event event(kFromIngame, addressee::kSpawnManager, SpawnManager::kDistributeObjects);
    event.createdTime = Sys().GetTime();
    event.SetParam(SpawnManager::kParamNumber, count);
    event.SetParam(SpawnManager::kParamPattern, std::string(pattern));
    return event;
}

// Delivered at the spawn module's next update. A count of 0 sends nothing.
void DistributeNow(int count, const char* pattern) {
    if (count > 0) state_events::Publish(Distribution(count, pattern));
}

// Four seconds ahead, and tied to the level now loaded: a wave still in
// flight when the level is left or restarted must not appear in the next.
void DistributeLater(int count, const char* pattern) {
    Event event = Distribution(count, pattern);
    event.triggers = true;
    event.triggerTime = event.createdTime + kWaveDelay;
    event.SetParam(SpawnManager::kParamLoadGeneration, Module<SpawnManager>::Instance()->LoadGeneration());
    state_events::Publish(std::move(event));
}

// The player's position, when the player exists.
bool PlayerPosition(Vector& position) {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock;
    if (!objects.HasGameObject(GameObject::kPlayerName)) return false;
    position = objects.GetGameObject(GameObject::kPlayerName)->trans;
    return true;
}

}  // namespace

// ---- Level one ----------------------------------------------------------------

void LevelOne::Update() {
    if (liveEnemies <= 0) {
        if (waveNumber >= 0 && waveNumber < kLevelOneWaveCount) {
            const Wave& wave = kLevelOneWaves[waveNumber];
            DistributeNow(wave.medium, kMediumMech);
            DistributeNow(wave.heavy, kHeavyMech);
            state_events::ShowWaveLine(std::to_string(waveNumber + 1) + " of " + std::to_string(kLevelOneWaveCount));
            liveEnemies = wave.medium + wave.heavy;
        }
        ++waveNumber;
        Logic().waveNumber = waveNumber;
    }
    if (waveNumber == kLevelOneEnd && !Logic().playerDied) {
        Logic().levelComplete = true;
        state_events::ChangeLevel("IngameState:LevelOne", IngameState::kSecondLevel);
        Sys().Log("player won");
        state_events::PushState(kFromGameLogicIngame, GameStateName::Win);
        state_events::ShowWaveLine("");
        // Past the end, so the level ends once; GameLogic keeps the last wave.
        ++waveNumber;
    }
}

// ---- Level two ----------------------------------------------------------------

void LevelTwo::Update() {
    Vector position;
    if (!PlayerPosition(position) || Logic().playerDied) return;
    if (!(position.z > kLevelTwoGoalZ && position.x < kLevelTwoGoalX)) return;
    // Runs again each frame until the win screen covers the in-game state.
    Logic().levelComplete = true;
    state_events::ChangeLevel("IngameState:LevelTwo", IngameState::kThirdLevel);
    Sys().Log("player won");
    state_events::PushState(kFromGameLogicIngame, GameStateName::Win);
}

// ---- Level three --------------------------------------------------------------

void LevelThree::Update() {
    if (Logic().endlessMode)
        UpdateEndless();
    else
        UpdateScripted();
}

void LevelThree::UpdateScripted() {
    if (!wavesStarted) {
        Vector position;
        if (PlayerPosition(position) && position.z < kArenaZ) {
            liveEnemies = 0;
            wavesStarted = true;
            ClearEnemies();
        }
        return;
    }
    if (liveEnemies <= 0) {
        if (waveNumber >= 0 && waveNumber < kLevelThreeWaveCount) {
            const Wave& wave = kLevelThreeWaves[waveNumber];
            SpawnMediumMechs(wave.medium, false);
            SpawnHeavyMechs(wave.heavy, false);
            SendWaveCount(waveNumber + 1, kLevelThreeWaveCount);
        }
        ++waveNumber;
        Logic().waveNumber = waveNumber;
    }
    if (waveNumber == kLevelThreeWaveCount + 1) {
        state_events::PushState(kFromGameLogicIngame, GameStateName::EndlessModeStart);
        state_events::ShowWaveLine("");
        // Endless play, if chosen, goes on from the wave after the seventh.
        --waveNumber;
    }
}

void LevelThree::UpdateEndless() {
    if (liveEnemies > 0) return;
    const int n = waveNumber - kFirstEndlessWave;
    const bool super = n > 5;
    int m = n;
    if (super) {
        m = std::min(n - 5, 10);
    } else if (n > 2) {
        if (n % 2 == 1) SpawnMediumMechs(2, true);
        if (n % 3 != 0) SpawnHeavyMechs(n % 3 + 1, true);
    }
    SpawnMediumMechs(m + 7, super);
    SpawnHeavyMechs(m + 5, super);
    SendWaveCount(waveNumber + 1, -1);
    ++waveNumber;
    Logic().waveNumber = waveNumber;
}

void LevelThree::SpawnMediumMechs(int count, bool super) {
    if (count <= 0) return;
    DistributeLater(count, super ? kMediumMechSuper : kMediumMech);
    liveEnemies += count;
}

void LevelThree::SpawnHeavyMechs(int count, bool super) {
    if (count <= 0) return;
    DistributeLater(count, super ? kHeavyMechSuper : kHeavyMech);
    liveEnemies += count;
}

void LevelThree::SendWaveCount(int current, int total) {
    state_events::ShowWaveLine(std::to_string(current) + " of " + (total > 0 ? std::to_string(total) : "infinite"));
}

void LevelThree::ClearEnemies() {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock;
    for (auto& entry : objects.gameObjectList) {
        GameObject& object = entry.second;
        if (object.GetStatsComp() && !object.isDead && object.name != GameObject::kPlayerName)
            objects.KillGameObject(object);
    }
}
