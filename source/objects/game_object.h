// GameObject: the entity of the world. A plain value with a name, a number, a
// rigid transform, a few flags and one slot per component kind. The object
// owns the components in its slots: they come from the kinds' pools, copying an
// object puts copies of its components into fresh pool entries, and
// destroying it hands them back (nothing is deleted).
//
// Threads: no lock of its own. Objects stored in the ObjectManager are read
// and changed under the object lock; a local object belongs to the thread that
// builds it. Attaching takes the kind's pool lock.
#pragma once

#include <cstdint>
#include <string>

#include "geom/geom.h"
#include "objects/component.h"

class BehaviorComp;
class CollisionComp;
class GraphicsComp;
class PhysicsComp;
class StatsComp;
class WeaponComp;

class GameObject {
public:
    // The player's object: the enemies hunt it, the sound listener stands at
    // it and its weapons' shots are counted. Scripts and levels use the text.
    static constexpr const char* kPlayerName = "player";

    GameObject();
    explicit GameObject(const std::string& name);
    // A live copy (isDead false) owning pooled copies of other's components.
    GameObject(const GameObject& other);
    // Returns this object's components, then copies other like the copy
    // constructor, except that this object's offset is kept. Assigning an
    // object to itself changes nothing.
    GameObject& operator=(const GameObject& other);
    ~GameObject();

    // Attaches a pooled copy of comp. Logged and ignored when comp's type
    // number is outside 1..11 ("Corrupt component.") or the slot is taken
    // ("tried to attach a duplicate component"; the held component stays).
    void AttachComponent(const Component& comp);
    // The component in slot index, or null (also for an index outside 0..11).
    Component* GetComponent(CompIndex::Entry index) const;
    bool HasComp(CompIndex::Entry index) const;

    // Typed slot access; null when the object has no such component.
    BehaviorComp* GetBehaviorComp() const;
    CollisionComp* GetCollisionComp() const;
    GraphicsComp* GetGraphicsComp() const;
    PhysicsComp* GetPhysicsComp() const;
    StatsComp* GetStatsComp() const;
    WeaponComp* GetWeaponComp() const;

    // Object space to world space (rotation by rot, then translation by trans).
    Matrix GetMatrix() const;
    // World space to object space.
    Matrix GetInvMatrix() const;

    bool isLevelObject = false;
    std::string name;
    uint32_t objNum = 0;
    std::string patternName;
    Vector trans;
    Quaternion rot{1.0f};
    bool isDead = false;
    float offset = 0.0f;  // hover height above the ground

private:
    void CopyIdentityFrom(const GameObject& other);
    void AttachCopiesOf(const GameObject& other);
    void ReleaseComponents();

    Component* slots[CompIndex::kSlotCount] = {};
};
