// GameMessage (type 16, "GAMEMESSAGE"): one line of text over the screen,
// made by the InterfaceManager from a "Game Message"'s GMessage. It can type
// its text out letter by letter; once the whole text shows it stays
// displayTime seconds and then hides and flags itself for removal, unless it
// is persistent. Its position holds the GMessage's fractions of the window,
// turned into pixels at every draw, so a line keeps its place in any window.
//
// Typing is safe for any letterTime: one that is not a positive, finite
// number shows the whole text at once, and the count of letters shown never
// passes the text's length. Main thread only.
#pragma once

#include <string>

#include "interface/game_message.h"
#include "interface/interface_object.h"

class GameMessage : public InterfaceObject {
public:
    // From the record: colour, position, text, times, typing, scale and
    // persistence; 10 x 10; named by the generated name (the manager names a
    // keyed line by its key).
    GameMessage(int id, const GMessage& line);
    // The text alone (no quad, no children); nothing once hidden.
    void Draw() override;
    // The revealed part (or, without typing, the whole text) in the line's
    // colour at (W x position.x, H x position.y), cut to whole pixels.
    void DrawText() override;
    // Per frame: typing while letters are hidden; afterwards, unless
    // persistent, the display time counted, from the frame after the text
    // became complete.
    void Activate() override;

    InterfaceText shownText;
    std::string fullText;
    float displayTime = 0.0f;
    float typeTime = 0.0f;
    float age = 0.0f;
    float letterTime = 0.0f;
    bool typeOut = false;
    float scale = 1.0f;
    int shownChars = 0;
    bool persistent = false;

private:
    int TextLength() const { return int(fullText.size()); }
    // The letters revealed after typeTime seconds, within 0..TextLength().
    int LettersAfterTyping() const;
};
