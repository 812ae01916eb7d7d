// Malformed binary resource files: every one must fail cleanly with a logged
// reason, without crashing, hanging or allocating for counts the file cannot
// hold, and without touching the object being loaded.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "resource_manager/binary_test_data.h"
#include "support/log_capture.h"

using test_support::LogCapture;

using namespace testdata;

namespace {

bool ParseMesh(const std::string& bytes) {
    ByteReader in = ReaderOf(bytes);
    std::string name;
    Mesh mesh;
    return in.ReadString(name) && ReadMesh(in, mesh);
}

bool ParseSkeleton(const std::string& bytes) {
    ByteReader in = ReaderOf(bytes);
    std::string name;
    Skeleton skeleton;
    return in.ReadString(name) && ReadSkeleton(in, skeleton);
}

bool ParseAnim(const std::string& bytes) {
    ByteReader in = ReaderOf(bytes);
    std::string name;
    int32_t leading = 0;
    AnimSet set;
    return in.ReadString(name) && in.ReadInt(leading) && ReadAnimSet(in, set);
}

// Offsets inside MeshFile(SmallMesh()).
const size_t MESH_BODY = 4 + 7;                              // after the leading name
const size_t VERTEX_COUNT = MESH_BODY + 4 + 3 + 68;          // after the mesh name
const size_t FIRST_VERTEX = VERTEX_COUNT + 4;
const size_t TRIANGLE_COUNT = FIRST_VERTEX + 3 * VERTEX_RECORD_BYTES;
const size_t FIRST_TRIANGLE = TRIANGLE_COUNT + 4;
const size_t INDEX_COUNT = FIRST_TRIANGLE + TRIANGLE_RECORD_BYTES + 4;

}  // namespace

TEST(BinaryHostile, EveryTruncationOfEachFileFails) {
    const std::string files[3] = {MeshFile(SmallMesh()), SkeletonFile(SmallSkeleton()),
                                  AnimFile(SmallAnimSet())};
    bool (*const parsers[3])(const std::string&) = {ParseMesh, ParseSkeleton, ParseAnim};
    for (int f = 0; f < 3; ++f) {
        ASSERT_TRUE(parsers[f](files[f])) << "the whole file " << f << " must load";
        for (size_t cut = 0; cut < files[f].size(); ++cut)
            EXPECT_FALSE(parsers[f](files[f].substr(0, cut))) << "file " << f << " cut at " << cut;
    }
}

TEST(BinaryHostile, TruncatedMeshFileFailsThroughTheLoaderAndKeepsTheTarget) {
    std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "quell_binary_hostile";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "cut").string();
    std::string bytes = MeshFile(SmallMesh());
    std::ofstream(path + ".bin", std::ios::binary) << bytes.substr(0, 40);  // inside the colours
    Mesh target;
    target.name = "keep me";
    LogCapture log;
    EXPECT_FALSE(LoadMeshFile(path, target));
    EXPECT_EQ(target.name, "keep me");
    EXPECT_TRUE(log.Has("inFile.tellg() = -1\n"));
    EXPECT_TRUE(log.Has("malformed resource file " + path + ".bin"));
    EXPECT_TRUE(log.Has("unexpected end of file"));
}

TEST(BinaryHostile, CountsAndLengthsBeyondTheFileFail) {
    const std::string good = MeshFile(SmallMesh());
    for (int32_t count : {-1, 1000, 0x7FFFFFFF, int32_t(0x80000000)}) {
        std::string bytes = good;
        PutInt(bytes, VERTEX_COUNT, count);
        EXPECT_FALSE(ParseMesh(bytes)) << "vertex count " << count;
        bytes = good;
        PutInt(bytes, TRIANGLE_COUNT, count);
        EXPECT_FALSE(ParseMesh(bytes)) << "triangle count " << count;
        bytes = good;
        PutInt(bytes, INDEX_COUNT, count);
        EXPECT_FALSE(ParseMesh(bytes)) << "index count " << count;
        bytes = good;
        PutInt(bytes, 0, count);  // the leading name's length
        EXPECT_FALSE(ParseMesh(bytes)) << "name length " << count;
    }
    std::string skeleton = SkeletonFile(SmallSkeleton());
    PutInt(skeleton, 4 + 7 + 4, 1000000);  // bone count
    EXPECT_FALSE(ParseSkeleton(skeleton));
    skeleton = SkeletonFile(SmallSkeleton());
    PutInt(skeleton, 4 + 7 + 8 + 4 + 4 + 5, -3);  // bone 0's child count
    EXPECT_FALSE(ParseSkeleton(skeleton));
    std::string anim = AnimFile(SmallAnimSet());
    PutInt(anim, 4 + 7 + 4, 0x10000000);  // track count
    EXPECT_FALSE(ParseAnim(anim));
    anim = AnimFile(SmallAnimSet());
    PutInt(anim, 4 + 7 + 4 + 4 + 4, 1 << 30);  // the first track's key count
    EXPECT_FALSE(ParseAnim(anim));
}

