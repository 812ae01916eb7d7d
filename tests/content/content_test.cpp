// The game's content in the run folder: every name the code loads is
// registered in a category loaded before the code needs it, textures and
// meshes reach OpenGL, skinned models hold together, every object pattern
// gives the stamps what they require, names only registered resources and
// fits the collision bits the code hard-wires, and every registered sound is
// a clean WAV that SDL_mixer loads. That every other file reads back through
// the game's own readers is checked where the registry is loaded whole
// (tests/resource_manager/registry_test.cpp).
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "content/content_catalog.h"
#include "resource_manager.h"
#include "resource_manager/binary_files.h"
#include "support/temp_folder.h"

namespace {

using content::Attr;
using content::ChildText;
using content::Prefix;
using content::RunPath;

// When categories get their OpenGL side: "all_first" and "splash" at
// start-up, "all" at the first level load, a level's own with it; -1 never.
int Rank(const std::string& category) {
    const char* const order[] = {"all_first", "splash", "all", "level1", "level2", "level3"};
    const auto at = std::find(std::begin(order), std::end(order), category);
    return at == std::end(order) ? -1 : std::min(int(at - std::begin(order)), 3);
}

// A listed pattern file and its "object" element (null when it has none or does not parse).
struct Pattern {
    std::string name, file;
    std::shared_ptr<TiXmlDocument> document = std::make_shared<TiXmlDocument>();
    const TiXmlElement* object = nullptr;
};

class Content : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(registry.parsed && list.parsed) << "a content list does not parse";
        for (const TiXmlElement* entry : list.entries) {
            Pattern pattern{Attr(entry, "registry"), Attr(entry, "file")};
            if (pattern.document->LoadFile(RunPath(pattern.file).c_str()))
                pattern.object = pattern.document->FirstChildElement("object");
            patterns.push_back(pattern);
        }
    }
    std::string FileOf(const std::string& name) const { return RunPath(Attr(registry.Find(name), "file")); }

    const content::List registry{"resource/registry.xml"}, list{"resource/objectPatterns.xml"};
    std::vector<Pattern> patterns;
};

TEST_F(Content, RegistryEntriesAreUniqueLoadedAndReachOpenGLInTime) {
    EXPECT_EQ(registry.malformed, 0);
    std::set<std::string> seen;
    for (const TiXmlElement* entry : registry.entries) {
        const std::string name = Attr(entry, "registry");
        EXPECT_TRUE(seen.insert(name).second) << name << " is registered twice";
        EXPECT_GE(Rank(Attr(entry, "loadCategory")), 0) << name << ": its category is never loaded";
        const bool picture = Prefix(entry) == "tex" && entry->Attribute("file");
        EXPECT_TRUE(!picture || Attr(entry, "loadContext") == "true") << name << " is never uploaded";
        if (Prefix(entry) != "mesh") continue;
        EXPECT_EQ(Attr(entry, "loadContext"), "true") << name << " never gets buffers";
        const TiXmlElement* texture = registry.Find(Attr(entry, "tex"));
        ASSERT_TRUE(texture && Prefix(texture) == "tex") << name << " is tied to no registered texture";
        // Uploaded before the mesh's category, or with it, and never another level's.
        const int mine = Rank(Attr(entry, "loadCategory")), its = Rank(Attr(texture, "loadCategory"));
        EXPECT_TRUE(its < mine ? its <= 2 : Attr(texture, "loadCategory") == Attr(entry, "loadCategory")) << name;
    }
}

