// BehaviorComp: an object's behaviour, a stack of states held by value.
// Copying the component clones the states (FSMStateMachine copy rules). A plain
// value under the object lock like every component (component.h).
#pragma once

#include "aistuff/fsm.h"
#include "objects/component.h"

class BehaviorComp : public Component {
public:
    BehaviorComp();

    Component* Clone() const override;
    void CopyFrom(const Component& other) override;
    Component* AllocateFromPool() const override;
    bool IsPoolValid() const override;
    Component* AllocateCopyFromPool(const Component& source) const override;

    FSMStateMachine sm;
};
