#include "objects/component.h"

#include "component_pool.h"
#include "objects/components.h"

Component::Component(const Component& other)
    : componentIndex(other.componentIndex), isFree(other.isFree.load()) {}

Component& Component::operator=(const Component& other) {
    componentIndex = other.componentIndex;
    isFree.store(other.isFree.load());
    return *this;
}

// The eleven kinds' shared operations, made once here.
template class PooledComponent<BehaviorComp, CompIndex::Behavior>;
template class PooledComponent<BillboardComp, CompIndex::Billboard>;
template class PooledComponent<BulletComp, CompIndex::Bullet>;
template class PooledComponent<CollisionComp, CompIndex::Collision>;
template class PooledComponent<ExplosionComp, CompIndex::Explosion>;
template class PooledComponent<GraphicsComp, CompIndex::Graphics>;
template class PooledComponent<PhysicsComp, CompIndex::Physics>;
template class PooledComponent<StatsComp, CompIndex::Stats>;
template class PooledComponent<WeaponComp, CompIndex::Weapon>;
template class PooledComponent<SpawnComp, CompIndex::Spawn>;
template class PooledComponent<PickupComp, CompIndex::Pickup>;