TEST_F(Content, NamesTheCodeLoadsAreThereWhenNeeded) {
    // Looked up at start-up: the renderer and splash slides.
    for (const char* name : {"tex_font", "tex_symbols", "tex_smaller_crosshair", "tex_studio_logo", "tex_team", "tex_logo"})
        EXPECT_TRUE(registry.Find(name) && Rank(Attr(registry.Find(name), "loadCategory")) <= 1) << name;
    // Used in play or in the menus: loaded in every level.
    for (const char* name : {"tex_smaller_hit", "tex_minimap", "tex_radio", "tex_slider", "tex_missile_icon",
                             "tex_start", "tex_mars_screen", "tex_grey", "mesh_cockpit", "tex_particle", "tex_shot_red",
                             "tex_shot_blue", "tex_noise", "stream_BG Music", "sample_shot_laser1", "sample_shot_laser2",
                             "sample_missile_fire", "sample_explosion_short", "sample_explosion_long",
                             "sample_shield_hit1", "sample_shield_hit2", "sample_shield_hit3", "sample_hull_hit",
                             "sample_step", "sample_landing", "sample_boost", "sample_health_pickup",
                             "sample_recharge_shield", "tex_skybox", "tex_roll_game", "tex_roll_team", "tex_roll_credits"})
        EXPECT_TRUE(registry.Find(name) && Rank(Attr(registry.Find(name), "loadCategory")) <= 2) << name;
    for (const char* name : {"sample_boost", "stream_BG Music"}) EXPECT_EQ(Attr(registry.Find(name), "loop"), "true") << name;
    // The sky mesh and the noise texture are built in code over a registered placeholder.
    ASSERT_TRUE(registry.Find("mesh_skybox") && registry.Find("tex_noise"));
    EXPECT_FALSE(registry.Find("mesh_skybox")->Attribute("file") || registry.Find("tex_noise")->Attribute("file"));
    EXPECT_NE(Attr(registry.Find("tex_noise"), "loadContext"), "true") << "its builder uploads it";
}

TEST_F(Content, PatternsExistParseAndNameOnlyRegisteredResources) {
    EXPECT_EQ(list.malformed, 0);
    for (const char* name : {"MediumMech", "HeavyMech", "MediumMechSuper", "HeavyMechSuper", "Missile", "Pickup Ammo",
                             "Pickup Health", "player", "SpawnPoint", "Crate", "Building"})
        EXPECT_NE(list.Find(name), nullptr) << "pattern " << name << " is not listed";
    auto expectRegistered = [&](const std::string& name, const char* prefix, const std::string& at) {
        const TiXmlElement* entry = registry.Find(name);
        EXPECT_TRUE(entry && Prefix(entry) == prefix) << at << " names the unregistered " << prefix << " " << name;
        EXPECT_TRUE(!entry || Rank(Attr(entry, "loadCategory")) <= 2) << at << ": " << name << " is a level's own";
        return entry;
    };
    for (const Pattern& pattern : patterns) {
        ASSERT_NE(pattern.object, nullptr) << pattern.file << " is missing, does not parse or has no \"object\"";
        const TiXmlElement* position = pattern.object->FirstChildElement("position");
        EXPECT_TRUE(position && position->Attribute("x") && position->Attribute("y") && position->Attribute("z")) << pattern.file;
        const TiXmlElement* stats = pattern.object->FirstChildElement("stats");
        for (const char* child : {"health", "speed", "armor", "boost", "magic"})
            EXPECT_TRUE(!stats || !ChildText(stats, child).empty()) << pattern.file << ": stats need " << child;
        const TiXmlElement* resources = pattern.object->FirstChildElement("resources");
        if (!resources) continue;
        const std::string skeleton = ChildText(resources, "skeleton");
        if (const TiXmlElement* mesh = expectRegistered(ChildText(resources, "mesh"), "mesh", pattern.file)) {
            EXPECT_EQ(Attr(mesh, "tex"), ChildText(resources, "texture")) << pattern.file << ": the load re-ties the mesh";
            EXPECT_EQ(Attr(mesh, "animated") == "true", !skeleton.empty()) << pattern.file;
        }
        expectRegistered(ChildText(resources, "texture"), "tex", pattern.file);
        if (skeleton.empty()) continue;
        expectRegistered(skeleton, "skel", pattern.file);
        const TiXmlElement* set = resources->FirstChildElement("animationSet");
        int count = 0;
        for (const TiXmlElement* anim = set ? set->FirstChildElement("anim") : nullptr; anim; anim = anim->NextSiblingElement(), ++count)
            expectRegistered(Attr(anim, "name"), "anim", pattern.file);
        // The behaviour states switch between animation 0 (standing) and 1 (moving).
        EXPECT_GE(count, pattern.object->FirstChildElement("behavior") ? 2 : 1) << pattern.file;
    }
}

