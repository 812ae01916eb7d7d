// Record readers of the binary resource files. Each checks its reads through
// the ByteReader and the values that later code indexes with.
#include <cmath>

#include "resource_manager/binary_files.h"

namespace {

// Smallest possible bone record: id, empty name, no children, two matrices.
const size_t kMinBoneRecordBytes = 4 + 4 + 4 + 64 + 64;
// Smallest possible track: its length and an empty key count.
const size_t kMinTrackRecordBytes = 8;

// Decodes n consecutive values from a record already taken from the reader.
const unsigned char* DecodeFloats(const unsigned char* p, float* out, int n) {
    for (int i = 0; i < n; ++i, p += 4) out[i] = DecodeFloat(p);
    return p;
}

const unsigned char* DecodeInts(const unsigned char* p, int32_t* out, int n) {
    for (int i = 0; i < n; ++i, p += 4) out[i] = DecodeInt(p);
    return p;
}

bool ReadFloats(ByteReader& in, float* out, size_t n) {
    const unsigned char* p = in.Take(4 * n);
    if (p) DecodeFloats(p, out, int(n));
    return p != nullptr;
}

bool ReadInts(ByteReader& in, int32_t* out, size_t n) {
    const unsigned char* p = in.Take(4 * n);
    if (p) DecodeInts(p, out, int(n));
    return p != nullptr;
}

bool ValidBoneNumber(float value) { return value >= 0.0f && value < float(MAX_BONES); }

// Every element of an optional per-vertex array: absent, or `per` values for
// each of the vertexCount vertices.
bool CheckPerVertex(ByteReader& in, unsigned count, unsigned vertexCount, unsigned per,
                    const char* what) {
    if (count == 0 || count == vertexCount * per) return true;
    return in.Fail(std::string(what) + " array of " + std::to_string(count) +
                   " floats does not match " + std::to_string(vertexCount) + " vertices");
}

bool CheckMeshArrays(ByteReader& in, const MeshArrays& a) {
    if (a.positions.count % 3 != 0) return in.Fail("position array not a multiple of 3");
    unsigned n = a.positions.count / 3;
    if (!CheckPerVertex(in, a.normals.count, n, 3, "normal") ||
        !CheckPerVertex(in, a.texCoords.count, n, 2, "texture coordinate") ||
        !CheckPerVertex(in, a.skinWeights.count, n, 4, "skin weight") ||
        !CheckPerVertex(in, a.boneIndices.count, n, 4, "bone index"))
        return false;
    for (unsigned i = 0; i < a.indices.count; ++i)
        if (a.indices.data[i] < 0 || unsigned(a.indices.data[i]) >= n)
            return in.Fail("flat index " + std::to_string(a.indices.data[i]) + " out of range");
    for (unsigned i = 0; i < a.boneIndices.count; ++i)
        if (!ValidBoneNumber(a.boneIndices.data[i]))
            return in.Fail("flat bone index out of range");
    return true;
}

bool CheckTriangles(ByteReader& in, const Mesh& mesh) {
    for (size_t t = 0; t < mesh.triangles.size(); ++t)
        for (unsigned index : mesh.triangles[t].verts)
            if (index >= mesh.verts.size())
                return in.Fail("triangle " + std::to_string(t) + " names vertex " +
                               std::to_string(int32_t(index)) + " of " +
                               std::to_string(mesh.verts.size()));
    return true;
}

// A count of records of at least recordBytes each, one per bone at most:
// "<count> <what>, more than 40<tail>" otherwise.
bool ReadCountOfBones(ByteReader& in, size_t recordBytes, const char* what, const char* tail, uint32_t& count) {
    if (!in.ReadCount(recordBytes, count)) return false;
    if (count <= uint32_t(MAX_BONES)) return true;
    return in.Fail(std::to_string(count) + " " + what + ", more than " + std::to_string(MAX_BONES) + tail);
}

// `count` records, read by `read` into `list` (resized first).
template <class T>
bool ReadRecords(ByteReader& in, uint32_t count, std::vector<T>& list, bool (*read)(ByteReader&, T&)) {
    list.resize(count);
    for (T& item : list)
        if (!read(in, item)) return false;
    return true;
}

// A count, then that many 4-byte values; `value` is left alone on failure.
template <class T>
bool ReadArray(ByteReader& in, ArrayBuffer<T>& value, bool (*readValues)(ByteReader&, T*, size_t)) {
    uint32_t count = 0;
    if (!in.ReadCount(4, count)) return false;
    ArrayBuffer<T> array;
    array.Resize(count);
    if (!readValues(in, array.data, count)) return false;
    value = std::move(array);
    return true;
}

}  // namespace

