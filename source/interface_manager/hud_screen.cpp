// The head-up display's screen (InterfaceState::Ingame), built after
// BuildInterface's common steps.
#include <string>

#include "event_manager.h"
#include "game_logic/addressees.h"
#include "game_states/ingame_state.h"
#include "interface/crosshair.h"
#include "interface/hit_indicator.h"
#include "interface/minimap.h"
#include "interface/number_counter.h"
#include "interface/status_bar.h"
#include "interface_manager.h"
#include "interface_manager/message_handlers.h"
#include "interface_manager/screens.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "system.h"

namespace screens {

namespace {

constexpr const char* kMinimapTexture = "tex_minimap";
constexpr const char* kMissileTexture = "tex_missile_icon";
constexpr Color4 kBarSecondColor{0.7529f, 0.7529f, 0.7529f, 0.5f};
constexpr float kHitFadeSeconds = 2.5f;

void Post(Event event) { Module<EventManager>::Instance()->PublishEvent(std::move(event)); }

bool PlayerExists() {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock(objects);
    return objects.HasGameObject(GameObject::kPlayerName);
}

// A widget of the factory's kind, of the class the kind makes; null (the
// factory has warned) when it could not be made.
template <class Widget>
Widget* Make(InterfaceManager& ui, int kind, const Vector& position = Vector(0.0f, 0.0f, 0.0f, 0.0f)) {
    return static_cast<Widget*>(ui.CreateInterfaceObject(kind, position));
}

void AddBar(InterfaceManager& ui, const char* stat, float y, float height, const Color4& color, const char* label,
            bool vertical) {
    StatusBar* bar = Make<StatusBar>(ui, InterfaceManager::kStatusBar);
    if (!bar) return;
    bar->SetPosition(Vector(0.0f, y, 0.0f, 0.0f));
    bar->vertical = vertical;
    bar->SetSize(250.0f, height);
    bar->color = color;
    bar->secondColor = kBarSecondColor;
    bar->objectName = GameObject::kPlayerName;
    bar->statName = stat;
    bar->label.text = label;
    bar->name = stat;
    ui.AddInterfaceObject(bar);
}

void AddMinimap(InterfaceManager& ui, int w, int h) {
    MiniMap* map = Make<MiniMap>(ui, InterfaceManager::kMiniMap);
    if (!map) return;
    map->SetPosition(Vector(float(w - 250), float(h - 250), 0.0f, 0.0f));
    map->SetSize(300.0f, 300.0f);
    map->color = Color4{0.7843f, 0.7843f, 0.7843f, 0.7843f};
    map->mapScale = 0.125f;
    map->texture = Module<ResourceManager>::Instance()->GetResourceHandle(kMinimapTexture);
    map->name = "minimap";
    ui.AddInterfaceObject(map);
}

void AddCrosshair(InterfaceManager& ui, int w, int h) {
    Crosshair* sight = Make<Crosshair>(ui, InterfaceManager::kCrosshair);
    if (!sight) return;
    sight->SetPosition(Vector(float(w / 2 - 64), float(h / 2 - 64), 0.0f, 0.0f));
    sight->hitDuration = Crosshair::kHitDuration;
    sight->hitElapsed = sight->hitDuration;  // idle: green from the first frame
    sight->name = Crosshair::kDisplayName;
    ui.AddInterfaceObject(sight);
}

void AddMissileCounter(InterfaceManager& ui, int w) {
    NumberCounter* counter = Make<NumberCounter>(ui, InterfaceManager::kNumberCounter);
    if (!counter) return;
    counter->SetPosition(Vector(float(w - 200), 0.0f, 0.0f, 0.0f));
    counter->color = Color4{1.0f, 1.0f, 1.0f, 1.0f};
    counter->objectName = GameObject::kPlayerName;
    counter->counterKind = NumberCounter::kWeaponCounter;
    // Shown until the counter's first update reads the real count.
    counter->text.text = "20/20";
    counter->text.position.x += 50.0f;
    counter->text.position.y += 10.0f;
    counter->texture = Module<ResourceManager>::Instance()->GetResourceHandle(kMissileTexture);
    ui.AddInterfaceObject(counter);
}

void AddIndicator(InterfaceManager& ui, const char* name, float x, float y) {
    auto* wedge = Make<PlayerTookDamageIndicator>(ui, InterfaceManager::kPlayerTookDamageIndicator,
                                                  Vector(x, y, 0.0f, 0.0f));
    if (!wedge) return;
    wedge->color = Color4{1.0f, 0.0f, 0.0f, 0.0f};
    wedge->duration = kHitFadeSeconds;
    wedge->name = name;
    ui.AddInterfaceObject(wedge);
}

void AddWidgets(InterfaceManager& ui) {
    const System& system = *Module<System>::Instance();
    const int w = system.width, h = system.height;
    const float healthHeight = 40.0f, shieldHeight = 15.0f;
    AddBar(ui, StatusBar::kHealth, 0.0f, healthHeight, Color4{0.0f, 1.0f, 0.0f, 1.0f}, " HP", false);
    AddBar(ui, StatusBar::kShield, healthHeight, shieldHeight, Color4{0.0f, 1.0f, 1.0f, 1.0f}, "", false);
    AddBar(ui, StatusBar::kBoost, healthHeight + shieldHeight + 30.0f, 40.0f, Color4{0.0f, 0.0f, 1.0f, 1.0f}, "BP",
           true);
    AddMinimap(ui, w, h);
    AddCrosshair(ui, w, h);
    AddMissileCounter(ui, w);
    AddIndicator(ui, PlayerTookDamageIndicator::kTop, 0.0f, 1.0f);
    AddIndicator(ui, PlayerTookDamageIndicator::kBottom, 0.0f, -1.0f);
    AddIndicator(ui, PlayerTookDamageIndicator::kLeft, -1.0f, 0.0f);
    AddIndicator(ui, PlayerTookDamageIndicator::kRight, 1.0f, 0.0f);
}

}  // namespace

void BuildHud(InterfaceManager& ui) {
    message_handlers::PostWaveLine(ui.waveCountText);
    if (ui.restartPending) {
        ui.restartPending = false;
        Post(Event(addressee::kInterfaceManager, addressee::kGameLogic, IngameState::kRestart));
    }
    Post(Event(addressee::kInterfaceManager, addressee::kSoundManager, SoundManager::kAdjustMusicVolume));
    if (PlayerExists()) AddWidgets(ui);
}

}  // namespace screens