// Shots hit bit value 2 (group 1, the enemies) or 1 (group 0, the player) and
// 8 (group 3, scenery); weapons fire an odd count from named hot spots.
TEST_F(Content, CollisionGroupsAndWeaponsFitWhatTheCodeUses) {
    auto group = [](const TiXmlElement* object) {
        const std::string text = ChildText(object ? object->FirstChildElement("collision") : nullptr, "collisionGroup");
        return text.empty() ? -1 : std::atoi(text.c_str());
    };
    for (const Pattern& pattern : patterns) {
        if (!pattern.object) continue;
        const TiXmlElement* type = pattern.object->FirstChildElement("type");
        EXPECT_TRUE(Attr(type, "levelObj") != "true" || group(pattern.object) == 3) << pattern.file << ": scenery";
        if (pattern.name.find("Mech") != std::string::npos || pattern.name == "player") {
            EXPECT_EQ(group(pattern.object), pattern.name == "player" ? 0 : 1) << pattern.file;
            const TiXmlElement* collision = pattern.object->FirstChildElement("collision");
            EXPECT_TRUE(collision && collision->FirstChildElement("obb") && collision->FirstChildElement("sphere"))
                << pattern.file << ": the aim point and spawn offset need both";
        }
        const TiXmlElement* weapons = pattern.object->FirstChildElement("weapons");
        for (const TiXmlElement* weapon = weapons ? weapons->FirstChildElement() : nullptr; weapon; weapon = weapon->NextSiblingElement()) {
            const std::string at = pattern.file + " " + weapon->Value();
            EXPECT_NE(pattern.object->FirstChildElement("behavior"), nullptr) << at << ": only the behaviour stamp attaches weapons";
            for (const char* attribute : {"type", "damage", "rate", "expire", "speed", "num", "spread", "splash", "radius"})
                EXPECT_NE(weapon->Attribute(attribute), nullptr) << at << " lacks " << attribute;
            const int num = std::atoi(Attr(weapon, "num").c_str());
            EXPECT_TRUE(num > 0 && num % 2 == 1) << at << ": a uniform spread with an even count fires nothing";
            // The reader takes every sibling after the first hot spot as one.
            const TiXmlElement* spot = weapon->FirstChildElement("hotSpot");
            ASSERT_NE(spot, nullptr) << at;
            for (; spot; spot = spot->NextSiblingElement()) EXPECT_TRUE(std::string(spot->Value()) == "hotSpot" && spot->Attribute("bone")) << at;
        }
    }
}

// Meshes use only their skeleton's bones, animations loop without a zero-length
// span over one track per bone, and weapon hot spots name real bones.
TEST_F(Content, SkinnedModelsHoldTogether) {
    int skinned = 0, hotSpots = 0;
    for (const Pattern& pattern : patterns) {
        const TiXmlElement* resources = pattern.object ? pattern.object->FirstChildElement("resources") : nullptr;
        if (ChildText(resources, "skeleton").empty()) continue;
        ++skinned;
        Mesh mesh;
        Skeleton skeleton;
        ASSERT_TRUE(LoadMeshFile(FileOf(ChildText(resources, "mesh")), mesh) &&
                    LoadSkeletonFile(skeleton, FileOf(ChildText(resources, "skeleton"))))
            << pattern.name;
        const int bones = int(skeleton.boneList.size());
        for (const Vertex& vertex : mesh.verts) {
            float total = 0.0f;
            for (int k = 0; k < 4; ++k) {
                if (vertex.skinWeights[k] == 0.0f) continue;
                EXPECT_TRUE(vertex.boneIndex[k] >= 0 && vertex.boneIndex[k] < bones) << pattern.name << ": bone index";
                total += vertex.skinWeights[k];
            }
            ASSERT_NEAR(total, 1.0f, 1e-4f) << pattern.name << ": a vertex's weights must add up to one";
        }
        // One track per bone, keys ascending, and the last key before the
        // loop's end: a zero wrap-around span is reported every time it comes.
        const TiXmlElement* anims = resources->FirstChildElement("animationSet");
        for (const TiXmlElement* anim = anims ? anims->FirstChildElement("anim") : nullptr; anim; anim = anim->NextSiblingElement()) {
            AnimSet set;
            ASSERT_TRUE(LoadAnimFile(set, FileOf(Attr(anim, "name")))) << Attr(anim, "name");
            ASSERT_EQ(set.animTrackList.size(), skeleton.boneList.size()) << set.name;
            for (const AnimTrack& track : set.animTrackList) {
                ASSERT_FALSE(track.keyFrames.empty()) << set.name;
                EXPECT_GT(track.length, 0.0) << set.name;
                for (size_t k = 1; k < track.keyFrames.size(); ++k) EXPECT_LT(track.keyFrames[k - 1].time, track.keyFrames[k].time) << set.name;
                EXPECT_TRUE(track.keyFrames.size() == 1 || track.keyFrames.back().time + 1e-6 < track.length + track.keyFrames.front().time) << set.name;
            }
        }
        const TiXmlElement* weapons = pattern.object->FirstChildElement("weapons");
        for (const TiXmlElement* weapon = weapons ? weapons->FirstChildElement() : nullptr; weapon; weapon = weapon->NextSiblingElement())
            for (const TiXmlElement* spot = weapon->FirstChildElement("hotSpot"); spot; spot = spot->NextSiblingElement("hotSpot"), ++hotSpots) {
                bool found = false;
                for (const Bone& bone : skeleton.boneList) found |= bone.name == Attr(spot, "bone");
                EXPECT_TRUE(found) << pattern.name << ": no bone " << Attr(spot, "bone") << "; the muzzle would sit at the feet";
            }
    }
    EXPECT_GT(skinned, 0);
    EXPECT_GT(hotSpots, 0);
}

