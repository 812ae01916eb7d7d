// content_gen <runDir> [contactSheet]: writes the game's generated content
// (pictures, meshes, skeletons, animations, sounds) into the run folder at
// build time, with the engine's own writers, and, when a second path is
// given, the contact sheet of every registry texture there. Deterministic:
// no clock, no random seed.
//
// Each step is one function `bool Generate...(const std::string& runDir)`;
// a new kind of content adds its step to the list below.
#include <iostream>
#include <string>

#include "gen_contact_sheet.h"
#include "gen_effects.h"
#include "gen_font.h"
#include "gen_images.h"
#include "gen_level_art.h"
#include "gen_interface.h"
#include "gen_level_props.h"
#include "gen_mechs.h"
#include "gen_meshes.h"
#include "gen_props.h"
#include "gen_screens.h"
#include "gen_slides.h"
#include "gen_terrain.h"
#include "sound_synth.h"

namespace {

struct GeneratorStep {
    const char* name;
    bool (*run)(const std::string& runDir);
};

const GeneratorStep kSteps[] = {
    {"images", GenerateImages},
    {"meshes", GenerateMeshes},
    {"sounds", GenerateSounds},
    {"font", GenerateFont},
    {"interface", GenerateInterfaceImages},
    {"effects", GenerateEffectImages},
    {"screens", GenerateScreens},
    {"slides", GenerateSlides},
    {"terrain", GenerateTerrain},
    {"mechs", GenerateMechs},
    {"props", GeneratePropMeshes},
    {"level props", GenerateLevelProps},
    {"levels", GenerateLevelFiles},  // after "terrain": reads its height map
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: content_gen <run folder> [contact sheet]" << std::endl;
        return 2;
    }
    const std::string runDir = argv[1];
    for (const GeneratorStep& step : kSteps) {
        if (!step.run(runDir)) {
            std::cerr << "content_gen: step \"" << step.name << "\" failed" << std::endl;
            return 1;
        }
    }
    if (argc == 3 && !WriteContactSheet(runDir, argv[2])) {
        std::cerr << "content_gen: the contact sheet " << argv[2] << " could not be written" << std::endl;
        return 1;
    }
    return 0;
}
