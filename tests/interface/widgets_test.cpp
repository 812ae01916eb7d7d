// The widgets' own rules without a window: key capture frame by frame, the
// name entry, the radio group, the slider's arithmetic and guards, and the
// missile counter. The frames are driven by hand: the flags the
// InterfaceManager's hit test sets and the keys the InputManager reports.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "event_manager.h"
#include "input_manager.h"
#include "interface/choice_widgets.h"
#include "interface/controls_button.h"
#include "interface/float_text.h"
#include "interface/number_counter.h"
#include "interface/slider_bar.h"
#include "interface/text_box.h"
#include "interface_manager.h"
#include "object_manager.h"
#include "objects/combat_comps.h"
#include "system.h"
#include "weapons.h"

namespace {

InterfaceManager& Ui() { return *Module<InterfaceManager>::Instance(); }
InputManager& Input() { return *Module<InputManager>::Instance(); }
EventManager& Post() { return *Module<EventManager>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }

const int kEscape = 27;

class Widgets : public ::testing::Test {
protected:
    void SetUp() override {
        Sys().width = 1024;
        Sys().height = 768;
        Sys().running.store(false);  // the knob's missing picture writes no error-log file
        Post().Init();
        Input().Init();
        Input().ClearText();
        Ui().Init();
    }
    void TearDown() override {
        Ui().Kill();
        Post().Kill();
    }
};

// One frame of a capturing button: what the player did since the last one.
struct CaptureFrame {
    bool click;
    float seconds;  // the frame's time step
    int key;        // the InputManager's lastKey
};

struct CaptureCase {
    const char* name;
    int oldKey;
    std::vector<CaptureFrame> frames;
    std::string label;
    bool ends;
    int InputManager::*binding;  // the one the name chooses; null for none
    int bound;                   // its value afterwards
};

TEST_F(Widgets, KeyCaptureFrameByFrame) {
    const int none = InputManager::kNoKey;
    const CaptureCase cases[] = {
        {"Forward: ", 'S', {{true, 0, none}, {false, 0.1f, 'W'}}, "Forward: W", true, &InputManager::forward, 'W'},
        {"Back: ", 'S', {{true, 0, none}, {false, 10.0f, none}}, "Back: S", true, &InputManager::back, 'S'},
        {"Left: ", 'A', {{true, 0, none}, {false, 10.0f, 'Q'}}, "Left: Q", true, &InputManager::left, 'Q'},
        {"Jump: ", 32, {{true, 0, none}, {false, 2.5f, none}}, std::string("Jump: 7.5\0", 10), false,
         &InputManager::jump, 0},
        {"Jump: ", 32, {{true, 0, none}, {false, 2.5f, none}, {false, 0.00877f, none}}, "Jump: 7.49", false,
         &InputManager::jump, 0},
        {"Missiles: ", 386, {{true, 0, none}, {false, 0.1f, 384}}, "Missiles: Mouse Left", true,
         &InputManager::missile, 384},
        {"Dash: ", 304, {{true, 0, none}, {false, 0.1f, kEscape}}, "Dash: Left Shift", true, &InputManager::dash, 304},
        {"Somewhere: ", 1, {{true, 0, none}, {false, 0.1f, 'K'}}, "Somewhere: K", true, nullptr, 0},
    };
    for (const CaptureCase& c : cases) {
        SCOPED_TRACE(c.label);
        Input().Init();
        if (c.binding) Input().*c.binding = 0;
        ControlsButton button(0, Vector());
        button.name = c.name;
        button.key = c.oldKey;
        for (const CaptureFrame& frame : c.frames) {
            button.clicked = frame.click;
            Sys().frameTime.store(frame.seconds);
            Input().lastKey = frame.key;
            Input().keyPressed[kEscape] = frame.key == kEscape;
            button.Activate();
        }
        EXPECT_EQ(button.label.text, c.label);
        EXPECT_EQ(button.capturing, !c.ends);
        EXPECT_EQ(Ui().keyCapture, !c.ends);
        if (c.ends) {
            EXPECT_EQ(button.captureCountdown, 10.0f);
        }
        if (c.binding) {
            EXPECT_EQ(Input().*c.binding, c.bound);
        }
        EXPECT_FALSE(Input().WasKeyPressed(kEscape)) << "an Escape is the button's, not the screen's";
        Ui().keyCapture = false;
    }
}

TEST_F(Widgets, OnlyOneButtonCapturesAtATime) {
    ControlsButton first(0, Vector()), second(100, Vector());
    first.SetPressedColor(1, 0, 0, 1);
    second.SetIdleColor(0, 1, 0, 1);
    first.clicked = second.clicked = true;
    first.Activate();
    second.Activate();
    EXPECT_TRUE(first.capturing && !second.capturing && Ui().keyCapture);
    EXPECT_EQ(second.color.g, 1.0f);
    EXPECT_EQ(first.color.r, 1.0f);
}

TEST_F(Widgets, TheNameEntryKeepsTenCharactersAndSubmitsOnEnter) {
    Post().RegisterClient("GameLogic");
    TextBox box(0, Vector());
    box.name = TextBox::kNameInput;
    box.editable = true;
    Ui().selectedName = box.name;
    for (char c : std::string("ABCDEFGHIJK")) Input().KeyHandler(c);
    box.Activate();
    EXPECT_EQ(box.text.text, "ABCDEFGHIJ");
    EXPECT_EQ(Input().GetText(), "ABCDEFGHIJ");
    Input().KeyHandler(13);
    box.Activate();
    EXPECT_EQ(Ui().selectedName, InterfaceManager::kNoneSelected);
    EXPECT_EQ(box.text.text, "ABCDEFGHIJ");
    for (const char* client : {"InterfaceManager", "GameLogic"}) {
        const auto sent = Post().PollEvents(client);
        ASSERT_EQ(sent.size(), 1u) << client;
        EXPECT_EQ(sent[0].eventType, InterfaceManager::kUpdateScoreList);
        EXPECT_EQ(sent[0].GetParam<std::string>(InterfaceManager::kParamName), "ABCDEFGHIJ");
    }

    Input().ClearText();
    Input().KeyHandler(13);
    Ui().selectedName = box.name;
    box.Activate();
    const auto sent = Post().PollEvents("GameLogic");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].GetParam<std::string>(InterfaceManager::kParamName), "");
    Post().UnregisterClient("GameLogic");
}

