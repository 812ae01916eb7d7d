// The renderer's two-dimensional drawing on a real OpenGL context with the
// first level loaded as the game flow will load it: bitmap text, the
// interface screens' backgrounds, billboards in the particle target, debug
// shapes in the geometry buffer, and the slide shows, timed by the frame time
// step that the test sets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_manager.h"
#include "graphics.h"
#include "graphics/gl_state.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "objects/graphics_comps.h"
#include "support/first_level_scene.h"
#include "support/gl_context.h"
#include "support/log_capture.h"
#include "support/screen_pixels.h"

namespace {

using test_support::LogCapture;

Graphics& TheGraphics() { return *Module<Graphics>::Instance(); }
ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

const int kW = 640, kH = 480;

struct Rgba {
    int r, g, b, a;
};

std::ostream& operator<<(std::ostream& out, const Rgba& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

bool Near(const Rgba& a, const Rgba& b, int tolerance = 3) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// A picture of rows of texels (top row first), stored and uploaded as `name`.
void PutPicture(const std::string& name, const std::vector<std::vector<Rgba>>& rows) {
    Texture picture(unsigned(rows[0].size()), unsigned(rows.size()), 4);
    for (unsigned y = 0; y < picture.height; ++y)
        for (unsigned x = 0; x < picture.width; ++x) {
            const Rgba& c = rows[y][x];
            picture.SetPixel(x, y, uint32_t(c.r) | uint32_t(c.g) << 8 | uint32_t(c.b) << 16 | uint32_t(c.a) << 24);
        }
    Store().set<Texture>(Handle(name), picture);
    Store().InitGLTexture(*Store().get<Texture>(Handle(name)));
}

// The back buffer (texture 0) or a render target, bottom row first.
std::vector<Rgba> Read(unsigned texture = 0) {
    std::vector<unsigned char> bytes(size_t(kW) * kH * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (texture) glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    else glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    std::vector<Rgba> pixels;
    for (size_t i = 0; i < bytes.size(); i += 4) pixels.push_back({bytes[i], bytes[i + 1], bytes[i + 2], bytes[i + 3]});
    return pixels;
}
Rgba At(const std::vector<Rgba>& pixels, int x, int y) { return pixels[size_t(y) * kW + x]; }

// Where a text put ink (red above 32) on black, in window pixels.
struct Ink {
    int minX = kW, minY = kH, maxX = -1, maxY = -1, count = 0;
    bool operator==(const Ink& o) const {
        return minX == o.minX && minY == o.minY && maxX == o.maxX && maxY == o.maxY && count == o.count;
    }
};

// The text printed in white on black in the overlay pass's pixel projection.
Ink Printed(const char* text, int x, int y, float scale) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, kW, 0, kH, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glColor4f(1, 1, 1, 1);
    TheGraphics().PrintText(text, x, y, scale);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    const std::vector<Rgba> shown = Read();
    Ink ink;
    for (int py = 0; py < kH; ++py)
        for (int px = 0; px < kW; ++px) {
            if (At(shown, px, py).r <= 32) continue;
            ink.minX = std::min(ink.minX, px), ink.maxX = std::max(ink.maxX, px);
            ink.minY = std::min(ink.minY, py), ink.maxY = std::max(ink.maxY, py);
            ++ink.count;
        }
    return ink;
}

Rgba WindowCentre() {
    const auto c = test_support::ReadOwnWindowPixel(kW / 2, kH / 2);
    return c ? Rgba{c->r, c->g, c->b, 255} : Rgba{-1, -1, -1, -1};
}

class Overlays : public test_support::GLContextTest {
protected:
    static void SetUpTestSuite() {
        GLContextTest::SetUpTestSuite();
        if (!opened) return;
        loaded = test_support::LoadFirstLevelScene();
        TheGraphics().Init();
        const Rgba grey{200, 200, 200, 255}, blue{50, 100, 150, 255};
        PutPicture("tex_test_grey", {{grey}});
        PutPicture("tex_test_blue", {{blue}});
    }

    void SetUp() override {
        GLContextTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(loaded);
        Sys().frameTime.store(0.25);
        // Level, high above the ground, towards -z: sky behind the centre.
        ObjectLock lock;
        CameraObject& camera = Objects().cameraObject;
        camera.mode = 0;
        camera.target = Vector(0, 1000, 0, 0);
        camera.yaw = camera.pitch = 0.0f;
    }

    void TearDown() override {
        TheGraphics().isRenderingSplash = TheGraphics().isRenderingCredits = false;
        Module<InterfaceManager>::Instance()->currentState = InterfaceState::Blank;
        ObjectLock lock;
        Objects().splashScreen = Objects().credits = SplashScreen();
        EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    }

    static inline bool loaded = false;
};

TEST_F(Overlays, TextInksItsGlyphSquaresAndAdvancesByTheSpacing) {
    for (float scale : {1.0f, 0.5f}) {
        const float side = 22.4f * scale, advance = 15.68f * scale;
        const Ink one = Printed("A", 100, 50, scale), two = Printed("AA", 100, 50, scale);
        EXPECT_GT(one.count, 0);
        // Pixel centres inside the glyph square (100, 50) to (100 + side, 50 + side).
        EXPECT_TRUE(one.minX >= 100 && one.maxX + 0.5f < 100 + side && one.minY >= 50 && one.maxY + 0.5f < 50 + side)
            << scale << ": " << one.minX << ".." << one.maxX << ", " << one.minY << ".." << one.maxY;
        EXPECT_NEAR(two.maxX - one.maxX, advance, 1.0f) << scale;
        EXPECT_TRUE(two.minX == one.minX && two.minY == one.minY) << scale;
    }
    // Control codes draw nothing (large, so that a list below the font, such
    // as the quad list, would show) and move nothing; a newline starts the
    // next line under the first glyph.
    const Ink a = Printed("A", 100, 50, 1.0f);
    EXPECT_EQ(Printed("\x01\x1e", 300, 200, 40.0f).count, 0);
    EXPECT_TRUE(Printed("\x01" "A\n", 100, 50, 1.0f) == a);
    const Ink lines = Printed("A\nA", 100, 50, 1.0f);
    EXPECT_TRUE(lines.minX == a.minX && lines.maxX == a.maxX && lines.maxY == a.maxY);
    EXPECT_NEAR(lines.minY, a.minY - 22.4f, 1.0f);
    EXPECT_EQ(Printed(nullptr, 100, 50, 1.0f).count, 0);
}

TEST_F(Overlays, EachScreenShowsItsPictureOrVeilOverWhatIsDrawn) {
    const Rgba red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255}, white{255, 255, 255, 255};
    const Texture title = *Store().get<Texture>(Handle("tex_start"));
    PutPicture("tex_start", {{red, green}, {blue, white}});  // row 0 at the top of the screen
    Store().DeleteResource("tex_mars_screen");
    const Rgba scene{200, 150, 100, 255}, veiled{100, 75, 50, 255}, black{0, 0, 0, 255};
    const struct {
        InterfaceState::Type screen;
        Rgba topLeft, topRight, bottomLeft;
    } cases[] = {{InterfaceState::Title, red, green, blue},
                 {InterfaceState::Pause, veiled, veiled, veiled},
                 {InterfaceState::EndlessModeStart, veiled, veiled, veiled},
                 {InterfaceState::QuitConfirm, black, black, black},
                 {InterfaceState::Ingame, scene, scene, scene},
                 {InterfaceState::Score, scene, scene, scene}};  // its picture is not loaded
    LogCapture log;
    for (const auto& c : cases) {
        Module<InterfaceManager>::Instance()->currentState = c.screen;
        for (int frame = 0; frame < 2; ++frame) {
            glClearColor(scene.r / 255.0f, scene.g / 255.0f, scene.b / 255.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            TheGraphics().RenderScreenOverlays();
        }
        const std::vector<Rgba> shown = Read();
        EXPECT_TRUE(Near(At(shown, kW / 4, kH * 3 / 4), c.topLeft)) << c.screen << At(shown, kW / 4, kH * 3 / 4);
        EXPECT_TRUE(Near(At(shown, kW * 3 / 4, kH * 3 / 4), c.topRight)) << c.screen;
        EXPECT_TRUE(Near(At(shown, kW / 4, kH / 4), c.bottomLeft)) << c.screen;
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_TEXTURE_2D)) << c.screen;
    }
    EXPECT_EQ(log.Count("WARNING"), 1) << log.Text();
    EXPECT_TRUE(log.Has("tex_mars_screen")) << log.Text();
    GLint depth[2] = {};
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth[0]);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth[1]);
    EXPECT_TRUE(depth[0] == 1 && depth[1] == 1);
    Store().set<Texture>(Handle("tex_start"), title);
}

