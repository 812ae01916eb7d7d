// The InputManager's polls over plain key-state tables (no window), its
// consumption rules, the pointer mapping and text entry.
#include <gtest/gtest.h>

#include <array>

#include "input_manager.h"

namespace {

const int kSpace = 32;
const int kShift = 304;

class Input : public ::testing::Test {
protected:
    void SetUp() override {
        input.Init();
        keys.fill(0);
    }
    void Poll() { input.ScanKeys(keys.data(), InputManager::kSdlKeyCount); }
    InputManager input;
    std::array<unsigned char, InputManager::kSdlKeyCount> keys;  // non-zero = down
};

TEST_F(Input, HeldSpaceIsOnePressKeptUntilConsumed) {
    keys[kSpace] = 1;
    Poll();
    EXPECT_TRUE(input.AnyKeyPressed() && kSpace == input.lastKey);
    Poll();
    EXPECT_TRUE(!input.AnyKeyPressed() && input.IsKeyDown(kSpace) && !input.WasKeyPressed(kSpace));

    for (unsigned char down : {0, 1, 0}) {
        keys[kSpace] = down;
        Poll();
    }
    EXPECT_FALSE(input.IsKeyDown(kSpace));
    EXPECT_TRUE(input.WasKeyPressed(kSpace));  // released, press not yet read
    EXPECT_FALSE(input.WasKeyPressed(kSpace));
    for (int code : {-1, 512, 100000}) EXPECT_FALSE(input.IsKeyDown(code) || input.WasKeyPressed(code));
}

// Only letters repeat, so a held movement letter under the dash key dashes
// on every frame.
TEST_F(Input, HeldLetterIsANewPressAtEveryPollUnderItsCapital) {
    keys[kShift] = 1;
    keys['w'] = 1;
    for (int poll = 0; poll < 4; ++poll) {
        Poll();
        SCOPED_TRACE(poll);
        EXPECT_TRUE(input.IsKeyDown(input.forward) && input.WasKeyPressed(input.forward));
        EXPECT_TRUE(input.IsKeyDown(input.dash) && (poll == 0) == input.WasKeyPressed(input.dash));
    }
    EXPECT_FALSE(input.IsKeyDown('w'));  // the lower-case code is never a slot
    keys[300] = 1;                       // num lock is ignored
    Poll();
    EXPECT_FALSE(input.IsKeyDown(300));
    EXPECT_EQ(kShift, input.lastKey);  // the highest code down
}

TEST_F(Input, ScanReadsNoFurtherThanTheTableOrSdlsKeyCount) {
    std::array<unsigned char, InputManager::kKeyTableSize> wide{};
    wide[400] = wide[5] = 1;
    input.ScanKeys(wide.data(), InputManager::kKeyTableSize);
    EXPECT_TRUE(!input.IsKeyDown(400) && input.IsKeyDown(5));
    std::array<unsigned char, 10> shortTable{};
    shortTable[9] = 1;
    input.ScanKeys(shortTable.data(), static_cast<int>(shortTable.size()));
    EXPECT_TRUE(input.IsKeyDown(9));
    input.ScanKeys(nullptr, 0);
    EXPECT_FALSE(input.AnyKeyPressed());
}

TEST_F(Input, PointerMapsOntoMinusOneToOneAndButtonsArePressedThenHeld) {
    const float cases[][4] = {{0, 0, -1, 1}, {1024, 768, 1, -1}, {512, 384, 0, 0}, {256, 576, -0.5f, -0.5f}};
    for (const auto& c : cases) {
        const Vector at = InputManager::MousePositionFor(int(c[0]), int(c[1]), 1024, 768);
        EXPECT_TRUE(at.x == c[2] && at.y == c[3] && at.z == 0.0f) << c[0] << "," << c[1] << ": " << at.x << "," << at.y;
    }
    EXPECT_EQ(InputManager::MousePositionFor(5, 5, 0, 0).x, 0.0f);  // no window yet
    const unsigned left = 1u, right = 4u;
    input.ScanMouseButtons(left);
    EXPECT_TRUE(input.AnyKeyPressed() && input.lastKey == InputManager::kMouseLeft);
    input.ScanMouseButtons(left | right);
    EXPECT_EQ(input.lastKey, InputManager::kMouseRight);
    input.ScanMouseButtons(left | right);  // held: no new press, but still "any key"
    EXPECT_TRUE(input.AnyKeyPressed() && input.IsKeyDown(InputManager::kMouseLeft));
    EXPECT_TRUE(input.WasKeyPressed(InputManager::kMouseLeft) && input.WasKeyPressed(InputManager::kMouseRight));
    EXPECT_FALSE(input.WasKeyPressed(InputManager::kMouseLeft));
    input.ScanMouseButtons(0);
    EXPECT_FALSE(input.IsKeyDown(InputManager::kMouseRight) || input.WasKeyPressed(InputManager::kMouseRight));
}

// A tap between two polls leaves the tables as they were; the pump's latch
// makes it one press, held for the one poll that sees it (a quick click
// fires once), and a press the poll saw itself is not counted twice.
TEST_F(Input, APressLatchedBetweenPollsCountsOnceAsPressedAndHeldForThatPoll) {
    const auto poll = [&](unsigned buttons) {
        Poll();
        input.ScanMouseButtons(buttons);
        input.ApplyLatchedPresses();
    };
    const int taps[] = {'Q', kSpace, kShift, InputManager::kMouseLeft, InputManager::kMouseRight};
    const unsigned before = input.PollCount();
    input.LatchButtonDown(1);
    input.LatchButtonDown(3);
    input.LatchKeyDown('q');
    input.LatchKeyDown(kSpace);
    input.LatchKeyDown(kShift);
    input.LatchButtonDown(4);  // the wheel
    poll(0);
    EXPECT_TRUE(input.AnyKeyPressed());
    for (int code : taps) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(input.IsKeyDown(code) && input.IsKeyDownAfter(code, before));
        EXPECT_FALSE(input.IsKeyDownAfter(code, input.PollCount())) << "begun in the noted poll";
        EXPECT_TRUE(input.WasKeyPressed(code));
    }
    EXPECT_FALSE(input.IsKeyDown(InputManager::kMouseLeft + 3) || input.WasKeyPressed(InputManager::kMouseLeft + 3));
    poll(0);
    EXPECT_FALSE(input.AnyKeyPressed());
    for (int code : taps) EXPECT_FALSE(input.IsKeyDown(code)) << code << " released at the next poll";

