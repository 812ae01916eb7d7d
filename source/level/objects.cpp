// Level::CreateObject: one placed object of a level file made into a
// registered, stamped game object with collision volumes.
#include <cctype>
#include <stdexcept>

#include "collision_manager/volumes.h"
#include "level.h"
#include "object_factory.h"
#include "object_manager.h"
#include "objects/collision_comp.h"
#include "objects/graphics_comps.h"
#include "resource_manager.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }

// The number after the pattern name in an object's name ("Crate12" of
// pattern "Crate" gives 12): its leading digits, 0 when there are none.
// False, with a warning, for a number above the limit.
bool NameNumber(const LevelObjectRecord& record, unsigned& number) {
    number = 0;
    const std::string& name = record.name;
    for (size_t at = record.patternName.size(); at < name.size() && std::isdigit((unsigned char)name[at]); ++at) {
        number = number * 10 + unsigned(name[at] - '0');
        if (number > Level::kMaxNameNumber) {
            Sys().Warning(SOURCE_POS + "level object " + name +
                          ": its number is too large to reserve; names made later may repeat it\n");
            return false;
        }
    }
    return true;
}

// Moves the object-name counter past the record's number, so that names
// made later by MakeObjectName never repeat a level object's name.
void ReserveNameNumber(const LevelObjectRecord& record) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    unsigned counter = store.GetObjectNum();
    unsigned number = 0;
    if (!NameNumber(record, number)) return;
    while (counter < number) counter = store.GetObjectNum();
}

// Every placed object can be picked and has an oriented box when it has a
// mesh to build one from.
void EnsureCollision(GameObject& object) {
    // Objects without a mesh (spawn points and the like) get no box from it.
    const Mesh* mesh = collision::ObjectMesh(object);
    if (!object.GetCollisionComp()) {
        object.AttachComponent(CollisionComp());
        if (mesh) collision::GenerateBoundingSphere(object);
    }
    CollisionComp& comp = *object.GetCollisionComp();
    if (!comp.hasOBB && mesh) {
        comp.hasOBB = true;
        comp.obb = collision::BuildOBB(*mesh, object.GetGraphicsComp()->modelScale);
    }
    comp.canBePicked = true;
}

// Stamps the registered object under the object lock. A pattern lacking a
// parameter leaves the object as far as it got, with an error.
void StampRegistered(const LevelObjectRecord& record, const ObjectPattern& pattern) {
    ObjectLock lock;
    try {
        GameObject& object = *Module<ObjectManager>::Instance()->GetGameObject(record.name);
        ObjectFactory::StampObject(object, pattern);
        object.name = record.name;
        EnsureCollision(object);
    } catch (const ParamTypeError& error) {
        Sys().Error(SOURCE_POS + "level object " + record.name + ": pattern " + record.patternName +
                    " lacks the parameter \"" + error.ParamKey() + "\" (or has another type)\n");
    } catch (const std::out_of_range&) {
        // Another thread removed the object between registering and stamping.
        Sys().Error(SOURCE_POS + "level object " + record.name + " vanished before it was stamped\n");
    } catch (const std::exception& error) {
        Sys().Error(SOURCE_POS + "level object " + record.name + " could not be stamped: " + error.what() + "\n");
    }
}

}  // namespace

bool Level::CreateObject(LevelObjectRecord record) {
    ReserveNameNumber(record);
    ObjectPattern pattern = Module<ResourceManager>::Instance()->GetPattern(record.patternName);
    if (ObjectFactory::IsUnknownPattern(pattern)) {
        Sys().Error(SOURCE_POS + "level object " + record.name + " names the unknown pattern " +
                    record.patternName + "; skipped\n");
        return false;
    }
    ObjectFactory::SetParameter(pattern, PatternParam::kX, record.trans.x);
    ObjectFactory::SetParameter(pattern, PatternParam::kY, record.trans.y);
    ObjectFactory::SetParameter(pattern, PatternParam::kZ, record.trans.z);

    GameObject object(record.name);
    object.patternName = record.patternName;
    // A refused name (reported by AddGameObject) belongs to another object,
    // which must not be stamped over.
    if (!Module<ObjectManager>::Instance()->AddGameObject(object)) return false;
    StampRegistered(record, pattern);
    return true;
}
