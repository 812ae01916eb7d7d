// GameLogic: decides what runs. It owns the stack of game states, updates
// the top state once per frame while no level load is in flight, and changes
// the stack on "Push State", "Pop State" and "Change State"; every event that
// reaches it is then shown to the top state. It loads levels on a loader
// thread ("Load Level Thread", and once from Init) and takes each finished
// load over on the main thread ("Level Loaded": the OpenGL half, the noise
// texture, the previous level's category freed). Its public fields are what
// the states share with each other and with the rest of the game (the level
// to load next, the run's flags and statistics).
//
// Runs on the main thread: Init at start-up after the InterfaceManager,
// Update once per frame after it, Kill at shutdown. Event client "GameLogic".
// The loader thread runs LoadLevel only; it never calls OpenGL and reports by
// "Level Loaded" alone. Loads never overlap: a "Load Level Thread" while one
// is in flight is refused, and every loader thread is joined (at the
// hand-over, before the next load, by main after the frame loop, by Kill).
// Also holds AutoGenerateCollision and its per-mesh cache, which the object
// factory uses when a pattern asks for generated collision volumes.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "game_states/game_state.h"
#include "game_states/level_states.h"
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
    // Deaths announced by the in-game state's hit handling: the player's, and
    // the parameter of an enemy's (kEnemyDeathEvent) with the enemies left.
    static constexpr const char* kPlayerDeath = "Player Death";
    static constexpr const char* kNumEnemiesParam = "numEnemies";
    // Parameters of "Level Loaded": "firstLoad" (present on the first load
    // only) and "valid" (false when the load made no playable level).
    static constexpr const char* kFirstLoadParam = "firstLoad";
    static constexpr const char* kValidParam = "valid";
    // Resource categories: what the first frames draw from, read at Init,
    // and the meshes, textures and sounds every level uses, read by the first
    // load.
    static constexpr const char* kStartUpCategory = "all_first";
    static constexpr const char* kCommonCategory = "all";

    GameLogic() : Module<GameLogic>("GameLogic") {}

    // The twelve start-up steps: fields, start-up categories, the splash
    // state, the slide shows, then the first level's load on the loader thread.
    void Init() override;
    // Does nothing before Init or after Kill.
    void Update() override;
    // Waits for a running loader thread, releases the level and empties the
    // stack (no uncovered state is initialised again).
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
    // objects, spawn points), then pushes the cut-scene state (unless
    // `underCutScene` is false) and asks for the loader thread. Main thread
    // only; takes the object lock itself.
    void StartLevelLoad(bool underCutScene = true);

    // The loader thread's work: reads the level's categories, the level file
    // and its script, fits out the player, then publishes "Level Loaded" (also
    // after a failure or an exception, with "valid" false). Loader thread;
    // tests may call it on their own thread while no loader runs.
    void LoadLevel();
    // Waits for the loader thread, if one was started and not yet joined.
    // Main thread. main calls it after the frame loop, before any Kill, since
    // a running load uses the resource and script modules.
    void JoinLoader();
    // A load was started and not yet handed over.
    bool IsLoadInFlight() const { return loadInFlight.load(); }

    // The top state, or null on an empty stack.
    GameState* TopState() const;
    size_t StateCount() const { return states.size(); }
    // The state at `index` counted from the bottom; index < StateCount().
    const GameState* StateAt(size_t index) const { return states.at(index).get(); }

    // Player controller: the cursor reference point and the camera's yaw and
    // pitch read at the start of each look step.
    Vector mouseOrigin;
    Vector lookAngles;

    // Loading gate: no state is updated while it is false.
    std::atomic<bool> loadingDone{false};
    // Set by the win, game-over and pause states when the player leaves for
    // the title; the in-game state then starts its level afresh.
    bool titleRequested = false;
    // The level to load: written on the main thread while no load is in
    // flight, read by the loader and the hand-over.
    std::string scriptPath = LevelOne::kScript;
    std::string levelPath = LevelOne::kLevelFile;
    std::string levelName = LevelOne::kCategory;          // the level's resource category
    std::string previousLevelName = LevelOne::kCategory;  // the category to free after a change
    // Player controller: standing on something this frame (the foot's contact
    // may set it before the controller runs); the hover height above terrain.
    // hoverHeight and the four controller fields below are reset by the
    // loader thread; the main thread reads them only after the hand-over,
    // which the event queue orders after the loader's writes.
    bool onGround = false;
    float hoverHeight = 25.0f;
    int waveNumber = 0;                        // a copy of the level state's wave
    // False when the last handed-over load could not make a playable level.
    // Main thread.
    bool levelValid = true;
    // Cleared by every load on the loader thread, set by the game on the main
    // thread.
    std::atomic<bool> playerDied{false};
    std::atomic<bool> levelComplete{false};
    std::atomic<bool> endlessMode{false};

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
    // The input poll before play last began (the in-game state's Init): the
    // weapons fire only on presses that later polls first saw, so the click
    // that started or resumed play does not fire too.
    unsigned playBeganAtPoll = 0;

    // The run's statistics, written on the main thread only. enemiesKilled,
    // shotsHit and the two damage sums come from the in-game state's hits.
    // shotsFired counts trigger pulls of the player's weapons that passed the
    // rate test, missiles included (however many projectiles a pull makes).
    uint32_t enemiesKilled = 0;
    uint32_t shotsFired = 0;
    uint32_t shotsHit = 0;
    uint32_t damageShield = 0;
    uint32_t damageArmor = 0;

    std::atomic<bool> firstLoad{true};  // cleared by the first level load

    // The statistics' derived figures. Accuracy as a whole percentage,
    // clamped to 100 (a splash can hit twice); 0 with no shot fired.
    // Total damage saturates at the largest 32-bit value instead of wrapping.
    uint32_t TotalDamage() const {
        return uint32_t(std::min<uint64_t>(UINT32_MAX, uint64_t(damageShield) + damageArmor));
    }
    uint32_t StoredAccuracy() const;
    void ResetStatistics();