TEST_F(Widgets, ABoxNotEditableOrNotSelectedIgnoresTyping) {
    TextBox box(0, Vector());
    box.SetText("kept");
    Input().AppendChar('x');
    Ui().selectedName = box.name;
    box.Activate();
    box.editable = true;
    Ui().selectedName = "someone else";
    box.Activate();
    EXPECT_EQ(box.text.text, "kept");
}

TEST_F(Widgets, ARadioGroupKeepsOneOptionAndPostsOncePerChange) {
    Post().RegisterClient("Probe");
    RadioButton group(0, Vector(500, 100, 0, 0));
    auto* first = dynamic_cast<RadioOption*>(group.children[0]);
    auto* second = dynamic_cast<RadioOption*>(group.children[1]);
    EXPECT_TRUE(first->label.position.x == 500 && second->label.position.x == 680);
    second->AddEvent(Event("test", "Probe", "Windowed"));
    group.SelectOption(0);
    second->clicked = true;
    group.Activate();
    group.Activate();  // clicked again: already selected
    EXPECT_TRUE(second->selected && !first->selected && group.IsOptionSelected());
    EXPECT_EQ(Post().PollEvents("Probe").size(), 1u);
    EXPECT_EQ(second->texture.id, "tex_radio");
    EXPECT_EQ(first->texture.id, "");
    EXPECT_EQ(first->color.a, 0.0f);
    group.SelectOption(7);
    EXPECT_TRUE(second->selected);
    Post().UnregisterClient("Probe");
}

