#include "objects/graphics_comps.h"

#include "component_pool.h"
#include "resource_manager.h"

// ---- BillboardComp

BillboardComp::BillboardComp() : Component(CompIndex::Billboard) {}

Component* BillboardComp::Clone() const { return new BillboardComp(*this); }
void BillboardComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* BillboardComp::AllocateFromPool() const { return ComponentPool<BillboardComp>::Allocate(); }
bool BillboardComp::IsPoolValid() const { return ComponentPool<BillboardComp>::Query(); }
Component* BillboardComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<BillboardComp>::AllocateCopy(source);
}

// ---- GraphicsComp

GraphicsComp::GraphicsComp() : Component(CompIndex::Graphics) {}

Component* GraphicsComp::Clone() const { return new GraphicsComp(*this); }
void GraphicsComp::CopyFrom(const Component& other) { CopyComponentFrom(*this, other); }
Component* GraphicsComp::AllocateFromPool() const { return ComponentPool<GraphicsComp>::Allocate(); }
bool GraphicsComp::IsPoolValid() const { return ComponentPool<GraphicsComp>::Query(); }
Component* GraphicsComp::AllocateCopyFromPool(const Component& source) const {
    return ComponentPool<GraphicsComp>::AllocateCopy(source);
}

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
