// SoundLayer: the seam behind the FSOUND_* calls. The game's own layer is
// the SDL_mixer one (mixer_sound_layer.h); a test may install a recording
// fake so that code calling FSOUND_* can be checked without a device.
//
// Each method mirrors the FSOUND call of the same name, with the contract
// written in fsound.h. A layer only ever receives sample and stream handles
// that it gave out itself (a fake may give out any distinct non-null
// addresses, it never needs the structs' layout).
#pragma once

#include "platform/fsound.h"

namespace platform {

class SoundLayer {
public:
    virtual ~SoundLayer() = default;

    virtual bool Init(int mixRate, int maxChannels, unsigned int flags) = 0;
    virtual void Close() = 0;

    virtual FSOUND_SAMPLE* SampleLoad(int index, const char* file, unsigned int mode, int offset,
                                      int length) = 0;
    virtual bool SampleSetMode(FSOUND_SAMPLE* sample, unsigned int mode) = 0;
    virtual void SampleFree(FSOUND_SAMPLE* sample) = 0;
    virtual int PlaySound(int channel, FSOUND_SAMPLE* sample) = 0;
    virtual bool StopSound(int channel) = 0;

    virtual FSOUND_STREAM* StreamOpen(const char* file, unsigned int mode, int offset,
                                      int length) = 0;
    virtual bool StreamSetMode(FSOUND_STREAM* stream, unsigned int mode) = 0;
    virtual int StreamPlay(int channel, FSOUND_STREAM* stream) = 0;
    virtual bool StreamStop(FSOUND_STREAM* stream) = 0;
    virtual bool StreamClose(FSOUND_STREAM* stream) = 0;

    virtual bool SetAttributes3D(int channel, const float* pos, const float* vel) = 0;
    virtual void SetListenerAttributes3D(const float* pos, const float* vel, float fx, float fy,
                                         float fz, float tx, float ty, float tz) = 0;
    virtual void SetRolloffFactor3D(float rolloff) = 0;

    virtual bool SetVolume(int channel, int volume) = 0;
    virtual int GetVolume(int channel) = 0;
    virtual int GetChannelsPlaying() = 0;
};

// Installs the layer the FSOUND_* calls reach and returns the previous one;
// null restores the SDL_mixer layer. The caller keeps ownership and must
// restore the previous layer before destroying its own. Main thread only,
// while no loading thread runs (tests, start-up).
SoundLayer* SetSoundLayer(SoundLayer* layer);

// The SDL_mixer layer (created on first use, lives for the whole run).
SoundLayer& MixerLayer();

}  // namespace platform
