#include "event_manager.h"

#include <algorithm>
#include <utility>

#include <boost/core/demangle.hpp>

#include "system/source_position.h"

namespace {

System& TheSystem() { return *Module<System>::Instance(); }

}  // namespace

EventManager::EventManager() : Module<EventManager>("EventManager") {}

EventManager::~EventManager() = default;

void EventManager::Init() { RegisterClient(kBroadcast); }

void EventManager::Update() {
    const double running = TheSystem().GetTime(true);
    // Expiry follows the game clock, which stands still while paused, so an
    // expiring event outlives a pause exactly as polls judge it.
    const double game = TheSystem().GetTime(false);
    std::lock_guard<std::mutex> lock(queueMutex);
    ReleaseDueTimedEvents(running);
    for (ClientQueues::value_type& entry : clientQueues) DropExpiredEvents(entry.second, game);
}

void EventManager::Kill() {
    std::vector<std::string> names;
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        names = clientNames;
    }
    for (const std::string& name : names) UnregisterClient(name);
    std::lock_guard<std::mutex> lock(queueMutex);
    clientQueues.clear();
    eventQueue.clear();
    timedQueue.clear();
}

void EventManager::PublishEvent(Event event) {
    std::lock_guard<std::mutex> lock(queueMutex);
    if (event.triggers)
        timedQueue.push_back(std::move(event));
    else
        eventQueue.push_back(std::move(event));
}

std::deque<Event> EventManager::PollEvents(std::string client) {
    const double now = TheSystem().GetTime(false);
    std::lock_guard<std::mutex> lock(queueMutex);
    RouteEventQueue();
    return TakeDueEvents(clientQueues[client], now);
}

void EventManager::RegisterClient(std::string name) {
    bool duplicate = false;
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        duplicate = std::find(clientNames.begin(), clientNames.end(), name) != clientNames.end();
        clientNames.push_back(name);
        clientQueues[name].clear();
    }
    // Logged after the lock is released: the System's log has a lock of its
    // own and may write a file.
    if (duplicate) TheSystem().Error(SOURCE_POS + "RegisterClient: duplicate client found!\n");
}

void EventManager::UnregisterClient(std::string name) {
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        std::vector<std::string>::iterator found =
            std::find(clientNames.begin(), clientNames.end(), name);
        if (found != clientNames.end()) {
            clientNames.erase(found);
            clientQueues.erase(name);
            return;
        }
    }
    TheSystem().Log("name = " + name + "\n");
    TheSystem().Warning(SOURCE_POS + "UnregisterClient: client not found!\n");
}

// Appending at the back in queue order keeps every client's queue in
// publishing order, however the polls of different clients interleave.
void EventManager::RouteEventQueue() {
    for (Event& event : eventQueue) clientQueues[event.to].push_back(std::move(event));
    eventQueue.clear();
}

void EventManager::ReleaseDueTimedEvents(double now) {
    std::deque<Event> waiting;
    for (Event& event : timedQueue) {
        if (event.triggers && event.triggerTime <= now)
            eventQueue.push_back(std::move(event));
        else
            waiting.push_back(std::move(event));
    }
    timedQueue.swap(waiting);
}

void EventManager::DropExpiredEvents(std::deque<Event>& queue, double now) {
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [now](const Event& event) {
                                   return event.expires && event.expireTime <= now;
                               }),
                queue.end());
}

// Everything due goes out; expiring events also stay behind for the next poll.
std::deque<Event> EventManager::TakeDueEvents(std::deque<Event>& queue, double now) {
    std::deque<Event> due;
    std::deque<Event> kept;
    for (Event& event : queue) {
        if (!event.expires) {
            due.push_back(std::move(event));
        } else if (now < event.expireTime) {
            due.push_back(event);
            kept.push_back(std::move(event));
        }
    }
    queue.swap(kept);
    return due;
}

void ReportDroppedEvent(const std::string& client, const Event& event,
                        const std::exception& error) {
    std::string reason = error.what();
    if (const MissingParamError* missing = dynamic_cast<const MissingParamError*>(&error)) {
        reason = "parameter \"" + missing->ParamKey() + "\" is missing";
    } else if (const ParamTypeError* mistyped = dynamic_cast<const ParamTypeError*>(&error)) {
        reason = "parameter \"" + mistyped->ParamKey() + "\" holds another type (" +
                 boost::core::demangle(mistyped->StoredTypeName()) + ")";
    }
    TheSystem().Warning(client + ": dropped event \"" + event.eventType + "\" from \"" +
                        event.from + "\": " + reason + "\n");
}
