// Reads what the System logged since a mark, so a test can check its own
// messages in the run's shared log text, and counts or orders pieces of such
// text. A test that reads the log wants its errors there alone: making a
// capture marks the game as not running, so System::Error writes no
// error-log file meanwhile.
#pragma once

#include <initializer_list>
#include <string>

#include "module.h"
#include "system.h"

namespace test_support {

// How often `piece` occurs in `text`, counting occurrences that do not overlap.
inline int CountOf(const std::string& text, const std::string& piece) {
    int count = 0;
    for (std::string::size_type at = text.find(piece); at != std::string::npos;
         at = text.find(piece, at + piece.size()))
        ++count;
    return count;
}

// True when `pieces` occur in `text` in the given order, none overlapping.
inline bool InOrder(const std::string& text, std::initializer_list<std::string> pieces) {
    std::string::size_type at = 0;
    for (const std::string& piece : pieces) {
        at = text.find(piece, at);
        if (at == std::string::npos) return false;
        at += piece.size();
    }
    return true;
}

class LogCapture {
public:
    LogCapture() {
        Sys().running.store(false);
        Restart();
    }

    // Moves the mark to the log's present end.
    void Restart() { start = Sys().GetLogText().size(); }
    // Everything logged since the mark.
    std::string Text() const { return Sys().GetLogText().substr(start); }
    bool Has(const std::string& piece) const { return Text().find(piece) != std::string::npos; }
    int Count(const std::string& piece) const { return CountOf(Text(), piece); }

private:
    static System& Sys() { return *Module<System>::Instance(); }

    std::string::size_type start = 0;
};

}  // namespace test_support
