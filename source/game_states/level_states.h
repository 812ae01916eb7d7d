// The per-level scripts that the in-game state owns: each names its level's
// files, releases the enemy waves through the spawn module, sends the wave
// line to the head-up display and decides when the level is won.
//   LevelOne   ("level1"): three waves, then on to level two.
//   LevelTwo   ("level2"): won at the goal region, then on to level three.
//   LevelThree ("level3"): seven waves in the arena, then the endless choice.
// Main thread only, called by IngameState: Update first in each of its
// frames, HandleMessage with every event before it looks at the event
// itself, Exit when the level is left or restarted, Reset right after Exit on
// a restart, Init whenever the in-game state becomes the top again.
//
// level_states.cpp holds the classes' set-up and bookkeeping; the per-frame
// goals and waves (Update and its helpers) are in level_waves.cpp.
#pragma once

#include "game_states/game_state.h"

// Sent by a destroyed enemy to "GameLogic" (and the interface); the level
// states count it against the running wave. Its parameters are not read here.
constexpr const char* kEnemyDeathEvent = "Enemy Death";

class LevelOne : public LevelState {
public:
    static constexpr const char* kScript = "./scripts/load_level_1.lua";
    static constexpr const char* kLevelFile = "./resource/levels/level1.xml";
    static constexpr const char* kCategory = "level1";

    // No wave released yet; GameLogic's copy of the wave number is 0 too.
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
    static constexpr const char* kScript = "./scripts/load_level_2.lua";
    static constexpr const char* kLevelFile = "./resource/levels/level2.xml";
    static constexpr const char* kCategory = "level2";

    // The two counts stay 0: this level has no waves.
    LevelTwo();
    void Init() override;
    void Update() override;
    void Exit() override;
    GameState* Clone() const override;
    void Reset() override;
};

class LevelThree : public LevelState {
public:
    static constexpr const char* kScript = "./scripts/load_level_3.lua";
    static constexpr const char* kLevelFile = "./resource/levels/level3.xml";
    static constexpr const char* kCategory = "level3";

    // No wave released, the arena not entered; GameLogic's wave copy 0.
    LevelThree();
    void Init() override;
    void Update() override;
    // Leaves endless play: the next game starts with the scripted waves.
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
