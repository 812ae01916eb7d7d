// Small tests of the OpenGL names that textures and meshes record, shared by
// the context-category code. Main thread only, with the context current.
#pragma once

#include <GL/glew.h>

#include "resource_manager/mesh.h"
#include "resource_manager/texture.h"

// A name that an upload handed out, as opposed to "none yet" or "freed".
inline bool IsRealName(unsigned name) { return name != 0 && name != Texture::kNoTexture; }

// The texture's name is a texture of the current context. Only meaningful
// when the name was made in this context (see the context marker).
inline bool HoldsLiveTexture(const Texture& texture) {
    return IsRealName(texture.texID) && glIsTexture(texture.texID);
}

inline bool HoldsLiveBuffers(const Mesh& mesh) {
    if (!mesh.hasMeshBuffers) return false;
    const unsigned probe = mesh.isInterleaved ? mesh.vboInterleavedName : mesh.vboVertName;
    return probe != 0 && glIsBuffer(probe);
}
