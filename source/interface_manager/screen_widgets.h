// The widget recipes the screen builders share: text lines and buttons made
// through the InterfaceManager's factory, sized before they are placed, then
// registered. Each returns without registering anything when the factory
// makes no widget. Main thread only.
#pragma once

#include <vector>
#include <string>

#include "event_manager/event.h"
#include "geom/vector.h"
#include "interface/interface_text.h"

class InterfaceManager;
class TextBox;

namespace screen_widgets {

constexpr Color4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Color4 kClear{1.0f, 1.0f, 1.0f, 0.0f};  // white at no alpha: an invisible face

// The System's window size in pixels, as floats.
struct Window {
    float w, h;
};
Window WindowSize();

// An event from the interface ("InterfaceManager") to `addressee`.
Event FromInterface(const char* addressee, const char* type);

// A TextBox of the given size at `at` (lower-left corner) with its text and
// colours, not yet aligned or registered; null when none could be made. The
// caller owns it until AddInterfaceObject.
TextBox* MakeTextBox(InterfaceManager& ui, const Vector& at, float width, float height, const std::string& text,
                     Color4 textColor, Color4 boxColor);

// A heading: a clear TextBox 600 by 50 at (x, y), its text centred; registered.
void AddHeading(InterfaceManager& ui, float x, float y, const std::string& text, Color4 textColor);

// A Button of the given size at `at` with a white centred label, a clear
// face, `pressed` shown on the frame of a click and `events` posted in
// order; named `name`, or keeping its generated name when `name` is empty.
// Registered.
void AddButton(InterfaceManager& ui, const Vector& at, float width, float height, const std::string& label,
               const std::string& name, Color4 pressed, const std::vector<Event>& events);

}  // namespace screen_widgets
