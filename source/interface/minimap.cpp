// The map widgets' state: construction and the per-frame blip rebuild.
// Drawing is in minimap_drawing.cpp.
#include "interface/minimap.h"

#include "object_manager.h"
#include "objects/components.h"

namespace {

constexpr Color4 kPlayerColor{0.0f, 0.0f, 1.0f, 1.0f};
constexpr Color4 kActorColor{1.0f, 0.0f, 0.0f, 1.0f};
constexpr Color4 kBlockColor{1.0f, 1.0f, 1.0f, 1.0f};

// A box of the level: its centre in the world and its half extents turned
// onto the world's axes, one axis each.
MapBlip BlockBlip(const GameObject& object, const OBB& box) {
    MapBlip blip;
    blip.color = kBlockColor;
    blip.position = box.rot.Rotate(box.center) + object.trans;
    const Vector& e = box.extents;
    blip.halfSize = Vector(box.rot.Rotate(Vector(e.x, 0.0f, 0.0f, 0.0f)).x,
                           box.rot.Rotate(Vector(0.0f, e.y, 0.0f, 0.0f)).y,
                           box.rot.Rotate(Vector(0.0f, 0.0f, e.z, 0.0f)).z, 0.0f);
    blip.kind = MapBlip::Block;
    return blip;
}

MapBlip ActorBlip(const GameObject& object) {
    MapBlip blip;
    blip.color = kActorColor;
    blip.position = object.trans;
    blip.kind = MapBlip::Actor;
    return blip;
}

// Appends the blip an object other than the player shows as, if any.
void AddBlipOf(const GameObject& object, std::vector<MapBlip>& blips) {
    if (object.GetStatsComp()) {
        if (object.name != GameObject::kPlayerName) blips.push_back(ActorBlip(object));
        return;
    }
    const CollisionComp* collision = object.GetCollisionComp();
    if (collision && object.GetGraphicsComp() && collision->hasOBB) blips.push_back(BlockBlip(object, collision->obb));
}

}  // namespace

MiniMap::MiniMap(int id, const Vector& position) : MiniMap(WidgetType::MiniMap, id, position, "MINI MAP") {
    width = height = 0.1f;
}

MiniMap::MiniMap(int type, int id, const Vector& position, const char* labelText)
    : InterfaceObject(type, id, position), center(0.0f, 0.0f, 0.0f, 0.0f) {
    color = Color4{0.0f, 1.0f, 0.0f, 0.5f};
    label.text = labelText;
    label.owner = this;
}

FullMap::FullMap(int id, const Vector& position) : MiniMap(WidgetType::FullMap, id, position, "FULL MAP") {
    width = height = 200.0f;
}

void MiniMap::SetPosition(const Vector& newPosition) {
    position.x = newPosition.x;
    position.y = newPosition.y;
}

void MiniMap::Activate() {
    blips.clear();
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    ObjectLock lock(objects);
    if (!objects.HasGameObject(GameObject::kPlayerName)) return;
    const GameObject& player = *objects.GetGameObject(GameObject::kPlayerName);
    center = player.trans;
    MapBlip self;
    self.color = kPlayerColor;
    self.position = player.trans;
    self.kind = MapBlip::Player;
    self.angle = objects.cameraObject.yaw;
    blips.push_back(self);
    for (const auto& entry : objects.gameObjectList) AddBlipOf(entry.second, blips);
}
