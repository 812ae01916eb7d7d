// GameState: one entry of GameLogic's stack (splash, title, menus, play, the
// loading screen, end screens, high scores). LevelState: the base of the
// per-level scripts that the in-game state owns.
//
// States run on the main thread only. The stack owns its states: it keeps
// what Clone returns and deletes it when the state leaves the stack. Init runs
// whenever the state becomes the top, so also again after the state above it
// was popped: it must be safe to run many times.
#pragma once

#include <memory>
#include <string>

class Event;

namespace GameStateName {

// Carried as the "state" parameter of "Push State" and "Change State", as
// this enum type (not an int).
enum Type {
    Pause = 0,
    Splash = 1,
    Title = 2,
    Ingame = 3,
    Credits = 4,
    Options = 5,
    Controls = 6,
    GameOver = 7,
    CutScene = 8,
    None = 9,
    Win = 10,
    Score = 11,
    EndlessModeStart = 12,
};

}  // namespace GameStateName

class GameState {
public:
    virtual ~GameState() = default;
    // The state has become the top of the stack.
    virtual void Init() = 0;
    // One frame while the state is the top and no level load is in flight.
    virtual void Update() = 0;
    // The state stops being the top (covered or removed).
    virtual void Exit() = 0;
    // Every event that reaches GameLogic while the state is the top.
    virtual void HandleMessage(const Event&) {}
    // A new heap copy; the caller owns it.
    virtual GameState* Clone() const = 0;
};

class LevelState : public GameState {
public:
    std::string scriptPath;  // the level's Lua script
    std::string levelPath;   // the level file
    int liveEnemies = 0;     // enemies of the current wave still alive
    int waveNumber = 0;
    std::string levelName;   // the level's resource category

    // Clears the wave progress when the level (re)starts.
    virtual void Reset() = 0;
};
