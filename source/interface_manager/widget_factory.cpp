// InterfaceManager: the widget factory. Kinds are the factory's own numbers
// (InterfaceManager::WidgetKind): the head-up display's widget classes join
// the table with their screen.
#include <new>

#include "interface/panels.h"
#include "interface_manager.h"
#include "system.h"

namespace {

InterfaceObject* MakeWidget(int kind, int id, const Vector& position) {
    switch (kind) {
        case InterfaceManager::kConsole: return new Console(id, position);
        default: return nullptr;
    }
}

}  // namespace

InterfaceObject* InterfaceManager::CreateInterfaceObject(int kind, const Vector& position) {
    const int id = nextObjectId;
    // Raised first: a widget that cannot be made still uses up its id.
    nextObjectId += 100;
    InterfaceObject* widget = nullptr;
    try {
        widget = MakeWidget(kind, id, position);
    } catch (const std::bad_alloc&) {
        Module<System>::Instance()->Warning(SOURCE_POS + "no memory for a widget of kind " + std::to_string(kind));
        return nullptr;
    }
    if (!widget)
        Module<System>::Instance()->Warning(SOURCE_POS + "no widget of kind " + std::to_string(kind) +
                                            " can be made");
    return widget;
}