TEST_F(Overlays, ALiveBillboardIsBlendedInOnceAndADeadOneNotAtAll) {
    PutPicture("tex_test_shot", {{{255, 0, 0, 128}}});
    GameObject shot("test shot");
    BillboardComp billboard;
    billboard.texture = Handle("tex_test_shot");
    shot.AttachComponent(billboard);
    shot.trans = Vector(0, 1000, -50, 1);
    ASSERT_TRUE(Objects().AddGameObject(shot));
    // Over the cleared (1, 1, 1, 0): once gives (255, 127, 127, 64), twice (255, 63, 63, 96).
    for (const auto& c : {std::make_pair(false, Rgba{255, 127, 127, 64}), std::make_pair(true, Rgba{255, 255, 255, 0})}) {
        {
            ObjectLock lock;
            Objects().GetGameObject("test shot")->isDead = c.first;
        }
        TheGraphics().Update();
        const Rgba centre = At(Read(graphics::CurrentTargets().particle), kW / 2, kH / 2);
        EXPECT_TRUE(Near(centre, c.second) && std::abs(centre.a - c.second.a) <= 3) << c.first << centre;
    }
    ObjectLock lock;
    Objects().RemoveDeadGameObjects();
}

Event DebugDraw(const char* type) {
    Event event("test", "Graphics", Graphics::kDebugDraw);
    event.SetParam<std::string>(DebugGraphics::kParamType, type);
    return event;
}

