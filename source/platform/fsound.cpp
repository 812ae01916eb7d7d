// The FSOUND_* entry points: each forwards to the installed SoundLayer.
#include "platform/fsound.h"

#include <atomic>

#include "platform/sound_layer.h"

namespace platform {
namespace {

// Atomic because a loading thread may call in while start-up installs it.
std::atomic<SoundLayer*> installed{nullptr};

SoundLayer& Layer() {
    SoundLayer* layer = installed.load();
    return layer ? *layer : MixerLayer();
}

}  // namespace

SoundLayer* SetSoundLayer(SoundLayer* layer) { return installed.exchange(layer); }

}  // namespace platform

using platform::Layer;

bool FSOUND_Init(int mixRate, int maxChannels, unsigned int flags) {
    return Layer().Init(mixRate, maxChannels, flags);
}

void FSOUND_Close() { Layer().Close(); }

FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* file, unsigned int mode, int offset,
                                  int length) {
    return Layer().SampleLoad(index, file, mode, offset, length);
}

bool FSOUND_Sample_SetMode(FSOUND_SAMPLE* sample, unsigned int mode) {
    return Layer().SampleSetMode(sample, mode);
}

void FSOUND_Sample_Free(FSOUND_SAMPLE* sample) { Layer().SampleFree(sample); }

int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample) {
    return Layer().PlaySound(channel, sample);
}

bool FSOUND_StopSound(int channel) { return Layer().StopSound(channel); }

FSOUND_STREAM* FSOUND_Stream_Open(const char* file, unsigned int mode, int offset, int length) {
    return Layer().StreamOpen(file, mode, offset, length);
}

bool FSOUND_Stream_SetMode(FSOUND_STREAM* stream, unsigned int mode) {
    return Layer().StreamSetMode(stream, mode);
}

int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream) {
    return Layer().StreamPlay(channel, stream);
}

bool FSOUND_Stream_Stop(FSOUND_STREAM* stream) { return Layer().StreamStop(stream); }

bool FSOUND_Stream_Close(FSOUND_STREAM* stream) { return Layer().StreamClose(stream); }

bool FSOUND_3D_SetAttributes(int channel, const float* pos, const float* vel) {
    return Layer().SetAttributes3D(channel, pos, vel);
}

void FSOUND_3D_Listener_SetAttributes(const float* pos, const float* vel, float fx, float fy,
                                      float fz, float tx, float ty, float tz) {
    Layer().SetListenerAttributes3D(pos, vel, fx, fy, fz, tx, ty, tz);
}

void FSOUND_3D_SetRolloffFactor(float rolloff) { Layer().SetRolloffFactor3D(rolloff); }

bool FSOUND_SetVolume(int channel, int volume) { return Layer().SetVolume(channel, volume); }

int FSOUND_GetVolume(int channel) { return Layer().GetVolume(channel); }

int FSOUND_GetChannelsPlaying() { return Layer().GetChannelsPlaying(); }
