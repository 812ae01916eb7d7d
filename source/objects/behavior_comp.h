// BehaviorComp: an object's behaviour, a stack of states held by value.
// Copying the component clones the states (FSMStateMachine copy rules). A plain
// value under the object lock like every component (component.h).
#pragma once

#include "aistuff/fsm.h"
#include "objects/component.h"

class BehaviorComp : public PooledComponent<BehaviorComp, CompIndex::Behavior> {
public:
    // A copy starts without the source's navigation data (see the .cpp).
    Component* AllocateCopyFromPool(const Component& source) const override;

    FSMStateMachine sm;
};
