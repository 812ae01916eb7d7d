// The InterfaceManager's text lines: "Game Message", "Game Message Delete",
// "Delete all Game Messages" and the head-up display's wave line.
#include "event_manager.h"
#include "game_logic/addressees.h"
#include "interface/game_message_widget.h"
#include "interface_manager.h"
#include "interface_manager/message_handlers.h"
#include "object_manager.h"
#include "system.h"

namespace {

// The wave line's key, so that the next wave's delete finds it.
constexpr const char* kWaveLineKey = "Wave Message";

void PostToSelf(Event event) { Module<EventManager>::Instance()->PublishEvent(std::move(event)); }

}  // namespace

namespace message_handlers {

void ShowGameMessage(InterfaceManager& ui, const GMessage& line) {
    auto* widget = new GameMessage(ui.nextObjectId, line);
    if (!line.key.empty()) widget->name = line.key;
    ui.nextObjectId += 100;
    ui.AddInterfaceObject(widget);  // a taken name deletes the new line
}

void DeleteGameMessage(InterfaceManager& ui, const std::string& name) {
    if (!name.empty()) ui.DeleteInterfaceObject(name);
}

void DeleteAllGameMessages(InterfaceManager&) {
    Module<System>::Instance()->Log("Deleting all game messages");
    // Flagged, not deleted: the frame's walk removes them after this
    // message, before anything is drawn.
    for (const InterfaceObjectList::Entry& entry : Module<ObjectManager>::Instance()->interObjList)
        if (entry.widget->type == WidgetType::GameMessage) entry.widget->pendingRemoval = true;
}

void PostWaveLine(const std::string& waveText) {
    Event remove(addressee::kInterfaceManager, addressee::kInterfaceManager, kGameMessageDeleteEvent);
    remove.SetParam<std::string>(InterfaceManager::kParamName, kWaveLineKey);
    PostToSelf(remove);
    if (waveText.empty()) return;
    GMessage line;
    line.key = kWaveLineKey;
    line.text = "Wave " + waveText;
    line.color = Vector(0.0f, 1.0f, 0.0f, 1.0f);
    line.position = Vector(0.05f, 0.05f, 0.0f, 0.0f);
    line.typeOut = false;
    line.scale = 0.8f;
    line.persistent = true;
    PostGameMessage(addressee::kInterfaceManager, line);
}

void ShowWaveCount(InterfaceManager& ui, const std::string& text) {
    ui.waveCountText = text;
    PostWaveLine(ui.waveCountText);
}

}  // namespace message_handlers
