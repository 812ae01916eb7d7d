// Skeletal animation records: Bone, KeyFrame, AnimTrack, AnimSet, AnimFrame
// and Skeleton, as the ".skl" and ".anm" readers fill them and as the
// resource store keeps them. Skeletons are copied by value into every
// animated object, so each object has its own track times.
//
// Threads: plain values; the loader thread fills them, the main thread plays
// them. Limits that the readers enforce on files: at most MAX_BONES bones,
// bone indices below MAX_BONES, a root bone in range and bone children that
// form a tree (no cycles, no shared children).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geom/geom.h"

// The skinning matrices live in a fixed block that the shader takes whole.
const int MAX_BONES = 40;

struct Bone {
    int32_t id = -1;
    std::string name;
    std::vector<int32_t> children;  // indices into the skeleton's boneList
    Matrix offsetMatrix;            // inverse bind matrix; identity by default
    Matrix auxMatrix;               // stored as read, unused by the game
    // The bone's current animated transform relative to its parent, written
    // by playback only (zero until then, the quaternion's s too).
    Vector trans;
    Quaternion rot;
};

struct KeyFrame {
    double time = 0.0;
    Quaternion rot;
    Vector trans;
};

// One bone's key frames within one animation, with its playback position.
struct AnimTrack {
    double time = 0.0;
    double length = 0.0;
    bool loop = true;
    std::string name;
    std::vector<KeyFrame> keyFrames;  // ascending time
};

// One animation: one track per bone, track i for bone i.
struct AnimSet {
    std::vector<AnimTrack> animTrackList;
    std::string name;
};

// Where a track's time lies among its key frames (-1: no frame).
struct AnimFrame {
    int startFrame = -1;
    int endFrame = -1;
    double normTime = 0.0;
};

struct Skeleton {
    std::vector<AnimFrame> animFrames;
    std::vector<AnimSet> boneAnimations;
    std::vector<Bone> boneList;
    std::vector<QuatVec> localTransforms;
    Matrix boneMatrices[MAX_BONES];  // slot i written only when bone i is posed
    std::vector<QuatVec> boneTransforms;
    std::string name;
    int rootBone = -1;
    int curAnimation = -1;
    int nextAnimation = -1;
    bool isBlending = false;
    double blendTime = 0.0;
    double blendDuration = 0.0;
};

// Why a bone list cannot be posed safely: an empty string when every child
// index and the root are in range, there are at most MAX_BONES bones and the
// walk from the root visits no bone twice.
std::string CheckBoneHierarchy(const std::vector<Bone>& bones, int rootBone);