// The first x from x0 towards x1 in row y whose colour is near `colour`; -1 when none.
int FindInRow(const std::vector<Rgba>& pixels, int y, int x0, int x1, const Rgba& colour) {
    for (int x = x0; x != x1; x += x1 > x0 ? 1 : -1)
        if (Near(At(pixels, x, y), colour, 60)) return x;
    return -1;
}

TEST_F(Overlays, DebugShapesShowTheirColoursAndABadLineIsDroppedBeforeTheFrame) {
    const Rgba green{0, 255, 0, 255}, red{255, 0, 0, 255}, blue{0, 0, 255, 255};
    Event box = DebugDraw(DebugGraphics::kWireBox), line = DebugDraw(DebugGraphics::kLine);
    Event badLine = DebugDraw(DebugGraphics::kLine);
    box.SetParam(DebugGraphics::kParamTrans, Vector(0, 1000, -10, 1));
    line.SetParam(DebugGraphics::kParamPointA, Vector(-2, 1000, -10, 1));
    line.SetParam(DebugGraphics::kParamPointB, Vector(2, 1000, -10, 1));
    badLine.SetParam(DebugGraphics::kParamPointA, Vector(0, 1000, -10, 1));
    LogCapture log;
    EventManager& events = *Module<EventManager>::Instance();
    events.PublishEvent(box);
    TheGraphics().Update();
    std::vector<Rgba> shown = Read(graphics::CurrentTargets().geometry);
    // The unit cube 10 ahead: its near vertical edges about 20 pixels either side.
    const int y = kH / 2;
    EXPECT_FALSE(Near(At(shown, kW / 2, y), green, 60)) << "a wire box, not a solid one";
    EXPECT_NEAR(FindInRow(shown, y, kW / 2, kW - 1, green) - kW / 2, 20, 3);
    EXPECT_NEAR(kW / 2 - FindInRow(shown, y, kW / 2, 0, green), 20, 3);

    events.PublishEvent(badLine);
    events.PublishEvent(line);
    TheGraphics().Update();
    shown = Read(graphics::CurrentTargets().geometry);
    EXPECT_TRUE(Near(At(shown, kW / 2, y), green, 60)) << At(shown, kW / 2, y);
    // The ends 2 to either side, 10 ahead: 83 pixels out.
    EXPECT_NEAR(FindInRow(shown, y, 0, kW / 2, red), kW / 2 - 83, 3);
    EXPECT_NEAR(FindInRow(shown, y, kW - 1, kW / 2, blue), kW / 2 + 83, 3);
    EXPECT_EQ(log.Count("WARNING"), 1) << log.Text();
    EXPECT_TRUE(log.Has(DebugGraphics::kParamPointB) && !log.Has("failed")) << log.Text();
    EXPECT_TRUE(TheGraphics().debugGraphics.eventQueue.empty());

    // Drawn outside the program in use, which is bound again afterwards.
    const unsigned program = TheGraphics().deferredBoneProgram;
    glUseProgram(program);
    TheGraphics().debugGraphics.Queue(box);
    TheGraphics().debugGraphics.Render();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, GLint(program));
    glUseProgram(0);

    // Frames without the scene do not drain the queue: it is capped.
    DebugGraphics waiting;
    log.Restart();
    for (size_t i = 0; i < DebugGraphics::kMaxQueued + 10; ++i) waiting.Queue(box);
    EXPECT_EQ(waiting.eventQueue.size(), DebugGraphics::kMaxQueued);
    EXPECT_EQ(log.Count("WARNING"), 1) << log.Text();
}

