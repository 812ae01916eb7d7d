// Graphics: the mesh pass into the geometry buffer: the sky sphere around the
// camera, the level's ground, then the objects and the debug shapes, with
// the "deferred_bone" program's uniforms set per group. Also the per-frame
// look-ups of meshes and textures, which never log the store listing.
//
// Main thread, object lock held, geometry targets bound.
#include <GL/glew.h>

#include "graphics.h"
#include "graphics/frame_reports.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "resource_manager/gl_names.h"

using graphics::SetUniform;

namespace {

ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }

template <class T>
T* StoredAs(const std::string& name) {
    auto* holder = dynamic_cast<Resource<T>*>(Module<ResourceManager>::Instance()->GetReferenceFromHandle(name));
    return holder ? &holder->data : nullptr;
}

}  // namespace

unsigned Graphics::FrameTextureName(const std::string& name) {
    const Texture* texture = StoredAs<Texture>(name);
    if (!texture) {
        reports->WarnOnce("texture " + name, name + " is not loaded: drawing without it");
        return 0;
    }
    if (!IsRealName(texture->texID) || !glIsTexture(texture->texID)) {
        reports->WarnOnce("texture " + name, name + " has no OpenGL texture: drawing without it");
        return 0;
    }
    return texture->texID;
}

Mesh* Graphics::FrameMesh(const Handle& handle) {
    if (handle.id.empty()) return nullptr;
    Mesh* mesh = StoredAs<Mesh>(handle.id);
    if (!mesh) reports->WarnOnce("mesh " + handle.id, handle.id + " is not loaded: not drawn");
    return mesh;
}

void Graphics::RenderMeshes() {
    const GLuint program = deferredBoneProgram;
    glUseProgram(program);
    SetUniform(program, "writeDepth", 0);
    SetUniform(program, "useLightShader", 0);
    SetUniform(program, "diffuseTex", 0);
    SetUniform(program, "noiseTex", 1);
    SetUniform(program, "noiseAmount", 0.0f);
    SetUniform(program, "useFlashingEffect", 0);
    graphics::BindTextureOn(1, FrameTextureName(kNoiseTexture));
    glActiveTexture(GL_TEXTURE0);
    CHECK_FRAME_GL(*reports);
    RenderSkyBox();
    SetUniform(program, "useLightShader", 1);
    glDisable(GL_BLEND);
    CHECK_FRAME_GL(*reports);
    SetUniform(program, "noiseAmount", 0.27f);
    SetUniform(program, "noiseScale", 25.0f);
    SetUniform(program, "noiseRampStart", 0.0f);
    SetUniform(program, "noiseRampEnd", 1.0f);
    RenderGround();
    CHECK_FRAME_GL(*reports);
    SetUniform(program, "noiseAmount", 0.0f);
    DrawObjectRoads();
    glUseProgram(0);
    debugGraphics.Render();
}

void Graphics::RenderSkyBox() {
    SetUniform(deferredBoneProgram, "useBones", 0);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    // The sphere moves with the camera but does not turn with it.
    const Vector& target = Objects().cameraObject.target;
    glPushMatrix();
    glTranslatef(target.x, target.y, target.z);
    if (Mesh* mesh = FrameMesh(Objects().skyBox.meshHandle)) meshGraphics.DrawMesh(*mesh);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
}

void Graphics::RenderGround() {
    SetUniform(deferredBoneProgram, "useBones", 0);
    // The noise is still on unit 1 from RenderMeshes: the sky only draws on unit 0.
    const GroundPlaneObject& ground = Objects().groundObject;
    glPushMatrix();
    glMultMatrixf(ground.GetMatrix().DataPtr());
    if (Mesh* mesh = FrameMesh(ground.meshHandle)) meshGraphics.DrawMesh(*mesh);
    glPopMatrix();
}
