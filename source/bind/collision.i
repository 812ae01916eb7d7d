// Collision for scripts: the CollisionManager's published contacts and ray
// hits, its picking ray, the volume builders under the manager's method
// names, and the records of the collision pass (spans, buckets, contacts,
// the separating-axis work record), which scripts may build and read.
//
// Threads: the pick ray and the published results have their own lock inside
// the manager; the volume builders change one object and need the object
// lock when that object is registered.
%{
#include "collision_manager.h"
#include "collision_manager/volumes.h"
#include "collision_manager/ray_intersect_record.h"
#include "collision_manager/records.h"
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

struct Span {
    Span(float min = 0.0f, float max = 0.0f);
    virtual ~Span();
    float min;
    float max;
};

struct ObjectSpan : public Span {
    ObjectSpan(unsigned int objNum = 0, unsigned int category = 0, unsigned int collidesWith = 0,
               float min = 0.0f, float max = 0.0f);
    unsigned objNum;
    unsigned category;
    unsigned collidesWith;
};

struct CollisionBucket {
    CollisionBucket();
    unsigned objNum;
    std::vector<unsigned int> collideList;
    unsigned category;
    unsigned collidesWith;
};

// Every field but resolveContact, which only physics reads.
struct CollisionEvent {
    CollisionEvent();
    double time;
    unsigned objA;
    unsigned objB;
    Vector transA;
    Vector transB;
    Quaternion rotA;
    Quaternion rotB;
    float depth;
    Vector contactPoint;
    Vector contactA;
    Vector contactB;
    Vector contactNormal;
};

%template(vector_CollisionEvent) std::vector<CollisionEvent>;

%quell_read_as_copy(SATData, axes)
struct SATData {
    SATData();
    int commonFrameName;
    QuatVec commonFrame;
    VectorSet axes;
    std::vector<Vector> vertsA;
    std::vector<Vector> vertsB;
};

%template(Module_CollisionManager) Module<CollisionManager>;

// The singleton only: scripts never make or free a manager.
%nodefaultctor CollisionManager;
%nodefaultdtor CollisionManager;
class CollisionManager : public Module<CollisionManager> {
public:
    void Init();
    void Update();
    void Kill();
    void GenerateBoundingSphere(GameObject& object);
    void GenerateAxesFromMesh(GameObject& object);
    std::vector<CollisionEvent> GetCollisionEvents() const;
    std::vector<CollisionEvent> GetObjectCollisionEvents(unsigned objNum) const;
    AABB BuildAABB(const Mesh& mesh, float scale);
    OBB BuildOBB(const Mesh& mesh, float scale);
    std::vector<ConvexPolygon> BuildCollisionMesh(const Mesh& mesh, float scale);
    std::vector<RayIntersectRecord> GetRayIntersectRecords() const;
    Ray GetCurrentPickRay() const;
    void SetCurrentPickRay(const Ray& ray);
    std::vector<Vector> TransformVerts(const std::vector<Vector>& verts, const QuatVec& q);
};
