// Events on one thread: the Event record, EventManager delivery with timed
// and expiring events and client messages, and the Module<T> helpers.
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "event_manager/event.h"
#include "event_manager.h"
#include "event_manager/self_checks.h"
#include "platform/clock.h"
#include "support/log_capture.h"
#include "system.h"

namespace {

enum class Colour { Red, Green };
enum class Shape { Round, Square };

// The read must throw E with `what` as its text and name the key.
template <class E, class Read>
void ExpectParamError(Read read, const std::string& key, const char* what) {
    try {
        read();
        ADD_FAILURE() << "reading " << key << " must throw";
    } catch (const E& error) {
        EXPECT_STREQ(error.what(), what);
        const auto* param = dynamic_cast<const EventParamError*>(&error);
        ASSERT_NE(param, nullptr);
        EXPECT_EQ(param->ParamKey(), key);
    }
}

TEST(EventParams, FirstValueStaysAndWrongReadsThrowNamingTheKey) {
    Event event;
    event.SetParam<int>("volume", 40);
    event.SetParam<int>("volume", 80);
    event.SetParam<float>("volume", 1.0f);  // another type is ignored too
    event.SetString("name", "first");
    event.SetString("name", "second");
    event.SetVector("v", Vector(1.0f, -2.0f, 3.0f, 4.0f));
    event.SetQuaternion("q", Quaternion(0.5f, Vector(0.1f, 0.2f, 0.3f, 0.4f)));
    event.SetParam<Colour>("state", Colour::Green);
    event.SetParam<unsigned int>("objNum", 7u);
    EXPECT_TRUE(event.GetParam<int>("volume") == 40 && event.GetString("name") == "first");
    EXPECT_TRUE(event.GetVector("v").w == 4.0f && event.GetQuaternion("q").v.w == 0.4f);
    EXPECT_TRUE(event.GetParam<Colour>("state") == Colour::Green && event.paramList.size() == 6u);
    ExpectParamError<std::out_of_range>([&] { event.GetString("missing"); }, "missing",
                                        "Unable to find key in unordered_map.");
    ExpectParamError<boost::bad_any_cast>([&] { event.GetVector("volume"); }, "volume",
                                          boost::bad_any_cast().what());
    EXPECT_THROW(event.GetParam<int>("Volume"), std::out_of_range);
    EXPECT_THROW(event.GetParam<int>("objNum"), boost::bad_any_cast);
    EXPECT_THROW(event.GetParam<Shape>("state"), boost::bad_any_cast);
    EXPECT_EQ(event.GetParam<int>("volume"), 40);
}

TEST(EventCopies, CopiesAndAssignmentsAreDeepAndOutliveTheirSource) {
    auto source = std::make_unique<Event>("GameLogic:PauseState", "SoundManager", "Play Music");
    source->triggers = true;
    source->expireTime = 3.5;
    source->SetString("name", "stream_title");
    source->SetVector("where", Vector(1.0f, 2.0f, 3.0f, 4.0f));
    Event copy(*source);
    Event assigned("x", "y", "z");
    assigned.SetParam<int>("stale", 1);
    assigned = *source;
    copy.SetParam<int>("extra", 1);
    EXPECT_FALSE(source->Has("extra"));
    source.reset();
    for (const Event* e : {&copy, &assigned}) {
        EXPECT_TRUE(e->eventType == "Play Music" && e->triggers && e->expireTime == 3.5);
        EXPECT_EQ(e->GetString("name"), "stream_title");
        EXPECT_FLOAT_EQ(e->GetVector("where").w, 4.0f);
    }
    EXPECT_FALSE(assigned.Has("stale"));
    Event& alias = assigned;
    assigned = alias;
    EXPECT_EQ(assigned.GetString("name"), "stream_title");
}

using Names = std::vector<std::string>;

System& Sys() { return *Module<System>::Instance(); }
EventManager& Manager() { return *Module<EventManager>::Instance(); }

// "Set Volume" reads an int "volume"; "Boom" throws; "Echo" answers itself.
class Recorder : public virtual Module<Recorder> {
public:
    Recorder() : Module<Recorder>("Recorder") {}
    void Init() override { RegisterEventClient(); }
    void Update() override { DispatchEvents(); }
    void Kill() override { UnregisterEventClient(); }
    void ProcessEvent(const Event& event) override {
        seen.push_back(event.eventType);
        if (event.eventType == "Set Volume") volume = event.GetParam<int>("volume");
        if (event.eventType == "Boom") throw std::runtime_error("boom went the handler");
        if (event.eventType == "Echo") Manager().PublishEvent(MakeEvent("Recorder", "Echoed"));
    }
    Names seen;
    int volume = -1;
};

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

