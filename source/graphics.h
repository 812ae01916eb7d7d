// Graphics: the renderer. Owns the GLSL programs, the font and symbol display
// lists, the quad list and four extensions (debug shapes, particle drawing,
// mesh drawing, image drawing). The render targets belong to the
// ResourceManager, which makes them during Init and again after a change of
// video mode: they are read from it at every use, never kept here.
//
// Each frame (Update) draws either a slide show (splash, credits) or the
// scene through the deferred pipeline: geometry buffer, particle target,
// combine and polish passes, then the cockpit and the screen overlays straight
// into the window, and swaps the buffers.
//
// Threads: main thread only, with the OpenGL context current. Update runs
// last in every frame, also while paused; it holds the object lock from the
// start of drawing until after the buffer swap (never while delivering its
// events). Update does nothing before Init or after Kill.
//
// Events handled ("Graphics"): "Set" with the optional bools
// "isRenderingSplash" and "isRenderingCredits"; "DebugDraw" (checked, then
// queued for the debug shapes, graphics/debug_graphics.h). Sends none.
//
// Never: throws out of Update (each pass's failure is caught, logged and the
// next frame starts from a known state); logs the resource store's listing or
// an error per frame (per-frame misses warn once; a repeated OpenGL error is
// reported once until it changes).
//
// Files: graphics.cpp (module, events, the frame's order), graphics/frame_*
// (the passes and their OpenGL state), graphics/shader_programs.cpp,
// graphics/camera_object.cpp, graphics/lights.cpp, graphics/mesh_pass.cpp,
// graphics/bitmap_text.cpp (font and symbol lists, PrintText),
// graphics/screen_overlays.cpp (quad list, backgrounds, billboards),
// graphics/slide_show.cpp (the splash and credits pictures),
// graphics/object_roads.cpp (the game objects of the mesh pass),
// graphics/cockpit.cpp (the cockpit's matrix and drawing).
#pragma once

#include <memory>
#include <string>

#include "graphics/debug_graphics.h"
#include "graphics/image_graphics.h"
#include "graphics/mesh_graphics.h"
#include "graphics/particle_graphics.h"
#include "module.h"
#include "resource_manager/handle.h"

struct Matrix;
class SplashScreen;
namespace graphics {
class FrameReports;
}

class Graphics : public virtual Module<Graphics> {
public:
    static constexpr const char* kSet = "Set";
    static constexpr const char* kDebugDraw = "DebugDraw";
    static constexpr const char* kParamRenderingSplash = "isRenderingSplash";
    static constexpr const char* kParamRenderingCredits = "isRenderingCredits";
    // Built by the game flow once a level has loaded.
    static constexpr const char* kNoiseTexture = "tex_noise";
    // Resolved by Init; "all_first" must be loaded by then.
    static constexpr const char* kFontTexture = "tex_font";
    static constexpr const char* kCrosshairTexture = "tex_smaller_crosshair";
    static constexpr const char* kSymbolsTexture = "tex_symbols";

    // The font: 16 x 16 cells, one display list each; cell 0 shows this code,
    // so no lower code has a glyph.
    static constexpr int kFontListCount = 256;
    static constexpr int kFirstFontCode = 31;
    static constexpr int kSymbolCount = 16;  // 4 x 4 cells
    // A glyph's side and its pen advance in list units, before the text
    // scale (the System's fontSpacing times the caller's scale).
    static constexpr float kGlyphSide = 32.0f;

    // The projection made once by Init.
    static constexpr float kFieldOfView = 1.0471965f;  // vertical, radians
    static constexpr float kNearPlane = 0.1f;
    static constexpr float kFarPlane = 5000.0f;  // also the shaders' depth scale

    // The size of "instanceMatArr" in the instance shaders: no instanced draw
    // may upload more matrices than this.
    static constexpr int kInstanceArraySize = 64;
    // The skin matrices of "boneMatBuffer".
    static constexpr int kBoneMatrixCount = 40;
    // Generic attribute locations bound by name before every program is
    // linked, so that every mesh program agrees with the "bone" program and
    // none aliases the fixed-function arrays (0, 2, 3 and 8-15 do on some
    // drivers).
    static constexpr unsigned kBoneIndexLocation = 6;
    static constexpr unsigned kSkinWeightsLocation = 7;
    static constexpr unsigned kParticleAttribLocation = 6;
    static constexpr unsigned kCornerAttribLocation = 7;

