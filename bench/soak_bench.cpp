// The soak: the game played into its endless mode and kept there, killing
// wave after wave, for half an hour (or the seconds given). Not part of the
// suite; needs a display and xdotool:
//   xvfb-run -a -s "-screen 0 1024x768x24" env SDL_AUDIODRIVER=dummy
//       build/release/bench_soak_bench [seconds] [--log game_log.txt]
//
// The game runs in this process, exactly as its main runs it (StartGame, the
// frame loop's RunFrame with the frame limiter, ShutDownGame), on the
// playthrough's test content: weak waves set in a row in front of the
// player, so every wave is cleared and the next, larger one comes. Running
// in-process is what lets the soak count frames (each RunFrame is one frame
// drawn; frames per second is frames over the wall time between samples,
// the OpenGL probe's own time left out) and count live OpenGL names (glIs*
// over every name below the allocator's next one, plus a margin, on the
// thread that owns the context, between two frames).
//
// The player is a second thread that plays as a person does, through
// xdotool on the game's window (keys, mouse buttons and mouse moves read by
// SDL's event pump), and watches what the frame loop publishes after each
// frame: which screen is on top, the level, the wave, the kills, and the
// turn that would put the crosshair on the nearest enemy (a person sees it on
// the screen and the minimap; the loop reads the object table). It turns
// towards it, fires missiles while they last and steps back when a wave
// stands still. The laser button is held down without a break while waves
// are fought: the game fires while it is held, and a fresh press at the
// moment the endless offer appears would land on "Stop Now and Win", which
// covers the centre of the window where the play keeps the pointer.
//
// Every ten seconds a row: resident memory, heap in use (malloc), the size of
// the run's log text (the System keeps it all), threads, open files, CPU
// share (and the machine's load average, which a software renderer on a
// shared machine follows), frames per second and the longest frame, kills,
// the wave line's number (the eighth wave is the first endless one), enemies
// of the wave alive, game objects and live OpenGL names. The game's standard
// output goes to the log file; the rows to this program's standard output.
#include <GL/glew.h>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "game_logic.h"
#include "geom/quaternion.h"
#include "graphics/camera_object.h"
#include "game_states/end_of_level_states.h"
#include "game_states/endless_mode_start_state.h"
#include "game_states/ingame_state.h"
#include "game_states/level_states.h"
#include "game_states/score_state.h"
#include "game_states/title_state.h"
#include "main/frame_loop.h"
#include "main/start_up.h"
#include "object_manager.h"
#include "support/own_pictures.h"
#include "support/temp_folder.h"
#include "support/weak_waves.h"
#include "support/x11_window.h"
#include "system.h"

// Last: its macros (None, Status) would clash with the game's names.
#include <X11/Xlib.h>

