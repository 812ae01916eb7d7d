#include "graphics/sky_box.h"

#include "resource_manager.h"

namespace {

const int kSlices = 16;
const int kStacks = 16;
// Negative: the sphere's normals point inwards, at the camera inside it.
const float kRadius = -800.0f;
const float kHalfPi = 1.5707963f;

bool Registered(const ResourceManager& resources, const std::string& name) {
    return resources.RegistryDataLookup(name).name == name;
}

}  // namespace

SkyBox::SkyBox() {
    Mesh sphere = Mesh::BuildSphere(kSlices, kStacks, kRadius);
    Matrix quarterTurn;  // about x: +y goes to -z
    quarterTurn.FixedAngleRotation(0.0f, 0.0f, -kHalfPi);
    sphere.Transform(quarterTurn);

    ResourceManager& resources = *Module<ResourceManager>::Instance();
    if (!Registered(resources, kMeshName) || !Registered(resources, kTextureName)) {
        Module<System>::Instance()->Log("sky box: \"mesh_skybox\" or \"tex_skybox\" is not registered; no sky is stored");
        return;
    }
    resources.LoadResource(kTextureName);
    if (const Texture* texture = resources.get<Texture>(Handle(kTextureName))) sphere.texID = texture->texID;
    sphere.useTexture = true;
    sphere.useColor = false;
    resources.LoadResource(kMeshName);
    resources.set<Mesh>(Handle(kMeshName), sphere);
    meshHandle = resources.GetResourceHandle(kMeshName);
}
