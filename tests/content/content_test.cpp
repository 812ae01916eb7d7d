// The game's content lists in the run folder: every name the code loads is
// registered in a category that is loaded before the code needs it, every
// file exists with its exact spelling, the registry flags let textures and
// meshes reach OpenGL, and every object pattern gives the stamps what they
// require, names only registered resources and fits the collision bits that
// the code hard-wires for shots, explosions and the foot probe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "content/content_catalog.h"

namespace {

using content::ChildText;
using content::Entry;
using content::PatternFile;

// When the game needs a name to be loaded already.
enum class Needed {
    AtStartUp,      // looked up while the game starts (renderer, splash slides)
    InEveryLevel,   // used in play or in the menus, after the first level load
    OnDemand,       // the code loads it itself by name
};

struct CodeName {
    const char* name;
    Needed needed;
};

// The resource names that the game's code asks for by name.
const CodeName CODE_NAMES[] = {
    {"tex_font", Needed::AtStartUp},              {"tex_symbols", Needed::AtStartUp},
    {"tex_smaller_crosshair", Needed::AtStartUp}, {"tex_studio_logo", Needed::AtStartUp},
    {"tex_team", Needed::AtStartUp},              {"tex_logo", Needed::AtStartUp},
    {"tex_smaller_hit", Needed::InEveryLevel},    {"tex_minimap", Needed::InEveryLevel},
    {"tex_radio", Needed::InEveryLevel},          {"tex_slider", Needed::InEveryLevel},
    {"tex_missile_icon", Needed::InEveryLevel},   {"tex_start", Needed::InEveryLevel},
    {"tex_mars_screen", Needed::InEveryLevel},    {"tex_grey", Needed::InEveryLevel},
    {"mesh_cockpit", Needed::InEveryLevel},       {"tex_particle", Needed::InEveryLevel},
    {"tex_shot_red", Needed::InEveryLevel},       {"tex_shot_blue", Needed::InEveryLevel},
    {"tex_noise", Needed::InEveryLevel},          {"tex_skybox", Needed::OnDemand},
    {"mesh_skybox", Needed::OnDemand},            {"tex_roll_game", Needed::OnDemand},
    {"tex_roll_team", Needed::OnDemand},          {"tex_roll_credits", Needed::OnDemand},
    {"stream_BG Music", Needed::InEveryLevel},    {"sample_shot_laser1", Needed::InEveryLevel},
    {"sample_shot_laser2", Needed::InEveryLevel}, {"sample_missile_fire", Needed::InEveryLevel},
    {"sample_explosion_short", Needed::InEveryLevel}, {"sample_explosion_long", Needed::InEveryLevel},
    {"sample_shield_hit1", Needed::InEveryLevel}, {"sample_shield_hit2", Needed::InEveryLevel},
    {"sample_shield_hit3", Needed::InEveryLevel}, {"sample_hull_hit", Needed::InEveryLevel},
    {"sample_step", Needed::InEveryLevel},        {"sample_landing", Needed::InEveryLevel},
    {"sample_boost", Needed::InEveryLevel},       {"sample_health_pickup", Needed::InEveryLevel},
    {"sample_recharge_shield", Needed::InEveryLevel},
};

const char* const CATEGORIES[] = {"all_first", "splash", "all", "level1", "level2", "level3"};
const char* const PREFIXES[] = {"tex", "mesh", "skel", "anim", "sample", "stream"};

// The order in which categories get their OpenGL side: "all_first" and
// "splash" at start-up, "all" at the first level load, a level's own with it.
int ContextRank(const std::string& category) {
    if (category == "all_first") return 0;
    if (category == "splash") return 1;
    if (category == "all") return 2;
    return 3;
}

bool LoadedInEveryLevel(const std::string& category) { return ContextRank(category) <= 2; }

template <class List, class T>
bool Contains(const List& list, const T& value) {
    return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

class ContentRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(registry.parsed) << "resource/registry.xml does not parse or has no \"registry\" root";
    }
    const content::Registry registry = content::ReadRegistry();
};

