// EventManager on one thread: delivery order, timed and expiring events with
// the pause-aware clocks, client registration and its log lines.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "event_manager.h"
#include "platform/clock.h"
#include "support/log_capture.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }
EventManager& Manager() { return *Module<EventManager>::Instance(); }

// The log lines written since the fixture's start.
class EventManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Sys().Pause(false);
        platform::SetClockTime(1000.0);
        Manager().Kill();
        Manager().Init();
        Manager().RegisterClient("X");
        Manager().RegisterClient("Y");
        newLog.Restart();
    }

    void TearDown() override { Sys().Pause(false); }

    static Event To(const std::string& to, const std::string& type) {
        Event event("test", to, type);
        return event;
    }

    static Event Timed(const std::string& to, const std::string& type, double at) {
        Event event("test", to, type);
        event.triggers = true;
        event.triggerTime = at;
        return event;
    }

    static Event Expiring(const std::string& to, const std::string& type, double at) {
        Event event("test", to, type);
        event.expires = true;
        event.expireTime = at;
        return event;
    }

    static std::vector<std::string> Types(const std::deque<Event>& batch) {
        std::vector<std::string> types;
        for (const Event& event : batch) types.push_back(event.eventType);
        return types;
    }

    static std::vector<std::string> Poll(const std::string& client) {
        return Types(Manager().PollEvents(client));
    }

    using Names = std::vector<std::string>;
    test_support::LogCapture newLog;
};

}  // namespace

TEST_F(EventManagerTest, ImmediateEventsArriveInPublishingOrder) {
    Manager().PublishEvent(To("Y", "A"));
    Manager().PublishEvent(To("X", "other"));
    Manager().PublishEvent(To("Y", "B"));
    Manager().PublishEvent(To("Y", "C"));
    EXPECT_EQ(Poll("Y"), (Names{"A", "B", "C"}));
    EXPECT_EQ(Poll("Y"), Names{});
    EXPECT_EQ(Poll("X"), Names{"other"});
}

TEST_F(EventManagerTest, LaterRoutingPassNeverOvertakesAnUnpolledEvent) {
    Manager().PublishEvent(To("Y", "first"));
    EXPECT_EQ(Poll("X"), Names{});  // routes "first" into Y's queue
    Manager().PublishEvent(To("Y", "second"));
    Manager().PublishEvent(To("X", "x1"));
    EXPECT_EQ(Poll("X"), Names{"x1"});  // routes "second" behind it
    Manager().PublishEvent(To("Y", "third"));
    EXPECT_EQ(Poll("Y"), (Names{"first", "second", "third"}));
}

TEST_F(EventManagerTest, PublishedEventIsACopy) {
    Event event = To("Y", "Game Message");
    event.SetParam<int>("number", 5);
    Manager().PublishEvent(event);
    event.eventType = "changed";
    event.SetParam<int>("health", 1);
    std::deque<Event> batch = Manager().PollEvents("Y");
    ASSERT_EQ(batch.size(), 1u);
    EXPECT_EQ(batch[0].eventType, "Game Message");
    EXPECT_EQ(batch[0].GetParam<int>("number"), 5);
    EXPECT_FALSE(batch[0].Has("health"));
}

TEST_F(EventManagerTest, TimedEventWaitsForTheUpdateThatReachesItsTime) {
    const double now = Sys().GetTime(true);
    Manager().PublishEvent(Timed("Y", "later", now + 5.0));
    Manager().PublishEvent(Timed("Y", "due", now - 1.0));
    Manager().PublishEvent(To("Y", "immediate"));
    // Nothing timed goes out before an Update, even when already due.
    EXPECT_EQ(Poll("Y"), Names{"immediate"});

    Manager().PublishEvent(To("Y", "before update"));
    Manager().Update();
    Manager().PublishEvent(To("Y", "after update"));
    EXPECT_EQ(Poll("Y"), (Names{"before update", "due", "after update"}));

    Manager().Update();
    EXPECT_EQ(Poll("Y"), Names{});
    platform::SetClockTime(now + 5.0);
    Manager().Update();
    EXPECT_EQ(Poll("Y"), Names{"later"});
}

TEST_F(EventManagerTest, TimedEventsDueTogetherKeepTheirPublishingOrder) {
    const double now = Sys().GetTime(true);
    Manager().PublishEvent(Timed("Y", "t1", now + 3.0));
    Manager().PublishEvent(Timed("Y", "t2", now + 2.0));
    Manager().PublishEvent(Timed("Y", "t3", now + 4.0));
    Manager().PublishEvent(Timed("Y", "t4", now + 1.0));
    platform::SetClockTime(now + 3.5);
    Manager().Update();
    EXPECT_EQ(Poll("Y"), (Names{"t1", "t2", "t4"}));
    platform::SetClockTime(now + 4.5);
    Manager().Update();
    EXPECT_EQ(Poll("Y"), Names{"t3"});
}

TEST_F(EventManagerTest, PausedGameStillReleasesTimedEventsByTheRunningTimer) {
    Sys().Pause(true);
    const double frozen = Sys().GetTime(false);
    Manager().PublishEvent(Timed("Y", "tick", frozen + 5.0));
    Manager().Update();
    EXPECT_EQ(Poll("Y"), Names{});
    platform::SetClockTime(frozen + 6.0);
    ASSERT_EQ(Sys().GetTime(false), frozen);  // the game clock stands still
    Manager().Update();
    EXPECT_EQ(Poll("Y"), Names{"tick"});
}