    // trigger/expire < 0 leave the event immediate/lasting.
    static void Publish(const std::string& to, const std::string& type, double trigger = -1.0,
                        double expire = -1.0) {
        Event event("test", to, type);
        event.triggers = trigger >= 0.0;
        event.triggerTime = trigger;
        event.expires = expire >= 0.0;
        event.expireTime = expire;
        Manager().PublishEvent(event);
    }
    static Names Poll(const std::string& client) {
        Names types;
        for (const Event& event : Manager().PollEvents(client)) types.push_back(event.eventType);
        return types;
    }
    test_support::LogCapture newLog;
};

TEST_F(EventManagerTest, DeliveryFollowsPublishingOrderAcrossRoutingPasses) {
    Publish("Y", "first");
    EXPECT_EQ(Poll("X"), Names{});  // routes "first" into Y's queue
    Publish("Y", "second");
    Publish("X", "x1");
    EXPECT_EQ(Poll("X"), Names{"x1"});  // routes "second" behind it
    Publish("Y", "third");
    EXPECT_EQ(Poll("Y"), (Names{"first", "second", "third"}));
    EXPECT_EQ(Poll("Y"), Names{});
}

// Timed events are released by the running timer, also while the game clock
// stands paused.
TEST_F(EventManagerTest, TimedEventsWaitForTheUpdateThatReachesTheirTimeEvenWhenPaused) {
    const double now = Sys().GetTime(true);
    Publish("Y", "later", now + 5.0);
    Publish("Y", "due", now - 1.0);
    Publish("Y", "immediate");
    EXPECT_EQ(Poll("Y"), Names{"immediate"});  // nothing timed before an Update
    Publish("Y", "before update");
    Manager().Update();
    Publish("Y", "after update");
    EXPECT_EQ(Poll("Y"), (Names{"before update", "due", "after update"}));
    Sys().Pause(true);
    platform::SetClockTime(now + 5.0);
    ASSERT_LT(Sys().GetTime(false), now + 5.0);
    Manager().Update();
    EXPECT_EQ(Poll("Y"), Names{"later"});
}

TEST_F(EventManagerTest, ExpiringEventGoesToEveryPollOfItsAddresseeOnlyUntilItExpires) {
    const double now = Sys().GetTime(false);
    Publish("X", "banner", -1.0, now + 2.0);
    Publish("X", "plain");
    EXPECT_EQ(Poll("Y"), Names{});
    EXPECT_EQ(Poll("X"), (Names{"banner", "plain"}));
    Manager().Update();
    EXPECT_EQ(Poll("X"), Names{"banner"});
    EXPECT_TRUE(Poll("Y") == Names{} && Poll("BROADCAST") == Names{});

    // Expiry follows the frozen game clock while paused.
    Sys().Pause(true);
    platform::SetClockTime(now + 10.0);
    Manager().Update();
    EXPECT_EQ(Poll("X"), Names{"banner"});
    Publish("Y", "exact", -1.0, Sys().GetTime(false));  // due exactly at its expiry: never delivered
    EXPECT_EQ(Poll("Y"), Names{});
    Sys().Pause(false);
    platform::SetClockTime(now + 3.0);
    EXPECT_EQ(Poll("X"), Names{});
}

