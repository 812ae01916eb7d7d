// LuaManager: owns the one Lua 5.1 interpreter of the process, with the
// standard libraries and the script module "bind" open in it. Runs script
// files (the level scripts) and the Lua text of "DoString" events, and
// reports script errors through the System log with a dump of the top of
// the Lua stack. A script error never stops the game and never throws.
//
// Threads: Init, Update, Kill and ProcessEvent (so "DoString") run on the
// main thread; DoFile runs on the level loader's thread. A Lua state may be
// used by one thread at a time, so every use of the interpreter takes
// luaMutex, for the whole script run. The lock is recursive so that a bound
// engine call made from a script may run a script itself.
//
// Never: leaves values on the Lua stack after a call returns (the stack
// would grow over a long game); lets a script run end with the object lock
// held when it was not held before (a failed or careless script would
// otherwise stop every thread that touches an object); touches the interpreter when it has no state
// (before Init, after Kill, or when creating the state failed).
#pragma once

#include <mutex>
#include <string>

#include "module.h"

struct lua_State;

class LuaManager : public virtual Module<LuaManager> {
public:
    // The event that runs Lua text, and its string parameter.
    static constexpr const char* kDoStringEvent = "DoString";
    static constexpr const char* kExprParam = "expr";

    LuaManager();

    // Registers the event client "LuaManager", then creates the state and
    // opens the standard libraries and bind (unless a state exists already).
    void Init() override;
    // Hands each "LuaManager" event of this frame to ProcessEvent.
    void Update() override;
    // Unregisters the client and closes the state.
    void Kill() override;
    // "DoString" runs its "expr"; every other event is ignored.
    void ProcessEvent(const Event& e) override;

    // Run a chunk of Lua text / a Lua file. Failures show only in the log.
    void DoString(std::string expr);
    void DoFile(std::string path);
    // Logs the top five slots of the Lua stack, top first.
    void DumpStack();

private:
    bool OpenBind();
    void LogErrorValue();
    std::string TopText();
    bool IsInStack(int index);
    std::string DescribeSlot(int index);
    bool HasState(const char* operation);

    lua_State* Lstate = nullptr;
    std::recursive_mutex luaMutex;
};
