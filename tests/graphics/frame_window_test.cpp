// The renderer's frame on a real OpenGL context with the first level loaded
// as the game flow will load it: what the geometry buffer and the window
// hold, the "Set" event, the camera's lights, and a frame that recovers from
// what the last one left behind, runs without "tex_noise" and survives a
// change of resolution without leaking.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "event_manager.h"
#include "graphics.h"
#include "graphics/gl_state.h"
#include "object_manager.h"
#include "support/first_level_test.h"
#include "support/log_capture.h"
#include "support/screen_pixels.h"
#include "support/target_image.h"
#include "support/temp_folder.h"

namespace {

using namespace test_support;

const float kPi = 3.14159265f;

class Frame : public FirstLevelTest {
protected:
    static constexpr int kW = 640, kH = 480;
    static constexpr float kSky = 0.9999f * Graphics::kFarPlane;

    static void SetUpTestSuite() {
        FirstLevelTest::SetUpTestSuite();
        if (!loaded) return;
        // The window is compared with the combined target: nothing over it
        // (the cockpit is the mesh pass tests' subject).
        ObjectLock lock;
        Objects().cockpit.meshHandle = Handle();
        // The sky and the ground are this suite's subject: the rim's cliffs,
        // which stand in the view from the map's corner and the player's
        // start, go.
        for (auto& [number, object] : Objects().gameObjectList)
            if (object.patternName.rfind("RimWall", 0) == 0) Objects().KillGameObject(object);
        Objects().RemoveDeadGameObjects();
        Objects().RebuildObjectInstanceBuffers();
    }

    void SetUp() override {
        FirstLevelTest::SetUp();
        if (HasFatalFailure()) return;
        ObjectLock lock;
        ASSERT_TRUE(Objects().HasGameObject("player"));
        player = Objects().GetGameObject("player")->trans;
    }

    static void Look(int mode, const Vector& target, float yaw, float pitch) {
        ObjectLock lock;
        CameraObject& camera = Objects().cameraObject;
        camera.mode = mode;
        camera.target = target;
        camera.yaw = yaw;
        camera.pitch = pitch;
    }

    static TargetImage Target(unsigned texture) { return TargetImage(texture, kW, kH); }
    static graphics::FrameTargets Targets() { return graphics::CurrentTargets(); }

    static void ExpectWindowShows(const Texel& expected, int x, int y, int tolerance) {
        const auto shown = test_support::ReadOwnWindowPixel(x, kH - 1 - y);
        ASSERT_TRUE(shown);
        EXPECT_NEAR(shown->r, expected.r, tolerance) << x << "," << y;
        EXPECT_NEAR(shown->g, expected.g, tolerance) << x << "," << y;
        EXPECT_NEAR(shown->b, expected.b, tolerance) << x << "," << y;
    }

