// Mouse picking: with the right button held, the object under the cursor is
// dragged in a plane that faces the camera, keeping the grabbed point under
// the cursor. The hits come from the collision thread one frame late: each
// call aims the ray that the next frame's hits answer.
#include <algorithm>
#include <string>
#include <vector>

#include "collision_manager.h"
#include "input_manager.h"
#include "object_manager.h"
#include "system.h"

namespace {

// A homogeneous point divided by its own w; left as it is when w is 0, so a
// degenerate projection never yields a ray of not-a-numbers.
Vector Dehomogenize(const Vector& p) { return p.w == 0.0f ? p : p * (1.0f / p.w); }

bool NearerHit(const RayIntersectRecord& a, const RayIntersectRecord& b) {
    return a.rayParam < b.rayParam;
}

}  // namespace

void ObjectManager::PickObject(PickState& state) {
    if (!Module<InputManager>::Instance()->IsKeyDown(InputManager::kMouseRight))
        state.dragging = false;
    else if (!state.dragging)
        StartDrag(state);
    else
        DragPickedObject(state);
    AimPickRay(state);
}

void ObjectManager::StartDrag(PickState& state) {
    const std::vector<RayIntersectRecord> hits =
        Module<CollisionManager>::Instance()->GetRayIntersectRecords();
    if (hits.empty()) {
        ObjectLock guard(*this);
        selectedObject.clear();
        return;
    }
    // The first of the nearest hits, as a stable sort would put it.
    const RayIntersectRecord& nearest = *std::min_element(hits.begin(), hits.end(), NearerHit);
    state.lastPickRecord = nearest;
    state.dragPlane = Plane(state.viewAxis, nearest.intersectPoint);
    state.dragging = true;
    Module<System>::Instance()->Log("lastPickRecord.objNum = " + std::to_string(nearest.objNum) +
                                    "\n");
}

void ObjectManager::DragPickedObject(PickState& state) {
    float t = 0.0f;
    Vector cursorPoint;
    const bool onPlane = RayPlaneIntersect(state.pickRay, state.dragPlane, t, cursorPoint);
    const RayIntersectRecord& grab = state.lastPickRecord;
    // The existence test and the move happen under one hold: another thread
    // may remove the object between frames.
    ObjectLock guard(*this);
    const GameObjectList::iterator picked = gameObjectList.find(grab.objNum);
    if (!onPlane || picked == gameObjectList.end()) {
        selectedObject.clear();
        return;
    }
    picked->second.trans = cursorPoint + (grab.objPos.trans - grab.intersectPoint);
    selectedObject = picked->second.name;
}

// The ray through the cursor: the near and far points of the cursor's
// normalised device position, taken back through the projection and the view.
void ObjectManager::AimPickRay(PickState& state) {
    Matrix eyeToWorld;
    Matrix unprojection;
    {
        // The camera may be written by a script holding the lock elsewhere.
        ObjectLock guard(*this);
        eyeToWorld = cameraObject.viewMat;
        unprojection = invPerspectMat;
    }
    Vector viewAxis = eyeToWorld.VecFromRow(2);
    viewAxis.w = 0.0f;
    eyeToWorld.SpecialOrthoInv();
    const Matrix toWorld = eyeToWorld * unprojection;
    const Vector cursor = Module<InputManager>::Instance()->GetMousePosition();
    const Vector nearPoint = Dehomogenize(toWorld * Vector(cursor.x, cursor.y, 0.0f, 1.0f));
    const Vector farPoint = Dehomogenize(toWorld * Vector(cursor.x, cursor.y, 1.0f, 1.0f));
    state.pickRay = Ray((farPoint - nearPoint).Norm(), nearPoint);
    Module<CollisionManager>::Instance()->SetCurrentPickRay(state.pickRay);
    state.viewAxis = viewAxis;
}
