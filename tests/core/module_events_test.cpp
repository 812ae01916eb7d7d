// The event helpers of Module<T>: registration under the module name,
// dispatch to ProcessEvent with failing events dropped and logged, and
// MakeEvent's sender and creation time.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "event_manager.h"
#include "platform/clock.h"
#include "support/log_capture.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }
EventManager& Manager() { return *Module<EventManager>::Instance(); }

// Records each event; reads "volume" from "Set Volume" (so a missing or
// mistyped parameter throws out of ProcessEvent); "Boom" throws a plain
// runtime error; "Echo" publishes "Echoed" back to itself.
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

    std::vector<std::string> seen;
    int volume = -1;
};

// Relies on the default ProcessEvent.
class Deaf : public Module<Deaf> {
public:
    Deaf() : Module<Deaf>("Deaf") {}
    void Init() override { RegisterEventClient(); }
    void Update() override { DispatchEvents(); }
    void Kill() override { UnregisterEventClient(); }
};

class ModuleEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Sys().Pause(false);
        platform::SetClockTime(500.0);
        Manager().Kill();
        Manager().Init();
        Recorder::Instance()->seen.clear();
        Recorder::Instance()->volume = -1;
        Recorder::Instance()->Init();
        newLog.Restart();
    }

    void TearDown() override { Sys().Pause(false); }

    static void Send(const std::string& type) {
        Manager().PublishEvent(Event("test", "Recorder", type));
    }

    test_support::LogCapture newLog;
};

using Names = std::vector<std::string>;

}  // namespace

TEST_F(ModuleEventsTest, RegistersUnderTheModuleName) {
    Recorder::Instance()->Init();
    EXPECT_NE(newLog.Text().find("RegisterClient: duplicate client found!"), std::string::npos);
    Recorder::Instance()->Kill();
    Recorder::Instance()->Kill();
    EXPECT_EQ(newLog.Text().find("client not found!"), std::string::npos);
    Recorder::Instance()->Kill();
    EXPECT_NE(newLog.Text().find("name = Recorder\n"), std::string::npos);
}

TEST_F(ModuleEventsTest, DispatchHandsTheBatchOverInOrder) {
    Send("one");
    Send("two");
    Manager().PublishEvent(Event("test", "Elsewhere", "not mine"));
    Send("three");
    Recorder::Instance()->Update();
    EXPECT_EQ(Recorder::Instance()->seen, (Names{"one", "two", "three"}));
    Recorder::Instance()->Update();
    EXPECT_EQ(Recorder::Instance()->seen.size(), 3u);
}

TEST_F(ModuleEventsTest, FailingEventIsDroppedWithAWarningAndTheBatchGoesOn) {
    Event missing("GameLogic", "Recorder", "Set Volume");
    Event mistyped("GameLogic", "Recorder", "Set Volume");
    mistyped.SetParam<float>("volume", 0.5f);
    Event good("GameLogic", "Recorder", "Set Volume");
    good.SetParam<int>("volume", 70);
    Manager().PublishEvent(missing);
    Manager().PublishEvent(mistyped);
    Send("Boom");
    Manager().PublishEvent(good);
    Send("after");

    ASSERT_NO_THROW(Recorder::Instance()->Update());
    EXPECT_EQ(Recorder::Instance()->seen,
              (Names{"Set Volume", "Set Volume", "Boom", "Set Volume", "after"}));
    EXPECT_EQ(Recorder::Instance()->volume, 70);

    const std::string log = newLog.Text();
    EXPECT_NE(log.find("WARNING: Recorder: dropped event \"Set Volume\" from \"GameLogic\": "
                       "parameter \"volume\" is missing\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("dropped event \"Set Volume\" from \"GameLogic\": "
                       "parameter \"volume\" holds another type (float)\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("dropped event \"Boom\" from \"test\": boom went the handler\n"),
              std::string::npos)
        << log;
}

TEST_F(ModuleEventsTest, ModuleWithoutAHandlerIgnoresItsEvents) {
    Deaf::Instance()->Init();
    Manager().PublishEvent(Event("test", "Deaf", "anything"));
    ASSERT_NO_THROW(Deaf::Instance()->Update());
    EXPECT_TRUE(Manager().PollEvents("Deaf").empty());
    Deaf::Instance()->Kill();
    EXPECT_EQ(newLog.Text(), "");
}

TEST_F(ModuleEventsTest, EventPublishedWhileHandlingArrivesWithTheNextPoll) {
    Send("Echo");
    Send("tail");
    Recorder::Instance()->Update();
    EXPECT_EQ(Recorder::Instance()->seen, (Names{"Echo", "tail"}));
    Recorder::Instance()->Update();
    EXPECT_EQ(Recorder::Instance()->seen, (Names{"Echo", "tail", "Echoed"}));
}

TEST_F(ModuleEventsTest, MakeEventStampsSenderAndFrameStart) {
    platform::SetClockTime(50.0);
    Sys().StampFrameStart();
    const double frameStart = Sys().frameStartTime.load();
    platform::SetClockTime(60.0);  // later in the same frame
    Event event = Recorder::Instance()->MakeEvent("SoundManager", "Play Music");
    EXPECT_EQ(event.from, "Recorder");
    EXPECT_EQ(event.to, "SoundManager");
    EXPECT_EQ(event.eventType, "Play Music");
    EXPECT_FALSE(event.triggers);
    EXPECT_FALSE(event.expires);
    EXPECT_TRUE(event.paramList.empty());
    EXPECT_EQ(event.createdTime, frameStart);
    EXPECT_LT(event.createdTime, 60.0);

    Sys().Pause(true);
    const double pausedAt = Sys().pausedTime.load();
    platform::SetClockTime(90.0);
    Sys().StampFrameStart();
    EXPECT_EQ(Recorder::Instance()->MakeEvent("X", "Y").createdTime, pausedAt);
}
