// Graphics: one frame of a slide show (the splash or the credits) in place of
// the scene: the screen turned black, the current slide's picture laid over
// it through its effects (pan and zoom move the texture coordinates, fade
// lowers the picture's alpha towards the black), then the show advanced.
//
// Main thread, object lock held by the frame; the window's framebuffer with
// blending on.
#include <GL/glew.h>

#include <algorithm>

#include "graphics.h"
#include "graphics/frame_reports.h"
#include "graphics/splash_screen.h"
#include "resource_manager.h"

namespace {

// A zoom amount below 1 shrinks the part shown from all of the picture to
// 1 - amount of it; one of 1 or more grows it from nothing to the amount.
float ZoomScale(float amount, float progress) { return amount < 1.0f ? 1.0f - amount * progress : amount * progress; }

// Applies the slide's active effects, in order, to the texture matrix (which
// is current); returns the picture's alpha.
float ApplyEffects(const SplashSlide& slide) {
    float alpha = 1.0f;
    for (const SplashImage& effect : slide.images) {
        if (!effect.isActive) continue;
        const float f = effect.Progress();
        const Vector& a = effect.amount;
        switch (effect.kind) {
            case SplashImage::kPan:
                glTranslatef(a.x * f, a.y * f, a.z * f);
                break;
            case SplashImage::kZoom:
                glScalef(ZoomScale(a.x, f), ZoomScale(a.y, f), 1.0f);
                break;
            case SplashImage::kFade:
                alpha = std::min(1.0f, std::max(0.0f, 1.0f - a.x * f));
                break;
            default:
                break;
        }
    }
    return alpha;
}

void PushIdentity(GLenum stack) {
    glMatrixMode(stack);
    glPushMatrix();
    glLoadIdentity();
}

void PopStack(GLenum stack) {
    glMatrixMode(stack);
    glPopMatrix();
}

}  // namespace

void Graphics::RenderSplashScreen(SplashScreen& show) {
    const SplashSlide* slide = show.CurrentSlide();
    if (!slide) {
        reports->WarnOnce("empty slide show", "a slide show without slides: nothing shown");
        return;
    }
    glUseProgram(0);
    glEnable(GL_TEXTURE_2D);
    const unsigned picture = SlideTextureName(slide->texture);
    glBindTexture(GL_TEXTURE_2D, picture);
    PushIdentity(GL_PROJECTION);
    PushIdentity(GL_TEXTURE);
    const float alpha = ApplyEffects(*slide);
    PushIdentity(GL_MODELVIEW);
    glBegin(GL_QUADS);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    graphics::SendScreenQuadCorners();
    // A picture that is missing leaves the screen black.
    if (picture != 0) {
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
        graphics::SendScreenQuadCorners();
    }
    glEnd();
    PopStack(GL_PROJECTION);
    PopStack(GL_TEXTURE);
    PopStack(GL_MODELVIEW);
    glDisable(GL_TEXTURE_2D);
    show.Update();
}

unsigned Graphics::SlideTextureName(const Handle& handle) {
    if (handle.id.empty()) {
        reports->WarnOnce("slide without picture", "a slide has no picture: it is shown black");
        return 0;
    }
    ResourceManager& resources = *Module<ResourceManager>::Instance();
    Texture* texture = resources.IsStored(handle.id) ? resources.get<Texture>(handle) : nullptr;
    if (texture && texture->texID == Texture::kNoTexture) {
        resources.InitGLTexture(*texture);
        // A picture that cannot be uploaded is not tried again every frame.
        if (texture->texID == Texture::kNoTexture) texture->texID = 0;
    }
    return FrameTextureName(handle.id);
}
