// Graphics: the module's life cycle, its events and the order of the frame.
// The passes themselves are in graphics/frame_passes.cpp.
#include "graphics.h"

#include <GL/glew.h>

#include "event_manager.h"
#include "graphics/frame_reports.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
ResourceManager& Resources() { return *Module<ResourceManager>::Instance(); }

}  // namespace

Graphics::Graphics() : Module<Graphics>("Graphics"), reports(std::make_unique<graphics::FrameReports>()) {}

Graphics::~Graphics() = default;

void Graphics::Init() {
    RegisterEventClient();
    debugGraphics.enabled = true;
    isRenderingSplash = false;
    isRenderingCredits = false;
    glViewport(0, 0, Sys().width, Sys().height);
    // Whether the names kept from a previous Init still belong to this
    // context: only then may they be freed (a new context hands the same
    // numbers out again).
    const bool sameContext = Resources().HoldsContextMarker();
    BuildShapes(sameContext);
    if (sameContext) Resources().FreeFrameBuffer();
    Resources().BuildFrameBuffer();
    BuildTextLists(sameContext);
    CHECK_FRAME_GL(*reports);
    ApplyFixedState();
    glMatrixMode(GL_PROJECTION);
    {
        ObjectLock lock;
        MakeProjection(Sys().width, Sys().height, Objects().perspectMat, Objects().invPerspectMat);
        glLoadMatrixf(Objects().perspectMat.DataPtr());
    }
    ReleasePrograms(sameContext);
    BuildPrograms();
    glEnable(GL_NORMALIZE);
    glMatrixMode(GL_MODELVIEW);
    CHECK_FRAME_GL(*reports);
    initialised = true;
}

void Graphics::ApplyFixedState() {
    glShadeModel(GL_SMOOTH);
    using graphics::kClearGrey;
    glClearColor(kClearGrey[0], kClearGrey[1], kClearGrey[2], kClearGrey[3]);
    glClearDepth(1.0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void Graphics::Kill() {
    if (!initialised) return;
    UnregisterEventClient();
    DeleteFontLists();
    initialised = false;
}

void Graphics::DeleteFontLists() {
    // Kill runs before the video mode changes: the lists still belong to the
    // context they were made in. Zeroed so that a second Kill deletes nothing.
    if (fontListBase != 0 && glIsList(fontListBase)) glDeleteLists(fontListBase, kFontListCount);
    fontListBase = 0;
}

void Graphics::ProcessEvent(const Event& event) {
    if (event.eventType == kDebugDraw) {
        debugGraphics.Queue(event);
        return;
    }
    if (event.eventType != kSet) return;
    // Both are read before either is applied: a mistyped one drops the event whole.
    const bool hasSplash = event.Has(kParamRenderingSplash);
    const bool hasCredits = event.Has(kParamRenderingCredits);
    const bool splash = hasSplash ? event.GetParam<bool>(kParamRenderingSplash) : isRenderingSplash;
    const bool credits = hasCredits ? event.GetParam<bool>(kParamRenderingCredits) : isRenderingCredits;
    isRenderingSplash = splash;
    isRenderingCredits = credits;
}

Graphics::FrameMode Graphics::ChooseFrameMode() const {
    if (isRenderingSplash) return FrameMode::kSplash;
    if (isRenderingCredits) return FrameMode::kCredits;
    return FrameMode::kScene;
}

void Graphics::Update() {
    if (!initialised) return;
    DispatchEvents();
    ObjectLock lock;  // held through the buffer swap
    CHECK_FRAME_GL(*reports);
    BeginFrame();
    SetUpView();
    DrawFrameContent();
    EndFrame();
}
