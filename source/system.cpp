#include "system.h"

#include <iostream>

#include "platform/clock.h"

System::System() : Module<System>("System") {}

void System::Init() {
    platform::SetClockTime(0.0);
    Pause(true);
}

void System::Update() {}

void System::Kill() {}

void System::WriteLine(const std::string& line) {
    std::lock_guard<std::mutex> guard(logMutex);
    std::cout << line << std::endl;
    logText += line;
    logText += "\n";
}

void System::Log(const std::string& message) { WriteLine(message); }

void System::Warning(const std::string& message) { WriteLine("WARNING: " + message); }

void System::Error(const std::string& message) { WriteLine("ERROR: " + message); }

std::string System::GetLogText() const {
    std::lock_guard<std::mutex> guard(logMutex);
    return logText;
}

double System::GetTime(bool ignorePause) const {
    if (paused.load() && !ignorePause) return pausedTime.load();
    return platform::GetClockTime();
}

void System::StampFrameStart() {
    frameStartTime.store(paused.load() ? pausedTime.load() : platform::GetClockTime());
}

void System::Pause(bool pause) {
    if (pause && !paused.load()) {
        pausedTime.store(platform::GetClockTime());
        paused.store(true);
    } else if (!pause && paused.load()) {
        platform::SetClockTime(pausedTime.load());
        paused.store(false);
    }
}
