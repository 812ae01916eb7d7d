// Objects and components: GameObject, the component kinds scripts build, and
// the weapons a WeaponComp carries.
//
// Components attached to a game object belong to it (and to their pools):
// Get*Comp and GetComponent return borrowed pointers that stay valid while
// the object holds the component. Clone results are owned by Lua, so a
// clone a script makes and drops is freed. Weapon slots own their weapons:
// writing a slot stores a clone of the given weapon and frees the old one,
// so the slot never shares a weapon with a Lua-owned value.
%{
#include "objects/components.h"
#include "objects/game_object.h"
#include "weapons.h"
%}

// Component kind numbers: a component's componentIndex, and the argument of
// GameObject:HasComp and GetComponent.
%nodefaultctor CompIndex;
%nodefaultdtor CompIndex;
struct CompIndex {
    enum Entry {
        None = 0, Behavior = 1, Billboard = 2, Bullet = 3, Collision = 4, Explosion = 5,
        Graphics = 6, Physics = 7, Stats = 8, Weapon = 9, Spawn = 10, Pickup = 11
    };
};

// Value types that scripts may only hold and pass back. Each is a class here
// only so that the copies scripts read are freed by the collector.
%nodefaultctor FSMStateMachine;
class FSMStateMachine {};
%nodefaultctor effectData;
struct effectData {};
%nodefaultctor VectorSet;
struct VectorSet {};
%nodefaultctor Skeleton;
struct Skeleton {};

%quell_read_as_copy(BehaviorComp, sm)
%quell_read_as_copy(BulletComp, groundEffect)
%quell_read_as_copy(BulletComp, mechEffect)
%quell_read_as_copy(BulletComp, expireEffect)
%quell_read_as_copy(BulletComp, buildingEffect)
%quell_read_as_copy(CollisionComp, edgeVectors)
%quell_read_as_copy(CollisionComp, faceNormals)
%quell_read_as_copy(GraphicsComp, skeleton)

%newobject *::Clone;

class Component {
public:
    virtual Component* Clone() const = 0;
    CompIndex::Entry componentIndex;
};

class BehaviorComp : public Component {
public:
    BehaviorComp();
    Component* Clone() const;
    FSMStateMachine sm;
};

class BulletComp : public Component {
public:
    BulletComp();
    Component* Clone() const;
    effectData groundEffect;
    effectData mechEffect;
    effectData expireEffect;
    effectData buildingEffect;
    int damage;
    int faction;
};

class CollisionComp : public Component {
public:
    CollisionComp();
    Component* Clone() const;
    bool hasBoundSphere;
    BoundingSphere boundSphere;
    bool hasSATInfo;
    VectorSet edgeVectors;
    VectorSet faceNormals;
    std::vector<Vector> meshVerts;
    bool hasOBB;
    OBB obb;
    bool canBePicked;
    unsigned category;
    unsigned collidesWith;
};

class Mesh;

class GraphicsComp : public Component {
public:
    GraphicsComp();
    Component* Clone() const;
    Mesh* GetMesh();
    Matrix GetScaleMatrix() const;
    float modelScale;
    Handle modelMesh;
    Skeleton skeleton;
};

class PhysicsComp : public Component {
public:
    PhysicsComp();
    Component* Clone() const;
    Vector angularVel;
    Vector linearVel;
    Vector forceAccum;
    Vector torqueAccum;
    float mass;
    Matrix inertialTensor;
};

class StatsComp : public Component {
public:
    StatsComp();
    StatsComp(int health, float speed, float armor, float boost, int magic);
    Component* Clone() const;
    int healthMax;
    float speed;
    float armor;
    float boost;
    int magic;
    float shield;
    int hp;
    int mp;
    float sp;
    float bp;
};

class Weapon;

// SWIG would hand the given weapon's ownership to the slot; the slot takes a
// clone instead, so the script's weapon stays owned by Lua.
%typemap(in, checkfn="lua_isuserdata") Weapon* primary, Weapon* secondary
%{ if (!SWIG_IsOK(SWIG_ConvertPtr(L, $input, (void**)&$1, $descriptor, 0)) || !$1) {
     SWIG_fail_ptr("$symname", $argnum, $descriptor);
   } %}
%typemap(memberin) Weapon* primary, Weapon* secondary
%{ {
    Weapon* stored = $input->Clone();
    delete $1;
    $1 = stored;
  } %}

class WeaponComp : public Component {
public:
    WeaponComp();
    Component* Clone() const;
    Weapon* primary;
    Weapon* secondary;
};

struct HotSpot {
    std::string boneName;
    Vector offset;
};

%nodefaultctor Weapon;
class Weapon {
public:
    virtual Weapon* Clone() const = 0;
    virtual void Fire(Vector dir) = 0;
    virtual void BeginHold() = 0;
    virtual void EndHold() = 0;
    void AddHotSpot(float x, float y, float z, std::string bone);
    float spreadHorizontal;
    float spreadVertical;
    float speed;
    float rate;
    double expire;
    int num;
    float baseDamage;
    std::string bulletName;
    std::vector<HotSpot> hotspots;
    bool alternate;
    bool uniformSpread;
    double holdTime;
    std::string owner;
};

class SimpleSpread : public Weapon {
public:
    SimpleSpread();
    Weapon* Clone() const;
    void Fire(Vector dir);
    void BeginHold();
    void EndHold();
};

class GameObject {
public:
    GameObject();
    GameObject(const GameObject& other);
    GameObject(const std::string& name);

    Matrix GetMatrix() const;
    Matrix GetInvMatrix() const;
    void AttachComponent(const Component& comp);
    Component* GetComponent(CompIndex::Entry index) const;
    PhysicsComp* GetPhysicsComp() const;
    GraphicsComp* GetGraphicsComp() const;
    WeaponComp* GetWeaponComp() const;
    CollisionComp* GetCollisionComp() const;
    BehaviorComp* GetBehaviorComp() const;
    StatsComp* GetStatsComp() const;
    bool HasComp(CompIndex::Entry index) const;

    std::string name;
    Vector trans;
    Quaternion rot;
    bool isDead;
};