TEST_F(ContentRegistry, EntriesAreWellFormedWithUniqueNames) {
    EXPECT_TRUE(registry.problems.empty()) << registry.problems.front();
    std::set<std::string> seen;
    for (const Entry& entry : registry.entries) {
        EXPECT_TRUE(seen.insert(entry.name).second) << entry.name << " is registered twice";
        EXPECT_TRUE(Contains(PREFIXES, entry.Prefix())) << entry.name << ": no loader for this prefix";
        EXPECT_TRUE(Contains(CATEGORIES, entry.category))
            << entry.name << ": category \"" << entry.category << "\" is never loaded";
        if (entry.hasFile) {
            EXPECT_FALSE(entry.file.empty()) << entry.name << " has an empty file";
        }
    }
}

TEST_F(ContentRegistry, EveryFileExistsWithItsExactSpelling) {
    for (const Entry& entry : registry.entries) {
        if (!entry.hasFile) continue;
        EXPECT_TRUE(content::ExistsWithExactCase(entry.LoadedFile()))
            << entry.name << ": missing " << entry.LoadedFile();
        const std::string& file = entry.LoadedFile();
        if (entry.Prefix() == "mesh" || entry.Prefix() == "skel" || entry.Prefix() == "anim")
            EXPECT_EQ(entry.file.find('.', entry.file.rfind('/') + 1), std::string::npos)
                << entry.name << ": the loader appends the extension itself";
        else
            EXPECT_NE(file.rfind('.'), std::string::npos) << entry.name << ": no extension";
    }
}

TEST_F(ContentRegistry, TexturesAndMeshesReachOpenGL) {
    for (const Entry& entry : registry.entries) {
        if (entry.Prefix() == "tex" && entry.hasFile) {
            EXPECT_TRUE(entry.loadContext) << entry.name << " is never uploaded";
        }
        if (entry.Prefix() != "mesh") continue;
        EXPECT_TRUE(entry.loadContext) << entry.name << " never gets buffers";
        ASSERT_TRUE(entry.hasTex) << entry.name << " is never tied to a texture";
        const Entry* texture = registry.Find(entry.tex);
        ASSERT_NE(texture, nullptr) << entry.name << " names the unregistered texture " << entry.tex;
        EXPECT_EQ(texture->Prefix(), "tex") << entry.name << ": " << entry.tex << " is no texture";
        // The texture must be uploaded before (or with) the mesh's category,
        // and must not be a level's texture unless the mesh is of that level.
        bool available = ContextRank(texture->category) < ContextRank(entry.category)
                             ? ContextRank(texture->category) <= 2
                             : texture->category == entry.category;
        EXPECT_TRUE(available) << entry.name << " (" << entry.category << ") is tied to " << entry.tex << " ("
                               << texture->category << "), which has no OpenGL name by then";
    }
}

TEST_F(ContentRegistry, NamesTheCodeLoadsAreThereWhenNeeded) {
    for (const CodeName& code : CODE_NAMES) {
        const Entry* entry = registry.Find(code.name);
        ASSERT_NE(entry, nullptr) << code.name << " is not registered";
        if (code.needed == Needed::AtStartUp) {
            EXPECT_TRUE(entry->category == "all_first" || entry->category == "splash")
                << code.name << " is looked up at start-up but is in \"" << entry->category << "\"";
        }
        if (code.needed == Needed::InEveryLevel) {
            EXPECT_TRUE(LoadedInEveryLevel(entry->category))
                << code.name << " must not depend on the level: \"" << entry->category << "\"";
        }
    }
    // The sky mesh and the noise texture are built in code and stored over a
    // registered placeholder; a file would only be replaced.
    for (const char* built : {"mesh_skybox", "tex_noise"}) {
        ASSERT_NE(registry.Find(built), nullptr);
        EXPECT_FALSE(registry.Find(built)->hasFile) << built;
    }
    EXPECT_FALSE(registry.Find("tex_noise")->loadContext) << "tex_noise is uploaded by the code that builds it";
    EXPECT_EQ(registry.Find("mesh_skybox")->tex, "tex_skybox");
}

