// Record writers of the binary resource files, field by field in the order
// the readers expect. Values the readers discard are written as 1 (the
// position's w and each corner colour's alpha).
#include "resource_manager/binary_files.h"

namespace {

void WriteFloats(std::ostream& out, const float* values, int n) {
    for (int i = 0; i < n; ++i) WriteFloat(out, values[i]);
}

}  // namespace

void WriteVector(std::ostream& out, const Vector& value) {
    const float f[4] = {value.x, value.y, value.z, value.w};
    WriteFloats(out, f, 4);
}

void WriteQuaternion(std::ostream& out, const Quaternion& value) {
    WriteFloat(out, value.s);
    WriteVector(out, value.v);
}

void WriteMatrix(std::ostream& out, const Matrix& value) { WriteFloats(out, value.DataPtr(), 16); }

void WriteVertex(std::ostream& out, const Vertex& value) {
    WriteFloats(out, value.v, 3);
    WriteFloat(out, 1.0f);
    for (int32_t bone : value.boneIndex) WriteInt(out, bone);
    WriteFloats(out, value.skinWeights, 4);
    WriteInt(out, value.numWeights);
}

void WriteTriangle(std::ostream& out, const Triangle& value) {
    for (unsigned index : value.verts) WriteInt(out, int32_t(index));
    for (const auto& n : value.normal) WriteFloats(out, n, 3);
    for (const auto& c : value.color) {
        WriteFloats(out, c, 3);
        WriteFloat(out, 1.0f);
    }
    for (const auto& t : value.texCoord) WriteFloats(out, t, 2);
    for (const auto& t : value.tangent) WriteFloats(out, t, 3);
    for (const auto& b : value.binormal) WriteFloats(out, b, 3);
}

void WriteKeyFrame(std::ostream& out, const KeyFrame& value) {
    WriteFloat(out, float(value.time));
    WriteQuaternion(out, value.rot);
    WriteVector(out, value.trans);
}

void WriteBone(std::ostream& out, const Bone& value) {
    WriteInt(out, value.id);
    WriteString(out, value.name);
    WriteInt(out, int32_t(value.children.size()));
    for (int32_t child : value.children) WriteInt(out, child);
    WriteMatrix(out, value.offsetMatrix);
    WriteMatrix(out, value.auxMatrix);
}

void WriteMeshArrays(std::ostream& out, const MeshArrays& value) {
    WriteInt(out, int32_t(value.indices.count));
    for (unsigned i = 0; i < value.indices.count; ++i) WriteInt(out, value.indices.data[i]);
    for (const ArrayBuffer<float>* array : {&value.positions, &value.normals, &value.texCoords,
                                            &value.skinWeights, &value.boneIndices}) {
        WriteInt(out, int32_t(array->count));
        WriteFloats(out, array->data, int(array->count));
    }
}

void WriteMesh(std::ostream& out, const Mesh& value) {
    WriteString(out, value.name);
    for (bool flag : {value.useTexture, value.useColor, value.useMaterial, value.useTangentSpace})
        WriteBool(out, flag);
    WriteVector(out, value.ambientColor);
    WriteVector(out, value.diffuseColor);
    WriteVector(out, value.specularColor);
    WriteFloat(out, value.shininess);
    WriteInt(out, int32_t(value.verts.size()));
    for (const Vertex& vertex : value.verts) WriteVertex(out, vertex);
    WriteInt(out, int32_t(value.triangles.size()));
    for (const Triangle& tri : value.triangles) WriteTriangle(out, tri);
    WriteBool(out, value.isIndexed);
    WriteMeshArrays(out, value.arrays);
}

void WriteSkeleton(std::ostream& out, const Skeleton& value) {
    WriteInt(out, value.rootBone);
    WriteInt(out, int32_t(value.boneList.size()));
    for (const Bone& bone : value.boneList) WriteBone(out, bone);
}

void WriteAnimation(std::ostream& out, const AnimTrack& value) {
    WriteFloat(out, float(value.length));
    WriteInt(out, int32_t(value.keyFrames.size()));
    for (const KeyFrame& key : value.keyFrames) WriteKeyFrame(out, key);
}

void WriteAnimSet(std::ostream& out, const AnimSet& value) {
    WriteInt(out, int32_t(value.animTrackList.size()));
    for (const AnimTrack& track : value.animTrackList) WriteAnimation(out, track);
}
