// The generated files that the registry names read back through the game's
// own readers (the binary mesh, skeleton and animation loaders, SOIL for the
// pictures) and have the shape the code that uses them relies on: skinned
// meshes use only their skeleton's bones, looping animations wrap without a
// zero-length span, hot spots name real bones, font glyphs stay within the
// printer's advance, particle cells fade out before their borders and each
// ground mesh lies on the heights the game reads from its height map.
#include <SOIL/SOIL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "content/content_catalog.h"
#include "ground_plane_object.h"
#include "resource_manager.h"
#include "resource_manager/binary_files.h"

namespace {

using content::ChildText;
using content::Entry;

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    unsigned char Alpha(int x, int y) const { return rgba[(size_t(y) * width + x) * 4 + 3]; }
};

// Decodes with SOIL forced to RGBA, as the game's texture loader does.
Picture Decode(const std::string& relative) {
    Picture picture;
    int channels = 0;
    unsigned char* pixels = SOIL_load_image(content::RunPath(relative).c_str(), &picture.width, &picture.height,
                                            &channels, SOIL_LOAD_RGBA);
    if (pixels) {
        picture.rgba.assign(pixels, pixels + size_t(picture.width) * picture.height * 4);
        SOIL_free_image_data(pixels);
    }
    return picture;
}

std::string WithoutExtension(const Entry& entry) { return content::RunPath(entry.file); }

class ContentFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(registry.parsed); }

    const Entry& Registered(const std::string& name) {
        const Entry* entry = registry.Find(name);
        if (!entry) ADD_FAILURE() << name << " is not registered";
        return entry ? *entry : missing;
    }

    const content::Registry registry = content::ReadRegistry();
    Entry missing;
};

TEST_F(ContentFiles, EveryPictureDecodesAsRgba) {
    for (const Entry& entry : registry.entries) {
        if (entry.Prefix() != "tex" || !entry.hasFile) continue;
        Picture picture = Decode(entry.file);
        EXPECT_FALSE(picture.rgba.empty()) << entry.name << ": SOIL cannot read " << entry.file;
        EXPECT_GT(picture.width, 0) << entry.name;
        EXPECT_GT(picture.height, 0) << entry.name;
    }
}

TEST_F(ContentFiles, EveryModelFileReadsBack) {
    for (const Entry& entry : registry.entries) {
        if (!entry.hasFile) continue;
        if (entry.Prefix() == "mesh") {
            Mesh mesh;
            ASSERT_TRUE(LoadMeshFile(WithoutExtension(entry), mesh)) << entry.name;
            EXPECT_FALSE(mesh.triangles.empty()) << entry.name;
            EXPECT_EQ(mesh.arrays.indices.count, mesh.triangles.size() * 3) << entry.name << ": index buffer";
            EXPECT_EQ(mesh.arrays.positions.count, mesh.verts.size() * 3) << entry.name;
        } else if (entry.Prefix() == "skel") {
            Skeleton skeleton;
            EXPECT_TRUE(LoadSkeletonFile(skeleton, WithoutExtension(entry))) << entry.name;
        } else if (entry.Prefix() == "anim") {
            AnimSet set;
            EXPECT_TRUE(LoadAnimFile(set, WithoutExtension(entry))) << entry.name;
        }
    }
}

// Everything a pattern with a skeleton puts together: the skinned mesh, the
// skeleton, its animations and the bones its weapons fire from.
class SkinnedPattern {
public:
    SkinnedPattern(const content::Registry& registry, const TiXmlElement& object) {
        const TiXmlElement* resources = object.FirstChildElement("resources");
        const Entry* meshEntry = registry.Find(ChildText(*resources, "mesh"));
        const Entry* skelEntry = registry.Find(ChildText(*resources, "skeleton"));
        loaded = meshEntry && skelEntry && LoadMeshFile(content::RunPath(meshEntry->file), mesh) &&
                 LoadSkeletonFile(skeleton, content::RunPath(skelEntry->file));
        const TiXmlElement* set = resources->FirstChildElement("animationSet");
        for (const TiXmlElement* anim = set ? set->FirstChildElement("anim") : nullptr; anim;
             anim = anim->NextSiblingElement()) {
            const Entry* animEntry = registry.Find(anim->Attribute("name") ? anim->Attribute("name") : "");
            AnimSet loadedSet;
            if (!animEntry || !LoadAnimFile(loadedSet, content::RunPath(animEntry->file))) loaded = false;
            animations.push_back(loadedSet);
        }
    }

    bool HasBone(const std::string& name) const {
        for (const Bone& bone : skeleton.boneList)
            if (bone.name == name) return true;
        return false;
    }

    bool loaded = false;
    Mesh mesh;
    Skeleton skeleton;
    std::vector<AnimSet> animations;
};