namespace {

using namespace test_support;
using Clock = std::chrono::steady_clock;

constexpr double kSampleSeconds = 10.0;
constexpr int kWidth = 1024, kHeight = 768;

GameLogic& Logic() { return *Module<GameLogic>::Instance(); }
System& Sys() { return *Module<System>::Instance(); }

double SecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// ---- What the frame loop publishes after each frame ------------------------

enum class Screen { Other, Title, Play, Win, Choice, Score, GameOver };

struct Observed {
    std::atomic<Screen> screen{Screen::Other};
    std::atomic<int> level{0};  // of the in-game state, 0 before it exists
    std::atomic<bool> endless{false};
    std::atomic<int> wave{0};
    std::atomic<int> alive{0};  // enemies of the wave still alive
    std::atomic<unsigned> kills{0};
    std::atomic<long> frames{0};
    // The turn (radians, the camera's own sense) that puts the crosshair on
    // the chosen enemy, when there is one.
    std::atomic<bool> aimed{false};
    std::atomic<float> yawToTarget{0.0f};
    std::atomic<float> pitchToTarget{0.0f};
};

// Chooses the enemy the player aims at: the nearest live one, kept while it
// lives; one aimed at for longer than kHoldSeconds without dying (behind
// another, or too close for a shot to strike) is passed over for a while.
// A person sees them on the screen and the minimap; this reads the table.
// Main thread, between frames.
class TargetChooser {
public:
    void Update(Observed& seen) {
        const auto now = Clock::now();
        ObjectManager& objects = *Module<ObjectManager>::Instance();
        ObjectLock lock;
        const CameraObject& camera = objects.cameraObject;
        const Vector eye = MatrixToQuatVec(camera.GetInvViewMatrix()).trans;
        const GameObject* target = Find(objects, current);
        if (!target) {
            target = Nearest(objects, eye, now);
            current = target ? target->name : std::string();
            chosenAt = now;
        } else if (SecondsBetween(chosenAt, now) > kHoldSeconds) {
            passedOver[current] = now;
            current.clear();
        }
        seen.aimed = target != nullptr;
        if (!target) return;
        // The weak machines' box is centred 30 above their feet.
        const float dx = target->trans.x - eye.x, dz = target->trans.z - eye.z;
        const float dy = target->trans.y + 30.0f - eye.y;
        // The camera looks along (-sin yaw cos pitch, -sin pitch, -cos yaw cos pitch).
        seen.yawToTarget = Wrapped(std::atan2(-dx, -dz) - camera.yaw);
        seen.pitchToTarget = std::atan2(-dy, std::hypot(dx, dz)) - camera.pitch;
    }

private:
    static constexpr double kHoldSeconds = 5.0;
    static constexpr double kPassOverSeconds = 20.0;

    static bool IsEnemy(const GameObject& object) {
        return !object.isDead && object.GetStatsComp() &&
               (object.name.rfind("MediumMech", 0) == 0 || object.name.rfind("HeavyMech", 0) == 0);
    }
    static float Wrapped(float angle) { return std::remainder(angle, 2.0f * float(M_PI)); }

    const GameObject* Find(const ObjectManager& objects, const std::string& name) const {
        if (name.empty()) return nullptr;
        for (const auto& entry : objects.gameObjectList)
            if (entry.second.name == name) return IsEnemy(entry.second) ? &entry.second : nullptr;
        return nullptr;
    }
    const GameObject* Nearest(const ObjectManager& objects, const Vector& eye, Clock::time_point now) {
        for (auto passed = passedOver.begin(); passed != passedOver.end();) {
            const bool expired = SecondsBetween(passed->second, now) >= kPassOverSeconds;
            passed = expired ? passedOver.erase(passed) : std::next(passed);
        }
        const GameObject* nearest = nullptr;
        float best = 0.0f;
        for (const auto& entry : objects.gameObjectList) {
            const GameObject& object = entry.second;
            if (!IsEnemy(object)) continue;
            if (passedOver.count(object.name)) continue;
            const float distance = std::hypot(object.trans.x - eye.x, object.trans.z - eye.z);
            if (!nearest || distance < best) {
                nearest = &object;
                best = distance;
            }
        }
        return nearest;
    }

