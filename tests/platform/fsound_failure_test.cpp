// The sound layer when things go wrong: no audio device at all, unreadable
// or hostile sound files, handles kept past FSOUND_Close. Nothing may crash
// and every call must answer with its failure value.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/disk_audio.h"  // tests/platform
#include "platform/fsound.h"
#include "system.h"

using sound_test::DiskAudio;

namespace {

void ExpectEveryCallIsANoOp(FSOUND_SAMPLE* sample, FSOUND_STREAM* stream) {
    const float pos[3] = {1.0f, 2.0f, 3.0f};
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, sample), -1);
    EXPECT_EQ(FSOUND_PlaySound(0, sample), -1);
    EXPECT_FALSE(FSOUND_Sample_SetMode(sample, FSOUND_LOOP_NORMAL));
    EXPECT_FALSE(FSOUND_StopSound(0));
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), -1);
    EXPECT_FALSE(FSOUND_Stream_SetMode(stream, FSOUND_LOOP_NORMAL));
    EXPECT_FALSE(FSOUND_Stream_Stop(stream));
    EXPECT_FALSE(FSOUND_3D_SetAttributes(0, pos, nullptr));
    FSOUND_3D_Listener_SetAttributes(pos, nullptr, 0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f);
    FSOUND_3D_Listener_SetAttributes(nullptr, nullptr, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    FSOUND_3D_SetRolloffFactor(1.0f);
    EXPECT_FALSE(FSOUND_SetVolume(0, 100));
    EXPECT_EQ(FSOUND_GetVolume(0), 0);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 0);
    EXPECT_FALSE(FSOUND_Stream_Close(stream));
    FSOUND_Sample_Free(sample);
}

TEST(SoundWithoutDevice, EveryCallIsAHarmlessNoOp) {
    DiskAudio disk;  // for its files only
    std::string tone = disk.ToneFile("tone.wav", 0.1);
    setenv("SDL_AUDIODRIVER", "no_such_audio_driver", 1);
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    // A failed start leaves SDL's audio as it found it.
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_AUDIO));

    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), 0, 0, 0);
    FSOUND_STREAM* stream = FSOUND_Stream_Open(tone.c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    EXPECT_EQ(sample, nullptr);
    EXPECT_EQ(stream, nullptr);
    ExpectEveryCallIsANoOp(sample, stream);
    FSOUND_Close();
    FSOUND_Close();

    // A later start with a device works.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FSOUND_SAMPLE* loaded = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), 0, 0, 0);
    EXPECT_NE(loaded, nullptr);
    EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, loaded), 0);
    FSOUND_Close();
}

TEST(SoundWithoutDevice, NothingLoadsBeforeInit) {
    DiskAudio disk;
    std::string tone = disk.ToneFile("tone.wav", 0.1);
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Stream_Open(tone.c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_GetChannelsPlaying(), 0);
}

TEST(SoundLifetime, HandlesFromBeforeCloseAreDeadAfterwards) {
    DiskAudio disk;
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(
        FSOUND_FREE, disk.ToneFile("tone.wav", 0.2).c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    FSOUND_STREAM* stream =
        FSOUND_Stream_Open(disk.ToneFile("music.wav", 0.2).c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    ASSERT_NE(sample, nullptr);
    ASSERT_NE(stream, nullptr);
    int channel = FSOUND_PlaySound(FSOUND_FREE, sample);
    int music = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_GE(channel, 0);
    ASSERT_GE(music, 0);
    // Close frees both while they play; the game's resource store still
    // holds the handles.
    FSOUND_Close();
    ExpectEveryCallIsANoOp(sample, stream);

    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    ExpectEveryCallIsANoOp(sample, stream);
    EXPECT_FALSE(FSOUND_SetVolume(music, 10));
    FSOUND_Close();
}

TEST(SoundLifetime, ASecondInitKeepsWhatIsLoaded) {
    DiskAudio disk;
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FSOUND_SAMPLE* sample =
        FSOUND_Sample_Load(FSOUND_FREE, disk.ToneFile("tone.wav", 0.2).c_str(), 0, 0, 0);
    ASSERT_TRUE(FSOUND_Init(22050, 8, 0));
    EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, sample), 0);
    FSOUND_Close();
}

class BadSoundFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FSOUND_Init(44100, 32, 0)); }
    void TearDown() override { FSOUND_Close(); }

    std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) {
        std::string path = disk.Path(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    void ExpectRejected(const std::string& path) {
        std::string logBefore = Module<System>::Instance()->GetLogText();
        EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), 0, 0, 0), nullptr) << path;
        EXPECT_EQ(FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, 0, 0), nullptr) << path;
        std::string logAfter = Module<System>::Instance()->GetLogText();
        EXPECT_NE(logAfter.find("sound file not loaded: " + path, logBefore.size()),
                  std::string::npos)
            << path;
    }

    DiskAudio disk;
};

TEST_F(BadSoundFiles, AreRejectedWithAWarning) {
    ExpectRejected(disk.Path("missing.wav"));
    ExpectRejected(Write("empty.wav", {}));
    ExpectRejected(Write("text.wav", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}));

    // A valid file cut short inside its data.
    std::string whole = disk.ToneFile("whole.wav", 0.1);
    std::ifstream in(whole, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    ExpectRejected(Write("cut.wav", std::vector<unsigned char>(bytes.begin(), bytes.begin() + 60)));
    ExpectRejected(Write("header_only.wav", std::vector<unsigned char>(bytes.begin(), bytes.begin() + 30)));

    // A data chunk that claims four gigabytes.
    std::vector<unsigned char> huge = bytes;
    huge[40] = huge[41] = huge[42] = huge[43] = 0xFF;
    ExpectRejected(Write("huge.wav", huge));

    // Thirty-two-bit float, as some tools write by default.
    std::vector<unsigned char> floats = bytes;
    floats[20] = 3;
    floats[34] = 32;
    ExpectRejected(Write("float.wav", floats));

    // No channels.
    std::vector<unsigned char> silent = bytes;
    silent[22] = 0;
    ExpectRejected(Write("nochannels.wav", silent));

    // The layer still works.
    EXPECT_NE(FSOUND_Sample_Load(FSOUND_FREE, whole.c_str(), 0, 0, 0), nullptr);
}

}  // namespace
