// The InterfaceManager's messages without a window: volumes that never
// drift, typing that is safe for any letter time, messages that lack a
// parameter leaving everything as it was, the quit question asked twice,
// and the rows that only delete or only save.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "event_manager.h"
#include "game_logic.h"
#include "input_manager.h"
#include "interface/game_message_widget.h"
#include "interface_manager.h"
#include "interface_manager/message_handlers.h"
#include "object_manager.h"
#include "sound_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "system.h"

namespace {

InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
InterfaceObjectList& Registry() { return Module<ObjectManager>::Instance()->interObjList; }
EventManager& Events() { return *Module<EventManager>::Instance(); }

class InterfaceMessages : public ::testing::Test {
protected:
    void SetUp() override {
        Events().Init();
        Module<InputManager>::Instance()->Init();
        Ui().Init();
        Events().RegisterClient("SoundManager");
        Module<System>::Instance()->frameTime.store(1.0 / 60.0);
        profile.WriteFile("The Quellbrand/.made", "");  // the folder start-up makes
        log.Restart();
    }
    void TearDown() override {
        Ui().Kill();
        Events().Kill();
    }
    // The event handed to the interface as its next update would.
    static void Send(const Event& event) {
        Events().PublishEvent(event);
        Ui().Update();
    }
    static Event ToUi(const char* type) { return Event("test", "InterfaceManager", type); }