    keys[kSpace] = 1;
    input.LatchKeyDown(kSpace);
    input.LatchButtonDown(1);
    poll(1u);
    EXPECT_TRUE(input.WasKeyPressed(kSpace) && input.WasKeyPressed(InputManager::kMouseLeft));
    poll(1u);
    EXPECT_FALSE(input.WasKeyPressed(kSpace) || input.WasKeyPressed(InputManager::kMouseLeft)) << "held: seen once";
    input.LatchKeyDown(kSpace);  // released and pressed again between polls
    poll(1u);
    EXPECT_TRUE(input.WasKeyPressed(kSpace) && input.IsKeyDown(kSpace));
}

// Every code from below 0 to past the mouse buttons, in runs that are all
// bindable or all not: SDL 1.2 gives no key the codes in the gaps of its
// key-symbol table, so a settings file that names one would leave its
// action without a key.
TEST(BindableKeys, ExactlyTheCodesAKeyOrMouseButtonLeavesInTheTables) {
    const struct {
        int first, last;  // both included
        bool bindable;
        const char* what;
    } runs[] = {
        {-5, 0, false, "none"},          {1, 7, false, "a gap"},           {8, 9, true, "Backspace, Tab"},
        {10, 11, false, "a gap"},        {12, 13, true, "Clear, Return"},  {14, 18, false, "a gap"},
        {19, 19, true, "Pause"},         {20, 26, false, "a gap"},         {27, 27, true, "Escape"},
        {28, 31, false, "a gap"},        {32, 36, true, "Space to $"},     {37, 37, false, "a gap"},
        {38, 64, true, "& to @"},        {65, 90, true, "the letters"},    {91, 96, true, "[ to `"},
        {97, 122, false, "lower case"},  {123, 126, false, "a gap"},       {127, 127, true, "Delete"},
        {128, 159, false, "a gap"},      {160, 255, true, "world keys"},   {256, 296, true, "keypad to F15"},
        {297, 299, false, "a gap"},      {300, 300, false, "Num Lock"},    {301, 322, true, "Caps Lock to Undo"},
        {323, 383, false, "past SDL"},   {384, 386, true, "the mouse"},    {387, 600, false, "past the mouse"},
    };
    int next = runs[0].first;
    for (const auto& run : runs) {
        ASSERT_EQ(next, run.first) << "the runs leave no code out";
        for (int code = run.first; code <= run.last; ++code)
            EXPECT_EQ(run.bindable, InputManager::IsBindableKey(code)) << code << " (" << run.what << ")";
        next = run.last + 1;
    }
}

