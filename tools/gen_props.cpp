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

// Turns a block so that its own up axis leans `degrees` from +y towards -x
// (about z).
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

// The cockpit's eye in its own space: the point that CockpitObject's
// baseOffset (0, -4.6, 4.4) and quarter turn bring to the camera. Eye space is
// (model z, model y - 4.6, 4.4 - model x); at rest the bob lifts the model
// 1.5 units.
const Vector kCockpitEye(4.4f, 4.6f, 0.0f);
const float kRestBob = 1.5f;

// Model space from where a point lies from the eye with the cockpit at rest:
// `ahead` of it, `up` above it, `right` of it.
Vector FromEye(float ahead, float up, float right) {
    return Vector(kCockpitEye.x + ahead, kCockpitEye.y - kRestBob + up, right);
}

// A block of square section `half` wide from `from` to `to`, its own x axis
// kept level.
Part Beam(const Vector& from, const Vector& to, float half, Paint paint) {
    Part beam;
    Vector along = to - from;
    beam.centre = (from + to) * 0.5f, beam.half = Vector(half, along.Mag() * 0.5f, half), beam.paint = paint;
    along.Normalize();
    Vector side = Cross(along, Vector(1, 0, 0));
    side.Normalize();
    beam.axes[0] = Cross(along, side), beam.axes[1] = along, beam.axes[2] = side;
    return beam;
}

// The dashboard's top is one slanted plane leaning back towards the eye from
// its front edge; pieces lie along it, `from` to `to` units back from that
// edge, their top `raise` above the plane, `depth` deep, `half` wide.
Part DashPiece(float from, float to, float raise, float depth, float half, float right, Paint paint) {
    const float lean = 18.0f * kPi / 180.0f;
    const Vector edge = FromEye(25.0f, -9.3f, 0.0f), back(-std::cos(lean), -std::sin(lean), 0.0f),
                 up(-std::sin(lean), std::cos(lean), 0.0f);
    Part piece;
    piece.centre = edge + back * ((from + to) * 0.5f) + up * (raise - depth * 0.5f) + Vector(0, 0, right);
    piece.half = Vector((to - from) * 0.5f, depth * 0.5f, half), piece.paint = paint;
    LeanBack(piece, 18.0f);
    return piece;
}

// Built large and far, so that the bob and the lag (whole units) sway it
// gently: the dashboard's edge 25 units ahead and 9 below the eye at rest
// runs along the bottom fifth of the view, three displays on its slanted
// top, an ember lip along its edge, side consoles in the lower corners; two
// slim pillars lean in from them to a roof panel at the very top.
Prop Cockpit() {
    using namespace palette;
    ModelSketch s("cockpit");
    s.Add(DashPiece(0.0f, 2.5f, 0.0f, 8.0f, 26.0f, 0.0f, Paint::Hull));  // the sill
    // The displays lie flush in their bezel, which fills the band between
    // them: no face of the band is drawn over another.
    const float displays[] = {-12.6f, -5.4f, -3.6f, 3.6f, 5.4f, 12.6f};
    float bezel = -26.0f;
    for (int i = 0; i < 6; i += 2) {
        s.Add(DashPiece(2.5f, 6.0f, 0.0f, 8.0f, (displays[i] - bezel) * 0.5f, (displays[i] + bezel) * 0.5f, Paint::Dark));
        Part& display = s.Add(DashPiece(2.5f, 6.0f, 0.0f, 8.0f, 3.6f, displays[i] + 3.6f, Paint::Display));
        display.detail = 3.0f;
        bezel = displays[i + 1];
    }
    s.Add(DashPiece(2.5f, 6.0f, 0.0f, 8.0f, (26.0f - bezel) * 0.5f, (26.0f + bezel) * 0.5f, Paint::Dark));
    s.Add(DashPiece(6.0f, 14.0f, 0.0f, 8.0f, 26.0f, 0.0f, Paint::Hull));   // towards the eye
    s.Add(DashPiece(-0.5f, 0.6f, 0.4f, 1.4f, 26.0f, 0.0f, Paint::Mark));  // the lip
    for (float side : {-1.0f, 1.0f}) {
        s.AddBlock(FromEye(24.0f, -10.0f, 21.0f * side), Vector(4.5f, 1.8f, 4.0f), Paint::Dark);
        s.Add(Beam(FromEye(27.0f, -9.0f, 19.8f * side), FromEye(34.25f, 20.0f, 15.9f * side), 0.42f, Paint::Dark));
    }
    s.AddBlock(FromEye(31.0f, 21.2f, 0.0f), Vector(5.0f, 1.2f, 18.0f), Paint::Hull);
    s.AddBlock(FromEye(35.9f, 19.85f, 0.0f), Vector(0.35f, 0.3f, 17.5f), Paint::Mark);
    Prop prop{"cockpit", "grey.png", s, Colours(kPlayerHull, kPlayerEmber, kMetalDark, Mix(kPlayerEmber, kFire, 0.35f), 12.0f, 16),
              128, 6.0f, false};
    return prop;
}

}  // namespace

bool GeneratePropMeshes(const std::string& runDir) {
    Prop cockpit = Cockpit();
    const Mesh cockpitMesh = cockpit.sketch.FinishForEye(cockpit.atlas, kCockpitEye);
    return WriteProp(runDir, Missile()) && WriteProp(runDir, AmmoCase()) && WriteProp(runDir, HealthCross()) &&
           WriteProp(runDir, SpawnPad()) && WriteProp(runDir, Building()) && WriteProp(runDir, cockpit, cockpitMesh);
}
