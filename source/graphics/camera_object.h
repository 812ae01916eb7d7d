// CameraObject: the one camera the scene is seen through, held by value by the
// ObjectManager as cameraObject. A plain record: the game flow steers it by
// writing mode, target, distance, pitch and yaw; viewMat is the world-to-eye
// matrix (column-major) that the frame rebuilds from those fields.
//
// Threads: changed on the main thread, or by a thread holding the object lock.
// This header holds the fields only; the view rebuild belongs to the renderer.
#pragma once

#include "geom/geom.h"

class CameraObject {
public:
    // 0: the eye stands at target; 1: the eye orbits target at distance;
    // any other value: the view has no translation.
    int mode = 1;
    Vector target;           // the point stood on (mode 0) or looked at (mode 1)
    float distance = 0.0f;   // orbit distance from target (mode 1)
    float pitch = 0.0f;      // radians; positive looks downwards
    float yaw = 0.0f;        // radians about the world's y axis
    Matrix viewMat;          // world to eye; identity until the first frame
};
