// Sound and SoundStream: the stored records of a loaded sample and a music
// stream. They only carry the sound layer's opaque handles (owned by the
// sound layer, never freed through these records) and their names.
// Plain values, copied freely; any thread may hold one.
#pragma once

#include <string>

#include "geom/geom.h"

struct FSOUND_SAMPLE;
struct FSOUND_STREAM;

struct Sound {
    FSOUND_SAMPLE* sample = nullptr;
    std::string name;
    // Where the sound is heard: a player copies the Sound and writes the
    // emitting object's position into the copy.
    Vector position;
};

struct SoundStream {
    FSOUND_STREAM* stream = nullptr;
    std::string name;
};
