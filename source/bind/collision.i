// Collision for scripts: the CollisionManager's picking ray and published ray
// hits, and the volume builders of the collision volumes under the manager's
// method names. The broad and narrow phases and their records join this file
// with the collision module itself.
//
// Threads: the pick ray and the published hits have their own lock inside
// the manager; the volume builders change one object and need the object
// lock when that object is registered.
%{
#include "collision_manager.h"
#include "collision_volumes.h"
#include "collision_manager/ray_intersect_record.h"
%}

struct RayIntersectRecord {
    RayIntersectRecord();
    double time;
    float rayParam;
    unsigned objNum;
    Vector intersectPoint;
    QuatVec objPos;
};

%template(vector_RayIntersectRecord) std::vector<RayIntersectRecord>;

// One face of a collision mesh: opaque, in a list scripts can count.
%nodefaultctor ConvexPolygon;
struct ConvexPolygon {};
%template(vector_ConvexPolygon) std::vector<ConvexPolygon>;

%template(Module_CollisionManager) Module<CollisionManager>;

// The singleton only: scripts never make or free a manager.
%nodefaultctor CollisionManager;
%nodefaultdtor CollisionManager;
class CollisionManager : public Module<CollisionManager> {
public:
    void Init();
    void Update();
    void Kill();
    std::vector<RayIntersectRecord> GetRayIntersectRecords() const;
    Ray GetCurrentPickRay() const;
    void SetCurrentPickRay(const Ray& ray);
};

%extend CollisionManager {
    void GenerateBoundingSphere(GameObject& object) { collision::GenerateBoundingSphere(object); }
    void GenerateAxesFromMesh(GameObject& object) { collision::GenerateAxesFromMesh(object); }
    AABB BuildAABB(const Mesh& mesh, float scale) { return collision::BuildAABB(mesh, scale); }
    OBB BuildOBB(const Mesh& mesh, float scale) { return collision::BuildOBB(mesh, scale); }
    std::vector<ConvexPolygon> BuildCollisionMesh(const Mesh& mesh, float scale) {
        return collision::BuildCollisionMesh(mesh, scale);
    }
    std::vector<Vector> TransformVerts(const std::vector<Vector>& verts, const QuatVec& q) {
        return collision::TransformVerts(verts, q);
    }
}
