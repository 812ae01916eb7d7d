// The frame's steps that later work fills, each at its place in Init, Kill or
// the frame, with the state the frame gives it and expects back. The frame
// around them is complete: targets, clears, blending, mipmaps and the program
// in use are set by the callers, so a step only draws. When a step is built,
// its definition moves out of this file into the file of its subject.
#include "graphics.h"

// ---- Mesh pass objects and the cockpit (issue 18) ---------------------------

// Mesh pass steps 8 to 11, "deferred_bone" current with the ground's noise
// settings and "noiseAmount" 0: the skinned road, the plain road's noise
// settings and road, then (with shaderModel4) "deferred_instance" and the
// instanced road. RenderMeshes then makes program 0 current.
void Graphics::DrawObjectRoads() {}

// After the polish pass: the cockpit placed relative to the eye, drawn with
// "cockpit" current and blending on, into the window; program 0 follows.
void Graphics::RenderCockpit() {}