    enum class FrameMode { kSplash, kCredits, kScene };

    Graphics();
    ~Graphics() override;

    // Viewport, render targets, fixed state, projection and programs. A
    // second Init after Kill in the same context frees the programs it
    // replaces; in a new context the old names are forgotten, never freed.
    void Init() override;
    // One frame (see the file comment).
    void Update() override;
    // Unregisters the event client and deletes the font lists. Before Init,
    // or a second time, it deletes nothing.
    void Kill() override;
    // "Set": each flag present is copied; a mistyped one drops the event.
    // "DebugDraw": queued when its parameters are sound (else dropped with a
    // warning naming the parameter).
    void ProcessEvent(const Event& event) override;
    bool IsInitialised() const { return initialised; }

    // Draws the ResourceManager's screen image (splash or loading picture)
    // over the whole window and swaps the buffers at once. Main thread; needs
    // only the OpenGL context and the uploaded screen image, not Init, so it
    // also serves start-up before Init and a resolution change.
    void DrawLoadingScreen();
    // One textured quad over the whole target, texture row 0 at the bottom,
    // drawn with identity matrices; the matrices are left as they were.
    void DrawFullScreenQuad();

    // ---- Programs (graphics/shader_programs.cpp) -------------------------
    // Compiles and links one program from two files, logging any failure;
    // returns the program name even when it failed. Main thread.
    unsigned LoadShaderProgram(std::string vertFile, std::string fragFile);
    // Report a shader's or program's info log as an error; nothing when empty.
    void PrintShaderLog(unsigned shader);
    void PrintProgramLog(unsigned program);
    // The current program, which is then replaced by program 0 (when not 0).
    unsigned SaveAndClearProgram();
    // Makes the program current again; 0 does nothing.
    void RestoreProgram(unsigned program);

    // ---- Camera and lights (graphics/lights.cpp) -------------------------
    // Hands the ObjectManager's lights to OpenGL as lights 0, 1, ...; lights
    // beyond the list (or beyond GL_MAX_LIGHTS) are disabled and blackened.
    // Caller holds the object lock.
    void ApplyLights();
    // Fills perspectMat and invPerspectMat for a window of that size.
    static void MakeProjection(int width, int height, Matrix& perspect, Matrix& invPerspect);

    // ---- The frame (graphics.cpp, graphics/frame_passes.cpp) --------------
    // Which picture this frame draws: the splash wins over the credits.
    FrameMode ChooseFrameMode() const;
    // Mesh pass of the geometry buffer (graphics/mesh_pass.cpp): the sky box,
    // the ground, the object roads and the debug shapes. Caller holds the
    // object lock, with the geometry targets bound.
    void RenderMeshes();
    void RenderSkyBox();
    void RenderGround();
    // The object roads (graphics/object_roads.cpp): mesh pass steps 8 to 11,
    // "deferred_bone" current, leaving "deferred_instance" current when it
    // draws the instance buffers. Each live object drawn alone, skinned when
    // its skeleton has bones, else plain; then the instance buffers, one draw
    // per mesh (shaderModel4 only).
    void DrawObjectRoads();
    void DrawSkinnedMesh();
    void DrawPlainMesh();
    void DrawInstancedMeshes();

    // ---- Text and symbols (graphics/bitmap_text.cpp) ---------------------
    // Init steps 6 and 7: fontTex, crosshairTex and symbolsTex by name (a
    // name not loaded is reported and leaves its handle empty), then the
    // font and symbol lists. `sameContext`: the lists of an earlier Init are
    // still live and the symbol lists are kept.
    void BuildTextLists(bool sameContext);
    // The 256 lists from fontListBase: one glyph quad each, then the pen
    // advance. Main thread, once per Init.
    void BuildFont();
    // The 16 symbol lists, made once per context (never deleted).
    void BuildSymbolFont(bool sameContext);
    // Draws `text` with its first glyph's lower-left corner at (x, y) of the
    // current projection (the overlays' pixel projection), in the current
    // colour times the font. Leaves the model-view matrix translated and
    // scaled and the list base changed. Codes below kFirstFontCode draw and
    // move nothing; a newline starts the next line under the first glyph.
    // Null text, no font lists or no font texture (warned once): nothing.
    void PrintText(const char* text, int x, int y, float scale);

