#include "animation/animation_stuff.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "system.h"

namespace {

// Parent of every bone (-1 for none); false when a bone has two parents or
// a child index is out of range.
bool FindParents(const std::vector<Bone>& bones, std::vector<int>& parent, std::string& why) {
    const int count = int(bones.size());
    parent.assign(bones.size(), -1);
    for (int b = 0; b < count; ++b) {
        for (int32_t child : bones[b].children) {
            if (child < 0 || child >= count) {
                why = "bone " + std::to_string(b) + " lists child " + std::to_string(child) +
                      " outside the bone list";
                return false;
            }
            if (parent[child] != -1) {
                why = "bone " + std::to_string(child) + " is listed as a child twice";
                return false;
            }
            parent[child] = b;
        }
    }
    return true;
}

}  // namespace

std::string CheckBoneHierarchy(const std::vector<Bone>& bones, int rootBone) {
    const int count = int(bones.size());
    if (count > MAX_BONES)
        return std::to_string(count) + " bones, more than " + std::to_string(MAX_BONES);
    if (count == 0) return "";  // nothing is ever posed
    if (rootBone < 0 || rootBone >= count)
        return "root bone " + std::to_string(rootBone) + " outside the bone list";
    std::vector<int> parent;
    std::string why;
    if (!FindParents(bones, parent, why)) return why;
    if (parent[rootBone] != -1) return "the root bone is another bone's child";
    // With one parent each, a cycle is a chain of parents longer than the list.
    for (int b = 0; b < count; ++b) {
        int steps = 0;
        for (int at = b; at != -1; at = parent[at]) {
            if (++steps > count) return "bone " + std::to_string(b) + " is its own ancestor";
        }
    }
    return "";
}

// ---- Playback -------------------------------------------------------------------

