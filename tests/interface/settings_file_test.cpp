// The settings file: what a save writes, what a load takes back and what it
// refuses, the System's start-up read of the same file, a failed save, and
// the texts of the options and key-binding screens (window sizes, numbers,
// key names). The saves of the screens' "Options Apply" and "Controls Ok"
// are read back by the menus' window test (menu_screens_window_test).
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "event_manager/event.h"
#include "input_manager.h"
#include "interface_manager.h"
#include "interface_manager/resolution_text.h"
#include "interface_manager/settings_file.h"
#include "sound_manager.h"
#include "support/temp_folder.h"
#include "system.h"
#include "xml_file/text_numbers.h"

namespace {

using test_support::ReadFile;

class SettingsFile : public ::testing::Test {
protected:
    SettingsFile() {
        std::filesystem::create_directories(Folder());
        system.running.store(false);  // errors write no error-log file
        input.Init();
    }
    std::string Folder() const { return profile.Path() + "/The Quellbrand"; }
    std::string Path() const { return Folder() + "/settings.xml"; }
    std::string Logged() const { return system.GetLogText(); }
    bool Logged(const std::string& piece) const { return Logged().find(piece) != std::string::npos; }

    test_support::TempProfile profile;
    System system;
    InputManager input;
    SoundManager sound;
};

const char* const kSavedText =
    "<?xml version=\"1.0\" standalone=\"no\" ?>\n"
    "<!--Settings and Controls for The Quellbrand-->\n"
    "<Settings>\n"
    "    <Setting ID=\"forward\" key=\"73\" />\n"
    "    <Setting ID=\"back\" key=\"75\" />\n"
    "    <Setting ID=\"left\" key=\"74\" />\n"
    "    <Setting ID=\"right\" key=\"76\" />\n"
    "    <Setting ID=\"dash\" key=\"303\" />\n"
    "    <Setting ID=\"jump\" key=\"385\" />\n"
    "    <Setting ID=\"laser\" key=\"13\" />\n"
    "    <Setting ID=\"missile\" key=\"32\" />\n"
    "    <Setting ID=\"music_volume\" key=\"127\" />\n"
    "    <Setting ID=\"sound_volume\" key=\"0\" />\n"
    "    <Setting ID=\"full_screen\" key=\"1\" />\n"
    "    <Setting ID=\"screen_width\" key=\"800\" />\n"
    "    <Setting ID=\"screen_height\" key=\"600\" />\n"
    "</Settings>\n";

// A first run has no file. A save writes the whole document; a load restores the eight bindings and two
// volumes into modules at their defaults, and the System's start-up reader
// takes the screen mode from the same file.
TEST_F(SettingsFile, RoundTripThroughTheFileAndTheStartUpReader) {
    SettingsValues firstRun;  // no file yet: nothing read, nothing to warn about
    EXPECT_TRUE(!ReadSettingsFile(system, Path(), firstRun) && Logged() == "Failed to load settings file\n");
    input.forward = 'I', input.back = 'K', input.left = 'J', input.right = 'L';
    input.dash = 303, input.jump = InputManager::kMouseMiddle, input.laser = 13, input.missile = ' ';
    sound.musicVolume = 127, sound.soundVolume = 0;
    system.fullScreen = true, system.width = 800, system.height = 600;
    const SettingsValues saved = CurrentSettings(input, sound, system);
    ASSERT_TRUE(SaveSettingsFile(system, saved));
    EXPECT_EQ(kSavedText, ReadFile(Path()));
    EXPECT_TRUE(Logged("SAVING\nprofileDir = " + Path() + "\n")) << Logged();
    EXPECT_FALSE(std::filesystem::exists(Path() + ".tmp"));

    InputManager freshInput;
    freshInput.Init();
    SoundManager freshSound;
    SettingsValues loaded = CurrentSettings(freshInput, freshSound, System());
    ASSERT_TRUE(ReadSettingsFile(system, Path(), loaded));
    ApplySettings(loaded, freshInput, freshSound);
    EXPECT_EQ(SettingsFileText(saved), SettingsFileText(CurrentSettings(freshInput, freshSound, system)));
    EXPECT_TRUE(loaded.screenWidth == 1024 && loaded.screenHeight == 768 && !loaded.fullScreen)
        << "the load leaves the screen mode to the System";

    System startUp;
    startUp.LoadSettings();
    EXPECT_TRUE(startUp.fullScreen && startUp.width == 800 && startUp.height == 600);
}

// Every damage keeps the value in force (jump on Space, music at 200); what a
// player could not have meant is named with its file, ID and text.
TEST_F(SettingsFile, DamagedFilesKeepTheValuesInForce) {
    const auto setting = [](const std::string& id, const std::string& key) {
        return "<Setting ID=\"" + id + "\" key=\"" + key + "\" />";
    };
    const auto document = [](const std::string& body) {
        return "<?xml version=\"1.0\" ?>\n<Settings>" + body + "</Settings>";
    };
    const struct {
        std::string text;
        int jump, music;
        std::string logged;  // empty: no warning
    } cases[] = {
        {document("<Setting key=\"74\" /><Setting ID=\"jump\" />"), ' ', 200, ""},
        {document("<Other ID=\"jump\" key=\"74\" />" + setting("Jump", "74")), ' ', 200, ""},
        {document(setting("jump", "abc")), ' ', 200, "settings.xml: jump = \"abc\" is not a decimal integer"},
        {document(setting("jump", "12x")), ' ', 200, "jump = \"12x\" is not a decimal integer"},
        {document(setting("jump", "600")), ' ', 200, "jump = \"600\" is a key code that no key"},
        {document(setting("jump", "-1")), ' ', 200, "jump = \"-1\" is a key code"},
        {document(setting("jump", "0")), ' ', 200, "jump = \"0\" is a key code"},
        {document(setting("jump", "106")), ' ', 200, "jump = \"106\" is a key code"},  // lower-case j
        {document(setting("jump", "1")), ' ', 200, "jump = \"1\" is a key code that no key"},
        {document(setting("jump", "298")), ' ', 200, "jump = \"298\" is a key code"},
        {document(setting("music_volume", "300")), ' ', 200, "music_volume = \"300\" is a volume outside 0..255"},
        {document(setting("music_volume", "-1")), ' ', 200, "music_volume = \"-1\" is a volume outside 0..255"},
        {document(setting("jump", "74") + setting("jump", "abc") + setting("jump", "700")), 'J', 200, "jump = \"700\""},
        {document(setting("jump", "74") + setting("jump", " 386 ") + setting("music_volume", "0")), 386, 0, ""},
        {document(setting("full_screen", "1") + setting("screen_width", "640") + setting("screen_height", "x")),
         ' ', 200, ""},
        {"<?xml version=\"1.0\" ?>\n<Config>" + setting("jump", "74") + "</Config>", ' ', 200, "Invalid XML file"},
        {"<?xml version=\"1.0\" ?>\n<!-- nothing else -->\n", ' ', 200, "Invalid XML file"},
        {document(setting("jump", "74")).substr(0, 60), ' ', 200, "Failed to load settings file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        profile.WriteFile("The Quellbrand/settings.xml", c.text);
        SettingsValues values = CurrentSettings(input, sound, system);
        values.musicVolume = 200;
        const size_t logStart = Logged().size();
        ReadSettingsFile(system, Path(), values);
        const std::string log = Logged().substr(logStart);
        EXPECT_TRUE(values.jump == c.jump && values.musicVolume == c.music) << values.jump << " " << values.musicVolume;
        if (c.logged.empty())
            EXPECT_EQ(std::string::npos, log.find("WARNING")) << log;
        else
            EXPECT_NE(std::string::npos, log.find(c.logged)) << log;
        EXPECT_TRUE(values.forward == 'W' && values.soundVolume == 255 && values.screenWidth == 1024 &&
                    values.screenHeight == 768 && !values.fullScreen);
    }
}

// The temporary file cannot be made (a folder stands in its way; root may
// write anywhere else): the old file stays whole and the error names both.
TEST_F(SettingsFile, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    profile.WriteFile("The Quellbrand/settings.xml", kSavedText);
    std::filesystem::create_directories(Path() + ".tmp/blocker");
    EXPECT_FALSE(SaveSettingsFile(system, CurrentSettings(input, sound, system)));
    EXPECT_EQ(kSavedText, ReadFile(Path()));
    EXPECT_TRUE(Logged("ERROR: ") && Logged("the settings were not saved to " + Path() + ": cannot create"))
        << Logged();

    std::filesystem::remove_all(Folder());
    EXPECT_FALSE(SaveSettingsFile(system, CurrentSettings(input, sound, system)));
    EXPECT_FALSE(std::filesystem::exists(Folder()));
    EXPECT_TRUE(Logged("WARNING: ") && Logged("there is no folder " + Folder() + "; the settings are not saved"));
}

// The module's operations: a save right after "Options Apply" sent a volume
// writes what the sound module keeps once it takes the message in, and a
// load sets the live modules.
TEST_F(SettingsFile, TheInterfaceSavesTheVolumesInForceAndLoadsIntoTheModules) {
    SoundManager& liveSound = *Module<SoundManager>::Instance();
    Module<System>::Instance()->running.store(false);
    Module<InputManager>::Instance()->Init();
    for (int percent : {0, 20, 49, 50, 100}) {
        liveSound.musicVolume = 255, liveSound.soundVolume = 100;
        Module<InterfaceManager>::Instance()->SaveSettings(percent, -1);
        Event sent("InterfaceManager", "SoundManager", SoundManager::kMusicVolume);
        sent.SetParam<int>(SoundManager::kVolumeParam, percent);
        liveSound.ProcessEvent(sent);
        SettingsValues fromFile;
        ASSERT_TRUE(ReadSettingsFile(system, Path(), fromFile));
        EXPECT_TRUE(fromFile.musicVolume == liveSound.musicVolume && fromFile.soundVolume == 100) << percent;
    }
    profile.WriteFile("The Quellbrand/settings.xml", "<Settings><Setting ID=\"missile\" key=\"77\" />"
                                                     "<Setting ID=\"sound_volume\" key=\"9\" /></Settings>");
    Module<InterfaceManager>::Instance()->LoadSettings();
    EXPECT_TRUE(Module<InputManager>::Instance()->missile == 'M' && liveSound.soundVolume == 9);
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

TEST(ResolutionText, TheSixSizesAndNothingElse) {
    const struct { const char* text; int width, height; } known[] = {
        {"800x600", 800, 600},   {"1024x768", 1024, 768}, {"1280x1024", 1280, 1024},
        {"1024x600", 1024, 600}, {"1280x768", 1280, 768}, {"1440x900", 1440, 900}};
    for (const auto& size : known) {
        int width = 1, height = 2;
        ParseResolution(size.text, width, height);
        EXPECT_TRUE(width == size.width && height == size.height) << size.text;
        EXPECT_EQ(size.text, GetResolutionString(size.width, size.height));
    }
    for (const char* other : {"1366x768", "", "800x600 ", "800X600"}) {
        int width = 1, height = 2;
        ParseResolution(other, width, height);
        EXPECT_TRUE(width == 1 && height == 2) << other;
    }
    EXPECT_EQ("x", GetResolutionString(1152, 864));
    EXPECT_EQ("1024x", GetResolutionString(1024, 1080));
    EXPECT_EQ("x1024", GetResolutionString(1920, 1024));
}

TEST(StringToInt, AtoiWithTheLimitsBeyondIntRange) {
    const struct { const char* text; int value; } cases[] = {
        {"42", 42}, {"abc", 0}, {"", 0}, {"  -12abc", -12}, {"+7", 7}, {"0x1A", 0},
        {"99999999999", INT_MAX}, {"-99999999999", INT_MIN}, {"999999999999999999999999", INT_MAX}};
    for (const auto& c : cases) EXPECT_EQ(c.value, StringToInt(c.text)) << c.text;
}

}  // namespace
