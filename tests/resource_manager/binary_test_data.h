// Small records, byte helpers and parsers shared by the binary-file tests.
#pragma once

#include <cstring>
#include <functional>
#include <sstream>
#include <string>

#include "resource_manager/binary_files.h"

namespace testdata {

inline std::string Bytes(const std::function<void(std::ostream&)>& write) {
    std::ostringstream out(std::ios::binary);
    write(out);
    return out.str();
}

inline int32_t IntAt(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + i]);
    return int32_t(value);
}

inline float FloatAt(const std::string& bytes, size_t at) {
    const int32_t bits = IntAt(bytes, at);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

inline void PutInt(std::string& bytes, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = char((uint32_t(value) >> (8 * i)) & 0xFF);
}

inline ByteReader ReaderOf(const std::string& bytes) {
    return ByteReader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// A skinned triangle with every field set to something recognisable.
inline Mesh SmallMesh() {
    Mesh mesh;
    mesh.name = "tri";
    mesh.useColor = false, mesh.useTangentSpace = true;
    mesh.ambientColor = Vector(0.1f, 0.2f, 0.3f, 0.4f), mesh.diffuseColor = Vector(0.5f, 0.6f, 0.7f, 0.8f);
    mesh.specularColor = Vector(0.9f, 1.0f, 1.1f, 1.2f), mesh.shininess = 17.0f;
    for (int i = 0; i < 3; ++i) {
        Vertex v(i * 1.0f, i + 0.5f, i * -1.0f);
        v.boneIndex[0] = i, v.boneIndex[3] = 39, v.skinWeights[0] = 0.75f, v.skinWeights[3] = 0.25f, v.numWeights = 2;
        mesh.verts.push_back(v);
    }
    Triangle tri(2, 0, 1);
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 3; ++k) {
            tri.normal[c][k] = 1.0f + c + k * 0.1f, tri.color[c][k] = 2.0f + c + k * 0.1f;
            tri.tangent[c][k] = 3.0f + c + k * 0.1f, tri.binormal[c][k] = 4.0f + c + k * 0.1f;
            if (k < 2) tri.texCoord[c][k] = 5.0f + c + k * 0.1f;
        }
    mesh.triangles.push_back(tri);
    const int indices[3] = {0, 1, 2};
    const float positions[9] = {0, 0.5f, 0, 1, 1.5f, -1, 2, 2.5f, -2}, texCoords[6] = {0, 0, 1, 0, 0, 1};
    const float weights[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, bones[12] = {0, 0, 0, 0, 1, 0, 0, 0, 39};
    mesh.arrays.indices.Assign(indices, 3);
    mesh.arrays.positions.Assign(positions, 9), mesh.arrays.normals.Assign(positions, 9);
    mesh.arrays.texCoords.Assign(texCoords, 6);
    mesh.arrays.skinWeights.Assign(weights, 12), mesh.arrays.boneIndices.Assign(bones, 12);
    return mesh;
}

// Three bones; bone 1 is the root with children 0 and 2.
inline Skeleton SmallSkeleton() {
    Skeleton skeleton;
    skeleton.rootBone = 1;
    for (int i = 0; i < 3; ++i) {
        Bone bone;
        bone.id = 10 + i;
        bone.name = "bone" + std::to_string(i);
        bone.offsetMatrix.TranslateMat(float(i), 2.0f, 3.0f);
        bone.auxMatrix.m[1][2] = float(i) + 0.5f;
        skeleton.boneList.push_back(bone);
    }
    skeleton.boneList[1].children = {0, 2};
    return skeleton;
}

inline AnimSet SmallAnimSet() {
    AnimSet set;
    set.animTrackList.resize(2);
    for (int t = 0; t < 2; ++t) {
        set.animTrackList[t].length = 1.5 + t;
        for (int k = 0; k < 2; ++k) {
            KeyFrame key;
            key.time = 0.25 * (k + 1);
            key.rot = Quaternion(0.5f + k, Vector(1, 2, 3, 4));
            key.trans = Vector(5, 6, 7, float(t));
            set.animTrackList[t].keyFrames.push_back(key);
        }
    }
    return set;
}

// Complete files as the loaders see them: a leading name, then the record.
inline std::string MeshFile(const Mesh& mesh) {
    return Bytes([&](std::ostream& out) { WriteString(out, "leading"), WriteMesh(out, mesh); });
}
inline std::string SkeletonFile(const Skeleton& skeleton) {
    return Bytes([&](std::ostream& out) { WriteString(out, "leading"), WriteSkeleton(out, skeleton); });
}
inline std::string AnimFile(const AnimSet& set, int32_t leading = 1) {
    return Bytes([&](std::ostream& out) { WriteString(out, "leading"), WriteInt(out, leading), WriteAnimSet(out, set); });
}

// The readers as the loaders drive them, over bytes in memory (an animation file has a count after its name).
template <class T>
bool Parse(const std::string& bytes, T& value, bool (*read)(ByteReader&, T&), bool counted = false) {
    ByteReader in = ReaderOf(bytes);
    std::string name;
    int32_t leading = 0;
    return in.ReadString(name) && (!counted || in.ReadInt(leading)) && read(in, value);
}
inline bool ParseMesh(const std::string& bytes, Mesh& mesh) { return Parse(bytes, mesh, ReadMesh); }
inline bool ParseSkeleton(const std::string& bytes, Skeleton& skeleton) { return Parse(bytes, skeleton, ReadSkeleton); }
inline bool ParseAnim(const std::string& bytes, AnimSet& set) { return Parse(bytes, set, ReadAnimSet, true); }
inline bool MeshParses(const std::string& bytes) { Mesh m; return ParseMesh(bytes, m); }
inline bool SkeletonParses(const std::string& bytes) { Skeleton s; return ParseSkeleton(bytes, s); }
inline bool AnimParses(const std::string& bytes) { AnimSet a; return ParseAnim(bytes, a); }

}  // namespace testdata
