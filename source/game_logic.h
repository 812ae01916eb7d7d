// GameLogic: decides what runs. It owns the stack of game states, updates
// the top state once per frame while no level load is in flight, and changes
// the stack on "Push State", "Pop State" and "Change State"; every event that
// reaches it is then shown to the top state. Its public fields are what the
// states share with each other and with the rest of the game (the level to
// load next, the run's flags and statistics).
//
// Runs on the main thread: Init at start-up after the InterfaceManager,
// Update once per frame after it, Kill at shutdown. Event client "GameLogic".
// Also holds AutoGenerateCollision and its per-mesh cache, which the object
// factory uses when a pattern asks for generated collision volumes.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "game_states/game_state.h"
#include "geom/geom.h"
#include "module.h"
#include "objects/collision_comp.h"

class GameObject;

class GameLogic : public virtual Module<GameLogic> {
public:
    // Messages handled here, and the parameter that names a state.
    static constexpr const char* kLevelLoaded = "Level Loaded";
    static constexpr const char* kLoadLevelThread = "Load Level Thread";
    static constexpr const char* kPopState = "Pop State";
    static constexpr const char* kPushState = "Push State";
    static constexpr const char* kChangeState = "Change State";
    static constexpr const char* kStateParam = "state";
    // Deaths announced by the in-game state's hit handling: an enemy's (with
    // the enemies left) and the player's.
    static constexpr const char* kEnemyDeath = "Enemy Death";
    static constexpr const char* kNumEnemiesParam = "numEnemies";
    static constexpr const char* kPlayerDeath = "Player Death";

    GameLogic() : Module<GameLogic>("GameLogic") {}

    void Init() override;
    void Update() override;
    void Kill() override;
    void ProcessEvent(const Event& event) override;

    // Stack operations, main thread only. A state removed while one of its
    // own operations is running (a state that pops itself) is deleted only
    // after that operation has returned.
    void PushState(const GameState& prototype);
    void PopState();
    void ChangeState(const GameState& prototype);
    // The load start shared by a restart and a level change: empties what
    // belongs to the level being left (forces, objects, particles, pending
    // objects, spawn points), then pushes the cut-scene state and asks for the
    // loader thread. Main thread only; takes the object lock itself.
    void StartLevelLoad();

    // The top state, or null on an empty stack.
    GameState* TopState() const;
    size_t StateCount() const { return states.size(); }

    // Player controller: the cursor reference point and the camera's yaw and
    // pitch read at the start of each look step.
    Vector mouseOrigin;
    Vector lookAngles;

    // Loading gate: no state is updated while it is false.
    bool loadingDone = false;
    // Set by the win, game-over and pause states when the player leaves for
    // the title; the in-game state then starts its level afresh.
    bool titleRequested = false;
    std::string scriptPath = "./scripts/load_level_1.lua";
    std::string levelPath = "./resource/levels/level1.xml";
    std::string levelName = "level1";          // the level's resource category
    std::string previousLevelName = "level1";  // the category to free after a change
    // Player controller: standing on something this frame (the foot's contact
    // may set it before the controller runs); the hover height above terrain.
    bool onGround = false;
    float hoverHeight = 25.0f;
    int waveNumber = 0;                        // a copy of the level state's wave
    // False when the last handed-over load could not make a playable level.
    bool levelValid = true;
    bool playerDied = false;
    bool levelComplete = false;
    bool endlessMode = false;

    // Gives the object a CollisionComp whose volumes (sphere, separating
    // axes, oriented and axis-aligned boxes) are built from its mesh, once per
    // mesh name: later objects with that mesh get a copy of the first one's
    // volumes, whatever their scale. An object already holding a CollisionComp
    // keeps it and has it filled. Without a loaded, non-empty mesh the object
    // gets a default component and a warning, and nothing is cached.
    // Any thread that builds objects (main, level loader); the cache has its
    // own lock. The object must be local or held under the object lock.
    void AutoGenerateCollision(GameObject& object);

    // Mesh name to finished volumes; never cleared, not between levels either.
    // The copies belong to no component pool. Guarded by collisionCacheMutex.
    std::unordered_map<std::string, CollisionComp> collisionCache;

    // Player controller state, partly reset by every level load.
    bool dashing = false;
    bool upBoosting = false;
    double boostRechargeDelay = 0.0;  // seconds before the boost may recharge
    bool stepArmed = false;           // the step sound may play once more this bob cycle

    // The run's statistics, written on the main thread only. enemiesKilled,
    // shotsHit and the two damage sums come from the in-game state's hits.
    // shotsFired counts trigger pulls of the player's weapons that passed the
    // rate test, missiles included (however many projectiles a pull makes).
    uint32_t enemiesKilled = 0;
    uint32_t shotsFired = 0;
    uint32_t shotsHit = 0;
    uint32_t damageShield = 0;
    uint32_t damageArmor = 0;

    bool firstLoad = true;  // cleared by the first level load

    // The statistics' derived figures. Accuracy as a whole percentage,
    // clamped to 100 (a splash can hit twice); 0 with no shot fired.
    uint32_t TotalDamage() const { return damageShield + damageArmor; }
    uint32_t StoredAccuracy() const;
    void ResetStatistics();

private:
    std::mutex collisionCacheMutex;

    // The back is the top.
    std::deque<std::unique_ptr<GameState>> states;
    // States removed during a state operation, deleted at the next Update.
    std::vector<std::unique_ptr<GameState>> retiredStates;

    // Removes the top after its Exit; the state is retired, not deleted.
    void RemoveTop();
};