    Vector player;
};

TEST_F(Frame, SkyAndGroundCoverThePictureAndTheWindowShowsTheCombinedResult) {
    EXPECT_EQ(test_support::CountOf(*setUpLog, "ERROR"), 0) << *setUpLog;
    Look(0, player, kPi, 0.0f);  // towards the basin's centre, level
    TheGraphics().Update();
    const TargetImage depth = Target(Targets().depth), colour = Target(Targets().geometry);
    const TargetImage combined = Target(Targets().combined);
    for (int x = 0; x < kW; x += 7) {
        EXPECT_GE(depth.DepthAt(x, kH - 1), kSky) << "sky at the top, column " << x;
        EXPECT_LT(depth.DepthAt(x, 0), 250.0f) << "ground at the bottom, column " << x;
    }
    int bare = 0;  // pixels still holding the clear colour
    for (int y = 0; y < kH; y += 3)
        for (int x = 0; x < kW; x += 3) {
            const Texel t = colour.At(x, y);
            bare += t.r == 51 && t.g == 51 && t.b == 51;
        }
    EXPECT_LE(bare, 10);
    // Sky is not hazed and no particle lies over it; the ground is hazed.
    const Texel sky = colour.At(kW / 2, kH - 5), skyCombined = combined.At(kW / 2, kH - 5);
    EXPECT_TRUE(std::abs(sky.r - skyCombined.r) <= 1 && std::abs(sky.b - skyCombined.b) <= 1);
    for (int y : {kH - 5, kH / 2 - 40, 10}) ExpectWindowShows(combined.At(kW / 2, y), kW / 2, y, 8);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(Frame, ACameraTurnedToTheSkyShowsOnlySky) {
    Look(1, player, 0.3f, -1.2f);  // well above the horizon
    TheGraphics().Update();
    const TargetImage depth = Target(Targets().depth), colour = Target(Targets().geometry);
    for (int y = 0; y < kH; y += 11)
        for (int x = 0; x < kW; x += 13) ASSERT_GE(depth.DepthAt(x, y), kSky) << x << "," << y;
    const Texel centre = colour.At(kW / 2, kH / 2);
    EXPECT_GT(centre.r + centre.g + centre.b, 60) << "the sky is textured, not black";
    ExpectWindowShows(centre, kW / 2, kH / 2, 8);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

// The ground replaced by one flat, untextured quad at height 0.
TEST_F(Frame, TheGeometryBufferHoldsTheDepthAndNormalOfAFlatGround) {
    Mesh quad;
    quad.verts = {Vertex(-5000, 0, -5000), Vertex(5000, 0, -5000), Vertex(5000, 0, 5000), Vertex(-5000, 0, 5000)};
    quad.triangles = {Triangle(0, 2, 1), Triangle(0, 3, 2)};
    for (Triangle& t : quad.triangles)
        for (auto& n : t.normal) n[1] = 1.0f;
    quad.useTexture = false;
    Store().add("mesh_test_flat", quad);
    GroundPlaneObject saved;
    {
        ObjectLock lock;
        saved = Objects().groundObject;
        Objects().groundObject.meshHandle = Handle("mesh_test_flat");
        Objects().groundObject.pos = Vector(0, 0, 0, 0);
        Objects().groundObject.scale = Vector(1, 1, 1, 0);
    }
    // Eye depth of the plane seen from height 100 through the centre of pixel
    // row y, looking along yaw 0 at `pitch` (the same across the row).
    auto expectedDepth = [](int y, float pitch) {
        const float dy = ((y + 0.5f) / (kH / 2.0f) - 1.0f) * std::tan(Graphics::kFieldOfView / 2);
        return -100.0f / (std::cos(pitch) * dy - std::sin(pitch));  // height over the eye ray's world y
    };
    for (float pitch : {CameraObject::kPitchClamp, 0.5f}) {
        Look(0, Vector(0, 100, 0, 0), 0.0f, pitch);
        TheGraphics().Update();
        const TargetImage depth = Target(Targets().depth), normal = Target(Targets().normal);
        const Vector expected(0.0f, std::cos(pitch), std::sin(pitch));  // world up seen from the eye
        for (int y : {0, 100, 239, 240, 400})
            for (int x : {0, 320, 639}) {
                if (expectedDepth(y, pitch) <= 0.0f) continue;  // above the horizon
                EXPECT_NEAR(depth.DepthAt(x, y), expectedDepth(y, pitch), 1e-3f * expectedDepth(y, pitch))
                    << pitch << " at " << x << "," << y;
                const Vector n = normal.NormalAt(x, y);
                EXPECT_TRUE(std::abs(n.x - expected.x) < 0.01f && std::abs(n.y - expected.y) < 0.01f &&
                            std::abs(n.z - expected.z) < 0.01f)
                    << pitch << " at " << x << "," << y << ": " << n;
            }
    }
    Store().DeleteResource("mesh_test_flat");
    ObjectLock lock;
    Objects().groundObject = saved;
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}


// The full-screen passes read their targets with unfiltered fetches where
// the driver has them; without, a biased filtered read takes their place.
TEST_F(Frame, ThePassesWithoutTexelFetchesDrawTheSamePicture) {
    Look(0, player, kPi, 0.1f);
    Graphics& graphics = TheGraphics();
    graphics.Update();
    const TargetImage reference = Target(Targets().combined);

    test_support::TempFolder folder;
    auto fallback = [&](const std::string& stem) {
        std::string text = test_support::ReadFile("shaders/" + stem + "_frag.glsl");
        const std::string test = "#ifdef GL_EXT_gpu_shader4";
        EXPECT_NE(text.find(test), std::string::npos) << stem;
        text.replace(text.find(test), test.size(), "#if 0");
        folder.WriteFile(stem + "_frag.glsl", text);
        LogCapture log;
        const unsigned program = graphics.LoadShaderProgram("shaders/" + stem + "_vert.glsl", folder.Path() + "/" + stem + "_frag.glsl");
        EXPECT_EQ(log.Text(), "") << stem;
        return program;
    };
    const unsigned combine = graphics.deferredCombineProgram, polish = graphics.deferredPolishProgram;
    graphics.deferredCombineProgram = fallback("deferred_combine");
    graphics.deferredPolishProgram = fallback("deferred_polish");
    graphics.Update();
    const TargetImage combined = Target(Targets().combined);
    for (int y = 0; y < kH; y += 17)
        for (int x = 0; x < kW; x += 19) {
            const Texel a = reference.At(x, y), b = combined.At(x, y);
            ASSERT_TRUE(std::abs(a.r - b.r) <= 1 && std::abs(a.g - b.g) <= 1 && std::abs(a.b - b.b) <= 1) << x << "," << y;
        }
    for (unsigned* program : {&graphics.deferredCombineProgram, &graphics.deferredPolishProgram}) glDeleteProgram(*program);
    graphics.deferredCombineProgram = combine;
    graphics.deferredPolishProgram = polish;
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(Frame, SetEventsChooseTheSlideShowsAndSceneFramesRestartTheCredits) {
    auto sendSet = [](auto splash, auto credits) {
        Event set("test", "Graphics", Graphics::kSet);
        if (splash) set.SetParam(Graphics::kParamRenderingSplash, *splash);
        if (credits) set.SetParam(Graphics::kParamRenderingCredits, *credits);
        Module<EventManager>::Instance()->PublishEvent(set);
        TheGraphics().Update();
    };
    const std::optional<bool> on = true, off = false, none;
    Graphics& graphics = TheGraphics();
    {
        ObjectLock lock;
        Objects().credits.currentSlide = 2;
    }
    sendSet(none, on);
    EXPECT_TRUE(graphics.isRenderingCredits && !graphics.isRenderingSplash);
    EXPECT_EQ(Objects().credits.currentSlide, 2) << "a credits frame keeps its slide";
    sendSet(on, none);
    EXPECT_TRUE(graphics.isRenderingCredits && graphics.isRenderingSplash);
    EXPECT_EQ(graphics.ChooseFrameMode(), Graphics::FrameMode::kSplash);
    LogCapture log;
    sendSet(std::optional<int>(0), off);  // a mistyped flag drops the whole event
    EXPECT_TRUE(graphics.isRenderingCredits && graphics.isRenderingSplash);
    EXPECT_TRUE(log.Has(Graphics::kParamRenderingSplash)) << log.Text();
    sendSet(off, none);
    EXPECT_EQ(graphics.ChooseFrameMode(), Graphics::FrameMode::kCredits);
    sendSet(none, off);
    EXPECT_EQ(graphics.ChooseFrameMode(), Graphics::FrameMode::kScene);
    EXPECT_EQ(Objects().credits.currentSlide, 0) << "a scene frame restarts the credits";
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(Frame, LightsBeyondTheListOrOpenGLsEightAreSwitchedOff) {
    std::vector<LightObject> levelLights;
    {
        ObjectLock lock;
        levelLights = Objects().lightObjectList;
        Objects().lightObjectList.assign(9, LightObject());
        Objects().lightObjectList[1].position = Vector(1, 2, 3, 1);
    }
    LogCapture log;
    Look(0, Vector(0, 0, 0, 0), 0.0f, 0.0f);  // the identity view: positions stay as given
    TheGraphics().Update();
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + i)) << i;
    GLfloat position[4] = {};
    glGetLightfv(GL_LIGHT1, GL_POSITION, position);
    EXPECT_TRUE(position[0] == 1 && position[1] == 2 && position[2] == 3 && position[3] == 1);
    EXPECT_EQ(log.Count("WARNING"), 1) << log.Text();
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR)) << "a ninth light is never handed to OpenGL";
    {
        ObjectLock lock;
        Objects().lightObjectList.resize(3);
    }
    TheGraphics().Update();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(bool(glIsEnabled(GL_LIGHT0 + i)), i < 3) << i;
    GLfloat diffuse[4] = {1, 1, 1, 1};
    glGetLightfv(GL_LIGHT5, GL_DIFFUSE, diffuse);
    EXPECT_TRUE(diffuse[0] == 0 && diffuse[1] == 0 && diffuse[2] == 0) << "the shaders sum every light";
    ObjectLock lock;
    Objects().lightObjectList = levelLights;
}

TEST_F(Frame, EveryFrameStartsFromTheWindowNoProgramAndOneMatrix) {
    Look(0, player, kPi, 0.0f);
    TheGraphics().Update();
    const Texel clean = Target(Targets().combined).At(kW / 2, 100);
    // More frames than the model-view stack has entries, each left in a mess.
    for (int frame = 0; frame < 40; ++frame) {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glTranslatef(0, 50, 0);
        glUseProgram(TheGraphics().deferredCombineProgram);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, Targets().frameBuffer);
        TheGraphics().Update();
    }
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    GLint depth = 0, program = -1, framebuffer = -1;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
    EXPECT_TRUE(depth == 1 && program == 0 && framebuffer == 0) << depth << " " << program << " " << framebuffer;
    const Texel after = Target(Targets().combined).At(kW / 2, 100);
    EXPECT_TRUE(after.r == clean.r && after.g == clean.g && after.b == clean.b);
}