    std::string current;
    Clock::time_point chosenAt;
    std::map<std::string, Clock::time_point> passedOver;
};

template <class T>
bool Is(const GameState* state) {
    return dynamic_cast<const T*>(state) != nullptr;
}

int LevelOf(const IngameState& play) {
    const LevelState& level = play.CurrentLevel();
    return Is<LevelOne>(&level) ? 1 : Is<LevelTwo>(&level) ? 2 : Is<LevelThree>(&level) ? 3 : 0;
}

// Main thread, between frames.
void Observe(Observed& seen) {
    const GameState* top = Logic().TopState();
    Screen screen = Screen::Other;
    if (const auto* play = dynamic_cast<const IngameState*>(top)) {
        seen.level = LevelOf(*play);
        seen.alive = play->CurrentLevel().liveEnemies;
        if (Logic().loadingDone.load()) screen = Screen::Play;
    } else if (Is<TitleState>(top)) {
        screen = Logic().loadingDone.load() ? Screen::Title : Screen::Other;
    } else if (Is<WinState>(top)) {
        screen = Screen::Win;
    } else if (Is<EndlessModeStartState>(top)) {
        screen = Screen::Choice;
    } else if (Is<ScoreState>(top)) {
        screen = Screen::Score;
    } else if (Is<GameOverState>(top)) {
        screen = Screen::GameOver;
    }
    seen.screen = screen;
    seen.endless = Logic().endlessMode.load();
    seen.wave = Logic().waveNumber;
    seen.kills = Logic().enemiesKilled;
    ++seen.frames;
}

// ---- Live OpenGL names ------------------------------------------------------

// Names of one kind for which glIs* holds, below the allocator's next name
// plus a margin (an allocator that reuses freed names hands out the lowest
// free one, with live names above it).
struct NameCount {
    unsigned live = 0;
    unsigned next = 0;  // the name the allocator gives now
};

template <class IsName>
NameCount CountNames(unsigned next, IsName isName) {
    NameCount count;
    count.next = next;
    const unsigned end = next + 65536;
    for (unsigned name = 1; name < end; ++name)
        if (isName(name)) ++count.live;
    return count;
}

struct GlNames {
    NameCount textures, buffers, programsAndShaders, lists, framebuffers, renderbuffers;
};

// Main thread, context current, between frames. Each kind's next name is
// made and deleted again at once.
GlNames CountGlNames() {
    GlNames names;
    GLuint fresh = 0;
    glGenTextures(1, &fresh);
    glDeleteTextures(1, &fresh);
    names.textures = CountNames(fresh, [](GLuint n) { return glIsTexture(n) == GL_TRUE; });
    glGenBuffers(1, &fresh);
    glDeleteBuffers(1, &fresh);
    names.buffers = CountNames(fresh, [](GLuint n) { return glIsBuffer(n) == GL_TRUE; });
    fresh = glCreateShader(GL_VERTEX_SHADER);
    glDeleteShader(fresh);
    names.programsAndShaders =
        CountNames(fresh, [](GLuint n) { return glIsProgram(n) == GL_TRUE || glIsShader(n) == GL_TRUE; });
    fresh = glGenLists(1);
    glDeleteLists(fresh, 1);
    names.lists = CountNames(fresh, [](GLuint n) { return glIsList(n) == GL_TRUE; });
    glGenFramebuffersEXT(1, &fresh);
    glDeleteFramebuffersEXT(1, &fresh);
    names.framebuffers = CountNames(fresh, [](GLuint n) { return glIsFramebufferEXT(n) == GL_TRUE; });
    glGenRenderbuffersEXT(1, &fresh);
    glDeleteRenderbuffersEXT(1, &fresh);
    names.renderbuffers = CountNames(fresh, [](GLuint n) { return glIsRenderbufferEXT(n) == GL_TRUE; });
    return names;
}

// ---- The process, from /proc and malloc -------------------------------------

long StatusField(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, field.size(), field) == 0) return std::atol(line.c_str() + field.size());
    return -1;
}

int OpenFiles() {
    DIR* folder = opendir("/proc/self/fd");
    if (!folder) return -1;
    int count = 0;
    while (readdir(folder)) ++count;
    closedir(folder);
    return count - 3;  // ".", ".." and the listing's own descriptor
}

// User and system time of the whole process (the renderer's threads too).
double CpuSeconds() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) fields >> skip;  // state .. cmajflt
    double user = 0, system = 0;
    fields >> user >> system;
    return (user + system) / double(sysconf(_SC_CLK_TCK));
}

// The machine's load over the last minute: the frame rate of a software
// renderer on a shared machine follows it.
double LoadAverage() {
    std::ifstream file("/proc/loadavg");
    double load = 0.0;
    file >> load;
    return load;
}

long HeapKb() {
    const struct mallinfo2 info = mallinfo2();
    return long((info.uordblks + info.hblkhd) / 1024);
}

// Game objects by kind: the name without the number the factory appends
// ("PickupAmmo", "MediumMechSuper", "player", ...).
std::map<std::string, int> GameObjectKinds() {
    std::map<std::string, int> kinds;
    ObjectLock lock;
    for (const auto& entry : Module<ObjectManager>::Instance()->gameObjectList) {
        const std::string& name = entry.second.name;
        ++kinds[name.substr(0, name.find_last_not_of("0123456789") + 1)];
    }
    return kinds;
}

