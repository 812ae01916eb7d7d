#include "interface/game_message_widget.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "interface/widget_drawing.h"
#include "system.h"

namespace {

// A fraction of the window as a whole pixel; a fraction that is not a
// number, or lies far outside the window, must not reach the conversion.
int PixelOf(float fraction, int windowSize) {
    const double pixel = double(fraction) * windowSize;
    if (!std::isfinite(pixel)) return 0;
    const double limit = double(std::numeric_limits<int>::max());
    return int(std::fmax(-limit, std::fmin(limit, pixel)));
}

}  // namespace

GameMessage::GameMessage(int id, const GMessage& line)
    : InterfaceObject(WidgetType::GameMessage, id, line.position),
      fullText(line.text),
      displayTime(line.displayTime),
      letterTime(line.letterTime),
      typeOut(line.typeOut),
      scale(line.scale),
      persistent(line.persistent) {
    color = Color4{line.color.x, line.color.y, line.color.z, line.color.w};
    shownText.color = color;
    width = height = 10.0f;
}

int GameMessage::LettersAfterTyping() const {
    const int length = TextLength();
    if (!(letterTime > 0.0f) || !std::isfinite(letterTime)) return length;
    const double letters = double(typeTime) / double(letterTime);
    return letters >= double(length) ? length : std::max(0, int(letters));
}

void GameMessage::Activate() {
    if (typeOut && shownChars < TextLength()) {
        typeTime += float(Module<System>::Instance()->frameTime.load());
        shownChars = LettersAfterTyping();
        return;
    }
    if (persistent) return;
    if (age >= displayTime) {
        visible = false;
        pendingRemoval = true;
    }
    age += float(Module<System>::Instance()->frameTime.load());
}

void GameMessage::Draw() {
    if (visible) DrawText();
}

void GameMessage::DrawText() {
    if (typeOut && shownText.text.size() != size_t(shownChars))
        shownText.text = fullText.substr(0, size_t(std::min(shownChars, TextLength())));
    const System& system = *Module<System>::Instance();
    widget_drawing::Print(typeOut ? shownText.text : fullText, shownText.color, PixelOf(position.x, system.width),
                          PixelOf(position.y, system.height), scale);
}