bool ReadVector(ByteReader& in, Vector& value) {
    float f[4];
    if (!ReadFloats(in, f, 4)) return false;
    value = Vector(f[0], f[1], f[2], f[3]);
    return true;
}

bool ReadQuaternion(ByteReader& in, Quaternion& value) {
    float s = 0.0f;
    Vector v;
    if (!in.ReadFloat(s) || !ReadVector(in, v)) return false;
    value = Quaternion(s, v);
    return true;
}

bool ReadMatrix(ByteReader& in, Matrix& value) {
    float f[16];
    if (!ReadFloats(in, f, 16)) return false;
    value = Matrix(f);
    return true;
}

bool ReadVertex(ByteReader& in, Vertex& value) {
    const unsigned char* p = in.Take(kVertexRecordBytes);
    if (!p) return false;
    Vertex vertex;
    p = DecodeFloats(p, vertex.v, 3) + 4;  // the fourth position float is discarded
    p = DecodeInts(p, vertex.boneIndex, 4);
    p = DecodeFloats(p, vertex.skinWeights, 4);
    vertex.numWeights = DecodeInt(p);
    for (int32_t bone : vertex.boneIndex)
        if (bone < 0 || bone >= MAX_BONES)
            return in.Fail("vertex bone index " + std::to_string(bone) + " out of range");
    if (vertex.numWeights < 0 || vertex.numWeights > 4)
        return in.Fail("vertex weight count " + std::to_string(vertex.numWeights));
    value = vertex;
    return true;
}

bool ReadTriangle(ByteReader& in, Triangle& value) {
    const unsigned char* p = in.Take(kTriangleRecordBytes);
    if (!p) return false;
    Triangle tri;
    for (unsigned& index : tri.verts) {
        index = DecodeWord(p);  // range checked against the mesh's vertices
        p += 4;
    }
    for (auto& n : tri.normal) p = DecodeFloats(p, n, 3);
    for (auto& c : tri.color) p = DecodeFloats(p, c, 3) + 4;  // alpha is discarded
    for (auto& t : tri.texCoord) p = DecodeFloats(p, t, 2);
    for (auto& t : tri.tangent) p = DecodeFloats(p, t, 3);
    for (auto& b : tri.binormal) p = DecodeFloats(p, b, 3);
    value = tri;
    return true;
}

bool ReadKeyFrame(ByteReader& in, KeyFrame& value) {
    KeyFrame key;
    float time = 0.0f;
    if (!in.ReadFloat(time) || !ReadQuaternion(in, key.rot) || !ReadVector(in, key.trans))
        return false;
    if (!std::isfinite(time)) return in.Fail("key frame time is not a number");
    key.time = time;
    value = key;
    return true;
}

bool ReadBone(ByteReader& in, Bone& value) {
    Bone bone;
    uint32_t childCount = 0;
    if (!in.ReadInt(bone.id) || !in.ReadString(bone.name) || !in.ReadCount(4, childCount))
        return false;
    bone.children.resize(childCount);
    if (!ReadInts(in, bone.children.data(), childCount)) return false;
    if (!ReadMatrix(in, bone.offsetMatrix) || !ReadMatrix(in, bone.auxMatrix)) return false;
    value = std::move(bone);
    return true;
}

