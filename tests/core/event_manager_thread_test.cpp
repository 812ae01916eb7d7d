// EventManager with several threads: publishers on their own threads while
// the main thread polls and updates and another thread routes by polling;
// every sender's events must reach the addressee complete and in order.
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

const int kPerPublisher = 3000;

// Per sender and kind (timed or not), how many arrived; each must be the
// next of its sequence ("Timer" interleaves timed evens and immediate odds).
struct OrderChecker {
    std::map<std::string, int> count;
    int received = 0;
    void Take(const std::deque<Event>& batch) {
        for (const Event& event : batch) {
            const std::string key = event.from + (event.triggers ? "/timed" : "");
            int& n = count[key];
            const int expected = event.from != "Timer" ? n : 2 * n + (event.triggers ? 0 : 1);
            ASSERT_EQ(event.GetParam<int>("seq"), expected) << key;
            ++n;
            ++received;
        }
    }
};

// "Timer" sends every even-numbered event as a timed one, due at once.
void PublishSequence(const std::string& from, const std::string& to, std::atomic<int>& done) {
    for (int i = 0; i < kPerPublisher; ++i) {
        Event event(from, to, "Numbered");
        event.SetParam<int>("seq", i);
        event.triggers = from == "Timer" && i % 2 == 0;
        event.triggerTime = Sys().GetTime(true) - 1.0;
        Manager().PublishEvent(event);
    }
    ++done;
}

TEST(EventManagerThreads, EachSendersEventsArriveCompleteAndInOrder) {
    Sys().running.store(false);  // made on this thread first; errors stay in the log text
    Sys().Pause(false);
    platform::SetClockTime(10.0);
    Manager().Kill();
    Manager().Init();
    for (const char* client : {"Sink", "Other"}) Manager().RegisterClient(client);

    std::atomic<int> done{0};
    std::vector<std::thread> publishers;
    for (const char* from : {"P1", "P2", "Timer"}) publishers.emplace_back(PublishSequence, from, "Sink", std::ref(done));
    publishers.emplace_back(PublishSequence, "P3", "Other", std::ref(done));
    std::thread router([&done] {  // polls of another client route Sink's events
        OrderChecker other;
        while (done.load() < 4) other.Take(Manager().PollEvents("Other"));
        other.Take(Manager().PollEvents("Other"));
        EXPECT_EQ(other.received, kPerPublisher);
    });

    OrderChecker sink;
    while (done.load() < 4 && !testing::Test::HasFatalFailure()) {
        sink.Take(Manager().PollEvents("Sink"));
        Manager().Update();
    }
    for (std::thread& thread : publishers) thread.join();
    router.join();
    Manager().Update();
    sink.Take(Manager().PollEvents("Sink"));
    EXPECT_TRUE(sink.received == (3 * kPerPublisher) && sink.count["P2"] == kPerPublisher);
    EXPECT_EQ(sink.count["Timer/timed"], kPerPublisher / 2);
}

}  // namespace
