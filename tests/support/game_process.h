// Runs a program (the game executable) as a child process with extra
// environment variables, a working folder, and its standard output and error
// captured in files. Every wait is bounded; a child still running when the
// object goes is killed, so a test never leaves a game behind.
#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>

namespace test_support {

class GameProcess {
public:
    // Starts `program` in `workingFolder`; `environment` adds to or replaces
    // the test's own variables. Output goes to files in `outputFolder`; with
    // `pipedOutput`, standard output goes to a pipe that this object reads
    // (and may close, as a pager that quits does).
    GameProcess(const std::string& program, const std::string& workingFolder,
                const std::map<std::string, std::string>& environment,
                const std::string& outputFolder, bool pipedOutput = false);
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // The exit status (a signal number as its negative) once the child has
    // ended, or nothing when it still runs after `timeoutSeconds`.
    std::optional<int> WaitForExit(double timeoutSeconds);
    // Polls the captured standard output until it holds `text`; false when
    // it does not within `timeoutSeconds` or the child ends first.
    bool WaitForOutput(const std::string& text, double timeoutSeconds);
    bool IsRunning();
    void Kill();
    // Closes the reading end of the piped standard output.
    void CloseOutput();

    long Pid() const { return static_cast<long>(pid); }
    std::string StandardOutput() const;
    std::string StandardError() const;

private:
    bool Reap(int options);

    pid_t pid = -1;
    int outputPipe = -1;          // the reading end, while piped
    mutable std::string piped;    // what was read from it
    std::optional<int> status;
    std::string stdoutPath;
    std::string stderrPath;
};

}  // namespace test_support
