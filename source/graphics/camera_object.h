// CameraObject: the one camera the scene is seen through, held by value by the
// ObjectManager as cameraObject. A plain record: the game flow steers it by
// writing mode, target, distance, pitch and yaw; viewMat is the world-to-eye
// matrix (column-major) that the frame rebuilds from those fields.
//
// Threads: changed on the main thread, or by a thread holding the object lock;
// the frame calls Update under that lock.
#pragma once

#include "geom/geom.h"

class CameraObject {
public:
    // The pitch limit tested, the single-precision value nearest pi/2 (just
    // above it), and the value a pitch beyond it is set to (just below it).
    static constexpr float kPitchLimit = 1.5707964f;
    static constexpr float kPitchClamp = 1.5707963f;
    static constexpr float kMinDistance = 1e-7f;

    // Clamps pitch and distance in place and rebuilds viewMat: a look-at view
    // from the eye along (-sin(yaw) cos(pitch), -sin(pitch), -cos(yaw)
    // cos(pitch)) with the world's y axis up. A pitch, yaw or distance that is
    // not a finite number is reset to 0 first, with one warning each time.
    void Update();
    // Rows 0 and 2 of viewMat's rotation (w = 0): the camera's right axis and
    // its backward axis, in world coordinates.
    Vector GetRight() const;
    Vector GetView() const;
    // viewMat inverted as a rigid transform: the camera's placement in the world.
    Matrix GetInvViewMatrix() const;

    // 0: the eye stands at target; 1: the eye orbits target at distance;
    // any other value: the view has no translation.
    int mode = 1;
    Vector target;           // the point stood on (mode 0) or looked at (mode 1)
    float distance = 0.0f;   // orbit distance from target (mode 1)
    float pitch = 0.0f;      // radians; positive looks downwards
    float yaw = 0.0f;        // radians about the world's y axis
    Matrix viewMat;          // world to eye; identity until the first frame
};