TEST_F(ContentRegistry, LoopingSoundsAreMarked) {
    for (const char* name : {"sample_boost", "stream_BG Music"}) {
        const Entry* entry = registry.Find(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_TRUE(entry->loop) << name << " must loop";
    }
    for (const Entry& entry : registry.entries)
        if (entry.Prefix() == "sample" || entry.Prefix() == "stream") {
            EXPECT_EQ(entry.file.substr(entry.file.size() - 4), ".wav") << entry.name;
        }
}

// The two pictures shown before anything is loaded are read by path, not
// through the registry.
TEST(ContentStartUp, ScreenImagesExistWithTheirExactSpelling) {
    for (const char* path : {"resource/art assets/splash_screens/studio_logo_loading.png", "resource/art assets/loading.png"})
        EXPECT_TRUE(content::ExistsWithExactCase(path)) << path;
}

// ---- Object patterns ---------------------------------------------------------

struct Collision {
    bool present = false;
    int group = -1;
    std::vector<int> collidesWith;
    bool hasObb = false, hasSphere = false;
};

class ContentPatterns : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(registry.parsed);
        ASSERT_TRUE(patterns.parsed) << "resource/objectPatterns.xml does not parse or has no \"registry\" root";
    }

    const TiXmlElement& Object(const char* name) {
        const PatternFile* pattern = patterns.Find(name);
        if (!pattern || !pattern->object) {
            ADD_FAILURE() << "no readable pattern " << name;
            return empty;
        }
        return *pattern->object;
    }

    static Collision ReadCollision(const TiXmlElement& object) {
        Collision result;
        const TiXmlElement* section = object.FirstChildElement("collision");
        if (!section) return result;
        result.present = true;
        std::string group = ChildText(*section, "collisionGroup");
        if (!group.empty()) result.group = std::atoi(group.c_str());
        for (const TiXmlElement* with = section->FirstChildElement("collidesWith"); with;
             with = with->NextSiblingElement("collidesWith"))
            result.collidesWith.push_back(with->GetText() ? std::atoi(with->GetText()) : -1);
        result.hasObb = section->FirstChildElement("obb") != nullptr;
        result.hasSphere = section->FirstChildElement("sphere") != nullptr;
        return result;
    }

    const content::Registry registry = content::ReadRegistry();
    const content::PatternList patterns = content::ReadPatternList();
    TiXmlElement empty{"object"};
};

const char* const ENEMIES[] = {"MediumMech", "HeavyMech", "MediumMechSuper", "HeavyMechSuper"};

TEST_F(ContentPatterns, ListedFilesExistAndParse) {
    EXPECT_TRUE(patterns.problems.empty()) << patterns.problems.front();
    std::set<std::string> seen;
    for (const PatternFile& pattern : patterns.patterns) {
        EXPECT_TRUE(seen.insert(pattern.name).second) << pattern.name << " is listed twice";
        EXPECT_TRUE(content::ExistsWithExactCase(pattern.file)) << pattern.name << ": missing " << pattern.file;
        EXPECT_NE(pattern.document, nullptr) << pattern.file << " does not parse";
        EXPECT_NE(pattern.object, nullptr) << pattern.file << " has no \"object\" element";
    }
    for (const char* name : {"MediumMech", "HeavyMech", "MediumMechSuper", "HeavyMechSuper", "Missile",
                             "Pickup Ammo", "Pickup Health", "player", "SpawnPoint", "Crate", "Building"})
        EXPECT_NE(patterns.Find(name), nullptr) << "pattern " << name << " is not listed";
}

// Every section carries the values its stamp reads unconditionally.
TEST_F(ContentPatterns, SectionsCarryWhatTheStampsRequire) {
    for (const PatternFile& pattern : patterns.patterns) {
        if (!pattern.object) continue;
        const TiXmlElement& object = *pattern.object;
        const std::string& at = pattern.file;
        EXPECT_NE(object.FirstChildElement("type"), nullptr) << at << ": no type";
        const TiXmlElement* position = object.FirstChildElement("position");
        EXPECT_TRUE(position && position->Attribute("x") && position->Attribute("y") && position->Attribute("z"))
            << at << ": the position needs x, y and z";
        if (const TiXmlElement* resources = object.FirstChildElement("resources")) {
            EXPECT_FALSE(ChildText(*resources, "mesh").empty()) << at;
            EXPECT_FALSE(ChildText(*resources, "texture").empty()) << at;
            const TiXmlElement* scale = object.FirstChildElement("scale");
            EXPECT_TRUE(scale && scale->Attribute("value")) << at << ": graphics need a scale";
        }
        if (const TiXmlElement* physics = object.FirstChildElement("physics")) {
            EXPECT_NE(physics->Attribute("mass"), nullptr) << at;
        }
        if (const TiXmlElement* stats = object.FirstChildElement("stats")) {
            for (const char* child : {"health", "speed", "armor", "boost", "magic"})
                EXPECT_FALSE(ChildText(*stats, child).empty()) << at << ": stats need " << child;
        }
        Collision collision = ReadCollision(object);
        if (collision.present) {
            EXPECT_TRUE(collision.group >= 0 && collision.group <= 31) << at << ": collision group";
            for (int with : collision.collidesWith) EXPECT_TRUE(with >= 0 && with <= 31) << at;
        }
        if (const TiXmlElement* spawn = object.FirstChildElement("spawn")) {
            EXPECT_NE(spawn->Attribute("delay"), nullptr) << at;
        }
        if (const TiXmlElement* pickup = object.FirstChildElement("pickup")) {
            const char* type = pickup->Attribute("type");
            EXPECT_TRUE(type && (std::string(type) == "ammo" || std::string(type) == "health")) << at;
            EXPECT_NE(pickup->Attribute("value"), nullptr) << at;
        }
    }
}

