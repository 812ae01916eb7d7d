// Graphics: the unit quad list, the billboards of the particle pass, and the
// last step of every frame: the interface screen's background picture or
// veil, then the interface in a pixel projection (origin at the window's
// bottom-left corner, y up, one unit per pixel).
//
// Main thread, object lock held by the frame.
#include <GL/glew.h>

#include <exception>

#include "graphics.h"
#include "graphics/frame_reports.h"
#include "interface/interface_object.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "objects/graphics_comps.h"
#include "system.h"

namespace {

const float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const float kVeil[4] = {0.0f, 0.0f, 0.0f, 0.5f};  // the scene at half brightness
const float kBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};

// The unit quad in the object's xy plane, corners with their texture
// coordinates; the billboards use the same corners.
const struct {
    float x, y, s, t;
} kUnitQuad[4] = {{0.5f, 0.5f, 1.0f, 1.0f}, {0.5f, -0.5f, 1.0f, 0.0f}, {-0.5f, -0.5f, 0.0f, 0.0f}, {-0.5f, 0.5f, 0.0f, 1.0f}};

void SendUnitQuad() {
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (const auto& corner : kUnitQuad) {
        glTexCoord2f(corner.s, corner.t);
        glVertex3f(corner.x, corner.y, 0.0f);
    }
}

// What an interface screen shows behind its widgets: a picture in white, or
// (picture null) a veil of that colour.
struct Background {
    const char* picture;
    const float* colour;
};

bool BackgroundOf(InterfaceState::Type screen, Background& background) {
    switch (screen) {
        case InterfaceState::Title:
            background = {"tex_start", kWhite};
            return true;
        case InterfaceState::Options:
        case InterfaceState::Controls:
            background = {"tex_skybox", kWhite};
            return true;
        case InterfaceState::Win:
        case InterfaceState::Score:
            background = {"tex_mars_screen", kWhite};
            return true;
        case InterfaceState::Pause:
        case InterfaceState::EndlessModeStart:
            background = {nullptr, kVeil};
            return true;
        case InterfaceState::QuitConfirm:
            background = {nullptr, kBlack};
            return true;
        default:
            return false;
    }
}

const GLenum kBackgroundStacks[3] = {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW};

}  // namespace

namespace graphics {

void SendScreenQuadCorners() {
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, 1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, -1.0f);
}

}  // namespace graphics

void Graphics::BuildShapes(bool sameContext) {
    debugGraphics.Init();
    BuildQuadList(sameContext);
}

void Graphics::BuildQuadList(bool sameContext) {
    // Never deleted: a second Init in the same context keeps it.
    if (sameContext && quadList != 0 && glIsList(quadList)) return;
    quadList = glGenLists(1);
    if (quadList == 0) return;
    glNewList(quadList, GL_COMPILE);
    glBegin(GL_QUADS);
    SendUnitQuad();
    glEnd();
    glEndList();
}

void Graphics::RenderBillboards() {
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (const auto& entry : Module<ObjectManager>::Instance()->gameObjectList) {
        const GameObject& object = entry.second;
        const auto* billboard = dynamic_cast<const BillboardComp*>(object.GetComponent(CompIndex::Billboard));
        if (object.isDead || !billboard) continue;
        const unsigned texture = FrameTextureName(billboard->texture.id);
        if (texture == 0) continue;
        glBindTexture(GL_TEXTURE_2D, texture);
        glPushMatrix();
        glMultMatrixf(QuatVecToMatrix(object.rot, object.trans).DataPtr());
        glBegin(GL_QUADS);
        // Not a colour: the billboard programs read red and green, unclamped,
        // as the sprite's length along its x axis and its width across it.
        glColor3f(20.0f, 10.0f, 0.0f);
        SendUnitQuad();
        glEnd();
        glPopMatrix();
    }
}

void Graphics::RenderScreenOverlays() {
    CHECK_FRAME_GL(*reports);
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    // The picture hides everything drawn before it, the cockpit too, however
    // near it lies.
    glDisable(GL_DEPTH_TEST);
    Background background;
    if (BackgroundOf(Module<InterfaceManager>::Instance()->currentState, background)) {
        const unsigned picture = background.picture ? FrameTextureName(background.picture) : 0;
        // A picture that is not loaded is left out (warned once), not drawn white.
        if (!background.picture || picture != 0) DrawScreenBackground(picture, background.colour);
    }
    RenderInterface();
}

void Graphics::DrawScreenBackground(unsigned texture, const float colour[4]) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    for (GLenum stack : kBackgroundStacks) {
        glMatrixMode(stack);
        glPushMatrix();
        glLoadIdentity();
    }
    glColor4fv(colour);
    glBegin(GL_QUADS);
    graphics::SendScreenQuadCorners();
    glEnd();
    for (GLenum stack : kBackgroundStacks) {
        glMatrixMode(stack);
        glPopMatrix();
    }
    glDisable(GL_TEXTURE_2D);
}

void Graphics::RenderInterface() {
    const System& system = *Module<System>::Instance();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, system.width, 0.0, system.height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    CHECK_FRAME_GL(*reports);
    DrawWidgets();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    CHECK_FRAME_GL(*reports);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
}

void Graphics::DrawWidgets() {
    // Widgets choose their colours' alpha: an invisible button must not paint
    // a box, whatever blending the pass before left.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (const InterfaceObjectList::Entry& entry : Module<ObjectManager>::Instance()->interObjList) {
        glLoadIdentity();
        try {
            entry.widget->Draw();
            continue;
        } catch (const std::exception& error) {
            reports->Fault(SOURCE_POS + "widget " + entry.name + " ", std::string("failed to draw: ") + error.what());
        } catch (...) {
            reports->Fault(SOURCE_POS + "widget " + entry.name + " ", "failed to draw: unknown exception");
        }
        RecoverFromFailedWidget();
    }
    glLineWidth(1.0f);
}

void Graphics::RecoverFromFailedWidget() {
    // What the next widget expects of the overlay pass.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glLineWidth(1.0f);
}
