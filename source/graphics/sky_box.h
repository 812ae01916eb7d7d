// SkyBox: the sphere drawn around the camera behind the scene. The
// ObjectManager holds one as skyBox; scripts may replace it.
//
// Constructing one builds the sky sphere and, when the registry knows
// "mesh_skybox" and "tex_skybox", stores it under "mesh_skybox" textured
// with "tex_skybox" (loading both if needed). Without those entries (an
// object manager made before the registry is read, as tests do) it logs one
// plain line and stores nothing. Main thread, or a thread that may load
// resources; makes no OpenGL call (the texture is tied to the mesh again when
// its category is uploaded).
#pragma once

#include "resource_manager/handle.h"

class SkyBox {
public:
    static constexpr const char* kMeshName = "mesh_skybox";
    static constexpr const char* kTextureName = "tex_skybox";

    SkyBox();

    Handle meshHandle{kMeshName};  // the stored sky mesh
};
