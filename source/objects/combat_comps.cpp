#include "objects/combat_comps.h"

#include <memory>

#include "weapons.h"

StatsComp::StatsComp(int health, float speed, float armor, float boost, int magic)
    : healthMax(health), speed(speed), armor(armor), boost(boost), magic(magic), hp(health),
      mp(magic), bp(boost) {}

namespace {

Weapon* CloneOrNull(const Weapon* weapon) { return weapon ? weapon->Clone() : nullptr; }

}  // namespace

WeaponComp::WeaponComp(const WeaponComp& other)
    : PooledComponent(other), spare0(other.spare0), spare1(other.spare1) {
    std::unique_ptr<Weapon> first(CloneOrNull(other.primary));
    secondary = CloneOrNull(other.secondary);
    primary = first.release();
}

// Clones before freeing, so assigning a component to itself (or a throwing
// Clone) never leaves it pointing at freed weapons.
WeaponComp& WeaponComp::operator=(const WeaponComp& other) {
    std::unique_ptr<Weapon> newPrimary(CloneOrNull(other.primary));
    std::unique_ptr<Weapon> newSecondary(CloneOrNull(other.secondary));
    PooledComponent::operator=(other);
    spare0 = other.spare0;
    spare1 = other.spare1;
    delete primary;
    delete secondary;
    primary = newPrimary.release();
    secondary = newSecondary.release();
    return *this;
}

WeaponComp::~WeaponComp() {
    delete primary;
    delete secondary;
}
