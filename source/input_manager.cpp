#include "input_manager.h"

#include <algorithm>

#include <SDL.h>

#include "system.h"

InputManager::InputManager() : Module<InputManager>("InputManager") {
    std::fill(std::begin(keyDown), std::end(keyDown), false);
    std::fill(std::begin(keyPressed), std::end(keyPressed), false);
    std::fill(std::begin(seenDownAt), std::end(seenDownAt), kNoPoll);
    std::fill(std::begin(pressBeganAt), std::end(pressBeganAt), kNoPoll);
}

void InputManager::Init() {
    anyKeyPressed = false;
    forward = 'W';
    back = 'S';
    left = 'A';
    right = 'D';
    dash = 304;  // left Shift
    jump = ' ';
    laser = kMouseLeft;
    missile = kMouseRight;
    lastKey = kNoKey;
    latchedPresses.clear();
    scannedPresses.clear();
}

void InputManager::Update() {
    System* system = Module<System>::Instance();
    // In text-input mode the System's own pump has already taken the events.
    if (!system->textInputMode) SDL_PumpEvents();
    int x = 0;
    int y = 0;
    const Uint8 buttons = SDL_GetMouseState(&x, &y);
    mousePos = MousePositionFor(x, y, system->width, system->height);
    int count = 0;
    const Uint8* keys = SDL_GetKeyState(&count);
    ScanKeys(keys, count);
    ScanMouseButtons(buttons);
    ApplyLatchedPresses();
}

Vector InputManager::MousePositionFor(int x, int y, int windowWidth, int windowHeight) {
    if (windowWidth <= 0 || windowHeight <= 0) return Vector(0.0f, 0.0f, 0.0f, 0.0f);
    return Vector(2.0f * x / windowWidth - 1.0f, -2.0f * y / windowHeight + 1.0f, 0.0f, 0.0f);
}

void InputManager::ScanKeys(const unsigned char* keyState, int count) {
    anyKeyPressed = false;
    scannedPresses.clear();  // a new poll
    ++pollCount;
    if (!keyState) return;
    const int last = std::min(count, kSdlKeyCount);
    // Ascending order matters: the capitals' slots (65..90, which SDL never
    // reports down) are cleared before the lower-case codes that share them
    // are read, which makes a held letter a new press at every poll.
    for (int code = 0; code < last; ++code) {
        if (code == kNumLock) continue;
        ScanKey(code, keyState[code] != 0);
    }
}

void InputManager::ScanKey(int sdlCode, bool down) {
    const int slot = KeySlot(sdlCode);
    if (!down) {
        keyDown[slot] = false;  // a press stays until consumed or seen held
        return;
    }
    lastKey = slot;
    NoteDown(slot);
    if (keyDown[slot]) {
        keyPressed[slot] = false;
    } else {
        keyPressed[slot] = true;
        keyDown[slot] = true;
        anyKeyPressed = true;
        scannedPresses.push_back(slot);
    }
}

void InputManager::ScanMouseButtons(unsigned buttonMask) {
    for (int i = 0; i < 3; ++i) {
        const int code = kMouseLeft + i;
        if (!(buttonMask & (1u << i))) {
            keyDown[code] = false;
            continue;
        }
        NoteDown(code);
        if (!keyDown[code]) {
            keyPressed[code] = true;
            lastKey = code;
            scannedPresses.push_back(code);
        }
        anyKeyPressed = true;
        keyDown[code] = true;
    }
}

