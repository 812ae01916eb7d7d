// The widget base and the InterfaceManager's registry without a window:
// generated names and ids, text placement, the factory's running id, and
// ownership of what is registered, refused, flagged or cleared.
#include <gtest/gtest.h>

#include <string>

#include "event_manager.h"
#include "input_manager.h"
#include "interface/button.h"
#include "interface/interface_object.h"
#include "interface/panels.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "support/log_capture.h"
#include "system.h"

namespace {

InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
InterfaceObjectList& Registry() { return Module<ObjectManager>::Instance()->interObjList; }

// A widget that counts its own destruction and can ask to be removed.
struct Probe : InterfaceObject {
    Probe(const std::string& probeName, int* deaths, bool leaveOnActivate = false)
        : InterfaceObject(WidgetType::Button, 0, Vector(0, 0, 0, 0)), deaths(deaths), leave(leaveOnActivate) {
        name = probeName;
        width = height = 10.0f;
    }
    ~Probe() override { ++*deaths; }
    void Activate() override {
        ++activations;
        if (leave) pendingRemoval = true;
    }
    int* deaths;
    bool leave;
    int activations = 0;
};

class WidgetRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        Module<EventManager>::Instance()->Init();
        Module<InputManager>::Instance()->Init();
        Ui().Init();
    }
    void TearDown() override {
        Ui().Kill();
        Module<EventManager>::Instance()->Kill();
    }
};

TEST(WidgetNames, KeywordAndIdOrTheBareKeywordOrNothing) {
    EXPECT_EQ(InterfaceObject(WidgetType::Button, 0, Vector()).name, "BUTTON0");
    EXPECT_EQ(InterfaceObject(WidgetType::ControlsButton, 1700, Vector()).name, "CONTROLSBUTTON1700");
    EXPECT_EQ(InterfaceObject(WidgetType::Console, 4200, Vector()).name, "CONSOLE");
    EXPECT_EQ(InterfaceObject(WidgetType::HackPanel, 7, Vector()).name, "HACKPANEL");
    EXPECT_EQ(InterfaceObject(WidgetType::StatusBar, 900, Vector()).name, "");
    Button button(1700, Vector(10, 20, 0, 0));
    EXPECT_EQ(button.Outline()->id, 1701);
    EXPECT_EQ(button.label.text, "BUTTON1700") << "a new button is labelled with its name";
    button.SetPosition(Vector(30, 40, 0, 0));
    EXPECT_TRUE(button.label.position.x == 30 && button.Outline()->position.y == 40) << "moved, not re-aligned";
}

TEST(TextPlacement, CentredByTheSquaredSpacingAndOnlyWithAnOwner) {
    Module<System>::Instance()->fontSpacing = 0.7f;
    InterfaceObject box(WidgetType::TextBox, 0, Vector(100, 40, 0, 0));
    box.SetSize(200, 50);
    InterfaceText text;
    text.text = "ABCDEFGHIJ";
    text.AlignCenter();
    EXPECT_EQ(text.alignment, TextAlignment::kNone) << "no owner: nothing recorded";
    EXPECT_EQ(text.position.x, 0.0f);
    text.owner = &box;
    text.AlignCenter();
    EXPECT_EQ(int(text.position.x), 121);
    EXPECT_NEAR(text.position.y, 40 + 25 - 11.2f, 1e-4);

    InterfaceText empty;
    empty.owner = &box;
    empty.position = Vector(5, 6, 0, 0);
    empty.AlignCenter();
    EXPECT_TRUE(empty.alignment == TextAlignment::Center && empty.position.x == 5.0f);
    empty.text = "AB";
    empty.SetAlignment(empty.alignment);
    EXPECT_NEAR(empty.position.x, 200 - 15.68f, 1e-4);
    empty.SetAlignment(TextAlignment::BottomLeft);
    EXPECT_TRUE(empty.position.x == 100.0f && empty.position.y == 40.0f);
    empty.SetAlignment(8);
    EXPECT_EQ(empty.alignment, 8);
    empty.SetAlignment(42);
    EXPECT_EQ(empty.alignment, 8);
}

TEST_F(WidgetRegistry, IdsRunByAHundredFromTheConsoleOnAndKindsOutsideTheTableGiveNull) {
    ASSERT_NE(Module<ObjectManager>::Instance()->console, nullptr);
    EXPECT_EQ(Module<ObjectManager>::Instance()->console->id, 0);
    EXPECT_FALSE(Module<ObjectManager>::Instance()->console->visible);
    test_support::LogCapture log;
    InterfaceObject* made = Ui().CreateInterfaceObject(InterfaceManager::kConsole, Vector());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->id, 100);
    delete made;
    EXPECT_EQ(Ui().CreateInterfaceObject(99, Vector()), nullptr);
    EXPECT_TRUE(log.Has("no widget of kind 99"));
    EXPECT_EQ(Ui().nextObjectId, 300);
}

TEST_F(WidgetRegistry, ADuplicateIsRefusedAndFreedAndDeletingTwiceIsLogged) {
    int deaths = 0;
    EXPECT_TRUE(Ui().AddInterfaceObject(new Probe("A", &deaths)));
    EXPECT_FALSE(Ui().AddInterfaceObject(new Probe("A", &deaths)));
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(Registry().size(), 1u);
    test_support::LogCapture log;
    Ui().DeleteInterfaceObject("A");
    Ui().DeleteInterfaceObject("A");
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(log.Count("Object already deleted/Does not exist"), 1);
}

TEST_F(WidgetRegistry, AWidgetFlaggedInActivateGetsNoFurtherFrameAndAScreenBuildClearsAll) {
    int deaths = 0;
    auto* leaving = new Probe("leaving", &deaths, true);
    auto* staying = new Probe("staying", &deaths);
    Ui().AddInterfaceObject(leaving);
    Ui().AddInterfaceObject(staying);
    Ui().Update();
    EXPECT_TRUE(Registry().Contains("leaving")) << "removed after the walk of the next frame";
    EXPECT_EQ(leaving->activations, 1);
    Ui().Update();
    EXPECT_FALSE(Registry().Contains("leaving"));
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(staying->activations, 2);

    Ui().BuildInterface(InterfaceState::Empty);
    EXPECT_TRUE(Registry().empty());
    EXPECT_EQ(deaths, 2);
    EXPECT_TRUE(Ui().previousState == InterfaceState::Blank && Ui().currentState == InterfaceState::Empty);
}

TEST_F(WidgetRegistry, KillTwiceAndUpdateAfterKillDoNothing) {
    int deaths = 0;
    Ui().AddInterfaceObject(new Probe("A", &deaths));
    Ui().Kill();
    EXPECT_EQ(Module<ObjectManager>::Instance()->console, nullptr);
    EXPECT_EQ(deaths, 1);
    Ui().Kill();
    Ui().Update();
    Ui().Init();
}

}  // namespace
