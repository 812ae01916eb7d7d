#include "objects/component.h"

Component::Component(const Component& other)
    : componentIndex(other.componentIndex), isFree(other.isFree.load()) {}

Component& Component::operator=(const Component& other) {
    componentIndex = other.componentIndex;
    isFree.store(other.isFree.load());
    return *this;
}
