// NumberCounter (type 6, made by the factory as kind 11): the head-up
// display's missile counter, a text that follows a game object's weapon.
// With `counterKind` "weapon" it shows the object's secondary weapon's
// missiles as "ammo/maxAmmo"; anything else (no such object, no weapon
// component, no secondary weapon, a secondary that is not a Missile, another
// kind or an empty name) shows "". Its Activate reads the object table and
// takes the object lock itself. Main thread only.
#pragma once

#include <string>

#include "interface/interface_object.h"

class NumberCounter : public InterfaceObject {
public:
    static constexpr const char* kWeaponCounter = "weapon";

    // 50 x 50, clear, with a yellow empty text at its corner.
    NumberCounter(int id, const Vector& position);
    void DrawText() override;
    // Renews the text; activates no children and posts nothing.
    void Activate() override;
    // Moves the widget and its text together (no re-alignment).
    void SetPosition(const Vector& newPosition) override;
    void SetText(const std::string& newText);

    InterfaceText text;
    std::string objectName;
    std::string counterKind;

private:
    // The text for the current objects; caller holds the object lock.
    std::string CountText() const;
};
