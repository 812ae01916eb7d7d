// The SoundManager over a recording sound layer: which sound effects play and
// where, the held boost channel, the music channel, the volume events and the
// listener's place and view.
#include <gtest/gtest.h>

#include <string>

#include "core/recording_sound_layer.h"
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

class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        StoreSound(kLaser, RecordingSoundLayer::FakeSample(1));
        StoreSound(SoundManager::kBoostSample, RecordingSoundLayer::FakeSample(2));
        StoreSound(SoundManager::kHullHitSample, RecordingSoundLayer::FakeSample(3));
        StoreStream(RecordingSoundLayer::FakeStream(1));
        Objects().cameraObject.target = Vector(0.0f, 0.0f, 0.0f, 0.0f);
        Objects().cameraObject.viewMat = Matrix();
        Interface().currentState = InterfaceState::Blank;
        Interface().previousState = InterfaceState::Blank;
        Sounds().Init();
    }

    void TearDown() override {
        if (!killed) Sounds().Kill();
        for (const char* name : {kLaser, SoundManager::kBoostSample, SoundManager::kHullHitSample,
                                 SoundManager::kMusicStream})
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
    static void StoreStream(FSOUND_STREAM* stream) {
        SoundStream music;
        music.stream = stream;
        music.name = SoundManager::kMusicStream;
        Resources().add<SoundStream>(SoundManager::kMusicStream, music);
    }

    // A copy of the stored sound placed at (x, y, z), as callers make it.
    static Sound At(const std::string& name, float x, float y, float z) {
        Sound sound = *Resources().get<Sound>(Handle(name));
        sound.position = Vector(x, y, z, 0.0f);
        return sound;
    }

    // Delivers the events through the module's own poll.
    static void Send(const std::string& type) { Send(Event("test", "SoundManager", type)); }
    static void SendVolume(const std::string& type, int percent) {
        Event event("test", "SoundManager", type);
        event.SetParam<int>(SoundManager::kVolumeParam, percent);
        Send(event);
    }
    static void Send(const Event& event) {
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
    bool killed = false;
};

// ---- Sound effects ------------------------------------------------------

TEST_F(SoundManagerTest, ASampleIsHeardUpToExactlyTheHearingDistanceFromTheCamera) {
    Objects().cameraObject.target = Vector(10.0f, 0.0f, 0.0f, 0.0f);
    Sounds().PlaySample(At(kLaser, 110.0f, 0.0f, 0.0f));
    ASSERT_EQ(layer.soundPlays.size(), 1u);
    EXPECT_EQ(layer.soundPlays[0].channelAsked, FSOUND_FREE);
    EXPECT_EQ(layer.soundPlays[0].what, RecordingSoundLayer::FakeSample(1));
    ASSERT_EQ(layer.placements.size(), 1u);
    EXPECT_EQ(layer.placements[0].channel, layer.soundPlays[0].channelGiven);
    EXPECT_FLOAT_EQ(layer.placements[0].position[0], 110.0f);

    Sounds().PlaySample(At(kLaser, 10.0f, 0.0f, -100.5f));
    EXPECT_EQ(layer.soundPlays.size(), 1u);
}

TEST_F(SoundManagerTest, TheDistanceIsMeasuredFromTheCameraNotFromTheListener) {
    AddPlayerAt(Vector(500.0f, 0.0f, 0.0f, 0.0f));
    Sounds().Update();  // the listener moves to the player, far from the camera
    Sounds().PlaySample(At(kLaser, 0.0f, 50.0f, 0.0f));
    EXPECT_EQ(layer.soundPlays.size(), 1u);
    Sounds().PlaySample(At(kLaser, 500.0f, 0.0f, 0.0f));
    EXPECT_EQ(layer.soundPlays.size(), 1u);
}

TEST_F(SoundManagerTest, ANewSoundIsDroppedOnlyWhenMoreThanFortyFiveChannelsPlay) {
    layer.channelsPlaying = 45;
    Sounds().PlaySample(At(kLaser, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(layer.soundPlays.size(), 1u);
    layer.channelsPlaying = 46;
    Sounds().PlaySample(At(kLaser, 0.0f, 0.0f, 0.0f));
    Sounds().PlaySample(At(SoundManager::kBoostSample, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(layer.soundPlays.size(), 1u);
}

TEST_F(SoundManagerTest, AnEffectPlaysOnceAtTheSoundVolume) {
    Sounds().PlaySample(At(kLaser, 1.0f, 2.0f, 3.0f));
    EXPECT_EQ(layer.sampleModes[RecordingSoundLayer::FakeSample(1)], FSOUND_LOOP_OFF);
    EXPECT_TRUE(layer.volumeSets.empty()) << "a new channel already plays at 255";

    SendVolume(SoundManager::kSoundVolume, 50);
    Sounds().PlaySample(At(kLaser, 1.0f, 2.0f, 3.0f));
    ASSERT_EQ(layer.volumeSets.size(), 1u);
    EXPECT_EQ(layer.volumeSets[0].channel, layer.soundPlays[1].channelGiven);
    EXPECT_EQ(layer.volumeSets[0].volume, 127);
}

TEST_F(SoundManagerTest, AFailedPlayOrAMissingSampleTouchesNoChannel) {
    layer.failPlays = true;
    Sounds().PlaySample(At(kLaser, 0.0f, 0.0f, 0.0f));
    Sounds().PlaySample(At(SoundManager::kBoostSample, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(Sounds().boost_chnl, -1);
    layer.failPlays = false;

    Sound silent;  // what a load without a device leaves behind
    silent.name = kLaser;
    Sounds().PlaySample(silent);
    silent.name = SoundManager::kBoostSample;
    Sounds().PlaySample(silent);

    EXPECT_EQ(layer.soundPlays.size(), 2u);
    EXPECT_TRUE(layer.placements.empty());
    EXPECT_TRUE(layer.volumeSets.empty());
    EXPECT_EQ(Sounds().boost_chnl, -1);
}

// ---- The boost channel ----------------------------------------------------

TEST_F(SoundManagerTest, TheBoostChannelIsHeldThenMovedThenFreedByStopSound) {
    Sounds().PlaySample(At(SoundManager::kBoostSample, 1.0f, 0.0f, 0.0f));
    ASSERT_EQ(layer.soundPlays.size(), 1u);
    const int held = layer.soundPlays[0].channelGiven;
    EXPECT_EQ(Sounds().boost_chnl, held);

    Sounds().PlaySample(At(SoundManager::kBoostSample, 2.0f, 0.0f, 0.0f));
    EXPECT_EQ(layer.soundPlays.size(), 1u) << "a held boost is not restarted";
    ASSERT_EQ(layer.placements.size(), 2u);
    EXPECT_EQ(layer.placements[1].channel, held);
    EXPECT_FLOAT_EQ(layer.placements[1].position[0], 2.0f);
    EXPECT_TRUE(layer.volumeSets.empty());

    Sounds().StopSound();
    EXPECT_EQ(layer.stoppedChannels, std::vector<int>{held});
    EXPECT_EQ(Sounds().boost_chnl, -1);
    Sounds().StopSound();
    EXPECT_EQ(layer.stoppedChannels.size(), 1u);

    Sounds().PlaySample(At(SoundManager::kBoostSample, 3.0f, 0.0f, 0.0f));
    ASSERT_EQ(layer.soundPlays.size(), 2u);
    EXPECT_EQ(Sounds().boost_chnl, layer.soundPlays[1].channelGiven);
}

// ---- Music ------------------------------------------------------------------

TEST_F(SoundManagerTest, PlayMusicTwiceKeepsItsChannelAndStopMusicReleasesIt) {
    FSOUND_STREAM* stream = RecordingSoundLayer::FakeStream(1);
    Send(SoundManager::kPlayMusic);
    ASSERT_EQ(layer.streamPlays.size(), 1u);
    EXPECT_EQ(layer.streamPlays[0].channelAsked, FSOUND_FREE);
    const int channel = Sounds().music_chnl;
    EXPECT_EQ(channel, layer.streamPlays[0].channelGiven);
    EXPECT_EQ(layer.streamModes[stream], FSOUND_LOOP_NORMAL);
    ASSERT_EQ(layer.volumeSets.size(), 1u);
    EXPECT_EQ(layer.volumeSets[0].channel, channel);
    EXPECT_EQ(layer.volumeSets[0].volume, 255);

    Send(SoundManager::kPlayMusic);
    ASSERT_EQ(layer.streamPlays.size(), 2u);
    EXPECT_EQ(layer.streamPlays[1].channelAsked, channel);
    EXPECT_EQ(Sounds().music_chnl, channel);

    Send(SoundManager::kStopMusic);
    EXPECT_EQ(layer.stoppedStreams, std::vector<FSOUND_STREAM*>{stream});
    EXPECT_EQ(Sounds().music_chnl, -1);
}

TEST_F(SoundManagerTest, AMissingMusicStreamIsReportedAndNeverPlayed) {
    Resources().DeleteResource(SoundManager::kMusicStream);
    Interface().previousState = InterfaceState::Pause;
    Interface().currentState = InterfaceState::Pause;
    Send(SoundManager::kPlayMusic);
    SendVolume(SoundManager::kMusicVolume, 50);
    Send(SoundManager::kAdjustMusicVolume);
    Send(SoundManager::kStopMusic);

    EXPECT_TRUE(layer.streamPlays.empty());
    EXPECT_TRUE(layer.stoppedStreams.empty());
    EXPECT_TRUE(layer.volumeSets.empty()) << "no music channel to set";
    EXPECT_EQ(Sounds().music_chnl, -1);
    EXPECT_TRUE(log.Has("stream_BG Music has not been loaded"));
}

TEST_F(SoundManagerTest, KillFreesTheHullHitSampleAndTheMusicThenClosesEvenWhenTheyAreMissing) {
    Sounds().Kill();
    EXPECT_EQ(layer.freedSamples,
              std::vector<FSOUND_SAMPLE*>{RecordingSoundLayer::FakeSample(3)});
    EXPECT_EQ(layer.closedStreams,
              std::vector<FSOUND_STREAM*>{RecordingSoundLayer::FakeStream(1)});
    EXPECT_EQ(layer.closes, 1);

    Sounds().Init();
    Resources().DeleteResource(SoundManager::kMusicStream);
    Resources().DeleteResource(SoundManager::kHullHitSample);
    Sounds().Kill();
    killed = true;
    EXPECT_EQ(layer.freedSamples.size(), 1u);
    EXPECT_EQ(layer.closedStreams.size(), 1u);
    EXPECT_EQ(layer.closes, 2);
}

// ---- Volumes ----------------------------------------------------------------

TEST_F(SoundManagerTest, SoundVolumeIsAPercentOf255TruncatedAndChangesNoChannel) {
    const int cases[][2] = {{50, 127}, {100, 255}, {0, 0}, {1, 2}, {150, 255}, {-20, 0}};
    for (const auto& c : cases) {
        SendVolume(SoundManager::kSoundVolume, c[0]);
        EXPECT_EQ(Sounds().soundVolume, c[1]) << c[0] << " percent";
    }
    EXPECT_TRUE(layer.volumeSets.empty());
    EXPECT_EQ(Sounds().musicVolume, 255);
}

TEST_F(SoundManagerTest, AdjustMusicVolumeLowersTheMusicOnThePauseScreenAndRestoresItInGame) {
    Send(SoundManager::kPlayMusic);
    const int channel = Sounds().music_chnl;
    layer.volumeSets.clear();

    Interface().currentState = InterfaceState::Pause;
    Sounds().musicVolume = 100;
    Send(SoundManager::kAdjustMusicVolume);
    Sounds().musicVolume = 200;
    Send(SoundManager::kAdjustMusicVolume);
    Interface().currentState = InterfaceState::Ingame;
    Send(SoundManager::kAdjustMusicVolume);
    Interface().currentState = InterfaceState::Options;
    Send(SoundManager::kAdjustMusicVolume);

    ASSERT_EQ(layer.volumeSets.size(), 3u);
    EXPECT_EQ(layer.volumeSets[0].volume, 0);
    EXPECT_EQ(layer.volumeSets[1].volume, 72);
    EXPECT_EQ(layer.volumeSets[2].volume, 200);
    for (const auto& set : layer.volumeSets) EXPECT_EQ(set.channel, channel);
}

TEST_F(SoundManagerTest, MusicVolumeAlwaysLogsItsTwoLinesAndStartsMusicOnlyAfterThePause) {
    Interface().previousState = InterfaceState::Title;
    SendVolume(SoundManager::kMusicVolume, 40);
    EXPECT_EQ(Sounds().musicVolume, 102);
    EXPECT_TRUE(layer.streamPlays.empty());
    EXPECT_TRUE(layer.volumeSets.empty());
    EXPECT_TRUE(log.Has("music_chnl = -1\n"));
    EXPECT_TRUE(log.Has("musicVolume = 102\n"));

    Interface().previousState = InterfaceState::Pause;
    SendVolume(SoundManager::kMusicVolume, 80);
    ASSERT_EQ(layer.streamPlays.size(), 1u);
    const int channel = Sounds().music_chnl;
    EXPECT_NE(channel, -1);
    EXPECT_EQ(layer.volumes[channel], 204);
    EXPECT_EQ(layer.streamModes[RecordingSoundLayer::FakeStream(1)], FSOUND_LOOP_NORMAL);
    EXPECT_TRUE(log.Has("music_chnl = " + std::to_string(channel) + "\n"));
    EXPECT_TRUE(log.Has("musicVolume = 204\n"));

    // Already playing: only the volume changes.
    SendVolume(SoundManager::kMusicVolume, 20);
    EXPECT_EQ(layer.streamPlays.size(), 1u);
    EXPECT_EQ(layer.volumes[channel], 51);
}

TEST_F(SoundManagerTest, AVolumeEventWithoutItsPercentIsDroppedAndTheNextOneStillRuns) {
    Module<EventManager>::Instance()->PublishEvent(
        Event("test", "SoundManager", SoundManager::kSoundVolume));
    Event mistyped("test", "SoundManager", SoundManager::kMusicVolume);
    mistyped.SetParam<float>(SoundManager::kVolumeParam, 10.0f);
    Module<EventManager>::Instance()->PublishEvent(mistyped);
    SendVolume(SoundManager::kSoundVolume, 10);

    EXPECT_EQ(Sounds().soundVolume, 25);
    EXPECT_EQ(Sounds().musicVolume, 255);
    EXPECT_EQ(log.Count("WARNING: SoundManager: dropped event"), 2);
    EXPECT_FALSE(log.Has("musicVolume ="));
}

// ---- The listener -------------------------------------------------------------

TEST_F(SoundManagerTest, TheListenerStandsAtTheCameraUntilThereIsAPlayer) {
    Objects().cameraObject.target = Vector(3.0f, 4.0f, 5.0f, 0.0f);
    Sounds().Update();
    ASSERT_FALSE(layer.listener.empty());
    const sound_test::ListenerCall& atCamera = layer.listener.back();
    EXPECT_FLOAT_EQ(atCamera.position[0], 3.0f);
    EXPECT_FLOAT_EQ(atCamera.position[1], 4.0f);
    EXPECT_FLOAT_EQ(atCamera.position[2], 5.0f);
    EXPECT_FLOAT_EQ(atCamera.top[1], 1.0f);

    AddPlayerAt(Vector(-6.0f, 1.0f, 2.0f, 0.0f));
    Sounds().Update();
    const sound_test::ListenerCall& atPlayer = layer.listener.back();
    EXPECT_FLOAT_EQ(atPlayer.position[0], -6.0f);
    EXPECT_FLOAT_EQ(atPlayer.position[1], 1.0f);
    EXPECT_FLOAT_EQ(atPlayer.position[2], 2.0f);
}

TEST_F(SoundManagerTest, TheListenerLooksWhereTheCameraLooksWhicheverWayItTurns) {
    Sounds().Update();  // identity view: looking along -z
    EXPECT_FLOAT_EQ(layer.listener.back().forward[0], 0.0f);
    EXPECT_FLOAT_EQ(layer.listener.back().forward[2], -1.0f);

    // Turned to look along +x: right is +z, up is +y, the third row is -x.
    Matrix view;
    view.RowFromVec(0, Vector(0.0f, 0.0f, 1.0f, 0.0f));
    view.RowFromVec(1, Vector(0.0f, 1.0f, 0.0f, 0.0f));
    view.RowFromVec(2, Vector(-1.0f, 0.0f, 0.0f, 0.0f));
    Objects().cameraObject.viewMat = view;
    Sounds().Update();
    EXPECT_FLOAT_EQ(layer.listener.back().forward[0], 1.0f);
    EXPECT_FLOAT_EQ(layer.listener.back().forward[1], 0.0f);
    EXPECT_FLOAT_EQ(layer.listener.back().forward[2], 0.0f);
}

}  // namespace
