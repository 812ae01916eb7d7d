// The settings saved where the player confirms them: "Options Apply" on the
// options screen with a moved volume slider, and "Controls Ok" after a key
// was rebound; what the file then holds comes back at the next start.
// Also the display names of key codes, which the key-binding screen shows.
#include <gtest/gtest.h>

#include <filesystem>

#include "event_manager.h"
#include "input_manager.h"
#include "interface/slider_bar.h"
#include "interface_manager.h"
#include "interface_manager/settings_file.h"
#include "object_manager.h"
#include "sound_manager.h"
#include "support/temp_folder.h"
#include "system.h"

namespace {

InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
SoundManager& Sound() { return *Module<SoundManager>::Instance(); }
InputManager& Input() { return *Module<InputManager>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }

class SettingsPersistence : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(profile.Path() + "/The Quellbrand");
        Sys().running.store(false);
        Module<EventManager>::Instance()->Init();
        Input().Init();
        Sound().musicVolume = 255, Sound().soundVolume = 255;
        Ui().Init();
    }
    void TearDown() override {
        Ui().Kill();
        Module<EventManager>::Instance()->Kill();
        Input().Init();
        Sound().musicVolume = 255, Sound().soundVolume = 255;
    }
    std::string Path() const { return profile.Path() + "/The Quellbrand/settings.xml"; }
    SettingsValues Saved() const {
        SettingsValues values;
        EXPECT_TRUE(ReadSettingsFile(Sys(), Path(), values)) << Sys().GetLogText();
        return values;
    }
    // The interface's and then the sound module's share of one frame.
    static void Deliver(const char* message) {
        Ui().ProcessEvent(Event("InterfaceManager", "InterfaceManager", message));
    }
    static void SoundTakesItsMessages() {
        for (const Event& event : Module<EventManager>::Instance()->PollEvents("SoundManager"))
            Sound().ProcessEvent(event);
    }

    test_support::TempProfile profile;
};

// The handler sends the volume and saves in the same step; the sound module
// takes the volume in only afterwards. The file holds the new volume anyway.
TEST_F(SettingsPersistence, OptionsApplySavesTheVolumeTheMovedSliderSent) {
    Ui().BuildInterface(InterfaceState::Options);
    auto* music = dynamic_cast<SliderBar*>(Module<ObjectManager>::Instance()->interObjList.Find("musicSlider"));
    ASSERT_NE(nullptr, music);
    music->SetValue(20.0f);
    Deliver(InterfaceManager::kOptionsApply);
    EXPECT_EQ(255, Sound().musicVolume) << "not taken in yet";
    const SettingsValues saved = Saved();
    EXPECT_EQ(SoundManager::VolumeFromPercent(20), saved.musicVolume);
    EXPECT_EQ(255, saved.soundVolume) << "the untouched slider keeps its volume";
    SoundTakesItsMessages();
    EXPECT_EQ(saved.musicVolume, Sound().musicVolume);

    // The next start: the volume comes back from the file.
    Sound().musicVolume = 255;
    Ui().LoadSettings();
    EXPECT_EQ(SoundManager::VolumeFromPercent(20), Sound().musicVolume);
}

TEST_F(SettingsPersistence, ControlsOkSavesTheBindingsThatComeBackAtTheNextStart) {
    Ui().BuildInterface(InterfaceState::Controls);
    Input().jump = 'J';
    Input().missile = InputManager::kMouseMiddle;
    Deliver(InterfaceManager::kControlsOk);
    const SettingsValues saved = Saved();
    EXPECT_TRUE(saved.jump == 'J' && saved.missile == InputManager::kMouseMiddle);

    Input().Init();  // the defaults of a fresh start
    ASSERT_NE('J', Input().jump);
    Ui().LoadSettings();
    EXPECT_TRUE(Input().jump == 'J' && Input().missile == InputManager::kMouseMiddle);
}

TEST(KeyNames, NamedKeysAndTheLowByteOfEveryOtherCode) {
    const struct {
        int code;
        const char* name;
    } cases[] = {
        {27, "Escape"},       {273, "Up Arrow"},       {274, "Down Arrow"},   {276, "Left Arrow"},
        {275, "Right Arrow"}, {303, "Right Shift"},    {304, "Left Shift"},   {305, "Right Ctrl"},
        {306, "Left Ctrl"},   {384, "Mouse Left"},     {385, "Mouse Middle"}, {386, "Mouse Right"},
        {32, "Space Bar"},    {13, "Enter"},           {97, "a"},             {87, "W"},
        {256 + 'q', "q"},     {'0', "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.name, InterfaceManager::GetKeyName(c.code)) << c.code;
    EXPECT_EQ(std::string(1, char(200)), InterfaceManager::GetKeyName(200));
}

}  // namespace
