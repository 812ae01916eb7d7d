#include "gen_level_props.h"

#include <algorithm>
#include <cmath>

#include "game_paths.h"
#include "gen_shapes.h"
#include "level_layout.h"
#include "model_files.h"
#include "paint.h"
#include "palette.h"

namespace {

const float kLight[3] = {1.0f, 1.0f, 1.0f};
const float kMid[3] = {0.75f, 0.75f, 0.75f};
const float kDark[3] = {0.5f, 0.5f, 0.5f};

// The window pattern of the building texture repeats every 40 x 64 units,
// as on level 1's building.
const Vector kWindowTile(40.0f, 64.0f, 40.0f);
const Vector kRockTile(50.0f, 70.0f, 50.0f);
// The rim's cliffs show the same rock, unbuilt, its strata twice as tall and
// drawn out eight times along the cliff.
const Vector kCliffTile(400.0f, 140.0f, 400.0f);

// |axis| . v: the size of v along a unit axis.
float Along(const Vector& axis, const Vector& v) {
    return std::fabs(axis.x) * v.x + std::fabs(axis.y) * v.y + std::fabs(axis.z) * v.z;
}

// A box whose faces repeat the texture once per tile (tile sizes along x, y
// and z), so that long walls keep the texture's scale.
void AddTiledBox(MeshBuilder& builder, const Vector& centre, const Vector& half, const Vector& tile,
                 const float colour[3]) {
    const Vector x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    const Vector faces[6][2] = {{x, y}, {x * -1, y}, {z, y}, {z * -1, y}, {y, z * -1}, {y * -1, z}};
    for (const auto& face : faces) {
        const Vector& normal = face[0];
        const Vector& up = face[1];
        const Vector right = Cross(up, normal);
        const float width = 2.0f * Along(right, half), height = 2.0f * Along(up, half);
        const int across = std::max(1, int(std::lround(width / Along(right, tile))));
        const int down = std::max(1, int(std::lround(height / Along(up, tile))));
        const float tileWidth = width / float(across), tileHeight = height / float(down);
        const Vector corner = centre + normal * Along(normal, half) - right * (width / 2.0f) - up * (height / 2.0f);
        for (int i = 0; i < across; ++i)
            for (int j = 0; j < down; ++j) {
                const Vector at = corner + right * (tileWidth * (float(i) + 0.5f)) + up * (tileHeight * (float(j) + 0.5f));
                builder.Quad(at, normal, up, tileWidth / 2.0f, tileHeight / 2.0f, colour);
            }
    }
}

// A wall of rock standing on its origin, `half` its half sizes.
Mesh RockWall(const std::string& name, const Vector& half, const Vector& tile) {
    MeshBuilder builder(name);
    AddTiledBox(builder, Vector(0, half.y, 0), half, tile, kLight);
    return builder.Finish();
}

// How far the rim cliffs' shading normals lean from the horizontal towards
// the sky. The renderer lights a face by its lights alone, and sums only a
// fifth of their ambient: an upright face turned from the sun got nothing
// but the dim fill light (about a sixth of full light), and the cliff facing
// the fill light the most of it, so the darkest cliff was not the one
// turned farthest from the sun. Broken rock's ledges and screes face the sky
// as much as out, and so do these normals: every face catches sun and fill
// from above, the one turned from the sun still the darkest.
constexpr float kCliffLean = 60.0f * 3.14159265f / 180.0f;

// The normals of the mesh's upright faces leant up by `lean`, in its flat
// arrays and its triangles alike, so that it shades the same whichever way
// the renderer draws it.
void LeanUprightNormals(Mesh& mesh, float lean) {
    auto leanUp = [lean](float* n) {
        if (std::fabs(n[1]) > 0.5f) return;  // a top or bottom
        const float across = std::cos(lean) / std::max(std::hypot(n[0], n[2]), 1e-6f);
        n[0] *= across;
        n[2] *= across;
        n[1] = std::sin(lean);
    };
    for (unsigned i = 0; i + 2 < mesh.arrays.normals.count; i += 3) leanUp(mesh.arrays.normals.data + i);
    for (Triangle& triangle : mesh.triangles)
        for (auto& normal : triangle.normal) leanUp(normal);
}

Mesh RimCliff(const std::string& name, const Vector& half, const Vector& tile) {
    Mesh mesh = RockWall(name, half, tile);
    LeanUprightNormals(mesh, kCliffLean);
    return mesh;
}

Mesh CityBlock() {
    using namespace layout;
    MeshBuilder builder("city_block");
    const float halfY = kCityBlockHeight / 2.0f;
    AddTiledBox(builder, Vector(0, halfY, 0), Vector(kBlockHalf, halfY, kBlockHalf), kWindowTile, kLight);
    // Roof plant: a machine house and two vents.
    AddBox(builder, Vector(-20, kCityBlockHeight + 6, 10), Vector(24, 6, 18), kMid);
    AddBox(builder, Vector(40, kCityBlockHeight + 4, -40), Vector(6, 4, 6), kDark);
    AddBox(builder, Vector(-50, kCityBlockHeight + 4, -45), Vector(6, 4, 6), kDark);
    return builder.Finish();
}

Mesh Tower() {
    using namespace layout;
    MeshBuilder builder("tower");
    const float halfY = kTowerHeight / 2.0f;
    AddTiledBox(builder, Vector(0, halfY, 0), Vector(kTowerHalf, halfY, kTowerHalf), kWindowTile, kLight);
    AddBox(builder, Vector(0, kTowerHeight + 3, 0), Vector(28, 3, 28), kMid);
    AddBox(builder, Vector(0, kTowerHeight + 20, 0), Vector(0.8f, 14, 0.8f), kDark);
    return builder.Finish();
}

// Strata of rock and dust from the ground's palette, broken by cracks and,
// when `courses`, the seams of the rock courses of a built wall, and lifted
// `paleness` of the way towards the pale dust; tiles seamlessly.
RgbaImage Rock(bool courses, float paleness) {
    const int size = 128;
    RgbaImage image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Four courses of strata per tile, bent by noise that repeats with the tile.
            const float bend = FractalNoise(float(x), float(y), 32, 4, 51);
            const float strata = 0.5f + 0.5f * std::sin(6.2831853f * (float(y) * 4.0f / float(size) + 0.6f * bend));
            const float grain = FractalNoise(float(x), float(y), 16, 8, 53);
            Rgb rock = Mix(Mix(palette::kRock, palette::kDust, 0.35f), palette::kRockPale, strata * 0.7f);
            rock = Scale(Mix(rock, palette::kDustPale, paleness), 0.75f + 0.4f * grain);
            const bool seam = courses && (y % 64 < 2 || (x + (y / 64) * 32) % 64 < 2);
            const bool crack = FractalNoise(float(x), float(y), 32, 4, 57) > 0.72f;
            image.Put(x, y, seam ? palette::kRockDark : crack ? Mix(rock, palette::kShadow, 0.5f) : rock);
        }
    return image;
}

}  // namespace