TEST_F(EventManagerTest, ExpiringEventGoesToEveryPollOfItsAddresseeOnly) {
    const double now = Sys().GetTime(false);
    Manager().PublishEvent(Expiring("X", "banner", now + 2.0));
    Manager().PublishEvent(To("X", "plain"));
    EXPECT_EQ(Poll("Y"), Names{});
    EXPECT_EQ(Poll("X"), (Names{"banner", "plain"}));
    Manager().Update();
    Manager().PublishEvent(To("X", "newer"));
    EXPECT_EQ(Poll("X"), (Names{"banner", "newer"}));
    platform::SetClockTime(now + 1.5);
    Manager().Update();
    EXPECT_EQ(Poll("X"), Names{"banner"});
    EXPECT_EQ(Poll("Y"), Names{});
    EXPECT_EQ(Poll("BROADCAST"), Names{});

    platform::SetClockTime(now + 2.5);
    EXPECT_EQ(Poll("X"), Names{});
    EXPECT_EQ(Poll("X"), Names{});
    EXPECT_EQ(Poll("Y"), Names{});
}

TEST_F(EventManagerTest, ExpiryFollowsTheFrozenClockWhilePaused) {
    const double now = Sys().GetTime(false);
    Manager().PublishEvent(Expiring("X", "hint", now + 2.0));
    Manager().PublishEvent(Expiring("Y", "unpolled", now + 2.0));
    EXPECT_EQ(Poll("X"), Names{"hint"});  // both now wait in their client's queue
    Sys().Pause(true);
    platform::SetClockTime(now + 10.0);  // real time runs on, the game's does not
    Manager().Update();
    EXPECT_EQ(Poll("X"), Names{"hint"});
    EXPECT_EQ(Poll("X"), Names{"hint"});

    Sys().Pause(false);  // the clock resumes from the pause time
    platform::SetClockTime(now + 3.0);
    Manager().Update();  // drops the expired event nobody polled
    EXPECT_EQ(Poll("X"), Names{});
    EXPECT_EQ(Poll("Y"), Names{});
}

TEST_F(EventManagerTest, ExpiringTimedEventStartsAtItsTriggerAndEndsAtItsExpiry) {
    const double now = Sys().GetTime(true);
    Event event = Timed("X", "window", now + 1.0);
    event.expires = true;
    event.expireTime = now + 3.0;
    Manager().PublishEvent(event);
    Manager().Update();
    EXPECT_EQ(Poll("X"), Names{});
    platform::SetClockTime(now + 2.0);
    Manager().Update();
    EXPECT_EQ(Poll("X"), Names{"window"});
    EXPECT_EQ(Poll("X"), Names{"window"});
    platform::SetClockTime(now + 3.0);
    EXPECT_EQ(Poll("X"), Names{});
}

TEST_F(EventManagerTest, UnknownAddresseeCollectsUntilItRegisters) {
    Manager().PublishEvent(To("Ghost", "early"));
    EXPECT_EQ(Poll("X"), Names{});
    Manager().RegisterClient("Ghost");
    Manager().PublishEvent(To("Ghost", "late"));
    EXPECT_EQ(Poll("Ghost"), Names{"late"});
    EXPECT_EQ(Poll("NeverRegistered"), Names{});
    EXPECT_EQ(newLog.Text(), "");
}

TEST_F(EventManagerTest, DuplicateRegistrationLogsOnceAndKillStaysQuiet) {
    Manager().PublishEvent(To("Y", "dropped by re-registering"));
    EXPECT_EQ(Poll("X"), Names{});
    Manager().RegisterClient("Y");
    std::string log = newLog.Text();
    EXPECT_EQ(test_support::CountOf(log, "RegisterClient: duplicate client found!\n"), 1);
    EXPECT_NE(log.find("ERROR: event_manager.cpp:"), std::string::npos);
    EXPECT_EQ(Poll("Y"), Names{});

    Manager().RegisterClient("BROADCAST");
    EXPECT_EQ(newLog.Count("duplicate client found!"), 2);

    // Both entries of each name go away one at a time, without a warning.
    newLog.Restart();
    Manager().Kill();
    EXPECT_EQ(newLog.Text(), "");
}

TEST_F(EventManagerTest, UnregisteringAnUnknownNameLogsAndChangesNothing) {
    Manager().UnregisterClient("EventManager");  // the manager never registers itself
    std::string log = newLog.Text();
    EXPECT_NE(log.find("name = EventManager\n"), std::string::npos);
    EXPECT_NE(log.find("WARNING: event_manager.cpp:"), std::string::npos);
    EXPECT_NE(log.find("UnregisterClient: client not found!\n"), std::string::npos);
    EXPECT_LT(log.find("name = EventManager"), log.find("UnregisterClient: client not found!"));

    Manager().PublishEvent(To("Y", "still works"));
    EXPECT_EQ(Poll("Y"), Names{"still works"});
    Manager().UnregisterClient("Y");
    EXPECT_EQ(newLog.Count("client not found!"), 1);
}

TEST_F(EventManagerTest, UnregisterDropsTheQueueAndKillEmptiesEverything) {
    const double now = Sys().GetTime(true);
    Manager().PublishEvent(To("X", "pending"));
    EXPECT_EQ(Poll("Y"), Names{});
    Manager().UnregisterClient("X");
    EXPECT_EQ(Poll("X"), Names{});

    Manager().PublishEvent(To("Y", "queued"));
    Manager().PublishEvent(Timed("Y", "timed", now - 1.0));
    Manager().PublishEvent(Expiring("Y", "expiring", now + 100.0));
    Manager().Kill();
    Manager().Init();
    Manager().Update();
    EXPECT_EQ(Poll("Y"), Names{});
    // Kill unregistered everything: Y is unknown now, BROADCAST is back.
    Manager().UnregisterClient("Y");
    EXPECT_EQ(newLog.Count("client not found!"), 1);
    Manager().RegisterClient("BROADCAST");
    EXPECT_EQ(newLog.Count("duplicate client found!"), 1);
}
