// SoundManager: plays the game's sound effects as 3D sounds placed in the
// world and the one looping background music, through the FSOUND layer
// (platform/fsound.h). The listener stands at "player", or at the camera when
// there is none, and looks along the camera's view.
//
// Owns no sound data: samples and the stream belong to the ResourceManager
// and are looked up by name at each use; at shutdown Kill frees the hull-hit
// sample and the music stream and closes the layer. Owns the volume settings
// (the settings code reads and writes them directly) and the two channels it
// holds: the boost channel and the music channel.
//
// Threads: main thread only, for every entry point. Update takes the object
// lock to read the player and the camera; PlaySample and StopSound take no
// lock, so callers may hold it. Never calls AddGameObject.
//
// Events (client "SoundManager"): "Play Music", "Stop Music", "Adjust Music
// Volume", "Music Volume" and "Sound Volume" (both with "volume", an int
// percent). It sends none.
#pragma once

#include <string>

#include "event_manager/event.h"
#include "geom/vector.h"
#include "module.h"
#include "resource_manager/sound_data.h"

class SoundManager : public virtual Module<SoundManager> {
public:
    // The messages this module handles, and their parameter.
    static constexpr const char *kPlayMusic = "Play Music", *kStopMusic = "Stop Music";
    static constexpr const char* kAdjustMusicVolume = "Adjust Music Volume";
    static constexpr const char *kMusicVolume = "Music Volume", *kSoundVolume = "Sound Volume";
    static constexpr const char* kVolumeParam = "volume";

    // Resources it uses by name.
    static constexpr const char* kMusicStream = "stream_BG Music";
    static constexpr const char* kBoostSample = "sample_boost";
    static constexpr const char* kHullHitSample = "sample_hull_hit";

    // A sound farther than this from the camera is not played.
    static constexpr float kHearingDistance = 100.0f;
    // With more channels than this playing, a new sound is dropped.
    static constexpr int kMaxChannelsPlaying = 45;

    SoundManager();
    ~SoundManager() override;

    // Opens the sound layer (it stays silent when no device opens), registers
    // the event client and places the listener at the camera.
    void Init() override;
    // Moves the listener, then handles this frame's events.
    void Update() override;
    // Unregisters, frees the hull-hit sample and the music stream, closes the
    // layer. Missing resources are skipped.
    void Kill() override;
    void ProcessEvent(const Event& event) override;

    // Plays one sound effect at sound.position, unless it is farther than
    // kHearingDistance from the camera, too many channels play, or it has no
    // sample. "sample_boost" keeps one held channel that later calls only
    // move. Callers pass a copy of the stored Sound with its position set.
    void PlaySample(const Sound& sound);
    // Stops the held boost channel, if any, and frees it.
    void StopSound();
    // PlaySample of a copy of the stored sample `name` placed at `at`, for
    // callers that play sounds every frame or every shot: a name that is not
    // stored is warned about once per run (it stays silent) and is never
    // looked up through the store's error path. Takes no lock.
    void PlayStoredSample(const std::string& name, const Vector& at);

    // A percentage from "Music Volume" or "Sound Volume" as the volume this
    // module then keeps, truncated toward zero; clamped to 0..100 first.
    static int VolumeFromPercent(int percent);

    int soundVolume = 255;  // 0..255, given to every new sound effect
    int musicVolume = 255;  // 0..255, the music channel's volume
    int boost_chnl = -1;    // channel holding "sample_boost"; -1 = none
    int music_chnl = -1;    // channel playing the music; -1 = none

private:
    void PlayMusic();
    void StopMusic();
    void AdjustMusicVolume();
    void SetMusicVolumeFromPercent(int percent);
    void StartMusicIfStopped(SoundStream& music);
    // Ignored while no music channel is held.
    void SetMusicChannelVolume(int volume);
    // The stored music stream; null (logged by the store) when not loaded.
    SoundStream* FindMusic();
};
