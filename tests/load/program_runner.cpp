#include "program_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace kuvelt::load {
namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string PrivateFile(const char* what) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kuvelt-load-").string();
    pattern += what;
    pattern += "-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd >= 0) close(fd);
    return pattern;
}

// Waits for the child up to the limit; true when it ended (status filled in).
bool WaitFor(pid_t pid, double limitSeconds, int& st) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    while (true) {
        const pid_t w = waitpid(pid, &st, WNOHANG);
        if (w == pid) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            if (pidfd >= 0) close(pidfd);
            return false;
        }
        if (pidfd >= 0) {
            pollfd p{pidfd, POLLIN, 0};
            poll(&p, 1, static_cast<int>(left.count()));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    if (pidfd >= 0) close(pidfd);
    return true;
}

}  // namespace

TimedRun RunTimed(const std::string& program, const std::vector<std::string>& args,
                  double limitSeconds, const std::string& tmpdir) {
    const std::string outPath = PrivateFile("out"), errPath = PrivateFile("err");
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    TimedRun r;
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int o = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int e = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(o, 1);
        dup2(e, 2);
        close(o);
        close(e);
        if (!tmpdir.empty()) setenv("TMPDIR", tmpdir.c_str(), 1);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (pid > 0) {
        int st = 0;
        if (!WaitFor(pid, limitSeconds, st)) {
            r.timedOut = true;
            kill(pid, SIGKILL);
            waitpid(pid, &st, 0);
        } else if (WIFEXITED(st)) {
            r.status = WEXITSTATUS(st);
        } else if (WIFSIGNALED(st)) {
            r.signal = WTERMSIG(st);
        }
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.out = Slurp(outPath);
    r.err = Slurp(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return r;
}

std::string Ending(const TimedRun& r) {
    if (r.timedOut) return "timed out after " + std::to_string(r.seconds) + " s";
    if (r.signal != 0) return "signal " + std::to_string(r.signal);
    return "exit " + std::to_string(r.status);
}

}  // namespace kuvelt::load
