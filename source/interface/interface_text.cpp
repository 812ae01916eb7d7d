#include "interface/interface_text.h"

#include "interface/interface_object.h"
#include "system.h"

namespace {

float TextSpacing() { return Module<System>::Instance()->fontSpacing; }

}  // namespace

float InterfaceText::HalfWidth() const {
    const float s = TextSpacing();
    return 16.0f * s * s * float(text.size());
}

float InterfaceText::HalfHeight() { return 16.0f * TextSpacing(); }

void InterfaceText::AlignMiddleLeft() {
    if (!owner) return;
    if (!text.empty()) {
        position.x = owner->position.x;
        position.y = owner->position.y + owner->height * 0.5f - HalfHeight();
    }
    alignment = TextAlignment::MiddleLeft;
}

void InterfaceText::AlignCenter() {
    if (!owner) return;
    if (!text.empty()) {
        position.x = owner->position.x + owner->width * 0.5f - HalfWidth();
        position.y = owner->position.y + owner->height * 0.5f - HalfHeight();
    }
    alignment = TextAlignment::Center;
}

void InterfaceText::AlignBottomLeft() {
    if (!owner) return;
    position.x = owner->position.x;
    position.y = owner->position.y;
    alignment = TextAlignment::BottomLeft;
}

void InterfaceText::AlignBottomCenter() {
    if (!owner) return;
    if (!text.empty()) {
        position.x = owner->position.x + owner->width * 0.5f - HalfWidth();
        position.y = owner->position.y;
    }
    alignment = TextAlignment::BottomCenter;
}

void InterfaceText::SetAlignment(int number) {
    switch (number) {
        case TextAlignment::MiddleLeft:
            AlignMiddleLeft();
            break;
        case TextAlignment::Center:
            AlignCenter();
            break;
        case TextAlignment::BottomLeft:
            AlignBottomLeft();
            break;
        case TextAlignment::BottomCenter:
            AlignBottomCenter();
            break;
        case TextAlignment::TopLeft:
        case TextAlignment::TopCenter:
        case TextAlignment::TopRight:
        case TextAlignment::MiddleRight:
        case TextAlignment::BottomRight:
            if (owner) alignment = number;
            break;
        default:
            break;
    }
}
