#include "objects/combat_comps.h"

#include <memory>

#include "component_pool.h"
#include "weapons.h"

// ---- BulletComp

BulletComp::BulletComp() : Component(CompIndex::Bullet) {}

Component* BulletComp::Clone() const { return new BulletComp(*this); }
void BulletComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* BulletComp::AllocateFromPool() const { return ComponentPool<BulletComp>::Allocate(); }
bool BulletComp::IsPoolValid() const { return ComponentPool<BulletComp>::Query(); }
Component* BulletComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<BulletComp>::AllocateCopy(source);
}

// ---- ExplosionComp

ExplosionComp::ExplosionComp() : Component(CompIndex::Explosion) {}

Component* ExplosionComp::Clone() const { return new ExplosionComp(*this); }
void ExplosionComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* ExplosionComp::AllocateFromPool() const { return ComponentPool<ExplosionComp>::Allocate(); }
bool ExplosionComp::IsPoolValid() const { return ComponentPool<ExplosionComp>::Query(); }
Component* ExplosionComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<ExplosionComp>::AllocateCopy(source);
}

// ---- StatsComp

StatsComp::StatsComp() : Component(CompIndex::Stats) {}

StatsComp::StatsComp(int health, float speed, float armor, float boost, int magic)
    : Component(CompIndex::Stats),
      healthMax(health),
      speed(speed),
      armor(armor),
      boost(boost),
      magic(magic),
      hp(health),
      mp(magic),
      bp(boost) {}

Component* StatsComp::Clone() const { return new StatsComp(*this); }
void StatsComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* StatsComp::AllocateFromPool() const { return ComponentPool<StatsComp>::Allocate(); }
bool StatsComp::IsPoolValid() const { return ComponentPool<StatsComp>::Query(); }
Component* StatsComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<StatsComp>::AllocateCopy(source);
}

// ---- WeaponComp

namespace {

Weapon* CloneOrNull(const Weapon* weapon) { return weapon ? weapon->Clone() : nullptr; }

}  // namespace

WeaponComp::WeaponComp() : Component(CompIndex::Weapon) {}

WeaponComp::WeaponComp(const WeaponComp& other)
    : Component(other), spare0(other.spare0), spare1(other.spare1) {
    std::unique_ptr<Weapon> first(CloneOrNull(other.primary));
    secondary = CloneOrNull(other.secondary);
    primary = first.release();
}

// Clones before freeing, so assigning a component to itself (or a throwing
// Clone) never leaves it pointing at freed weapons.
WeaponComp& WeaponComp::operator=(const WeaponComp& other) {
    std::unique_ptr<Weapon> newPrimary(CloneOrNull(other.primary));
    std::unique_ptr<Weapon> newSecondary(CloneOrNull(other.secondary));
    Component::operator=(other);
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

Component* WeaponComp::Clone() const { return new WeaponComp(*this); }
void WeaponComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* WeaponComp::AllocateFromPool() const { return ComponentPool<WeaponComp>::Allocate(); }
bool WeaponComp::IsPoolValid() const { return ComponentPool<WeaponComp>::Query(); }
Component* WeaponComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<WeaponComp>::AllocateCopy(source);
}
