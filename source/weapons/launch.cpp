// Muzzles and aiming: where a projectile leaves from, in which direction and
// turned which way.
#include "weapons/launch.h"

#include <cmath>
#include <mutex>
#include <set>

#include "geom/scalar.h"
#include "module.h"
#include "object_manager.h"
#include "objects/graphics_comps.h"
#include "system.h"
#include "weapons.h"

namespace weapons {
namespace {

const Vector kUp(0.0f, 1.0f, 0.0f);
const Vector kViewAxis(0.0f, 0.0f, -1.0f);  // the camera looks along its -z
// A target closer to the muzzle than this gives no direction to fly in.
const float kAtMuzzle = 1e-6f;
// Below this length the cross product of two unit vectors gives no axis.
const float kParallel = 1e-6f;

bool IsFinite(const Vector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

// The camera's orientation in the world: the rotation of the inverse view.
Quaternion CameraRotation(const Matrix& viewMat) {
    Matrix eyeToWorld = viewMat;
    eyeToWorld.SpecialOrthoInv();
    return MatrixToQuatVec(eyeToWorld).rot;
}

// The rotation that carries the unit vector from onto the unit vector to.
// Parallel vectors give the identity; opposite ones a half turn about world
// up, which is perpendicular to both reference axes (+x and +z).
Quaternion RotationOnto(const Vector& from, const Vector& to) {
    const float cosAngle = ClampFloat(from * to, -1.0f, 1.0f);
    Vector axis = Cross(from, to);
    if (axis.Mag() < kParallel) {
        if (cosAngle > 0.0f) return Quaternion(1.0f);
        axis = kUp;
    } else {
        axis = axis.Norm();
    }
    const float half = std::acos(cosAngle) * 0.5f;
    return Quaternion(std::cos(half), axis * std::sin(half));
}

bool FirstTime(const std::string& message) {
    static std::mutex mutex;
    static std::set<std::string> given;
    std::lock_guard<std::mutex> guard(mutex);
    return given.insert(message).second;
}

}  // namespace

bool LocateMuzzle(const Weapon& weapon, int index, Muzzle& muzzle, std::string& reason) {
    if (index < 0 || index >= static_cast<int>(weapon.hotspots.size())) {
        reason = "has no hot spot " + std::to_string(index);
        return false;
    }
    const HotSpot& spot = weapon.hotspots[static_cast<size_t>(index)];
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    if (!objects.HasGameObject(weapon.owner)) {
        reason = "has an owner that is not in the world";
        return false;
    }
    const GameObject& owner = *objects.GetGameObject(weapon.owner);
    if (spot.boneName == Weapon::kCameraMuzzle) {
        muzzle.onCamera = true;
        muzzle.cameraRot = CameraRotation(objects.cameraObject.viewMat);
        muzzle.position = owner.trans + muzzle.cameraRot.Rotate(spot.offset);
        return true;
    }
    const GraphicsComp* graphics = owner.GetGraphicsComp();
    if (!graphics) {
        reason = "has a bone muzzle on an owner without graphics";
        return false;
    }
    // The bone's place only: the muzzle's offset does not turn with the bone.
    const Vector bone = graphics->skeleton.GetBoneTransform(spot.boneName).trans;
    muzzle.onCamera = false;
    muzzle.position = owner.trans + owner.rot.Rotate(spot.offset + bone * graphics->modelScale);
    return true;
}

Launch Aim(const Muzzle& muzzle, const Vector& v, float speed, const Vector& reference) {
    Launch launch;
    launch.position = muzzle.position;
    Vector direction = v;
    Quaternion frame(1.0f);
    if (muzzle.onCamera) {
        frame = muzzle.cameraRot;
    } else {
        const Vector toTarget(v.x - muzzle.position.x, v.y - muzzle.position.y, v.z - muzzle.position.z, 0.0f);
        const float length = toTarget.Mag();
        if (!(length >= kAtMuzzle) || !std::isfinite(length)) return launch;
        direction = toTarget * (1.0f / length);
    }
    const Vector velocity = direction * speed;
    if (!IsFinite(velocity)) return launch;
    launch.velocity = velocity;
    // A camera projectile is turned onto the view axis in the camera's frame.
    launch.rot = muzzle.onCamera ? frame * RotationOnto(reference, kViewAxis) : RotationOnto(reference, direction);
    launch.aimed = true;
    return launch;
}

Vector TurnAboutUp(const Vector& v, float angle) {
    const float half = angle * 0.5f;
    return Quaternion(std::cos(half), kUp * std::sin(half)).Rotate(v);
}

std::vector<Vector> VolleyVelocities(const Weapon& weapon, const Vector& centre) {
    std::vector<Vector> velocities{centre};
    const int num = weapon.num;
    const bool fan = weapon.uniformSpread && num > 1 && num % 2 == 1 && weapon.spreadHorizontal != 0.0f &&
                     weapon.spreadVertical == 0.0f;
    if (!fan) return velocities;
    const float step = weapon.spreadHorizontal / static_cast<float>(num - 1);
    const int k = (num - 1) / 2;
    for (float sign : {1.0f, -1.0f})
        for (int i = 1; i <= k; ++i) velocities.push_back(TurnAboutUp(centre, sign * static_cast<float>(i) * step));
    return velocities;
}

void ErrorOnce(const std::string& message) {
    if (FirstTime(message)) Module<System>::Instance()->Error(message);
}

void WarnOnce(const std::string& message) {
    if (FirstTime(message)) Module<System>::Instance()->Warning(message);
}

}  // namespace weapons
