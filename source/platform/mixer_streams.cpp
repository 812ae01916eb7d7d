// The SDL_mixer layer's music stream: one virtual channel whose handle
// carries a generation like the effect channels.
#include <SDL_mixer.h>

#include "platform/channel_handle.h"
#include "platform/mixer_handles.h"
#include "platform/mixer_sound_layer.h"

namespace platform {

bool MixerSoundLayer::StreamSetMode(FSOUND_STREAM* stream, unsigned int mode) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (!OwnsStream(stream)) return false;
    if (mode & FSOUND_LOOP_NORMAL) stream->music.loop.store(true);
    if (mode & FSOUND_LOOP_OFF) stream->music.loop.store(false);
    return true;
}

int MixerSoundLayer::StreamPlay(int channel, FSOUND_STREAM* stream) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (!OwnsStream(stream)) return -1;
    // Restarting on the music channel's own handle keeps it, so a caller
    // that holds it can still set the music's volume.
    if (!IsMusicHandle(channel)) music.generation = NextChannelGeneration(music.generation);
    music.volume = 255;
    player.SetVolume(MIX_MAX_VOLUME);
    player.Play(&stream->music);
    return MakeChannelHandle(kMusicChannelIndex, music.generation);
}

bool MixerSoundLayer::StreamStop(FSOUND_STREAM* stream) {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (!OwnsStream(stream)) return false;
    player.StopIfPlaying(&stream->music);
    return true;
}

}  // namespace platform
