#include "support/played_game.h"

#include <X11/Xlib.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "support/log_capture.h"

namespace test_support {
namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point After(double seconds) {
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

std::string Number(float value) { return std::to_string(int(value)); }

// The window the game draws in. Full screen on a server whose mode cannot
// change, SDL centres its drawing window, of the game's size, inside a
// window as large as the screen; the titled window then only stands aside.
// Windowed, the titled window is the one drawn in.
unsigned long DrawingWindow(unsigned long titled, const WindowSize& size) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return titled;
    unsigned long found = titled;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && found == titled; ++i) {
            Window* inner = nullptr;
            unsigned innerCount = 0;
            if (children[i] == titled || !XQueryTree(display, children[i], &root, &parent, &inner, &innerCount))
                continue;
            for (unsigned j = 0; j < innerCount; ++j) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(display, inner[j], &attributes) && attributes.map_state == IsViewable &&
                    attributes.width == size.width && attributes.height == size.height)
                    found = inner[j];
            }
            if (inner) XFree(inner);
        }
        if (children) XFree(children);
    }
    XCloseDisplay(display);
    return found;
}

}  // namespace

void SleepSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

size_t WindowLook::DistinctColours() const {
    std::set<int> distinct;
    for (const ScreenColor& c : colours) distinct.insert(c.r << 16 | c.g << 8 | c.b);
    return distinct.size();
}

size_t WindowLook::PointsDifferentFrom(const WindowLook& other, int tolerance) const {
    if (other.colours.size() != colours.size()) return colours.size();
    size_t different = 0;
    for (size_t i = 0; i < colours.size(); ++i) {
        const ScreenColor& a = colours[i];
        const ScreenColor& b = other.colours[i];
        if (std::abs(a.r - b.r) > tolerance || std::abs(a.g - b.g) > tolerance || std::abs(a.b - b.b) > tolerance)
            ++different;
    }
    return different;
}

PlayedGame::PlayedGame(const std::string& runFolder, const std::string& profileFolder,
                       const std::string& outputFolder)
    : runFolder(runFolder),
      profileFolder(profileFolder),
      outputFolder(outputFolder),
      soundPath(outputFolder + "/sound.raw") {}

PlayedGame::~PlayedGame() {
    ReleaseEverything();
    process.reset();
}

bool PlayedGame::Start(double timeoutSeconds) {
    display = std::make_unique<X11Display>();
    if (!display->IsOpen()) return false;
    std::remove(soundPath.c_str());
    // The disk driver sleeps this long per 1024-frame buffer: about the pace
    // of real time, so the file stays small over a long run.
    const std::map<std::string, std::string> environment{
        {"HOME", profileFolder},        {"UserProfile", profileFolder},  {"SDL_VIDEODRIVER", "x11"},
        {"SDL_AUDIODRIVER", "disk"},     {"SDL_DISKAUDIOFILE", soundPath}, {"SDL_DISKAUDIODELAY", "20"},
    };
    process = std::make_unique<GameProcess>(runFolder + "/quellbrand", runFolder, environment, outputFolder);
    const auto found = display->WaitForWindow("The Quellbrand", process->Pid(), timeoutSeconds);
    if (!found) return false;
    size = display->GetSize(*found).value_or(WindowSize{});
    titled = *found;
    if (size.width <= 0 || !Xdo("windowfocus --sync " + std::to_string(titled))) return false;
    SleepSeconds(0.5);  // SDL places its full-screen windows once the titled one is up
    window = DrawingWindow(*found, size);
    return true;
}

std::optional<int> PlayedGame::WaitForExit(double timeoutSeconds) {
    if (!process) return std::nullopt;
    return process->WaitForExit(timeoutSeconds);
}

std::string PlayedGame::Log() const { return process ? process->StandardOutput() : std::string(); }

std::string PlayedGame::LastLogLines(int count) const {
    const std::string text = Log();
    size_t start = text.size();
    for (int lines = 0; start > 0 && lines <= count;) {
        --start;
        if (text[start] == '\n') ++lines;
    }
    return text.substr(start);
}

int PlayedGame::LogCount(const std::string& text) const { return CountOf(Log(), text); }

bool PlayedGame::WaitForLog(const std::string& text, int count, double timeoutSeconds) {
    bool ended = false;  // a game that has ended logs nothing more
    const bool logged = WaitFor(
        [&] {
            if (LogCount(text) >= count) return true;
            ended = !IsRunning();
            return ended;
        },
        timeoutSeconds);
    return logged && !ended;
}