// What a pattern names is registered with the right type, loaded in every
// level, and agrees with the registry's own tie of the mesh to its texture
// (the context load re-ties the mesh to the registry's texture).
TEST_F(ContentPatterns, ResourcesAreRegisteredAndConsistent) {
    auto expectRegistered = [&](const std::string& name, const char* prefix, const std::string& at) {
        const Entry* entry = registry.Find(name);
        EXPECT_NE(entry, nullptr) << at << " names the unregistered " << name;
        if (!entry) return entry;
        EXPECT_EQ(entry->Prefix(), prefix) << at << ": " << name;
        EXPECT_TRUE(LoadedInEveryLevel(entry->category)) << at << ": " << name << " is in " << entry->category;
        return entry;
    };
    for (const PatternFile& pattern : patterns.patterns) {
        if (!pattern.object) continue;
        const TiXmlElement* resources = pattern.object->FirstChildElement("resources");
        if (!resources) continue;
        const Entry* mesh = expectRegistered(ChildText(*resources, "mesh"), "mesh", pattern.file);
        expectRegistered(ChildText(*resources, "texture"), "tex", pattern.file);
        std::string skeleton = ChildText(*resources, "skeleton");
        if (mesh) {
            EXPECT_EQ(mesh->tex, ChildText(*resources, "texture")) << pattern.file;
            EXPECT_EQ(mesh->animated, !skeleton.empty()) << pattern.file << ": skinned meshes go with a skeleton";
        }
        if (skeleton.empty()) continue;
        expectRegistered(skeleton, "skel", pattern.file);
        const TiXmlElement* set = resources->FirstChildElement("animationSet");
        ASSERT_NE(set, nullptr) << pattern.file << ": a skeleton without animations";
        int count = 0;
        for (const TiXmlElement* anim = set->FirstChildElement("anim"); anim; anim = anim->NextSiblingElement(), ++count) {
            ASSERT_NE(anim->Attribute("name"), nullptr) << pattern.file;
            expectRegistered(anim->Attribute("name"), "anim", pattern.file);
        }
        // The behaviour states switch between animation 0 (standing) and 1 (moving).
        EXPECT_GE(count, pattern.object->FirstChildElement("behavior") ? 2 : 1) << pattern.file;
    }
}

// Shots collide with bit value 2 (the player's) or 1 (the enemies'), and
// with 8; explosions with 1 and 2; the foot probe with 8.
TEST_F(ContentPatterns, CollisionGroupsFitTheBitsTheCodeUses) {
    for (const char* name : ENEMIES) {
        Collision enemy = ReadCollision(Object(name));
        EXPECT_EQ(enemy.group, 1) << name << ": the player's shots hit group 1 (bit value 2)";
        EXPECT_TRUE(enemy.hasObb && enemy.hasSphere) << name << ": aim point and spawn offset need both";
    }
    Collision player = ReadCollision(Object("player"));
    EXPECT_EQ(player.group, 0) << "enemy shots and explosions hit group 0 (bit value 1)";
    EXPECT_TRUE(player.hasObb && player.hasSphere);
    for (const PatternFile& pattern : patterns.patterns) {
        if (!pattern.object) continue;
        const TiXmlElement* type = pattern.object->FirstChildElement("type");
        const char* levelObj = type ? type->Attribute("levelObj") : nullptr;
        if (levelObj && std::string(levelObj) == "true") {
            EXPECT_EQ(ReadCollision(*pattern.object).group, 3) << pattern.file << ": scenery is bit value 8";
        }
    }
    for (const char* name : {"Pickup Ammo", "Pickup Health"}) {
        Collision pickup = ReadCollision(Object(name));
        EXPECT_TRUE(pickup.hasSphere) << name << ": a drop is lifted by its sphere's radius";
        bool touchesPlayer = Contains(pickup.collidesWith, player.group) || Contains(player.collidesWith, pickup.group);
        EXPECT_TRUE(touchesPlayer) << name << " can never be collected";
        EXPECT_NE(Object(name).FirstChildElement("physics"), nullptr) << name << " cannot spin without physics";
    }
    // The weapon gives a missile its own collision and expiry behaviour.
    const TiXmlElement& missile = Object("Missile");
    EXPECT_NE(missile.FirstChildElement("physics"), nullptr) << "the missile's flight is written into physics";
    EXPECT_EQ(missile.FirstChildElement("collision"), nullptr);
    EXPECT_EQ(missile.FirstChildElement("behavior"), nullptr);
}

