// Component: the polymorphic base of the eleven component kinds, and the type
// numbers that index a GameObject's slots.
//
// A component is a value that lives in its kind's pool (component_pool.h) and
// changes hands through its free flag: true while idle in the pool or standing
// alone, false while a game object holds it. Components have no lock of their
// own; one held by a game object is guarded by the object lock like the object.
// The free flag is atomic because pools hand entries out on several threads.
#pragma once

#include <atomic>
#include <cstdint>

// Type numbers; 0 is never a component, so 1..11 index the object's 12 slots.
struct CompIndex {
    enum Entry : int32_t {
        None = 0, Behavior = 1, Billboard = 2, Bullet = 3, Collision = 4, Explosion = 5,
        Graphics = 6, Physics = 7, Stats = 8, Weapon = 9, Spawn = 10, Pickup = 11,
    };
    static constexpr int kFirst = 1;
    static constexpr int kLast = 11;
    static constexpr int kSlotCount = 12;

    static bool IsValid(int index) { return index >= kFirst && index <= kLast; }
};

class Component {
public:
    explicit Component(CompIndex::Entry index) : componentIndex(index) {}
    // Copies the type number and the free flag (every kind's copy does).
    Component(const Component& other);
    Component& operator=(const Component& other);
    virtual ~Component() = default;

    // A new heap copy made with the kind's copy constructor; the caller owns it.
    virtual Component* Clone() const = 0;
    // Copies every field of other (which must be of this kind, else
    // std::bad_cast), then sets this instance's free flag to true.
    virtual void CopyFrom(const Component& other) = 0;
    // An entry of this kind's pool, already flagged as taken. The instance it
    // is called on only chooses the kind.
    virtual Component* AllocateFromPool() const = 0;
    // Whether this kind's pool is sound (empty, or its entry 0 still taken).
    virtual bool IsPoolValid() const = 0;
    // Allocate, CopyFrom(source) and clear the free flag as one step under the
    // pool's lock, so no other thread can take the entry while CopyFrom has
    // flagged it free. On std::bad_cast the entry goes back to the pool.
    virtual Component* AllocateCopyFromPool(const Component& source) const = 0;

    CompIndex::Entry componentIndex;
    std::atomic<bool> isFree{true};
};

// The copy and pool operations that every kind shares, written once: a kind
// T derives from PooledComponent<T, its type number> and holds only its own
// fields. The operations are defined in component_pool.h and instantiated for
// the eleven kinds in component.cpp.
template <class T, CompIndex::Entry kIndex>
class PooledComponent : public Component {
public:
    PooledComponent() : Component(kIndex) {}

    Component* Clone() const override;
    void CopyFrom(const Component& other) override;
    Component* AllocateFromPool() const override;
    bool IsPoolValid() const override;
    Component* AllocateCopyFromPool(const Component& source) const override;
};
