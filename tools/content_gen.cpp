// content_gen <runDir>: writes the game's generated content (pictures,
// meshes, skeletons, animations, sounds) into the run folder at build time,
// with the engine's own writers. Deterministic: no clock, no random seed.
//
// Each step is one function `bool Generate...(const std::string& runDir)`;
// a new kind of content adds its step to the list below.
#include <iostream>
#include <string>

#include "gen_images.h"
#include "gen_meshes.h"
#include "sound_synth.h"

namespace {

struct GeneratorStep {
    const char* name;
    bool (*run)(const std::string& runDir);
};

const GeneratorStep STEPS[] = {
    {"images", GenerateImages},
    {"meshes", GenerateMeshes},
    {"sounds", GenerateSounds},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: content_gen <run folder>" << std::endl;
        return 2;
    }
    const std::string runDir = argv[1];
    for (const GeneratorStep& step : STEPS) {
        if (!step.run(runDir)) {
            std::cerr << "content_gen: step \"" << step.name << "\" failed" << std::endl;
            return 1;
        }
    }
    return 0;
}
