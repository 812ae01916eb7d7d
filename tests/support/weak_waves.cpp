#include "support/weak_waves.h"

#include <regex>
#include <vector>

#include "support/temp_folder.h"

namespace test_support {
namespace {

std::string Replaced(const std::string& text, const std::string& pattern, const std::string& by) {
    return std::regex_replace(text, std::regex(pattern), by);
}

std::string WeakMachine(const std::string& runFolder, const std::string& file) {
    std::string text = ReadFile(runFolder + "/resource/patterns/" + file);
    text = Replaced(text, "<health>[0-9]+</health>", "<health>1</health>");
    text = Replaced(text, "<speed>[0-9]+</speed>", "<speed>0</speed>");
    text = Replaced(text, "damage=\"[0-9.]+\"", "damage=\"0\"");
    // A missile's explosion hurts by its own figure, apart from the hit's.
    text = Replaced(text, "splash=\"[0-9]+\"", "splash=\"0\"");
    text = Replaced(text, "<obb center=\"[^\"]*\" extents=\"[^\"]*\"", "<obb center=\"0,30,0\" extents=\"32,30,10\"");
    return Replaced(text, "<sphere center=\"[^\"]*\" radius=\"[^\"]*\"", "<sphere center=\"0,30,0\" radius=\"45\"");
}

// A level script with its start moved and its spawn points set in a row,
// 64 apart, 150 in front of the player (who starts facing -z).
std::string ScriptWithPointsAhead(const std::string& runFolder, int level, const std::string& start,
                                  const std::vector<std::string>& points) {
    std::string script = ReadFile(runFolder + "/scripts/load_level_" + std::to_string(level) + ".lua");
    if (!start.empty()) script = Replaced(script, "local START_X, START_Z = [0-9]+, [0-9]+", start);
    script += "\n-- Test content: the spawn points in a row in front of the player.\n"
              "local objects = bind.Module_ObjectManager_Instance()\n"
              "local function GroundHeightAt(x, z) return objects.groundObject:GetHeight(bind.Vector(x, 0, z)) end\n"
              "objects:Lock()\n";
    for (size_t i = 0; i < points.size(); ++i) {
        const int dx = int(i) * 64 - int(points.size() - 1) * 32;
        script += "do local x, z = START_X + " + std::to_string(dx) + ", START_Z - 150\n  objects:GetGameObject('" +
                  points[i] + "').trans = bind.Vector(x, GroundHeightAt(x, z), z, 0) end\n";
    }
    return script + "objects:Unlock()\n";
}

}  // namespace

std::map<std::string, std::string> WeakWaves(const std::string& runFolder) {
    std::map<std::string, std::string> files;
    for (const char* file : {"medium_mech.xml", "heavy_mech.xml", "medium_mech_super.xml", "heavy_mech_super.xml"})
        files[std::string("resource/patterns/") + file] = WeakMachine(runFolder, file);
    files["scripts/load_level_1.lua"] =
        ScriptWithPointsAhead(runFolder, 1, "", {"SpawnPoint10", "SpawnPoint11", "SpawnPoint12", "SpawnPoint13"});
    files["scripts/load_level_2.lua"] = ScriptWithPointsAhead(runFolder, 2, "local START_X, START_Z = 830, 1500", {});
    files["scripts/load_level_3.lua"] =
        ScriptWithPointsAhead(runFolder, 3, "local START_X, START_Z = 1000, 1200",
                              {"SpawnPoint41", "SpawnPoint42", "SpawnPoint43", "SpawnPoint44", "SpawnPoint45"});
    return files;
}

}  // namespace test_support
