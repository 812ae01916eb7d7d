#include "lua_manager.h"

#include <sstream>

#include <lua.hpp>

#include "event_manager/event.h"
#include "event_manager.h"
#include "object_manager.h"
#include "system.h"

// The open function of the generated script module (cmake/Bind.cmake).
extern "C" int luaopen_bind(lua_State* L);

namespace {

// Puts the stack back to its height at construction, so that neither a
// chunk's results nor an error value outlive the call that produced them.
class StackRestorer {
public:
    explicit StackRestorer(lua_State* state) : L(state), top(lua_gettop(state)) {}
    ~StackRestorer() { lua_settop(L, top); }
    StackRestorer(const StackRestorer&) = delete;
    StackRestorer& operator=(const StackRestorer&) = delete;

private:
    lua_State* L;
    int top;
};

System& Sys() { return *Module<System>::Instance(); }

// A script takes the object lock with ObjectManager:Lock and gives it back
// with Unlock. A run that fails in between, or forgets the Unlock, would
// leave this thread holding the lock for good, and every other thread that
// touches an object would wait forever. So each run hands the lock back in
// the state it found it, with a warning.
class ObjectLockRestorer {
public:
    ObjectLockRestorer()
        : objects(*Module<ObjectManager>::Instance()), heldBefore(objects.IsLockedByThisThread()) {}
    ~ObjectLockRestorer() {
        const bool held = objects.IsLockedByThisThread();
        if (held && !heldBefore) {
            Sys().Warning(SOURCE_POS + "the script left the object lock held: released\n");
            objects.Unlock();
        } else if (!held && heldBefore) {
            Sys().Warning(SOURCE_POS + "the script released the object lock its caller held: taken again\n");
            objects.Lock();
        }
    }
    ObjectLockRestorer(const ObjectLockRestorer&) = delete;
    ObjectLockRestorer& operator=(const ObjectLockRestorer&) = delete;

private:
    ObjectManager& objects;
    bool heldBefore;
};

// Run under lua_cpcall, so that an error while opening (out of memory) is
// reported instead of reaching Lua's panic handler, which aborts.
int OpenLibraries(lua_State* L) {
    luaL_openlibs(L);
    lua_pushcfunction(L, luaopen_bind);
    lua_call(L, 0, 0);
    return 0;
}

std::string PointerText(const void* p) {
    std::ostringstream out;
    out << p;
    return out.str();
}

}  // namespace

LuaManager::LuaManager() : Module<LuaManager>("LuaManager") {}

void LuaManager::Init() {
    RegisterEventClient();
    std::lock_guard<std::recursive_mutex> lock(luaMutex);
    if (Lstate) return;
    Lstate = luaL_newstate();
    if (!Lstate) {
        Sys().Error(SOURCE_POS + "Lua failed to open the lua state\n");
        Sys().Log("Lstate = " + PointerText(Lstate) + "\n");
        return;
    }
    if (!OpenBind()) {
        lua_close(Lstate);
        Lstate = nullptr;
    }
}

bool LuaManager::OpenBind() {
    if (lua_cpcall(Lstate, OpenLibraries, nullptr) != 0) {
        Sys().Error(SOURCE_POS + "Lua failed to open its libraries: " + TopText() + "\n");
        return false;
    }
    lua_getglobal(Lstate, "bind");
    bool opened = lua_istable(Lstate, -1);
    lua_pop(Lstate, 1);
    if (!opened) Sys().Error(SOURCE_POS + "Lua failed to open the module bind\n");
    if (lua_gettop(Lstate) != 0) {
        Sys().Warning(SOURCE_POS + "opening the Lua libraries left values on the stack\n");
        lua_settop(Lstate, 0);
    }
    return opened;
}

void LuaManager::Update() { DispatchEvents(); }

void LuaManager::Kill() {
    UnregisterEventClient();
    std::lock_guard<std::recursive_mutex> lock(luaMutex);
    if (!Lstate) return;
    lua_close(Lstate);
    Lstate = nullptr;
}