TEST_F(ContentPatterns, RolesHaveTheirSections) {
    for (const char* name : ENEMIES) {
        const TiXmlElement& enemy = Object(name);
        for (const char* section : {"resources", "physics", "stats", "weapons", "collision", "behavior"})
            EXPECT_NE(enemy.FirstChildElement(section), nullptr) << name << " lacks " << section;
    }
    // Enemy names start with their pattern name: "M..." drops ammunition, the others health.
    EXPECT_EQ(std::string(ENEMIES[0]).front(), 'M');
    EXPECT_EQ(std::string(ENEMIES[1]).front(), 'H');
    const TiXmlElement& player = Object("player");
    for (const char* section : {"physics", "stats", "collision"})
        EXPECT_NE(player.FirstChildElement(section), nullptr) << "player lacks " << section;
    // Behaviour would push the enemy states onto the player; the level script
    // attaches the player's weapons itself.
    EXPECT_EQ(player.FirstChildElement("behavior"), nullptr);
    EXPECT_EQ(player.FirstChildElement("weapons"), nullptr);
    if (const TiXmlElement* stats = player.FirstChildElement("stats")) {
        EXPECT_GT(std::atof(ChildText(*stats, "health").c_str()), 0.0) << "the hull gauge divides by it";
        EXPECT_GT(std::atof(ChildText(*stats, "boost").c_str()), 0.0) << "the boost gauge divides by it";
    }
    EXPECT_NE(Object("SpawnPoint").FirstChildElement("spawn"), nullptr);
}

TEST_F(ContentPatterns, WeaponsAreWellFormed) {
    for (const PatternFile& pattern : patterns.patterns) {
        if (!pattern.object) continue;
        const TiXmlElement* weapons = pattern.object->FirstChildElement("weapons");
        if (!weapons) continue;
        EXPECT_NE(pattern.object->FirstChildElement("behavior"), nullptr)
            << pattern.file << ": only the behaviour stamp attaches weapons";
        for (const char* slot : {"primary", "secondary"}) {
            const TiXmlElement* weapon = weapons->FirstChildElement(slot);
            if (!weapon) continue;
            const std::string at = pattern.file + " " + slot;
            const char* type = weapon->Attribute("type");
            EXPECT_TRUE(type && (std::string(type) == "SimpleSpread" || std::string(type) == "Missile")) << at;
            for (const char* attribute : {"damage", "rate", "expire", "speed", "num", "spread", "splash", "radius"})
                EXPECT_NE(weapon->Attribute(attribute), nullptr) << at << " lacks " << attribute;
            // A uniform spread with an even count fires nothing at all.
            int num = weapon->Attribute("num") ? std::atoi(weapon->Attribute("num")) : 0;
            EXPECT_TRUE(num > 0 && num % 2 == 1) << at << ": num " << num;
            const TiXmlElement* hotSpot = weapon->FirstChildElement("hotSpot");
            ASSERT_NE(hotSpot, nullptr) << at << ": a weapon needs a hot spot";
            // The reader takes every sibling after the first hot spot as one.
            for (const TiXmlElement* e = hotSpot; e; e = e->NextSiblingElement()) {
                EXPECT_STREQ(e->Value(), "hotSpot") << at;
                EXPECT_TRUE(e->Attribute("trans") && e->Attribute("bone")) << at;
            }
        }
    }
}

}  // namespace
