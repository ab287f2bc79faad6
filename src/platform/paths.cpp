#include "platform/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace kuvelt::paths {
namespace {

// Full path of the running executable; empty when the system does not tell.
std::string ExecutablePath() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string();
    std::string path(buf, static_cast<std::size_t>(n));
    // An executable replaced while running (a rebuild, a package update) is reported this way.
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() &&
        path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
        path.resize(path.size() - deleted.size());
    }
    return path;
}

std::string StripTrailingSlashes(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return StripTrailingSlashes(home);
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir) {
        return StripTrailingSlashes(pw->pw_dir);
    }
    return TempFolder();  // no home at all (a service account): still a writable place
}

// An XDG base folder: the variable when it holds an absolute path (relative values are to be
// ignored), else the conventional folder under the home folder.
std::string XdgFolder(const char* variable, const char* fallback) {
    const char* v = std::getenv(variable);
    if (v && v[0] == '/') return StripTrailingSlashes(v);
    return Join(HomeFolder(), fallback);
}

}  // namespace

std::string ProgramFolder() {
    std::string exe = ExecutablePath();
    std::size_t slash = exe.find_last_of('/');
    if (slash == std::string::npos) {
        char cwd[PATH_MAX];
        return ::getcwd(cwd, sizeof cwd) ? std::string(cwd) : std::string(".");
    }
    return slash == 0 ? std::string("/") : exe.substr(0, slash);
}

std::string ProgramName() {
    std::string exe = ExecutablePath();
    std::string name = exe.substr(exe.find_last_of('/') + 1);
    std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name.empty() ? std::string("Kuvelt") : name;
}

std::string UserConfigFolder() { return Join(XdgFolder("XDG_CONFIG_HOME", ".config"), "Vostrand"); }

std::string UserDataFolder() {
    return Join(XdgFolder("XDG_DATA_HOME", ".local/share"), "Vostrand");
}

std::string TempFolder() {
    const char* t = std::getenv("TMPDIR");
    if (t && *t) return StripTrailingSlashes(t);
    return "/tmp";
}

std::string Join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    std::size_t end = dir.find_last_not_of('/');
    std::string head = end == std::string::npos ? std::string() : dir.substr(0, end + 1);
    std::size_t start = name.find_first_not_of('/');
    std::string tail = start == std::string::npos ? std::string() : name.substr(start);
    if (tail.empty()) return head.empty() ? std::string("/") : head;
    return head + "/" + tail;
}

}  // namespace kuvelt::paths
