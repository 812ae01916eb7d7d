// Event: the one message record that modules hand each other through the
// EventManager. A plain value type: addressee, sender and message name as
// strings, two delivery flags with their times, and named parameters of any
// copyable type. Copies are deep (each parameter value is cloned), so a copy
// never shares state with its source and may travel to another thread.
//
// Threads: an Event is not shared; whoever holds a copy may use it. It never
// locks and never talks to other modules.
//
// Parameter contract: SetParam keeps the value set FIRST for a key (a second
// set of the same key is silently ignored). GetParam of a missing key throws
// MissingParamError (an std::out_of_range whose what() is
// "Unable to find key in unordered_map."); GetParam of a value stored as
// another type throws ParamTypeError (a boost::bad_any_cast). Types match
// exactly: an int is not readable as unsigned int or float. Both exception
// types also carry the key through EventParamError::ParamKey, which is how
// Module<T>::DispatchEvents names the parameter when it drops an event.
#pragma once

#include <stdexcept>
#include <string>
#include <typeinfo>
#include <utility>

#include <boost/any.hpp>
#include <boost/unordered_map.hpp>

#include "geom/geom.h"

// The key of the parameter whose read failed; mixed into both exceptions that
// GetParam throws, so that a handler can name the parameter in its log line.
class EventParamError {
public:
    explicit EventParamError(std::string key) : paramKey(std::move(key)) {}
    virtual ~EventParamError() = default;
    const std::string& ParamKey() const { return paramKey; }

private:
    std::string paramKey;
};

// A read of a key that the event does not carry.
class MissingParamError : public std::out_of_range, public EventParamError {
public:
    explicit MissingParamError(std::string key);
};

// A read of a key whose stored value has another type.
class ParamTypeError : public boost::bad_any_cast, public EventParamError {
public:
    ParamTypeError(std::string key, const std::type_info& storedType);
    // The compiler's name of the stored value's type, for log lines.
    const char* StoredTypeName() const { return storedTypeName; }

private:
    const char* storedTypeName;
};

class Event {
public:
    using ParamMap = boost::unordered_map<std::string, boost::any>;

    Event(std::string from = std::string(), std::string to = std::string(),
          std::string eventType = std::string());
    Event(const Event& other);
    Event& operator=(const Event& other);
    Event(Event&& other) = default;
    Event& operator=(Event&& other) = default;
    ~Event() = default;

    // Keeps the first value when the key is already present.
    template <class T>
    void SetParam(std::string key, T value) {
        paramList.emplace(std::move(key), boost::any(std::move(value)));
    }

    // Returns a copy of the value stored under key; throws MissingParamError
    // or ParamTypeError (see the file comment).
    template <class T>
    T GetParam(std::string key) const {
        const boost::any& stored = FindParam(key);
        const T* value = boost::any_cast<T>(&stored);
        if (!value) throw ParamTypeError(std::move(key), stored.type());
        return *value;
    }

    bool Has(std::string key) const;

    // The typed forms that the scripts use.
    void SetFloat(std::string key, float value);
    float GetFloat(std::string key) const;
    void SetString(std::string key, std::string value);
    std::string GetString(std::string key) const;
    void SetVector(std::string key, Vector value);
    Vector GetVector(std::string key) const;
    void SetQuaternion(std::string key, Quaternion value);
    Quaternion GetQuaternion(std::string key) const;

    std::string from;
    std::string to;
    std::string eventType;
    bool triggers = false;     // timed: not delivered before triggerTime
    bool expires = false;      // delivered on every poll of `to` until expireTime
    double createdTime = 0.0;  // System clock seconds; informational
    double triggerTime = 0.0;  // read only when triggers is set
    double expireTime = 0.0;   // read only when expires is set
    ParamMap paramList;

private:
    // The stored value for key; throws MissingParamError when there is none.
    const boost::any& FindParam(const std::string& key) const;
};
