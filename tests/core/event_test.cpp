// The Event record: typed parameters, their failures, and deep copies.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "event.h"

namespace {

enum class Colour { Red, Green };
enum class Shape { Round, Square };

Event LoadedEvent() {
    Event event("GameLogic:PauseState", "SoundManager", "Play Music");
    event.triggers = true;
    event.expires = true;
    event.createdTime = 1.5;
    event.triggerTime = 2.5;
    event.expireTime = 3.5;
    event.SetParam<int>("volume", 40);
    event.SetString("name", "stream_title");
    event.SetVector("where", Vector(1.0f, 2.0f, 3.0f, 4.0f));
    event.SetQuaternion("turn", Quaternion(0.5f, Vector(0.1f, 0.2f, 0.3f, 0.4f)));
    return event;
}

void ExpectSameFields(const Event& a, const Event& b) {
    EXPECT_EQ(a.from, b.from);
    EXPECT_EQ(a.to, b.to);
    EXPECT_EQ(a.eventType, b.eventType);
    EXPECT_EQ(a.triggers, b.triggers);
    EXPECT_EQ(a.expires, b.expires);
    EXPECT_EQ(a.createdTime, b.createdTime);
    EXPECT_EQ(a.triggerTime, b.triggerTime);
    EXPECT_EQ(a.expireTime, b.expireTime);
    EXPECT_EQ(a.paramList.size(), b.paramList.size());
    EXPECT_EQ(a.GetParam<int>("volume"), b.GetParam<int>("volume"));
    EXPECT_EQ(a.GetString("name"), b.GetString("name"));
}

}  // namespace

TEST(EventRecord, DefaultEventIsEmpty) {
    Event event;
    EXPECT_EQ(event.from, "");
    EXPECT_EQ(event.to, "");
    EXPECT_EQ(event.eventType, "");
    EXPECT_FALSE(event.triggers);
    EXPECT_FALSE(event.expires);
    EXPECT_TRUE(event.paramList.empty());
    EXPECT_FALSE(event.Has("name"));
    EXPECT_FALSE(event.Has(""));
}

TEST(EventParams, FirstValueSetUnderAKeyStays) {
    Event event;
    event.SetParam<int>("volume", 40);
    event.SetParam<int>("volume", 80);
    event.SetString("name", "first");
    event.SetString("name", "second");
    // A second set under another type is ignored as well, not stored beside.
    event.SetParam<float>("volume", 1.0f);
    EXPECT_EQ(event.GetParam<int>("volume"), 40);
    EXPECT_EQ(event.GetString("name"), "first");
    EXPECT_EQ(event.paramList.size(), 2u);
}

TEST(EventParams, TypedAccessorsRoundTripEveryComponent) {
    Event event;
    event.SetFloat("test1", 0.25f);
    event.SetString("level", "level2");
    event.SetVector("test2", Vector(1.0f, -2.0f, 3.0f, 4.0f));
    event.SetQuaternion("test4", Quaternion(0.5f, Vector(0.1f, 0.2f, 0.3f, 0.4f)));
    event.SetParam<bool>("firstLoad", true);
    event.SetParam<unsigned int>("objNum", 101u);
    event.SetParam<Colour>("state", Colour::Green);

    EXPECT_FLOAT_EQ(event.GetFloat("test1"), 0.25f);
    EXPECT_EQ(event.GetString("level"), "level2");
    Vector v = event.GetVector("test2");
    EXPECT_FLOAT_EQ(v.x, 1.0f);
    EXPECT_FLOAT_EQ(v.y, -2.0f);
    EXPECT_FLOAT_EQ(v.z, 3.0f);
    EXPECT_FLOAT_EQ(v.w, 4.0f);
    Quaternion q = event.GetQuaternion("test4");
    EXPECT_FLOAT_EQ(q.s, 0.5f);
    EXPECT_FLOAT_EQ(q.v.x, 0.1f);
    EXPECT_FLOAT_EQ(q.v.w, 0.4f);
    EXPECT_TRUE(event.GetParam<bool>("firstLoad"));
    EXPECT_EQ(event.GetParam<unsigned int>("objNum"), 101u);
    EXPECT_EQ(event.GetParam<Colour>("state"), Colour::Green);
    EXPECT_TRUE(event.Has("objNum"));
}

