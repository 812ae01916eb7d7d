// The binary resource files: layouts and round trips (a record read back and
// written again must give the very same bytes: with the offsets pinned, that
// checks every field), the loaders' names and messages, and malformed files
// (truncations, hostile counts, bad indices and hierarchies, and a bounded
// random-mutation fuzz), which must fail cleanly: no crash, hang or
// unbounded allocation.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include "resource_manager/binary_test_data.h"
#include "support/log_capture.h"
#include "support/mutation.h"

using test_support::LogCapture;
using test_support::Mutate;
using namespace testdata;

namespace {

std::string TempPath(const std::string& name) {
    std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "quell_binary_files";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

// Reads `bytes` whole and writes the result again.
template <class T>
std::string Reread(const std::string& bytes, bool (*read)(ByteReader&, T&), void (*write)(std::ostream&, const T&)) {
    ByteReader in = ReaderOf(bytes);
    T value{};
    EXPECT_TRUE(read(in, value) && in.BytesLeft() == 0u);
    return Bytes([&](std::ostream& out) { write(out, value); });
}

}  // namespace

TEST(BinaryPrimitives, IntsFloatsAndStringsAreLittleEndianAndChecked) {
    const std::string bytes = Bytes([](std::ostream& out) {
        WriteInt(out, -2), WriteFloat(out, 1.0f), WriteString(out, "abc"), WriteBool(out, true);
    });
    EXPECT_EQ(bytes, std::string("\xFE\xFF\xFF\xFF\x00\x00\x80\x3F\x03\x00\x00\x00" "abc\x01\x00\x00\x00", 19));
    ByteReader in = ReaderOf(bytes);
    int32_t i = 0;
    float f = 0;
    std::string s;
    bool b = false;
    ASSERT_TRUE(in.ReadInt(i) && in.ReadFloat(f) && in.ReadString(s) && in.ReadBool(b));
    EXPECT_TRUE(i == -2 && f == 1.0f && s == "abc" && b && !in.ReadInt(i) && in.Failed());
    EXPECT_EQ(i, -2);  // a failed read leaves the output alone

    std::istringstream stream(bytes);  // stream forms, as the score file uses them
    ASSERT_TRUE(ReadInt(stream, i) && ReadFloat(stream, f));
    EXPECT_FALSE(ReadString(stream, s, 2));  // longer than allowed
    std::istringstream again(bytes.substr(8)), negative(Bytes([](std::ostream& out) { WriteInt(out, -5); }));
    EXPECT_TRUE(ReadString(again, s, 3) && !ReadString(negative, s, 100));
}

TEST(BinaryRecords, FieldsSitAtTheirOffsetsAndReadBackByteForByte) {
    const std::string vertex = Bytes([](std::ostream& out) { WriteVertex(out, SmallMesh().verts[2]); });
    ASSERT_EQ(vertex.size(), kVertexRecordBytes);
    EXPECT_TRUE(FloatAt(vertex, 4) == 2.5f && IntAt(vertex, 16) == 2 && IntAt(vertex, 28) == 39);
    EXPECT_TRUE(FloatAt(vertex, 44) == 0.25f && IntAt(vertex, 48) == 2);
    std::string altered = vertex;
    PutInt(altered, 12, 0x449A4000);  // the fourth position float is discarded
    EXPECT_EQ(Reread(altered, ReadVertex, WriteVertex), vertex);

    const Triangle tri = SmallMesh().triangles[0];
    const std::string triangle = Bytes([&](std::ostream& out) { WriteTriangle(out, tri); });
    ASSERT_EQ(triangle.size(), kTriangleRecordBytes);
    EXPECT_TRUE(IntAt(triangle, 0) == 2 && IntAt(triangle, 8) == 1);
    altered = triangle;
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(FloatAt(triangle, 12 + 12 * c + 4), tri.normal[c][1]);
        EXPECT_EQ(FloatAt(triangle, 48 + 16 * c + 8), tri.color[c][2]);
        EXPECT_EQ(FloatAt(triangle, 96 + 8 * c + 4), tri.texCoord[c][1]);
        EXPECT_EQ(FloatAt(triangle, 120 + 12 * c), tri.tangent[c][0]);
        EXPECT_EQ(FloatAt(triangle, 156 + 12 * c + 8), tri.binormal[c][2]);
        PutInt(altered, 48 + 16 * c + 12, -77);  // alpha: read and dropped
    }
    EXPECT_EQ(Reread(altered, ReadTriangle, WriteTriangle), triangle);

