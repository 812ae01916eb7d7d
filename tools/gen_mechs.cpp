#include "gen_mechs.h"

#include <cmath>
#include <vector>

#include "gen_shapes.h"
#include "model_files.h"

namespace {

const float kPi = 3.14159265f;
const int kKeysPerLoop = 8;

struct BoneSpec {
    const char* name;
    int parent;     // -1 for the root
    Vector joint;   // rest position in model space
};

struct BoxSpec {
    Vector centre;
    Vector half;
    int bone;
    float shade;  // vertex colour, grey level
};

struct MechSpec {
    const char* name;
    std::vector<BoneSpec> bones;
    std::vector<BoxSpec> boxes;
};

// How one bone moves over a loop: sine swings about x (pitch) and y (yaw),
// and an up-down bob of the bone's joint.
struct BoneMotion {
    const char* bone;
    float pitchDegrees;
    float yawDegrees;
    float bob;
    float phase;    // fraction of a loop
    bool stepBob;   // bob twice per loop, downwards only (footfalls)
};

struct AnimSpec {
    const char* suffix;
    float length;
    std::vector<BoneMotion> motions;
};

MechSpec MediumMech() {
    return {"medium_mech",
            {{"hips", -1, Vector(0, 11, 0)},
             {"torso", 0, Vector(0, 13, 0)},
             {"gun_left", 1, Vector(-7, 16, 0)},
             {"gun_right", 1, Vector(7, 16, 0)},
             {"leg_left", 0, Vector(-3.5f, 11, 0)},
             {"leg_right", 0, Vector(3.5f, 11, 0)}},
            {{Vector(0, 11, 0), Vector(4.5f, 1.5f, 3), 0, 0.8f},
             {Vector(0, 16.5f, -0.5f), Vector(5.5f, 4, 4.5f), 1, 1.0f},
             {Vector(0, 18, 4.2f), Vector(3, 1.5f, 1), 1, 0.5f},
             {Vector(-6, 16, 0), Vector(1, 2, 2), 1, 0.7f},
             {Vector(6, 16, 0), Vector(1, 2, 2), 1, 0.7f},
             {Vector(-7, 16, 3), Vector(1.3f, 1.3f, 5), 2, 0.6f},
             {Vector(7, 16, 3), Vector(1.3f, 1.3f, 5), 3, 0.6f},
             {Vector(-3.5f, 8, 0), Vector(1.5f, 3, 1.8f), 4, 0.9f},
             {Vector(3.5f, 8, 0), Vector(1.5f, 3, 1.8f), 5, 0.9f},
             {Vector(-3.5f, 3.5f, -0.5f), Vector(1.3f, 2.5f, 1.5f), 4, 0.8f},
             {Vector(3.5f, 3.5f, -0.5f), Vector(1.3f, 2.5f, 1.5f), 5, 0.8f},
             {Vector(-3.5f, 0.6f, 0.8f), Vector(2, 0.6f, 3), 4, 0.7f},
             {Vector(3.5f, 0.6f, 0.8f), Vector(2, 0.6f, 3), 5, 0.7f}}};
}

MechSpec HeavyMech() {
    return {"heavy_mech",
            {{"hips", -1, Vector(0, 14, 0)},
             {"torso", 0, Vector(0, 17, 0)},
             {"gun_left", 1, Vector(-9.5f, 20, 0)},
             {"gun_right", 1, Vector(9.5f, 20, 0)},
             {"leg_left", 0, Vector(-5, 14, 0)},
             {"leg_right", 0, Vector(5, 14, 0)},
             {"launcher", 1, Vector(0, 26, -2)}},
            {{Vector(0, 14, 0), Vector(6, 2, 4), 0, 0.8f},
             {Vector(0, 21, -0.5f), Vector(8, 5, 6), 1, 1.0f},
             {Vector(0, 22, 5.8f), Vector(4, 2, 1), 1, 0.5f},
             {Vector(-8.5f, 20, 0), Vector(1.2f, 2.5f, 2.5f), 1, 0.7f},
             {Vector(8.5f, 20, 0), Vector(1.2f, 2.5f, 2.5f), 1, 0.7f},
             {Vector(-9.5f, 20, 4), Vector(2, 2, 7), 2, 0.6f},
             {Vector(9.5f, 20, 4), Vector(2, 2, 7), 3, 0.6f},
             {Vector(-5, 10, 0), Vector(2.2f, 4, 2.5f), 4, 0.9f},
             {Vector(5, 10, 0), Vector(2.2f, 4, 2.5f), 5, 0.9f},
             {Vector(-5, 4.5f, -0.5f), Vector(2, 3, 2), 4, 0.8f},
             {Vector(5, 4.5f, -0.5f), Vector(2, 3, 2), 5, 0.8f},
             {Vector(-5, 0.8f, 1), Vector(2.8f, 0.8f, 4), 4, 0.7f},
             {Vector(5, 0.8f, 1), Vector(2.8f, 0.8f, 4), 5, 0.7f},
             {Vector(0, 28, -2), Vector(4, 2.5f, 4), 6, 0.6f},
             {Vector(-2, 28, 2.5f), Vector(1, 1, 0.8f), 6, 0.4f},
             {Vector(2, 28, 2.5f), Vector(1, 1, 0.8f), 6, 0.4f}}};
}

// Index 0 stands, index 1 walks: the order the behaviour states rely on.
std::vector<AnimSpec> MechAnimations() {
    return {{"idle", 3.0f,
             {{"hips", 0, 0, 0.25f, 0, false},
              {"torso", 0, 10, 0, 0, false},
              {"gun_left", 3, 0, 0, 0.25f, false},
              {"gun_right", -3, 0, 0, 0.25f, false}}},
            {"walk", 1.0f,
             {{"hips", 0, 0, 0.6f, 0, true},
              {"torso", 0, 6, 0, 0, false},
              {"leg_left", 25, 0, 0, 0, false},
              {"leg_right", -25, 0, 0, 0, false},
              {"gun_left", 4, 0, 0, 0.25f, false},
              {"gun_right", 4, 0, 0, 0.25f, false}}}};
}

Mesh BuildMesh(const MechSpec& spec) {
    MeshBuilder builder(spec.name);
    for (const BoxSpec& box : spec.boxes) {
        const float colour[3] = {box.shade, box.shade, box.shade};
        AddBox(builder, box.centre, box.half, colour, box.bone);
    }
    return builder.Finish();
}

Skeleton BuildSkeleton(const MechSpec& spec) {
    Skeleton skeleton;
    skeleton.name = spec.name;
    skeleton.rootBone = 0;
    for (size_t i = 0; i < spec.bones.size(); ++i) {
        const BoneSpec& source = spec.bones[i];
        Bone bone;
        bone.id = int32_t(i);
        bone.name = source.name;
        bone.offsetMatrix.TranslateMat(-source.joint.x, -source.joint.y, -source.joint.z);  // inverse bind pose
        bone.auxMatrix.TranslateMat(source.joint.x, source.joint.y, source.joint.z);        // bind pose
        for (size_t child = 0; child < spec.bones.size(); ++child)
            if (spec.bones[child].parent == int(i)) bone.children.push_back(int32_t(child));
        skeleton.boneList.push_back(bone);
    }
    return skeleton;
}

const BoneMotion* FindMotion(const AnimSpec& anim, const std::string& bone) {
    for (const BoneMotion& motion : anim.motions)
        if (bone == motion.bone) return &motion;
    return nullptr;
}

// Keys at even steps over [0, length): the last key lies before the loop's
// end, so wrapping from it back to the first key spans a positive time.
AnimTrack BuildTrack(const Vector& restOffset, const BoneMotion* motion, float length) {
    AnimTrack track;
    track.length = length;
    int keys = motion ? kKeysPerLoop : 1;
    for (int k = 0; k < keys; ++k) {
        KeyFrame key;
        key.time = double(length) * k / keys;
        key.rot = Quaternion(1.0f);
        key.trans = restOffset;
        if (motion) {
            float wave = std::sin(2.0f * kPi * (float(k) / keys + motion->phase));
            float bob = motion->stepBob ? -std::fabs(wave) : wave;
            key.rot = AxisTurn(Vector(0, 1, 0), motion->yawDegrees * wave) *
                      AxisTurn(Vector(1, 0, 0), motion->pitchDegrees * wave);
            key.trans.y += motion->bob * bob;
        }
        track.keyFrames.push_back(key);
    }
    return track;
}

AnimSet BuildAnimation(const MechSpec& spec, const AnimSpec& anim) {
    AnimSet set;
    set.name = std::string(spec.name) + "_" + anim.suffix;
    for (const BoneSpec& bone : spec.bones) {
        Vector parentJoint = bone.parent < 0 ? Vector() : spec.bones[size_t(bone.parent)].joint;
        set.animTrackList.push_back(BuildTrack(bone.joint - parentJoint, FindMotion(anim, bone.name), anim.length));
    }
    return set;
}

bool WriteMech(const std::string& runDir, const MechSpec& spec) {
    if (!WriteMesh(runDir, spec.name, BuildMesh(spec)) || !WriteSkeleton(runDir, spec.name, BuildSkeleton(spec)))
        return false;
    for (const AnimSpec& anim : MechAnimations())
        if (!WriteAnimation(runDir, BuildAnimation(spec, anim))) return false;
    return true;
}

}  // namespace

bool GenerateMechs(const std::string& runDir) {
    return WriteMech(runDir, MediumMech()) && WriteMech(runDir, HeavyMech());
}