bool GenerateLevelProps(const std::string& runDir) {
    using namespace layout;
    const float shaftHalfY = kShaftWallHeight / 2.0f, shaftAcross = kShaftWallThickness / 2.0f;
    const float rimHalfY = kRimCliffTop / 2.0f, rimAcross = kRimWallThickness / 2.0f;
    const struct {
        const char* name;
        Vector half, tile;
        Mesh (*make)(const std::string&, const Vector&, const Vector&);
    } walls[] = {
        {"shaft_wall_x", Vector(kShaftOuterHalf, shaftHalfY, shaftAcross), kRockTile, RockWall},
        {"shaft_wall_z", Vector(shaftAcross, shaftHalfY, kShaftInnerHalf), kRockTile, RockWall},
        {"rim_wall_x", Vector(kRimWallXHalf, rimHalfY, rimAcross), kCliffTile, RimCliff},
        {"rim_wall_z", Vector(rimAcross, rimHalfY, kRimWallZHalf), kCliffTile, RimCliff},
    };
    bool written = WriteImage(runDir, std::string(paths::kTextures) + "shaft_wall.png", Rock(true, 0.0f)) &&
                   WriteImage(runDir, std::string(paths::kTextures) + "rim_cliff.png", Rock(false, palette::kRimPaleness));
    for (const auto& wall : walls) written = written && WriteMesh(runDir, wall.name, wall.make(wall.name, wall.half, wall.tile));
    return written &&
           WriteMesh(runDir, "city_block", CityBlock()) && WriteMesh(runDir, "tower", Tower());
}
