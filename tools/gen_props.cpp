#include "gen_props.h"

#include <cmath>

#include "game_paths.h"
#include "model_files.h"
#include "model_paint.h"
#include "model_sketch.h"
#include "paint.h"
#include "palette.h"

namespace {

const float kPi = 3.14159265f;

// Turns a block so that its own up axis leans `degrees` from +y: towards +z
// (about x) or towards -x (about z).
void LeanZ(Part& part, float degrees) {
    const float a = degrees * kPi / 180.0f;
    part.axes[1] = Vector(0.0f, std::cos(a), std::sin(a));
    part.axes[2] = Vector(0.0f, -std::sin(a), std::cos(a));
}
void LeanBack(Part& part, float degrees) {
    const float a = degrees * kPi / 180.0f;
    part.axes[0] = Vector(std::cos(a), std::sin(a), 0.0f);
    part.axes[1] = Vector(-std::sin(a), std::cos(a), 0.0f);
}

Livery Colours(Rgb hull, Rgb mark, Rgb dark, Rgb glow, float panel, unsigned seed) {
    Livery livery{hull, mark, dark, glow};
    livery.panel = panel;
    livery.seed = seed;
    return livery;
}

struct Prop {
    const char* name;     // mesh file
    const char* texture;  // texture file in the textures folder
    ModelSketch sketch;
    Livery livery;
    int atlas;
    float reach;          // how far parts shade each other
    bool ground;          // stands on y = 0
};

bool WriteProp(const std::string& runDir, Prop prop, const Mesh& mesh) {
    const Occlusion occlusion = BakeOcclusion(prop.sketch, prop.reach, prop.ground);
    return WriteMesh(runDir, prop.name, mesh) &&
           WriteImage(runDir, std::string(paths::kTextures) + prop.texture, PaintAtlas(prop.sketch, occlusion, prop.livery));
}

bool WriteProp(const std::string& runDir, Prop prop) {
    const Mesh mesh = prop.sketch.Finish(prop.atlas);
    return WriteProp(runDir, std::move(prop), mesh);
}

Prop Missile() {
    using namespace palette;
    ModelSketch s("missile");
    s.AddPrism(Vector(0, 0, 0), Vector(0, 0, 1), 0.55f, 2.4f, 6, Paint::Hull);
    s.AddPrism(Vector(0, 0, 3.0f), Vector(0, 0, 1), 0.55f, 0.6f, 6, Paint::Mark).taperX = 0.25f;
    s.AddPrism(Vector(0, 0, 1.6f), Vector(0, 0, 1), 0.58f, 0.25f, 6, Paint::Hazard);
    s.AddPrism(Vector(0, 0, -2.6f), Vector(0, 0, 1), 0.42f, 0.25f, 6, Paint::Dark);
    s.AddBlock(Vector(0, 0, -2.2f), Vector(1.5f, 0.08f, 0.55f), Paint::Dark);
    s.AddBlock(Vector(0, 0, -2.2f), Vector(0.08f, 1.5f, 0.55f), Paint::Dark);
    return {"missile", "missile.png", s, Colours(Mix(kMetalPale, kConcrete, 0.5f), kPlayerShotGlow, kMetalDark, kFire, 1.2f, 11), 64, 1.5f, false};
}

// An olive case, a hazard band round it, three brass rounds standing in it.
Prop AmmoCase() {
    using namespace palette;
    ModelSketch s("pickup_ammo");
    s.AddBlock(Vector(0, -0.9f, 0), Vector(2.6f, 1.5f, 1.8f), Paint::Case).shareGroup = s.NewShareGroup();
    s.AddBlock(Vector(0, -0.6f, 0), Vector(2.66f, 0.35f, 1.86f), Paint::Hazard);
    s.AddBlock(Vector(0, 0.75f, 0), Vector(2.75f, 0.15f, 1.95f), Paint::Dark);
    for (float x : {-1.5f, 0.0f, 1.5f}) {
        s.AddPrism(Vector(x, 1.85f, 0), Vector(0, 1, 0), 0.6f, 0.95f, 6, Paint::Brass);
        s.AddPrism(Vector(x, 3.2f, 0), Vector(0, 1, 0), 0.6f, 0.4f, 6, Paint::Mark).taperX = 0.35f;
    }
    return {"pickup_ammo", "pickup_ammo.png", s, Colours(kAmmoOlive, Mix(kBrass, kRust, 0.5f), kMetalDark, kHazard, 1.5f, 12),
            64, 2.0f, false};
}

// A cross standing out along all three axes, readable from any side while
// it spins: red with white rims.
Prop HealthCross() {
    using namespace palette;
    ModelSketch s("pickup_health");
    s.AddBlock(Vector(0, 0, 0), Vector(3.0f, 1.0f, 1.0f), Paint::Cross);
    s.AddBlock(Vector(0, 0, 0), Vector(1.0f, 3.0f, 1.0f), Paint::Cross);
    s.AddBlock(Vector(0, 0, 0), Vector(1.0f, 1.0f, 3.0f), Paint::Cross);
    return {"pickup_health", "pickup_health.png", s, Colours(kHealthWhite, kHealthRed, kMetalDark, kHealthRed, 2.0f, 13),
            64, 2.0f, false};
}

// The pad the enemies arrive on: rings in their colour, four lamp posts.
Prop SpawnPad() {
    using namespace palette;
    ModelSketch s("spawn_point");
    s.AddBlock(Vector(0, 0.5f, 0), Vector(10.0f, 0.5f, 10.0f), Paint::Pad).shareGroup = s.NewShareGroup();
    const int posts = s.NewShareGroup();
    for (float x : {-9.0f, 9.0f})
        for (float z : {-9.0f, 9.0f}) {
            s.AddBlock(Vector(x, 3.2f, z), Vector(0.55f, 2.2f, 0.55f), Paint::Dark).shareGroup = posts;
            s.AddBlock(Vector(x, 5.7f, z), Vector(0.45f, 0.3f, 0.45f), Paint::Emitter);
        }
    return {"spawn_point", "spawn_point.png", s, Colours(kMetalDark, kEnemyMark, kMetalDark, kEnemyMark, 4.0f, 14), 128,
            4.0f, true};
}

// A tower of offices: ten floors of windows (the upper nine in three blocks
// of three that share one strip of the atlas), corner piers, a door, a
// parapet, a roof house and an antenna with a warning lamp.
Prop Building() {
    using namespace palette;
    ModelSketch s("building");
    Part& ground = s.AddBlock(Vector(0, 3, 0), Vector(20, 3, 20), Paint::Facade);
    ground.shareGroup = s.NewShareGroup(), ground.sidesOnly = true;
    const int floors = s.NewShareGroup();
    for (int block = 0; block < 3; ++block) {
        Part& storeys = s.AddBlock(Vector(0, 6.0f + 18.0f * float(block) + 9.0f, 0), Vector(20, 9, 20), Paint::Facade);
        storeys.shareGroup = floors, storeys.sidesOnly = true;
    }
    s.AddBlock(Vector(0, 60.25f, 0), Vector(20, 0.25f, 20), Paint::Roof).detail = 0.25f;
    const int piers = s.NewShareGroup(), parapet = s.NewShareGroup();
    for (float x : {-19.7f, 19.7f})
        for (float z : {-19.7f, 19.7f}) s.AddBlock(Vector(x, 30.5f, z), Vector(0.9f, 30.5f, 0.9f), Paint::Roof).shareGroup = piers;
    for (float z : {-19.55f, 19.55f}) s.AddBlock(Vector(0, 61.2f, z), Vector(18.8f, 0.7f, 0.45f), Paint::Roof).shareGroup = parapet;
    for (float x : {-19.55f, 19.55f}) s.AddBlock(Vector(x, 61.2f, 0), Vector(0.45f, 0.7f, 18.8f), Paint::Roof).shareGroup = parapet;
    s.AddBlock(Vector(0, 3.0f, 20.3f), Vector(3.0f, 3.0f, 0.35f), Paint::Glass);
    Part& house = s.AddBlock(Vector(0, 62.5f, 0), Vector(8, 2, 8), Paint::Roof);
    house.shareGroup = s.NewShareGroup(), house.detail = 0.5f;
    s.AddBlock(Vector(5, 65.1f, 4), Vector(1.5f, 0.6f, 1.5f), Paint::Dark);
    s.AddPrism(Vector(0, 70.5f, 0), Vector(0, 1, 0), 0.5f, 6.0f, 6, Paint::Dark);
    s.AddBlock(Vector(0, 76.8f, 0), Vector(0.4f, 0.3f, 0.4f), Paint::Emitter);
    Livery livery = Colours(kConcrete, kHazard, kMetalDark, kPlayerShotGlow, 5.0f, 15);
    livery.dust = 0.6f;
    livery.dustHeight = 4.5f;
    return {"building", "building.png", s, livery, 128, 10.0f, true};
}

// Eye space is (model z, model y - 4.6, 4.4 - model x): a dashboard whose
// slanted top carries three displays across the bottom of the view, two
// pillars leaning in at the sides, a roof panel across the top.
Prop Cockpit() {
    using namespace palette;
    ModelSketch s("cockpit");
    Part dash;
    dash.centre = Vector(7.1f, 2.3f, 0), dash.half = Vector(0.8f, 0.75f, 3.5f), dash.paint = Paint::Hull;
    LeanBack(dash, 18.0f);
    s.Add(dash);
    Part lip = dash;
    lip.centre = Vector(6.3f, 2.95f, 0), lip.half = Vector(0.12f, 0.12f, 3.5f), lip.paint = Paint::Mark;
    s.Add(lip);
    for (float z : {-1.7f, 0.0f, 1.7f}) {
        Part screen = dash;
        screen.centre = Vector(6.92f, 3.07f, z), screen.half = Vector(0.42f, 0.04f, 0.7f), screen.paint = Paint::Display;
        s.Add(screen);
    }
    for (float side : {-1.0f, 1.0f}) {
        Part pillar;
        pillar.centre = Vector(7.8f, 4.85f, 2.65f * side), pillar.half = Vector(0.28f, 1.78f, 0.2f), pillar.paint = Paint::Dark;
        LeanZ(pillar, -7.5f * side);
        s.Add(pillar);
        s.AddBlock(Vector(7.2f, 2.9f, 3.15f * side), Vector(0.9f, 0.75f, 0.5f), Paint::Dark);
    }
    s.AddBlock(Vector(7.5f, 6.95f, 0), Vector(1.1f, 0.3f, 3.0f), Paint::Hull);
    s.AddBlock(Vector(6.45f, 6.62f, 0), Vector(0.08f, 0.05f, 2.9f), Paint::Mark);
    Prop prop{"cockpit", "grey.png", s, Colours(kPlayerHull, kPlayerEmber, kMetalDark, Mix(kPlayerEmber, kFire, 0.35f), 1.6f, 16),
              128, 0.8f, false};
    return prop;
}

}  // namespace

bool GeneratePropMeshes(const std::string& runDir) {
    Prop cockpit = Cockpit();
    const Mesh cockpitMesh = cockpit.sketch.FinishForEye(cockpit.atlas, Vector(4.4f, 4.6f, 0.0f));
    return WriteProp(runDir, Missile()) && WriteProp(runDir, AmmoCase()) && WriteProp(runDir, HealthCross()) &&
           WriteProp(runDir, SpawnPad()) && WriteProp(runDir, Building()) && WriteProp(runDir, cockpit, cockpitMesh);
}
