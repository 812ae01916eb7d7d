// Sound entries on a machine with no audio device: the game goes on and the
// store holds null handles.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/fsound.h"
#include "resource_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

using test_support::LogCapture;

namespace {

// A tenth of a second of 16-bit mono silence at 22050 Hz.
std::string SilentWav() {
    const uint32_t samples = 2205, dataBytes = samples * 2;
    std::string wav;
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) wav += char((v >> (8 * i)) & 0xFF); };
    auto put16 = [&](uint16_t v) { wav += char(v & 0xFF); wav += char(v >> 8); };
    wav += "RIFF";
    put32(36 + dataBytes);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(22050);
    put32(22050 * 2);
    put16(2);
    put16(16);
    wav += "data";
    put32(dataBytes);
    wav += std::string(dataBytes, '\0');
    return wav;
}

TEST(SoundWithoutDevice, SamplesAndStreamsStoreNullHandlesAndLoadingGoesOn) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));

    test_support::TempFolder folder;
    folder.WriteFile("boost.wav", SilentWav());
    folder.WriteFile("music.wav", SilentWav());
    folder.WriteFile("registry.xml",
                     "<registry>"
                     "<r registry=\"sample_boost\" file=\"" + folder.Path() + "/boost.wav\" loop=\"true\" loadCategory=\"all\"/>"
                     "<r registry=\"stream_BG Music\" file=\"" + folder.Path() + "/music.wav\" loop=\"true\" loadCategory=\"all\"/>"
                     "<r registry=\"mesh_after\" loadCategory=\"all\"/>"
                     "</registry>");
    ResourceManager store;
    store.LoadRegistry((folder.Path() + "/registry.xml").c_str());
    LogCapture log;
    store.LoadCategory("all");
    EXPECT_FALSE(log.Has("ERROR:"));

    Sound* boost = store.get<Sound>(Handle("sample_boost"));
    ASSERT_NE(boost, nullptr);
    EXPECT_EQ(boost->sample, nullptr);
    EXPECT_EQ(boost->name, "sample_boost");
    SoundStream* music = store.get<SoundStream>(Handle("stream_BG Music"));
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->stream, nullptr);
    EXPECT_TRUE(store.IsStored("mesh_after"));
    // Playing what was stored stays harmless.
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, boost->sample), -1);
    FSOUND_Close();
}

}  // namespace
