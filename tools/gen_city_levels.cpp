#include "gen_city_levels.h"

#include <iostream>

#include "level_file.h"
#include "level_layout.h"
#include "level_rim.h"
#include "nav_lattice.h"

namespace {

using namespace layout;

// The ground each scenery pattern covers around its position (half sizes
// along x and z, as its collision box), and the height of its position over
// the ground (crates are centred on theirs).
struct Scenery {
    const char* pattern;
    float halfX, halfZ, lift;
};

const Scenery kScenery[] = {
    {"ShaftWallX", kShaftOuterHalf, kShaftWallThickness / 2.0f, 0.0f},
    {"ShaftWallZ", kShaftWallThickness / 2.0f, kShaftInnerHalf, 0.0f},
    {kRimWallX, kRimWallXHalf, kRimWallThickness / 2.0f, 0.0f},
    {kRimWallZ, kRimWallThickness / 2.0f, kRimWallZHalf, 0.0f},
    {"CityBlock", kBlockHalf, kBlockHalf, 0.0f},
    {"Tower", kTowerHalf, kTowerHalf, 0.0f},
    {"Building", 20.0f, 20.0f, 0.0f},
    {"Crate", 10.0f, 10.0f, 10.0f},
};

const Scenery* FindScenery(const std::string& pattern) {
    for (const Scenery& scenery : kScenery)
        if (pattern == scenery.pattern) return &scenery;
    return nullptr;  // not in the way: spawn pads, machines
}

// The graph of both city levels: lattice lines on every street line and
// half-way between them, nodes at the player's hover height, kept 30 units
// from any scenery (a street's middle is 45 from the blocks).
const LatticeSpec kLattice = {kBlockPitch / 2.0f, kBlockPitch / 2.0f, 15, 30.0f, 25.0f, 30.0f};

float BlockCentre(int index) { return kBlockPitch * (float(index) + 0.5f); }
// Between lattice lines: scenery placed there leaves every node and edge.
float CellCentre(int index) { return kLattice.first + kLattice.step * (float(index) + 0.5f); }

class Layout {
public:
    explicit Layout(const GroundPlaneObject& ground) : ground(ground) {}

    // Stands the pattern on the ground at (x, z).
    void Place(const std::string& pattern, float x, float z) {
        const Scenery* scenery = FindScenery(pattern);
        objects.push_back({pattern, x, GroundAt(ground, x, z) + (scenery ? scenery->lift : 0.0f), z});
    }
    // Stands it at the height `floor`, whatever the ground under its middle.
    void PlaceOnFloor(const std::string& pattern, float x, float z, float floor) {
        objects.push_back({pattern, x, floor, z});
    }
    void PlaceBlock(const std::string& pattern, int i, int j) { Place(pattern, BlockCentre(i), BlockCentre(j)); }
    void PlaceRim() { AddRimWalls(objects); }

