#include "objects/physics_comp.h"

#include "component_pool.h"

PhysicsComp::PhysicsComp() : Component(CompIndex::Physics) {}

Component* PhysicsComp::Clone() const { return new PhysicsComp(*this); }
void PhysicsComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* PhysicsComp::AllocateFromPool() const { return ComponentPool<PhysicsComp>::Allocate(); }
bool PhysicsComp::IsPoolValid() const { return ComponentPool<PhysicsComp>::Query(); }
Component* PhysicsComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<PhysicsComp>::AllocateCopy(source);
}
