// GMessage: one line of text for the screen, sent to the InterfaceManager as
// the "data" parameter of a "Game Message" event. A plain value copied member
// by member; any thread may build one and publish it.
#pragma once

#include <string>

#include "game_logic/addressees.h"
#include "geom/geom.h"

// The message that carries a GMessage to the interface, its addressee and
// its parameter.
constexpr const char* kGameMessageEvent = "Game Message";
constexpr const char* kGameMessageTo = addressee::kInterfaceManager;
constexpr const char* kGameMessageData = "data";
// Removes the registered widget named by "name" (a string; "" removes
// nothing), a game-message line or not.
constexpr const char* kGameMessageDeleteEvent = "Game Message Delete";
// Removes every game-message line from the screen; no parameters.
constexpr const char* kDeleteAllGameMessagesEvent = "Delete all Game Messages";

struct GMessage {
    // Name the line's widget takes; empty keeps the widget's generated name.
    // A keyed line can be removed with "Game Message Delete".
    std::string key;
    std::string text;
    Vector color{1.0f, 1.0f, 1.0f, 1.0f};  // r, g, b, a
    // x and y as fractions of the window from its bottom-left corner; z and w
    // are carried into the widget and not used.
    Vector position{0.0f, 0.0f, 0.0f, 0.0f};
    bool typeOut = false;      // show the text letter by letter
    float letterTime = 0.0f;   // seconds per letter; read only with typeOut
    float displayTime = 0.0f;  // seconds the whole line stays; unread when persistent
    float scale = 1.0f;        // text scale
    bool persistent = false;   // never removes itself
};

// Publishes `line` to the interface as a "Game Message" from `from`; the
// interface shows it at its next update. Any thread.
void PostGameMessage(const std::string& from, const GMessage& line);
