#include "objects/collision_comp.h"

#include "component_pool.h"

CollisionComp::CollisionComp() : Component(CompIndex::Collision) {}

Component* CollisionComp::Clone() const { return new CollisionComp(*this); }
void CollisionComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* CollisionComp::AllocateFromPool() const { return ComponentPool<CollisionComp>::Allocate(); }
bool CollisionComp::IsPoolValid() const { return ComponentPool<CollisionComp>::Query(); }
Component* CollisionComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<CollisionComp>::AllocateCopy(source);
}