namespace {

// Below this a track's length or a wrap-around span is treated as zero.
constexpr double kMinSpan = 1e-8;
// Below this length a rotation is no rotation at all (a bone never keyed).
constexpr float kMinRotationLength = 1e-12f;

// Bits of Skeleton::reportedFaults.
enum Fault : unsigned {
    kFaultTrackCount = 1u << 0,
    kFaultZeroSpan = 1u << 1,
    kFaultNormTime = 1u << 2,
    kFaultAnimation = 1u << 3,
    kFaultFade = 1u << 4,
};

System& Sys() { return *Module<System>::Instance(); }

void LogValue(const char* expression, double value) {
    std::ostringstream line;
    line << expression << " = " << value;
    Sys().Log(line.str());
}

// What InterpolateFrame found wrong, kept apart from the frame so that a
// skeleton can report it once while a lone track reports it every time.
struct FrameFault {
    Fault kind = Fault(0);
    double remTime = 0.0;
    double initTime = 0.0;
};

void ReportFrameFault(const FrameFault& fault, const AnimFrame& frame) {
    if (fault.kind == kFaultZeroSpan) {
        LogValue("remTime", fault.remTime);
        LogValue("initTime", fault.initTime);
        Sys().Error(SOURCE_POS + "Divide by zero");
    } else if (fault.kind == kFaultNormTime) {
        LogValue("animFrame.normTime", frame.normTime);
        Sys().Error(SOURCE_POS + "Invalid frame norm time");
    }
}

// A skeleton's report of a fault: the first one of its kind only.
bool FirstReport(Skeleton& skeleton, Fault kind) {
    if (skeleton.reportedFaults & kind) return false;
    skeleton.reportedFaults |= kind;
    return true;
}

// The pair from the last key back to the first, for a looping track whose
// time lies in no interval.
AnimFrame WrapAround(const AnimTrack& track, FrameFault& fault) {
    const std::vector<KeyFrame>& keys = track.keyFrames;
    const int count = int(keys.size());
    AnimFrame frame{count - 1, 0, 0.0};
    const double last = keys.back().time;
    const double remTime = track.length - last;
    const double initTime = keys.front().time;
    const double span = initTime + remTime;
    const bool afterLast = track.time > last;
    if (!afterLast && track.time > initTime) return frame;  // keys out of order
    if (std::fabs(span) < kMinSpan) {
        fault = FrameFault{kFaultZeroSpan, remTime, initTime};
        return frame;  // holds the last key instead of dividing by zero
    }
    frame.normTime = afterLast ? (track.time - last) / span : (track.time + remTime) / span;
    return frame;
}

AnimFrame LocateFrame(const AnimTrack& track, FrameFault& fault) {
    const std::vector<KeyFrame>& keys = track.keyFrames;
    const int count = int(keys.size());
    if (count == 0) return AnimFrame{};
    if (count == 1) return AnimFrame{0, 0, 0.0};
    AnimFrame frame;
    for (int i = 0; i + 1 < count && frame.startFrame == -1; ++i) {
        if (keys[i].time < track.time && track.time <= keys[i + 1].time)
            frame = AnimFrame{i, i + 1, (track.time - keys[i].time) / (keys[i + 1].time - keys[i].time)};
    }
    if (frame.startFrame == -1)
        frame = track.loop ? WrapAround(track, fault) : AnimFrame{count - 2, count - 1, 1.0};
    if (frame.normTime > 1.0 && fault.kind == Fault(0)) fault.kind = kFaultNormTime;
    return frame;
}

// Inside a skeleton a track's faults are reported once per skeleton.
AnimFrame LocateFrame(Skeleton& skeleton, const AnimTrack& track) {
    FrameFault fault;
    const AnimFrame frame = LocateFrame(track, fault);
    if (fault.kind != Fault(0) && FirstReport(skeleton, fault.kind)) ReportFrameFault(fault, frame);
    return frame;
}

// A looping time above the length wraps into (0, length]: a whole number of
// lengths lands on the end, as repeated subtraction would.
double WrapFromAbove(double t, double length) {
    const double rest = std::fmod(t, length);
    return rest > 0.0 ? rest : length;
}

// A negative time wraps into [0, length).
double WrapFromBelow(double t, double length) {
    const double rest = std::fmod(t, length);
    return rest < 0.0 ? rest + length : 0.0;
}

struct Pose {
    Vector trans;
    Quaternion rot;
};

// The pose between the frame's two keys.
Pose KeyPose(const AnimTrack& track, const AnimFrame& frame) {
    const KeyFrame& a = track.keyFrames[size_t(frame.startFrame)];
    const KeyFrame& b = track.keyFrames[size_t(frame.endFrame)];
    const float t = float(frame.normTime);
    return Pose{a.trans * (1.0f - t) + b.trans * t, Slerp(a.rot, b.rot, t)};
}

// The pose of a current track's frame, blended during a fade with the next
// animation's track (null when it has none): w = 1 shows the current alone.
// A bone that the next animation does not key shows the current one.
Pose FadedPose(Skeleton& skeleton, const AnimTrack& current, const AnimFrame& frame,
               const AnimTrack* next, float w) {
    Pose pose = KeyPose(current, frame);
    const AnimFrame nextFrame = next ? LocateFrame(skeleton, *next) : AnimFrame{};
    if (nextFrame.startFrame == -1) return pose;
    const Pose nextPose = KeyPose(*next, nextFrame);
    pose.trans = pose.trans * w + nextPose.trans * (1.0f - w);
    pose.rot = Slerp(nextPose.rot, pose.rot, w);
    return pose;
}

// A bone never keyed has the zero rotation, which has no direction: it
// stands unturned rather than collapsing its children onto its joint.
Quaternion UnitRotation(const Quaternion& rot) {
    return rot.Mag() > kMinRotationLength ? rot.Norm() : Quaternion(1.0f);
}

bool HasAnimation(const Skeleton& skeleton, int index) {
    return index >= 0 && index < int(skeleton.boneAnimations.size());
}

std::string Describe(const Skeleton& skeleton) {
    return "skeleton \"" + skeleton.name + "\" (" + std::to_string(skeleton.boneAnimations.size()) +
           " animations)";
}

// Ends a cross-fade that cannot run: one into an animation that does not
// exist is dropped, one without a positive duration is over at once.
void SettleFade(Skeleton& skeleton) {
    if (!skeleton.isBlending) return;
    if (!HasAnimation(skeleton, skeleton.nextAnimation)) {
        if (FirstReport(skeleton, kFaultFade))
            Sys().Warning(SOURCE_POS + Describe(skeleton) + ": the cross-fade to animation " +
                          std::to_string(skeleton.nextAnimation) + " is ended");
        skeleton.isBlending = false;
    } else if (!(skeleton.blendDuration > 0.0)) {
        skeleton.curAnimation = skeleton.nextAnimation;
        skeleton.isBlending = false;
    }
}

// Whether the current animation can be played; -1 plays nothing silently, an
// index outside the list is reported once.
bool CurrentPlays(Skeleton& skeleton) {
    if (skeleton.curAnimation == -1) return false;
    if (HasAnimation(skeleton, skeleton.curAnimation)) return true;
    if (FirstReport(skeleton, kFaultAnimation))
        Sys().Warning(SOURCE_POS + Describe(skeleton) + ": animation " +
                      std::to_string(skeleton.curAnimation) + " does not exist; nothing plays");
    return false;
}

void AdvanceTracks(AnimSet& set, double dt) {
    for (AnimTrack& track : set.animTrackList) track.AdvanceTime(dt);
}

void ReportTrackCount(Skeleton& skeleton) {
    const size_t tracks = skeleton.boneAnimations[size_t(skeleton.curAnimation)].animTrackList.size();
    if (tracks == skeleton.boneList.size() || !FirstReport(skeleton, kFaultTrackCount)) return;
    LogValue("boneList.size()", double(skeleton.boneList.size()));
    LogValue("boneAnimations[curAnimation].animTrackList.size()", double(tracks));
    Sys().Error(SOURCE_POS +
                "Skeleton::UpdateBonePositions(): current track list size does not match bone size!");
}

// The bone lists that readers refuse are refused here too, checked once for
// each bone count and root rather than on every walk.
bool HierarchyPosable(Skeleton& skeleton) {
    const int count = int(skeleton.boneList.size());
    if (skeleton.checkedBoneCount == count && skeleton.checkedRootBone == skeleton.rootBone)
        return skeleton.hierarchyPosable;
    const std::string why = CheckBoneHierarchy(skeleton.boneList, skeleton.rootBone);
    if (!why.empty())
        Sys().Error(SOURCE_POS + "skeleton \"" + skeleton.name + "\" cannot be posed: " + why);
    skeleton.checkedBoneCount = count;
    skeleton.checkedRootBone = skeleton.rootBone;
    skeleton.hierarchyPosable = why.empty();
    return skeleton.hierarchyPosable;
}

}  // namespace

