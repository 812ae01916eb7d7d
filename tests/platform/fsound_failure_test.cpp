// The sound layer when things go wrong: no audio device at all, unreadable
// or hostile sound files, handles kept past FSOUND_Close. Nothing may crash
// and every call must answer with its failure value.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/disk_audio.h"  // tests/platform
#include "platform/fsound.h"
#include "support/log_capture.h"

namespace {

void ExpectEveryCallIsANoOp(FSOUND_SAMPLE* sample, FSOUND_STREAM* stream) {
    const float pos[3] = {1.0f, 2.0f, 3.0f};
    EXPECT_TRUE(FSOUND_PlaySound(0, sample) == (-1) && !FSOUND_Sample_SetMode(sample, FSOUND_LOOP_NORMAL));
    EXPECT_TRUE(!FSOUND_StopSound(0) && FSOUND_Stream_Play(FSOUND_FREE, stream) == (-1));
    EXPECT_TRUE(!FSOUND_Stream_SetMode(stream, FSOUND_LOOP_NORMAL) && !FSOUND_Stream_Stop(stream));
    EXPECT_FALSE(FSOUND_3D_SetAttributes(0, pos, nullptr));
    FSOUND_3D_Listener_SetAttributes(nullptr, nullptr, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    FSOUND_3D_SetRolloffFactor(1.0f);
    EXPECT_TRUE(!FSOUND_SetVolume(0, 100) && FSOUND_GetVolume(0) == 0 && FSOUND_GetChannelsPlaying() == 0);
    EXPECT_FALSE(FSOUND_Stream_Close(stream));
    FSOUND_Sample_Free(sample);
}

TEST(SoundWithoutDevice, EveryCallIsAHarmlessNoOpUntilADeviceOpens) {
    sound_test::DiskAudio disk;  // for its files only
    const std::string tone = disk.ToneFile("tone.wav", 0.1);
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), 0, 0, 0), nullptr) << "nothing loads before Init";
    setenv("SDL_AUDIODRIVER", "no_such_audio_driver", 1);
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_AUDIO)) << "a failed start leaves SDL's audio as it found it";
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), 0, 0, 0);
    FSOUND_STREAM* stream = FSOUND_Stream_Open(tone.c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    EXPECT_TRUE(!sample && !stream);
    ExpectEveryCallIsANoOp(sample, stream);
    FSOUND_Close();
    FSOUND_Close();
    // As the System starts it: SDL's audio up without a driver, and an older,
    // unrelated SDL error still standing. The warning names the real cause.
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    SDL_SetError("an unrelated older error");
    test_support::LogCapture log;
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    EXPECT_TRUE(log.Has("sound is off: the audio driver \"no_such_audio_driver\" could not be started")) << log.Text();
    EXPECT_FALSE(log.Has("unrelated"));
    SDL_QuitSubSystem(SDL_INIT_AUDIO);

    setenv("SDL_AUDIODRIVER", "disk", 1);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), 0, 0, 0)), 0);
    FSOUND_Close();
}

TEST(SoundLifetime, HandlesFromBeforeCloseAreDeadAfterwards) {
    sound_test::DiskAudio disk;
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, disk.ToneFile("tone.wav", 0.2).c_str(), 0, 0, 0);
    FSOUND_STREAM* stream = FSOUND_Stream_Open(disk.ToneFile("music.wav", 0.2).c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    ASSERT_TRUE(FSOUND_Init(22050, 8, 0)) << "a second Init keeps what is loaded";
    ASSERT_GE(FSOUND_PlaySound(FSOUND_FREE, sample), 0);
    const int music = FSOUND_Stream_Play(FSOUND_FREE, stream);
    ASSERT_GE(music, 0);
    // Close frees both while they play; the game's resource store still holds the handles.
    FSOUND_Close();
    ExpectEveryCallIsANoOp(sample, stream);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    ExpectEveryCallIsANoOp(sample, stream);
    EXPECT_FALSE(FSOUND_SetVolume(music, 10));
    FSOUND_Close();
}

// Both loaders refuse what the check refuses (its cases are in wav_check_test)
// and say why, naming the file.
TEST(BadSoundFiles, AreRejectedWithAWarning) {
    sound_test::DiskAudio disk;
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    const std::string whole = sound_test::ToneWav(0.1, 440.0);
    const std::pair<std::string, const char*> files[] = {{disk.Path("missing.wav"), "cannot open file"},
                                                         {disk.File("cut.wav", whole.substr(0, 60)), "chunk runs past"}};
    for (const auto& [path, reason] : files) {
        test_support::LogCapture log;
        EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), 0, 0, 0), nullptr) << path;
        EXPECT_EQ(FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, 0, 0), nullptr) << path;
        EXPECT_EQ(log.Count("sound file not loaded: " + path + ": " + reason), 2) << log.Text();
    }
    EXPECT_NE(FSOUND_Sample_Load(FSOUND_FREE, disk.File("whole.wav", whole).c_str(), 0, 0, 0), nullptr);
    FSOUND_Close();
}

}  // namespace
