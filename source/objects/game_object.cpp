#include "objects/game_object.h"

#include "component_list.h"
#include "objects/components.h"
#include "system/source_position.h"
#include "system.h"

GameObject::GameObject() = default;

GameObject::GameObject(const std::string& name) : name(name) {}

GameObject::GameObject(const GameObject& other) : offset(other.offset) {
    CopyIdentityFrom(other);
    AttachCopiesOf(other);
}

GameObject& GameObject::operator=(const GameObject& other) {
    if (this == &other) return *this;
    ReleaseComponents();
    CopyIdentityFrom(other);
    AttachCopiesOf(other);
    return *this;
}

GameObject::~GameObject() {
    ComponentList* list = ComponentList::Instance();
    for (int t = CompIndex::kFirst; t <= CompIndex::kLast; ++t) {
        if (!list->Get(t)->IsPoolValid())
            Module<System>::Instance()->Error(SOURCE_POS + "invalid pool!");
    }
    ReleaseComponents();
}

// Everything but the slots and offset; the copy is alive.
void GameObject::CopyIdentityFrom(const GameObject& other) {
    name = other.name;
    objNum = other.objNum;
    patternName = other.patternName;
    trans = other.trans;
    rot = other.rot;
    isLevelObject = other.isLevelObject;
    isDead = false;
}

void GameObject::AttachCopiesOf(const GameObject& other) {
    for (Component* comp : other.slots)
        if (comp) AttachComponent(*comp);
}

// Hands every held component back to its pool and empties the slots.
void GameObject::ReleaseComponents() {
    for (Component*& comp : slots) {
        if (comp) comp->isFree.store(true);
        comp = nullptr;
    }
}

void GameObject::AttachComponent(const Component& comp) {
    const int t = comp.componentIndex;
    System* system = Module<System>::Instance();
    if (!CompIndex::IsValid(t)) {
        system->Error(SOURCE_POS + "Corrupt component.");
        return;
    }
    if (slots[t]) {
        system->Log("this->name = " + name);
        system->Log("comp.componentIndex = " + std::to_string(t));
        system->Error(SOURCE_POS + "tried to attach a duplicate component");
        return;
    }
    slots[t] = ComponentList::Instance()->Get(t)->AllocateCopyFromPool(comp);
}

Component* GameObject::GetComponent(CompIndex::Entry index) const {
    const int i = index;
    return (i >= 0 && i < CompIndex::kSlotCount) ? slots[i] : nullptr;
}

bool GameObject::HasComp(CompIndex::Entry index) const { return GetComponent(index) != nullptr; }

BehaviorComp* GameObject::GetBehaviorComp() const {
    return static_cast<BehaviorComp*>(slots[CompIndex::Behavior]);
}
CollisionComp* GameObject::GetCollisionComp() const {
    return static_cast<CollisionComp*>(slots[CompIndex::Collision]);
}
GraphicsComp* GameObject::GetGraphicsComp() const {
    return static_cast<GraphicsComp*>(slots[CompIndex::Graphics]);
}
PhysicsComp* GameObject::GetPhysicsComp() const {
    return static_cast<PhysicsComp*>(slots[CompIndex::Physics]);
}
StatsComp* GameObject::GetStatsComp() const { return static_cast<StatsComp*>(slots[CompIndex::Stats]); }
WeaponComp* GameObject::GetWeaponComp() const {
    return static_cast<WeaponComp*>(slots[CompIndex::Weapon]);
}

Matrix GameObject::GetMatrix() const { return QuatVecToMatrix(rot, trans); }

Matrix GameObject::GetInvMatrix() const { return InvQuatVecToMatrix(rot, trans); }
