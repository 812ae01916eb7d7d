// ComponentPool<T>: the one process-wide pool of pre-built instances of the
// component kind T. Objects take entries (Allocate) and give them back by
// setting the entry's free flag; nothing is deleted while the program runs, so
// a pointer handed out stays valid for the whole run.
//
// Entry 0 is a sentinel: flagged as taken when the pool is first filled and
// never handed out while the pool is sound. The pool starts empty, fills 500
// entries on first use and grows by 100 whenever no entry is free.
//
// Lifetime: the pools are torn down after main returns, so a GameObject with
// static storage duration must not hold components (keep objects in the
// ObjectManager or as locals).
//
// Threads: any thread may allocate. Every operation here holds the pool's own
// recursive mutex for its whole length; there is no lock across pools. Giving
// an entry back (isFree = true) is a single atomic store without the lock.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "module.h"
#include "objects/component.h"
#include "system/source_position.h"
#include "system.h"

template <class T>
class ComponentPool {
public:
    static constexpr std::size_t kFirstFill = 500;
    static constexpr std::size_t kGrowthStep = 100;

    // One free entry, flagged as taken; the lowest free index wins.
    static T* Allocate() {
        std::lock_guard<std::recursive_mutex> guard(State().mutex);
        std::vector<T*>& pool = State().pool;
        if (pool.empty()) Construct();
        std::size_t i = FirstFree();
        if (i == pool.size()) Grow(pool.size() + kGrowthStep);
        if (i == 0) ReportSentinelTaken();
        pool[i]->isFree.store(false);
        return pool[i];
    }

    // Allocate and copy source in as one step under the lock, so the entry,
    // which CopyFrom flags free for a moment, is never seen free by another
    // thread. A source of another class (std::bad_cast) returns the entry.
    static T* AllocateCopy(const Component& source) {
        std::lock_guard<std::recursive_mutex> guard(State().mutex);
        T* entry = Allocate();
        try {
            entry->CopyFrom(source);
        } catch (...) {
            entry->isFree.store(true);
            throw;
        }
        entry->isFree.store(false);
        return entry;
    }

    // True when the pool is sound: never used, or entry 0 still taken.
    static bool Query() {
        std::lock_guard<std::recursive_mutex> guard(State().mutex);
        const std::vector<T*>& pool = State().pool;
        return pool.empty() || !pool[0]->isFree.load();
    }

    // Number of entries (0 until first use).
    static std::size_t Size() {
        std::lock_guard<std::recursive_mutex> guard(State().mutex);
        return State().pool.size();
    }

    // Entry i, or null past the end; for diagnostics and tests.
    static T* At(std::size_t i) {
        std::lock_guard<std::recursive_mutex> guard(State().mutex);
        const std::vector<T*>& pool = State().pool;
        return i < pool.size() ? pool[i] : nullptr;
    }

private:
    struct Storage {
        std::recursive_mutex mutex;
        std::vector<T*> pool;
        ~Storage() {
            for (T* entry : pool) delete entry;
        }
    };

    // Made on first use (thread-safe), so the pool exists before any global
    // that needs it; torn down after main.
    static Storage& State() {
        static Storage storage;
        return storage;
    }

    static std::size_t FirstFree() {
        const std::vector<T*>& pool = State().pool;
        std::size_t i = 0;
        while (i < pool.size() && !pool[i]->isFree.load()) ++i;
        return i;
    }

    static void Grow(std::size_t n) {
        std::vector<T*>& pool = State().pool;
        std::size_t oldSize = pool.size();
        pool.resize(n, nullptr);
        for (std::size_t i = oldSize; i < n; ++i) {
            pool[i] = new T();
            pool[i]->isFree.store(true);
        }
    }

    static void Construct() {
        std::vector<T*>& pool = State().pool;
        Grow(kFirstFill);
        pool[0]->isFree.store(false);
        System* system = Module<System>::Instance();
        if (pool.size() != kFirstFill) system->Error(SOURCE_POS + "assert failed!");
        system->Log("---");
        system->Log("constructing a new component pool");
        system->Log("pool[0]->componentIndex = " + std::to_string(pool[0]->componentIndex));
        system->Log("---");
    }

    // Entry 0 found free: someone gave back the sentinel. Logged; the caller
    // carries on with entry 0.
    static void ReportSentinelTaken() {
        const std::vector<T*>& pool = State().pool;
        System* system = Module<System>::Instance();
        system->Log("---");
        system->Log("pool.size() = " + std::to_string(pool.size()));
        system->Log("pool[i]->componentIndex = " + std::to_string(pool[0]->componentIndex));
        system->Error(SOURCE_POS + "invalid pool index!");
    }
};

// PooledComponent's operations (objects/component.h), for every kind.

template <class T, CompIndex::Entry kIndex>
Component* PooledComponent<T, kIndex>::Clone() const {
    return new T(static_cast<const T&>(*this));
}

// A checked cast (std::bad_cast for another class), the kind's own
// assignment, then the free flag set.
template <class T, CompIndex::Entry kIndex>
void PooledComponent<T, kIndex>::CopyFrom(const Component& other) {
    T& target = static_cast<T&>(*this);
    const T& typed = dynamic_cast<const T&>(other);
    if (&typed != &target) target = typed;
    target.isFree.store(true);
}

template <class T, CompIndex::Entry kIndex>
Component* PooledComponent<T, kIndex>::AllocateFromPool() const {
    return ComponentPool<T>::Allocate();
}

template <class T, CompIndex::Entry kIndex>
bool PooledComponent<T, kIndex>::IsPoolValid() const {
    return ComponentPool<T>::Query();
}

template <class T, CompIndex::Entry kIndex>
Component* PooledComponent<T, kIndex>::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<T>::AllocateCopy(source);
}
