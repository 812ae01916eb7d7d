// Engine core events: the Event record and the EventManager.
%{
#include "event_manager/event.h"
#include "event_manager.h"
%}

// Opaque to scripts (they may only pass them back); each is a class here
// only so that the owned copies scripts receive are freed by the collector.
namespace boost {
class any;
%nodefaultctor unordered_map;
template <class K, class V> class unordered_map {};
}
namespace std {
%nodefaultctor deque;
template <class T> class deque {};
}
%template(ParamMap) boost::unordered_map<std::string, boost::any>;
%template(deque_Event) std::deque<Event>;

%quell_read_as_copy(Event, paramList)

class Event {
public:
    Event(std::string from = std::string(), std::string to = std::string(),
          std::string eventType = std::string());

    bool Has(std::string key) const;
    float GetFloat(std::string key) const;
    void SetFloat(std::string key, float value);
    Vector GetVector(std::string key) const;
    void SetVector(std::string key, Vector value);
    Quaternion GetQuaternion(std::string key) const;
    void SetQuaternion(std::string key, Quaternion value);
    std::string GetString(std::string key) const;
    void SetString(std::string key, std::string value);

    std::string from;
    std::string to;
    std::string eventType;
    bool triggers;
    bool expires;
    double createdTime;
    double triggerTime;
    double expireTime;
    boost::unordered_map<std::string, boost::any> paramList;
};

%template(Module_EventManager) Module<EventManager>;

// The singleton only: scripts never make or free a manager.
%nodefaultctor EventManager;
%nodefaultdtor EventManager;

class EventManager : public Module<EventManager> {
public:
    void Init();
    void Update();
    void Kill();
    void RegisterClient(std::string name);
    void UnregisterClient(std::string name);
    void PublishEvent(Event event);
    std::deque<Event> PollEvents(std::string client);
};
