// IngameState: the game state that runs while the player is in a level. It
// owns the current level's LevelState, decides which level to load and when
// to reload it, drives one frame of play in a fixed order (level script,
// particles, removal of dead objects, Escape, collisions, projectiles, player
// control), detects the player's death and ends the run.
//
// Main thread only, inside GameLogic's update. Takes the object lock around
// its walks of the objects and its uses of the player, never across a call
// into another state; the particle update (which locks itself) runs outside
// it. No address of an object is kept across a release of the lock.
//
// Handles "Restart" and "Change Level" ("level": "zero", "one" or "test");
// every event goes to the level state first. Sends the screen and "Set"
// "pickOn" at each Init, "Push State" 0 on Escape, the load start's messages
// (the wave line cleared among them), and the end of a run ("Push State" 7,
// or in endless mode "Pop State" and the win sequence).
//
// A load whose level turns out unplayable (GameLogic's levelValid false at
// the hand-over) sends the player back to the title: the next Init starts no
// load and pops the state, which does nothing until it is gone.
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
    // Reloads the level (after the game-over screen), or ends endless play.
    static constexpr const char* kRestart = "Restart";
    // The level keys.
    static constexpr const char* kFirstLevel = "zero";
    static constexpr const char* kSecondLevel = "one";
    static constexpr const char* kThirdLevel = "test";
    // The sender labels of what it posts: its own messages, and those of the
    // load start, the run's end and the level's end that GameLogic and the
    // level states post for it.
    static constexpr const char* kName = "IngameState";
    static constexpr const char* kLoadSender = "GameLogic:IngameState";

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
    LevelState& CurrentLevel() { return *levelState; }

    bool restartPending = false;
    bool levelChangePending = false;
    std::string newLevel;  // "zero", "one" or "test"
    int enemiesLeft = 0;
    double deathTimer = 0.0;  // seconds since the player's death; 0 while alive
    float hoverHeight = 0.0f;

private:
    std::unique_ptr<LevelState> levelState;  // never null
    bool awaitingLoad = false;  // a load started; its result is judged at the next Init
    bool unplayable = false;    // the loaded level cannot be played; waiting for the pop
    // Set while Init starts the load of a return to the title: the next pop
    // leaves the title on top, which stands over that load itself.
    bool loadingBehindTitle = false;

    void AnnouncePlay() const;
    // The level a pending change names, switched to; false (warned) for an
    // unknown key, the current level staying.
    bool SwitchToNewLevel();
    void RestartLevel();
    void SwitchLevel(const LevelState& prototype);
    // Starts the load of GameLogic's level fields (GameLogic::StartLevelLoad),
    // under the cut-scene unless it is the load behind the title.
    void StartLoad();
    void LeaveUnplayableLevel();

    void UpdateParticles() const;
    void RemoveDeadObjects() const;
    void UpdateDeadPlayer();
    // The player's death and, 2.5 s after it, the end of the run.
    void CheckPlayerDeath();
    void EndRun();
    // Endless play ends in a win: the credits, the high scores and the win
    // screen, that last on top.
    void EndRunAsWin();

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
