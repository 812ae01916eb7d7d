// InterfaceObjectList: the widget registry, the ObjectManager's interObjList.
// Widgets by unique name, kept in the order they were registered: the
// InterfaceManager's mouse walk and the renderer's drawing both follow that
// order, so a later widget is tested later and drawn on top.
//
// The list holds pointers and deletes nothing: the InterfaceManager owns the
// registered widgets and is the only one to add or remove them. Copies (the
// scripts read one) share the pointers and own nothing either.
// Main thread only; not covered by the object lock.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class InterfaceObject;

class InterfaceObjectList {
public:
    struct Entry {
        std::string name;  // the widget's name when it was registered
        InterfaceObject* widget;
    };
    using const_iterator = std::vector<Entry>::const_iterator;

    // Appends the widget under its current name; false (nothing changes)
    // for a null widget or a name already registered.
    bool Insert(InterfaceObject* widget);
    // The widget registered under `name`, or null.
    InterfaceObject* Find(const std::string& name) const;
    bool Contains(const std::string& name) const { return Find(name) != nullptr; }
    // Unregisters and returns the widget of that name (the caller deletes
    // it), or null when there is none.
    InterfaceObject* Remove(const std::string& name);
    // Unregisters everything and returns the widgets, in order.
    std::vector<InterfaceObject*> TakeAll();

    // The entry at `index` in registration order; index < size().
    const Entry& At(size_t index) const { return entries[index]; }
    size_t size() const { return entries.size(); }
    bool empty() const { return entries.empty(); }
    const_iterator begin() const { return entries.begin(); }
    const_iterator end() const { return entries.end(); }

private:
    // A screen holds a few dozen widgets: a scan is as quick as a hash and
    // keeps the order without a second index.
    std::vector<Entry> entries;
};
