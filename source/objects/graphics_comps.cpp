#include "objects/graphics_comps.h"

#include "resource_manager.h"

Matrix GraphicsComp::GetScaleMatrix() const {
    Matrix scale;
    scale.m[0][0] = modelScale;
    scale.m[1][1] = modelScale;
    scale.m[2][2] = modelScale;
    return scale;
}

Mesh* GraphicsComp::GetMesh() { return Module<ResourceManager>::Instance()->get<Mesh>(modelMesh); }

const Mesh* GraphicsComp::GetMesh() const {
    return Module<ResourceManager>::Instance()->get<Mesh>(modelMesh);
}