// A missing or mistyped "expr" throws out of GetParam; DispatchEvents logs
// and drops that event.
void LuaManager::ProcessEvent(const Event& e) {
    if (e.eventType == kDoStringEvent) DoString(e.GetParam<std::string>(kExprParam));
}

void LuaManager::DoString(std::string expr) {
    std::lock_guard<std::recursive_mutex> lock(luaMutex);
    if (!HasState("DoString")) return;
    StackRestorer restore(Lstate);
    ObjectLockRestorer lockCheck;
    // A load error is not reported as such: calling the message it leaves
    // fails in turn, and that failure is what gets reported.
    luaL_loadstring(Lstate, expr.c_str());
    if (lua_pcall(Lstate, 0, LUA_MULTRET, 0) != 0) {
        Sys().Warning(SOURCE_POS + "Error executing string: \n");
        LogErrorValue();
        Sys().Error(SOURCE_POS + "fatal error, terminating\n");
    }
}

void LuaManager::DoFile(std::string path) {
    std::lock_guard<std::recursive_mutex> lock(luaMutex);
    if (!HasState("DoFile")) return;
    StackRestorer restore(Lstate);
    ObjectLockRestorer lockCheck;
    if (luaL_loadfile(Lstate, path.c_str()) != 0) {
        Sys().Log("Error loading file: \n");
        LogErrorValue();
        Sys().Error(SOURCE_POS + "\n");
    }
    // After a failed load this calls the error message and fails as well, so
    // a missing file also gives the execution report.
    if (lua_pcall(Lstate, 0, 0, 0) != 0) {
        Sys().Log("Error executing file: \n");
        LogErrorValue();
        Sys().Error(SOURCE_POS + "\n");
    }
}

void LuaManager::LogErrorValue() {
    Sys().Log("lua_tostring(Lstate, -1) = " + TopText() + "\n");
    DumpStack();
}

void LuaManager::DumpStack() {
    std::lock_guard<std::recursive_mutex> lock(luaMutex);
    if (!HasState("DumpStack")) return;
    Sys().Log("Lua stack trace\n");
    std::string text;
    for (int index = -1; index >= -5; --index) {
        if (IsInStack(index) && lua_type(Lstate, index) == LUA_TTHREAD) continue;
        text += std::to_string(index) + ":\t" + DescribeSlot(index) + "\n";
    }
    Sys().Log(text);
}

// Lua 5.1 does not check negative indexes against the stack height: an index
// below the bottom reads memory outside the stack instead of giving "none".
bool LuaManager::IsInStack(int index) { return -index <= lua_gettop(Lstate); }

std::string LuaManager::DescribeSlot(int index) {
    if (!IsInStack(index)) return "none";
    if (lua_isstring(Lstate, index)) {
        size_t length = 0;
        const char* s = lua_tolstring(Lstate, index, &length);
        return std::string(s, length);
    }
    if (lua_istable(Lstate, index)) return "Lua Table: " + PointerText(lua_topointer(Lstate, index));
    if (lua_iscfunction(Lstate, index)) {
        return "C function: " + PointerText(lua_topointer(Lstate, index));
    }
    if (lua_isuserdata(Lstate, index)) {
        return "User Data: " + PointerText(lua_touserdata(Lstate, index));
    }
    if (lua_isboolean(Lstate, index)) {
        return std::string("bool: ") + (lua_toboolean(Lstate, index) ? "true" : "false");
    }
    if (lua_isfunction(Lstate, index)) {
        return "Lua Function: " + PointerText(lua_topointer(Lstate, index));
    }
    return "nil";
}

// The text of the value on top of the stack; empty when it is neither a
// string nor a number.
std::string LuaManager::TopText() {
    if (!IsInStack(-1)) return std::string();
    size_t length = 0;
    const char* s = lua_tolstring(Lstate, -1, &length);
    return s ? std::string(s, length) : std::string();
}

bool LuaManager::HasState(const char* operation) {
    if (Lstate) return true;
    Sys().Error(SOURCE_POS + "LuaManager has no Lua state: " + operation + " not run\n");
    return false;
}
