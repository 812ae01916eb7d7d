// The layout of the sample and stream handles that the SDL_mixer layer gives
// out. Included only by the layer's own files: everyone else sees opaque
// pointers.
#pragma once

#include "platform/music_player.h"

struct Mix_Chunk;

struct FSOUND_SAMPLE {
    Mix_Chunk* chunk = nullptr;
    bool loop = false;  // read at each play; main thread
};

struct FSOUND_STREAM {
    Mix_Chunk* chunk = nullptr;
    platform::MusicData music;  // points into chunk
};