// One slide per picture, `duration` seconds each.
SplashScreen Show(std::initializer_list<const char*> pictures, float duration, bool looping) {
    SplashScreen show;
    for (const char* picture : pictures) {
        show.slides.emplace_back();
        show.slides.back().texture = Handle(picture);
        show.slides.back().duration = duration;
    }
    show.looping = looping;
    return show;
}

TEST_F(Overlays, TheSplashFadesToBlackOnTimeAndWinsOverTheCredits) {
    SplashScreen splash = Show({"tex_test_grey", "tex_test_blue"}, 5.5f, false);
    splash.AddImage(0, SplashImage::kFade, 1, 1, 1, 3.0f, 2.5f);
    {
        ObjectLock lock;
        Objects().splashScreen = splash;
        Objects().credits = Show({"tex_test_blue"}, 2.0f, true);
    }
    TheGraphics().isRenderingSplash = TheGraphics().isRenderingCredits = true;
    // Frame k shows the show as k steps of 0.25 s left it: the fade starts at
    // 3 s (frame 12), loses 0.4 per second and the next slide comes at 5.5 s.
    const struct {
        int frame;
        Rgba shown;
    } expected[] = {{0, {200, 200, 200, 255}}, {12, {200, 200, 200, 255}}, {14, {160, 160, 160, 255}},
                    {21, {20, 20, 20, 255}}, {22, {50, 100, 150, 255}}};
    int frame = 0;
    for (const auto& e : expected) {
        for (; frame <= e.frame; ++frame) TheGraphics().Update();
        EXPECT_TRUE(Near(WindowCentre(), e.shown)) << e.frame << WindowCentre();
    }
}

TEST_F(Overlays, TheCreditsAfterTheSceneLookAsTheFirstTime) {
    SplashScreen credits = Show({"tex_test_grey", "tex_test_blue"}, 1.0f, true);
    credits.AddImage(0, SplashImage::kFade, 1, 1, 1, 0.25f, 0.5f);
    {
        ObjectLock lock;
        Objects().credits = credits;
    }
    auto watch = [] {  // left in the middle of the first slide
        TheGraphics().isRenderingCredits = true;
        std::vector<int> seen;
        for (int frame = 0; frame < 3; ++frame) {
            TheGraphics().Update();
            seen.push_back(WindowCentre().r);
        }
        TheGraphics().isRenderingCredits = false;
        return seen;
    };
    const std::vector<int> first = watch();
    EXPECT_EQ(first, (std::vector<int>{200, 200, 100})) << "fading from 0.25 s for 0.5 s";
    TheGraphics().Update();  // one scene frame
    EXPECT_EQ(watch(), first);
}

}  // namespace
