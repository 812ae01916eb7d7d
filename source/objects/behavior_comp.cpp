#include "objects/behavior_comp.h"

#include "component_pool.h"

Component* BehaviorComp::AllocateCopyFromPool(const Component& source) const {
    Component* copy = PooledComponent::AllocateCopyFromPool(source);
    // Pool entries are reused through assignment, which leaves the entry's
    // own navigation data in place; a copy starts without any, as a copied
    // state machine does, so a new object never follows a dead one's path.
    FSMStateMachine& machine = static_cast<BehaviorComp*>(copy)->sm;
    machine.path.clear();
    machine.hasLineOfSight = false;
    machine.pathPlanned = false;
    return copy;
}
