// Console and Panel: plain rectangles kept as scene members of the
// ObjectManager. The Console (`console`) is made by the InterfaceManager's
// Init and lives outside the registry for the whole run, hidden and never
// drawn; its text is kept but not shown. Panels are what scripts reach
// through `hackPanelList`. Main thread only.
#pragma once

#include "interface/interface_object.h"

class Console : public InterfaceObject {
public:
    // Named "CONSOLE", editable, 2000 wide and 3/4 of the window high, at
    // (0, 3/4 of the window height, -1, 0) whatever position it is given.
    Console(int id, const Vector& position);
    void SetText(const std::string& newText);

    InterfaceText text;
};

class Panel : public InterfaceObject {
public:
    // 200 x 200, black at alpha 0.75, not visible.
    Panel(int id, const Vector& position);
};
