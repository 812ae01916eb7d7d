// EventManager with several threads: publishers on their own threads while
// the main thread polls, updates and another thread routes by polling; every
// sender's events must reach the addressee complete and in order.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "event_manager.h"
#include "platform/clock.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }
EventManager& Manager() { return *Module<EventManager>::Instance(); }

const char* const kSeq = "seq";
const int kPerPublisher = 3000;

std::atomic<int> publishersDone{0};

void PublishSequence(const std::string& from, const std::string& to) {
    for (int i = 0; i < kPerPublisher; ++i) {
        Event event(from, to, "Numbered");
        event.SetParam<int>(kSeq, i);
        Manager().PublishEvent(event);
    }
    ++publishersDone;
}

// Per sender, the sequence numbers received so far; fails on a gap or a swap.
class OrderChecker {
public:
    void Take(const std::deque<Event>& batch) {
        for (const Event& event : batch) {
            int& next = expected[event.from];
            ASSERT_EQ(event.GetParam<int>(kSeq), next) << "from " << event.from;
            ++next;
        }
    }
    int Received(const std::string& from) { return expected[from]; }

private:
    std::map<std::string, int> expected;
};

class EventManagerThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        Sys();  // created on the main thread before any other thread runs
        Sys().running.store(false);  // errors stay in the log text, no error-log file
        Sys().Pause(false);
        platform::SetClockTime(10.0);
        publishersDone.store(0);
        Manager().Kill();
        Manager().Init();
        Manager().RegisterClient("Sink");
        Manager().RegisterClient("Other");
    }
};

}  // namespace

TEST_F(EventManagerThreadTest, EachSendersEventsArriveCompleteAndInOrder) {
    std::atomic<bool> publishing{true};
    std::thread first(PublishSequence, "P1", "Sink");
    std::thread second(PublishSequence, "P2", "Sink");
    std::thread noise(PublishSequence, "P3", "Other");
    // Polls of another client route Sink's events concurrently.
    std::thread router([&publishing] {
        OrderChecker other;
        while (publishing.load()) other.Take(Manager().PollEvents("Other"));
        other.Take(Manager().PollEvents("Other"));
        EXPECT_EQ(other.Received("P3"), kPerPublisher);
    });

    // Poll while publishing goes on, then once more after it has ended.
    OrderChecker sink;
    while (publishersDone.load() < 3 && !HasFatalFailure()) {
        sink.Take(Manager().PollEvents("Sink"));
        Manager().Update();
    }
    sink.Take(Manager().PollEvents("Sink"));
    first.join();
    second.join();
    noise.join();
    publishing.store(false);
    router.join();
    EXPECT_EQ(sink.Received("P1"), kPerPublisher);
    EXPECT_EQ(sink.Received("P2"), kPerPublisher);
    EXPECT_TRUE(Manager().PollEvents("Sink").empty());
}

TEST_F(EventManagerThreadTest, TimedEventsFromAnotherThreadJoinTheOrderWhenReleased) {
    const double now = Sys().GetTime(true);
    std::atomic<bool> done{false};
    std::thread publisher([now, &done] {
        for (int i = 0; i < kPerPublisher; ++i) {
            Event event("Timer", "Sink", "Numbered");
            event.SetParam<int>(kSeq, i);
            event.triggers = (i % 2 == 0);
            event.triggerTime = now - 1.0;  // due at the next Update
            Manager().PublishEvent(event);
        }
        done.store(true);
    });
    // Immediate and timed events of one sender each stay in their own order.
    std::map<bool, int> next;
    int received = 0;
    auto take = [&](const std::deque<Event>& batch) {
        for (const Event& event : batch) {
            int seq = event.GetParam<int>(kSeq);
            bool timed = event.triggers;
            EXPECT_EQ(seq % 2 == 0, timed);
            EXPECT_EQ(seq, next[timed] * 2 + (timed ? 0 : 1));
            ++next[timed];
            ++received;
        }
    };
    while (!done.load() && !HasFailure()) {
        take(Manager().PollEvents("Sink"));
        Manager().Update();
    }
    publisher.join();
    Manager().Update();
    take(Manager().PollEvents("Sink"));
    EXPECT_EQ(received, kPerPublisher);
}

TEST_F(EventManagerThreadTest, RegistrationFromThreadsKeepsTheManagerConsistent) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            const std::string name = "Worker" + std::to_string(t);
            for (int i = 0; i < 200; ++i) {
                Manager().RegisterClient(name);
                Manager().PublishEvent(Event(name, name, "Self"));
                Manager().PollEvents(name);
                Manager().UnregisterClient(name);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    const std::string log = Sys().GetLogText();
    EXPECT_EQ(log.find("duplicate client found!\n", 0), std::string::npos);
    EXPECT_EQ(log.find("client not found!"), std::string::npos);
    Manager().PublishEvent(Event("main", "Sink", "after"));
    EXPECT_EQ(Manager().PollEvents("Sink").size(), 1u);
}