int CountKind(const std::map<std::string, int>& kinds, const std::string& prefix) {
    int count = 0;
    for (const auto& [kind, number] : kinds)
        if (kind.rfind(prefix, 0) == 0) count += number;
    return count;
}

// ---- Samples ------------------------------------------------------------------

struct Sample {
    double seconds = 0.0;
    long residentKb = 0;
    long heapKb = 0;
    size_t logKb = 0;
    int threads = 0;
    int openFiles = 0;
    double cpuShare = 0.0;  // cores, since the previous sample
    double load = 0.0;      // the machine's, over the last minute
    double fps = 0.0;       // since the previous sample
    double worstFrameMs = 0.0;
    unsigned kills = 0;
    int wave = 0;
    int alive = 0;
    size_t objects = 0;
    int pickups = 0;  // dropped by dead enemies, waiting to be collected
    std::map<std::string, int> kinds;
    GlNames gl;
    double probeMs = 0.0;
    bool interval = false;  // fps and CPU share cover a span (not the first row)
};

// Frames and their times between two samples.
class FrameMeter {
public:
    void Frame(double seconds) {
        ++frames;
        worst = std::max(worst, seconds);
    }
    void Exclude(double seconds) { excluded += seconds; }
    // Frames per second and the longest frame since the last Reset.
    std::pair<double, double> Take(Clock::time_point now) {
        const double wall = SecondsBetween(since, now) - excluded;
        const std::pair<double, double> result{wall > 0.0 ? double(frames) / wall : 0.0, worst * 1000.0};
        since = now;
        frames = 0;
        worst = excluded = 0.0;
        return result;
    }

private:
    Clock::time_point since = Clock::now();
    long frames = 0;
    double worst = 0.0;
    double excluded = 0.0;
};

class Sampler {
public:
    explicit Sampler(const Observed& seen) : seen(seen) {}

    // Main thread, between frames.
    Sample Take(Clock::time_point soakStart, FrameMeter& meter) {
        Sample s;
        const auto probeStart = Clock::now();
        s.gl = CountGlNames();
        s.probeMs = SecondsBetween(probeStart, Clock::now()) * 1000.0;
        meter.Exclude(s.probeMs / 1000.0);
        const auto now = Clock::now();
        s.seconds = SecondsBetween(soakStart, now);
        std::tie(s.fps, s.worstFrameMs) = meter.Take(now);
        s.residentKb = StatusField("VmRSS:");
        s.heapKb = HeapKb();
        s.logKb = Sys().GetLogText().size() / 1024;
        s.threads = int(StatusField("Threads:"));
        s.openFiles = OpenFiles();
        s.load = LoadAverage();
        const double cpu = CpuSeconds();
        s.interval = lastCpu >= 0.0 && s.seconds > lastSeconds;
        if (s.interval) s.cpuShare = (cpu - lastCpu) / (s.seconds - lastSeconds);
        lastCpu = cpu;
        lastSeconds = s.seconds;
        s.kills = seen.kills;
        s.wave = seen.wave;
        s.alive = seen.alive;
        s.kinds = GameObjectKinds();
        for (const auto& kind : s.kinds) s.objects += size_t(kind.second);
        s.pickups = CountKind(s.kinds, "Pickup");
        return s;
    }

private:
    const Observed& seen;
    double lastCpu = -1.0;
    double lastSeconds = 0.0;
};

void PrintHeading(FILE* out) {
    std::fprintf(out,
                 "   time   rss kB  heap kB  log kB thr files load  cpu    fps worst ms  kills wave alive objs pick"
                 "  | GL live: tex buf prog list fbo rbo\n");
    std::fflush(out);
}