    const std::string key = Bytes([](std::ostream& out) { WriteKeyFrame(out, SmallAnimSet().animTrackList[0].keyFrames[0]); });
    ASSERT_EQ(key.size(), kKeyframeRecordBytes);
    EXPECT_TRUE(FloatAt(key, 0) == 0.25f && FloatAt(key, 4) == 0.5f);  // time, then s
    EXPECT_TRUE(FloatAt(key, 20) == 4.0f && FloatAt(key, 24) == 5.0f);  // v.w, then the translation

    const std::string bone = Bytes([](std::ostream& out) { WriteBone(out, SmallSkeleton().boneList[1]); });
    ASSERT_EQ(bone.size(), 4u + 4u + 5u + 4u + 8u + 128u);
    EXPECT_TRUE(IntAt(bone, 0) == 11 && bone.substr(8, 5) == "bone1" && IntAt(bone, 13) == 2 && IntAt(bone, 21) == 2);
    EXPECT_EQ(FloatAt(bone, 25 + 4 * 12), 1.0f);  // column-major: translation x at element 12

    std::string mesh = MeshFile(SmallMesh());
    const size_t body = 4 + 7 + 4 + 3;  // the two strings
    EXPECT_TRUE(IntAt(mesh, body + 4) == 0 && IntAt(mesh, body + 12) == 1);  // useColor, useTangentSpace
    EXPECT_TRUE(FloatAt(mesh, body + 16) == 0.1f && FloatAt(mesh, body + 60) == 1.2f);
    EXPECT_TRUE(FloatAt(mesh, body + 64) == 17.0f && IntAt(mesh, body + 68) == 3);
    // Whole records (keyframes and bones inside) read back byte for byte.
    EXPECT_EQ(Reread(mesh.substr(11), ReadMesh, WriteMesh), mesh.substr(11));
    const std::string skeleton = SkeletonFile(SmallSkeleton()), anim = AnimFile(SmallAnimSet());
    EXPECT_EQ(Reread(skeleton.substr(11), ReadSkeleton, WriteSkeleton), skeleton.substr(11));
    EXPECT_EQ(Reread(anim.substr(15), ReadAnimSet, WriteAnimSet), anim.substr(15));
}

TEST(BinaryFiles, LoadersReadWholeFilesAndNameThemByTheirPaths) {
    std::string bytes = MeshFile(SmallMesh());
    PutInt(bytes, 18 + 72 + 3 * kVertexRecordBytes + 4 + kTriangleRecordBytes, 5);  // isIndexed: any non-zero
    const std::string path = TempPath("small_mesh");
    std::ofstream(path + ".bin", std::ios::binary) << bytes;
    Mesh mesh;
    LogCapture log;
    ASSERT_TRUE(LoadMeshFile(path, mesh));
    EXPECT_TRUE(log.Has("meshName = leading\n") && log.Has("inFile.tellg() = " + std::to_string(bytes.size()) + "\n"));
    EXPECT_TRUE(mesh.name == "tri" && mesh.isIndexed && mesh.texID == 0xFFFFFFFFu && mesh.arrays.boneIndices.data[8] == 39.0f);
    Mesh empty;
    empty.name = "nothing";
    ASSERT_TRUE(SaveMeshFile(TempPath("empty_mesh"), empty));
    ASSERT_TRUE(LoadMeshFile(TempPath("empty_mesh"), mesh));
    EXPECT_TRUE(mesh.name == "nothing" && mesh.verts.empty() && mesh.arrays.positions.count == 0u);

    Skeleton skeleton = SmallSkeleton();
    skeleton.name = "inside";
    ASSERT_TRUE(SaveSkeletonFile(skeleton, TempPath("skeleton")));
    Skeleton skel;
    ASSERT_TRUE(LoadSkeletonFile(skel, TempPath("skeleton")));
    EXPECT_TRUE(log.Has("skelName = inside\n") && skel.name == TempPath("skeleton") && skel.rootBone == 1 &&
                skel.boneList.size() == 3u);

    for (int32_t leading : {1, 7, 0, -1}) {
        std::ofstream(TempPath("anim.anm"), std::ios::binary) << AnimFile(SmallAnimSet(), leading);
        AnimSet set;
        set.name = "untouched";
        log.Restart();
        EXPECT_EQ(LoadAnimFile(set, TempPath("anim")), leading > 0) << leading;
        EXPECT_TRUE(set.name == (leading > 0 ? TempPath("anim") : "untouched") &&
                    set.animTrackList.size() == (leading > 0 ? 2u : 0u)) << leading;
        EXPECT_FALSE(log.Has("ERROR"));  // no animation is no error
    }

    testing::internal::CaptureStdout();
    AnimSet set;
    EXPECT_TRUE(!LoadMeshFile("resource/x", mesh) && !LoadSkeletonFile(skel, "resource/x") && !LoadAnimFile(set, "resource/x"));
    const std::string out = testing::internal::GetCapturedStdout();
    for (const char* ext : {".bin", ".skl", ".anm"})
        EXPECT_NE(out.find(std::string("Error opening resource/x") + ext + "\n"), std::string::npos) << ext;
}

