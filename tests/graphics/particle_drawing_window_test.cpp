// ParticleGraphics::RenderDeferred on a real OpenGL context, into a small
// target of the test's own with a depth target that is far everywhere: with
// an atlas of flat-coloured cells installed as "tex_particle", a particle
// shows its cell's colour (a cell outside the atlas is clamped into it); an
// empty store or a missing atlas draws nothing; the frame's state comes back.
#include <gtest/gtest.h>

#include <vector>

#include "graphics.h"
#include "graphics/particle_graphics.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "support/gl_context.h"
#include "support/log_capture.h"
#include "support/screen_pixels.h"

namespace {

Graphics& TheGraphics() { return *Module<Graphics>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }
ParticleGraphics& Particles() { return TheGraphics().particleGraphics; }
ParticleSystemController& Controller() { return Objects().particleSystemController; }

constexpr const char* kAtlas = "tex_particle";
constexpr int kSide = 64;  // the test target, in pixels

// A colour of its own for every atlas cell, as RGBA with red in the low byte.
uint32_t CellColour(int cell) {
    return uint32_t(20 + 9 * cell) | uint32_t(230 - 9 * cell) << 8 | uint32_t(cell * 37 % 256) << 16 | 0xFF000000u;
}

void InstallAtlas() {
    Texture atlas(ParticleGraphics::kAtlasSide, ParticleGraphics::kAtlasSide, 4);
    for (int cell = 0; cell < ParticleGraphics::kDefinedCells; ++cell) {
        const ParticleGraphics::AtlasCell& r = ParticleGraphics::kAtlasCells[cell];
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x) atlas.SetPixel(unsigned(x), unsigned(y), CellColour(cell));
    }
    if (Store().IsStored(kAtlas)) Store().DeleteResource(kAtlas);
    ASSERT_EQ(0, Store().add(kAtlas, atlas));
    Store().InitGLTexture(*Store().get<Texture>(Handle(kAtlas)));
}

GLuint FlatTexture(unsigned char value) {
    const std::vector<unsigned char> bytes(kSide * kSide * 4, value);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSide, kSide, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    return name;
}

class ParticleDrawing : public test_support::GLContextTest {
protected:
    static void SetUpTestSuite() {
        GLContextTest::SetUpTestSuite();
        if (opened) TheGraphics().Init();
    }

    void SetUp() override {
        GLContextTest::SetUp();
        if (HasFatalFailure()) return;
        InstallAtlas();
        colour = FlatTexture(0);
        depth = FlatTexture(255);  // unpacks to beyond the far plane
        glGenFramebuffersEXT(1, &frameBuffer);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frameBuffer);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, colour, 0);
        ASSERT_EQ(GLenum(GL_FRAMEBUFFER_COMPLETE_EXT), glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT));
        glViewport(0, 0, kSide, kSide);
        glDisable(GL_DEPTH_TEST);
        // The camera at the origin looking down -z; particles 10 units ahead.
        Objects().cameraObject.viewMat = Matrix();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1, 1, -1, 1, 1, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // As the frame's particle pass leaves it.
        const GLuint program = Particles().deferredParticleProgram;
        glUseProgram(program);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, depth);
        glUniform1i(glGetUniformLocation(program, "depthTex"), 1);
        glActiveTexture(GL_TEXTURE0);
        glUniform1i(glGetUniformLocation(program, "tex"), 0);
    }
    void TearDown() override {
        Controller().particles.clear();  // the test's particles belong to no emitter
        glUseProgram(0);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glDeleteFramebuffersEXT(1, &frameBuffer);
        glDeleteTextures(1, &colour);
        glDeleteTextures(1, &depth);
        RemoveAtlas();
    }

    static void RemoveAtlas() {
        if (!Store().IsStored(kAtlas)) return;
        Store().FreeContextData(kAtlas);
        Store().DeleteResource(kAtlas);
    }

    // A live particle of that cell straight ahead, filling most of the target.
    static void Place(int32_t variant, bool live = true) {
        Particle& p = Controller().particles.emplace_back();
        p.isFree = !live;
        p.variant = variant;
        p.color = Vector(1, 1, 1, 1);
        p.position = Vector(0, 0, -10);
        p.width = p.height = 12.0f;
    }

    // Clears the target, draws the store and reads the target's centre.
    static test_support::ScreenColor DrawnCentre() {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        Particles().RenderDeferred();
        unsigned char rgba[4] = {};
        glReadPixels(kSide / 2, kSide / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return {rgba[0], rgba[1], rgba[2]};
    }

    GLuint colour = 0, depth = 0, frameBuffer = 0;
};

// Every drawn colour, a cell outside the atlas clamped into it, then the
// state the frame's particle pass expects back; a free slot and a missing
// atlas (warned once) draw nothing.
TEST_F(ParticleDrawing, AParticleShowsItsCellAndFreeSlotsOrAMissingAtlasDrawNothing) {
    struct Case { int32_t variant, cell; };
    for (const Case& c : {Case{22, 22}, {0, 0}, {19, 19}, {99, 22}, {-4, 0}}) {
        Controller().particles.clear();
        Place(c.variant);
        EXPECT_TRUE(test_support::Shows(DrawnCentre(), CellColour(c.cell), 2)) << "variant " << c.variant;
    }
    GLint blend[2] = {}, program = 0;
    glGetIntegerv(GL_BLEND_SRC, &blend[0]);
    glGetIntegerv(GL_BLEND_DST, &blend[1]);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(glIsEnabled(GL_BLEND) && blend[0] == GL_SRC_ALPHA && blend[1] == GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(GLuint(program), Particles().deferredParticleProgram);
    EXPECT_EQ(GL_TRUE, depthWrites);
    EXPECT_EQ(GLenum(GL_NO_ERROR), TakeGLError());

    Controller().particles.clear();
    Place(22, false);
    EXPECT_TRUE(test_support::Shows(DrawnCentre(), 0, 0));
    RemoveAtlas();
    Place(22);
    test_support::LogCapture log;
    EXPECT_TRUE(test_support::Shows(DrawnCentre(), 0, 0));
    DrawnCentre();
    EXPECT_EQ(1, log.Count(kAtlas)) << log.Text();
    EXPECT_EQ(GLenum(GL_NO_ERROR), TakeGLError());
}

}  // namespace
