// IngameState: the game state that runs while the player is in a level. It
// owns the current level's LevelState, decides which level to load and when
// to reload it, drives one frame of play in a fixed order (level script,
// particles, removal of dead objects, Escape, collisions, projectiles, player
// control), detects the player's death and ends the run.
//
// Main thread only, inside GameLogic's update. Takes the object lock around
// its walks of the objects, never across a call into another state.
#pragma once

#include <memory>
#include <string>

#include "game_states/game_state.h"
#include "geom/geom.h"

class GameLogic;

class IngameState : public GameState {
public:
    // Chooses the level loaded at the next Init; "level" is its key.
    static constexpr const char* kChangeLevel = "Change Level";
    static constexpr const char* kLevelParam = "level";

    // Starts with a placeholder LevelOne named "begin" and a pending change
    // to "zero", so that the first Init loads level one.
    IngameState();
    IngameState(const IngameState& other);
    IngameState& operator=(const IngameState&) = delete;
    ~IngameState() override;

    void Init() override;
    void Update() override;
    void Exit() override;
    void HandleMessage(const Event& event) override;
    GameState* Clone() const override;

    const LevelState& CurrentLevel() const { return *levelState; }

    bool restartPending = false;
    bool levelChangePending = false;
    std::string newLevel;  // "zero", "one" or "test"
    int enemiesLeft = 0;
    double deathTimer = 0.0;  // seconds since the player's death; 0 while alive
    float hoverHeight = 0.0f;

private:
    std::unique_ptr<LevelState> levelState;  // never null

    void RestartLevel();
    void SwitchLevel(const LevelState& prototype);
    void StartLoad();
    void UpdateDeadPlayer();

    // The frame's contacts given their game meaning: the foot on level
    // geometry, pickups, shots and explosions against targets, damage,
    // deaths and drops. Takes the object lock itself.
    void HandleCollisions();
    // Hit flashes counted down, shots that reached the terrain ended with
    // their ground effect, explosions ended after their second sweep.
    void UpdateProjectiles();

    // The collision pass whose contacts HandleCollisions answered last.
    unsigned answeredContactPass = 0;
};

// Live objects with a StatsComp that are not dead, minus one for the player.
// Takes the object lock.
int CountLiveEnemies();

// Builds an explosion object ("Explosion" and the running object number) of
// the given radius and damage at position and queues it with the behaviour
// manager, which registers it at its next update. Main thread; takes no
// lock, so the hit handling and the upkeep call it holding the object lock.
void SpawnExplosion(float radius, int damage, const Vector& position);
