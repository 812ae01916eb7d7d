// The text readers (settings, registry, pattern list, patterns, levels) and
// the sound-file check on seeded random damage to the game's own files: none
// may crash, hang or throw, and what they accept stays within its bounds.
// A fixed seed and case count keep every run the same and short.
#include <gtest/gtest.h>

#include "input_manager.h"
#include "interface_manager/settings_file.h"
#include "level.h"
#include "object_manager.h"
#include "object_pattern.h"
#include "platform/wav_check.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "support/log_capture.h"
#include "support/mutation.h"
#include "support/temp_folder.h"
#include "system.h"

namespace {


const int kCases = 500;

std::string RunFile(const std::string& relative) {
    return test_support::ReadFile(std::string(QUELL_RUN_DIR) + "/" + relative);
}

class ReaderFuzz : public ::testing::Test {
protected:
    // Writes each damaged copy of `seed` to `name` in the profile folder and
    // hands the path to `read`.
    template <class Read>
    void Fuzz(const std::string& seed, const std::string& name, Read read) {
        ASSERT_FALSE(seed.empty()) << name;
        std::mt19937 rng(unsigned(seed.size()));
        for (int i = 0; i < kCases; ++i) {
            profile.WriteFile(name, test_support::Mutate(seed, rng, test_support::HostileTexts()));
            read(profile.Path() + "/" + name);
        }
    }
    test_support::TempProfile profile;
    test_support::LogCapture log;  // also keeps the many errors out of error-log files
};

TEST_F(ReaderFuzz, SettingsKeepTheScreenSizeSane) {
    System system;
    const std::string seed = "<?xml version=\"1.0\" ?>\n<Settings><Setting ID=\"full_screen\" key=\"0\" />"
                             "<Setting ID=\"screen_width\" key=\"640\" /><Setting ID=\"screen_height\" key=\"480\" />"
                             "<Setting ID=\"forward\" key=\"87\" /></Settings>\n";
    Fuzz(seed, "The Quellbrand/settings.xml", [&](const std::string&) {
        system.LoadSettings();
        EXPECT_TRUE(system.width > 0 && system.width <= 16384 && system.height > 0 && system.height <= 16384)
            << system.width << " x " << system.height;
    });
}

// Whatever the damage, every action keeps a key that can be pressed and the
// volumes stay volumes.
TEST_F(ReaderFuzz, SettingsNeverCostAWorkingKey) {
    System system;
    InputManager input;
    input.Init();
    const SettingsValues defaults = CurrentSettings(input, SoundManager(), system);
    SettingsValues saved = defaults;
    saved.jump = InputManager::kMouseMiddle, saved.musicVolume = 17;
    Fuzz(SettingsFileText(saved), "The Quellbrand/settings.xml", [&](const std::string& path) {
        SettingsValues values = defaults;
        ReadSettingsFile(system, path, values);
        for (int key : {values.forward, values.back, values.left, values.right, values.dash, values.jump,
                        values.laser, values.missile})
            EXPECT_TRUE(InputManager::IsBindableKey(key)) << key;
        EXPECT_TRUE(values.musicVolume >= 0 && values.musicVolume <= 255 && values.soundVolume >= 0 &&
                    values.soundVolume <= 255);
    });
}

TEST_F(ReaderFuzz, RegistryAndPatternList) {
    Fuzz(RunFile("resource/registry.xml"), "registry.xml", [](const std::string& path) {
        ResourceManager store;
        store.LoadRegistry(path.c_str());
        for (const RegistryData& entry : store.RegistryEntries()) EXPECT_FALSE(entry.name.empty());
    });
    Fuzz(RunFile("resource/objectPatterns.xml"), "list.xml", [](const std::string& path) {
        ResourceManager().LoadObjectPatterns(path.c_str());
    });
}

TEST_F(ReaderFuzz, PatternsAlwaysNameTheirFile) {
    Fuzz(RunFile("resource/patterns/medium_mech.xml"), "pattern.xml", [](const std::string& path) {
        EXPECT_EQ(ObjectFactory::GetParameter<std::string>(ObjectFactory::LoadObjectPattern(path.c_str()),
                                                            PatternParam::kFileName),
                  path);
    });
}

TEST_F(ReaderFuzz, LevelsLoadOrRefuseAndReleaseEverything) {
    Module<ResourceManager>::Instance()->LoadObjectPatterns("resource/objectPatterns.xml");
    Level level;
    Fuzz(RunFile("resource/levels/level1.xml"), "level.xml", [&](const std::string& path) {
        level.LoadLevel(path);
        level.ReleaseLevelData();
        ObjectLock hold;
        EXPECT_TRUE(Module<ObjectManager>::Instance()->gameObjectList.empty());
    });
}

TEST_F(ReaderFuzz, SoundCheckAcceptsOnlyWholePcmHeaders) {
    const std::string seed = RunFile("resource/sounds/sample_step.wav");
    std::mt19937 rng(7);
    int accepted = 0;
    for (int i = 0; i < kCases * 10; ++i) {
        const std::string bytes = test_support::Mutate(seed, rng);
        std::string problem;
        const bool ok = platform::CheckWavImage(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), problem);
        EXPECT_TRUE(ok == problem.empty()) << problem;
        accepted += ok;
    }
    EXPECT_TRUE(accepted > 0 && accepted < kCases * 10) << accepted;  // flipped samples stay valid; most do not
}

}  // namespace
