// Layout and round trips of the binary resource files, and the loaders'
// handling of names, paths and messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "resource_manager/binary_test_data.h"
#include "support/log_capture.h"

using test_support::LogCapture;

using namespace testdata;

namespace {

std::string TempPath(const std::string& name) {
    std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "quell_binary_files";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

void WriteRaw(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(BinaryPrimitives, IntsFloatsAndStringsAreLittleEndianAndChecked) {
    std::string bytes = Bytes([](std::ostream& out) {
        WriteInt(out, -2);
        WriteFloat(out, 1.0f);
        WriteString(out, "abc");
        WriteBool(out, true);
    });
    ASSERT_EQ(bytes.size(), 4u + 4u + 7u + 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(bytes.substr(4, 4), std::string("\x00\x00\x80\x3F", 4));
    EXPECT_EQ(bytes.substr(8, 7), std::string("\x03\x00\x00\x00" "abc", 7));

    ByteReader in = ReaderOf(bytes);
    int32_t i = 0;
    float f = 0;
    std::string s;
    bool b = false;
    ASSERT_TRUE(in.ReadInt(i) && in.ReadFloat(f) && in.ReadString(s) && in.ReadBool(b));
    EXPECT_EQ(i, -2);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(s, "abc");
    EXPECT_TRUE(b);
    EXPECT_FALSE(in.ReadInt(i));
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(i, -2);  // a failed read leaves the output alone

    // Stream forms, as the score file uses them.
    std::istringstream stream(bytes);
    ASSERT_TRUE(ReadInt(stream, i) && ReadFloat(stream, f));
    EXPECT_FALSE(ReadString(stream, s, 2));  // longer than allowed
    std::istringstream again(bytes.substr(8));
    EXPECT_TRUE(ReadString(again, s, 3));
    std::string negative = Bytes([](std::ostream& out) { WriteInt(out, -5); });
    std::istringstream bad(negative);
    EXPECT_FALSE(ReadString(bad, s, 100));
}

TEST(BinaryRecords, VertexRecordLayoutAndRoundTrip) {
    Vertex v = SmallMesh().verts[2];
    std::string bytes = Bytes([&](std::ostream& out) { WriteVertex(out, v); });
    ASSERT_EQ(bytes.size(), VERTEX_RECORD_BYTES);
    EXPECT_EQ(FloatAt(bytes, 0), 2.0f);
    EXPECT_EQ(FloatAt(bytes, 4), 2.5f);
    EXPECT_EQ(FloatAt(bytes, 8), -2.0f);
    EXPECT_EQ(IntAt(bytes, 16), 2);
    EXPECT_EQ(IntAt(bytes, 28), 39);
    EXPECT_EQ(FloatAt(bytes, 32), 0.75f);
    EXPECT_EQ(FloatAt(bytes, 44), 0.25f);
    EXPECT_EQ(IntAt(bytes, 48), 2);

    PutFloat(bytes, 12, 1234.0f);  // the fourth position float is discarded
    ByteReader in = ReaderOf(bytes);
    Vertex back;
    ASSERT_TRUE(ReadVertex(in, back));
    EXPECT_EQ(in.BytesLeft(), 0u);
    EXPECT_TRUE(back == v);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(back.boneIndex[k], v.boneIndex[k]);
        EXPECT_EQ(back.skinWeights[k], v.skinWeights[k]);
    }
    EXPECT_EQ(back.numWeights, 2);
}

TEST(BinaryRecords, TriangleRecordLayoutAndRoundTrip) {
    Triangle tri = SmallMesh().triangles[0];
    std::string bytes = Bytes([&](std::ostream& out) { WriteTriangle(out, tri); });
    ASSERT_EQ(bytes.size(), TRIANGLE_RECORD_BYTES);
    EXPECT_EQ(IntAt(bytes, 0), 2);
    EXPECT_EQ(IntAt(bytes, 8), 1);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(FloatAt(bytes, 12 + 12 * c + 4), tri.normal[c][1]);
        EXPECT_EQ(FloatAt(bytes, 48 + 16 * c + 8), tri.color[c][2]);
        EXPECT_EQ(FloatAt(bytes, 96 + 8 * c + 4), tri.texCoord[c][1]);
        EXPECT_EQ(FloatAt(bytes, 120 + 12 * c), tri.tangent[c][0]);
        EXPECT_EQ(FloatAt(bytes, 156 + 12 * c + 8), tri.binormal[c][2]);
        PutFloat(bytes, 48 + 16 * c + 12, -77.0f);  // alpha: read and dropped
    }
    ByteReader in = ReaderOf(bytes);
    Triangle back;
    ASSERT_TRUE(ReadTriangle(in, back));
    EXPECT_TRUE(back == tri);
    EXPECT_EQ(std::memcmp(back.normal, tri.normal, sizeof tri.normal), 0);
    EXPECT_EQ(std::memcmp(back.color, tri.color, sizeof tri.color), 0);
    EXPECT_EQ(std::memcmp(back.texCoord, tri.texCoord, sizeof tri.texCoord), 0);
    EXPECT_EQ(std::memcmp(back.tangent, tri.tangent, sizeof tri.tangent), 0);
    EXPECT_EQ(std::memcmp(back.binormal, tri.binormal, sizeof tri.binormal), 0);
}

TEST(BinaryRecords, KeyFrameAndBoneRecords) {
    KeyFrame key = SmallAnimSet().animTrackList[0].keyFrames[0];
    std::string bytes = Bytes([&](std::ostream& out) { WriteKeyFrame(out, key); });
    ASSERT_EQ(bytes.size(), KEYFRAME_RECORD_BYTES);
    EXPECT_EQ(FloatAt(bytes, 0), 0.25f);
    EXPECT_EQ(FloatAt(bytes, 4), 0.5f);   // s first
    EXPECT_EQ(FloatAt(bytes, 20), 4.0f);  // then v.x .. v.w
    EXPECT_EQ(FloatAt(bytes, 24), 5.0f);
    ByteReader in = ReaderOf(bytes);
    KeyFrame back;
    ASSERT_TRUE(ReadKeyFrame(in, back));
    EXPECT_EQ(back.time, 0.25);
    EXPECT_EQ(back.rot.s, 0.5f);
    EXPECT_EQ(back.rot.v.w, 4.0f);
    EXPECT_EQ(back.trans.z, 7.0f);

    Bone bone = SmallSkeleton().boneList[1];
    bytes = Bytes([&](std::ostream& out) { WriteBone(out, bone); });
    ASSERT_EQ(bytes.size(), 4u + 4u + 5u + 4u + 8u + 128u);
    EXPECT_EQ(IntAt(bytes, 0), 11);
    EXPECT_EQ(bytes.substr(8, 5), "bone1");
    EXPECT_EQ(IntAt(bytes, 13), 2);
    EXPECT_EQ(IntAt(bytes, 21), 2);
    EXPECT_EQ(FloatAt(bytes, 25 + 4 * 12), 1.0f);  // column-major: translation x at element 12
    in = ReaderOf(bytes);
    Bone read;
    ASSERT_TRUE(ReadBone(in, read));
    EXPECT_EQ(read.id, 11);
    EXPECT_EQ(read.name, "bone1");
    EXPECT_EQ(read.children, (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(std::memcmp(read.offsetMatrix.m, bone.offsetMatrix.m, 64), 0);
    EXPECT_EQ(read.auxMatrix.m[1][2], 1.5f);
}

TEST(BinaryFiles, MeshFileHeaderOffsetsAndRoundTrip) {
    Mesh mesh = SmallMesh();
    std::string bytes = MeshFile(mesh);
    const size_t body = 4 + 7 + 4 + 3;  // the two strings
    EXPECT_EQ(IntAt(bytes, body + 4), 0);  // useColor
    EXPECT_EQ(IntAt(bytes, body + 12), 1);  // useTangentSpace
    EXPECT_EQ(FloatAt(bytes, body + 16), 0.1f);
    EXPECT_EQ(FloatAt(bytes, body + 60), 1.2f);
    EXPECT_EQ(FloatAt(bytes, body + 64), 17.0f);
    EXPECT_EQ(IntAt(bytes, body + 68), 3);
    size_t afterTriangles = body + 72 + 3 * VERTEX_RECORD_BYTES + 4 + TRIANGLE_RECORD_BYTES;
    PutInt(bytes, afterTriangles, 5);  // any non-zero isIndexed is true

    const std::string path = TempPath("small_mesh");
    WriteRaw(path + ".bin", bytes);
    Mesh back;
    back.name = "stale";
    LogCapture log;
    ASSERT_TRUE(LoadMeshFile(path, back));
    EXPECT_TRUE(log.Has("meshName = leading\n"));
    EXPECT_TRUE(log.Has("inFile.tellg() = " + std::to_string(bytes.size()) + "\n"));
    EXPECT_EQ(back.name, "tri");
    EXPECT_FALSE(back.useColor);
    EXPECT_TRUE(back.useTangentSpace);
    EXPECT_EQ(back.diffuseColor.w, 0.8f);
    EXPECT_EQ(back.texID, 0xFFFFFFFFu);
    EXPECT_TRUE(back.isIndexed);
    ASSERT_EQ(back.verts.size(), 3u);
    EXPECT_EQ(back.verts[1].v[1], 1.5f);
    ASSERT_EQ(back.triangles.size(), 1u);
    EXPECT_EQ(back.triangles[0].verts[0], 2u);
    EXPECT_EQ(back.arrays.indices.count, 3u);
    EXPECT_EQ(back.arrays.texCoords.data[5], 1.0f);
    EXPECT_EQ(back.arrays.boneIndices.data[8], 39.0f);
    EXPECT_EQ(back.arrays.skinWeights.count, 12u);
}

TEST(BinaryFiles, EmptyMeshLoadsWithItsNameAndMaterial) {
    Mesh empty;
    empty.name = "nothing";
    empty.shininess = 3.0f;
    const std::string path = TempPath("empty_mesh");
    ASSERT_TRUE(SaveMeshFile(path, empty));
    Mesh back;
    ASSERT_TRUE(LoadMeshFile(path, back));
    EXPECT_EQ(back.name, "nothing");
    EXPECT_EQ(back.shininess, 3.0f);
    EXPECT_TRUE(back.verts.empty() && back.triangles.empty());
    EXPECT_EQ(back.arrays.positions.count, 0u);
    EXPECT_EQ(back.texID, 0xFFFFFFFFu);
}

TEST(BinaryFiles, SkeletonRoundTripIsNamedByItsPath) {
    const std::string path = TempPath("small_skeleton");
    Skeleton skeleton = SmallSkeleton();
    skeleton.name = "inside";
    ASSERT_TRUE(SaveSkeletonFile(skeleton, path));
    Skeleton back;
    LogCapture log;
    ASSERT_TRUE(LoadSkeletonFile(back, path));
    EXPECT_TRUE(log.Has("skelName = inside\n"));
    EXPECT_EQ(back.name, path);
    EXPECT_EQ(back.rootBone, 1);
    ASSERT_EQ(back.boneList.size(), 3u);
    EXPECT_EQ(back.boneList[0].name, "bone0");
    EXPECT_EQ(back.boneList[1].children, (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(back.boneList[2].offsetMatrix.m[3][0], 2.0f);
    EXPECT_EQ(back.curAnimation, -1);  // playback state keeps its defaults
}

TEST(BinaryFiles, AnimationRoundTripAndLeadingNumber) {
    AnimSet set = SmallAnimSet();
    const std::string path = TempPath("small_anim");
    for (int32_t leading : {1, 7}) {
        WriteRaw(path + ".anm", AnimFile(set, leading));
        AnimSet back;
        ASSERT_TRUE(LoadAnimFile(back, path)) << leading;
        EXPECT_EQ(back.name, path);
        ASSERT_EQ(back.animTrackList.size(), 2u);
        const AnimTrack& track = back.animTrackList[1];
        EXPECT_EQ(track.length, 2.5);
        EXPECT_TRUE(track.loop);
        EXPECT_EQ(track.time, 0.0);
        ASSERT_EQ(track.keyFrames.size(), 2u);
        EXPECT_EQ(track.keyFrames[1].time, 0.5);
        EXPECT_EQ(track.keyFrames[1].rot.s, 1.5f);
        EXPECT_EQ(track.keyFrames[1].trans.w, 1.0f);
    }
    for (int32_t leading : {0, -1}) {
        WriteRaw(path + ".anm", AnimFile(set, leading));
        AnimSet back;
        back.name = "untouched";
        LogCapture log;
        EXPECT_FALSE(LoadAnimFile(back, path)) << leading;
        EXPECT_EQ(back.name, "untouched");
        EXPECT_FALSE(log.Has("ERROR"));
    }
}

TEST(BinaryFiles, MissingFilesAreReportedOnStandardOutput) {
    Mesh mesh;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadMeshFile("resource/x", mesh));
    Skeleton skeleton;
    EXPECT_FALSE(LoadSkeletonFile(skeleton, "resource/x"));
    AnimSet set;
    EXPECT_FALSE(LoadAnimFile(set, "resource/x"));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Error opening resource/x.bin\n"), std::string::npos);
    EXPECT_NE(out.find("Error opening resource/x.skl\n"), std::string::npos);
    EXPECT_NE(out.find("Error opening resource/x.anm\n"), std::string::npos);
}
