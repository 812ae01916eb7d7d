// The widgets in the game's window (640 x 480), driven as a player drives
// them: the pointer moved with SDL_WarpMouse, the button pressed with xdotool
// (real X events, which SDL's button table sees), each frame run as the frame
// loop runs it (System, InputManager, InterfaceManager, Graphics). What the
// renderer drew is read back from the screen. A key captured through the real
// pump is the menus' test (menu_screens_window_test), a name typed through it
// the end screens' (end_screens_window_test).
#include "interface/interface_window.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "interface/button.h"
#include "interface/choice_widgets.h"
#include "interface/slider_bar.h"
#include "interface/text_box.h"
#include "support/log_capture.h"
#include "support/screen_pixels.h"

namespace {

using namespace test_support;
using namespace interface_window;

const char* const kProbe = "Probe";  // the client the test buttons post to

class WidgetsWindow : public InterfaceWindow {
protected:
    void SetUp() override {
        GLContextTest::SetUp();
        if (HasFatalFailure()) return;
        Ui().Init();
        // A black screen behind the widgets: the quit question's background.
        Ui().currentState = InterfaceState::QuitConfirm;
        Post().RegisterClient(kProbe);
        Sys().frameTime.store(1.0 / 60);
        Input().ClearText();
    }

    void TearDown() override {
        std::system("xdotool mouseup 1 >/dev/null 2>&1");
        Frames(2);
        Ui().Kill();
        Post().UnregisterClient(kProbe);
        EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    }

    // The pointer at window pixel (x, y), y counted upwards as the interface
    // counts it.
    static void PointAt(int x, int y) {
        SDL_WarpMouse(Uint16(x), Uint16(kH - y));
        const Vector wanted = InputManager::MousePositionFor(x, kH - y, kW, kH);
        FramesUntil([&] {
            const Vector at = Input().GetMousePosition();
            return at.x == wanted.x && at.y == wanted.y;
        });
    }
    static void Xdotool(const std::string& arguments) {
        ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
    }
    // The colour shown at interface pixel (x, y).
    static std::optional<ScreenColor> Shown(int x, int y) { return ReadOwnWindowPixel(x, kH - 1 - y); }
    static bool ShowsRgb(int x, int y, int r, int g, int b) {
        return Shows(Shown(x, y), uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16, 8);
    }
    static size_t ProbeEvents() { return Post().PollEvents(kProbe).size(); }