TEST_F(Frame, WithoutTheNoiseTextureTheFrameWarnsOnceAndTheLogStopsGrowing) {
    Texture noise = *Store().get<Texture>(Handle("tex_noise"));
    Store().DeleteResource("tex_noise");
    LogCapture log;
    TheGraphics().Update();
    TheGraphics().Update();
    const size_t length = log.Text().size();
    TheGraphics().Update();
    EXPECT_EQ(log.Text().size(), length) << log.Text();
    EXPECT_EQ(log.Count("WARNING"), 1) << log.Text();
    EXPECT_TRUE(log.Has("tex_noise")) << log.Text();
    Store().add("tex_noise", noise);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

// Every live OpenGL name of the context among the first few thousand numbers.
int LiveNames() {
    int count = 0;
    for (GLuint n = 1; n < 4096; ++n)
        count += glIsTexture(n) + glIsBuffer(n) + glIsProgram(n) + glIsShader(n) + glIsList(n) + glIsFramebufferEXT(n) +
                 glIsRenderbufferEXT(n);
    return count;
}

TEST_F(Frame, ASecondInitAtANewSizeFollowsItAndLeaksNothingAndUpdateOutsideInitAndKillDoesNothing) {
    Store().InitLoadingScreenTexture();  // a resolution change shows the loading picture
    const int before = LiveNames();
    LogCapture log;
    ASSERT_TRUE(Sys().ChangeResolution(800, 600, false));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(viewport[2] == 800 && viewport[3] == 600);
    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const Matrix& perspect = Objects().perspectMat;
    EXPECT_FLOAT_EQ(projection[0], perspect.m[0][0]);
    EXPECT_NEAR(perspect.m[1][1] / perspect.m[0][0], 800.0f / 600.0f, 1e-5f);
    for (unsigned target : {Targets().geometry, Targets().depth, Targets().normal, Targets().particle, Targets().combined})
        EXPECT_TRUE(TextureLevelSize(target, 0, GL_TEXTURE_WIDTH) == 800 &&
                    TextureLevelSize(target, 0, GL_TEXTURE_HEIGHT) == 600);
    EXPECT_EQ(LiveNames(), before);
    TheGraphics().Update();
    TheGraphics().Kill();
    TheGraphics().Kill();  // a second Kill deletes nothing
    EXPECT_EQ(LiveNames(), before - Graphics::kFontListCount) << "Kill deletes the font lists, nothing else";
    glUseProgram(TheGraphics().cockpitProgram);
    TheGraphics().Update();  // after Kill: nothing drawn, nothing changed
    Graphics fresh;
    fresh.Update();  // before Init: the same
    fresh.Kill();
    EXPECT_EQ(LiveNames(), before - Graphics::kFontListCount) << "Kill before Init deletes nothing";
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, GLint(TheGraphics().cockpitProgram));
    glUseProgram(0);
    TheGraphics().Init();
    EXPECT_EQ(LiveNames(), before);
    ASSERT_TRUE(Sys().ChangeResolution(kW, kH, false));
    EXPECT_EQ(LiveNames(), before);
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

}  // namespace
