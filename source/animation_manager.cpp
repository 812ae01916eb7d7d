#include "animation_manager.h"

#include "object_manager.h"
#include "objects/graphics_comps.h"
#include "system.h"

void AnimationManager::Update() {
    if (!initialised) return;
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    // The step is the same for every skeleton of this frame.
    const double dt = Module<System>::Instance()->frameTime.load();
    ObjectLock lock(objects);
    for (GameObjectList::value_type& entry : objects.gameObjectList) {
        GraphicsComp* graphics = entry.second.GetGraphicsComp();
        if (!graphics || entry.second.isDead) continue;
        Skeleton& skeleton = graphics->skeleton;
        if (skeleton.boneList.empty()) continue;
        skeleton.UpdateAnimation(dt);
        skeleton.UpdateBonePositions();
    }
}
