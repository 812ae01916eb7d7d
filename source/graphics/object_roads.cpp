// Graphics: the game objects of the mesh pass. Objects drawn alone go one
// draw each, skinned by their own pose when their skeleton has bones (and
// then flashing while hit), plain otherwise; level objects gathered into the
// instance buffers go one instanced draw per mesh.
//
// Main thread, object lock held, geometry targets bound, called by
// RenderMeshes with "deferred_bone" current; leaves "deferred_instance"
// current when it draws the instance buffers.
#include <GL/glew.h>

#include <algorithm>

#include "graphics.h"
#include "graphics/frame_reports.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "objects/components.h"
#include "system.h"

using graphics::SetUniform;

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

static_assert(sizeof(Matrix) == 16 * sizeof(float), "skin matrices go to OpenGL as one float block");
static_assert(MAX_BONES == Graphics::kBoneMatrixCount, "a skeleton holds the program's skin matrices");

// The object's component when it is live and drawn by itself, else null.
GraphicsComp* DrawnAlone(const GameObject& object) {
    if (object.isDead) return nullptr;
    GraphicsComp* graphics = object.GetGraphicsComp();
    return graphics && graphics->drawAlone ? graphics : nullptr;
}

Matrix ObjectMatrix(const GameObject& object, const GraphicsComp& graphics) {
    return QuatVecToMatrix(object.rot, object.trans).ScaleLinear(graphics.modelScale);
}

bool IsSkinned(const GraphicsComp& graphics) { return !graphics.skeleton.boneList.empty(); }

// The noise settings of everything drawn after the skinned objects.
void SetPropNoise(GLuint program) {
    SetUniform(program, "noiseAmount", 0.11f);
    SetUniform(program, "noiseScale", 55.0f);
    SetUniform(program, "noiseRampStart", 0.0f);
    SetUniform(program, "noiseRampEnd", 0.9f);
}

}  // namespace

void Graphics::DrawObjectRoads() {
    DrawSkinnedMesh();
    SetPropNoise(deferredBoneProgram);
    DrawPlainMesh();
    CHECK_FRAME_GL(*reports);
    if (!Module<System>::Instance()->shaderModel4) return;
    const GLuint program = deferredInstanceProgram;
    glUseProgram(program);
    SetUniform(program, "useLightShader", 1);
    SetUniform(program, "diffuseTex", 0);
    SetUniform(program, "noiseTex", 1);
    SetPropNoise(program);
    SetUniform(program, "useFlashingEffect", 0);
    graphics::BindTextureOn(1, FrameTextureName(kNoiseTexture));
    glActiveTexture(GL_TEXTURE0);
    DrawInstancedMeshes();
}

void Graphics::DrawSkinnedMesh() {
    const GLuint program = deferredBoneProgram;
    const GLint boneMatrices = glGetUniformLocation(program, "boneMatBuffer");
    const GLint flashing = glGetUniformLocation(program, "useFlashingEffect");
    SetUniform(program, "useBones", 1);
    for (const GameObjectList::value_type& entry : Objects().gameObjectList) {
        const GameObject& object = entry.second;
        const GraphicsComp* graphics = DrawnAlone(object);
        const Mesh* mesh = graphics && IsSkinned(*graphics) ? FrameMesh(graphics->modelMesh) : nullptr;
        if (mesh) {
            glPushMatrix();
            glMultMatrixf(ObjectMatrix(object, *graphics).DataPtr());
            // All of them, whatever the bone count: the slots past the
            // skeleton's bones hold the identity.
            glUniformMatrix4fv(boneMatrices, kBoneMatrixCount, GL_FALSE, graphics->skeleton.boneMatrices[0].DataPtr());
            if (flashing != -1 && graphics->flashFrames != 0) glUniform1i(flashing, 1);
            if (mesh->hasMeshBuffers && mesh->hasAttribBuffers)
                meshGraphics.DrawSkinnedMeshBuffers(*mesh);
            else
                meshGraphics.DrawSkinnedMeshImmediate(*mesh);
            if (flashing != -1) glUniform1i(flashing, 0);
            glPopMatrix();
        }
        CHECK_FRAME_GL(*reports);
    }
}

void Graphics::DrawPlainMesh() {
    SetUniform(deferredBoneProgram, "useBones", 0);
    for (const GameObjectList::value_type& entry : Objects().gameObjectList) {
        const GameObject& object = entry.second;
        const GraphicsComp* graphics = DrawnAlone(object);
        if (!graphics || IsSkinned(*graphics)) continue;
        const Mesh* mesh = FrameMesh(graphics->modelMesh);
        if (!mesh) continue;
        glPushMatrix();
        glMultMatrixf(ObjectMatrix(object, *graphics).DataPtr());
        meshGraphics.DrawMesh(*mesh);
        CHECK_FRAME_GL(*reports);
        glPopMatrix();
    }
}

void Graphics::DrawInstancedMeshes() {
    CHECK_FRAME_GL(*reports);
    const GLint matrices = glGetUniformLocation(deferredInstanceProgram, "instanceMatArr[0]");
    for (const InstanceBufferList::value_type& entry : Objects().instanceBufferList) {
        const ObjectInstanceBuffer& buffer = entry.second;
        if (buffer.mesh.id.empty()) {
            reports->WarnOnce("instances without a mesh", "an instance buffer names no mesh: not drawn");
            continue;
        }
        const Mesh* mesh = FrameMesh(buffer.mesh);
        if (!mesh) continue;
        if (!MeshGraphics::HasLiveBuffers(*mesh)) {
            // Drawn all the same, it would read client memory at address 0.
            reports->Fault(SOURCE_POS + buffer.mesh.id + ": ", "invalid buffer object!");
            continue;
        }
        // Never more matrices than the buffer holds, whatever its count says.
        const unsigned count = std::min<unsigned>(buffer.numInstances, unsigned(buffer.matrices.size() / 16));
        meshGraphics.DrawMeshInstances(*mesh, buffer.matrices.data(), count, matrices);
        CHECK_FRAME_GL(*reports);
    }
}
