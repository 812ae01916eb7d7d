// Handle: how every subsystem names a resource: its registry name, such as
// "tex_noise". The part before the first "_" is the resource's type prefix.
#pragma once

#include <string>

class Handle {
public:
    Handle() = default;
    Handle(const std::string& name) : id(name) {}  // implicit: names convert freely

    std::string GetID() const { return id; }
    // The type prefix ("tex", "mesh", ...); empty when the name has no "_".
    std::string GetType() const {
        std::string::size_type at = id.find('_');
        return at == std::string::npos ? std::string() : id.substr(0, at);
    }

    std::string id;
};
