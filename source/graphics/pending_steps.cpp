// The frame's steps that later work fills, each at its place in Init, Kill or
// the frame, with the state the frame gives it and expects back. The frame
// around them is complete: targets, clears, blending, mipmaps and the program
// in use are set by the callers, so a step only draws. When a step is built,
// its definition moves out of this file into the file of its subject.
#include "graphics.h"
#include "graphics/debug_graphics.h"

// ---- Text, overlays, slides and debug drawing (issue 21) --------------------

// Init step 4, before the render targets: DebugGraphics::Init (the box of the
// line ends) and BuildQuadList (the unit quad list).
void Graphics::BuildShapes() {}

// Init steps 6 and 7, after the render targets: fontTex, crosshairTex and
// symbolsTex resolved by name, then BuildFont (256 lists from fontListBase)
// and BuildSymbolFont (symbolLists).
void Graphics::BuildTextLists() {}

// Frame step 5 in place of the scene: the current slide of `show`, then the
// show advanced. Called with the window's framebuffer, no program, the
// view loaded, blending on.
void Graphics::RenderSplashScreen(SplashScreen&) {}

// Particle pass, after the particles: one camera-facing sprite per live object
// with a BillboardComp. "deferred_billboard" is current with "depthTex" on
// unit 1, unit 0 active, blending on, the particle target bound.
void Graphics::RenderBillboards() {}

// Frame step 10: the interface screen's background or veil, then the widgets
// in a pixel projection. The model-view is the identity, the window's
// framebuffer bound, no program.
void Graphics::RenderScreenOverlays() {}

// End of the mesh pass, program 0: the queued "DebugDraw" shapes, then the
// queue emptied.
void DebugGraphics::Init() {}
void DebugGraphics::Render() {}

// ---- Mesh pass objects and the cockpit (issue 18) ---------------------------

// Mesh pass steps 8 to 11, "deferred_bone" current with the ground's noise
// settings and "noiseAmount" 0: the skinned road, the plain road's noise
// settings and road, then (with shaderModel4) "deferred_instance" and the
// instanced road. RenderMeshes then makes program 0 current.
void Graphics::DrawObjectRoads() {}

// After the polish pass: the cockpit placed relative to the eye, drawn with
// "cockpit" current and blending on, into the window; program 0 follows.
void Graphics::RenderCockpit() {}

