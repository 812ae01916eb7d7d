#include "event_manager/event.h"

namespace {

// The text the map's own at() lookup reports; receivers match on it.
const char* const kMissingKeyText = "Unable to find key in unordered_map.";

}  // namespace

MissingParamError::MissingParamError(std::string key)
    : std::out_of_range(kMissingKeyText), EventParamError(std::move(key)) {}

ParamTypeError::ParamTypeError(std::string key, const std::type_info& storedType)
    : EventParamError(std::move(key)), storedTypeName(storedType.name()) {}

Event::Event(std::string from, std::string to, std::string eventType)
    : from(std::move(from)), to(std::move(to)), eventType(std::move(eventType)) {}

Event::Event(const Event& other) = default;

Event& Event::operator=(const Event& other) {
    // Copy first, then exchange: self-assignment and a throwing copy of a
    // parameter both leave this event intact.
    Event copy(other);
    *this = std::move(copy);
    return *this;
}

bool Event::Has(std::string key) const { return paramList.find(key) != paramList.end(); }

const boost::any& Event::FindParam(const std::string& key) const {
    ParamMap::const_iterator found = paramList.find(key);
    if (found == paramList.end()) throw MissingParamError(key);
    return found->second;
}

void Event::SetFloat(std::string key, float value) { SetParam<float>(std::move(key), value); }

float Event::GetFloat(std::string key) const { return GetParam<float>(std::move(key)); }

void Event::SetString(std::string key, std::string value) {
    SetParam<std::string>(std::move(key), std::move(value));
}

std::string Event::GetString(std::string key) const {
    return GetParam<std::string>(std::move(key));
}

void Event::SetVector(std::string key, Vector value) { SetParam<Vector>(std::move(key), value); }

Vector Event::GetVector(std::string key) const { return GetParam<Vector>(std::move(key)); }

void Event::SetQuaternion(std::string key, Quaternion value) {
    SetParam<Quaternion>(std::move(key), value);
}

Quaternion Event::GetQuaternion(std::string key) const {
    return GetParam<Quaternion>(std::move(key));
}
