// The SDL_mixer layer's channels: playing and stopping samples, volumes,
// the music channel's handle, and 3D placement by panning and damping.
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "platform/channel_handle.h"
#include "platform/mixer_handles.h"
#include "platform/mixer_sound_layer.h"

namespace platform {
namespace {

int ToMixVolume(int volume) { return (std::clamp(volume, 0, 255) * MIX_MAX_VOLUME + 127) / 255; }

bool IsFinitePosition(const float* pos) {
    return std::isfinite(pos[0]) && std::isfinite(pos[1]) && std::isfinite(pos[2]);
}

}  // namespace

int MixerSoundLayer::EffectChannelIndex(int handle) const {
    if (!open || handle < 0) return -1;
    int index = ChannelIndexOf(handle);
    if (index >= channelCount) return -1;
    unsigned generation = channels[index].generation;
    if (generation == 0 || generation != ChannelGenerationOf(handle)) return -1;
    return index;
}

bool MixerSoundLayer::IsMusicHandle(int handle) const {
    return open && handle >= 0 && ChannelIndexOf(handle) == kMusicChannelIndex &&
           music.generation != 0 && music.generation == ChannelGenerationOf(handle);
}

int MixerSoundLayer::FreeEffectChannel() const {
    for (int i = 0; i < channelCount; ++i) {
        if (!Mix_Playing(i)) return i;
    }
    return -1;
}

int MixerSoundLayer::StartOnChannel(int index, FSOUND_SAMPLE* sample) {
    Mix_HaltChannel(index);
    // A finished channel may still carry the previous sound's placement.
    Mix_UnregisterAllEffects(index);
    Mix_Volume(index, MIX_MAX_VOLUME);
    if (Mix_PlayChannel(index, sample->chunk, sample->loop ? -1 : 0) < 0) return -1;
    Channel& channel = channels[index];
    unsigned generation = NextChannelGeneration(channel.generation);
    channel = Channel();
    channel.generation = generation;
    return MakeChannelHandle(index, generation);
}

int MixerSoundLayer::PlaySound(int channel, FSOUND_SAMPLE* sample) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (!OwnsSample(sample)) return -1;
    int index = -1;
    if (channel == FSOUND_FREE) {
        index = FreeEffectChannel();
    } else if (channel >= 0 && ChannelIndexOf(channel) < channelCount) {
        index = ChannelIndexOf(channel);
    }
    if (index < 0) return -1;
    return StartOnChannel(index, sample);
}

bool MixerSoundLayer::StopSound(int channel) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (IsMusicHandle(channel)) {
        player.Stop();
        return true;
    }
    int index = EffectChannelIndex(channel);
    if (index < 0) return false;
    Mix_HaltChannel(index);
    return true;
}

bool MixerSoundLayer::SetVolume(int channel, int volume) {
    std::lock_guard<std::mutex> guard(tableMutex);
    volume = std::clamp(volume, 0, 255);
    if (IsMusicHandle(channel)) {
        music.volume = volume;
        player.SetVolume(ToMixVolume(volume));
        return true;
    }
    int index = EffectChannelIndex(channel);
    if (index < 0) return false;
    channels[index].volume = volume;
    Mix_Volume(index, ToMixVolume(volume));
    return true;
}

int MixerSoundLayer::GetVolume(int channel) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (IsMusicHandle(channel)) return music.volume;
    int index = EffectChannelIndex(channel);
    return index < 0 ? 0 : channels[index].volume;
}

int MixerSoundLayer::GetChannelsPlaying() {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (!open) return 0;
    return Mix_Playing(-1) + (player.IsPlaying() ? 1 : 0);
}

bool MixerSoundLayer::SetAttributes3D(int channel, const float* pos, const float* /*vel*/) {
    std::lock_guard<std::mutex> guard(tableMutex);
    int index = EffectChannelIndex(channel);
    // Placing a channel that has finished would leave an effect behind on it.
    if (index < 0 || !pos || !IsFinitePosition(pos) || !Mix_Playing(index)) return false;
    Channel& state = channels[index];
    std::copy(pos, pos + 3, state.position);
    state.placed = true;
    ApplyPlacement(index);
    return true;
}

void MixerSoundLayer::SetListenerAttributes3D(const float* pos, const float* /*vel*/, float fx,
                                              float fy, float fz, float tx, float ty, float tz) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (!open) return;
    if (pos && IsFinitePosition(pos)) std::copy(pos, pos + 3, listener.position);
    const float forward[3] = {fx, fy, fz};
    const float top[3] = {tx, ty, tz};
    if (IsFinitePosition(forward)) std::copy(forward, forward + 3, listener.forward);
    if (IsFinitePosition(top)) std::copy(top, top + 3, listener.top);
    ApplyAllPlacements();
}

void MixerSoundLayer::SetRolloffFactor3D(float factor) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (!open || !std::isfinite(factor)) return;
    rolloff = std::clamp(factor, 0.0f, kMaxRolloff);
    ApplyAllPlacements();
}

void MixerSoundLayer::ApplyPlacement(int index) {
    Channel& state = channels[index];
    SoundPlacement placement = PlaceSound(listener, state.position, rolloff);
    // Mixer effects take the audio lock; skip the call when nothing moved.
    if (state.applied && placement.angle == state.placement.angle &&
        placement.distance == state.placement.distance) {
        return;
    }
    Mix_SetPosition(index, static_cast<Sint16>(placement.angle),
                    static_cast<Uint8>(placement.distance));
    state.placement = placement;
    state.applied = true;
}

void MixerSoundLayer::ApplyAllPlacements() {
    for (int i = 0; i < channelCount; ++i) {
        if (channels[i].placed && Mix_Playing(i)) ApplyPlacement(i);
    }
}

}  // namespace platform