    std::vector<Footprint> Footprints() const {
        std::vector<Footprint> footprints;
        for (const PlacedObject& object : objects)
            if (const Scenery* s = FindScenery(object.pattern))
                footprints.push_back({object.x - s->halfX, object.x + s->halfX, object.z - s->halfZ, object.z + s->halfZ});
        return footprints;
    }
    // False (with a message) when the graph does not reach the anchor.
    bool Write(const std::string& runDir, int level, const std::string& about, float anchorX, float anchorZ) const {
        const NavGraphData graph = BuildLatticeGraph(ground, kLattice, Footprints(), anchorX, anchorZ);
        if (graph.nodes.empty()) {
            std::cerr << "content_gen: level " << level << "'s graph has no node at its anchor" << std::endl;
            return false;
        }
        return WriteLevelFile(runDir, level, about, ground, objects, graph);
    }

private:
    const GroundPlaneObject& ground;
    std::vector<PlacedObject> objects;
};

// --- Level 2

void PlaceShaft(Layout& level, float floor) {
    const float offset = kShaftInnerHalf + kShaftWallThickness / 2.0f;
    level.PlaceOnFloor("ShaftWallX", kShaftX, kShaftZ - offset, floor);
    level.PlaceOnFloor("ShaftWallX", kShaftX, kShaftZ + offset, floor);
    level.PlaceOnFloor("ShaftWallZ", kShaftX - offset, kShaftZ, floor);
    level.PlaceOnFloor("ShaftWallZ", kShaftX + offset, kShaftZ, floor);
}

// The first two rows of the city, west of x = 750, behind the goal's line.
void PlaceCityEdge(Layout& level) {
    level.PlaceBlock("CityBlock", 0, 6);
    level.PlaceBlock("Tower", 1, 6);
    level.PlaceBlock("CityBlock", 2, 6);
    level.PlaceBlock("Tower", 0, 7);
    level.PlaceBlock("CityBlock", 1, 7);
    level.PlaceBlock("CityBlock", 2, 7);
}

// Ruins and dropped cargo on the way across the plateau.
void PlacePlateauProps(Layout& level) {
    level.Place("Building", CellCentre(10), CellCentre(6));
    level.Place("Building", CellCentre(3), CellCentre(7));
    level.Place("Crate", CellCentre(5), CellCentre(5));
    level.Place("Crate", CellCentre(8), CellCentre(8));
    level.Place("Crate", CellCentre(8), CellCentre(9));
    level.Place("Crate", CellCentre(4), CellCentre(9));
}

// --- Level 3

bool InPlaza(int i, int j) {
    return BlockCentre(i) > kPlazaWest && BlockCentre(i) < kPlazaEast && BlockCentre(j) > kPlazaSouth &&
           BlockCentre(j) < kPlazaNorth;
}

// Blocks on every lot of columns 1 to 6 but the plaza's and the small
// square's; towers at the plaza's northern corners and at the back of the
// city.
void PlaceCity(Layout& level) {
    const int towers[][2] = {{1, 4}, {6, 4}, {3, 7}};
    for (int j = 0; j < 8; ++j)
        for (int i = kCityFirstColumn; i <= kCityLastColumn; ++i) {
            if (InPlaza(i, j) || (i == kSquareColumn && j == kSquareRow)) continue;
            bool tower = false;
            for (const auto& at : towers) tower = tower || (at[0] == i && at[1] == j);
            level.PlaceBlock(tower ? "Tower" : "CityBlock", i, j);
        }
    // The square's crates, between its lattice points.
    level.Place("Crate", CellCentre(7), CellCentre(11));
    level.Place("Crate", CellCentre(8), CellCentre(12));
}

// A tower in the plaza's middle and crates for cover.
void PlacePlaza(Layout& level) {
    level.Place("Tower", (kPlazaWest + kPlazaEast) / 2.0f, 750.0f);
    const int cover[][2] = {{4, 3}, {9, 3}, {4, 7}, {9, 7}, {5, 5}, {8, 4}};
    for (const auto& cell : cover) level.Place("Crate", CellCentre(cell[0]), CellCentre(cell[1]));
}

// Pads along the plaza's south edge and its flanks; every pad releases its
// machines north (+z), into the plaza.
void PlaceSpawnPoints(Layout& level) {
    const float pads[][2] = {{625, 250}, {1000, 250}, {1375, 250}, {CellCentre(3), CellCentre(6)},
                             {CellCentre(10), CellCentre(6)}};
    for (const auto& pad : pads) level.Place("SpawnPoint", pad[0], pad[1]);
}

// Machines idle in the streets between the start and the plaza, named by
// their pattern (their drops go by its first letter).
void PlaceStreetMachines(Layout& level) {
    const float medium[][2] = {{750, 1375}, {1250, 1375}, {875, 1500}, {500, 1625}, {1500, 1625}};
    const float heavy[][2] = {{1000, 1375}, {1375, 1500}};
    for (const auto& at : medium) level.Place("MediumMech", at[0], at[1]);
    for (const auto& at : heavy) level.Place("HeavyMech", at[0], at[1]);
}

bool LoadGround(const std::string& runDir, int level, GroundPlaneObject& ground) {
    return LoadLevelGround(runDir, level, kMapSize, kHeightRange, ground);
}

}  // namespace

bool WriteLevelTwo(const std::string& runDir) {
    GroundPlaneObject ground;
    if (!LoadGround(runDir, 2, ground)) return false;
    Layout level(ground);
    PlaceShaft(level, GroundAt(ground, kShaftX, kShaftZ));
    PlaceCityEdge(level);
    PlacePlateauProps(level);
    level.PlaceRim();
    // The graph starts just past the shaft's north rim.
    return level.Write(runDir, 2, "a walled shaft sunk in a plateau that falls towards the city's edge.", kShaftX,
                       kShaftZ + kShaftOuterHalf + kLattice.step);
}

bool WriteLevelThree(const std::string& runDir) {
    GroundPlaneObject ground;
    if (!LoadGround(runDir, 3, ground)) return false;
    Layout level(ground);
    PlaceCity(level);
    PlacePlaza(level);
    PlaceSpawnPoints(level);
    PlaceStreetMachines(level);
    level.PlaceRim();
    // The graph starts where the player does, in the city's streets.
    return level.Write(runDir, 3, "city streets leading south to a plaza where the waves arrive.", 1000.0f, 1750.0f);
}
