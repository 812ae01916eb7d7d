#include "graphics/frame_reports.h"

#include <GL/glew.h>

#include "system.h"

namespace graphics {

namespace {

System& Sys() { return *Module<System>::Instance(); }

}  // namespace

void FrameReports::Report(const std::string& place, const std::string& what, const std::string& error) {
    Streak& streak = streaks[place];
    if (!what.empty() && what == streak.last) {
        ++streak.repeats;
        return;
    }
    if (streak.repeats > 0)
        Sys().Warning(place + streak.last + " repeated " + std::to_string(streak.repeats) + " more times");
    streak.last = what;
    streak.repeats = 0;
    if (!error.empty()) Sys().Error(error);
}

void FrameReports::CheckGL(const std::string& sourcePosition) {
    const GLenum code = glGetError();
    if (code == GL_NO_ERROR) {
        auto found = streaks.find(sourcePosition);
        if (found != streaks.end() && !found->second.last.empty()) Report(sourcePosition, "", "");
        return;
    }
    const std::string text = std::to_string(code);
    Report(sourcePosition, text, sourcePosition + text);
}

bool FrameReports::WarnOnce(const std::string& key, const std::string& message) {
    if (!warned.insert(key).second) return false;
    Sys().Warning(message);
    return true;
}

void FrameReports::Fault(const std::string& place, const std::string& message) {
    Report(place, message, place + message);
}

void FrameReports::PassFailed(const std::string& pass, const std::string& message) {
    Fault(pass + " ", "failed: " + message);
}

}  // namespace graphics