bool PlayedGame::Xdo(const std::string& arguments) const {
    const std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

bool PlayedGame::HoldKey(const std::string& key, double seconds) const {
    if (!Xdo("keydown " + key)) return false;
    SleepSeconds(seconds);
    return Xdo("keyup " + key);
}

bool PlayedGame::TapKey(const std::string& key) const { return Xdo("key " + key); }

bool PlayedGame::PointAt(float x, float y) const {
    const bool moved = Xdo("mousemove --window " + std::to_string(window) + " " + Number(x) + " " +
                           std::to_string(size.height - 1 - int(y)));
    SleepSeconds(0.05);  // a frame or two sees the pointer there before a press
    return moved;
}

bool PlayedGame::ClickAt(float x, float y, double holdSeconds) const {
    if (!PointAt(x, y) || !Xdo("mousedown 1")) return false;
    SleepSeconds(holdSeconds);
    return Xdo("mouseup 1");
}

bool PlayedGame::QuickClickAt(float x, float y) const { return PointAt(x, y) && Xdo("click 1"); }

bool PlayedGame::DragAt(float fromX, float toX, float y, const std::function<bool()>& arrived,
                        double seconds) const {
    if (!PointAt(fromX, y) || !Xdo("mousedown 1")) return false;
    SleepSeconds(0.1);
    const int steps = 6;
    for (int i = 1; i <= steps; ++i) {
        if (!PointAt(fromX + (toX - fromX) * float(i) / steps, y)) return false;
        SleepSeconds(0.03);
    }
    const bool seen = !arrived || WaitFor(arrived, seconds);
    SleepSeconds(0.1);
    return Xdo("mouseup 1") && seen;
}

bool PlayedGame::HoldButton(int button, double seconds) const {
    const std::string which = std::to_string(button);
    if (!Xdo("mousedown " + which)) return false;
    SleepSeconds(seconds);
    return Xdo("mouseup " + which);
}

bool PlayedGame::MoveMouseBy(int pixels) const {
    return Xdo("mousemove_relative -- " + std::to_string(pixels) + " 0");
}

void PlayedGame::ReleaseEverything() const {
    std::system("xdotool mouseup 1 mouseup 3 keyup Escape keyup Up keyup w >/dev/null 2>&1");
}

WindowLook PlayedGame::Look(int columns, int rows) const {
    std::vector<std::pair<int, int>> points;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            points.emplace_back(size.width * (2 * column + 1) / (2 * columns),
                                size.height * (2 * row + 1) / (2 * rows));
    WindowLook look;
    look.colours = ReadWindowPixels(window, points);
    return look;
}

bool PlayedGame::WaitFor(const std::function<bool()>& wanted, double timeoutSeconds) {
    const auto deadline = After(timeoutSeconds);
    for (;;) {
        if (wanted()) return true;
        if (Clock::now() >= deadline) return false;
        SleepSeconds(0.05);
    }
}

bool PlayedGame::WaitForLook(const std::function<bool(const WindowLook&)>& wanted, double timeoutSeconds,
                             WindowLook* seen) const {
    return WaitFor(
        [&] {
            const WindowLook look = Look();
            if (seen) *seen = look;
            return !look.Empty() && wanted(look);
        },
        timeoutSeconds);
}

bool PlayedGame::WaitForStillLook(double timeoutSeconds, WindowLook* seen) const {
    return WaitForLook(
        [&](const WindowLook& look) {
            SleepSeconds(0.2);
            return Look().PointsDifferentFrom(look) == 0;
        },
        timeoutSeconds, seen);
}

bool PlayedGame::SaveScreenshot(const std::string& path, bool wholeScreen) const {
    const std::string source = wholeScreen ? std::string("root") : std::to_string(window);
    const std::string command = "import -window " + source + " \"" + path + "\" >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

long PlayedGame::SoundBytes() const {
    struct stat info {};
    return stat(soundPath.c_str(), &info) == 0 ? long(info.st_size) : 0;
}

bool PlayedGame::HeardSince(long fromByte, int threshold) const {
    std::ifstream file(soundPath, std::ios::binary);
    if (!file) return false;
    file.seekg(fromByte & ~3L);
    int16_t sample = 0;
    while (file.read(reinterpret_cast<char*>(&sample), sizeof sample))
        if (std::abs(int(sample)) >= threshold) return true;
    return false;
}

bool PlayedGame::CloseWindow() { return display && display->SendDeleteWindow(titled); }

}  // namespace test_support
