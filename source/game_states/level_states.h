// The per-level scripts that the in-game state owns: each names its level's
// files, releases the enemy waves through the spawn module, sends the wave
// line to the head-up display and decides when the level is won.
//   LevelOne   ("level1"): three waves, then on to level two.
//   LevelTwo   ("level2"): won at the goal region, then on to level three.
//   LevelThree ("level3"): seven waves in the arena, then the endless choice.
// Main thread only, called by IngameState.
#pragma once

#include "game_states/game_state.h"

class LevelOne : public LevelState {
public:
    LevelOne();
    void Init() override;
    void Update() override;
    void Exit() override;
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override;
    void Reset() override;
};

class LevelTwo : public LevelState {
public:
    LevelTwo();
    void Init() override;
    void Update() override;
    void Exit() override;
    GameState* Clone() const override;
    void Reset() override;
};

class LevelThree : public LevelState {
public:
    LevelThree();
    void Init() override;
    void Update() override;
    void Exit() override;
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override;
    void Reset() override;

    bool wavesStarted = false;

private:
    void UpdateScripted();
    void UpdateEndless();
    // A timed "Distribute Objects" of count enemies, four seconds ahead;
    // liveEnemies counts them at once.
    void SpawnMediumMechs(int count, bool super);
    void SpawnHeavyMechs(int count, bool super);
    // "current of total", or "current of infinite" when total is not above 0.
    void SendWaveCount(int current, int total);
    // Kills every live object with a StatsComp but the player, under the
    // object lock, without "Enemy Death".
    void ClearEnemies();
};
