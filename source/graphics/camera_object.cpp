#include "graphics/camera_object.h"

#include <cmath>

#include "system.h"

namespace {

// A script can write any number into the camera; one that is not finite would
// make every matrix of the frame not a number.
void ResetIfNotFinite(float& value, const char* name) {
    if (std::isfinite(value)) return;
    Module<System>::Instance()->Warning(std::string("camera ") + name + " is not a finite number; reset to 0");
    value = 0.0f;
}

}  // namespace

void CameraObject::Update() {
    ResetIfNotFinite(pitch, "pitch");
    ResetIfNotFinite(yaw, "yaw");
    ResetIfNotFinite(distance, "distance");
    if (pitch < -kPitchLimit)
        pitch = -kPitchClamp;
    else if (pitch > kPitchLimit)
        pitch = kPitchClamp;
    if (distance < kMinDistance) distance = kMinDistance;

    viewMat.Zero();
    const float cosPitch = std::cos(pitch);
    const Vector toEye(std::sin(yaw) * cosPitch, std::sin(pitch), std::cos(yaw) * cosPitch, 0.0f);
    const Vector forward = toEye * -1.0f;
    Vector right(-forward.z, 0.0f, forward.x, 0.0f);
    right.Normalize();
    const Vector up = Cross(right, forward);
    viewMat.RowFromVec(0, right);
    viewMat.RowFromVec(1, up);
    viewMat.RowFromVec(2, toEye);
    if (mode == 0 || mode == 1) {
        const Vector eye = mode == 0 ? target : target + toEye * distance;
        viewMat.m[3][0] = -(right * eye);
        viewMat.m[3][1] = -(up * eye);
        viewMat.m[3][2] = -(toEye * eye);
    }
    viewMat.m[3][3] = 1.0f;
}

Vector CameraObject::GetRight() const { return Vector(viewMat.m[0][0], viewMat.m[1][0], viewMat.m[2][0], 0.0f); }

Vector CameraObject::GetView() const { return Vector(viewMat.m[0][2], viewMat.m[1][2], viewMat.m[2][2], 0.0f); }

Matrix CameraObject::GetInvViewMatrix() const {
    Matrix inverse = viewMat;
    inverse.SpecialOrthoInv();
    return inverse;
}
