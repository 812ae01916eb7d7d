// The InputManager's polls over plain key-state tables (no window), its
// consumption rules, the pointer mapping and text entry.
#include <gtest/gtest.h>

#include <array>

#include "input_manager.h"

namespace {

const int kSpace = 32;
const int kShift = 304;
const int kLeft = InputManager::kMouseLeft;

// SDL's key-state table: 323 entries, non-zero = down.
class Keyboard {
public:
    Keyboard() { keys.fill(0); }
    Keyboard& Down(int sdlCode) { keys[sdlCode] = 1; return *this; }
    Keyboard& Up(int sdlCode) { keys[sdlCode] = 0; return *this; }
    void PollInto(InputManager& input) const { input.ScanKeys(keys.data(), InputManager::kSdlKeyCount); }

private:
    std::array<unsigned char, InputManager::kSdlKeyCount> keys;
};

class Input : public ::testing::Test {
protected:
    void SetUp() override { input.Init(); }
    InputManager input;
    Keyboard keyboard;
};

TEST_F(Input, InitSetsTheDefaultBindingsAndNoLastKey) {
    const int bindings[] = {input.forward, input.back, input.left, input.right,
                            input.dash,    input.jump, input.laser, input.missile};
    const int defaults[] = {87, 83, 65, 68, 304, 32, 384, 386};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(defaults[i], bindings[i]) << "binding " << i;
    EXPECT_EQ(512, input.lastKey);
    EXPECT_FALSE(input.AnyKeyPressed());
}

TEST_F(Input, HeldSpaceIsOnePressThatTheNextPollWithdraws) {
    keyboard.Down(kSpace);
    keyboard.PollInto(input);
    EXPECT_TRUE(input.keyPressed[kSpace]);
    EXPECT_TRUE(input.AnyKeyPressed());
    EXPECT_EQ(kSpace, input.lastKey);
    keyboard.PollInto(input);
    EXPECT_FALSE(input.keyPressed[kSpace]);
    EXPECT_FALSE(input.AnyKeyPressed());
    EXPECT_TRUE(input.IsKeyDown(kSpace));
    keyboard.PollInto(input);
    EXPECT_FALSE(input.WasKeyPressed(kSpace));
}

TEST_F(Input, ReleasedKeyKeepsItsPressUntilConsumed) {
    keyboard.Down(kSpace).PollInto(input);
    keyboard.Up(kSpace).PollInto(input);
    EXPECT_FALSE(input.IsKeyDown(kSpace));
    keyboard.PollInto(input);
    EXPECT_TRUE(input.WasKeyPressed(kSpace));
    EXPECT_FALSE(input.WasKeyPressed(kSpace));  // consumed once
}

TEST_F(Input, HeldLetterIsANewPressAtEveryPollUnderItsCapital) {
    keyboard.Down('w');
    for (int poll = 0; poll < 4; ++poll) {
        keyboard.PollInto(input);
        SCOPED_TRACE(poll);
        EXPECT_TRUE(input.IsKeyDown('W'));
        EXPECT_TRUE(input.AnyKeyPressed());
        EXPECT_EQ('W', input.lastKey);
        EXPECT_TRUE(input.WasKeyPressed('W'));
    }
    EXPECT_FALSE(input.IsKeyDown('w'));  // the lower-case code is never a slot
}

TEST_F(Input, DashWithAMovementLetterRepeatsOnlyTheLetter) {
    keyboard.Down(kShift).Down('w');
    keyboard.PollInto(input);
    EXPECT_TRUE(input.WasKeyPressed(kShift));
    EXPECT_TRUE(input.WasKeyPressed(input.forward));
    for (int poll = 0; poll < 3; ++poll) {
        keyboard.PollInto(input);
        EXPECT_TRUE(input.IsKeyDown(input.dash));
        EXPECT_FALSE(input.WasKeyPressed(input.dash));
        EXPECT_TRUE(input.WasKeyPressed(input.forward)) << "the dash fires on every frame";
    }
}

TEST_F(Input, NumLockIsIgnoredAndLastKeyIsTheHighestCodeDown) {
    keyboard.Down(300).PollInto(input);
    EXPECT_FALSE(input.IsKeyDown(300));
    EXPECT_FALSE(input.AnyKeyPressed());
    EXPECT_EQ(512, input.lastKey);
    keyboard.Down('a').Down(kShift).PollInto(input);
    EXPECT_EQ(kShift, input.lastKey);
}

TEST_F(Input, ScanReadsNoFurtherThanTheTableOrSdlsKeyCount) {
    std::array<unsigned char, InputManager::kKeyTableSize> wide{};
    wide[400] = 1;
    wide[5] = 1;
    input.ScanKeys(wide.data(), InputManager::kKeyTableSize);
    EXPECT_FALSE(input.IsKeyDown(400));
    EXPECT_TRUE(input.IsKeyDown(5));

    std::array<unsigned char, 10> shortTable{};
    shortTable[9] = 1;
    input.ScanKeys(shortTable.data(), static_cast<int>(shortTable.size()));
    EXPECT_TRUE(input.IsKeyDown(9));
    input.ScanKeys(nullptr, 0);
    EXPECT_FALSE(input.AnyKeyPressed());
}

TEST_F(Input, CodesOutsideTheTablesAreNeverDownOrPressed) {
    keyboard.Down(kSpace).PollInto(input);
    for (int code : {-1, -1000, 512, 513, 100000}) {
        EXPECT_FALSE(input.IsKeyDown(code));
        EXPECT_FALSE(input.WasKeyPressed(code));
    }
}

TEST_F(Input, MouseButtonPressesOnceButKeepsAnyKeyPressedWhileHeld) {
    input.ScanMouseButtons(1u);
    EXPECT_TRUE(input.WasKeyPressed(kLeft));
    EXPECT_EQ(kLeft, input.lastKey);
    EXPECT_TRUE(input.AnyKeyPressed());
    for (int poll = 0; poll < 3; ++poll) {
        input.ScanKeys(nullptr, 0);  // a poll clears anyKeyPressed first
        input.ScanMouseButtons(1u);
        EXPECT_TRUE(input.AnyKeyPressed());
        EXPECT_TRUE(input.IsKeyDown(kLeft));
        EXPECT_FALSE(input.WasKeyPressed(kLeft));
    }
    input.ScanMouseButtons(4u);  // right button, released before anyone reads it
    input.ScanMouseButtons(0u);
    EXPECT_FALSE(input.IsKeyDown(kLeft));
    EXPECT_EQ(InputManager::kMouseRight, input.lastKey);
    EXPECT_TRUE(input.WasKeyPressed(InputManager::kMouseRight));
}

TEST(InputMouse, PointerMapsToMinusOneToOneWithYUp) {
    Vector corner = InputManager::MousePositionFor(0, 0, 1024, 768);
    EXPECT_FLOAT_EQ(-1.0f, corner.x);
    EXPECT_FLOAT_EQ(1.0f, corner.y);
    Vector far = InputManager::MousePositionFor(1024, 768, 1024, 768);
    EXPECT_FLOAT_EQ(1.0f, far.x);
    EXPECT_FLOAT_EQ(-1.0f, far.y);
    Vector centre = InputManager::MousePositionFor(320, 240, 640, 480);
    EXPECT_FLOAT_EQ(0.0f, centre.x);
    EXPECT_FLOAT_EQ(0.0f, centre.y);
    EXPECT_EQ(0.0f, centre.z);
    EXPECT_EQ(0.0f, centre.w);
    Vector none = InputManager::MousePositionFor(10, 10, 0, 0);  // no window yet
    EXPECT_EQ(0.0f, none.x);
    EXPECT_EQ(0.0f, none.y);
}

TEST(InputText, KeyHandlerEditsTheTextAndPadTextMakesTenCharacters) {
    InputManager input;
    input.KeyHandler(8);  // Backspace on nothing
    EXPECT_EQ("", input.GetText());
    for (int c : {'A', 'b', 'c'}) input.KeyHandler(c);
    input.KeyHandler(8);
    input.KeyHandler(13);
    input.KeyHandler(255);
    input.KeyHandler(0);
    input.KeyHandler(300);
    input.KeyHandler(-5);
    EXPECT_EQ(std::string("Ab\n\xff"), input.GetText());
    input.PadText();
    EXPECT_EQ(std::string("Ab\n\xff\0\0\0\0\0\0", 10), input.GetText());
    input.ClearText();
    for (char c : std::string("ABCDEFGHIJKL")) input.AppendChar(c);
    input.PadText();
    EXPECT_EQ("ABCDEFGHIJ", input.GetText());
    input.ClearText();
    EXPECT_EQ("", input.GetText());
}

}  // namespace