// The engine's own exercise routines: the report line in its exact words,
// and game objects' copies keeping a billboard's texture handle.
TEST_F(EventManagerTest, ThroughputRunReportsAndLeavesTheManagerKilledAndBillboardHandlesSurviveCopies) {
    std::ostringstream out;
    const double seconds = RunEventThroughput(out);
    const std::string text = out.str();
    std::smatch shown;
    ASSERT_TRUE(std::regex_match(text, shown, std::regex("EventManager ran for 100 passes with 100 sent and recieved each "
                                                         "pass in (\\S+) seconds averaging (\\S+) messages per second\\.\n")))
        << text;
    EXPECT_NEAR(std::stod(shown[1]), seconds, seconds * 1e-5);
    EXPECT_NEAR(std::stod(shown[2]), 10000.0 / seconds, 1e-5 * 10000.0 / seconds);
    Manager().UnregisterClient("TestClient2");
    EXPECT_TRUE(newLog.Has("client not found!") && CheckBillboardHandleCopies());
}

TEST_F(EventManagerTest, DuplicateAndUnknownClientMessages) {
    Publish("Ghost", "early");  // unknown addressee: no message
    EXPECT_TRUE(Poll("NeverRegistered") == Names{} && newLog.Text() == "");
    Manager().RegisterClient("Y");
    Manager().RegisterClient("BROADCAST");
    EXPECT_EQ(newLog.Count("RegisterClient: duplicate client found!\n"), 2);
    EXPECT_TRUE(newLog.Has("ERROR: event_manager.cpp:"));
    Manager().UnregisterClient("EventManager");  // the manager never registers itself
    EXPECT_TRUE(test_support::InOrder(newLog.Text(), {"name = EventManager\n", "WARNING: event_manager.cpp:",
                                                      "UnregisterClient: client not found!\n"}))
        << newLog.Text();
    Publish("X", "pending");
    EXPECT_EQ(Poll("Y"), Names{});  // routes it into X's queue
    Manager().UnregisterClient("X");
    EXPECT_EQ(Poll("X"), Names{});
    newLog.Restart();
    Manager().Kill();  // both entries of a duplicated name go quietly
    EXPECT_EQ(newLog.Text(), "");
    Manager().Init();
    Manager().UnregisterClient("Y");
    EXPECT_EQ(newLog.Count("client not found!"), 1);
}

TEST_F(EventManagerTest, FailingEventsAreDroppedWithAWarningAndTheBatchGoesOnInOrder) {
    Recorder::Instance()->seen.clear();
    Recorder::Instance()->Init();
    Event mistyped("GameLogic", "Recorder", "Set Volume");
    mistyped.SetParam<float>("volume", 0.5f);
    Event good("GameLogic", "Recorder", "Set Volume");
    good.SetParam<int>("volume", 70);
    Manager().PublishEvent(Event("GameLogic", "Recorder", "Set Volume"));
    Manager().PublishEvent(mistyped);
    Manager().PublishEvent(Event("test", "Recorder", "Boom"));
    Manager().PublishEvent(Event("test", "Elsewhere", "not mine"));
    Manager().PublishEvent(good);
    Manager().PublishEvent(Event("test", "Recorder", "Echo"));
    ASSERT_NO_THROW(Recorder::Instance()->Update());
    EXPECT_EQ(Recorder::Instance()->seen, (Names{"Set Volume", "Set Volume", "Boom", "Set Volume", "Echo"}));
    EXPECT_EQ(Recorder::Instance()->volume, 70);
    Recorder::Instance()->Update();  // what a handler published comes next poll
    EXPECT_EQ(Recorder::Instance()->seen.back(), "Echoed");
    EXPECT_TRUE(test_support::InOrder(
        newLog.Text(),
        {"WARNING: Recorder: dropped event \"Set Volume\" from \"GameLogic\": parameter \"volume\" is missing\n",
         "dropped event \"Set Volume\" from \"GameLogic\": parameter \"volume\" holds another type (float)\n",
         "dropped event \"Boom\" from \"test\": boom went the handler\n"}))
        << newLog.Text();
    Recorder::Instance()->Init();  // registered under the module name
    EXPECT_TRUE(newLog.Has("RegisterClient: duplicate client found!"));
}

}  // namespace
