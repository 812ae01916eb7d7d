// The SoundManager over a recording sound layer: which effects play, the held
// boost channel, the music channel, the volume events and the listener.
#include <gtest/gtest.h>

#include <string>

#include "support/recording_sound_layer.h"
#include "event_manager.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "sound_manager.h"
#include "support/log_capture.h"

using sound_test::RecordingSoundLayer;

namespace {

SoundManager& Sounds() { return *Module<SoundManager>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
ResourceManager& Resources() { return *Module<ResourceManager>::Instance(); }
InterfaceManager& Interface() { return *Module<InterfaceManager>::Instance(); }

const char* const kLaser = "sample_shot_laser1";
const char* const kBoost = SoundManager::kBoostSample;
const int kNoPercent = -1000;

class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        StoreSound(kLaser, RecordingSoundLayer::FakeSample(1));
        StoreSound(kBoost, RecordingSoundLayer::FakeSample(2));
        SoundStream music;
        music.stream = RecordingSoundLayer::FakeStream(1);
        music.name = SoundManager::kMusicStream;
        Resources().add<SoundStream>(SoundManager::kMusicStream, music);
        Objects().cameraObject.target = Vector(0.0f, 0.0f, 0.0f, 0.0f);
        Objects().cameraObject.viewMat = Matrix();
        Interface().currentState = Interface().previousState = InterfaceState::Blank;
        Sounds().Init();
    }
    void TearDown() override {
        Sounds().Kill();
        for (const char* name : {kLaser, kBoost, SoundManager::kMusicStream})
            if (Resources().IsStored(name)) Resources().DeleteResource(name);
        ObjectLock lock(Objects());
        Objects().ClearGameObjects();
    }
    static void StoreSound(const std::string& name, FSOUND_SAMPLE* sample) {
        Sound sound;
        sound.sample = sample;
        sound.name = name;
        Resources().add<Sound>(name, sound);
    }
    static void Play(const std::string& name, float x, float y, float z) {
        Sound sound = *Resources().get<Sound>(Handle(name));
        sound.position = Vector(x, y, z, 0.0f);
        Sounds().PlaySample(sound);
    }
    static void Send(const std::string& type, int percent = kNoPercent) {
        Event event("test", "SoundManager", type);
        if (percent != kNoPercent) event.SetParam<int>(SoundManager::kVolumeParam, percent);
        Module<EventManager>::Instance()->PublishEvent(event);
        Sounds().Update();
    }
    static void AddPlayerAt(const Vector& at) {
        GameObject player("player");
        player.trans = at;
        ASSERT_TRUE(Objects().AddGameObject(player));
    }
    RecordingSoundLayer layer;
    test_support::LogCapture log;
};

TEST_F(SoundManagerTest, HeardUpToTheHearingDistanceFromTheCameraAndUnderTheChannelCap) {
    Objects().cameraObject.target = Vector(10.0f, 0.0f, 0.0f, 0.0f);
    Play(kLaser, 110.0f, 0.0f, 0.0f);
    ASSERT_TRUE(layer.soundPlays.size() == 1u && layer.placements.size() == 1u);
    EXPECT_TRUE(layer.soundPlays[0].what == RecordingSoundLayer::FakeSample(1) &&
                layer.placements[0].channel == layer.soundPlays[0].channelGiven &&
                layer.placements[0].position[0] == 110.0f);
    Play(kLaser, 10.0f, 0.0f, -100.5f);
    // Measured from the camera, not from the listener at the player.
    AddPlayerAt(Vector(500.0f, 0.0f, 0.0f, 0.0f));
    Sounds().Update();
    Play(kLaser, 500.0f, 0.0f, 0.0f);
    EXPECT_EQ(layer.soundPlays.size(), 1u);
    layer.channelsPlaying = 45;
    Play(kLaser, 10.0f, 0.0f, 0.0f);
    EXPECT_EQ(layer.soundPlays.size(), 2u);
    layer.channelsPlaying = 46;
    Play(kLaser, 10.0f, 0.0f, 0.0f);
    Play(kBoost, 10.0f, 0.0f, 0.0f);
    EXPECT_EQ(layer.soundPlays.size(), 2u);
}

TEST_F(SoundManagerTest, TheBoostChannelIsHeldThenMovedThenFreedByStopSound) {
    layer.failPlays = true;  // a failed play or a missing sample holds nothing
    Play(kLaser, 0.0f, 0.0f, 0.0f);
    Play(kBoost, 0.0f, 0.0f, 0.0f);
    layer.failPlays = false;
    Sound silent;  // what a load without a device leaves behind
    silent.name = kBoost;
    Sounds().PlaySample(silent);
    EXPECT_TRUE(layer.placements.empty() && Sounds().boost_chnl == -1);
    Play(kBoost, 1.0f, 0.0f, 0.0f);
    ASSERT_EQ(layer.soundPlays.size(), 3u);
    const int held = layer.soundPlays[2].channelGiven;
    EXPECT_EQ(Sounds().boost_chnl, held);
    Play(kBoost, 2.0f, 0.0f, 0.0f);
    EXPECT_EQ(layer.soundPlays.size(), 3u) << "a held boost is not restarted";
    ASSERT_EQ(layer.placements.size(), 2u);
    EXPECT_TRUE(layer.placements[1].channel == held && layer.placements[1].position[0] == 2.0f);
    Sounds().StopSound();
    Sounds().StopSound();
    EXPECT_EQ(layer.stoppedChannels, std::vector<int>{held});
    EXPECT_TRUE(Sounds().boost_chnl == -1 && layer.volumeSets.empty());
    Play(kBoost, 3.0f, 0.0f, 0.0f);
    ASSERT_EQ(layer.soundPlays.size(), 4u);
    EXPECT_EQ(Sounds().boost_chnl, layer.soundPlays[3].channelGiven);
}