class ContentSkinnedModels : public ContentFiles {
protected:
    // name -> the pattern's object element, for every pattern with a skeleton.
    std::map<std::string, const TiXmlElement*> SkinnedPatterns() {
        std::map<std::string, const TiXmlElement*> result;
        for (const content::PatternFile& pattern : patterns.patterns) {
            if (!pattern.object) continue;
            const TiXmlElement* resources = pattern.object->FirstChildElement("resources");
            if (resources && !ChildText(*resources, "skeleton").empty()) result[pattern.name] = pattern.object;
        }
        return result;
    }
    const content::PatternList patterns = content::ReadPatternList();
};

TEST_F(ContentSkinnedModels, MeshesUseOnlyTheirSkeletonsBones) {
    auto skinned = SkinnedPatterns();
    ASSERT_FALSE(skinned.empty());
    for (const auto& [name, object] : skinned) {
        SkinnedPattern model(registry, *object);
        ASSERT_TRUE(model.loaded) << name;
        int bones = int(model.skeleton.boneList.size());
        for (const Vertex& vertex : model.mesh.verts) {
            float total = 0.0f;
            for (int k = 0; k < 4; ++k) {
                if (vertex.skinWeights[k] == 0.0f) continue;
                EXPECT_TRUE(vertex.boneIndex[k] >= 0 && vertex.boneIndex[k] < bones) << name << ": bone index";
                total += vertex.skinWeights[k];
            }
            ASSERT_NEAR(total, 1.0f, 1e-4f) << name << ": a vertex's weights must add up to one";
        }
    }
}

// One track per bone, each with keys in ascending time, a positive length
// and its last key before the end of the loop: a last key at the loop's end
// makes the wrap-around span zero, which the playback reports as an error
// every time it lands there.
TEST_F(ContentSkinnedModels, AnimationsLoopCleanlyOverTheirSkeleton) {
    for (const auto& [name, object] : SkinnedPatterns()) {
        SkinnedPattern model(registry, *object);
        ASSERT_TRUE(model.loaded) << name;
        for (const AnimSet& set : model.animations) {
            ASSERT_EQ(set.animTrackList.size(), model.skeleton.boneList.size()) << name << " " << set.name;
            for (const AnimTrack& track : set.animTrackList) {
                ASSERT_FALSE(track.keyFrames.empty()) << set.name;
                EXPECT_GT(track.length, 0.0) << set.name;
                for (size_t k = 1; k < track.keyFrames.size(); ++k)
                    EXPECT_LT(track.keyFrames[k - 1].time, track.keyFrames[k].time) << set.name;
                if (track.keyFrames.size() > 1) {
                    EXPECT_LT(track.keyFrames.back().time + 1e-6, track.length + track.keyFrames.front().time)
                        << set.name;
                }
                for (const KeyFrame& key : track.keyFrames) {
                    const Quaternion& q = key.rot;
                    EXPECT_NEAR(q.s * q.s + q.v.x * q.v.x + q.v.y * q.v.y + q.v.z * q.v.z, 1.0f, 1e-3f) << set.name;
                }
            }
        }
    }
}

TEST_F(ContentSkinnedModels, HotSpotsNameBonesOfTheSkeleton) {
    int hotSpots = 0;
    for (const auto& [name, object] : SkinnedPatterns()) {
        SkinnedPattern model(registry, *object);
        ASSERT_TRUE(model.loaded) << name;
        const TiXmlElement* weapons = object->FirstChildElement("weapons");
        for (const TiXmlElement* weapon = weapons ? weapons->FirstChildElement() : nullptr; weapon;
             weapon = weapon->NextSiblingElement())
            for (const TiXmlElement* spot = weapon->FirstChildElement("hotSpot"); spot;
                 spot = spot->NextSiblingElement("hotSpot"), ++hotSpots) {
                const char* bone = spot->Attribute("bone");
                ASSERT_NE(bone, nullptr) << name;
                EXPECT_TRUE(model.HasBone(bone)) << name << ": no bone " << bone << "; the muzzle would sit at the feet";
            }
    }
    EXPECT_GT(hotSpots, 0);
}

