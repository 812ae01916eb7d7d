// SkyBox: the sphere drawn around the camera behind the scene. The
// ObjectManager holds one as skyBox; scripts may replace it.
//
// This header holds the record only: building the sphere mesh and storing it
// under "mesh_skybox" comes with the procedural meshes. Main thread.
#pragma once

#include "resource_manager/handle.h"

class SkyBox {
public:
    Handle meshHandle{"mesh_skybox"};  // the stored sky mesh
};
