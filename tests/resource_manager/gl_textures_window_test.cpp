// Textures, the offscreen framebuffer and the screen image on a real OpenGL
// context: what the renderer and the player will see.
#include <SDL.h>

#include <cstdlib>

#include "graphics.h"
#include "resource_manager.h"
#include "support/gl_context.h"
#include "support/log_capture.h"
#include "support/screen_pixels.h"

using test_support::GLContextTest;
using test_support::LogCapture;

namespace {

const unsigned NO_TEXTURE = Texture::NO_TEXTURE;  // a value copy (no out-of-class definition)

// Distinct bytes everywhere; an odd width so that rows are not 4-aligned.
Texture Pattern(unsigned w, unsigned h, unsigned bpp = 4) {
    Texture t(w, h, bpp);
    for (size_t i = 0; i < t.ByteCount(); ++i) t.data[i] = (unsigned char)(i * 7 + 3);
    return t;
}

struct Rgb {
    int r, g, b;
};

Rgb ImagePixel(const Texture& t, unsigned x, unsigned y) {
    const uint32_t p = t.GetPixel(x, y);
    return {int(p & 0xFF), int((p >> 8) & 0xFF), int((p >> 16) & 0xFF)};
}

// What the player sees at (x, y) of the window, y counted from the bottom.
Rgb ShownPixel(int x, int y) {
    const auto c = test_support::ReadOwnWindowPixel(x, Module<System>::Instance()->height - 1 - y);
    return c ? Rgb{c->r, c->g, c->b} : Rgb{-1, -1, -1};
}

void ExpectNear(const Rgb& expected, const Rgb& actual, int tolerance, const char* where) {
    EXPECT_LE(std::abs(expected.r - actual.r), tolerance) << where;
    EXPECT_LE(std::abs(expected.g - actual.g), tolerance) << where;
    EXPECT_LE(std::abs(expected.b - actual.b), tolerance) << where;
}

const Rgb SPLASH_GREEN = {40, 220, 90};
const Rgb LOADING_AMBER = {250, 210, 40};

class GLTextures : public GLContextTest {
protected:
    void SetUp() override {
        GLContextTest::SetUp();
        Sys().width = 640;
        Sys().height = 480;
    }
    void ExpectFrameTargetsOfSize(int w, int h) {
        for (unsigned name : {resources.frameTex0, resources.frameTex1, resources.frameTex2,
                              resources.frameTex3, resources.frameTex4}) {
            EXPECT_EQ(TextureLevelSize(name, 0, GL_TEXTURE_WIDTH), w);
            EXPECT_EQ(TextureLevelSize(name, 0, GL_TEXTURE_HEIGHT), h);
        }
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, resources.depthRenderBufferName);
        GLint depthW = 0, depthH = 0;
        glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_WIDTH_EXT, &depthW);
        glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_HEIGHT_EXT, &depthH);
        EXPECT_EQ(depthW, w);
        EXPECT_EQ(depthH, h);
    }
    ResourceManager resources;
};

// ---- Resource textures -------------------------------------------------------------

TEST_F(GLTextures, UploadReadsBackEqualToTheSource) {
    Texture texture = Pattern(5, 3);
    resources.InitGLTexture(texture);
    ASSERT_TRUE(glIsTexture(texture.texID));
    std::vector<unsigned char> back(texture.ByteCount());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, back.data());
    EXPECT_EQ(back, std::vector<unsigned char>(texture.data, texture.data + texture.ByteCount()));
    EXPECT_EQ(TextureLevelSize(texture.texID, 1, GL_TEXTURE_WIDTH), 2);  // mipmaps made

    // A second upload makes a second texture; the first stays.
    const unsigned first = texture.texID;
    resources.InitGLTexture(texture);
    EXPECT_NE(texture.texID, first);
    EXPECT_TRUE(glIsTexture(first));
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLTextures, OtherPixelSizesAreRefusedNotMisread) {
    LogCapture log;
    for (unsigned bpp : {1u, 3u}) {
        Texture texture = Pattern(4, 4, bpp);
        resources.InitGLTexture(texture);
        EXPECT_EQ(texture.texID, NO_TEXTURE) << bpp;
    }
    EXPECT_EQ(log.Count("bytes per pixel not uploaded"), 2) << log.Text();
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

// ---- The framebuffer ---------------------------------------------------------------

TEST_F(GLTextures, FrameBufferIsCompleteAtWindowSizeAndRebuiltAtANewOne) {
    LogCapture log;
    resources.BuildFrameBuffer();
    ExpectFrameTargetsOfSize(640, 480);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, resources.frameBufferName);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, resources.frameTex3, 0);
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), GLenum(GL_FRAMEBUFFER_COMPLETE_EXT));
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

    const unsigned oldTexture = resources.frameTex2, oldFrameBuffer = resources.frameBufferName;
    resources.FreeFrameBuffer();
    EXPECT_FALSE(glIsTexture(oldTexture));
    EXPECT_FALSE(glIsFramebufferEXT(oldFrameBuffer));
    Sys().width = 320;
    Sys().height = 200;
    resources.BuildFrameBuffer();
    ExpectFrameTargetsOfSize(320, 200);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
}

