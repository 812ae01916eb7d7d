#include "gen_meshes.h"

#include <cmath>

#include "gen_shapes.h"
#include "model_files.h"

namespace {

const float kWhite[3] = {1.0f, 1.0f, 1.0f};
const int kDroneSegments = 3;       // one bone per segment, each 1 unit tall
const float kDroneHalfWidth = 0.25f;

Mesh BoxMesh() {
    MeshBuilder box("box");
    AddBox(box, Vector(0, 0, 0), Vector(0.5f, 0.5f, 0.5f), kWhite);
    return box.Finish();
}

// Rings at heights 0..3 blend between the bones of the segments they join.
void SkinByHeight(Vertex& vertex) {
    int ring = int(std::lround(vertex.v[1]));
    int lower = ring == 0 ? 0 : ring - 1;
    int upper = ring == kDroneSegments ? kDroneSegments - 1 : ring;
    vertex.boneIndex[0] = lower;
    vertex.boneIndex[1] = upper;
    bool shared = lower != upper;
    vertex.skinWeights[0] = shared ? 0.5f : 1.0f;
    vertex.skinWeights[1] = shared ? 0.5f : 0.0f;
    vertex.numWeights = shared ? 2 : 1;
}

Mesh DroneMesh() {
    MeshBuilder drone("drone");
    const Vector up(0, 1, 0);
    const Vector sides[4] = {Vector(1, 0, 0), Vector(-1, 0, 0), Vector(0, 0, 1), Vector(0, 0, -1)};
    for (int segment = 0; segment < kDroneSegments; ++segment)
        for (const Vector& side : sides)
            drone.Quad(side * kDroneHalfWidth + up * (segment + 0.5f), side, up, kDroneHalfWidth,
                       0.5f, kWhite, SkinByHeight);
    drone.Quad(Vector(0, 0, 0), up * -1, Vector(0, 0, 1), kDroneHalfWidth, kDroneHalfWidth, kWhite,
               SkinByHeight);
    drone.Quad(up * float(kDroneSegments), up, Vector(0, 0, -1), kDroneHalfWidth,
               kDroneHalfWidth, kWhite, SkinByHeight);
    return drone.Finish();
}

// A chain of bones, each 1 unit above its parent at rest.
Skeleton DroneSkeleton() {
    const char* names[kDroneSegments] = {"base", "mid", "head"};
    Skeleton skeleton;
    skeleton.name = "drone";
    skeleton.rootBone = 0;
    for (int i = 0; i < kDroneSegments; ++i) {
        Bone bone;
        bone.id = i;
        bone.name = names[i];
        if (i + 1 < kDroneSegments) bone.children.push_back(i + 1);
        bone.offsetMatrix.TranslateMat(0.0f, -float(i), 0.0f);  // inverse bind pose
        skeleton.boneList.push_back(bone);
    }
    return skeleton;
}

// Each bone swings from +swing to -swing and back over one loop.
AnimSet DroneAnimation(const std::string& name, float length, const Vector& axis,
                       const float swing[kDroneSegments]) {
    AnimSet set;
    set.name = name;
    for (int bone = 0; bone < kDroneSegments; ++bone) {
        AnimTrack track;
        track.length = length;
        const float angles[3] = {swing[bone], -swing[bone], swing[bone]};
        for (int k = 0; k < 3; ++k) {
            KeyFrame key;
            key.time = length * 0.5 * k;
            key.rot = AxisTurn(axis, angles[k]);
            key.trans = Vector(0.0f, bone == 0 ? 0.0f : 1.0f, 0.0f);
            track.keyFrames.push_back(key);
        }
        set.animTrackList.push_back(track);
    }
    return set;
}

}  // namespace

bool GenerateMeshes(const std::string& runDir) {
    const float idleSwing[kDroneSegments] = {0.0f, 4.0f, 6.0f};
    const float moveSwing[kDroneSegments] = {10.0f, 15.0f, 20.0f};
    return WriteMesh(runDir, "box", BoxMesh()) && WriteMesh(runDir, "drone", DroneMesh()) &&
           WriteSkeleton(runDir, "drone", DroneSkeleton()) &&
           WriteAnimation(runDir, DroneAnimation("drone_idle", 2.0f, Vector(0, 0, 1), idleSwing)) &&
           WriteAnimation(runDir, DroneAnimation("drone_move", 1.0f, Vector(1, 0, 0), moveSwing));
}
