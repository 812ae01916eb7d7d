#include "gen_level_art.h"

#include "gen_city_levels.h"
#include "level_file.h"
#include "level_layout.h"
#include "level_rim.h"

namespace {

// The ground rises over the outer tenth of the map towards the rim's cliffs;
// the grid keeps inside.
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
//
// The level is laid out from the north edge southwards: cells and grid lines
// along z are counted from z = kMapSize, as the hills are (gen_terrain.cpp).
// The player starts north of the basin (scripts/load_level_1.lua) and every
// level starts looking along -z: south, over the basin to the far rim.
struct Prop {
    const char* pattern;
    int cellX, cellZ;  // cell index: centre at kGridFirst + (i + 0.5) * kGridStep from the west and north edges
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
float FromNorth(float distance) { return layout::kMapSize - distance; }

std::vector<PlacedObject> LevelOneObjects(const GroundPlaneObject& ground) {
    std::vector<PlacedObject> objects;
    for (const Prop& prop : kProps) {
        const float x = CellCentre(prop.cellX), z = FromNorth(CellCentre(prop.cellZ));
        objects.push_back({prop.pattern, x, GroundAt(ground, x, z) + prop.lift, z});
    }
    AddRimWalls(objects);
    return objects;
}

int NodeId(int ix, int iz) { return 1 + iz * kGridNodes + ix; }  // ids start at 1: 0 means "no node"

NavGraphData LevelOneGraph(const GroundPlaneObject& ground) {
    NavGraphData graph;
    graph.nodeRadius = kNodeRadius;
    for (int iz = 0; iz < kGridNodes; ++iz)
        for (int ix = 0; ix < kGridNodes; ++ix) {
            const float x = GridLine(ix), z = FromNorth(GridLine(iz));
            graph.nodes.push_back({NodeId(ix, iz), x, GroundAt(ground, x, z) + kNodeLift, z});
        }
    for (int iz = 0; iz < kGridNodes; ++iz)
        for (int ix = 0; ix < kGridNodes; ++ix) {
            if (ix + 1 < kGridNodes) graph.edges.push_back({NodeId(ix, iz), NodeId(ix + 1, iz)});
            if (iz + 1 < kGridNodes) graph.edges.push_back({NodeId(ix, iz), NodeId(ix, iz + 1)});
        }
    return graph;
}

bool WriteLevelOne(const std::string& runDir) {
    GroundPlaneObject ground;
    return LoadLevelGround(runDir, 1, layout::kMapSize, layout::kHeightRange, ground) &&
           WriteLevelFile(runDir, 1, "a basin among rolling hills, ringed by the cliffs of the map's rim.", ground,
                          LevelOneObjects(ground), LevelOneGraph(ground));
}

}  // namespace

bool GenerateLevelFiles(const std::string& runDir) {
    return WriteLevelOne(runDir) && WriteLevelTwo(runDir) && WriteLevelThree(runDir);
}