TEST_F(SoundManagerTest, PlayMusicTwiceKeepsItsChannelAndStopMusicReleasesIt) {
    Send(SoundManager::kPlayMusic);
    ASSERT_EQ(layer.streamPlays.size(), 1u);
    const int channel = Sounds().music_chnl;
    EXPECT_TRUE(channel == layer.streamPlays[0].channelGiven &&
                layer.streamModes[RecordingSoundLayer::FakeStream(1)] == FSOUND_LOOP_NORMAL);
    Send(SoundManager::kPlayMusic);
    ASSERT_EQ(layer.streamPlays.size(), 2u);
    EXPECT_TRUE(layer.streamPlays[1].channelAsked == channel && Sounds().music_chnl == channel);
    Send(SoundManager::kStopMusic);
    EXPECT_EQ(layer.stoppedStreams, std::vector<FSOUND_STREAM*>{RecordingSoundLayer::FakeStream(1)});
    EXPECT_EQ(Sounds().music_chnl, -1);
    Resources().DeleteResource(SoundManager::kMusicStream);
    Send(SoundManager::kPlayMusic);
    EXPECT_TRUE(layer.streamPlays.size() == 2u && log.Has("stream_BG Music has not been loaded"));
    log.Restart();  // and a shutdown of a game that never loaded it is no error
    Sounds().Kill();
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    Sounds().Init();
}

TEST_F(SoundManagerTest, TheThreeVolumeEvents) {
    const int cases[][2] = {{50, 127}, {100, 255}, {0, 0}, {1, 2}, {150, 255}, {-20, 0}};
    for (const auto& c : cases) {
        Send(SoundManager::kSoundVolume, c[0]);
        EXPECT_EQ(Sounds().soundVolume, c[1]) << c[0] << " percent";
    }
    EXPECT_TRUE(layer.volumeSets.empty());
    Send(SoundManager::kSoundVolume, 50);
    Play(kLaser, 1.0f, 2.0f, 3.0f);
    ASSERT_EQ(layer.volumeSets.size(), 1u);
    EXPECT_EQ(layer.volumeSets[0].volume, 127);

    // "Music Volume" starts the music only when coming back from the pause.
    Interface().previousState = InterfaceState::Title;
    Send(SoundManager::kMusicVolume, 40);
    EXPECT_TRUE(Sounds().musicVolume == 102 && layer.streamPlays.empty());
    EXPECT_TRUE(log.Has("music_chnl = -1\n") && log.Has("musicVolume = 102\n"));
    Interface().previousState = InterfaceState::Pause;
    Send(SoundManager::kMusicVolume, 80);
    ASSERT_EQ(layer.streamPlays.size(), 1u);
    const int channel = Sounds().music_chnl;
    EXPECT_EQ(layer.volumes[channel], 204);

    // "Adjust Music Volume": lowered on the pause screen, restored in game.
    layer.volumeSets.clear();
    const struct { InterfaceState::Type screen; int volume; } adjustments[] = {
        {InterfaceState::Pause, 100}, {InterfaceState::Pause, 200}, {InterfaceState::Ingame, 200},
        {InterfaceState::Options, 200}};
    for (const auto& a : adjustments) {
        Interface().currentState = a.screen;
        Sounds().musicVolume = a.volume;
        Send(SoundManager::kAdjustMusicVolume);
    }
    ASSERT_EQ(layer.volumeSets.size(), 3u);
    const int heard[3] = {0, 72, 200};
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(layer.volumeSets[i].volume == heard[i] && layer.volumeSets[i].channel == channel);
    Send(SoundManager::kSoundVolume);  // no percent: dropped with a warning
    EXPECT_EQ(log.Count("WARNING: SoundManager: dropped event"), 1);
}

TEST_F(SoundManagerTest, TheListenerStandsAtTheCameraUntilThereIsAPlayer) {
    Objects().cameraObject.target = Vector(3.0f, 4.0f, 5.0f, 0.0f);
    Matrix view;  // looking along +x: the third row is -x
    view.RowFromVec(0, Vector(0.0f, 0.0f, 1.0f, 0.0f));
    view.RowFromVec(1, Vector(0.0f, 1.0f, 0.0f, 0.0f));
    view.RowFromVec(2, Vector(-1.0f, 0.0f, 0.0f, 0.0f));
    Objects().cameraObject.viewMat = view;
    Sounds().Update();
    ASSERT_FALSE(layer.listener.empty());
    const sound_test::ListenerCall atCamera = layer.listener.back();
    EXPECT_TRUE(atCamera.position[0] == 3.0f && atCamera.position[2] == 5.0f && atCamera.forward[0] == 1.0f &&
                atCamera.forward[2] == 0.0f && atCamera.top[1] == 1.0f);
    AddPlayerAt(Vector(-6.0f, 1.0f, 2.0f, 0.0f));
    Sounds().Update();
    EXPECT_TRUE(layer.listener.back().position[0] == -6.0f && layer.listener.back().position[1] == 1.0f);
}

}  // namespace
