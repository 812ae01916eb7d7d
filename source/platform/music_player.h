// MusicPlayer: plays the one music stream by feeding SDL_mixer's music hook
// from a fully decoded buffer, so that looping can be switched while it
// plays and the music has a volume of its own.
//
// Threads: the hook runs on SDL's audio thread; every other method runs on
// the caller's thread. The player's mutex guards its state and is the
// innermost lock of the sound layer: no SDL_mixer call is ever made while
// holding it (SDL_mixer calls the hook with its own audio lock held).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

namespace platform {

// The decoded stream: samples already in the device's format. The loop flag
// is read by the audio thread, hence atomic.
struct MusicData {
    const std::uint8_t* bytes = nullptr;
    std::uint32_t length = 0;
    std::atomic<bool> loop{false};
};

class MusicPlayer {
public:
    // Hooks the player into the open mixer; Detach unhooks it, after which
    // the audio thread no longer reads anything of the player.
    void Attach();
    void Detach();

    // Starts data from its beginning (replacing whatever played).
    void Play(const MusicData* data);
    void Stop();
    // Stops only when data is what plays; the caller may then free data.
    void StopIfPlaying(const MusicData* data);
    bool IsPlaying() const;
    // Mixer volume, 0..128.
    void SetVolume(int mixVolume);

    // Writes the next len bytes of music into stream (audio thread).
    void Mix(std::uint8_t* stream, int len);

private:
    mutable std::mutex mutex;
    const MusicData* current = nullptr;
    std::uint32_t position = 0;
    int volume = 128;
};

}  // namespace platform
