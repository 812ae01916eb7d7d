#include "objects/behavior_comp.h"

#include "component_pool.h"

BehaviorComp::BehaviorComp() : Component(CompIndex::Behavior) {}

Component* BehaviorComp::Clone() const { return new BehaviorComp(*this); }
void BehaviorComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* BehaviorComp::AllocateFromPool() const { return ComponentPool<BehaviorComp>::Allocate(); }
bool BehaviorComp::IsPoolValid() const { return ComponentPool<BehaviorComp>::Query(); }
Component* BehaviorComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<BehaviorComp>::AllocateCopy(source);
}
