#include "gen_level_art.h"

#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "game_paths.h"
#include "gen_common.h"
#include "objects/ground_plane_object.h"
#include "resource_manager.h"

namespace {

// World placement of the level-1 map: 2000 x 2000 units, heights 0..200.
const float kMapSize = 2000.0f;
const float kHeightRange = 200.0f;
// The rim wall rises over the outer tenth of the map; the grid keeps inside.
const float kGridFirst = 260.0f;
const float kGridStep = 120.0f;
const int kGridNodes = 13;  // per side: 260 .. 1700
const float kNodeRadius = 30.0f;
// Nodes sit at the player's hover height, where the machines that use them
// and the player they hunt are measured from.
const float kNodeLift = 25.0f;
const float kCrateHalf = 10.0f;  // crates are centred on their position

// Props stand at cell centres, between grid nodes: every grid edge passes
// 60 units clear of a prop's centre, more than a building's half width (20),
// so the grid needs no holes.
struct Prop {
    const char* pattern;
    int cellX, cellZ;  // cell index: centre at kGridFirst + (i + 0.5) * kGridStep
    float lift;        // height of its position above the ground
};

const Prop kProps[] = {
    {"Building", 3, 3, 0.0f},   {"Building", 8, 4, 0.0f},   {"Building", 4, 8, 0.0f},
    {"Building", 9, 9, 0.0f},   {"Crate", 5, 5, kCrateHalf}, {"Crate", 6, 5, kCrateHalf},
    {"Crate", 6, 7, kCrateHalf}, {"Crate", 2, 9, kCrateHalf}, {"Crate", 10, 2, kCrateHalf},
    {"SpawnPoint", 0, 0, 0.0f},  {"SpawnPoint", 11, 0, 0.0f}, {"SpawnPoint", 0, 11, 0.0f},
    {"SpawnPoint", 11, 11, 0.0f},
};

float CellCentre(int index) { return kGridFirst + (float(index) + 0.5f) * kGridStep; }
float GridLine(int index) { return kGridFirst + float(index) * kGridStep; }

std::string Numbers(float x, float y, float z, float w) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(2) << x << "," << y << "," << z << "," << w;
    return out.str();
}

// The ground as the game will read it: the generated height map stored
// under its registry name and a ground plane placed like the level file's.
bool LoadGround(const std::string& runDir, GroundPlaneObject& ground) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    std::unique_ptr<Texture> heights =
        store.LoadTexture(runDir + "/" + paths::kTerrain + "heightmap_level1.png");
    if (!heights->data) {
        std::cerr << "content_gen: the level-1 height map is missing (terrain step first)" << std::endl;
        return false;
    }
    if (!store.IsStored("tex_heightmap_level1")) store.add("tex_heightmap_level1", *heights);
    ground.heightMapHandle = Handle("tex_heightmap_level1");
    ground.colorMapHandle = Handle("tex_ground_level1");
    ground.meshHandle = Handle("mesh_ground_level1");
    ground.pos = Vector(0.0f, 0.0f, 0.0f, 0.0f);
    ground.scale = Vector(kMapSize, kHeightRange, kMapSize, 0.0f);
    return true;
}

float GroundAt(const GroundPlaneObject& ground, float x, float z) { return ground.GetHeight(Vector(x, 0, z)); }

void WriteGround(std::ostream& out, const GroundPlaneObject& ground) {
    out << "  <GroundPlaneObject>\n"
        << "    <string meshHandle=\"" << ground.meshHandle.id << "\"/>\n"
        << "    <string heightMapHandle=\"" << ground.heightMapHandle.id << "\"/>\n"
        << "    <string colorMapHandle=\"" << ground.colorMapHandle.id << "\"/>\n"
        << "    <position v=\"" << Numbers(ground.pos.x, ground.pos.y, ground.pos.z, 0) << "\"/>\n"
        << "    <scale v=\"" << Numbers(ground.scale.x, ground.scale.y, ground.scale.z, 0) << "\"/>\n"
        << "  </GroundPlaneObject>\n";
}

// Objects are named after their pattern and a number that runs through the
// file, as the game names the objects it makes.
void WriteProps(std::ostream& out, const GroundPlaneObject& ground) {
    int number = 1;
    for (const Prop& prop : kProps) {
        float x = CellCentre(prop.cellX), z = CellCentre(prop.cellZ);
        out << "  <GameObject>\n"
            << "    <string name=\"" << prop.pattern << number++ << "\"/>\n"
            << "    <string patternName=\"" << prop.pattern << "\"/>\n"
            << "    <string isLevelObject=\"t\"/>\n"
            << "    <trans v=\"" << Numbers(x, GroundAt(ground, x, z) + prop.lift, z, 0) << "\"/>\n"
            << "    <Quaternion v=\"1,0,0,0\"/>\n"
            << "  </GameObject>\n";
    }
}

int NodeId(int ix, int iz) { return 1 + iz * kGridNodes + ix; }  // ids start at 1: 0 means "no node"

void WriteNavGraph(std::ostream& out, const GroundPlaneObject& ground) {
    out << "  <NavGraph>\n";
    for (int iz = 0; iz < kGridNodes; ++iz)
        for (int ix = 0; ix < kGridNodes; ++ix) {
            float x = GridLine(ix), z = GridLine(iz);
            out << "    <GraphNode ID=\"" << NodeId(ix, iz) << "\" trans=\""
                << Numbers(x, GroundAt(ground, x, z) + kNodeLift, z, 0) << "\" radius=\"" << kNodeRadius << "\"/>\n";
        }
    for (int iz = 0; iz < kGridNodes; ++iz)
        for (int ix = 0; ix < kGridNodes; ++ix) {
            if (ix + 1 < kGridNodes)
                out << "    <BidirectionalEdge id1=\"" << NodeId(ix, iz) << "\" id2=\"" << NodeId(ix + 1, iz) << "\"/>\n";
            if (iz + 1 < kGridNodes)
                out << "    <BidirectionalEdge id1=\"" << NodeId(ix, iz) << "\" id2=\"" << NodeId(ix, iz + 1) << "\"/>\n";
        }
    out << "  </NavGraph>\n";
}

}  // namespace

bool GenerateLevelFiles(const std::string& runDir) {
    GroundPlaneObject ground;
    if (!LoadGround(runDir, ground)) return false;
    const std::string path = OutputPath(runDir, "resource/levels/level1.xml");
    if (path.empty()) return false;
    std::ofstream out(path);
    out << "<?xml version=\"1.0\" ?>\n"
        << "<!-- Level 1: a basin among rolling hills, walled by the map's rim. Generated by content_gen. -->\n"
        << "<Level>\n  <string name=\"level1\"/>\n";
    WriteGround(out, ground);
    WriteProps(out, ground);
    WriteNavGraph(out, ground);
    out << "</Level>\n";
    out.close();
    if (!out) std::cerr << "content_gen: cannot write " << path << std::endl;
    return bool(out);
}
