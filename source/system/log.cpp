// The System's logging: console lines, the run's log text and the error-log
// files in the profile folder. Any thread; one lock keeps each call's line,
// log text and file together.
#include <fstream>
#include <iostream>

#include "platform/profile.h"
#include "system.h"

namespace {

std::tm CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace

void System::WriteLine(const std::string& line) {
    std::cout << line << std::endl;
    logText += line;
    logText += "\n";
}

void System::Log(const std::string& message) {
    std::lock_guard<std::mutex> guard(logMutex);
    WriteLine(message);
}

void System::Warning(const std::string& message) {
    std::lock_guard<std::mutex> guard(logMutex);
    WriteLine("WARNING: " + message);
}

void System::Error(const std::string& message) {
    std::lock_guard<std::mutex> guard(logMutex);
    WriteLine("ERROR: " + message);
    // After a quit the run is ending: the console and the log text suffice.
    // The game never waits for a key here; an error must not stop play.
    if (running.load()) WriteErrorLogFile(message);
}

std::string System::GetLogText() const {
    std::lock_guard<std::mutex> guard(logMutex);
    return logText;
}

void System::SetLocalTimeSource(LocalTimeSource source) {
    std::lock_guard<std::mutex> guard(logMutex);
    localTimeSource = std::move(source);
}

std::string System::ErrorLogFileName(const std::tm& localTime) {
    return "error_log_" + std::to_string(localTime.tm_mon + 1) + "_" +
           std::to_string(localTime.tm_mday) + "_" + std::to_string(localTime.tm_year + 1900) +
           "_" + std::to_string(localTime.tm_hour) + "_" + std::to_string(localTime.tm_min) +
           "_" + std::to_string(localTime.tm_sec) + ".txt";
}

// Expects logMutex to be held.
void System::WriteErrorLogFile(const std::string& message) {
    // An error repeated every frame would otherwise append the whole, growing
    // log once per frame; the first occurrence's file already holds the story.
    if (!loggedErrors.insert(message).second) return;
    const std::tm local = localTimeSource ? localTimeSource() : CurrentLocalTime();
    const std::string path = platform::ProfileFilePath(ErrorLogFileName(local));
    std::ofstream file(path, std::ios::app);
    if (!file) return;  // the error already reached the console and the log text
    file << logText << "\n";
}