    test_support::TempProfile profile;
    test_support::LogCapture log;
};

// The slider shows volume / 255 x 100; an Apply with it untouched must
// reproduce the volume, and a percent sent must read back as itself.
TEST(VolumePercents, EveryVolumeAndEveryPercentReadBackUnchanged) {
    for (int volume = 0; volume <= 255; ++volume) {
        const float shown = float(volume) / 255.0f * 100.0f;
        EXPECT_EQ(message_handlers::SliderPercent(shown), message_handlers::VolumePercent(volume)) << volume;
    }
    for (int percent = 0; percent <= 100; ++percent)
        EXPECT_EQ(message_handlers::VolumePercent(SoundManager::VolumeFromPercent(percent)), percent) << percent;
    EXPECT_EQ(message_handlers::SliderPercent(std::nanf("")), -1);
}

TEST(GameMessageTyping, AnyLetterTimeRevealsAtMostTheWholeText) {
    Module<System>::Instance()->frameTime.store(1.0 / 60.0);
    const float kInfinity = std::numeric_limits<float>::infinity();
    const struct {
        float letterTime;
        int shownAfterOneFrame;
    } cases[] = {{0.0f, 5}, {-1.0f, 5}, {std::nanf(""), 5}, {kInfinity, 5}, {1e-30f, 5}, {0.01f, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.letterTime);
        GMessage line;
        line.text = "Hello";
        line.typeOut = true;
        line.letterTime = c.letterTime;
        line.persistent = true;
        GameMessage message(0, line);
        message.Activate();
        EXPECT_EQ(message.shownChars, c.shownAfterOneFrame);
        for (int frame = 0; frame < 10; ++frame) message.Activate();
        EXPECT_EQ(message.shownChars, 5) << "complete, never past the end";
    }
}

TEST_F(InterfaceMessages, AMessageWithoutItsParameterChangesNothing) {
    Send(ToUi(InterfaceManager::kQuitConfirm));
    ASSERT_EQ(Ui().currentState, InterfaceState::QuitConfirm);
    const size_t widgets = Registry().size();
    const int nextId = Ui().nextObjectId;
    Ui().waveCountText = "1 of 3";
    for (const char* type : {InterfaceManager::kStateChange, kGameMessageEvent, kGameMessageDeleteEvent,
                             InterfaceManager::kWaveCountMessage}) {
        Send(ToUi(type));
        EXPECT_EQ(log.Count("WARNING"), 1) << type << " dropped with a warning\n" << log.Text();
        log.Restart();
    }
    Event wrongType = ToUi(InterfaceManager::kStateChange);
    wrongType.SetParam(InterfaceManager::kStateParam, 2);  // an int, not the screen type
    Send(wrongType);
    EXPECT_EQ(Ui().currentState, InterfaceState::QuitConfirm);
    EXPECT_EQ(Ui().previousState, InterfaceState::Blank);
    EXPECT_EQ(Registry().size(), widgets);
    EXPECT_EQ(Ui().nextObjectId, nextId);
    EXPECT_EQ(Ui().waveCountText, "1 of 3");
}

TEST_F(InterfaceMessages, TheQuitQuestionAskedTwiceStillGoesBackToTheScreenBefore) {
    Ui().BuildInterface(InterfaceState::Title);
    Send(ToUi(InterfaceManager::kQuitConfirm));
    Send(ToUi(InterfaceManager::kQuitConfirm));
    EXPECT_EQ(Ui().previousState, InterfaceState::Title);
    ASSERT_TRUE(Registry().Contains("Yes"));
    Send(ToUi(InterfaceManager::kQuitCancel));
    EXPECT_EQ(Ui().currentState, InterfaceState::Title);
    EXPECT_TRUE(Registry().Contains("Start Game"));
    EXPECT_FALSE(Registry().Contains("Yes"));
}

TEST_F(InterfaceMessages, RowsThatOnlyDeleteOrOnlySave) {
    Event update = ToUi(InterfaceManager::kUpdateScoreList);
    update.SetParam<std::string>(InterfaceManager::kParamName, "ACE");
    Send(update);
    EXPECT_EQ(log.Count("Object already deleted/Does not exist"), 3);

    log.Restart();
    Event unnamed = ToUi(kGameMessageDeleteEvent);
    unnamed.SetParam<std::string>(InterfaceManager::kParamName, "");
    Send(unnamed);
    EXPECT_EQ(log.Text(), "") << "an empty name deletes nothing and says nothing";

    // Apply on a screen without the options' widgets: no volume, no mode,
    // the line with an empty size, and the settings saved all the same.
    const int width = Module<System>::Instance()->width;
    Send(ToUi(InterfaceManager::kOptionsApply));
    EXPECT_TRUE(Events().PollEvents("SoundManager").empty());
    EXPECT_TRUE(log.Has("selected = \n")) << log.Text();
    EXPECT_EQ(Module<System>::Instance()->width, width);
    EXPECT_FALSE(test_support::ReadFile(profile.Path() + "/The Quellbrand/settings.xml").empty());

    for (const char* ignored : {"Set HP Max", "Set Boost Max", "Set Boost", "Enemy Death"}) {
        const InterfaceState::Type shown = Ui().currentState;
        Send(ToUi(ignored));
        EXPECT_EQ(Ui().currentState, shown) << ignored;
    }
}

// The pause screen sends its level's title and objectives, empty lines too,
// then asks the sound module to lower the music.
TEST_F(InterfaceMessages, ThePauseScreenTypesItsLevelsLines) {
    const struct {
        const char* levelName;
        std::vector<std::string> lines;
    } cases[] = {{"level2", {"Level 2", "-Boost out of the shaft", "-Make your way to the city"}},
                 {"level1", {"Level 1", "-Survive through the waves of enemies", ""}},
                 {"level9", {"Level 4?", "", ""}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.levelName);
        Module<GameLogic>::Instance()->levelName = c.levelName;
        Ui().BuildInterface(InterfaceState::Pause);
        const std::deque<Event> sent = Events().PollEvents("InterfaceManager");
        ASSERT_EQ(sent.size(), 3u);
        const float ys[] = {0.9f, 0.8f, 0.7f};
        for (size_t i = 0; i < 3; ++i) {
            const GMessage line = sent[i].GetParam<GMessage>(kGameMessageData);
            EXPECT_EQ(line.text, c.lines[i]);
            EXPECT_EQ(line.key, "");
            EXPECT_FLOAT_EQ(line.position.x, i == 0 ? 0.05f : 0.1f);
            EXPECT_FLOAT_EQ(line.position.y, ys[i]);
            EXPECT_FLOAT_EQ(line.scale, i == 0 ? 1.0f : 0.8f);
            EXPECT_TRUE(line.typeOut && line.persistent);
            EXPECT_FLOAT_EQ(line.letterTime, 0.025f);
        }
        const std::deque<Event> toSound = Events().PollEvents("SoundManager");
        ASSERT_EQ(toSound.size(), 1u);
        EXPECT_EQ(toSound[0].eventType, SoundManager::kAdjustMusicVolume);
    }
}

}  // namespace
