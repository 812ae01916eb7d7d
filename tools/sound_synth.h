// Generator step: every sound sample and the music stream the game loads,
// synthesized and written as 16-bit PCM WAV under "resource/sounds/".
#pragma once

#include <string>

// One generated sound: its registry name, its file (relative to the run
// folder) and whether the registry must mark it loop="true".
struct GeneratedSound {
    const char* name;
    const char* file;
    bool loop;
};

// The table of everything GenerateSounds writes.
extern const GeneratedSound GENERATED_SOUNDS[];
extern const int GENERATED_SOUND_COUNT;

bool GenerateSounds(const std::string& runDir);
