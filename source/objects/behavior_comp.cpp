#include "objects/behavior_comp.h"

#include "component_pool.h"

BehaviorComp::BehaviorComp() : Component(CompIndex::Behavior) {}

Component* BehaviorComp::Clone() const { return new BehaviorComp(*this); }
void BehaviorComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* BehaviorComp::AllocateFromPool() const { return ComponentPool<BehaviorComp>::Allocate(); }
bool BehaviorComp::IsPoolValid() const { return ComponentPool<BehaviorComp>::Query(); }
Component* BehaviorComp::AllocateCopyFromPool(const Component& source) const {
    BehaviorComp* copy = ComponentPool<BehaviorComp>::AllocateCopy(source);
    // Pool entries are reused through assignment, which leaves the entry's
    // own navigation data in place; a copy starts without any, as a copied
    // state machine does, so a new object never follows a dead one's path.
    copy->sm.path.clear();
    copy->sm.hasLineOfSight = false;
    copy->sm.pathPlanned = false;
    return copy;
}
