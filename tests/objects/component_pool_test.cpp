// Component pools and the prototype list. Each test uses its own component
// kind, so the process-wide pools start in a known state whichever order the
// tests run in.
#include <gtest/gtest.h>

#include <typeinfo>

#include "component_list.h"
#include "component_pool.h"
#include "objects/components.h"
#include "support/log_capture.h"

namespace {

using test_support::LogCapture;

TEST(ComponentPool, FirstAllocationFillsFiveHundredAndLogsItsBlockOnce) {
    using Pool = ComponentPool<ExplosionComp>;
    ASSERT_EQ(0u, Pool::Size());
    EXPECT_TRUE(Pool::Query()) << "a pool never used is sound";

    LogCapture log;
    ExplosionComp* first = Pool::Allocate();
    ExplosionComp* second = Pool::Allocate();

    EXPECT_EQ(500u, Pool::Size());
    EXPECT_EQ(Pool::At(1), first);
    EXPECT_EQ(Pool::At(2), second);
    EXPECT_FALSE(first->isFree);
    EXPECT_FALSE(Pool::At(0)->isFree) << "entry 0 is the taken sentinel";
    EXPECT_TRUE(Pool::At(3)->isFree);
    EXPECT_TRUE(Pool::Query());
    EXPECT_EQ(1, log.Count("---\nconstructing a new component pool\npool[0]->componentIndex = 5\n---\n"));
}

TEST(ComponentPool, HandsOutTheLowestFreeEntryAgain) {
    using Pool = ComponentPool<BulletComp>;
    BulletComp* a = Pool::Allocate();
    BulletComp* b = Pool::Allocate();
    BulletComp* c = Pool::Allocate();
    ASSERT_EQ(Pool::At(1), a);

    a->isFree = true;
    EXPECT_EQ(a, Pool::Allocate());

    c->isFree = true;
    b->isFree = true;
    EXPECT_EQ(b, Pool::Allocate());
    EXPECT_EQ(c, Pool::Allocate());
    EXPECT_EQ(Pool::At(4), Pool::Allocate());
}

TEST(ComponentPool, GrowsByOneHundredOnlyWhenEveryEntryIsTaken) {
    using Pool = ComponentPool<SpawnComp>;
    for (int i = 1; i <= 499; ++i) ASSERT_EQ(Pool::At(i), Pool::Allocate()) << i;
    ASSERT_EQ(500u, Pool::Size());

    SpawnComp* grown = Pool::Allocate();
    EXPECT_EQ(600u, Pool::Size());
    EXPECT_EQ(Pool::At(500), grown);
    EXPECT_EQ(CompIndex::Spawn, grown->componentIndex);

    for (int i = 501; i <= 599; ++i) ASSERT_EQ(Pool::At(i), Pool::Allocate()) << i;
    EXPECT_EQ(600u, Pool::Size());
    EXPECT_EQ(Pool::At(600), Pool::Allocate());
    EXPECT_EQ(700u, Pool::Size());
    EXPECT_TRUE(Pool::Query());
}

TEST(ComponentPool, ASentinelGivenBackIsReportedAndThenHandedOut) {
    using Pool = ComponentPool<BillboardComp>;
    Pool::Allocate();
    Pool::At(0)->isFree = true;
    EXPECT_FALSE(Pool::Query());

    LogCapture log;
    BillboardComp* entry = Pool::Allocate();
    EXPECT_EQ(Pool::At(0), entry);
    EXPECT_TRUE(log.Has("---\npool.size() = 500\npool[i]->componentIndex = 2\n"));
    EXPECT_TRUE(log.Has("invalid pool index!"));
    EXPECT_TRUE(Pool::Query()) << "entry 0 is taken again";
}

TEST(ComponentPool, AllocateCopyFillsAnEntryThatStaysTaken) {
    using Pool = ComponentPool<StatsComp>;
    StatsComp source(100, 5.0f, 2.0f, 50.0f, 3);
    source.isFree = false;  // as if held by another object

    StatsComp* entry = Pool::AllocateCopy(source);
    EXPECT_FALSE(entry->isFree);
    EXPECT_EQ(100, entry->hp);
    EXPECT_FLOAT_EQ(50.0f, entry->bp);
    EXPECT_NE(static_cast<Component*>(&source), entry);
}

TEST(ComponentPool, AllocateCopyOfAnotherKindThrowsAndReturnsTheEntry) {
    using Pool = ComponentPool<PickupComp>;
    PhysicsComp wrongKind;
    EXPECT_THROW(Pool::AllocateCopy(wrongKind), std::bad_cast);
    EXPECT_TRUE(Pool::At(1)->isFree) << "the entry went back to the pool";
    EXPECT_EQ(Pool::At(1), Pool::Allocate());
}

TEST(ComponentList, NumbersOutsideOneToElevenAreCorrupt) {
    LogCapture log;
    ComponentList* list = ComponentList::Instance();
    EXPECT_EQ(nullptr, list->Get(0));
    EXPECT_EQ(nullptr, list->Get(12));
    EXPECT_EQ(nullptr, list->Get(-1));
    EXPECT_EQ(3, log.Count("Corrupt component."));

    Component* explosion = list->Get(5);
    ASSERT_NE(nullptr, explosion);
    EXPECT_EQ(CompIndex::Explosion, explosion->componentIndex);
    EXPECT_NE(nullptr, dynamic_cast<ExplosionComp*>(explosion));
}

TEST(ComponentList, EachPrototypeIsAFreeInstanceOfItsKindReachingItsOwnPool) {
    ComponentList* list = ComponentList::Instance();
    for (int t = 1; t <= 11; ++t) {
        Component* prototype = list->Get(t);
        ASSERT_NE(nullptr, prototype) << t;
        EXPECT_EQ(t, prototype->componentIndex);
        EXPECT_TRUE(prototype->isFree) << t;
        Component* entry = prototype->AllocateFromPool();
        EXPECT_EQ(typeid(*prototype), typeid(*entry)) << t;
        EXPECT_NE(prototype, entry);
        EXPECT_FALSE(entry->isFree);
        entry->isFree = true;
        EXPECT_TRUE(prototype->IsPoolValid());
    }
}

}  // namespace