std::uint32_t LE(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Every registered sound is the plain WAV our writer makes, heard without
// clipping; a sound that does not loop starts and ends without a click, and a
// looping one runs seamlessly from its end into its start. The music runs a
// minute at least before it repeats, and no two sounds are one sound twice.
TEST_F(Content, SoundsAreCleanSixteenBitPcmThatTheMixerLoads) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    std::map<std::string, std::vector<int>> firstSides;
    for (const TiXmlElement* entry : registry.entries) {
        if (Prefix(entry) != "sample" && Prefix(entry) != "stream") continue;
        const std::string path = RunPath(Attr(entry, "file")), b = test_support::ReadFile(path);
        // The plain 44-byte header, with sizes that match the file.
        ASSERT_TRUE(b.size() > 2044 && b.compare(0, 4, "RIFF") == 0 && b.compare(8, 8, "WAVEfmt ") == 0 &&
                    b.compare(36, 4, "data") == 0 && LE(b, 4, 4) == b.size() - 8 &&
                    LE(b, 40, 4) == b.size() - 44)
            << Attr(entry, "registry") << ": " << path;
        const int channels = LE(b, 22, 2), rate = LE(b, 24, 4);
        EXPECT_TRUE(LE(b, 20, 2) == 1 && LE(b, 34, 2) == 16 && (channels == 1 || channels == 2));
        EXPECT_TRUE((rate == 22050 || rate == 44100) && LE(b, 28, 4) == std::uint32_t(rate * channels * 2));
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        EXPECT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
        if (chunk) Mix_FreeChunk(chunk);
        for (int side = 0; side < channels; ++side) {
            std::vector<int> s, steps;
            for (std::size_t i = 44 + 2 * side; i + 1 < b.size(); i += 2 * channels)
                s.push_back(std::int16_t(LE(b, i, 2)));
            int peak = 0;
            for (std::size_t i = 0; i < s.size(); ++i) {
                peak = std::max(peak, std::abs(s[i]));
                if (i) steps.push_back(std::abs(s[i] - s[i - 1]));
            }
            EXPECT_TRUE(peak > 8000 && peak < 32000) << path << ": too quiet or clipping at " << peak;
            if (side == 0) firstSides[Attr(entry, "registry")] = s;
            if (Attr(entry, "registry") == "stream_BG Music") {
                EXPECT_GE(double(s.size()) / rate, 60.0) << "the music repeats too soon";
            }
            if (Attr(entry, "loop") != "true") {
                EXPECT_TRUE(std::abs(s.front()) < 300 && std::abs(s.back()) < 300) << path << " clicks";
                continue;
            }
            // The jump across the seam is like the signal's own steps.
            std::sort(steps.begin(), steps.end());
            EXPECT_LE(std::abs(s.front() - s.back()), 2 * steps[steps.size() / 2]) << path;
        }
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // Two sounds that move together sample by sample are one sound twice.
    for (auto a = firstSides.begin(); a != firstSides.end(); ++a)
        for (auto b = std::next(a); b != firstSides.end(); ++b) {
            double ab = 0.0, aa = 0.0, bb = 0.0;
            for (std::size_t i = 0; i < std::min(a->second.size(), b->second.size()); ++i) {
                ab += double(a->second[i]) * b->second[i];
                aa += double(a->second[i]) * a->second[i];
                bb += double(b->second[i]) * b->second[i];
            }
            EXPECT_LT(std::fabs(ab) / std::sqrt(aa * bb + 1.0), 0.9) << a->first << " and " << b->first << " sound alike";
        }
}

}  // namespace