TEST_F(GLTextures, FreeingTwiceNeverDeletesANameHandedOutAgain) {
    resources.BuildFrameBuffer();
    resources.FreeFrameBuffer();
    // A new context (the video subsystem restarts) hands the numbers out again.
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ASSERT_TRUE(Sys().InitGL());
    std::vector<Texture> textures(8, Pattern(2, 2));
    for (Texture& t : textures) resources.InitGLTexture(t);
    resources.FreeFrameBuffer();
    for (const Texture& t : textures) EXPECT_TRUE(glIsTexture(t.texID)) << t.texID;
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

// ---- The screen image and the loading screen -------------------------------------

TEST_F(GLTextures, SplashFrameFillsTheWindowTheRightWayUp) {
    ResourceManager& shared = *Module<ResourceManager>::Instance();
    LogCapture log;
    shared.LoadSplashTexture();
    shared.InitLoadingScreenTexture();
    const unsigned splashName = shared.screenImageTexID;
    ASSERT_TRUE(glIsTexture(splashName));

    // Before Graphics::Init: only the context and the uploaded image are needed.
    Module<Graphics>::Instance()->DrawLoadingScreen();
    ExpectNear(SPLASH_GREEN, ShownPixel(320, 240), 2, "window centre");
    // The window's corners show the picture's corners as filed.
    const std::unique_ptr<Texture> asFiled = shared.LoadTexture(ResourceManager::SPLASH_IMAGE_FILE);
    ExpectNear(ImagePixel(*asFiled, 2, 2), ShownPixel(1, 478), 12, "top left");
    ExpectNear(ImagePixel(*asFiled, asFiled->width - 3, asFiled->height - 3), ShownPixel(638, 1), 12,
               "bottom right");

    // The loading picture takes the slot; the splash's texture is gone.
    shared.LoadLoadingTexture();
    EXPECT_EQ(shared.screenImageTexID, 0u);
    EXPECT_FALSE(glIsTexture(splashName));
    ASSERT_NE(shared.screenImage, nullptr);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
}

TEST_F(GLTextures, AResolutionChangeShowsTheLoadingPictureAndRebuildsTheTargets) {
    ResourceManager& shared = *Module<ResourceManager>::Instance();
    shared.LoadLoadingTexture();  // as start-up leaves it: loaded, not uploaded
    LogCapture log;
    ASSERT_TRUE(Sys().ChangeResolution(800, 600, false));
    const unsigned first = shared.screenImageTexID;
    EXPECT_TRUE(glIsTexture(first));
    // The driver takes the new window size at a buffer swap, so the frame
    // after the change is the first one drawn at the new size.
    Module<Graphics>::Instance()->DrawLoadingScreen();
    ExpectNear(LOADING_AMBER, ShownPixel(400, 300), 2, "window centre");
    EXPECT_EQ(TextureLevelSize(shared.frameTex0, 0, GL_TEXTURE_WIDTH), 800);
    EXPECT_TRUE(log.Has("finished loading context"));

    // A second change in the same context replaces the picture's texture
    // instead of leaving the first one behind.
    ASSERT_TRUE(Sys().ChangeResolution(640, 480, false));
    EXPECT_TRUE(glIsTexture(shared.screenImageTexID));
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_EQ(TextureLevelSize(shared.frameTex0, 0, GL_TEXTURE_WIDTH), 640);
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

}  // namespace
