#include "interface/crosshair.h"

#include "interface/hud_drawing.h"
#include "resource_manager.h"
#include "system.h"

Crosshair::Crosshair(int id, const Vector& position) : InterfaceObject(WidgetType::Crosshair, id, position) {
    color = Color4{0.0f, 1.0f, 1.0f, 0.7f};
    width = height = 128.0f;
    ResourceManager& store = *Module<ResourceManager>::Instance();
    texture = store.GetResourceHandle(kSightTexture);
    hitTexture = store.GetResourceHandle(kHitTexture);
}

void Crosshair::Draw() {
    using hud_drawing::Corner;
    const float x = position.x, y = position.y, right = x + width, top = y + height;
    hud_drawing::BindTexture(texture.id);
    const Corner sight[] = {{right, top, color, 1.0f, 1.0f}, {x, top, color, 0.0f, 1.0f},
                            {x, y, color, 0.0f, 0.0f}, {right, y, color, 1.0f, 0.0f}};
    hud_drawing::Draw(hud_drawing::Shape::Quads, sight);
    // The overlay's alpha is only ever 0: an invisible quad is not blended.
    if (texture.id.empty() || !(hitColor.a > 0.0f)) return;
    hud_drawing::BindTexture(hitTexture.id);
    const Corner overlay[] = {{right, top, hitColor, 1.0f, 1.0f}, {x, top, hitColor, 0.0f, 1.0f},
                              {x, y, hitColor, 0.0f, 0.0f}, {right, y, hitColor, 1.0f, 0.0f}};
    hud_drawing::Draw(hud_drawing::Shape::Quads, overlay);
}

void Crosshair::Activate() {
    // Frame time rather than the clock reading: the red lasts the same
    // however long the game has run.
    if (hitElapsed < hitDuration) hitElapsed += float(Module<System>::Instance()->frameTime.load() * 1000.0);
    if (hitElapsed >= hitDuration) {
        color.r = 0.0f;
        color.g = 1.0f;
        color.b = 0.0f;
        hitColor.a = 0.0f;
    }
}

void Crosshair::ShowHit() {
    color.r = 1.0f;
    color.g = 0.0f;
    color.b = 0.0f;
    hitElapsed = 0.0f;
}