namespace {

static_assert(InputManager::kSdlKeyCount == SDLK_LAST && InputManager::kNumLock == SDLK_NUMLOCK);

struct CodeRange {
    int first, last;  // both included
};

// The codes a key or button leaves in the tables: SDL 1.2's key symbols (the
// table has gaps that no key fills), the letters under their capitals, Num
// Lock left out as the scan leaves it, and the three mouse buttons.
constexpr CodeRange kBindableCodes[] = {
    {SDLK_BACKSPACE, SDLK_TAB},
    {SDLK_CLEAR, SDLK_RETURN},
    {SDLK_PAUSE, SDLK_PAUSE},
    {SDLK_ESCAPE, SDLK_ESCAPE},
    {SDLK_SPACE, SDLK_DOLLAR},
    {SDLK_AMPERSAND, SDLK_AT},
    {'A', 'Z'},
    {SDLK_LEFTBRACKET, SDLK_BACKQUOTE},
    {SDLK_DELETE, SDLK_DELETE},
    {SDLK_WORLD_0, SDLK_WORLD_95},
    {SDLK_KP0, SDLK_F15},
    {SDLK_CAPSLOCK, SDLK_UNDO},
    {InputManager::kMouseLeft, InputManager::kMouseRight},
};

}  // namespace

bool InputManager::IsBindableKey(int code) {
    for (const CodeRange& range : kBindableCodes)
        if (code >= range.first && code <= range.last) return true;
    return false;
}

void InputManager::LatchKeyDown(int sdlKey) {
    if (sdlKey <= 0 || sdlKey >= kSdlKeyCount || sdlKey == kNumLock) return;
    latchedPresses.push_back(KeySlot(sdlKey));
}

void InputManager::LatchButtonDown(int sdlButton) {
    if (sdlButton < 1 || sdlButton > 3) return;  // the wheel is no button here
    latchedPresses.push_back(kMouseLeft + sdlButton - 1);
}

void InputManager::ApplyLatchedPresses() {
    for (int slot : latchedPresses) {
        if (std::find(scannedPresses.begin(), scannedPresses.end(), slot) != scannedPresses.end()) continue;
        keyPressed[slot] = true;
        keyDown[slot] = true;  // up again at the next poll unless still held
        pressBeganAt[slot] = pollCount;  // possibly released and pressed again while held
        anyKeyPressed = true;
        lastKey = slot;
    }
    latchedPresses.clear();
    scannedPresses.clear();
}

void InputManager::NoteDown(int slot) {
    const bool heldSinceLastPoll = seenDownAt[slot] != kNoPoll && seenDownAt[slot] + 1 >= pollCount;
    if (!heldSinceLastPoll) pressBeganAt[slot] = pollCount;
    seenDownAt[slot] = pollCount;
}

bool InputManager::PressBeganAfter(int code, unsigned poll) const {
    return pressBeganAt[code] == kNoPoll || pressBeganAt[code] > poll;
}

bool InputManager::IsKeyDown(int code) const { return IsKeyCode(code) && keyDown[code]; }

bool InputManager::IsKeyDownAfter(int code, unsigned poll) const {
    return IsKeyDown(code) && PressBeganAfter(code, poll);
}

bool InputManager::WasKeyPressedAfter(int code, unsigned poll) {
    return WasKeyPressed(code) && PressBeganAfter(code, poll);  // consumed whatever its age
}

unsigned InputManager::BeginScreen() {
    for (int code = 0; code < kKeyTableSize; ++code)
        if (pressBeganAt[code] != kNoPoll) keyPressed[code] = false;
    return pollCount;
}

bool InputManager::WasKeyPressed(int code) {
    if (!IsKeyCode(code) || !keyPressed[code]) return false;
    keyPressed[code] = false;
    return true;
}

void InputManager::KeyHandler(int character) {
    if (character == 8) {
        std::lock_guard<std::mutex> guard(inputMutex);
        if (!text.empty()) text.pop_back();
    } else if (character == 13) {
        AppendChar('\n');
    } else if (character >= 1 && character <= 255) {
        AppendChar(static_cast<char>(character));
    }
}

void InputManager::AppendChar(char character) {
    std::lock_guard<std::mutex> guard(inputMutex);
    text += character;
}

void InputManager::PadText() {
    std::lock_guard<std::mutex> guard(inputMutex);
    text.resize(kTextLength, '\0');
}

void InputManager::ClearText() {
    std::lock_guard<std::mutex> guard(inputMutex);
    text.clear();
}

std::string InputManager::GetText() const {
    std::lock_guard<std::mutex> guard(inputMutex);
    return text;
}