private:
    std::mutex collisionCacheMutex;

    bool initialised = false;  // between Init and Kill
    // The most recent loader thread; joined before the next one starts.
    std::thread loaderThread;
    // From the start of a load (main thread) to its hand-over (main thread).
    std::atomic<bool> loadInFlight{false};
    // The level category the last hand-over made the OpenGL data of: freed
    // by a later hand-over of another level even when previousLevelName does
    // not name it (a new game starts from the placeholder "begin").
    std::string loadedCategory;

    // The back is the top.
    std::deque<std::unique_ptr<GameState>> states;
    // States removed during a state operation, deleted at the next Update.
    std::vector<std::unique_ptr<GameState>> retiredStates;

    // Hands an "Enemy Death" to the level of an in-game state that another
    // state covers, so that the death still counts against its wave.
    void CountCoveredDeath(const Event& event);
    // Removes the top after its Exit; the state is retired, not deleted.
    void RemoveTop();
    void InitTop();

    // Init's steps: the fields a run starts with, the categories the first
    // frames draw from, the slides' pictures.
    void ResetForStart();
    void LoadStartUpCategories();
    void UploadSplashPictures();
    // "Load Level Thread": refused with a warning while a load is in flight.
    void StartLoaderThread();
    // Loader thread: LoadLevel's steps up to "Level Loaded"; false when the
    // level cannot be played (already logged).
    bool ReadLevel();
    void PublishLevelLoaded(bool valid);
    // "Level Loaded", on the main thread.
    void HandLevelOver(const Event& event);
    void FreeReplacedCategories();
};

// The loader thread's entry: logs "loading the level", then runs LoadLevel
// on the module instance. Nothing thrown leaves it.
void LoadLevelThreadMain();
