// InterfaceObject: the base of every widget. A rectangle in window pixels
// (origin at the bottom-left corner, y up) with a colour, an optional
// texture, child widgets and the Events it posts when clicked. The
// InterfaceManager registers top-level widgets by `name`, sets their
// clicked/hover/held flags from the mouse every frame and calls Activate;
// the renderer's overlay pass calls Draw on each registered widget.
//
// Ownership: a widget owns its children (the destructor deletes them) and
// its events; a child is only ever made by the widget that holds it, so
// never add one that something else owns. Widgets are not copied.
//
// Threads: main thread only; widgets take no locks of their own. Draw runs
// inside the frame's object lock and must never take it; an Activate that
// reads game objects takes ObjectLock itself. Activate may publish events
// and set pendingRemoval, but never adds or removes registered widgets.
#pragma once

#include <string>
#include <vector>

#include "event_manager/event.h"
#include "geom/vector.h"
#include "interface/interface_text.h"
#include "resource_manager/handle.h"

// Widget type numbers; code that walks children selects them by these.
namespace WidgetType {
enum : int {
    Button = 0,
    TextBox = 1,  // also ResolutionSelector
    CheckBox = 2,
    MiniMap = 3,
    Crosshair = 4,
    Box = 5,      // Borders, the outline of buttons and options
    Console = 6,  // also NumberCounter
    SliderBar = 7,
    HackPanel = 8,
    StatusBar = 9,
    PlayerDamageIndicator = 12,
    FullMap = 13,
    RadioButton = 14,
    RadioOption = 15,
    GameMessage = 16,
    ControlsButton = 17,
};
}  // namespace WidgetType

// The keyword that names widgets of a type: "BUTTON" for 0 and so on; null
// for a type without one (9, 10, 11 and anything unknown).
const char* WidgetKeyword(int type);
// The generated name: keyword and id ("BUTTON1700"), the bare keyword for
// types 6 and 8, "" without a keyword.
std::string WidgetName(int type, int id);

class InterfaceObject {
public:
    InterfaceObject(int type, int id, const Vector& position);
    virtual ~InterfaceObject();
    InterfaceObject(const InterfaceObject&) = delete;
    InterfaceObject& operator=(const InterfaceObject&) = delete;

    // The quad in `color` (textured when `texture` names one), DrawText, then
    // each child from a fresh model-view matrix: children use absolute
    // coordinates. Overlay pass only.
    virtual void Draw();
    virtual void DrawText() {}
    // Per frame: each child's Activate, then, while clicked, a copy of each
    // stored Event published in order.
    virtual void Activate();
    virtual void SetPosition(const Vector& newPosition) { position = newPosition; }
    virtual void SetSize(float newWidth, float newHeight);

    void SetColor(float r, float g, float b, float a) { color = Color4{r, g, b, a}; }
    // The colour, or the visibility, of every outline child (type 5).
    void SetBorderColor(float r, float g, float b, float a);
    void HideBorders();

    // Appends an Event, posted by the widgets that post theirs.
    void AddEvent(const Event& event) { events.push_back(event); }
    // The id a widget gives the next child it makes: own id + children + 1.
    int NextChildId() const { return id + int(children.size()) + 1; }
    // The first child (a button's outline), or null.
    InterfaceObject* FirstChild() const { return children.empty() ? nullptr : children.front(); }
    // The first child of that exact name, or null.
    InterfaceObject* FindChild(const std::string& childName) const;

    Color4 color;
    bool editable = false;
    bool visible = true;
    bool clicked = false;
    bool hover = false;
    bool held = false;
    Handle texture;  // empty: no texture
    std::string name;
    int type;
    int id;
    Vector position;
    float width = 0.0f;
    float height = 0.0f;
    bool pendingRemoval = false;  // removed by the InterfaceManager after its next walk
    InterfaceObject* parent = nullptr;     // not owned
    std::vector<InterfaceObject*> children;  // owned, in order of addition
    std::vector<Event> events;

protected:
    // Takes ownership of `child`, makes this its parent and appends it.
    // Returns the child for the caller's set-up.
    template <class Widget>
    Widget* AddChild(Widget* child) {
        child->parent = this;
        children.push_back(child);
        return child;
    }
    void ActivateChildren();
    void PublishEvents() const;
    void DrawChildren();
};
