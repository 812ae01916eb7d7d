// IngameState: entering and leaving play, starting the loads of a restart
// and of a level change, and one frame of play in its fixed order. The
// frame's hits and projectile upkeep are in ingame_hits.cpp.
#include "game_states/ingame_state.h"

#include "collision_manager.h"
#include "game_logic.h"
#include "game_logic/addressees.h"
#include "game_logic/player_controller.h"
#include "game_logic/player_parts.h"
#include "game_logic/player_step.h"
#include "game_states/hit_effects.h"
#include "game_states/level_states.h"
#include "game_states/state_events.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "sound_manager.h"
#include "system.h"

namespace {

constexpr double kGameOverDelay = 2.5;  // seconds from the death to the end of the run

GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
using state_events::Publish;

void SendPickOn(const char* to) {
    Event set(addressee::kGameLogic, to, CollisionManager::kSetEvent);
    set.SetParam<bool>(CollisionManager::kPickOn, true);
    Publish(set);
}

}  // namespace

int CountLiveEnemies() {
    ObjectManager& objects = Objects();
    ObjectLock lock(objects);
    int live = 0;
    for (const auto& entry : objects.gameObjectList)
        if (entry.second.GetStatsComp() && !entry.second.isDead) ++live;
    return live - 1;
}

IngameState::IngameState()
    : levelChangePending(true), newLevel(kFirstLevel), levelState(std::make_unique<LevelOne>()) {
    // A placeholder: the first switch frees no category named after it.
    levelState->levelName = "begin";
    Sys().Log("newLevel = " + newLevel);
}

IngameState::IngameState(const IngameState& other)
    : GameState(other),
      restartPending(other.restartPending),
      levelChangePending(other.levelChangePending),
      newLevel(other.newLevel),
      enemiesLeft(other.enemiesLeft),
      deathTimer(other.deathTimer),
      hoverHeight(other.hoverHeight),
      levelState(static_cast<LevelState*>(other.levelState->Clone())),
      awaitingLoad(other.awaitingLoad),
      unplayable(other.unplayable) {}

IngameState::~IngameState() = default;

GameState* IngameState::Clone() const { return new IngameState(*this); }

void IngameState::Init() {
    GameLogic& logic = Logic();
    if (awaitingLoad) {
        awaitingLoad = false;
        if (!logic.levelValid) {
            LeaveUnplayableLevel();
            return;
        }
    }
    AnnouncePlay();
    logic.playBeganAtPoll = Module<InputManager>::Instance()->PollCount();
    Sys().GrabMouse();
    Sys().Pause(false);
    enemiesLeft = CountLiveEnemies();
    deathTimer = 0.0;
    hoverHeight = logic.hoverHeight;
    // One load per Init: a level change carries out any restart or return
    // from the title along with it.
    const bool restart = restartPending || logic.titleRequested;
    loadingBehindTitle = logic.titleRequested;
    restartPending = false;
    logic.titleRequested = false;
    const bool switched = levelChangePending && SwitchToNewLevel();
    if (!switched && restart) {
        RestartLevel();
        enemiesLeft = CountLiveEnemies();
    }
    loadingBehindTitle = false;
    levelState->Init();
}

// The wave line is not cleared here: the display's rebuild posts the kept
// line again, and a clearing "Wave Count Message" behind it would delete
// that line (its delete arrives after the line) and forget the text, so a
// return from the pause would lose the line until the next wave.
void IngameState::AnnouncePlay() const {
    state_events::ShowScreen(InterfaceState::Ingame);
    SendPickOn(addressee::kCollisionManager);
    SendPickOn(addressee::kBehaviorManager);
}

bool IngameState::SwitchToNewLevel() {
    levelChangePending = false;
    if (newLevel == kSecondLevel) {
        SwitchLevel(LevelTwo());
    } else if (newLevel == kThirdLevel) {
        SwitchLevel(LevelThree());
    } else if (newLevel == kFirstLevel) {
        SwitchLevel(LevelOne());
    } else {
        Sys().Warning(SOURCE_POS + newLevel + ": Invalid Level");
        return false;
    }
    return true;
}

void IngameState::RestartLevel() {
    GameLogic& logic = Logic();
    logic.loadingDone = false;
    levelState->Exit();
    levelState->Reset();
    logic.previousLevelName = levelState->levelName;
    logic.levelName = levelState->levelName;
    logic.scriptPath = levelState->scriptPath;
    logic.levelPath = levelState->levelPath;
    StartLoad();
}