void Print(FILE* out, const Sample& s) {
    char span[40] = "    -      -        -";
    if (s.interval) std::snprintf(span, sizeof span, "%4.2f %6.1f %8.1f", s.cpuShare, s.fps, s.worstFrameMs);
    std::fprintf(out,
                 "%6.0f s %8ld %8ld %7zu %3d %5d %4.1f %s %6u %4d %5d %4zu %4d  |          %4u %3u %4u %4u %3u %3u\n",
                 s.seconds, s.residentKb, s.heapKb, s.logKb, s.threads, s.openFiles, s.load, span, s.kills, s.wave,
                 s.alive, s.objects, s.pickups, s.gl.textures.live, s.gl.buffers.live, s.gl.programsAndShaders.live,
                 s.gl.lists.live, s.gl.framebuffers.live, s.gl.renderbuffers.live);
    std::fflush(out);
}

// Each probe makes and deletes one name of each kind, and the allocator
// never hands a name out twice: what the game made in between is the rest.
void PrintNames(FILE* out, const char* kind, const NameCount& first, const NameCount& last, int probes) {
    std::fprintf(out, "  %-22s live %5u -> %5u   made by the game meanwhile %u\n", kind, first.live, last.live,
                 last.next - first.next - unsigned(probes - 1));
}

// ---- The scripted player (its own thread) ----------------------------------

class ScriptedPlayer {
public:
    ScriptedPlayer(const Observed& seen, const std::atomic<bool>& stop) : seen(seen), stop(stop) {}

    // Title, level one, level two, level three's seven waves, and "Play
    // Until You Die". False, with the step in `failure`, when a step did not
    // come within its deadline.
    bool PlayIntoTheEndlessMode() {
        const auto found = display.WaitForWindow("The Quellbrand", long(getpid()), 60.0);
        if (!found) return Fail("no game window");
        window = *found;
        Xdo("windowfocus --sync " + std::to_string(window));
        // The splash ends on a key once level one's first load is in.
        for (int presses = 0; presses < 120 && seen.screen != Screen::Title; ++presses) {
            HoldKey("space");
            Sleep(0.5);
        }
        // The title is counted once the level loaded behind it is in.
        if (!WaitFor([&] { return seen.screen == Screen::Title; }, 90.0)) return Fail("no title");
        Sleep(0.5);
        ClickAt(0.5f * kWidth, 0.42f * kHeight + 20.0f);  // Start Game
        if (!WaitFor([&] { return Playing(1); }, 120.0)) return Fail("level 1 did not start");
        if (!Fight([&] { return seen.screen == Screen::Win; }, 180.0)) return Fail("level 1 was not won");
        if (!Continue(2)) return Fail("level 2 did not start");
        // Level two starts a few steps right of its goal.
        Xdo("keydown a");
        const bool won = WaitFor([&] { return seen.screen == Screen::Win; }, 30.0);
        Xdo("keyup a");
        if (!won) return Fail("level 2 was not won");
        if (!Continue(3)) return Fail("level 3 did not start");
        if (!Fight([&] { return seen.screen == Screen::Choice; }, 600.0))
            return Fail("level 3's waves were not cleared");
        Sleep(0.5);
        ClickAt(0.5f * kWidth, 0.42f * kHeight + 20.0f);  // Play Until You Die
        if (!WaitFor([&] { return seen.endless && Playing(3); }, 20.0)) return Fail("no endless mode");
        return true;
    }

    // Fights until `stop`; false (with `failure`) when the play screen went
    // away first.
    bool KeepFighting() {
        if (Fight([&] { return stop.load() || seen.screen != Screen::Play; }, 1e9) && !stop)
            return Fail("the endless play ended");
        return true;
    }

    // Lets go of everything and closes the window as a player does.
    void Quit() {
        std::system("xdotool mouseup 1 mouseup 3 keyup a keyup space >/dev/null 2>&1");
        if (window) display.SendDeleteWindow(window);
    }

    const std::string& Failure() const { return failure; }
    // How often a wave stood still long enough for the player to step back.
    int StepsBack() const { return stepsBack; }

private:
    bool Fail(const std::string& step) {
        failure = step;
        return false;
    }
    bool Playing(int level) const { return seen.screen == Screen::Play && seen.level == level; }

