// The profile folder, the settings read at start and the System's small file
// services, against a temporary "UserProfile".
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/profile.h"
#include "support/temp_folder.h"
#include "system.h"

namespace {

using test_support::TempFolder;

// Points "UserProfile" (and HOME) at chosen values for one test.
class ProfileEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        testing::internal::CaptureStdout();
    }
    void TearDown() override {
        testing::internal::GetCapturedStdout();
    }
    void WriteSettings(const std::string& xml) { profile.WriteFile("The Quellbrand/settings.xml", xml); }
    std::string Setting(const std::string& id, const std::string& key) {
        return "<Setting ID=\"" + id + "\" key=\"" + key + "\" />";
    }
    std::string Document(const std::string& body) { return "<?xml version=\"1.0\" ?>\n<Settings>" + body + "</Settings>\n"; }
    void ExpectUnchanged() {
        EXPECT_EQ(1024, system.width);
        EXPECT_EQ(768, system.height);
        EXPECT_FALSE(system.fullScreen);
    }

    test_support::TempProfile profile;
    test_support::SavedVariable savedHome{"HOME"};
    System system;
};

using StartupSettings = ProfileEnvironment;

TEST_F(StartupSettings, ReadsScreenModeAndLogsTheFullScreenFlag) {
    WriteSettings(Document(Setting("forward", "87") + Setting("full_screen", "1") +
                           Setting("screen_width", "640") + Setting("screen_height", "480") +
                           Setting("music_volume", "200")));
    system.LoadSettings();
    EXPECT_TRUE(system.fullScreen);
    EXPECT_EQ(640, system.width);
    EXPECT_EQ(480, system.height);
    EXPECT_NE(std::string::npos, system.GetLogText().find("fullScreen = 1\n"));
}

TEST_F(StartupSettings, MissingUnreadableOrWrongRootedFileChangesNothing) {
    system.LoadSettings();
    WriteSettings("<Settings><Setting ID=\"screen_width\" key=\"640\"");
    system.LoadSettings();
    WriteSettings("<?xml version=\"1.0\" ?>\n<Options>" + Setting("screen_width", "640") + "</Options>");
    system.LoadSettings();
    WriteSettings("<?xml version=\"1.0\" ?>\n<!-- no element at all -->\n");
    system.LoadSettings();
    ExpectUnchanged();
    EXPECT_EQ("Failed to load settings file\nFailed to load settings file\n"
              "Invalid XML file\nInvalid XML file\n",
              system.GetLogText());
}

TEST_F(StartupSettings, BadValuesAndOtherEntriesKeepTheSettings) {
    for (const char* bad : {"", "abc", "12abc", "0", "-640", "99999999999", "1e3", "100000"}) {
        WriteSettings(Document(Setting("screen_width", bad) + Setting("screen_height", bad)));
        system.LoadSettings();
        SCOPED_TRACE(bad);
        ExpectUnchanged();
    }
    WriteSettings(Document("<Setting ID=\"full_screen\" /><Setting key=\"640\" />"
                           "<Other ID=\"screen_width\" key=\"640\" />" +
                           Setting("forward", "87") + Setting("dash", "304")));
    system.LoadSettings();
    ExpectUnchanged();
}

TEST_F(StartupSettings, LaterDuplicateWinsUnlessItIsInvalid) {
    WriteSettings(Document(Setting("screen_width", "640") + Setting("screen_width", "800") +
                           Setting("screen_height", "480") + Setting("screen_height", "-1") +
                           Setting("full_screen", "1") + Setting("full_screen", "0")));
    system.LoadSettings();
    EXPECT_EQ(800, system.width);
    EXPECT_EQ(480, system.height);
    EXPECT_FALSE(system.fullScreen);
}

using ProfileFolder = ProfileEnvironment;

TEST_F(ProfileFolder, MakeDirMakesTheFolderAndLogsTheFolderCommand) {
    const std::string folder = profile.Path() + "/The Quellbrand";
    system.MakeDir("The Quellbrand");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    const std::string shown = profile.Path() + "\\The Quellbrand";
    EXPECT_EQ("makeDirCommand = IF NOT EXIST \"" + shown + "\" MKDIR \"" + shown + "\"\n\n",
              system.GetLogText());
    system.MakeDir("The Quellbrand");  // already there: still fine
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(ProfileFolder, UnsetOrEmptyUserProfileFallsBackToHome) {
    EXPECT_EQ(profile.Path(), system.GetUserProfile());
    setenv("HOME", "/home/player", 1);
    unsetenv("UserProfile");
    EXPECT_EQ("/home/player", system.GetUserProfile());
    EXPECT_EQ("/home/player/The Quellbrand/settings.xml", platform::ProfileFilePath("settings.xml"));
    setenv("UserProfile", "", 1);
    EXPECT_EQ("/home/player", system.GetUserProfile());
    unsetenv("HOME");
    EXPECT_EQ(".", system.GetUserProfile());
}

TEST(SystemFiles, ToWindowsPathReplacesEverySlash) {
    EXPECT_EQ("\\The Quellbrand\\settings.xml", System::ToWindowsPath("/The Quellbrand/settings.xml"));
    EXPECT_EQ("no slashes here", System::ToWindowsPath("no slashes here"));
}

TEST(SystemFiles, ReadTextFileGivesTheWholeFileOrNothing) {
    TempFolder folder;
    const std::string text = "void main() {\n  gl_FragColor = vec4(1.0);\n}\n";
    folder.WriteFile("shader.frag", text);
    System system;
    EXPECT_EQ(text, system.ReadTextFile(folder.Path() + "/shader.frag"));
    EXPECT_EQ("", system.ReadTextFile(folder.Path() + "/missing.frag"));
    EXPECT_EQ("", system.ReadTextFile(folder.Path()));  // a folder is no text file
    EXPECT_EQ("version 1.01, svn rev 2291", System::GetVersionString());
}

}  // namespace
