// Reads what the engine logged since a mark, for tests that check messages.
#pragma once

#include <string>

#include "system.h"

class LogCapture {
public:
    LogCapture() : mark(Module<System>::Instance()->GetLogText().size()) {}
    std::string Text() const { return Module<System>::Instance()->GetLogText().substr(mark); }
    bool Contains(const std::string& needle) const { return Text().find(needle) != std::string::npos; }
    size_t Count(const std::string& needle) const {
        std::string text = Text();
        size_t n = 0;
        for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
        return n;
    }

private:
    size_t mark;
};