void IngameState::SwitchLevel(const LevelState& prototype) {
    GameLogic& logic = Logic();
    logic.loadingDone = false;
    logic.previousLevelName = levelState->levelName;
    levelState->Exit();
    levelState.reset(static_cast<LevelState*>(prototype.Clone()));
    logic.levelName = levelState->levelName;
    logic.scriptPath = levelState->scriptPath;
    logic.levelPath = levelState->levelPath;
    Sys().Log("GameLogic::Instance().levelScript = " + logic.scriptPath);
    Sys().Log("GameLogic::Instance().levelFile = " + logic.levelPath);
    StartLoad();
}

void IngameState::StartLoad() {
    awaitingLoad = true;
    ForgetMissingParts();
    // A level starts, or starts again: the old wave line goes, and the
    // level's first wave announces its own.
    state_events::ShowWaveLine("");
    // The cut-scene covers the level until its load is handed over. Over the
    // title it would take the messages of the title's buttons, clicked while
    // the level reloads behind it, and at its pop start the title over,
    // undoing what a click had opened (the quit question): the title stands
    // over that load itself.
    Logic().StartLevelLoad(!loadingBehindTitle);
}

void IngameState::LeaveUnplayableLevel() {
    Sys().Warning(SOURCE_POS + "the level " + Logic().levelName + " cannot be played; back to the title");
    restartPending = false;
    levelChangePending = false;
    Logic().titleRequested = false;
    unplayable = true;
    state_events::PopState(kLoadSender);
}

void IngameState::Exit() {
    Sys().ReleaseMouse();
    Sys().Pause(true);
}

void IngameState::HandleMessage(const Event& event) {
    levelState->HandleMessage(event);
    if (event.eventType == kRestart) {
        restartPending = true;
        EndRun();
    } else if (event.eventType == kChangeLevel) {
        newLevel = event.GetParam<std::string>(kLevelParam);
        levelChangePending = true;
        Sys().Log("newLevel = " + newLevel);
    }
}

void IngameState::Update() {
    if (unplayable) return;
    GameLogic& logic = Logic();
    levelState->Update();
    if (logic.titleRequested) {
        logic.titleRequested = false;
        enemiesLeft = CountLiveEnemies();
    }
    UpdateParticles();
    RemoveDeadObjects();
    if (Module<InputManager>::Instance()->WasKeyPressed(InputManager::kEscape))
        state_events::PushState(kName, GameStateName::Pause);
    HandleCollisions();
    UpdateProjectiles();
    if (restartPending)
        UpdateDeadPlayer();
    else
        ControlPlayer(logic);
    CheckPlayerDeath();
}

void IngameState::UpdateParticles() const {
    const System& system = Sys();
    Objects().particleSystemController.Update(float(system.frameStartTime.load()), float(system.frameTime.load()));
}

void IngameState::RemoveDeadObjects() const {
    ObjectManager& objects = Objects();
    ObjectLock lock(objects);
    objects.RemoveDeadGameObjects();
}

// The wreck falls, settles lower and slides to a stop, the camera riding it.
void IngameState::UpdateDeadPlayer() {
    ObjectManager& objects = Objects();
    ObjectLock lock(objects);
    PlayerParts parts;
    if (!FindPlayerParts(objects, parts)) return;
    const float dt = float(Sys().frameTime.load());
    Vector& velocity = parts.body->linearVel;
    Vector& position = parts.player->trans;
    velocity.y -= 50.0f * dt;
    objects.groundObject.KeepAboveGround(position, velocity, hoverHeight);
    if (hoverHeight > 4.0f) hoverHeight -= 10.0f * dt;
    velocity.x -= velocity.x * 0.6f * dt;
    velocity.z -= velocity.z * 0.6f * dt;
    velocity.w -= velocity.w * 0.6f * dt;
    velocity.y = ClampFloat(velocity.y, -200.0f, 200.0f);
    GuardPlayerStep(objects, *parts.player, velocity, hoverHeight, dt);
    position.w = 0.0f;
    objects.cameraObject.target = position;
}

void IngameState::CheckPlayerDeath() {
    GameLogic& logic = Logic();
    ObjectManager& objects = Objects();
    ObjectLock lock(objects);
    PlayerParts parts;
    if (!FindPlayerParts(objects, parts)) return;
    if (parts.stats->hp <= 0 && !logic.levelComplete) {
        Sys().Log("player died");
        Module<SoundManager>::Instance()->StopSound();
        restartPending = true;
        logic.playerDied = true;
        if (deathTimer == 0.0) hit_effects::ShowEffect(parts.stats->deathEffect, parts.player->trans);
        deathTimer += Sys().frameTime.load();
    }
    if (deathTimer >= kGameOverDelay) EndRun();
}

void IngameState::EndRun() {
    if (Logic().endlessMode) {
        restartPending = false;
        EndRunAsWin();
    } else {
        state_events::PushState(kLoadSender, GameStateName::GameOver);
    }
}

void IngameState::EndRunAsWin() { state_events::WinTheRun(kLoadSender, 1); }
