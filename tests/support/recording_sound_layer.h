// A sound layer for tests: it plays nothing, hands out channel numbers in
// order and records what the game asked of it. Installed for its lifetime.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/sound_layer.h"

namespace sound_test {

struct PlayCall { int channelAsked; const void* what; int channelGiven; };  // what: sample or stream
struct PlaceCall { int channel; float position[3]; };
struct VolumeCall { int channel; int volume; };
struct ListenerCall { float position[3], forward[3], top[3]; };

class RecordingSoundLayer : public platform::SoundLayer {
public:
    RecordingSoundLayer() : previous(platform::SetSoundLayer(this)) {}
    ~RecordingSoundLayer() override { platform::SetSoundLayer(previous); }
    RecordingSoundLayer(const RecordingSoundLayer&) = delete;
    RecordingSoundLayer& operator=(const RecordingSoundLayer&) = delete;

    // Distinct fake handles; the layer never looks inside them.
    static FSOUND_SAMPLE* FakeSample(int n) {
        return reinterpret_cast<FSOUND_SAMPLE*>(static_cast<uintptr_t>(0x1000 + 16 * n));
    }
    static FSOUND_STREAM* FakeStream(int n) {
        return reinterpret_cast<FSOUND_STREAM*>(static_cast<uintptr_t>(0x9000 + 16 * n));
    }
    bool Init(int, int, unsigned int) override { return true; }
    void Close() override {}
    // Loads hand out FakeSample(1), FakeSample(2), ... and FakeStream(1), ...
    FSOUND_SAMPLE* SampleLoad(int index, const char* file, unsigned int mode, int, int) override {
        Record("SampleLoad " + std::to_string(index) + " " + file, mode);
        return FakeSample(++samplesLoaded);
    }
    bool SampleSetMode(FSOUND_SAMPLE* sample, unsigned int mode) override {
        return Record("SampleSetMode " + std::to_string(FakeNumber(sample)), mode);
    }
    void SampleFree(FSOUND_SAMPLE*) override {}
    int PlaySound(int channel, FSOUND_SAMPLE* sample) override {
        const int given = failPlays ? -1 : nextChannel++;
        soundPlays.push_back({channel, sample, given});
        if (given != -1) volumes[given] = 255;
        return given;
    }
    bool StopSound(int channel) override { stoppedChannels.push_back(channel); return true; }
    FSOUND_STREAM* StreamOpen(const char* file, unsigned int mode, int, int) override {
        Record(std::string("StreamOpen ") + file, mode);
        return FakeStream(++streamsOpened);
    }
    bool StreamSetMode(FSOUND_STREAM* stream, unsigned int mode) override {
        streamModes[stream] = mode;
        return Record("StreamSetMode " + std::to_string(FakeNumber(stream)), mode);
    }
    int StreamPlay(int channel, FSOUND_STREAM* stream) override {
        // Like the real layer: the music channel's own handle restarts it.
        const int given = (channel != FSOUND_FREE && channel == musicChannel) ? channel : nextChannel++;
        musicChannel = given;
        streamPlays.push_back({channel, stream, given});
        volumes[given] = 255;
        return given;
    }
    bool StreamStop(FSOUND_STREAM* stream) override { stoppedStreams.push_back(stream); return true; }
    bool StreamClose(FSOUND_STREAM*) override { return true; }
    bool SetAttributes3D(int channel, const float* pos, const float*) override {
        placements.push_back({channel, {pos[0], pos[1], pos[2]}});
        return true;
    }
    void SetListenerAttributes3D(const float* pos, const float*, float fx, float fy, float fz, float tx,
                                 float ty, float tz) override {
        listener.push_back({{pos[0], pos[1], pos[2]}, {fx, fy, fz}, {tx, ty, tz}});
    }
    void SetRolloffFactor3D(float) override {}
    bool SetVolume(int channel, int volume) override {
        volumeSets.push_back({channel, volume});
        if (!volumes.count(channel)) return false;
        volumes[channel] = volume;
        return true;
    }
    int GetVolume(int channel) override { return volumes.count(channel) ? volumes[channel] : 0; }
    int GetChannelsPlaying() override { return channelsPlaying; }
    int channelsPlaying = 0;  // settings a test may change
    bool failPlays = false;
    std::vector<PlayCall> soundPlays;  // what was asked
    std::vector<PlayCall> streamPlays;
    std::vector<int> stoppedChannels;
    std::vector<FSOUND_STREAM*> stoppedStreams;
    std::map<FSOUND_STREAM*, unsigned> streamModes;
    std::vector<PlaceCall> placements;
    std::vector<ListenerCall> listener;
    std::vector<VolumeCall> volumeSets;
    std::map<int, int> volumes;  // channel -> current volume
    std::vector<std::string> loads;  // loads and mode changes, with their numbers

private:
    bool Record(const std::string& call, unsigned mode) {
        loads.push_back(call + " " + std::to_string(mode));
        return true;
    }
    static int FakeNumber(const void* handle) {
        const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
        return int(((value >= 0x9000 ? value - 0x9000 : value - 0x1000)) / 16);
    }
    int samplesLoaded = 0;
    int streamsOpened = 0;
    platform::SoundLayer* previous;
    int nextChannel = 0;
    int musicChannel = -1;
};

}  // namespace sound_test
