// The game's binary resource files: meshes (".bin"), skeletons (".skl") and
// animations (".anm"), their record readers and writers, and the file
// loaders that the resource loader calls with a path without extension.
//
// Threads: any (the level loader thread loads); no shared state, no OpenGL.
// Every file is untrusted: a loader reads the whole file into memory (up to
// kMaxResourceFileBytes), checks every read, count, string length and
// index, and on a bad file logs an error and returns false with the target
// untouched. The game never writes these files; the writers serve the
// content generator and the tests.
#pragma once

#include <ostream>
#include <string>

#include "animation/animation_stuff.h"
#include "resource_manager/binary_stream.h"
#include "resource_manager/mesh.h"

// Larger files are refused before anything is allocated for them.
const size_t kMaxResourceFileBytes = size_t(256) << 20;

// Record sizes on disk.
const size_t kVertexRecordBytes = 52;
const size_t kTriangleRecordBytes = 192;
const size_t kKeyframeRecordBytes = 40;

// ---- Readers: each reads one record and returns false on a bad read ----------
bool ReadVector(ByteReader& in, Vector& value);
bool ReadQuaternion(ByteReader& in, Quaternion& value);
bool ReadMatrix(ByteReader& in, Matrix& value);
bool ReadVertex(ByteReader& in, Vertex& value);
bool ReadTriangle(ByteReader& in, Triangle& value);
bool ReadKeyFrame(ByteReader& in, KeyFrame& value);
bool ReadBone(ByteReader& in, Bone& value);
bool ReadIntArray(ByteReader& in, ArrayBuffer<int>& value);
bool ReadFloatArray(ByteReader& in, ArrayBuffer<float>& value);
bool ReadMeshArrays(ByteReader& in, MeshArrays& value);
// The body of each file (after the leading name, and for animations after
// the leading number), validated as a whole.
bool ReadMesh(ByteReader& in, Mesh& value);
bool ReadSkeleton(ByteReader& in, Skeleton& value);
bool ReadAnimation(ByteReader& in, AnimTrack& value);
bool ReadAnimSet(ByteReader& in, AnimSet& value);

// ---- Writers: the exact inverse of the readers ------------------------------------
void WriteVector(std::ostream& out, const Vector& value);
void WriteQuaternion(std::ostream& out, const Quaternion& value);
void WriteMatrix(std::ostream& out, const Matrix& value);
void WriteVertex(std::ostream& out, const Vertex& value);
void WriteTriangle(std::ostream& out, const Triangle& value);
void WriteKeyFrame(std::ostream& out, const KeyFrame& value);
void WriteBone(std::ostream& out, const Bone& value);
void WriteMeshArrays(std::ostream& out, const MeshArrays& value);
void WriteMesh(std::ostream& out, const Mesh& value);
void WriteSkeleton(std::ostream& out, const Skeleton& value);
void WriteAnimation(std::ostream& out, const AnimTrack& value);
void WriteAnimSet(std::ostream& out, const AnimSet& value);

// ---- Whole files; path without extension --------------------------------------------
// A file that cannot be opened prints "Error opening <path>" to standard
// output; a malformed one logs an error. Both return false.
bool LoadMeshFile(const std::string& path, Mesh& mesh);
bool LoadSkeletonFile(Skeleton& skeleton, const std::string& path);
bool LoadAnimFile(AnimSet& animSet, const std::string& path);

// Write a complete file (leading name = the mesh's name, the skeleton's or
// set's name); false, with an error logged, when the file cannot be written.
bool SaveMeshFile(const std::string& path, const Mesh& mesh);
bool SaveSkeletonFile(const Skeleton& skeleton, const std::string& path);
bool SaveAnimFile(const AnimSet& animSet, const std::string& path);
