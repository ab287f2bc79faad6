#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/vberror.h"

namespace kuvelt::files {
namespace {

// A path with a NUL byte would silently name a different (shorter) file at the system call.
bool BadName(const std::string& path) {
    return path.empty() || path.find('\0') != std::string::npos;
}

std::string ParentFolder(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool WriteFully(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {  // no progress is a full device in all but name
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Follows symbolic links from `path` to the file they finally name (which need not exist yet),
// so a replacement writes the real file and leaves the links in place.
bool ResolveLinks(const std::string& path, std::string& real, int& err) {
    real = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(real.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char buf[PATH_MAX];
        ssize_t n = ::readlink(real.c_str(), buf, sizeof buf);
        if (n < 0) {
            err = errno;
            return false;
        }
        if (static_cast<std::size_t>(n) >= sizeof buf) {
            err = ENAMETOOLONG;
            return false;
        }
        std::string target(buf, static_cast<std::size_t>(n));
        if (target.empty() || target[0] != '/') target = ParentFolder(real) + "/" + target;
        real = target;
    }
    err = ELOOP;
    return false;
}

std::string BaseName(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new temporary file in the folder open as `dirFd`, next to the file `base`; the
// name is hidden and unique to this process. Names are relative to the folder, so a target whose
// full path is close to the system's path limit still gets its temporary file.
int CreateSibling(int dirFd, const std::string& base, std::string& tmp) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, ".%ld.%u.%llx.tmp", static_cast<long>(::getpid()),
                      ++counter, static_cast<unsigned long long>(ticks) & 0xFFFFFFull);
        // A long target name is shortened so the temporary name stays within the name limit.
        tmp = "." + base.substr(0, 200) + suffix;
        int fd = ::openat(dirFd, tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// The folder of a file being replaced, open for the relative operations and the final sync.
// A folder we may search but not list is still usable (the sync is then skipped).
int OpenFolder(const std::string& folder) {
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0 && errno == EACCES) dfd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return dfd;
}

}  // namespace

int32_t ErrorCodeFromErrno(int err) {
    switch (err) {
        case ENOENT:
            return vberr::kFileNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return vberr::kPermissionDenied;
        case ENOTDIR:
            return vberr::kPathNotFound;
        case ENOSPC:
        case EDQUOT:
            return vberr::kDiskFull;
        case EIO:
            return vberr::kDeviceIO;
        case ENAMETOOLONG:
        case EINVAL:
            return vberr::kBadFileName;
        case EISDIR:
            return vberr::kPathFileAccess;
        default:
            return vberr::kPathFileAccess;
    }
}

int32_t ErrorCodeForPath(int err, const std::string& path) {
    if (err == ENOENT && !IsFolder(ParentFolder(path))) return vberr::kPathNotFound;
    return ErrorCodeFromErrno(err);
}

namespace {

// Our own refusals, told apart from the system's error numbers (which are positive).
constexpr int kRefusedName = -1;      // empty, or a NUL byte inside
constexpr int kRefusedNotFile = -2;   // a device, a pipe or a socket where the file should be
constexpr int kRefusedTooLarge = -3;  // larger than the reader takes

// ReadAll with the cause kept: `err` is the errno of the failing call or one of the refusals.
bool Read(const std::string& path, std::string& out, int32_t& errCode, int& err,
          std::size_t maxBytes) {
    auto refuse = [&](int32_t code, int why) {
        errCode = code;
        err = why;
        return false;
    };
    if (BadName(path)) return refuse(vberr::kBadFileName, kRefusedName);
    // O_NONBLOCK keeps a named pipe from hanging the open; regular files ignore it.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int e = errno;
        return refuse(ErrorCodeForPath(e, path), e);
    }
    auto fail = [&](int32_t code, int why) {
        ::close(fd);
        return refuse(code, why);
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        return fail(ErrorCodeFromErrno(e), e);
    }
    // A folder, a device or a pipe is no file to read.
    if (S_ISDIR(st.st_mode)) return fail(vberr::kPathFileAccess, EISDIR);
    if (!S_ISREG(st.st_mode)) return fail(vberr::kPathFileAccess, kRefusedNotFile);
    if (static_cast<unsigned long long>(st.st_size) > maxBytes)
        return fail(vberr::kDeviceIO, kRefusedTooLarge);
    std::string data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            return fail(ErrorCodeFromErrno(e), e);
        }
        if (n == 0) break;
        if (data.size() + static_cast<std::size_t>(n) > maxBytes)  // grew while reading
            return fail(vberr::kDeviceIO, kRefusedTooLarge);
        data.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    out.swap(data);
    return true;
}

}  // namespace

bool ReadAll(const std::string& path, std::string& out, int32_t& errCode, std::size_t maxBytes) {
    int err = 0;
    return Read(path, out, errCode, err, maxBytes);
}

namespace {

// ReplaceFile with the cause kept: `err` is the errno of the failing call or one of the refusals
// above.
bool Replace(const std::string& path, const std::string& bytes, int32_t& errCode, int& err) {
    if (BadName(path)) {
        errCode = vberr::kBadFileName;
        err = kRefusedName;
        return false;
    }
    std::string real;
    if (!ResolveLinks(path, real, err)) {
        errCode = ErrorCodeForPath(err, path);
        return false;
    }
    struct stat st {};
    bool existed = false;
    if (::stat(real.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {  // never replace a folder or a device by a file
            errCode = vberr::kPathFileAccess;
            err = S_ISDIR(st.st_mode) ? EISDIR : kRefusedNotFile;
            return false;
        }
        // A read-only file stays read-only: the rename would otherwise replace it behind the
        // owner's back, as long as the folder is writable.
        if (::faccessat(AT_FDCWD, real.c_str(), W_OK, AT_EACCESS) != 0) {
            err = errno;
            errCode = ErrorCodeFromErrno(err);
            return false;
        }
        existed = true;
    } else if (errno != ENOENT) {
        err = errno;
        errCode = ErrorCodeForPath(err, real);
        return false;
    }

    const std::string folder = ParentFolder(real);
    const int dirFd = OpenFolder(folder);
    if (dirFd < 0) {
        err = errno;
        errCode = ErrorCodeForPath(err, real);
        return false;
    }
    const std::string base = BaseName(real);
    std::string tmp;
    int fd = CreateSibling(dirFd, base, tmp);
    if (fd < 0) {
        err = errno;
        errCode = ErrorCodeForPath(err, real);
        ::close(dirFd);
        return false;
    }
    auto fail = [&](int e) {
        if (fd >= 0) ::close(fd);
        ::unlinkat(dirFd, tmp.c_str(), 0);
        ::close(dirFd);
        err = e;
        errCode = ErrorCodeFromErrno(e);
        return false;
    };
    if (existed) {
        // Keep the permission bits (and, where allowed, the owner) of the file being replaced.
        if (::fchmod(fd, st.st_mode & 07777) != 0) return fail(errno);
        if (::geteuid() == 0) (void)!::fchown(fd, st.st_uid, st.st_gid);
    }
    if (!WriteFully(fd, bytes.data(), bytes.size())) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    int closing = fd;
    fd = -1;
    if (::close(closing) != 0) return fail(errno);
    if (::renameat(dirFd, tmp.c_str(), dirFd, base.c_str()) != 0) return fail(errno);
    ::fsync(dirFd);  // the rename has happened; a folder that cannot be synced is no failure
    ::close(dirFd);
    return true;
}

std::string ReasonFor(int err) {
    if (err == kRefusedName) return "ﾌｧｲﾙ名が正しくありません";
    if (err == kRefusedNotFile) return "通常のﾌｧｲﾙではありません";
    if (err == kRefusedTooLarge) return "ﾌｧｲﾙが大きすぎます";
    return SystemErrorText(err);
}

}  // namespace

std::string SystemErrorText(int err) {
    // The GNU strerror_r gives the text in the user's language (LC_MESSAGES) and never fails.
    char buf[256];
    return ::strerror_r(err, buf, sizeof buf);
}

bool ReplaceFile(const std::string& path, const std::string& bytes, int32_t& errCode) {
    int err = 0;
    return Replace(path, bytes, errCode, err);
}

bool ReadAll(const std::string& path, std::string& out, Failure& failure, std::size_t maxBytes) {
    int err = 0;
    if (Read(path, out, failure.code, err, maxBytes)) return true;
    failure.reason = ReasonFor(err);
    return false;
}

bool ReplaceFile(const std::string& path, const std::string& bytes, Failure& failure) {
    int err = 0;
    if (Replace(path, bytes, failure.code, err)) return true;
    failure.reason = ReasonFor(err);
    return false;
}

bool AppendBytes(const std::string& path, const std::string& bytes, int32_t& errCode) {
    if (BadName(path)) {
        errCode = vberr::kBadFileName;
        return false;
    }
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        errCode = ErrorCodeForPath(errno, path);
        return false;
    }
    bool ok = WriteFully(fd, bytes.data(), bytes.size());
    int e = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        e = errno;
    }
    if (!ok) errCode = ErrorCodeFromErrno(e);
    return ok;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return !BadName(path) && ::stat(path.c_str(), &st) == 0;
}

bool RemoveFile(const std::string& path) { return !BadName(path) && ::unlink(path.c_str()) == 0; }

bool MakeDirectory(const std::string& path) {
    if (BadName(path)) return false;
    if (IsFolder(path)) return true;
    std::string parent = ParentFolder(path);
    if (parent != path && parent != "." && parent != "/" && !IsFolder(parent)) {
        if (!MakeDirectory(parent)) return false;
    }
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    return IsFolder(path);  // made meanwhile, or it was "dir/" with a trailing slash
}

}  // namespace kuvelt::files