TEST_F(Widgets, ANewSliderReadsFiftyWithItsKnobInTheMiddle) {
    SliderBar slider(0, Vector(0, 300, 0, 0));
    EXPECT_EQ(slider.position.x, 256.0f);
    EXPECT_EQ(slider.width, 512.0f);
    EXPECT_EQ(slider.FindChild(SliderBar::kKnob)->position.x, 507.0f);
    EXPECT_EQ(dynamic_cast<TextBox*>(slider.FindChild(SliderBar::kCountText))->text.text, "50");
    slider.SetRange(0.25f, 4);
    EXPECT_EQ(slider.FindChild(SliderBar::kKnob)->position.x, 256.0f + 512 - 5);
    EXPECT_EQ(dynamic_cast<TextBox*>(slider.FindChild(SliderBar::kCountText))->text.text, "4");
    EXPECT_EQ(dynamic_cast<TextBox*>(slider.FindChild(SliderBar::kMaxText))->text.text, "100");
}

TEST_F(Widgets, AnEmptyRangeOrTrackKeepsEveryPositionFinite) {
    SliderBar slider(0, Vector(0, 300, 0, 0));
    slider.SetRange(5, 5);
    slider.held = true;
    Input().SetMousePosition(Vector(0.3f, 0, 0, 0));
    slider.Activate();
    EXPECT_EQ(slider.value, 5.0f);
    EXPECT_EQ(slider.FindChild(SliderBar::kKnob)->position.x, 256.0f - 5);
    slider.SetRange(0, 100);
    slider.SetSize(0, 10);
    slider.Activate();
    EXPECT_EQ(slider.value, 100.0f) << "a track of no width ignores the drag";
    for (InterfaceObject* child : slider.children) EXPECT_TRUE(std::isfinite(child->position.x)) << child->name;
}

TEST_F(Widgets, MovingASliderMovesAllFiveChildrenAlike) {
    SliderBar slider(0, Vector(0, 300, 0, 0));
    std::vector<Vector> before;
    for (InterfaceObject* child : slider.children) before.push_back(child->position);
    slider.SetPosition(slider.position + Vector(10, -20, 0, 0));
    ASSERT_EQ(slider.children.size(), 5u);
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(slider.children[i]->position.x, before[i].x + 10) << slider.children[i]->name;
        EXPECT_EQ(slider.children[i]->position.y, before[i].y - 20) << slider.children[i]->name;
    }
}

TEST_F(Widgets, TheCounterShowsOnlyAMissileWeaponsSupply) {
    ObjectManager& objects = *Module<ObjectManager>::Instance();
    objects.Init();
    auto addArmed = [&](const std::string& name, Weapon* secondary) {
        GameObject object(name);
        WeaponComp weapons;
        weapons.secondary = secondary;
        object.AttachComponent(weapons);
        objects.AddGameObject(object);
    };
    auto* missiles = new Missile();
    missiles->ammo = 3;
    missiles->maxAmmo = 20;
    addArmed("player", missiles);
    addArmed("laserOnly", new SimpleSpread());
    NumberCounter counter(0, Vector());
    counter.counterKind = NumberCounter::kWeaponCounter;
    const struct {
        const char* object;
        const char* shown;
    } cases[] = {{"player", "3/20"}, {"laserOnly", ""}, {"nobody", ""}, {"", ""}};
    for (const auto& c : cases) {
        counter.objectName = c.object;
        counter.Activate();
        EXPECT_EQ(counter.text.text, c.shown) << c.object;
    }
    ObjectLock lock;
    objects.ClearGameObjects();
}

TEST(FloatText, SixSignificantDigitsAtMost) {
    EXPECT_EQ(FloatToString(50), "50");
    EXPECT_EQ(FloatToString(0.25f), "0.25");
    EXPECT_EQ(FloatToString(7.49123f), "7.49123");
    EXPECT_EQ(InterfaceManager::GetKeyName(97), "a");
    EXPECT_EQ(InterfaceManager::GetKeyName(303), "Right Shift");
    EXPECT_EQ(InterfaceManager::GetKeyName(385), "Mouse Middle");
}

}  // namespace
