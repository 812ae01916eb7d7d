// The soak: the real game played into its endless mode and kept there by a
// scripted player that fires without pause, on the test content of the
// playthrough (weak waves in front of the player, so every wave is cleared
// and the next, larger one comes). Every ten seconds it prints the game's
// resident memory, threads, open files, CPU share and kills so far; at the
// end the first and last figures side by side. Nothing may grow without
// bound. Not part of the suite; needs a display and xdotool:
//   xvfb-run -a -s "-screen 0 1024x768x24" build/release/bench_soak_bench [seconds]
// The default run is 1800 seconds.
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "support/own_pictures.h"
#include "support/played_game.h"
#include "support/temp_folder.h"
#include "support/weak_waves.h"

namespace {

using namespace test_support;
using Clock = std::chrono::steady_clock;

struct Sample {
    double seconds = 0.0;
    long residentKb = 0;
    int threads = 0;
    int openFiles = 0;
    double cpuShare = 0.0;  // of one core, since the previous sample
    int kills = 0;
};

long StatusField(long pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, field.size(), field) == 0) return std::atol(line.c_str() + field.size());
    return -1;
}

int OpenFiles(long pid) {
    DIR* folder = opendir(("/proc/" + std::to_string(pid) + "/fd").c_str());
    if (!folder) return -1;
    int count = 0;
    while (readdir(folder)) ++count;
    closedir(folder);
    return count - 2;
}

// User and system time of the process, in seconds.
double CpuSeconds(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) fields >> skip;  // state .. cmajflt
    double user = 0, system = 0;
    fields >> user >> system;
    return (user + system) / double(sysconf(_SC_CLK_TCK));
}

double Brightness(const WindowLook& look) {
    double sum = 0.0;
    for (const ScreenColor& c : look.colours) sum += c.r + c.g + c.b;
    return look.colours.empty() ? 0.0 : sum / (3.0 * double(look.colours.size()));
}

class Soak {
public:
    Soak() : run(QUELL_RUN_DIR, WeakWaves(QUELL_RUN_DIR)), game(run.Path(), profile.Path(), output.Path()) {}

    bool PlayIntoTheEndlessMode() {
        if (!game.Start() || !game.WaitForLog("level Loaded", 1, 90.0)) return Fail("no game or no level 1");
        for (int presses = 0; presses < 40 && game.LogCount("splash screen over") == 0; ++presses)
            game.HoldKey("space");
        SleepSeconds(1.5);
        game.ClickAt(Wf(0.5f), Hf(0.42f) + 20.0f);  // Start Game
        if (!game.WaitForLog("level Loaded", 3, 90.0)) return Fail("level 1 did not start");
        SleepSeconds(1.0);
        if (!FireUntilLogged("player won", 1, 120.0)) return Fail("level 1 was not won");
        SleepSeconds(2.0);
        game.ClickAt(Wf(0.55f) + 150.0f, Hf(0.2f) + 18.0f);  // Continue
        SleepSeconds(2.0);
        // Level 2 starts a few steps right of its goal.
        for (int steps = 0; steps < 20 && game.LogCount("player won") < 2; ++steps) game.HoldKey("a", 0.5);
        if (!game.WaitForLog("player won", 2, 10.0)) return Fail("level 2 was not won");
        SleepSeconds(2.0);
        game.ClickAt(Wf(0.55f) + 150.0f, Hf(0.2f) + 18.0f);
        if (!game.WaitForLog("category = level3", 2, 90.0)) return Fail("level 3 did not load");
        SleepSeconds(2.0);
        if (!FireUntilVeiled(300.0)) return Fail("level 3's waves were not cleared");
        SleepSeconds(1.0);
        game.ClickAt(Wf(0.5f), Hf(0.42f) + 20.0f);  // Play Until You Die
        return true;
    }

    void Fire(double seconds) {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (Clock::now() < end && game.IsRunning()) {
            game.HoldButton(1, 0.8);
            game.HoldButton(3, 0.1);
        }
    }

    Sample Take(Clock::time_point start) {
        const long pid = game.Pid();
        Sample sample;
        sample.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        sample.residentKb = StatusField(pid, "VmRSS:");
        sample.threads = int(StatusField(pid, "Threads:"));
        sample.openFiles = OpenFiles(pid);
        const double cpu = CpuSeconds(pid);
        const bool first = lastCpu == 0.0;  // no interval yet
        sample.cpuShare = !first && sample.seconds > lastSeconds ? (cpu - lastCpu) / (sample.seconds - lastSeconds) : 0.0;
        lastCpu = cpu;
        lastSeconds = sample.seconds;
        sample.kills = game.LogCount("enemiesKilled = ");
        return sample;
    }

    PlayedGame& Game() { return game; }

private:
    bool Fail(const char* what) {
        std::cerr << "soak: " << what << "\n" << game.LastLogLines(40) << std::endl;
        return false;
    }
    float Wf(float f) const { return f * float(game.Width()); }
    float Hf(float f) const { return f * float(game.Height()); }

    bool FireUntilLogged(const std::string& text, int count, double seconds) {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (game.LogCount(text) < count && game.IsRunning() && Clock::now() < end) game.HoldButton(1, 0.8);
        return game.LogCount(text) >= count;
    }
    // The endless mode's offer comes under a veil that halves the scene.
    bool FireUntilVeiled(double seconds) {
        const double playing = Brightness(game.Look());
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (game.IsRunning() && Clock::now() < end) {
            game.HoldButton(1, 0.8);
            WindowLook look;
            if (game.WaitForStillLook(0.5, &look) && Brightness(look) < 0.65 * playing) return true;
        }
        return false;
    }

    RunFolderWith run;
    TempFolder profile;
    TempFolder output;
    PlayedGame game;
    double lastCpu = 0.0;
    double lastSeconds = 0.0;
};

void Print(const Sample& s) {
    std::printf("%7.0f s  rss %7ld kB  threads %3d  files %3d  cpu %5.2f cores  kills %6d\n", s.seconds, s.residentKb,
                s.threads, s.openFiles, s.cpuShare, s.kills);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const double duration = argc > 1 ? std::atof(argv[1]) : 1800.0;
    Soak soak;
    if (!soak.PlayIntoTheEndlessMode()) return 1;
    const auto start = Clock::now();
    const Sample first = soak.Take(start);
    Print(first);
    Sample last = first;
    while (std::chrono::duration<double>(Clock::now() - start).count() < duration && soak.Game().IsRunning()) {
        soak.Fire(10.0);
        if (!soak.Game().IsRunning()) break;
        last = soak.Take(start);
        Print(last);
    }
    const bool running = soak.Game().IsRunning();
    soak.Game().ReleaseEverything();
    soak.Game().CloseWindow();
    const auto status = soak.Game().WaitForExit(60.0);
    std::printf("soak: %.0f s in the endless mode; rss %ld -> %ld kB, threads %d -> %d, files %d -> %d; "
                "the game %s, exit status %d\n",
                last.seconds, first.residentKb, last.residentKb, first.threads, last.threads, first.openFiles,
                last.openFiles, running ? "ran to the end" : "ENDED EARLY", status.value_or(-999));
    return running && status == 0 ? 0 : 1;
}