TEST(EventParams, MissingKeyThrowsOutOfRangeWithTheMapText) {
    Event event("a", "b", "Push State");
    event.SetParam<int>("health", 3);
    try {
        event.GetString("name");
        FAIL() << "a missing key must throw";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "Unable to find key in unordered_map.");
        const EventParamError* param = dynamic_cast<const EventParamError*>(&error);
        ASSERT_NE(param, nullptr);
        EXPECT_EQ(param->ParamKey(), "name");
    }
    EXPECT_THROW(event.GetParam<int>("Health"), std::out_of_range);
}

TEST(EventParams, AnotherTypeThrowsBadAnyCastNamingTheKey) {
    Event event;
    event.SetParam<unsigned int>("objNum", 7u);
    event.SetParam<int>("volume", 50);
    event.SetParam<Colour>("state", Colour::Red);
    event.SetString("name", "x");

    EXPECT_THROW(event.GetParam<int>("objNum"), boost::bad_any_cast);
    EXPECT_THROW(event.GetParam<float>("volume"), boost::bad_any_cast);
    EXPECT_THROW(event.GetFloat("volume"), boost::bad_any_cast);
    EXPECT_THROW(event.GetParam<Shape>("state"), boost::bad_any_cast);
    EXPECT_THROW(event.GetParam<int>("state"), boost::bad_any_cast);
    // A string literal is not a std::string.
    EXPECT_THROW(event.GetParam<const char*>("name"), boost::bad_any_cast);
    try {
        event.GetVector("volume");
        FAIL() << "a mistyped read must throw";
    } catch (const boost::bad_any_cast& error) {
        EXPECT_STREQ(error.what(), boost::bad_any_cast().what());
        const EventParamError* param = dynamic_cast<const EventParamError*>(&error);
        ASSERT_NE(param, nullptr);
        EXPECT_EQ(param->ParamKey(), "volume");
    }
    // The failed reads changed nothing.
    EXPECT_EQ(event.GetParam<int>("volume"), 50);
}

TEST(EventCopies, CopyIsDeepAndOutlivesItsSource) {
    std::unique_ptr<Event> source(new Event(LoadedEvent()));
    Event copy(*source);
    ExpectSameFields(copy, *source);
    copy.SetParam<int>("extra", 1);
    source->SetParam<int>("only in source", 2);
    EXPECT_FALSE(source->Has("extra"));
    EXPECT_FALSE(copy.Has("only in source"));
    source.reset();
    EXPECT_EQ(copy.GetString("name"), "stream_title");
    EXPECT_FLOAT_EQ(copy.GetVector("where").w, 4.0f);
    EXPECT_FLOAT_EQ(copy.GetQuaternion("turn").s, 0.5f);
}

TEST(EventCopies, AssignmentReplacesEveryFieldAndTheWholeMap) {
    Event target("x", "y", "z");
    target.SetParam<int>("volume", 99);
    target.SetParam<int>("stale", 1);
    std::unique_ptr<Event> source(new Event(LoadedEvent()));
    target = *source;
    ExpectSameFields(target, *source);
    EXPECT_FALSE(target.Has("stale"));
    source.reset();
    EXPECT_EQ(target.GetParam<int>("volume"), 40);
}

TEST(EventCopies, SelfAssignmentLeavesTheEventUnchanged) {
    Event event = LoadedEvent();
    const Event before = event;
    Event& alias = event;
    event = alias;
    ExpectSameFields(event, before);
    EXPECT_FLOAT_EQ(event.GetVector("where").y, 2.0f);
}
