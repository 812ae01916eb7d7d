#include "support/game_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

extern char** environ;

namespace test_support {
namespace {

std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& extra) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (extra.count(name) == 0) merged.push_back(text);
    }
    for (const auto& [name, value] : extra) merged.push_back(name + "=" + value);
    return merged;
}

std::vector<char*> PointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// In the child: only async-signal-safe calls until exec.
[[noreturn]] void ExecChild(const std::string& program, const std::string& folder,
                            char* const* argv, char* const* envp, const std::string& out,
                            const std::string& err, int pipeFd) {
    const int outFd = pipeFd >= 0 ? pipeFd : open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0) _exit(126);
    const int nullFd = open("/dev/null", O_RDONLY);
    if (nullFd >= 0) dup2(nullFd, 0);
    if (chdir(folder.c_str()) != 0) _exit(126);
    execve(program.c_str(), argv, envp);
    _exit(127);
}

}  // namespace

GameProcess::GameProcess(const std::string& program, const std::string& workingFolder,
                         const std::map<std::string, std::string>& environment,
                         const std::string& outputFolder, bool pipedOutput)
    : stdoutPath(outputFolder + "/stdout.txt"), stderrPath(outputFolder + "/stderr.txt") {
    int fds[2] = {-1, -1};
    if (pipedOutput && pipe(fds) != 0) throw std::runtime_error("pipe failed");
    std::vector<std::string> envTexts = MergedEnvironment(environment);
    std::vector<char*> envp = PointersTo(envTexts);
    std::vector<std::string> argTexts{program};
    std::vector<char*> argv = PointersTo(argTexts);
    pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (fds[0] >= 0) close(fds[0]);  // else the child itself would keep the pipe readable
        ExecChild(program, workingFolder, argv.data(), envp.data(), stdoutPath, stderrPath, fds[1]);
    }
    if (!pipedOutput) return;
    close(fds[1]);
    outputPipe = fds[0];
    fcntl(outputPipe, F_SETFL, O_NONBLOCK);
}

GameProcess::~GameProcess() {
    Kill();
    CloseOutput();
}

void GameProcess::CloseOutput() {
    if (outputPipe >= 0) close(outputPipe);
    outputPipe = -1;
}

bool GameProcess::Reap(int options) {
    if (status || pid <= 0) return true;
    int raw = 0;
    const pid_t result = waitpid(pid, &raw, options);
    if (result != pid) return false;
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -WTERMSIG(raw);
    return true;
}

std::optional<int> GameProcess::WaitForExit(double timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!Reap(WNOHANG)) {
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status;
}

bool GameProcess::WaitForOutput(const std::string& text, double timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        if (StandardOutput().find(text) != std::string::npos) return true;
        if (!IsRunning() || std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool GameProcess::IsRunning() { return !Reap(WNOHANG); }

void GameProcess::Kill() {
    if (!IsRunning()) return;
    kill(pid, SIGKILL);
    Reap(0);
}

std::string GameProcess::StandardOutput() const {
    if (outputPipe < 0) return piped.empty() ? ReadFile(stdoutPath) : piped;
    char buffer[4096];
    for (ssize_t got; (got = read(outputPipe, buffer, sizeof buffer)) > 0;) piped.append(buffer, size_t(got));
    return piped;
}

std::string GameProcess::StandardError() const { return ReadFile(stderrPath); }

}  // namespace test_support