    bool WaitFor(const std::function<bool()>& done, double seconds) const {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (!done()) {
            if (stop || Clock::now() > end) return false;
            Sleep(0.05);
        }
        return true;
    }
    bool Xdo(const std::string& arguments) const {
        return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
    }
    void HoldKey(const std::string& key, double seconds = 0.15) const {
        Xdo("keydown " + key);
        Sleep(seconds);
        Xdo("keyup " + key);
    }
    // Interface coordinates: origin at the lower left, y upwards.
    void ClickAt(float x, float y) const {
        Xdo("mousemove --window " + std::to_string(window) + " " + std::to_string(int(x)) + " " +
            std::to_string(kHeight - 1 - int(y)));
        Sleep(0.1);
        Xdo("mousedown 1");
        Sleep(0.15);
        Xdo("mouseup 1");
    }
    // Holds the laser down, without a break, turns towards the enemy the
    // frame loop has chosen and fires a missile every few seconds, until
    // `done` (true) or the deadline or `stop` (false). Letting go is no click.
    bool Fight(const std::function<bool()>& done, double seconds) {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        auto nextMissile = Clock::now() + std::chrono::seconds(4);
        long turnedAt = seen.frames;
        unsigned killsBefore = seen.kills;
        auto lastKill = Clock::now();
        Xdo("mousedown 1");
        bool came = false;
        while (!(came = done()) && !stop && Clock::now() < end) {
            if (seen.kills != killsBefore) {
                killsBefore = seen.kills;
                lastKill = Clock::now();
            }
            // An enemy pushed up against the player may stand where no shot
            // strikes it: a step back gives room.
            if (seen.screen == Screen::Play && seen.alive > 0 && SecondsBetween(lastKill, Clock::now()) > 15.0) {
                HoldKey("s", 0.8);
                ++stepsBack;
                lastKill = Clock::now();
            }
            // A turn is judged two frames later: the next would otherwise
            // add to one not yet seen.
            if (seen.screen == Screen::Play && seen.aimed && seen.frames >= turnedAt + 2) {
                Turn();
                turnedAt = seen.frames;
            }
            if (seen.screen == Screen::Play && Clock::now() >= nextMissile) {
                Xdo("mousedown 3");
                Sleep(0.2);
                Xdo("mouseup 3");
                nextMissile += std::chrono::seconds(4);
            }
            Sleep(0.05);
        }
        Xdo("mouseup 1");
        return came;
    }
    // The play turns the camera by the pointer's offset from the window's
    // centre: a radian of yaw per half a window's width, of pitch per half
    // its height (right turns right, down looks down). Most of the turn at
    // once, so it settles without overshooting.
    void Turn() const {
        const auto pixels = [](float radians, int halfSize) {
            return int(std::lround(std::clamp(radians * float(halfSize) * 0.6f, -100.0f, 100.0f)));
        };
        const int right = pixels(-seen.yawToTarget, kWidth / 2), down = pixels(seen.pitchToTarget, kHeight / 2);
        if (right != 0 || down != 0)
            Xdo("mousemove_relative -- " + std::to_string(right) + " " + std::to_string(down));
    }
    // The win screen's Continue, then play on `level`.
    bool Continue(int level) const {
        Sleep(1.0);
        ClickAt(0.55f * kWidth + 150.0f, 0.2f * kHeight + 18.0f);
        return WaitFor([&] { return Playing(level); }, 120.0);
    }

    const Observed& seen;
    const std::atomic<bool>& stop;
    X11Display display;
    unsigned long window = 0;
    std::string failure;
    std::atomic<int> stepsBack{0};
};

// ---- The run --------------------------------------------------------------------

struct Options {
    double seconds = 1800.0;
    std::string logPath;  // the game's standard output; a temporary file when empty
};

Options ReadOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--log") == 0 && i + 1 < argc)
            options.logPath = argv[++i];
        else
            options.seconds = std::atof(argv[i]);
    }
    return options;
}

// The game's standard output goes to `logPath`; the rows go to the returned
// stream, the standard output as it was.
FILE* SendGameOutputTo(const std::string& logPath) {
    std::fflush(stdout);
    std::cout.flush();
    FILE* rows = fdopen(dup(STDOUT_FILENO), "w");
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log >= 0) {
        dup2(log, STDOUT_FILENO);
        close(log);
    }
    return rows ? rows : stdout;
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char here[4096];
    return std::string(getcwd(here, sizeof here) ? here : ".") + "/" + path;
}

