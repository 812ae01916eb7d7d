// The ObjectManager's instance buffers: level objects that share a mesh are
// drawn with one instanced draw from one contiguous run of world matrices.
#include "object_manager.h"

#include "objects/components.h"

void ObjectInstanceBuffer::Append(const Matrix& world) {
    const float* data = world.DataPtr();
    matrices.insert(matrices.end(), data, data + 16);
    ++numInstances;
    dataSize = static_cast<unsigned>(matrices.size());
}

void ObjectManager::RebuildObjectInstanceBuffers() {
    ExpectLockHeld();
    instanceBufferList.clear();
    for (GameObjectList::value_type& entry : gameObjectList) {
        GameObject& object = entry.second;
        GraphicsComp* graphics = object.GetGraphicsComp();
        if (!object.isLevelObject || !graphics) continue;
        const std::string key = graphics->modelMesh.GetID();
        ObjectInstanceBuffer& buffer = instanceBufferList[key];
        if (buffer.numInstances == 0) buffer.mesh = Handle(key);
        buffer.Append(QuatVecToMatrix(object.rot, object.trans) * graphics->GetScaleMatrix());
        // From now on Graphics draws it through the buffer, not by itself.
        graphics->drawAlone = false;
    }
}