    // ---- Overlays, billboards and slides ------------------------------------
    // Init step 4: the debug box and the quad list (kept when `sameContext`).
    void BuildShapes(bool sameContext);
    void BuildQuadList(bool sameContext);
    // Frame step 10: the interface screen's background or veil, then the
    // interface in a pixel projection. Leaves depth testing on and
    // two-dimensional texturing off. Object lock held.
    void RenderScreenOverlays();
    // One quad per live object with a BillboardComp, in the object's frame
    // with the colour (20, 10, 0) that the billboard programs read as the
    // sprite's size. Object lock held; a billboard program current.
    void RenderBillboards();
    // Frame step 5: the current slide of `show` (black behind, faded by its
    // effects), then the show advanced by the frame's time step.
    void RenderSplashScreen(SplashScreen& show);

    // After the polish pass (graphics/cockpit.cpp): the cockpit mesh placed
    // in front of the eye by its own matrix, over the window's picture. The
    // frame makes "cockpit" current around it; object lock held.
    void RenderCockpit();

    // Members in their specified order.
    DebugGraphics debugGraphics;
    ParticleGraphics particleGraphics;
    MeshGraphics meshGraphics;
    ImageGraphics imageGraphics;
    Handle fontTex;
    Handle crosshairTex;
    Handle symbolsTex;
    unsigned fontListBase = 0;
    unsigned symbolLists[kSymbolCount] = {};
    unsigned boneProgram = 0;
    unsigned deferredBoneProgram = 0;
    unsigned billboardProgram = 0;
    unsigned deferredBillboardProgram = 0;
    unsigned cockpitProgram = 0;
    unsigned instanceProgram = 0;
    unsigned deferredInstanceProgram = 0;
    unsigned deferredCombineProgram = 0;
    unsigned deferredPolishProgram = 0;
    unsigned quadList = 0;
    bool isRenderingSplash = false;
    bool isRenderingCredits = false;

    // The frame's once-only reports (OpenGL errors, missing resources, failed
    // passes). Main thread.
    graphics::FrameReports& Reports() { return *reports; }
    // The OpenGL name of a texture for per-frame drawing: 0, warned once,
    // when it is not stored or has no live name.
    unsigned FrameTextureName(const std::string& name);
    // The stored mesh for per-frame drawing: null, warned once, when it is
    // not stored; null without a word for an empty handle (no mesh at all).
    Mesh* FrameMesh(const Handle& handle);

private:
    void ApplyFixedState();
    // Kill's step: the 256 font lists from fontListBase, deleted once.
    void DeleteFontLists();
    void BuildPrograms();
    // Deletes (same context) or forgets (new context) every program name.
    void ReleasePrograms(bool sameContext);

    // Overlay steps (graphics/screen_overlays.cpp): one screen-covering quad
    // in `colour` over the texture (0: none); the pixel projection for the
    // interface.
    void DrawScreenBackground(unsigned texture, const float colour[4]);
    void RenderInterface();
    // Each registered widget in registration order, from the identity
    // model-view, blending by source alpha. A widget whose Draw throws is
    // reported (once while it repeats), the pass's state is restored and the
    // next widget is drawn.
    void DrawWidgets();
    void RecoverFromFailedWidget();
    // The slide's OpenGL texture, uploaded first when it has none yet; 0,
    // warned once, when it is not stored or cannot be uploaded.
    unsigned SlideTextureName(const Handle& texture);

    // The frame's steps (graphics/frame_passes.cpp, graphics/deferred_passes.cpp).
    void BeginFrame();
    void SetUpView();
    void DrawFrameContent();
    void DrawScene();
    // Runs one pass; a failure is reported (once while it repeats) and the
    // state the next pass expects is restored.
    // The scene's passes run with the view on the second model-view entry,
    // the overlays with the identity on the first.
    template <class Pass>
    void RunPass(const char* name, Pass pass, int viewDepth = 2);
    void RecoverFromFailedPass(int viewDepth);
    void GeometryPass();
    void ParticlePass();
    void CombinePass();
    void PolishPass();
    void CockpitPass();
    void EndFrame();

    bool initialised = false;
    std::unique_ptr<graphics::FrameReports> reports;
};
