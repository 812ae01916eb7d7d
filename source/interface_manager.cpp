// InterfaceManager: the module, the frame's walk over the widgets and the
// registry operations.
#include "interface_manager.h"

#include <cassert>

#include "event_manager.h"
#include "input_manager.h"
#include "interface/interface_object.h"
#include "interface/panels.h"
#include "interface_manager/screens.h"
#include "object_manager.h"
#include "system.h"

namespace {

InterfaceObjectList& Registry() { return Module<ObjectManager>::Instance()->interObjList; }
InputManager& Input() { return *Module<InputManager>::Instance(); }

}  // namespace

void InterfaceManager::Init() {
    RegisterEventClient();
    initialised = true;
    currentState = InterfaceState::Blank;
    nextObjectId = 0;
    BuildInterface(InterfaceState::Blank);
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    delete objects.console;  // a console left by an Init without Kill
    objects.console = new Console(nextObjectId, Vector(0.0f, 0.0f, 0.0f, 0.0f));
    nextObjectId += 100;
    objects.console->visible = false;
    keyCapture = false;
    waveCountText.clear();
    restartPending = false;
}

void InterfaceManager::Update() {
    if (!initialised) return;
    const Vector mouse = MouseInPixels();
    DispatchEvents();
    // A press begun before the screen was built belongs to the screen before
    // (the click that opened this one, a trigger held in play): it neither
    // clicks nor drags here.
    InputManager& input = Input();
    const bool click = input.WasKeyPressedAfter(InputManager::kMouseLeft, screenBuiltAtPoll);
    const bool held = input.IsKeyDownAfter(InputManager::kMouseLeft, screenBuiltAtPoll);
    const std::vector<std::string> removals = WalkWidgets(mouse, click, held);
    for (const std::string& name : removals) DeleteInterfaceObject(name);
}

std::vector<std::string> InterfaceManager::WalkWidgets(const Vector& mouse, bool click, bool held) {
    const InterfaceObjectList& registry = Registry();
    std::vector<std::string> removals;
    bool hit = false;
    for (size_t i = 0; i < registry.size(); ++i) {
        const InterfaceObjectList::Entry& entry = registry.At(i);
        InterfaceObject* widget = entry.widget;
        if (widget->pendingRemoval) {
            removals.push_back(entry.name);
            continue;
        }
        if (HitTest(widget, mouse, click, held)) hit = true;
        const size_t registered = registry.size();
        widget->Activate();
        assert(registry.size() == registered && "a widget's Activate changed the registry");
        (void)registered;
    }
    if (click && !hit) {
        selectedName = kNoneSelected;
        Input().ClearText();
    }
    return removals;
}

void InterfaceManager::Kill() {
    if (!initialised) return;
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    delete objects.console;
    objects.console = nullptr;
    ClearInterfaceObjects();
    UnregisterEventClient();
    initialised = false;
}

void InterfaceManager::BuildInterface(InterfaceState::Type screen) {
    selectedName = kNoneSelected;
    ClearInterfaceObjects();
    Module<System>::Instance()->SetTextInputMode(false);
    previousState = currentState;
    currentState = screen;
    screens::BuildWidgets(*this, screen);
}

bool InterfaceManager::AddInterfaceObject(InterfaceObject* widget) {
    if (Registry().Insert(widget)) return true;
    delete widget;
    return false;
}

void InterfaceManager::DeleteInterfaceObject(std::string name) {
    InterfaceObject* widget = Registry().Remove(name);
    if (!widget) {
        Module<System>::Instance()->Log("Object already deleted/Does not exist");
        return;
    }
    delete widget;
}

void InterfaceManager::ClearInterfaceObjects() {
    screenBuiltAtPoll = Input().BeginScreen();
    for (InterfaceObject* widget : Registry().TakeAll()) delete widget;
}

bool InterfaceManager::HitTest(InterfaceObject* widget, const Vector& mouse, bool click, bool held) {
    const Vector& at = widget->position;
    const bool under = at.x <= mouse.x && mouse.x <= at.x + widget->width && at.y <= mouse.y &&
                       mouse.y <= at.y + widget->height;
    if (under) {
        widget->clicked = click;
        if (click) {
            selectedName = widget->name;
            Input().ClearText();
        }
        widget->hover = true;
        widget->held = held;
    } else {
        widget->clicked = widget->hover = widget->held = false;
    }
    bool childHit = false;
    for (InterfaceObject* child : widget->children)
        if (HitTest(child, mouse, click, held)) childHit = true;
    return widget->clicked || childHit;
}

Vector InterfaceManager::MouseInPixels() {
    const System& system = *Module<System>::Instance();
    const Vector mouse = Input().GetMousePosition();
    return Vector((mouse.x + 1.0f) * float(system.width / 2), (mouse.y + 1.0f) * float(system.height / 2), 0.0f,
                  0.0f);
}