TEST(BinaryHostile, EveryTruncationAndEveryHostileCountFails) {
    const std::string files[3] = {MeshFile(SmallMesh()), SkeletonFile(SmallSkeleton()), AnimFile(SmallAnimSet())};
    bool (*const parsers[3])(const std::string&) = {MeshParses, SkeletonParses, AnimParses};
    for (int f = 0; f < 3; ++f) {
        ASSERT_TRUE(parsers[f](files[f])) << "the whole file " << f << " must load";
        for (size_t cut = 0; cut < files[f].size(); ++cut)
            EXPECT_FALSE(parsers[f](files[f].substr(0, cut))) << "file " << f << " cut at " << cut;
    }
    const size_t vertexCount = 4 + 7 + 4 + 3 + 68, triangleCount = vertexCount + 4 + 3 * kVertexRecordBytes;
    const struct { int f; size_t at; } counts[] = {
        {0, 0}, {0, vertexCount}, {0, triangleCount}, {0, triangleCount + 8 + kTriangleRecordBytes},  // name, counts
        {1, 15}, {1, 15 + 4 + 4 + 4 + 5}, {2, 15}, {2, 15 + 4 + 4},  // bones, bone 0's children, tracks, keys
    };
    for (const auto& c : counts)
        for (int32_t value : {-1, 1000, 1 << 30, 0x7FFFFFFF, int32_t(0x80000000)}) {
            std::string bytes = files[c.f];
            PutInt(bytes, c.at, value);
            EXPECT_FALSE(parsers[c.f](bytes)) << "file " << c.f << ": " << value << " at " << c.at;
        }

    const std::string path = TempPath("cut");  // through the loader: the target stays as it was
    std::ofstream(path + ".bin", std::ios::binary) << files[0].substr(0, 40);
    Mesh target;
    target.name = "keep me";
    LogCapture log;
    EXPECT_TRUE(!LoadMeshFile(path, target) && target.name == "keep me");
    EXPECT_TRUE(log.Has("inFile.tellg() = -1\n") && log.Has("unexpected end of file") &&
                log.Has("malformed resource file " + path + ".bin"));
    {
        std::ofstream out(TempPath("huge.bin"), std::ios::binary);
        out.seekp(std::streamoff(kMaxResourceFileBytes));  // sparse: no disk used
        out.put('\0');
    }
    EXPECT_TRUE(!LoadMeshFile(TempPath("huge"), target) && log.Has("too large"));
    std::filesystem::remove(TempPath("huge.bin"));
}

