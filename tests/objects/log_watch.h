// Reads what the System logged since the watch was made, so a test can check
// its own messages in the shared log text. Errors reported during a test write
// no error-log file (the game is marked as not running).
#pragma once

#include <string>

#include "module.h"
#include "system.h"

namespace objects_test {

class LogWatch {
public:
    LogWatch() : start(Sys().GetLogText().size()) { Sys().running.store(false); }

    std::string Text() const { return Sys().GetLogText().substr(start); }
    bool Has(const std::string& piece) const { return Text().find(piece) != std::string::npos; }
    int Count(const std::string& piece) const {
        const std::string text = Text();
        int count = 0;
        for (std::string::size_type at = text.find(piece); at != std::string::npos;
             at = text.find(piece, at + piece.size()))
            ++count;
        return count;
    }

private:
    static System& Sys() { return *Module<System>::Instance(); }

    std::string::size_type start;
};

}  // namespace objects_test
