#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/interrupt.h"

extern char** environ;

namespace kuvelt::process {
namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The program file to run: a name with a "/" as it stands, else the first match on PATH. Done
// before forking, because between fork and exec only the simplest system calls are safe.
std::string Resolve(const std::string& program) {
    if (program.find('/') != std::string::npos) return program;
    const char* env = std::getenv("PATH");
    std::string search = env && *env ? env : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        std::size_t colon = search.find(':', start);
        std::string dir = search.substr(start, colon == std::string::npos ? colon : colon - start);
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + program;
        if (IsExecutableFile(candidate)) return candidate;
        if (colon == std::string::npos) return std::string();
        start = colon + 1;
    }
}

// Runs in the child after fork: only async-signal-safe calls. Reports the exec failure's errno
// through the pipe, which closes by itself when exec succeeds. A program waited for (`parent`
// not 0) is part of our run: it is killed when we end, however we end, so it never writes
// anything after the run was stopped.
[[noreturn]] void ExecChild(const char* file, char* const* args, int errPipe, pid_t parent) {
    if (parent != 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);  // we ended before the request was made
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    signal(SIGCHLD, SIG_DFL);
    // Our own open files (a print file being written, the settings file) stay ours.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    ::execve(file, args, environ);
    int e = errno;
    (void)!::write(errPipe, &e, sizeof e);
    ::_exit(127);
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

bool Start(const std::vector<std::string>& argv, bool wait, int* exitStatus) {
    if (exitStatus) *exitStatus = -1;
    if (argv.empty() || argv[0].empty()) return false;
    for (const std::string& a : argv) {
        if (a.find('\0') != std::string::npos) return false;  // would be cut at the NUL
    }
    const std::string file = Resolve(argv[0]);
    if (file.empty()) return false;
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    const pid_t self = ::getpid();
    pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid == 0) {
        ::close(fds[0]);
        if (!wait) {
            // Detached: the program runs as a grandchild in its own session, so it is adopted
            // by the system and never becomes a zombie of ours; the middle process ends now.
            ::setsid();
            pid_t grandchild = ::fork();
            if (grandchild < 0) {
                int e = errno;
                (void)!::write(fds[1], &e, sizeof e);
                ::_exit(127);
            }
            if (grandchild > 0) ::_exit(0);
        }
        ExecChild(file.c_str(), args.data(), fds[1], wait ? self : 0);
    }
    if (wait) interrupt::SetChild(pid);  // a termination request of ours ends it too
    ::close(fds[1]);
    int childErr = 0;
    ssize_t n;
    do {
        n = ::read(fds[0], &childErr, sizeof childErr);
    } while (n < 0 && errno == EINTR);
    ::close(fds[0]);
    const bool started = n == 0;  // end of pipe without a report: exec succeeded
    if (!wait || !started) {
        WaitFor(pid);  // the middle process (detached) or the failed child
        interrupt::SetChild(0);
        return started;
    }
    const int status = WaitFor(pid);
    interrupt::SetChild(0);
    if (exitStatus) *exitStatus = status;
    return true;
}

}  // namespace kuvelt::process