TEST(BinaryHostile, MeshSkeletonAndAnimationContentsAreValidated) {
    const std::function<void(Mesh&)> badMeshes[] = {
        [](Mesh& m) { m.triangles[0].verts[1] = 3; },  // one past the vertex list
        [](Mesh& m) { m.triangles[0].verts[1] = unsigned(-1); },
        [](Mesh& m) { m.verts[0].boneIndex[2] = MAX_BONES; },
        [](Mesh& m) { m.verts[0].boneIndex[2] = -1; },
        [](Mesh& m) { m.verts[1].numWeights = 5; },
        [](Mesh& m) { m.arrays.indices.data[2] = 3; },  // three positions: indices 0..2
        [](Mesh& m) { m.arrays.indices.data[2] = -1; },
        [](Mesh& m) { m.arrays.positions.Resize(8); },
        [](Mesh& m) { m.arrays.normals.Resize(6); },
        [](Mesh& m) { m.arrays.texCoords.Resize(4); },
        [](Mesh& m) { m.arrays.boneIndices.data[4] = 40.0f; },
        [](Mesh& m) { m.arrays.boneIndices.data[4] = std::nanf(""); },
    };
    for (size_t i = 0; i < std::size(badMeshes); ++i) {
        Mesh mesh = SmallMesh();
        badMeshes[i](mesh);
        EXPECT_FALSE(MeshParses(MeshFile(mesh))) << "mesh edit " << i;
    }
    Mesh optional = SmallMesh();  // optional per-vertex arrays may be absent
    optional.arrays.skinWeights.Resize(0), optional.arrays.boneIndices.Resize(0), optional.arrays.normals.Resize(0);
    EXPECT_TRUE(MeshParses(MeshFile(optional)));

    const std::function<void(Skeleton&)> badSkeletons[] = {
        [](Skeleton& s) { s.rootBone = 3; },
        [](Skeleton& s) { s.rootBone = -1; },
        [](Skeleton& s) { s.boneList[1].children = {0, 3}; },
        [](Skeleton& s) { s.boneList[1].children = {0, -1}; },
        [](Skeleton& s) { s.boneList[2].children = {1}; },  // 1 -> 2 -> 1
        [](Skeleton& s) { s.boneList[0].children = {0}; },  // its own child
        [](Skeleton& s) { s.boneList[0].children = {2}; },  // bone 2 under two parents
        [](Skeleton& s) { s.boneList[1].children = {0}, s.boneList[2].children = {2}; },  // unreachable, looped
    };
    for (size_t i = 0; i < std::size(badSkeletons); ++i) {
        Skeleton s = SmallSkeleton();
        badSkeletons[i](s);
        EXPECT_FALSE(SkeletonParses(SkeletonFile(s))) << "skeleton edit " << i;
    }
    Skeleton chain;  // exactly 40 bones in a chain load; 41 do not
    chain.rootBone = 0, chain.boneList.resize(MAX_BONES);
    for (int i = 0; i + 1 < MAX_BONES; ++i) chain.boneList[i].children = {i + 1};
    EXPECT_TRUE(SkeletonParses(SkeletonFile(chain)));
    chain.boneList.back().children = {MAX_BONES}, chain.boneList.emplace_back();
    EXPECT_FALSE(SkeletonParses(SkeletonFile(chain)));
    EXPECT_TRUE(SkeletonParses(SkeletonFile(Skeleton())));  // no bones: nothing to pose

    for (double length : {-1.0, double(INFINITY), 0.0}) {  // a zero length is a still track
        AnimSet set = SmallAnimSet();
        set.animTrackList[1].length = length;
        EXPECT_EQ(AnimParses(AnimFile(set)), length == 0.0) << length;
    }
    AnimSet set = SmallAnimSet();
    set.animTrackList[0].keyFrames[1].time = NAN;
    EXPECT_FALSE(AnimParses(AnimFile(set)));
    AnimSet tracks;  // one track per bone at most: 40 load, 41 do not
    tracks.animTrackList.resize(MAX_BONES);
    EXPECT_TRUE(AnimParses(AnimFile(tracks)));
    tracks.animTrackList.emplace_back();
    EXPECT_FALSE(AnimParses(AnimFile(tracks)));
}

// A fixed seed and case count: every run tests the same inputs, in bounded time.
TEST(BinaryFuzz, TheThreeReadersSurviveMutationsAndAcceptOnlyValidData) {
    const int cases = 20000;
    std::mt19937 rng(1);
    int accepted[3] = {};
    const std::string seeds[3] = {MeshFile(SmallMesh()), SkeletonFile(SmallSkeleton()), AnimFile(SmallAnimSet())};
    for (int i = 0; i < cases; ++i) {
        Mesh mesh;
        Skeleton skeleton;
        AnimSet set;
        const bool meshOk = ParseMesh(Mutate(seeds[0], rng), mesh);
        for (const Triangle& t : mesh.triangles)
            for (unsigned v : t.verts) EXPECT_TRUE(!meshOk || v < mesh.verts.size());
        const bool skeletonOk = ParseSkeleton(Mutate(seeds[1], rng), skeleton);
        EXPECT_TRUE(!skeletonOk || CheckBoneHierarchy(skeleton.boneList, skeleton.rootBone).empty());
        const bool animOk = ParseAnim(Mutate(seeds[2], rng), set);
        for (const AnimTrack& track : set.animTrackList) EXPECT_TRUE(!animOk || track.length >= 0.0);
        accepted[0] += meshOk, accepted[1] += skeletonOk, accepted[2] += animOk;
    }
    for (int n : accepted) EXPECT_TRUE(n > 0 && n < cases) << n;  // some stay valid (a flipped float), most not
}