// Cell n of the font holds the character n + 31; the printer advances 0.7
// of a cell per character, so ink beyond that would overprint the next one.
TEST_F(ContentFiles, FontCellsHoldTheirCharactersWithinTheAdvance) {
    Picture font = Decode(Registered("tex_font").file);
    ASSERT_EQ(font.width, font.height);
    ASSERT_EQ(font.width % 16, 0);
    const int cell = font.width / 16;
    auto ink = [&](int index, int fromX, int toX) {
        int count = 0;
        for (int y = 0; y < cell; ++y)
            for (int x = fromX; x < toX; ++x)
                count += font.Alpha((index % 16) * cell + x, (index / 16) * cell + y) > 64;
        return count;
    };
    EXPECT_EQ(ink(0, 0, cell), 0) << "cell 0 is code 31";
    EXPECT_EQ(ink(1, 0, cell), 0) << "cell 1 is the blank";
    for (char c : std::string("AZaz09!?/+")) EXPECT_GT(ink(c - 31, 0, cell), 10) << "no glyph for " << c;
    int advance = int(std::ceil(cell * 0.7));
    for (int index = 0; index < 256; ++index) EXPECT_EQ(ink(index, advance, cell), 0) << "cell " << index;
}

// The particle drawing cuts these pixel rectangles out of a 480 x 480 sheet;
// each must hold a picture that has faded out at its border.
TEST_F(ContentFiles, ParticleCellsFadeOutBeforeTheirBorders) {
    struct Rect {
        int x0, y0, x1, y1;
    };
    const Rect cells[] = {{0, 0, 119, 119},     {120, 0, 239, 119},   {0, 120, 119, 239},   {120, 120, 239, 239},
                          {240, 0, 359, 119},   {360, 0, 479, 119},   {240, 120, 359, 239}, {360, 120, 479, 239},
                          {0, 240, 239, 299},   {0, 300, 239, 359},   {0, 360, 239, 419},   {0, 420, 239, 479},
                          {240, 240, 279, 279}, {280, 240, 319, 279}, {320, 240, 359, 279}, {240, 280, 279, 319},
                          {280, 280, 319, 319}, {320, 280, 359, 319}, {240, 320, 279, 359}, {320, 320, 359, 359},
                          {360, 240, 479, 359}, {240, 360, 359, 479}, {360, 360, 479, 479}};
    Picture atlas = Decode(Registered("tex_particle").file);
    ASSERT_EQ(atlas.width, 480);
    ASSERT_EQ(atlas.height, 480);
    for (const Rect& r : cells) {
        int inside = 0, border = 0;
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x) {
                bool edge = x == r.x0 || x == r.x1 || y == r.y0 || y == r.y1;
                (edge ? border : inside) += atlas.Alpha(x, y) > 16;
            }
        EXPECT_GT(inside, 20) << "cell at " << r.x0 << "," << r.y0 << " is empty";
        EXPECT_EQ(border, 0) << "cell at " << r.x0 << "," << r.y0 << " shows a hard edge";
    }
}

// The ground plane reads heights from the height map; the drawn ground mesh
// of the same level must lie on them, face up and span the map once.
TEST_F(ContentFiles, GroundMeshesLieOnTheirHeightMaps) {
    ResourceManager* resources = Module<ResourceManager>::Instance();
    for (int level = 1; level <= 3; ++level) {
        const std::string suffix = "level" + std::to_string(level);
        const Entry& mapEntry = Registered("tex_heightmap_" + suffix);
        Picture picture = Decode(mapEntry.file);
        ASSERT_FALSE(picture.rgba.empty()) << suffix;
        Texture map(unsigned(picture.width), unsigned(picture.height), 4);
        std::memcpy(map.data, picture.rgba.data(), picture.rgba.size());
        const std::string handleName = "tex_test_heightmap_" + suffix;
        ASSERT_EQ(resources->add<Texture>(handleName, map), 0);

        GroundPlaneObject ground;
        ground.heightMapHandle = Handle(handleName);
        ground.scale = Vector(1000, 100, 1000);
        ground.pos = Vector(-500, 10, -500);

        Mesh mesh;
        ASSERT_TRUE(LoadMeshFile(content::RunPath(Registered("mesh_ground_" + suffix).file), mesh)) << suffix;
        for (const Vertex& vertex : mesh.verts) {
            ASSERT_TRUE(vertex.v[0] >= 0.0f && vertex.v[0] <= 1.0f && vertex.v[2] >= 0.0f && vertex.v[2] <= 1.0f);
            // Points on the far edges are off the map for the ground plane;
            // the mesh clamps them to the last texel.
            if (vertex.v[0] >= 1.0f || vertex.v[2] >= 1.0f) continue;
            Vector world(ground.pos.x + vertex.v[0] * ground.scale.x, 0, ground.pos.z + vertex.v[2] * ground.scale.z);
            float drawn = ground.pos.y + vertex.v[1] * ground.scale.y;
            ASSERT_NEAR(drawn, ground.GetHeight(world), 0.05f) << suffix << " at " << vertex.v[0] << ", " << vertex.v[2];
        }
        for (size_t t = 0; t < mesh.triangles.size(); ++t) ASSERT_GT(mesh.QuickNorm(unsigned(t)).y, 0.0f) << suffix;
        resources->DeleteResource(handleName);
    }
}

}  // namespace
