#include "component_list.h"

#include "objects/components.h"
#include "system/source_position.h"
#include "system.h"

ComponentList::ComponentList() {
    prototypes[CompIndex::Behavior] = new BehaviorComp();
    prototypes[CompIndex::Billboard] = new BillboardComp();
    prototypes[CompIndex::Bullet] = new BulletComp();
    prototypes[CompIndex::Collision] = new CollisionComp();
    prototypes[CompIndex::Explosion] = new ExplosionComp();
    prototypes[CompIndex::Graphics] = new GraphicsComp();
    prototypes[CompIndex::Physics] = new PhysicsComp();
    prototypes[CompIndex::Stats] = new StatsComp();
    prototypes[CompIndex::Weapon] = new WeaponComp();
    prototypes[CompIndex::Spawn] = new SpawnComp();
    prototypes[CompIndex::Pickup] = new PickupComp();
}

ComponentList* ComponentList::Instance() {
    static ComponentList* const list = new ComponentList();
    return list;
}

ComponentList::~ComponentList() {
    for (Component* prototype : prototypes) delete prototype;
}

Component* ComponentList::Get(int index) const {
    if (!CompIndex::IsValid(index)) {
        Module<System>::Instance()->Error(SOURCE_POS + "Corrupt component.");
        return nullptr;
    }
    return prototypes[index];
}
