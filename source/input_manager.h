// InputManager: the keyboard and mouse as state read once per frame: which
// keys and buttons are down, which were newly pressed and not yet consumed,
// the last key seen, the pointer in window coordinates (-1..1), the eight
// action bindings and the text-entry buffer. Not an event client.
//
// Key codes: SDL 1.2 key symbols 0..322 with the letters a..z stored under
// their capitals 65..90; mouse buttons 384 (left), 385 (middle), 386 (right);
// 512 means no key. Codes outside the tables read as false.
//
// A held letter key reports a new press at every poll, and only letters do:
// the player controller's dash, held with a movement letter, relies on it.
//
// A press shorter than a frame (a touchpad tap, a quick key tap) goes down
// and up between two polls, so the state tables never show it: every
// key-down and button-down that SDL's event pump sees is also latched
// (LatchKeyDown, LatchButtonDown, called from the pump's event filter), and
// the next poll counts a latched press that it did not see itself as pressed
// (and, when not held, released) for that poll.
//
// Polls are counted, and each key remembers the poll that first saw its
// current press (a letter's repeat is no new press here). A screen or the
// start of play notes PollCount() and asks only for presses begun after it
// (IsKeyDownAfter, WasKeyPressedAfter): a button still held from the click
// that opened it acts on nothing until released and pressed again. A press
// never read stays pressed until consumed, so each state and screen, when
// built, drops the pressed flags of the presses already seen (BeginScreen):
// an Escape tapped on a screen that ignores it does not act on the next.
//
// Threads: main thread only, except the text buffer, which is guarded by its
// own lock. Update runs third in each frame, after the System and the
// EventManager. SDL is read only in Update; the scans below take plain tables
// so they run without a window.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "geom/vector.h"
#include "module.h"

class InputManager : public virtual Module<InputManager> {
public:
    static constexpr int kKeyTableSize = 512;
    static constexpr int kSdlKeyCount = 323;  // SDL 1.2's SDLK_LAST
    static constexpr int kNumLock = 300;
    static constexpr int kMouseLeft = 384;
    static constexpr int kMouseMiddle = 385;
    static constexpr int kMouseRight = 386;
    static constexpr int kNoKey = 512;
    static constexpr int kEscape = 27;  // read from the pressed table by the states
    static constexpr int kTextLength = 10;  // PadText's length

    InputManager();
    ~InputManager() override = default;

    // Default bindings, lastKey = kNoKey.
    void Init() override;
    // Polls SDL: pointer, keys, buttons.
    void Update() override;
    void Kill() override {}

    // One poll's keyboard scan over SDL's key-state table (`count` entries,
    // non-zero = down); entries past SDL's key count are not read. A poll is
    // ScanKeys, then ScanMouseButtons, then ApplyLatchedPresses.
    void ScanKeys(const unsigned char* keyState, int count);
    // One poll's mouse-button scan; bit i of `buttonMask` is button 384 + i.
    void ScanMouseButtons(unsigned buttonMask);
    // A key (SDL key symbol) or mouse button (SDL button 1..3) went down,
    // as the event pump saw it; other keys and buttons are ignored.
    void LatchKeyDown(int sdlKey);
    void LatchButtonDown(int sdlButton);
    // The end of a poll: each press latched since the last poll that the
    // scans above did not report sets its pressed flag, anyKeyPressed and
    // lastKey, and marks it down for this poll. Clears the latches.
    void ApplyLatchedPresses();
    // The pointer pixel (x, y) of a window of width x height pixels, as
    // x -1..1 left to right and y 1..-1 top to bottom.
    static Vector MousePositionFor(int x, int y, int windowWidth, int windowHeight);

    // True for a code that some key or mouse button sets in the tables, so
    // that an action bound to it can be used: never 0, a code in the gaps of
    // SDL's key symbols, a lower-case letter (kept under its capital), Num
    // Lock or a code between SDL's keys and the mouse buttons.
    static bool IsBindableKey(int code);

    bool IsKeyDown(int code) const;
    // Consumes a press: true once per press, then false until the next.
    bool WasKeyPressed(int code);
    // The polls begun so far; a moment to compare presses with.
    unsigned PollCount() const { return pollCount; }
    // IsKeyDown and WasKeyPressed for a press that a poll after `poll` first
    // saw: an older press reads as up and not pressed (it is consumed all
    // the same). A press no poll saw (tables set by hand, as tests and
    // benchmarks drive the player) counts as new.
    bool IsKeyDownAfter(int code, unsigned poll) const;
    bool WasKeyPressedAfter(int code, unsigned poll);
    // A state or screen is being built: the pressed flags of the presses
    // that a poll so far saw are dropped (a flag set by hand stays).
    // Returns PollCount(), the moment to read the screen's presses after.
    unsigned BeginScreen();
    bool AnyKeyPressed() const { return anyKeyPressed; }
    Vector GetMousePosition() const { return mousePos; }
    void SetMousePosition(const Vector& position) { mousePos = position; }

    // Text entry. KeyHandler takes a typed character (16-bit Unicode):
    // 8 removes the last character, 13 appends a line feed, 1..255 append
    // themselves, anything else is ignored.
    void KeyHandler(int character);
    void AppendChar(char character);
    // Exactly kTextLength characters: cut, or padded with NUL characters.
    void PadText();
    void ClearText();
    std::string GetText() const;

    // The eight action bindings, as key codes.
    int forward = 0, back = 0, left = 0, right = 0;
    int dash = 0, jump = 0, laser = 0, missile = 0;
    int lastKey = kNoKey;
    bool keyDown[kKeyTableSize];
    bool keyPressed[kKeyTableSize];
    bool anyKeyPressed = false;
    Vector mousePos;

private:
    static bool IsKeyCode(int code) { return code >= 0 && code < kKeyTableSize; }
    // The table slot of an SDL key symbol: letters under their capitals.
    static int KeySlot(int sdlCode) { return (sdlCode >= 'a' && sdlCode <= 'z') ? sdlCode - 32 : sdlCode; }
    void ScanKey(int sdlCode, bool down);
    // A poll saw the slot down: the poll of its press, unless the poll
    // before saw it down too.
    void NoteDown(int slot);
    bool PressBeganAfter(int code, unsigned poll) const;

    static constexpr unsigned kNoPoll = 0;
    unsigned pollCount = 0;
    unsigned seenDownAt[kKeyTableSize];    // the last poll that saw the slot down
    unsigned pressBeganAt[kKeyTableSize];  // the first poll that saw its last press

    std::vector<int> latchedPresses;  // slots latched since the last poll
    std::vector<int> scannedPresses;  // slots the current poll found newly down

    std::string text;
    mutable std::mutex inputMutex;  // guards text
};
