#include "weapons.h"

#include <utility>

Weapon::Weapon() = default;

void Weapon::AddHotSpot(float x, float y, float z, std::string bone) {
    hotspots.push_back(HotSpot{std::move(bone), Vector(x, y, z)});
    ++hotSpotCount;
}

Weapon* SimpleSpread::Clone() const { return new SimpleSpread(*this); }

Weapon* Missile::Clone() const { return new Missile(*this); }

Weapon* FlameThrower::Clone() const { return new FlameThrower(*this); }
#include "weapons.h"

void SimpleSpread::Fire(Vector) {}

void Missile::Fire(Vector) {}
