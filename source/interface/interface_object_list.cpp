#include "interface/interface_object_list.h"

#include <algorithm>

#include "interface/interface_object.h"

bool InterfaceObjectList::Insert(InterfaceObject* widget) {
    if (!widget || Contains(widget->name)) return false;
    entries.push_back(Entry{widget->name, widget});
    return true;
}

InterfaceObject* InterfaceObjectList::Find(const std::string& name) const {
    for (const Entry& entry : entries)
        if (entry.name == name) return entry.widget;
    return nullptr;
}

InterfaceObject* InterfaceObjectList::Remove(const std::string& name) {
    auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.name == name; });
    if (found == entries.end()) return nullptr;
    InterfaceObject* widget = found->widget;
    entries.erase(found);
    return widget;
}

std::vector<InterfaceObject*> InterfaceObjectList::TakeAll() {
    std::vector<InterfaceObject*> widgets;
    widgets.reserve(entries.size());
    for (const Entry& entry : entries) widgets.push_back(entry.widget);
    entries.clear();
    return widgets;
}