// Drives the frame loop, samples every ten seconds once the endless play
// has begun, and stops the player after `seconds` of it.
class SoakLoop {
public:
    SoakLoop(FILE* rows, double seconds) : rows(rows), seconds(seconds), sampler(seen) {}

    bool Run() {
        std::thread playerThread([this] { Play(); });
        while (GameLockstep().Continues()) {
            const auto frameStart = Clock::now();
            RunFrame(true);
            const auto frameEnd = Clock::now();
            Observe(seen);
            if (seen.screen == Screen::Play)
                chooser.Update(seen);
            else
                seen.aimed = false;
            meter.Frame(SecondsBetween(frameStart, frameEnd));
            AfterFrame(frameEnd);
        }
        stop = true;
        playerThread.join();
        return Report();
    }

private:
    void Play() {
        if (player.PlayIntoTheEndlessMode()) {
            endlessReached = true;
            player.KeepFighting();
        }
        finishedPlaying = true;
        player.Quit();
    }

    void AfterFrame(Clock::time_point now) {
        if (endlessReached && !soakStarted) {
            soakStarted = true;
            soakStart = nextSample = now;
            meter.Take(now);
            PrintHeading(rows);
        }
        if (soakStarted && !stop && now >= nextSample) {
            last = sampler.Take(soakStart, meter);
            if (samples++ == 0) first = last;
            if (last.interval) rates.push_back({last.seconds, last.fps});
            Print(rows, last);
            nextSample += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kSampleSeconds));
            if (last.seconds >= seconds) stop = true;
        }
        if ((stop || finishedPlaying) && !stopAt) stopAt = now;
        // A window close the game did not take ends the loop all the same.
        if (stopAt && SecondsBetween(*stopAt, now) > 60.0) Sys().Quit();
    }

    bool Report() {
        const GLenum glError = glGetError();
        const bool fullRun = samples > 0 && last.seconds >= seconds;
        if (!player.Failure().empty())
            std::fprintf(rows, "soak: the player failed: %s\n%s\n", player.Failure().c_str(),
                         Tail(Sys().GetLogText(), 40).c_str());
        if (samples == 0) return false;
        std::fprintf(rows, "soak: %.0f s of endless play; kills %u -> %u, endless wave %d -> %d; steps back %d\n",
                     last.seconds, first.kills, last.kills, first.wave, last.wave, player.StepsBack());
        std::fprintf(rows, "  resident %ld -> %ld kB, heap %ld -> %ld kB, log text %zu -> %zu kB\n", first.residentKb,
                     last.residentKb, first.heapKb, last.heapKb, first.logKb, last.logKb);
        std::fprintf(rows, "  threads %d -> %d, open files %d -> %d, game objects %zu -> %zu\n", first.threads,
                     last.threads, first.openFiles, last.openFiles, first.objects, last.objects);
        PrintKinds();
        PrintRates();
        PrintNames(rows, "textures", first.gl.textures, last.gl.textures, samples);
        PrintNames(rows, "buffers", first.gl.buffers, last.gl.buffers, samples);
        PrintNames(rows, "programs and shaders", first.gl.programsAndShaders, last.gl.programsAndShaders, samples);
        PrintNames(rows, "display lists", first.gl.lists, last.gl.lists, samples);
        PrintNames(rows, "framebuffers", first.gl.framebuffers, last.gl.framebuffers, samples);
        PrintNames(rows, "renderbuffers", first.gl.renderbuffers, last.gl.renderbuffers, samples);
        std::fprintf(rows, "  OpenGL probe %.1f ms per row; glGetError at the end %u; the game %s\n", last.probeMs,
                     unsigned(glError), fullRun ? "ran to the end" : "ENDED EARLY");
        std::fflush(rows);
        return fullRun && glError == GL_NO_ERROR && player.Failure().empty();
    }

    // Each kind of game object whose number changed, first row -> last.
    void PrintKinds() const {
        std::map<std::string, std::pair<int, int>> changes;
        for (const auto& [kind, number] : first.kinds) changes[kind].first = number;
        for (const auto& [kind, number] : last.kinds) changes[kind].second = number;
        std::string line;
        for (const auto& [kind, numbers] : changes) {
            if (numbers.first == numbers.second) continue;
            line += " " + kind + " " + std::to_string(numbers.first) + " -> " + std::to_string(numbers.second) + ";";
        }
        std::fprintf(rows, "  game objects that changed in number:%s\n", line.empty() ? " none" : line.c_str());
    }

    // The first, middle and last rows' frames per second, and the extremes.
    void PrintRates() const {
        if (rates.empty()) return;
        const auto& middle = rates[rates.size() / 2];
        double low = rates.front().second, high = low;
        for (const auto& rate : rates) {
            low = std::min(low, rate.second);
            high = std::max(high, rate.second);
        }
        std::fprintf(rows,
                     "  frames per second: %.1f at %.0f s, %.1f at %.0f s, %.1f at %.0f s; "
                     "lowest row %.1f, highest %.1f\n",
                     rates.front().second, rates.front().first, middle.second, middle.first, rates.back().second,
                     rates.back().first, low, high);
    }

    static std::string Tail(const std::string& text, int lines) {
        size_t at = text.size();
        for (int n = 0; at > 0 && n <= lines;)
            if (text[--at] == '\n') ++n;
        return text.substr(at);
    }

    FILE* rows;
    double seconds;
    Observed seen;
    std::atomic<bool> stop{false};
    std::atomic<bool> endlessReached{false};
    std::atomic<bool> finishedPlaying{false};
    ScriptedPlayer player{seen, stop};
    TargetChooser chooser;
    Sampler sampler;
    FrameMeter meter;
    bool soakStarted = false;
    Clock::time_point soakStart, nextSample;
    std::optional<Clock::time_point> stopAt;
    Sample first, last;
    int samples = 0;
    std::vector<std::pair<double, double>> rates;  // (seconds, frames per second) of each row with a span
};

}  // namespace

