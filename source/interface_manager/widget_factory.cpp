// InterfaceManager: the widget factory. Kinds are the factory's own numbers
// (InterfaceManager::WidgetKind).
#include <new>

#include "interface/button.h"
#include "interface/choice_widgets.h"
#include "interface/controls_button.h"
#include "interface/crosshair.h"
#include "interface/hit_indicator.h"
#include "interface/minimap.h"
#include "interface/number_counter.h"
#include "interface/panels.h"
#include "interface/slider_bar.h"
#include "interface/status_bar.h"
#include "interface/text_box.h"
#include "interface_manager.h"
#include "system.h"

namespace {

InterfaceObject* MakeWidget(int kind, int id, const Vector& position) {
    switch (kind) {
        case InterfaceManager::kButton: return new Button(id, position);
        case InterfaceManager::kTextBox: return new TextBox(id, position);
        case InterfaceManager::kMiniMap: return new MiniMap(id, position);
        case InterfaceManager::kCrosshair: return new Crosshair(id, position);
        case InterfaceManager::kConsole: return new Console(id, position);
        case InterfaceManager::kSliderBar: return new SliderBar(id, position);
        case InterfaceManager::kStatusBar: return new StatusBar(id, position);
        case InterfaceManager::kNumberCounter: return new NumberCounter(id, position);
        case InterfaceManager::kPlayerTookDamageIndicator: return new PlayerTookDamageIndicator(id, position);
        case InterfaceManager::kRadioButton: return new RadioButton(id, position);
        case InterfaceManager::kControlsButton: return new ControlsButton(id, position);
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