void AnimTrack::SetTime(double t) {
    // A length this short would take without end to wrap a time into.
    if (keyFrames.empty() || !(length > kMinSpan) || !std::isfinite(length) || !std::isfinite(t))
        return;
    if (t > length) t = loop ? WrapFromAbove(t, length) : length;
    if (t < 0.0) t = WrapFromBelow(t, length);
    time = t;
}

AnimFrame AnimTrack::InterpolateFrame() const {
    FrameFault fault;
    const AnimFrame frame = LocateFrame(*this, fault);
    ReportFrameFault(fault, frame);
    return frame;
}

bool BoneStack::Push(const QuatVec& transform) {
    if (pushes >= kCapacity) return false;
    ++pushes;
    items[size++] = transform;
    return true;
}

void BoneStack::Pop() {
    if (size > 0) --size;
}

QuatVec BoneStack::Top() const { return size > 0 ? items[size - 1] : QuatVec(); }

void Skeleton::UpdateAnimation(double dt) {
    if (!std::isfinite(dt) || !CurrentPlays(*this)) return;
    if (boneAnimations[size_t(curAnimation)].animTrackList.empty()) return;
    SettleFade(*this);
    AdvanceTracks(boneAnimations[size_t(curAnimation)], dt);
    if (!isBlending) return;
    blendTime -= dt;
    if (!(blendTime > 0.0)) {
        // The next animation starts from where its tracks stand: the step
        // that ends the fade does not advance them.
        curAnimation = nextAnimation;
        isBlending = false;
        return;
    }
    AdvanceTracks(boneAnimations[size_t(nextAnimation)], dt);
}

void Skeleton::InterpolateTracks() {
    const size_t bones = boneList.size();
    animFrames.resize(bones);
    localTransforms.resize(bones);
    boneTransforms.resize(bones);
    if (!CurrentPlays(*this)) return;
    SettleFade(*this);
    const std::vector<AnimTrack>& current = boneAnimations[size_t(curAnimation)].animTrackList;
    const std::vector<AnimTrack>* next =
        isBlending ? &boneAnimations[size_t(nextAnimation)].animTrackList : nullptr;
    // A fade whose time was set beyond its duration shows the ends, never
    // more than either animation.
    const float w = isBlending ? float(std::min(std::max(blendTime / blendDuration, 0.0), 1.0)) : 1.0f;
    for (size_t i = 0; i < bones; ++i) {
        Bone& bone = boneList[i];
        // A bone without a track, or whose track has no key, keeps its pose.
        animFrames[i] = i < current.size() ? LocateFrame(*this, current[i]) : AnimFrame{};
        if (animFrames[i].startFrame != -1) {
            const AnimTrack* nextTrack = next && i < next->size() ? &(*next)[i] : nullptr;
            const Pose pose = FadedPose(*this, current[i], animFrames[i], nextTrack, w);
            bone.trans = pose.trans;
            bone.rot = pose.rot;
        }
        localTransforms[i] = QuatVec(UnitRotation(bone.rot), bone.trans);
    }
}

void Skeleton::TransformBone(BoneStack& stack, int bone) {
    if (bone < 0 || bone >= int(boneList.size()) || bone >= int(localTransforms.size()) ||
        bone >= int(boneTransforms.size()))
        return;
    const QuatVec posed = stack.Top() * localTransforms[size_t(bone)];
    if (!stack.Push(posed)) return;
    boneTransforms[size_t(bone)] = posed;
    const Bone& record = boneList[size_t(bone)];
    if (bone < MAX_BONES) boneMatrices[bone] = QuatVecToMatrix(posed.rot, posed.trans) * record.offsetMatrix;
    for (int32_t child : record.children) TransformBone(stack, child);
    stack.Pop();
}

void Skeleton::UpdateBonePositions() {
    if (!CurrentPlays(*this)) return;
    SettleFade(*this);
    ReportTrackCount(*this);
    if (boneList.empty() || !HierarchyPosable(*this)) return;
    InterpolateTracks();
    BoneStack stack;
    stack.Push(QuatVec());
    TransformBone(stack, rootBone);
}

QuatVec Skeleton::GetBoneTransform(const std::string& boneName) const {
    const size_t posed = std::min(boneList.size(), boneTransforms.size());
    for (size_t i = 0; i < posed; ++i)
        if (boneList[i].name == boneName) return boneTransforms[i];
    return QuatVec();
}