    // An unlabelled button at (x, y), 200 x 75, posting one event to the probe.
    static Button* AddButton(float x, float y) {
        auto* button = dynamic_cast<Button*>(Ui().CreateInterfaceObject(InterfaceManager::kButton, Vector()));
        button->SetPosition(Vector(x, y, 0, 0));
        button->label.text.clear();
        button->AddEvent(Event("test", kProbe, "Clicked"));
        Ui().AddInterfaceObject(button);
        return button;
    }
};

TEST_F(WidgetsWindow, AHeldClickPostsOnceAndShowsThePressedColourForItsFrameOnly) {
    Button* button = AddButton(100, 100);
    button->SetIdleColor(0, 1, 0, 1);
    button->SetPressedColor(1, 0, 0, 1);
    PointAt(200, 110);
    Frames(2);
    EXPECT_TRUE(ShowsRgb(200, 110, 0, 255, 0));
    Xdotool("mousedown 1");
    ASSERT_TRUE(FramesUntil([&] { return button->clicked; }));
    EXPECT_TRUE(ShowsRgb(200, 110, 255, 0, 0)) << "the click frame";
    Frame();
    EXPECT_TRUE(ShowsRgb(200, 110, 0, 255, 0)) << "the frame after, still held";
    EXPECT_TRUE(button->held && !button->clicked);
    Xdotool("mouseup 1");
    Frames(3);
    EXPECT_EQ(ProbeEvents(), 1u);
    EXPECT_EQ(Ui().selectedName, button->Outline()->name) << "the last one hit: the outline, after its button";
}

TEST_F(WidgetsWindow, AClickWithinOneFrameCountsOnce) {
    Button* button = AddButton(100, 100);
    PointAt(150, 150);
    Xdotool("click 1");
    ASSERT_TRUE(FramesUntil([&] { return Ui().selectedName == button->Outline()->name; }));
    Frames(3);
    EXPECT_EQ(ProbeEvents(), 1u);
}

TEST_F(WidgetsWindow, HoverShowsTheOutlineAndTheRightEdgeCountsAsInside) {
    Button* button = AddButton(100, 100);
    button->SetIdleColor(1, 1, 1, 0);
    button->dimLabel = true;
    auto outlineShown = [] { return ShowsRgb(100, 130, 255, 255, 255) || ShowsRgb(99, 130, 255, 255, 255); };
    PointAt(50, 50);
    Frames(2);
    EXPECT_TRUE(ShowsRgb(200, 110, 0, 0, 0)) << "an alpha-0 button paints no box";
    EXPECT_FALSE(outlineShown());
    EXPECT_EQ(button->label.color.a, 0.5f);
    PointAt(300, 175);  // the top-right corner, both bounds inclusive
    Frame();
    EXPECT_TRUE(button->hover);
    EXPECT_TRUE(outlineShown());
    EXPECT_EQ(button->label.color.a, 1.0f);
    PointAt(301, 175);
    Frame();
    EXPECT_FALSE(button->hover);
}

TEST_F(WidgetsWindow, OverlappingWidgetsGiveTheLaterNameAndAClickOnNothingGivesNone) {
    InterfaceObject* under = Ui().CreateInterfaceObject(InterfaceManager::kTextBox, Vector(100, 100, 0, 0));
    InterfaceObject* over = Ui().CreateInterfaceObject(InterfaceManager::kTextBox, Vector(150, 120, 0, 0));
    const std::string overName = over->name;
    Ui().AddInterfaceObject(under);
    Ui().AddInterfaceObject(over);
    PointAt(200, 140);
    Xdotool("mousedown 1");
    ASSERT_TRUE(FramesUntil([&] { return under->clicked; }));
    EXPECT_TRUE(over->clicked);
    EXPECT_EQ(Ui().selectedName, overName);
    Xdotool("mouseup 1");
    Input().AppendChar('x');
    PointAt(10, 10);
    Xdotool("mousedown 1");
    ASSERT_TRUE(FramesUntil([&] { return Ui().selectedName == InterfaceManager::kNoneSelected; }));
    EXPECT_EQ(Input().GetText(), "");
}

// Opaque blue; flags itself for removal in its first Activate.
struct Leaving : InterfaceObject {
    explicit Leaving(int* activations) : InterfaceObject(WidgetType::TextBox, 0, Vector(300, 300, 0, 0)), activations(activations) {
        name = "leaving";
        width = height = 50;
        color = Color4{0, 0, 1, 1};
    }
    void Activate() override {
        ++*activations;
        pendingRemoval = true;
    }
    int* activations;
};

TEST_F(WidgetsWindow, AWidgetFlaggedInActivateIsDrawnThatFrameAndThenGone) {
    int activations = 0;
    Ui().AddInterfaceObject(new Leaving(&activations));
    Frame();
    EXPECT_TRUE(ShowsRgb(325, 325, 0, 0, 255));
    Frame();
    EXPECT_FALSE(Registry().Contains("leaving"));
    EXPECT_TRUE(ShowsRgb(325, 325, 0, 0, 0));
    EXPECT_EQ(activations, 1);
}

struct Throwing : InterfaceObject {
    Throwing() : InterfaceObject(WidgetType::TextBox, 0, Vector(0, 0, 0, 0)) { name = "throwing"; }
    void Draw() override { throw std::runtime_error("no picture"); }
};

TEST_F(WidgetsWindow, AWidgetThatThrowsIsReportedOnceAndTheNextStillShows) {
    Ui().AddInterfaceObject(new Throwing());
    InterfaceObject* next = Ui().CreateInterfaceObject(InterfaceManager::kTextBox, Vector(400, 50, 0, 0));
    next->SetColor(0, 1, 0, 1);
    Ui().AddInterfaceObject(next);
    LogCapture log;
    Frames(100);
    EXPECT_EQ(log.Count("failed to draw: no picture"), 1) << log.Text();
    EXPECT_TRUE(ShowsRgb(450, 60, 0, 255, 0));
}

TEST_F(WidgetsWindow, ARealDragReachesExactlyBothEndsOfTheRange) {
    auto* slider = dynamic_cast<SliderBar*>(Ui().CreateInterfaceObject(InterfaceManager::kSliderBar, Vector(0, 200, 0, 0)));
    ASSERT_TRUE(slider->position.x == 160 && slider->width == 320);
    Ui().AddInterfaceObject(slider);
    PointAt(240, 204);
    Xdotool("mousedown 1");
    ASSERT_TRUE(FramesUntil([&] { return slider->held; }));
    PointAt(160, 204);
    EXPECT_EQ(slider->value, 0.0f);
    EXPECT_EQ(slider->FindChild(SliderBar::kKnob)->position.x, 155.0f);
    PointAt(480, 204);
    EXPECT_EQ(slider->value, 100.0f);
    Xdotool("mouseup 1");
    PointAt(300, 204);
    EXPECT_EQ(slider->value, 100.0f) << "released: no drag";
}

TEST_F(WidgetsWindow, TheWindowedSelectorOffersNoWideModeAndAClickTurnsOneOutlineRed) {
    auto* selector = new ResolutionSelector(Ui().nextObjectId, true, Vector());
    Ui().nextObjectId += 100;
    Ui().AddInterfaceObject(selector);
    Frame();
    std::string offered;
    for (InterfaceObject* child : selector->children) {
        if (child->type != WidgetType::Button) continue;
        offered += child->name + " ";
        EXPECT_EQ(child->FirstChild()->color.g, 1.0f) << child->name << " white before a click";
    }
    EXPECT_EQ(offered, "800x600 1024x768 1280x1024 ");
    PointAt(int(0.15f * kW) + 20, int(0.6f * kH) + 10);
    Xdotool("mousedown 1");
    ASSERT_TRUE(FramesUntil([&] { return selector->selection == "1024x768"; }));
    Xdotool("mouseup 1");
    Frame();
    for (InterfaceObject* child : selector->children) {
        if (child->type != WidgetType::Button) continue;
        EXPECT_EQ(child->FirstChild()->color.g, child->name == "1024x768" ? 0.0f : 1.0f) << child->name;
    }
    EXPECT_EQ(dynamic_cast<TextBox*>(selector->FirstChild())->text.text, "Resolution Selected: 1024x768");
}

}  // namespace