// A press first seen at or before a noted poll is an old one, whatever the
// letters' repeat or the pressed flag say, until it is released; a press
// anew (also one latched while the key stays down) is not.
TEST_F(Input, APressBegunBeforeANotedPollReadsAsUpUntilPressedAnew) {
    const int kLetter = 'W';
    const auto poll = [&](bool down) {
        keys[kSpace] = keys['w'] = down;
        Poll();
        input.ScanMouseButtons(down ? 1u : 0u);
        input.ApplyLatchedPresses();
    };
    const int codes[] = {kSpace, kLetter, InputManager::kMouseLeft};
    poll(true);
    const unsigned noted = input.PollCount();
    for (int held = 0; held < 2; ++held) {
        for (int code : codes) {
            SCOPED_TRACE(code);
            EXPECT_FALSE(input.IsKeyDownAfter(code, noted) || input.WasKeyPressedAfter(code, noted));
            EXPECT_TRUE(input.IsKeyDown(code) && !input.WasKeyPressed(code)) << "read as old, consumed all the same";
        }
        poll(true);
    }
    EXPECT_TRUE(input.WasKeyPressed(kLetter)) << "the letter still repeats";
    poll(false);
    poll(true);
    for (int code : codes) EXPECT_TRUE(input.IsKeyDownAfter(code, noted) && input.WasKeyPressedAfter(code, noted)) << code;

    const unsigned later = input.PollCount();
    input.LatchKeyDown(kSpace);  // released and pressed again between two polls
    input.LatchButtonDown(1);
    poll(true);
    EXPECT_TRUE(input.IsKeyDownAfter(kSpace, later) && input.WasKeyPressedAfter(kSpace, later));
    EXPECT_TRUE(input.IsKeyDownAfter(InputManager::kMouseLeft, later));
    EXPECT_FALSE(input.IsKeyDownAfter(kLetter, later));

    InputManager byHand;  // tables set directly, as the player's tests drive it
    byHand.keyDown[kSpace] = byHand.keyPressed[kSpace] = true;
    EXPECT_TRUE(byHand.IsKeyDownAfter(kSpace, 7) && byHand.WasKeyPressedAfter(kSpace, 7));
    EXPECT_FALSE(input.IsKeyDownAfter(-1, 0) || input.WasKeyPressedAfter(InputManager::kKeyTableSize, 0));
}

// Building a state or screen drops the presses polls saw before it, tapped,
// latched or held, so none acts on the new screen; a flag set by hand stays,
// a held key reads as held, and a press after the build is read.
TEST_F(Input, BeginScreenDropsThePressesSeenBeforeIt) {
    const auto poll = [&](unsigned buttons) {
        Poll();
        input.ScanMouseButtons(buttons);
        input.ApplyLatchedPresses();
    };
    const int kEscape = InputManager::kEscape;
    keys[kSpace] = keys['w'] = 1;  // still held at the build
    poll(1u);
    keys[kEscape] = 1;  // tapped, released before the build
    poll(1u);
    keys[kEscape] = 0;
    input.LatchKeyDown('q');  // a tap no poll saw down
    poll(1u);
    input.keyPressed[kShift] = true;  // as the player's tests drive it
    const unsigned built = input.BeginScreen();
    EXPECT_EQ(input.PollCount(), built);
    for (int code : {kEscape, int('Q'), kSpace, int('W'), InputManager::kMouseLeft})
        EXPECT_FALSE(input.WasKeyPressed(code)) << code;
    EXPECT_TRUE(input.WasKeyPressed(kShift));
    EXPECT_TRUE(input.IsKeyDown(kSpace) && input.IsKeyDown(InputManager::kMouseLeft));

    keys[kEscape] = 1;
    input.LatchKeyDown('q');
    poll(1u);
    EXPECT_TRUE(input.WasKeyPressedAfter(kEscape, built) && input.WasKeyPressedAfter('Q', built));
    EXPECT_FALSE(input.WasKeyPressedAfter('W', built)) << "the held letter repeats, but began before";
}

TEST(InputText, KeyHandlerEditsTheTextAndPadTextMakesTenCharacters) {
    InputManager input;
    input.KeyHandler(8);  // Backspace on nothing
    for (int c : {int('A'), int('b'), int('c'), 8, 13, 255, 0, 300, -5}) input.KeyHandler(c);
    EXPECT_EQ(std::string("Ab\n\xff"), input.GetText());
    input.PadText();
    EXPECT_EQ(std::string("Ab\n\xff\0\0\0\0\0\0", 10), input.GetText());
    input.ClearText();
    for (char c : std::string("ABCDEFGHIJKL")) input.AppendChar(c);
    input.PadText();
    EXPECT_EQ("ABCDEFGHIJ", input.GetText());
}

}  // namespace