TEST(BinaryHostile, MeshIndicesAndFlatArraysAreValidated) {
    auto fails = [](Mesh mesh) { return !ParseMesh(MeshFile(mesh)); };
    Mesh mesh = SmallMesh();
    mesh.triangles[0].verts[1] = 3;  // one past the vertex list
    EXPECT_TRUE(fails(mesh));
    mesh.triangles[0].verts[1] = unsigned(-1);
    EXPECT_TRUE(fails(mesh));

    mesh = SmallMesh();
    mesh.verts[0].boneIndex[2] = MAX_BONES;
    EXPECT_TRUE(fails(mesh));
    mesh.verts[0].boneIndex[2] = -1;
    EXPECT_TRUE(fails(mesh));
    mesh = SmallMesh();
    mesh.verts[1].numWeights = 5;
    EXPECT_TRUE(fails(mesh));

    mesh = SmallMesh();
    mesh.arrays.indices.data[2] = 3;  // three positions: indices 0..2
    EXPECT_TRUE(fails(mesh));
    mesh.arrays.indices.data[2] = -1;
    EXPECT_TRUE(fails(mesh));
    mesh = SmallMesh();
    mesh.arrays.positions.Resize(8);
    EXPECT_TRUE(fails(mesh));
    mesh = SmallMesh();
    mesh.arrays.normals.Resize(6);
    EXPECT_TRUE(fails(mesh));
    mesh = SmallMesh();
    mesh.arrays.texCoords.Resize(4);
    EXPECT_TRUE(fails(mesh));
    mesh = SmallMesh();
    mesh.arrays.boneIndices.data[4] = 40.0f;
    EXPECT_TRUE(fails(mesh));
    mesh.arrays.boneIndices.data[4] = std::nanf("");
    EXPECT_TRUE(fails(mesh));

    // Optional per-vertex arrays may be absent.
    mesh = SmallMesh();
    mesh.arrays.skinWeights.Resize(0);
    mesh.arrays.boneIndices.Resize(0);
    mesh.arrays.normals.Resize(0);
    EXPECT_FALSE(fails(mesh));
}

TEST(BinaryHostile, SkeletonHierarchyMustBeASmallTree) {
    auto fails = [](const Skeleton& s) { return !ParseSkeleton(SkeletonFile(s)); };
    Skeleton s = SmallSkeleton();
    s.rootBone = 3;
    EXPECT_TRUE(fails(s));
    s.rootBone = -1;
    EXPECT_TRUE(fails(s));
    s = SmallSkeleton();
    s.boneList[1].children = {0, 3};
    EXPECT_TRUE(fails(s));
    s.boneList[1].children = {0, -1};
    EXPECT_TRUE(fails(s));
    s = SmallSkeleton();
    s.boneList[2].children = {1};  // 1 -> 2 -> 1
    EXPECT_TRUE(fails(s));
    s = SmallSkeleton();
    s.boneList[0].children = {0};  // its own child
    EXPECT_TRUE(fails(s));
    s = SmallSkeleton();
    s.boneList[0].children = {2};  // bone 2 under two parents
    EXPECT_TRUE(fails(s));
    s = SmallSkeleton();
    s.boneList[1].children = {0};
    s.boneList[0].children.clear();
    s.boneList[2].children = {2};  // an unreachable bone in a loop of its own
    EXPECT_TRUE(fails(s));

    // Exactly 40 bones in a chain load; 41 do not.
    Skeleton chain;
    chain.rootBone = 0;
    chain.boneList.resize(MAX_BONES);
    for (int i = 0; i + 1 < MAX_BONES; ++i) chain.boneList[i].children = {i + 1};
    EXPECT_FALSE(fails(chain));
    chain.boneList.back().children = {MAX_BONES};
    chain.boneList.emplace_back();
    EXPECT_TRUE(fails(chain));

    EXPECT_FALSE(fails(Skeleton()));  // no bones: nothing to pose
}

TEST(BinaryHostile, AnimationLengthsAndTimesMustBeUsable) {
    auto fails = [](const AnimSet& set) { return !ParseAnim(AnimFile(set)); };
    AnimSet set = SmallAnimSet();
    set.animTrackList[1].length = -1.0;
    EXPECT_TRUE(fails(set));
    set.animTrackList[1].length = INFINITY;
    EXPECT_TRUE(fails(set));
    set = SmallAnimSet();
    set.animTrackList[0].keyFrames[1].time = NAN;
    EXPECT_TRUE(fails(set));
    set = SmallAnimSet();
    set.animTrackList[0].length = 0.0;  // playback leaves such a track still
    EXPECT_FALSE(fails(set));
}

TEST(BinaryHostile, TooLargeFilesAreRefusedBeforeReading) {
    std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "quell_binary_hostile";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "huge").string();
    {
        std::ofstream out(path + ".bin", std::ios::binary);
        out.seekp(std::streamoff(MAX_RESOURCE_FILE_BYTES));  // sparse: no disk used
        out.put('\0');
    }
    Mesh mesh;
    LogCapture log;
    EXPECT_FALSE(LoadMeshFile(path, mesh));
    EXPECT_TRUE(log.Has("too large"));
    std::filesystem::remove(path + ".bin");
}
