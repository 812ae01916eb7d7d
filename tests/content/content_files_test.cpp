// The generated files that the registry names read back through the game's
// own readers (the binary mesh, skeleton and animation loaders, the PNG decoder for the
// pictures), and skinned models hold together: meshes use only their
// skeleton's bones, animations loop without a zero-length span over one
// track per bone, and weapon hot spots name real bones.
#include <gtest/gtest.h>

#include <string>

#include "content/content_catalog.h"
#include "resource_manager.h"
#include "resource_manager/binary_files.h"
#include "resource_manager/png_texture.h"

namespace {

using content::Attr;
using content::ChildText;
using content::RunPath;

TEST(ContentFiles, EveryPictureAndModelReadsBack) {
    const content::List registry("resource/registry.xml");
    ASSERT_TRUE(registry.parsed);
    for (const TiXmlElement* entry : registry.entries) {
        const std::string name = Attr(entry, "registry"), prefix = content::Prefix(entry), file = RunPath(Attr(entry, "file"));
        if (!entry->Attribute("file")) continue;
        Mesh mesh;
        Skeleton skeleton;
        AnimSet set;
        if (prefix == "tex") {
            std::string problem;
            EXPECT_TRUE(LoadPngTexture(file, problem)) << name << ": " << file << ": " << problem;
        } else if (prefix == "mesh") {
            ASSERT_TRUE(LoadMeshFile(file, mesh)) << name;
            EXPECT_FALSE(mesh.triangles.empty()) << name;
            EXPECT_EQ(mesh.arrays.indices.count, mesh.triangles.size() * 3) << name << ": index buffer";
        } else if (prefix == "skel") {
            EXPECT_TRUE(LoadSkeletonFile(skeleton, file)) << name;
        } else if (prefix == "anim") {
            EXPECT_TRUE(LoadAnimFile(set, file)) << name;
        }
    }
}

TEST(ContentFiles, SkinnedModelsHoldTogether) {
    const content::List registry("resource/registry.xml"), list("resource/objectPatterns.xml");
    int skinned = 0, hotSpots = 0;
    for (const content::Pattern& pattern : content::ReadPatterns(list)) {
        const TiXmlElement* resources = pattern.object ? pattern.object->FirstChildElement("resources") : nullptr;
        if (ChildText(resources, "skeleton").empty()) continue;
        ++skinned;
        Mesh mesh;
        Skeleton skeleton;
        ASSERT_TRUE(LoadMeshFile(RunPath(Attr(registry.Find(ChildText(resources, "mesh")), "file")), mesh) &&
                    LoadSkeletonFile(skeleton, RunPath(Attr(registry.Find(ChildText(resources, "skeleton")), "file"))))
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
            ASSERT_TRUE(LoadAnimFile(set, RunPath(Attr(registry.Find(Attr(anim, "name")), "file")))) << Attr(anim, "name");
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

}  // namespace
