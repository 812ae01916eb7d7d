// Skeletal animation: the records Bone, KeyFrame, AnimTrack, AnimSet,
// AnimFrame and Skeleton, as the ".skl" and ".anm" readers fill them and as
// the resource store keeps them, and their playback: track time keeping, key
// frame interpolation, cross-fades and the composition of the bone hierarchy
// into the skinning matrices. Skeletons are copied by value into every
// animated object, so each object has its own track times.
//
// Threads: plain values; the loader thread fills them, the main thread plays
// them. A skeleton held by a GraphicsComp is read and played only under the
// object lock. Limits that the readers enforce on files: at most MAX_BONES
// bones and MAX_BONES tracks an animation, bone indices below MAX_BONES, a root bone in range and bone children
// that form a tree (no cycles, no shared children). Skeletons built in code
// are checked once before they are first posed.
//
// Faults in the data (a track list shorter than the bone list, an animation
// index outside boneAnimations, a wrap-around span of zero) are reported once
// per skeleton, and the playback never reads past what exists.
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

// Where a track's time lies among its key frames (-1: no frame).
struct AnimFrame {
    int startFrame = -1;
    int endFrame = -1;
    double normTime = 0.0;
};

// One bone's key frames within one animation, with its playback position.
struct AnimTrack {
    // Sets time; a looping track wraps into (0, length] from above (a time
    // equal to length stays) and every track wraps into [0, length) from
    // below. A track without key frames, of a length at or below 1e-8 or not
    // finite, is frozen; a time that is not finite is ignored.
    void SetTime(double t);
    void AdvanceTime(double dt) { SetTime(time + dt); }
    // The key frames around time: (i, i + 1) for t(i) < time <= t(i + 1);
    // outside them a looping track wraps from the last key to the first and a
    // non-looping one holds its last key. Reports a wrap-around span of zero
    // (normTime 0 then) and a normTime above 1 on every call.
    AnimFrame InterpolateFrame() const;

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

// The transforms of one hierarchy walk, the parent's on top. It holds the
// root's parent and one per bone of a tree of MAX_BONES bones, and accepts
// no more pushes than that over its life, so a walk can never run away; it
// lives on the caller's stack.
class BoneStack {
public:
    static constexpr int kCapacity = MAX_BONES + 1;

    // False, leaving the stack as it was, once kCapacity pushes were made.
    bool Push(const QuatVec& transform);
    // Nothing when empty.
    void Pop();
    bool Empty() const { return size == 0; }
    // The identity when empty.
    QuatVec Top() const;

private:
    QuatVec items[kCapacity];
    int size = 0;
    int pushes = 0;
};

struct Skeleton {
    // Advances the current animation's tracks by dt, and during a cross-fade
    // the fade and the next animation's tracks. A dt that is not finite is
    // ignored.
    void UpdateAnimation(double dt);
    // Interpolates every bone's track and composes the hierarchy from
    // rootBone into boneTransforms and boneMatrices. Works in place: nothing
    // is allocated while the bone count stays the same. A bone list that
    // CheckBoneHierarchy refuses is not posed (one error per skeleton).
    void UpdateBonePositions();
    // The first step of UpdateBonePositions: animFrames, every bone's trans
    // and rot, and localTransforms.
    void InterpolateTracks();
    // The second step: poses bone and, depth first, its children, with the
    // parent's transform on top of stack. Indices outside boneList are not
    // followed; slots of boneMatrices at or above MAX_BONES are not written.
    void TransformBone(BoneStack& stack, int bone);
    // The model-space transform of the first bone of that exact name as of
    // the last posing; the identity for an unknown name or an unposed skeleton.
    QuatVec GetBoneTransform(const std::string& boneName) const;

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

    // Playback's notes on this skeleton's data: which faults were reported
    // already (one report per skeleton, not per bone and frame), and for
    // which bone count and root the hierarchy was last checked.
    unsigned reportedFaults = 0;
    int checkedBoneCount = -1;
    int checkedRootBone = -1;
    bool hierarchyPosable = false;
};

// Why a bone list cannot be posed safely: an empty string when every child
// index and the root are in range, there are at most MAX_BONES bones and the
// walk from the root visits no bone twice.
std::string CheckBoneHierarchy(const std::vector<Bone>& bones, int rootBone);
