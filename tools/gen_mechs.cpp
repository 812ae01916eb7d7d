#include "gen_mechs.h"

#include <cmath>
#include <vector>

#include "game_paths.h"
#include "model_files.h"
#include "model_paint.h"
#include "model_sketch.h"
#include "paint.h"
#include "palette.h"

namespace {

const float kPi = 3.14159265f;
const int kKeysPerLoop = 8;
const int kAtlasSize = 128;

struct BoneSpec {
    const char* name;
    int parent;     // -1 for the root
    Vector joint;   // rest position in model space
};

struct MechSpec {
    const char* name;
    std::vector<BoneSpec> bones;
    ModelSketch (*sketch)();
    Livery regular;  // the enemy's colours
    Livery elite;    // the "super" machine's
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

// Turns a block so that its own up axis leans `degrees` from +y towards +z.
void Lean(Part& part, float degrees) {
    part.axes[1] = TiltedUp(degrees);
    part.axes[2] = Vector(0.0f, -part.axes[1].z, part.axes[1].y);
}

// Adds the mirror image (on the left bone) of a right-hand part (x > 0)
// already in the sketch.
void Pair(ModelSketch& sketch, const Part& right, int leftBone) { sketch.Mirror(Part(right), leftBone); }

// The strider: a lean, tall machine on reverse-jointed legs, a small wedge
// of a hull with a visor slit, a long-barrelled gun at each side.
ModelSketch MediumSketch() {
    enum { kHips, kTorso, kGunLeft, kGunRight, kLegLeft, kLegRight };
    ModelSketch s("medium_mech");
    s.AddBlock(Vector(0, 11, 0), Vector(3.0f, 1.1f, 2.0f), Paint::Dark, kHips);
    Part& hull = s.AddBlock(Vector(0, 15.4f, 0), Vector(4.0f, 3.0f, 3.6f), Paint::Hull, kTorso);
    hull.taperX = 0.8f, hull.taperZ = 0.85f;
    Part& nose = s.AddBlock(Vector(0, 14.9f, 4.1f), Vector(2.8f, 1.8f, 1.0f), Paint::Hull, kTorso);
    nose.taperX = 0.75f;
    s.AddBlock(Vector(0, 16.05f, 4.62f), Vector(2.2f, 0.32f, 0.14f), Paint::Emitter, kTorso);
    s.AddBlock(Vector(0, 18.45f, -0.4f), Vector(2.2f, 0.12f, 2.2f), Paint::Mark, kTorso);
    s.AddBlock(Vector(0, 15.2f, -4.3f), Vector(2.8f, 2.2f, 0.9f), Paint::Dark, kTorso);
    s.AddPrism(Vector(2.0f, 19.6f, -2.0f), Vector(0, 1, 0), 0.15f, 1.4f, 6, Paint::Dark, kTorso);
    Pair(s, s.AddBlock(Vector(4.8f, 16.2f, 0), Vector(0.9f, 1.5f, 1.6f), Paint::Trim, kTorso), kTorso);
    // The right gun; its muzzle at z = 9 in front of its bone.
    Pair(s, s.AddBlock(Vector(7, 16, 1.2f), Vector(1.1f, 1.2f, 2.6f), Paint::Hull, kGunRight), kGunLeft);
    Pair(s, s.AddPrism(Vector(7, 16.2f, 6.0f), Vector(0, 0, 1), 0.45f, 2.6f, 6, Paint::Dark, kGunRight), kGunLeft);
    Pair(s, s.AddPrism(Vector(7, 16.2f, 8.6f), Vector(0, 0, 1), 0.62f, 0.3f, 6, Paint::Dark, kGunRight), kGunLeft);
    Pair(s, s.AddBlock(Vector(7, 17.28f, 0.8f), Vector(0.8f, 0.08f, 1.8f), Paint::Mark, kGunRight), kGunLeft);
    // The right leg: thigh forward to the knee, shin back to the ankle.
    Part thigh;
    thigh.centre = Vector(3.6f, 8.8f, 1.0f), thigh.half = Vector(1.1f, 2.6f, 1.3f), thigh.bone = kLegRight;
    Lean(thigh, -24.0f);
    Pair(s, s.Add(thigh), kLegLeft);
    Pair(s, s.AddPrism(Vector(3.6f, 6.6f, 2.0f), Vector(1, 0, 0), 1.0f, 1.25f, 6, Paint::Dark, kLegRight), kLegLeft);
    Part shin;
    shin.centre = Vector(3.6f, 4.1f, 0.6f), shin.half = Vector(0.95f, 2.9f, 1.1f), shin.bone = kLegRight;
    shin.paint = Paint::Trim;
    Lean(shin, 29.0f);
    Pair(s, s.Add(shin), kLegLeft);
    Pair(s, s.AddPrism(Vector(3.6f, 1.5f, -0.8f), Vector(1, 0, 0), 0.7f, 0.9f, 6, Paint::Dark, kLegRight), kLegLeft);
    Part& foot = s.AddBlock(Vector(3.6f, 0.55f, 0.9f), Vector(1.5f, 0.55f, 2.6f), Paint::Dark, kLegRight);
    foot.taperX = 0.8f;
    Pair(s, foot, kLegLeft);
    Pair(s, s.AddBlock(Vector(3.6f, 0.35f, 3.8f), Vector(1.2f, 0.35f, 0.5f), Paint::Dark, kLegRight), kLegLeft);
    return s;
}

// The bastion: broad and squat, a top-heavy hull between massive
// shoulders, a short-barrelled cannon under each, a missile pod on its back.
ModelSketch HeavySketch() {
    enum { kHips, kTorso, kGunLeft, kGunRight, kLegLeft, kLegRight, kLauncher };
    ModelSketch s("heavy_mech");
    s.AddBlock(Vector(0, 13.6f, 0), Vector(4.6f, 1.6f, 3.0f), Paint::Dark, kHips);
    Part skirt;
    skirt.centre = Vector(0, 12.6f, 3.3f), skirt.half = Vector(3.8f, 1.8f, 0.35f), skirt.bone = kHips;
    Lean(skirt, -15.0f);
    s.Add(skirt);
    Part& hull = s.AddBlock(Vector(0, 20.2f, -0.3f), Vector(6.4f, 4.2f, 5.0f), Paint::Hull, kTorso);
    hull.taperX = 1.12f, hull.taperZ = 0.9f;
    Part chest;
    chest.centre = Vector(0, 19.4f, 4.75f), chest.half = Vector(4.6f, 2.8f, 0.45f), chest.bone = kTorso;
    chest.paint = Paint::Trim;
    Lean(chest, -8.0f);
    s.Add(chest);
    s.AddBlock(Vector(0, 22.9f, 4.38f), Vector(2.8f, 0.35f, 0.14f), Paint::Emitter, kTorso);
    s.AddBlock(Vector(0, 24.7f, 0), Vector(3.2f, 0.5f, 3.2f), Paint::Dark, kTorso);
    Part& shoulder = s.AddBlock(Vector(8.6f, 22.6f, 0), Vector(2.2f, 2.0f, 3.6f), Paint::Hull, kTorso);
    shoulder.taperX = 0.85f;
    Pair(s, shoulder, kTorso);
    Pair(s, s.AddBlock(Vector(8.6f, 24.66f, 0), Vector(1.6f, 0.08f, 2.9f), Paint::Mark, kTorso), kTorso);
    Pair(s, s.AddPrism(Vector(3.4f, 24.5f, -5.4f), Vector(0, 1, 0), 0.65f, 1.6f, 6, Paint::Dark, kTorso), kTorso);
    // The right cannon; its muzzle at z = 12 in front of its bone.
    Pair(s, s.AddBlock(Vector(9.5f, 19.4f, 2.4f), Vector(1.7f, 1.8f, 3.6f), Paint::Dark, kGunRight), kGunLeft);
    Pair(s, s.AddBlock(Vector(9.5f, 21.25f, 2.4f), Vector(1.3f, 0.08f, 2.6f), Paint::Hazard, kGunRight), kGunLeft);
    Pair(s, s.AddPrism(Vector(9.5f, 19.6f, 8.6f), Vector(0, 0, 1), 0.8f, 3.0f, 6, Paint::Dark, kGunRight), kGunLeft);
    Pair(s, s.AddPrism(Vector(9.5f, 19.6f, 11.4f), Vector(0, 0, 1), 1.05f, 0.45f, 6, Paint::Dark, kGunRight), kGunLeft);
    // The right leg.
    Pair(s, s.AddBlock(Vector(5.2f, 10.6f, 0.2f), Vector(2.3f, 3.0f, 2.5f), Paint::Hull, kLegRight), kLegLeft);
    Pair(s, s.AddBlock(Vector(5.2f, 7.4f, 2.3f), Vector(1.9f, 1.5f, 0.9f), Paint::Trim, kLegRight), kLegLeft);
    Part& shin = s.AddBlock(Vector(5.2f, 4.5f, 0), Vector(2.1f, 2.8f, 2.3f), Paint::Hull, kLegRight);
    shin.taperX = 0.85f, shin.taperZ = 0.85f;
    Pair(s, shin, kLegLeft);
    Pair(s, s.AddPrism(Vector(5.2f, 7.5f, -2.6f), Vector(0, 1, 0), 0.45f, 2.6f, 6, Paint::Dark, kLegRight), kLegLeft);
    Part& foot = s.AddBlock(Vector(5.2f, 0.85f, 0.9f), Vector(3.0f, 0.85f, 4.0f), Paint::Dark, kLegRight);
    foot.taperX = 0.85f, foot.taperZ = 0.8f;
    Pair(s, foot, kLegLeft);
    // The missile pod, six tubes facing forwards.
    s.AddBlock(Vector(0, 27.6f, -2.0f), Vector(4.0f, 2.0f, 3.4f), Paint::Hull, kLauncher);
    s.AddBlock(Vector(0, 27.6f, -2.0f), Vector(4.08f, 0.5f, 3.0f), Paint::Hazard, kLauncher);
    for (float x : {-2.4f, 0.0f, 2.4f})
        for (float y : {27.0f, 28.3f}) s.AddBlock(Vector(x, y, 1.45f), Vector(0.45f, 0.45f, 0.12f), Paint::Glass, kLauncher);
    return s;
}

Livery EnemyLivery(bool elite, float panel, unsigned seed) {
    using namespace palette;
    Livery livery{elite ? kEnemyEliteHull : kEnemyHull, elite ? kEnemyEliteMark : kEnemyMark,
                  elite ? Scale(kMetalDark, 0.8f) : kMetalDark, elite ? kEnemyEliteMark : kEnemyMark};
    livery.panel = panel;
    livery.dust = 0.55f;
    livery.dustHeight = 5.0f;
    livery.seed = seed;
    return livery;
}

MechSpec MediumMech() {
    return {"medium_mech",
            {{"hips", -1, Vector(0, 11, 0)},
             {"torso", 0, Vector(0, 13, 0)},
             {"gun_left", 1, Vector(-7, 16, 0)},
             {"gun_right", 1, Vector(7, 16, 0)},
             {"leg_left", 0, Vector(-3.5f, 11, 0)},
             {"leg_right", 0, Vector(3.5f, 11, 0)}},
            MediumSketch, EnemyLivery(false, 2.2f, 1), EnemyLivery(true, 2.2f, 2)};
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
            HeavySketch, EnemyLivery(false, 3.0f, 3), EnemyLivery(true, 3.0f, 4)};
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

// The mesh, its two liveries ("<name>.png" and "<name>_super.png"), the
// skeleton and the animations.
bool WriteMech(const std::string& runDir, const MechSpec& spec) {
    ModelSketch sketch = spec.sketch();
    const Mesh mesh = sketch.Finish(kAtlasSize);
    const Occlusion occlusion = BakeOcclusion(sketch, 7.0f, true);
    const std::string textures = paths::kTextures;
    if (!WriteMesh(runDir, spec.name, mesh) || !WriteSkeleton(runDir, spec.name, BuildSkeleton(spec)) ||
        !WriteImage(runDir, textures + spec.name + ".png", PaintAtlas(sketch, occlusion, spec.regular)) ||
        !WriteImage(runDir, textures + spec.name + "_super.png", PaintAtlas(sketch, occlusion, spec.elite)))
        return false;
    for (const AnimSpec& anim : MechAnimations())
        if (!WriteAnimation(runDir, BuildAnimation(spec, anim))) return false;
    return true;
}

}  // namespace

bool GenerateMechs(const std::string& runDir) {
    return WriteMech(runDir, MediumMech()) && WriteMech(runDir, HeavyMech());
}
