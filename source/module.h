// The manager framework: every engine manager is a lazily created,
// process-wide Module<T>; sub-systems a manager owns derive from Extension<T>;
// Singleton<T> is a process-wide instance without name or events.
//
// Managers are normally first created on the main thread during start-up,
// before any worker or loader thread exists; Instance() is made thread-safe
// anyway (a function-local static) so that a module first reached from a
// worker, a loader thread or a test thread is still created exactly once.
// Managers live to the end of the process and are never deleted.
#pragma once

#include <string>

class Event;

template <class T>
class Module {
public:
    explicit Module(const std::string& name) : moduleName(name) {}
    virtual ~Module() = default;

    virtual void Init() = 0;
    virtual void Update() = 0;
    virtual void Kill() = 0;
    // Handles one event addressed to this module; the default ignores it.
    virtual void ProcessEvent(const Event&) {}

    static T* Instance() {
        static T* const instance = new T();
        return instance;
    }

    const std::string& GetModuleName() const { return moduleName; }

    // Event-client helpers, defined in event_manager.h (they need the
    // EventManager, which is itself a Module).
    void RegisterEventClient();
    void UnregisterEventClient();
    void DispatchEvents();
    Event MakeEvent(const std::string& to, const std::string& eventType) const;

protected:
    std::string moduleName;
};

template <class T>
class Extension {
public:
    virtual ~Extension() = default;
};

template <class T>
class Singleton {
public:
    virtual ~Singleton() = default;
    static T* Instance() {
        static T* const instance = new T();
        return instance;
    }
};
