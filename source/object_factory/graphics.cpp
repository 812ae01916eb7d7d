// ObjectFactory::StampGraphics: the mesh, its scale and texture, and the
// object's own copy of a skeleton with its animation sets.
#include "object_factory.h"
#include "objects/game_object.h"
#include "objects/graphics_comps.h"
#include "resource_manager.h"

namespace ObjectFactory {

namespace {

// The texture is written into the stored mesh, which every object with that
// mesh shares: the last pattern stamped with a mesh decides its look.
void ApplyTexture(GraphicsComp& graphics, const std::string& textureName) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    Texture* texture = store.get<Texture>(Handle(textureName));
    // An empty handle means the mesh was missing and already reported.
    Mesh* mesh = graphics.modelMesh.id.empty() ? nullptr : graphics.GetMesh();
    if (!texture || !mesh) return;
    mesh->texID = texture->texID;
    mesh->useTexture = true;
}

void ApplySkeleton(GraphicsComp& graphics, const ObjectPattern& pattern) {
    ResourceManager& store = *Module<ResourceManager>::Instance();
    const Skeleton* skeleton = store.get<Skeleton>(Handle(GetParameter<std::string>(pattern, PatternParam::kSkeleton)));
    if (skeleton) {
        graphics.skeleton = *skeleton;
        graphics.skeleton.curAnimation = 0;
    }
    for (const std::string& name : pattern.animNames)
        if (const AnimSet* set = store.get<AnimSet>(Handle(name)))
            graphics.skeleton.boneAnimations.push_back(*set);
}

}  // namespace

void StampGraphics(GameObject& object, ObjectPattern pattern) {
    if (!object.GetGraphicsComp()) object.AttachComponent(GraphicsComp());
    GraphicsComp& graphics = *object.GetGraphicsComp();
    graphics.modelMesh = Module<ResourceManager>::Instance()->GetResourceHandle(
        GetParameter<std::string>(pattern, PatternParam::kMesh));
    graphics.modelScale = GetParameter<float>(pattern, PatternParam::kScale);
    ApplyTexture(graphics, GetParameter<std::string>(pattern, PatternParam::kTexture));
    if (HasParam(pattern.paramList, PatternParam::kHasSkeleton)) ApplySkeleton(graphics, pattern);
}

}  // namespace ObjectFactory
