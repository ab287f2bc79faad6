#include "platform/run_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kuvelt::runfiles {
namespace {

bool IsHex(std::string_view s) {
    for (char c : s) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return !s.empty();
}

// The process id in the tag at the end of `stem` (the name without its suffix), or 0 when the
// name carries no tag.
pid_t TagProcess(std::string_view stem) {
    const std::size_t dot = stem.rfind('.');
    if (dot == std::string_view::npos || stem.size() - dot - 1 != 16 ||
        !IsHex(stem.substr(dot + 1)))
        return 0;
    const std::size_t start = stem.rfind('.', dot - 1);
    if (start == std::string_view::npos || start + 1 >= dot) return 0;
    long pid = 0;
    for (char c : stem.substr(start + 1, dot - start - 1)) {
        if (c < '0' || c > '9' || pid > 100000000) return 0;
        pid = pid * 10 + (c - '0');
    }
    return static_cast<pid_t>(pid);
}

bool ProcessGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

// A leftover's run has ended when its lock is free; the lock is taken (and kept until the
// descriptor closes) so no run starts to use it meanwhile.
bool LockIsFree(int dirFd, const std::string& name, bool folder) {
    const int fd =
        ::openat(dirFd, name.c_str(),
                 O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | (folder ? O_DIRECTORY : 0));
    if (fd < 0) return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

}  // namespace

std::string UniqueTag() {
    uint64_t r = 0;
    if (::getrandom(&r, sizeof r, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof r)) {
        // No entropy yet (early boot): the clock and a counter still differ between calls.
        static uint64_t counter = 0;
        r = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) *
                0x9E3779B97F4A7C15ull +
            ++counter;
    }
    char tag[48];
    std::snprintf(tag, sizeof tag, ".%ld.%016llx", static_cast<long>(::getpid()),
                  static_cast<unsigned long long>(r));
    return tag;
}

bool Hold(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

bool RemoveTree(int dirFd, const std::string& name) {
    if (::unlinkat(dirFd, name.c_str(), 0) == 0) return true;
    if (errno != EISDIR && errno != EPERM) return errno == ENOENT;
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    DIR* d = ::fdopendir(fd);
    if (d == nullptr) {
        ::close(fd);
        return false;
    }
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    bool ok = true;
    for (const std::string& n : names) ok = RemoveTree(fd, n) && ok;
    ::closedir(d);
    return ::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) == 0 && ok;
}

void RemoveLeftovers(const std::string& folder, std::string_view prefix, std::string_view suffix) {
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return;  // a folder we may not list keeps what it holds
    DIR* d = ::fdopendir(dirFd);
    if (d == nullptr) {
        ::close(dirFd);
        return;
    }
    std::vector<std::string> found;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view n = e->d_name;
        if (n.size() > prefix.size() + suffix.size() && n.substr(0, prefix.size()) == prefix &&
            n.substr(n.size() - suffix.size()) == suffix) {
            found.emplace_back(n);
        }
    }
    const uid_t me = ::geteuid();
    for (const std::string& n : found) {
        const pid_t pid = TagProcess(std::string_view(n).substr(0, n.size() - suffix.size()));
        struct stat st {};
        if (pid <= 0 || ::fstatat(dirFd, n.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            st.st_uid != me || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) || !ProcessGone(pid))
            continue;
        if (LockIsFree(dirFd, n, S_ISDIR(st.st_mode))) RemoveTree(dirFd, n);
    }
    ::closedir(d);
}

RunFolder::~RunFolder() { Remove(); }

bool RunFolder::Create(const std::string& parent, const std::string& prefix, int& err) {
    Remove();
    RemoveLeftovers(parent, prefix, "");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = parent + "/" + prefix + UniqueTag();
        if (::mkdir(path.c_str(), 0700) != 0) {
            if (errno == EEXIST) continue;  // somebody's name, or a link planted there
            err = errno;
            return false;
        }
        fd_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd_ < 0 || !Hold(fd_)) {
            err = fd_ < 0 ? errno : EBUSY;
            if (fd_ >= 0) ::close(fd_);
            fd_ = -1;
            ::rmdir(path.c_str());
            return false;
        }
        path_ = path;
        return true;
    }
    err = EEXIST;
    return false;
}

void RunFolder::Remove() {
    if (!path_.empty()) {
        const std::size_t slash = path_.find_last_of('/');
        const std::string parent = slash == 0 ? "/" : path_.substr(0, slash);
        const int dirFd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            RemoveTree(dirFd, path_.substr(slash + 1));
            ::close(dirFd);
        }
        path_.clear();
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace kuvelt::runfiles
