#include "collision_manager/snapshot.h"

#include <atomic>
#include <cmath>

#include "object_manager.h"
#include "objects/components.h"
#include "system.h"

namespace {

void CopyObject(const GameObject& object, const CollisionComp& shape, CollisionProxy& proxy) {
    proxy.objNum = object.objNum;
    proxy.name = object.name;  // reuses the proxy's storage
    proxy.category = shape.category;
    proxy.collidesWith = shape.collidesWith;
    proxy.isShot = object.HasComp(CompIndex::Bullet);
    const PhysicsComp* physics = object.GetPhysicsComp();
    proxy.hasPhysics = physics != nullptr;
    // A shot without a PhysicsComp is swept with no motion.
    proxy.linearVel = physics ? physics->linearVel : Vector();
    proxy.resolveContact = shape.resolveContact;
    proxy.canBePicked = shape.canBePicked;
    proxy.hasBoundSphere = shape.hasBoundSphere;
    proxy.hasOBB = shape.hasOBB;
    proxy.hasAABB = shape.hasAABB;
    proxy.trans = object.trans;
    proxy.rot = object.rot;
    proxy.boundSphere = shape.boundSphere;
    proxy.sphereCenter = object.rot.Rotate(shape.boundSphere.center) + object.trans;
    proxy.obb = shape.obb;
    proxy.aabb = shape.aabb;
}

}  // namespace

bool IsFinite(const Vector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

bool IsFinite(const Quaternion& q) { return std::isfinite(q.s) && IsFinite(q.v); }

bool IsFinite(const CollisionProxy& p) {
    const bool boxes = (!p.hasOBB || (IsFinite(p.obb.center) && IsFinite(p.obb.extents) && IsFinite(p.obb.rot))) &&
                       (!p.hasAABB || (IsFinite(p.aabb.center) && IsFinite(p.aabb.extents)));
    return boxes && IsFinite(p.trans) && IsFinite(p.rot) && IsFinite(p.linearVel) && IsFinite(p.sphereCenter) &&
           std::isfinite(p.boundSphere.radius);
}

void CollisionSnapshot::Take(ObjectManager& objects) {
    size_t count = 0;
    {
        ObjectLock guard(objects);
        if (proxies.size() < objects.gameObjectList.size()) proxies.resize(objects.gameObjectList.size());
        for (const auto& entry : objects.gameObjectList) {
            const GameObject& object = entry.second;
            const CollisionComp* shape = object.GetCollisionComp();
            if (object.isDead || !shape) continue;
            CollisionProxy& proxy = proxies[count];
            CopyObject(object, *shape, proxy);
            if (IsFinite(proxy))
                ++count;
            else
                WarnNotFinite(proxy);
        }
    }
    proxies.resize(count);
    static std::atomic<unsigned> copiesTaken{0};
    generation = ++copiesTaken;
}

void CollisionSnapshot::WarnNotFinite(const CollisionProxy& proxy) {
    if (!warnedNotFinite.insert(proxy.objNum).second) return;
    Module<System>::Instance()->Warning(SOURCE_POS + "object " + proxy.name + " (" +
                                       std::to_string(proxy.objNum) +
                                       ") has a position or volume that is not finite; it is left out of collision\n");
}
