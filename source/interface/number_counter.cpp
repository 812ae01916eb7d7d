#include "interface/number_counter.h"

#include "interface/widget_drawing.h"
#include "object_manager.h"
#include "objects/combat_comps.h"
#include "weapons.h"

NumberCounter::NumberCounter(int id, const Vector& position) : InterfaceObject(WidgetType::Console, id, position) {
    width = height = 50.0f;
    text.position = position;
    text.color = Color4{1.0f, 1.0f, 0.0f, 1.0f};
    color.a = 0.0f;
    text.owner = this;
}

void NumberCounter::DrawText() { widget_drawing::Text(text); }

void NumberCounter::Activate() {
    ObjectLock lock;
    text.text = CountText();
}

std::string NumberCounter::CountText() const {
    if (counterKind != kWeaponCounter || objectName.empty()) return std::string();
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    if (!objects.HasGameObject(objectName)) return std::string();
    const WeaponComp* weapons = objects.GetGameObject(objectName)->GetWeaponComp();
    const auto* missiles = weapons ? dynamic_cast<const Missile*>(weapons->secondary) : nullptr;
    if (!missiles) return std::string();
    return std::to_string(missiles->ammo) + "/" + std::to_string(missiles->maxAmmo);
}

void NumberCounter::SetPosition(const Vector& newPosition) {
    position = newPosition;
    text.position = newPosition;
}

void NumberCounter::SetText(const std::string& newText) { text.SetText(newText); }
