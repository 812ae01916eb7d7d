// EventManager: the engine's post office. Owns every queued Event: the shared
// queue of published events not yet routed, the timed events waiting for their
// trigger time, and one queue per client name of routed, not yet polled events.
//
// Delivery is first-in, first-out per client: each client receives its events
// in the order they were published, whichever client's poll routed them; a
// timed event joins that order when the first Update whose running timer has
// reached its trigger time releases it. An expiring event is delivered on
// every poll of its addressee until it expires (judged by the game clock,
// which stands still while paused) and never to any other client.
//
// Threads: Update runs on the main thread; PublishEvent, PollEvents,
// RegisterClient and UnregisterClient may be called from any thread (the
// physics and collision threads, the level loader, Lua). One mutex guards all
// queues; no operation calls another or logs while holding it, and events are
// copied in and out under it, so no caller ever holds a reference into a
// queue. Kill runs last at shutdown, when nobody else publishes or polls.
//
// This header also defines the event helpers that module.h declares for
// Module<T>; a manager that calls them includes this header.
#pragma once

#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <vector>

#include <boost/unordered_map.hpp>

#include "event_manager/event.h"
#include "module.h"
#include "system.h"

class EventManager : public Module<EventManager> {
public:
    // The client name the manager registers for itself: events for every
    // listener of world-wide news ("KillGameObject"), polled by Physics.
    static constexpr const char* kBroadcast = "BROADCAST";

    EventManager();
    ~EventManager() override;

    void Init() override;
    // Releases due timed events (by the running timer, also while paused) and
    // drops expired events (by the pause-aware clock) from every client queue.
    void Update() override;
    // Unregisters every client and empties every queue.
    void Kill() override;

    // Keeps a copy; nothing is delivered before the addressee's next poll.
    void PublishEvent(Event event);
    // Routes every pending event to its addressee's queue, then returns the
    // events now due for `client`, oldest first. The manager forgets them,
    // except expiring events, which stay until they expire.
    std::deque<Event> PollEvents(std::string client);
    // Registering a name twice logs an error and keeps both entries; either
    // way the name's queue starts empty.
    void RegisterClient(std::string name);
    // Unregistering an unknown name logs a warning and changes nothing.
    void UnregisterClient(std::string name);

private:
    using ClientQueues = boost::unordered_map<std::string, std::deque<Event>>;

    // Each helper below expects queueMutex to be held by its caller.
    void RouteEventQueue();
    void ReleaseDueTimedEvents(double now);
    void DropExpiredEvents(std::deque<Event>& queue, double now);
    std::deque<Event> TakeDueEvents(std::deque<Event>& queue, double now);

    ClientQueues clientQueues;       // routed, not yet polled, per client name
    std::deque<Event> eventQueue;    // published or released, not yet routed
    std::deque<Event> timedQueue;    // published with triggers set, waiting
    std::vector<std::string> clientNames;  // registration order; may repeat
    std::mutex queueMutex;           // guards the four containers above
};

// Logs the warning for an event whose handling threw and was therefore
// dropped, naming the event and, when known, the parameter that failed.
void ReportDroppedEvent(const std::string& client, const Event& event,
                        const std::exception& error);

template <class T>
void Module<T>::RegisterEventClient() {
    Module<EventManager>::Instance()->RegisterClient(moduleName);
}

template <class T>
void Module<T>::UnregisterEventClient() {
    Module<EventManager>::Instance()->UnregisterClient(moduleName);
}

// A failing event never leaves the caller's Update: whatever ProcessEvent
// throws is logged and that event dropped; the rest of the batch goes on.
template <class T>
void Module<T>::DispatchEvents() {
    std::deque<Event> batch = Module<EventManager>::Instance()->PollEvents(moduleName);
    T* self = Instance();
    for (const Event& event : batch) {
        try {
            self->ProcessEvent(event);
        } catch (const std::exception& error) {
            ReportDroppedEvent(moduleName, event, error);
        }
    }
}

template <class T>
Event Module<T>::MakeEvent(const std::string& to, const std::string& eventType) const {
    Event event(moduleName, to, eventType);
    event.createdTime = Module<System>::Instance()->frameStartTime.load();
    return event;
}
