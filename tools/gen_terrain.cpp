#include "gen_terrain.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "game_paths.h"
#include "level_layout.h"
#include "model_files.h"
#include "paint.h"
#include "palette.h"
#include "resource_manager/texture.h"
#include "terrain_shading.h"

namespace {

// Height 0..1 at map fractions (u along x, v along z).
using HeightField = std::function<float(float u, float v)>;

float Smoothstep(float edge0, float edge1, float x) {
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// How close to the map's border a point is: 0 inside, 1 at the edge.
float Rim(float u, float v, float width) {
    float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
    return 1.0f - Smoothstep(0.0f, width, edge);
}

float Noise(float u, float v, unsigned seed) {
    return FractalNoise(u * 512.0f, v * 512.0f, 128, 4, seed);
}

// Level 1: laid out from the north edge southwards, as its props and graph
// are (gen_level_art.cpp), so `v` is measured from v = 1.
float RollingHills(float u, float v) {
    v = 1.0f - v;
    float basin = Smoothstep(0.12f, 0.3f, std::hypot(u - 0.5f, v - 0.5f));
    float hills = 0.15f + 0.45f * Noise(u, v, 101) * basin;
    return std::clamp(hills + 0.6f * Rim(u, v, 0.1f), 0.0f, 1.0f);
}

// World position of the map fractions.
float WorldX(float u) { return u * layout::kMapSize; }
float WorldZ(float v) { return v * layout::kMapSize; }

// How far (x, z) lies outside the square of half size `half` around (cx, cz).
float OutsideSquare(float x, float z, float cx, float cz, float half) {
    return std::max(std::fabs(x - cx), std::fabs(z - cz)) - half;
}

// Level 2: the shaft's floor at 0, the plateau rising from it under the
// walls' outer halves; north of the shaft the plateau falls to the city's
// floor, and east of the city rough hills close the way.
float ShaftAndPlateau(float u, float v) {
    using namespace layout;
    const float x = WorldX(u), z = WorldZ(v);
    const float outside = OutsideSquare(x, z, kShaftX, kShaftZ, kShaftFlatHalf);
    const float bank = Smoothstep(0.0f, kShaftOuterHalf - kShaftFlatHalf, outside);
    const float towardsCity = Smoothstep(1000.0f, 1350.0f, z);
    const float high = kPlateauHeight + 0.04f * Noise(u, v, 202);
    const float low = kCityFloorHeight + 0.01f * Noise(u, v, 204);
    const float hills = 0.35f * Noise(u, v, 206) * Smoothstep(900.0f, 1250.0f, x) * Smoothstep(1150.0f, 1450.0f, z);
    const float plateau = high + (low - high) * towardsCity + hills;
    return std::clamp(bank * plateau + 0.4f * Rim(u, v, 0.05f), 0.0f, 1.0f);
}

// Level 3's rim rises within this share of the map from its edges: narrow,
// to stay clear of the outer blocks.
constexpr float kCityRimWidth = 0.03f;

// Level 3: a nearly flat city floor, the plaza a few steps lower, and a
// narrow rim at the map's edges behind the outer blocks.
float CityFloor(float u, float v) {
    using namespace layout;
    const float x = WorldX(u), z = WorldZ(v);
    const float intoPlaza = std::min(std::min(x - kPlazaWest, kPlazaEast - x), std::min(kPlazaNorth - z, z - kPlazaSouth));
    const float plaza = Smoothstep(0.0f, 50.0f, intoPlaza);
    const float floor = kCityFloorHeight + 0.01f * Noise(u, v, 303);
    const float height = floor + (kPlazaFloorHeight - floor) * plaza;
    return std::clamp(height + 0.8f * Rim(u, v, kCityRimWidth), 0.0f, 1.0f);
}

// Distance from the street line nearest to `w` (streets run along the
// multiples of the block pitch).
float FromStreetLine(float w) {
    const float pitch = layout::kBlockPitch;
    const float along = std::fmod(w, pitch);
    return std::min(along, pitch - along);
}

const Rgb kAsphalt = palette::kPaving;
const Rgb kKerb = palette::kPavingLine;
const Rgb kSlab = Mix(palette::kConcrete, palette::kDust, 0.3f);
const Rgb kJoint = Mix(palette::kConcrete, palette::kPaving, 0.5f);
const Rgb kScree = Mix(palette::kRockPale, palette::kDustPale, palette::kRimPaleness);

// One pixel of the colour map, in world units: the finest line it can hold.
constexpr float kColourPixel = layout::kMapSize / kColourmapSize;

// Asphalt with a kerb line along each side of the street.
void PaintStreet(float x, float z, Rgb& colour) {
    const float d = std::min(FromStreetLine(x), FromStreetLine(z));
    if (d < layout::kStreetHalf - kColourPixel) colour = kAsphalt;
    else if (d < layout::kStreetHalf) colour = kKerb;
}

// Level 2: the city's streets north-west of the plateau.
void CityEdgeMarks(float x, float z, Rgb& colour) {
    using namespace layout;
    if (x < 3.0f * kBlockPitch + kStreetHalf && z > 6.0f * kBlockPitch - kStreetHalf) PaintStreet(x, z, colour);
}

// Paving slabs of eight colour-map pixels, the joints one pixel wide.
void PaintPaving(float x, float z, Rgb& colour) {
    const float slab = 8.0f * kColourPixel;
    const bool joint = std::fmod(x, slab) < kColourPixel || std::fmod(z, slab) < kColourPixel;
    colour = joint ? kJoint : Mix(kSlab, colour, 0.25f);
}

// Level 3: streets through the city, a paved plaza and square; the desert
// east and west of the city keeps its own colours.
void CityMarks(float x, float z, Rgb& colour) {
    using namespace layout;
    const float west = kBlockPitch * float(kCityFirstColumn) - kStreetHalf;
    const float east = kBlockPitch * float(kCityLastColumn + 1) + kStreetHalf;
    const bool plaza = x > kPlazaWest && x < kPlazaEast && z > kPlazaSouth && z < kPlazaNorth;
    const bool square = std::fabs(x - kBlockPitch * (float(kSquareColumn) + 0.5f)) < kBlockHalf &&
                        std::fabs(z - kBlockPitch * (float(kSquareRow) + 0.5f)) < kBlockHalf;
    if (plaza || square)
        PaintPaving(x, z, colour);
    else if (x > west && x < east)
        PaintStreet(x, z, colour);
    // The rim's ramp is so steep that a player pressed against a cliff sees
    // it rise before the cliff's foot and fill the view: it is the cliffs'
    // pale scree, not dark rock in the shadow of the hollow at its foot.
    if (Rim(x / kMapSize, z / kMapSize, kCityRimWidth) > 0.0f) colour = kScree;
}

// Pixel (col, row) lies at u = col / W and v = 1 - row / H: rows run against z.
RgbaImage HeightMap(const HeightField& height) {
    RgbaImage image(kHeightmapSize, kHeightmapSize);
    for (int row = 0; row < kHeightmapSize; ++row)
        for (int col = 0; col < kHeightmapSize; ++col) {
            float u = (float(col) + 0.5f) / kHeightmapSize, v = 1.0f - (float(row) + 0.5f) / kHeightmapSize;
            auto grey = (unsigned char)(std::clamp(height(u, v), 0.0f, 1.0f) * 255.0f + 0.5f);
            image.Put(col, row, {grey, grey, grey});
        }
    return image;
}

// Each level's ground from the palette: level 1 open ochre dust over
// rolling rock, level 2 a redder, rockier plateau round the dark shaft,
// level 3 the pale dust of the city's floor.
GroundLook LookOf(int level) {
    using namespace palette;
    switch (level) {
    case 2: return {Mix(kDustDeep, kRockDark, 0.3f), Mix(kDust, kRust, 0.35f), kRockPale, kRockDark, 14};
    case 3: return {Mix(kDust, kConcrete, 0.3f), Mix(kDustPale, kDust, 0.5f), kDustPale, kRock, 21};
    default: return {kDustDeep, kDust, kDustPale, kRock, 7};
    }
}

// The game's own height lookup over the height map, so that the mesh matches
// the heights the ground plane reports (the far edges are clamped inside).
class HeightSampler {
public:
    explicit HeightSampler(const RgbaImage& image) : texture(unsigned(image.width), unsigned(image.height), 4) {
        std::memcpy(texture.data, image.pixels.data(), image.pixels.size());
    }
    float At(float u, float v) const {
        float fx = std::min(u * float(texture.width), float(texture.width) - 0.001f);
        float fz = std::min((1.0f - v) * float(texture.height), float(texture.height) - 0.001f);
        return texture.GetInterpAvgLuminance(std::max(fx, 0.0f), std::max(fz, 0.0f));
    }

private:
    Texture texture;
};

// A (kGroundCells + 1)^2 lattice with smooth normals, per-corner data for
// the plain drawing path and flat arrays for the indexed one.
Mesh GroundMesh(const std::string& name, const HeightSampler& heights) {
    const int n = kGroundCells + 1;
    const float step = 1.0f / kGroundCells;
    Mesh mesh;
    mesh.name = name;
    mesh.useColor = false;
    std::vector<float> positions, normals, texCoords;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            float u = c * step, v = r * step;
            mesh.verts.push_back(Vertex(u, heights.At(u, v), v));
            float dx = -(heights.At(u + step, v) - heights.At(u - step, v));
            float dz = -(heights.At(u, v + step) - heights.At(u, v - step));
            Vector normal = Vector(dx, 1.0f, dz).Norm();
            positions.insert(positions.end(), {u, heights.At(u, v), v});
            normals.insert(normals.end(), {normal.x, normal.y, normal.z});
            texCoords.insert(texCoords.end(), {u, 1.0f - v});
        }
    std::vector<int> indices;
    const float white[3] = {1.0f, 1.0f, 1.0f};
    auto corner = [&](Triangle& tri, int k, int vertex) {
        tri.verts[k] = unsigned(vertex);
        std::memcpy(tri.normal[k], &normals[size_t(vertex) * 3], sizeof(float) * 3);
        std::memcpy(tri.texCoord[k], &texCoords[size_t(vertex) * 2], sizeof(float) * 2);
        std::memcpy(tri.color[k], white, sizeof(white));
        indices.push_back(vertex);
    };
    for (int r = 0; r < kGroundCells; ++r)
        for (int c = 0; c < kGroundCells; ++c) {
            int a = r * n + c, b = (r + 1) * n + c, d = (r + 1) * n + c + 1, e = r * n + c + 1;
            const int corners[2][3] = {{a, b, d}, {d, e, a}};  // both face +y
            for (const auto& tri : corners) {
                Triangle triangle;
                for (int k = 0; k < 3; ++k) corner(triangle, k, tri[k]);
                mesh.triangles.push_back(triangle);
            }
        }
    std::vector<float> zeros(mesh.verts.size() * 4, 0.0f);
    mesh.arrays.Assign(indices, positions, normals, texCoords, zeros, zeros);
    return mesh;
}

// The sun each level's script lights it with (scripts/load_level_N.lua).
palette::Direction SunOf(int level) { return level == 1 ? palette::kTowardsLevelOneSun : palette::kTowardsSun; }

bool WriteLevelGround(const std::string& runDir, int level, const HeightField& field, const GroundMarks& marks) {
    const std::string suffix = "level" + std::to_string(level);
    RgbaImage heightMap = HeightMap(field);
    return WriteImage(runDir, std::string(paths::kTerrain) + "heightmap_" + suffix + ".png", heightMap) &&
           WriteImage(runDir, std::string(paths::kTerrain) + "ground_" + suffix + ".png",
                      ShadeGround(field, marks, LookOf(level), SunOf(level), kColourmapSize, layout::kMapSize,
                                  layout::kHeightRange)) &&
           WriteMesh(runDir, "ground_" + suffix, GroundMesh("ground_" + suffix, HeightSampler(heightMap)));
}

}  // namespace

bool GenerateTerrain(const std::string& runDir) {
    return WriteLevelGround(runDir, 1, RollingHills, nullptr) &&
           WriteLevelGround(runDir, 2, ShaftAndPlateau, CityEdgeMarks) && WriteLevelGround(runDir, 3, CityFloor, CityMarks);
}