bool ReadIntArray(ByteReader& in, ArrayBuffer<int>& value) { return ReadArray(in, value, ReadInts); }

bool ReadFloatArray(ByteReader& in, ArrayBuffer<float>& value) { return ReadArray(in, value, ReadFloats); }

bool ReadMeshArrays(ByteReader& in, MeshArrays& value) {
    MeshArrays a;
    if (!ReadIntArray(in, a.indices) || !ReadFloatArray(in, a.positions) ||
        !ReadFloatArray(in, a.normals) || !ReadFloatArray(in, a.texCoords) ||
        !ReadFloatArray(in, a.skinWeights) || !ReadFloatArray(in, a.boneIndices))
        return false;
    if (!CheckMeshArrays(in, a)) return false;
    value = std::move(a);
    return true;
}

bool ReadMesh(ByteReader& in, Mesh& value) {
    Mesh mesh;
    uint32_t count = 0;
    if (!in.ReadString(mesh.name) || !in.ReadBool(mesh.useTexture) ||
        !in.ReadBool(mesh.useColor) || !in.ReadBool(mesh.useMaterial) ||
        !in.ReadBool(mesh.useTangentSpace) || !ReadVector(in, mesh.ambientColor) ||
        !ReadVector(in, mesh.diffuseColor) || !ReadVector(in, mesh.specularColor) ||
        !in.ReadFloat(mesh.shininess) || !in.ReadCount(kVertexRecordBytes, count))
        return false;
    if (!ReadRecords(in, count, mesh.verts, ReadVertex) || !in.ReadCount(kTriangleRecordBytes, count) ||
        !ReadRecords(in, count, mesh.triangles, ReadTriangle))
        return false;
    if (!CheckTriangles(in, mesh) || !in.ReadBool(mesh.isIndexed) ||
        !ReadMeshArrays(in, mesh.arrays))
        return false;
    mesh.texID = 0xFFFFFFFFu;  // no texture until the context ties one
    value = std::move(mesh);
    return true;
}

bool ReadSkeleton(ByteReader& in, Skeleton& value) {
    Skeleton skeleton;
    int32_t root = 0;
    uint32_t count = 0;
    if (!in.ReadInt(root) || !ReadCountOfBones(in, kMinBoneRecordBytes, "bones", "", count)) return false;
    skeleton.rootBone = root;
    if (!ReadRecords(in, count, skeleton.boneList, ReadBone)) return false;
    std::string why = CheckBoneHierarchy(skeleton.boneList, skeleton.rootBone);
    if (!why.empty()) return in.Fail(why);
    value = std::move(skeleton);
    return true;
}

bool ReadAnimation(ByteReader& in, AnimTrack& value) {
    AnimTrack track;
    float length = 0.0f;
    uint32_t count = 0;
    if (!in.ReadFloat(length)) return false;
    // Playback wraps by repeated subtraction: a negative or infinite length
    // would never terminate.
    if (!std::isfinite(length) || length < 0.0f) return in.Fail("track length out of range");
    if (!in.ReadCount(kKeyframeRecordBytes, count)) return false;
    track.length = length;
    if (!ReadRecords(in, count, track.keyFrames, ReadKeyFrame)) return false;
    value = std::move(track);
    return true;
}

bool ReadAnimSet(ByteReader& in, AnimSet& value) {
    AnimSet set;
    uint32_t count = 0;
    // One track per bone: more can never be played, and an empty track takes
    // ten times its eight bytes on disk in memory.
    if (!ReadCountOfBones(in, kMinTrackRecordBytes, "tracks", " bones", count)) return false;
    if (!ReadRecords(in, count, set.animTrackList, ReadAnimation)) return false;
    value = std::move(set);
    return true;
}
