// The logging hook of the layers under the game: math self-checks and the
// sound layer report through it without knowing the System that owns the log.
// System installs its own sink when it is made; before that (or in a program
// without a System) lines go to standard output.
#pragma once

#include <string>

namespace platform {

enum class LogLevel { Info, Warning };

using LogSink = void (*)(LogLevel level, const std::string& text);

// Replaces the sink; nullptr restores the standard-output default.
void SetLogSink(LogSink sink);
void LogInfo(const std::string& text);
void LogWarning(const std::string& text);

}  // namespace platform
