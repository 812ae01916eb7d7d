// Channel handles of the sound layer: the low bits name the channel, the
// high bits the playback's generation. Every new playback on a channel
// moves its generation on, so a handle kept from an earlier playback (a
// held boost channel, say) never reaches the sound that replaced it.
// Pure values: any thread.
#pragma once

namespace platform {

constexpr int kChannelIndexBits = 12;
constexpr int kChannelIndexMask = (1 << kChannelIndexBits) - 1;
// Generations fill the rest of a non-negative int; 0 is never live, so a bare
// channel index is never mistaken for a handle.
constexpr unsigned kMaxChannelGeneration = (1u << (31 - kChannelIndexBits)) - 1;
// The music stream's channel lies past every sound-effect channel.
constexpr int kMusicChannelIndex = kChannelIndexMask;
constexpr int kMaxEffectChannels = 256;

constexpr int MakeChannelHandle(int index, unsigned generation) {
    return static_cast<int>(generation << kChannelIndexBits) | index;
}

constexpr int ChannelIndexOf(int handle) { return handle & kChannelIndexMask; }

constexpr unsigned ChannelGenerationOf(int handle) {
    return static_cast<unsigned>(handle) >> kChannelIndexBits;
}

constexpr unsigned NextChannelGeneration(unsigned generation) {
    return generation >= kMaxChannelGeneration ? 1u : generation + 1u;
}

}  // namespace platform