int main(int argc, char** argv) {
    // Two threads use Xlib (the game's window, the player's own connection).
    XInitThreads();
    const Options options = ReadOptions(argc, argv);
    setenv("SDL_VIDEODRIVER", "x11", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // Held open for the whole run: Xvfb resets itself, refusing connections
    // for a moment, whenever its last client leaves, and the game's start
    // must not fall into such a moment.
    const X11Display server;
    if (!server.IsOpen()) {
        std::cerr << "soak: no display; run under xvfb-run\n";
        return 1;
    }
    RunFolderWith run(QUELL_RUN_DIR, WeakWaves(QUELL_RUN_DIR));
    TempFolder profile;
    profile.WriteFile("The Quellbrand/settings.xml",
                      "<Settings><Setting ID=\"full_screen\" key=\"0\" /><Setting ID=\"screen_width\" key=\"" +
                          std::to_string(kWidth) + "\" /><Setting ID=\"screen_height\" key=\"" +
                          std::to_string(kHeight) + "\" /></Settings>\n");
    setenv("HOME", profile.Path().c_str(), 1);
    setenv("UserProfile", profile.Path().c_str(), 1);
    TempFolder output;
    const std::string logPath =
        options.logPath.empty() ? output.Path() + "/game_log.txt" : AbsolutePath(options.logPath);
    FILE* rows = SendGameOutputTo(logPath);
    std::fprintf(rows, "soak: %.0f s of endless play on the weak-wave test content, %dx%d; game log %s\n",
                 options.seconds, kWidth, kHeight, logPath.c_str());
    std::fflush(rows);
    WorkingIn inRun(run.Path());
    if (!StartGame()) {
        std::fprintf(rows, "soak: the game did not start\n");
        return 1;
    }
    SoakLoop soak(rows, options.seconds);
    const bool passed = soak.Run();
    ShutDownGame();
    std::fprintf(rows, "soak: %s\n", passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}
