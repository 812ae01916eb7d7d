#include "objects/world_comps.h"

#include "component_pool.h"

SpawnComp::SpawnComp() : Component(CompIndex::Spawn) {}

Component* SpawnComp::Clone() const { return new SpawnComp(*this); }
void SpawnComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* SpawnComp::AllocateFromPool() const { return ComponentPool<SpawnComp>::Allocate(); }
bool SpawnComp::IsPoolValid() const { return ComponentPool<SpawnComp>::Query(); }
Component* SpawnComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<SpawnComp>::AllocateCopy(source);
}

PickupComp::PickupComp() : Component(CompIndex::Pickup) {}

Component* PickupComp::Clone() const { return new PickupComp(*this); }
void PickupComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* PickupComp::AllocateFromPool() const { return ComponentPool<PickupComp>::Allocate(); }
bool PickupComp::IsPoolValid() const { return ComponentPool<PickupComp>::Query(); }
Component* PickupComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<PickupComp>::AllocateCopy(source);
}
