#include "platform/music_player.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

namespace platform {
namespace {

void MixHook(void* player, Uint8* stream, int len) {
    static_cast<MusicPlayer*>(player)->Mix(stream, len);
}

}  // namespace

void MusicPlayer::Attach() { Mix_HookMusic(MixHook, this); }

void MusicPlayer::Detach() {
    // Mix_HookMusic takes the audio lock, so once it returns no hook call is
    // still running.
    Mix_HookMusic(nullptr, nullptr);
    Stop();
}

void MusicPlayer::Play(const MusicData* data) {
    std::lock_guard<std::mutex> guard(mutex);
    current = data;
    position = 0;
}

void MusicPlayer::Stop() {
    std::lock_guard<std::mutex> guard(mutex);
    current = nullptr;
    position = 0;
}

void MusicPlayer::StopIfPlaying(const MusicData* data) {
    std::lock_guard<std::mutex> guard(mutex);
    if (current != data) return;
    current = nullptr;
    position = 0;
}

bool MusicPlayer::IsPlaying() const {
    std::lock_guard<std::mutex> guard(mutex);
    return current != nullptr;
}

void MusicPlayer::SetVolume(int mixVolume) {
    std::lock_guard<std::mutex> guard(mutex);
    volume = std::clamp(mixVolume, 0, MIX_MAX_VOLUME);
}

void MusicPlayer::Mix(std::uint8_t* stream, int len) {
    std::lock_guard<std::mutex> guard(mutex);
    // SDL hands the callback a silent buffer; the music is added to it.
    while (current && len > 0) {
        if (position >= current->length) {
            if (!current->loop.load() || current->length == 0) {
                current = nullptr;
                position = 0;
                break;
            }
            position = 0;
        }
        std::uint32_t count = std::min<std::uint32_t>(current->length - position, len);
        SDL_MixAudio(stream, current->bytes + position, count, volume);
        position += count;
        stream += count;
        len -= static_cast<int>(count);
    }
}

}  // namespace platform
