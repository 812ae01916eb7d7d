// The renderer's reports of what goes wrong while it draws, made so that a
// fault that repeats every frame fills the log once, not sixty times a
// second: an OpenGL error at one place, a resource missing from the store, a
// pass that throws.
//
// Main thread only (OpenGL's error flag belongs to the context). Owned by
// Graphics; kept across frames and across Kill and Init.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "system/source_position.h"

namespace graphics {

class FrameReports {
public:
    // Reads glGetError once. A new code is reported through System::Error as
    // the place followed by the code; the same code again at the same place
    // is only counted, and the count is reported (as a warning) once the code
    // there changes or stops.
    void CheckGL(const std::string& sourcePosition);
    // True, with the warning logged, the first time for this key; false after.
    bool WarnOnce(const std::string& key, const std::string& message);
    // A fault found at a place (a source position): reported through
    // System::Error as the place followed by the message, then counted while
    // it repeats there, like an OpenGL error.
    void Fault(const std::string& place, const std::string& message);
    // A pass that threw: a fault at the pass's place, "failed: " and the message.
    void PassFailed(const std::string& pass, const std::string& message);

private:
    struct Streak {
        std::string last;     // the last thing reported here; empty: none
        unsigned repeats = 0; // times it came again since
    };

    // Reports `what` at `place` unless it repeats the streak there.
    void Report(const std::string& place, const std::string& what, const std::string& error);

    std::unordered_map<std::string, Streak> streaks;
    std::unordered_set<std::string> warned;
};

}  // namespace graphics

// The renderer's OpenGL error check, reported under the calling line.
#define CHECK_FRAME_GL(reports) (reports).CheckGL(SOURCE_POS)
