// ComponentList: one default-built prototype of each component kind, indexed
// by type number. AttachComponent goes from a type number to the prototype and
// through its virtual pool operations to the right pool. The prototypes are
// never attached to an object.
//
// Threads: made by the first Instance() call, which is safe on any thread
// (the first object may be built on the level loader's thread); only read
// afterwards, so it takes no lock.
#pragma once

#include "module.h"
#include "objects/component.h"

class ComponentList : public Singleton<ComponentList> {
public:
    ComponentList();
    ~ComponentList() override;
    ComponentList(const ComponentList&) = delete;
    ComponentList& operator=(const ComponentList&) = delete;

    // The one list, made on first use. Hides Singleton::Instance so that two
    // threads building their first objects at once still make only one.
    static ComponentList* Instance();

    // The prototype of type number index; null, with the error
    // "Corrupt component.", outside 1..11. The list keeps ownership.
    Component* Get(int index) const;

private:
    Component* prototypes[CompIndex::kSlotCount] = {};
};
