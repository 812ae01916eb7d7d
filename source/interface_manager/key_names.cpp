// InterfaceManager: the display names of input key codes, shown on the
// key-binding buttons.
#include "input_manager.h"
#include "interface_manager.h"

std::string InterfaceManager::GetKeyName(int keyCode) {
    switch (keyCode) {
        case InputManager::kEscape: return "Escape";
        case 273: return "Up Arrow";
        case 274: return "Down Arrow";
        case 276: return "Left Arrow";
        case 275: return "Right Arrow";
        case 303: return "Right Shift";
        case 304: return "Left Shift";
        case 305: return "Right Ctrl";
        case 306: return "Left Ctrl";
        case InputManager::kMouseLeft: return "Mouse Left";
        case InputManager::kMouseMiddle: return "Mouse Middle";
        case InputManager::kMouseRight: return "Mouse Right";
        case 32: return "Space Bar";
        case 13: return "Enter";
        default: return std::string(1, char(keyCode & 0xFF));
    }
}
