// MixerSoundLayer: the game's sound layer over SDL_mixer. Sound-effect
// channels are SDL_mixer channels; the music stream plays through our
// MusicPlayer on SDL_mixer's music hook and owns one virtual channel.
//
// Owns every sample and stream it loaded until they are freed or the layer
// closes, and the SDL audio subsystem when it had to start it itself.
//
// Threads and locks, outermost first:
// - loadMutex: held while a file is decoded (loads may run on the loading
//   thread) and by Init and Close, so closing waits for a load in progress;
// - tableMutex: every table of the layer; SDL_mixer is called under it;
// - SDL's audio lock, taken inside SDL_mixer calls;
// - the MusicPlayer's mutex, the only lock the audio thread takes of ours.
// The audio thread never takes loadMutex or tableMutex, so the order holds.
#pragma once

#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/channel_handle.h"
#include "platform/music_player.h"
#include "platform/sound_layer.h"
#include "platform/sound_placement.h"

struct Mix_Chunk;

namespace platform {

class MixerSoundLayer : public SoundLayer {
public:
    bool Init(int mixRate, int maxChannels, unsigned int flags) override;
    void Close() override;

    FSOUND_SAMPLE* SampleLoad(int index, const char* file, unsigned int mode, int offset,
                              int length) override;
    bool SampleSetMode(FSOUND_SAMPLE* sample, unsigned int mode) override;
    void SampleFree(FSOUND_SAMPLE* sample) override;
    int PlaySound(int channel, FSOUND_SAMPLE* sample) override;
    bool StopSound(int channel) override;

    FSOUND_STREAM* StreamOpen(const char* file, unsigned int mode, int offset,
                              int length) override;
    bool StreamSetMode(FSOUND_STREAM* stream, unsigned int mode) override;
    int StreamPlay(int channel, FSOUND_STREAM* stream) override;
    bool StreamStop(FSOUND_STREAM* stream) override;
    bool StreamClose(FSOUND_STREAM* stream) override;

    bool SetAttributes3D(int channel, const float* pos, const float* vel) override;
    void SetListenerAttributes3D(const float* pos, const float* vel, float fx, float fy,
                                 float fz, float tx, float ty, float tz) override;
    void SetRolloffFactor3D(float rolloff) override;

    bool SetVolume(int channel, int volume) override;
    int GetVolume(int channel) override;
    int GetChannelsPlaying() override;

private:
    struct Channel {
        unsigned generation = 0;
        int volume = 255;
        bool placed = false;
        float position[3] = {0.0f, 0.0f, 0.0f};
        bool applied = false;
        SoundPlacement placement;
    };

    // Everything below expects tableMutex held.
    void ResetChannels();
    int EffectChannelIndex(int handle) const;  // -1 unless handle is current
    bool IsMusicHandle(int handle) const;
    int FreeEffectChannel() const;
    int StartOnChannel(int index, FSOUND_SAMPLE* sample);
    void ApplyPlacement(int index);
    void ApplyAllPlacements();
    bool OwnsSample(FSOUND_SAMPLE* sample) const;
    bool OwnsStream(FSOUND_STREAM* stream) const;
    void FreeEverything();

    // loadMutex held.
    Mix_Chunk* LoadChunk(const char* file);
    bool OpenDevice(int mixRate);

    std::mutex loadMutex;
    std::mutex tableMutex;
    bool open = false;  // written under both mutexes, read under either
    bool startedAudio = false;
    // Sized for the most channels ever; generations survive Close and Init so
    // that no handle from an earlier session matches a later playback.
    std::vector<Channel> channels = std::vector<Channel>(kMaxEffectChannels);
    int channelCount = 0;
    Channel music;
    std::unordered_set<FSOUND_SAMPLE*> samples;
    std::unordered_set<FSOUND_STREAM*> streams;
    SoundListener listener;
    float rolloff = 1.0f;
    MusicPlayer player;
};

}  // namespace platform
