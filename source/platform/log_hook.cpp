#include "platform/log_hook.h"

#include <atomic>
#include <cstdio>

namespace platform {
namespace {

void PrintToStandardOutput(LogLevel level, const std::string& text) {
    std::printf("%s%s\n", level == LogLevel::Warning ? "WARNING: " : "", text.c_str());
}

std::atomic<LogSink> currentSink{&PrintToStandardOutput};

}  // namespace

void SetLogSink(LogSink sink) { currentSink = sink ? sink : &PrintToStandardOutput; }

void LogInfo(const std::string& text) { currentSink.load()(LogLevel::Info, text); }

void LogWarning(const std::string& text) { currentSink.load()(LogLevel::Warning, text); }

}  // namespace platform
