#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/interrupt.h"
#include "platform/numfmt.h"
#include "platform/run_files.h"
#include "platform/vberror.h"

namespace kuvelt::files {
namespace {

// The ending of every temporary file of a replacement: ".<name>.<pid>.<random>.tmp", and of the
// fresh folder of a folder's replacement (".<name>.<pid>.<random>.new").
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::string_view kFreshSuffix = ".new";

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

std::string BaseName(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Our own refusals, told apart from the system's error numbers (which are positive).
constexpr int kRefusedName = -1;         // empty, or a NUL byte inside
constexpr int kRefusedNotFile = -2;      // a device, a pipe or a socket where the file should be
constexpr int kRefusedInput = -3;        // a file the run reads
constexpr int kRefusedDangling = -4;     // a link to a file that does not exist
constexpr int kRefusedIncomplete = -5;   // bytes that are not a whole file of their kind
constexpr int kRefusedForeignLink = -6;  // another user's link in a shared sticky folder
constexpr int kRefusedTooLarge = -7;     // larger than the reader takes

// A link in a folder anybody may write into but only owners may delete from (/tmp) is followed
// only when it is ours or the folder owner's: anybody else could have planted it there to make
// us overwrite a file of ours it points to. The system applies the same rule to its own opens.
bool ForeignLink(const std::string& link, const struct stat& linkStat) {
    struct stat dir {};
    if (::stat(ParentFolder(link).c_str(), &dir) != 0) return false;
    const bool shared = (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
    return shared && linkStat.st_uid != ::geteuid() && linkStat.st_uid != dir.st_uid;
}

// Follows symbolic links from `path` to the file they finally name (which need not exist), so a
// replacement writes the real file and leaves the links in place. `viaLink` tells whether a link
// was followed.
bool ResolveLinks(const std::string& path, std::string& real, bool& viaLink, int& err) {
    real = path;
    viaLink = false;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(real.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        if (ForeignLink(real, st)) {
            err = kRefusedForeignLink;
            return false;
        }
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
        viaLink = true;
    }
    err = ELOOP;
    return false;
}

// Creates a new temporary file in the folder open as `dirFd`, next to the file `base`, locked
// for as long as it is open; the name is hidden and carries this run's tag, so a later run can
// remove it should we be killed before we do. Names are relative to the folder, so a target
// whose full path is close to the system's path limit still gets its temporary file. A name
// that exists already (another run's, or a link somebody planted) is never opened.
int CreateSibling(int dirFd, const std::string& base, std::string& tmp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        // A long target name is shortened so the temporary name stays within the name limit.
        tmp = "." + base.substr(0, 200) + runfiles::UniqueTag() + std::string(kTempSuffix);
        int fd =
            ::openat(dirFd, tmp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) runfiles::Hold(fd);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// The file as written reads back as `bytes`: its size, and its end (where a cut file differs).
bool ReadsBack(int fd, std::string_view bytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || static_cast<std::size_t>(st.st_size) != bytes.size()) return false;
    const std::size_t n = std::min<std::size_t>(bytes.size(), 4096);
    std::string tail(n, '\0');
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r =
            ::pread(fd, tail.data() + got, n - got, static_cast<off_t>(bytes.size() - n + got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        got += static_cast<std::size_t>(r);
    }
    return tail == bytes.substr(bytes.size() - n);
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
// Where a replacement writes and what stood there before.
struct Target {
    std::string real;  // the path after its links
    bool existed = false;
    struct stat st {};
};

// Whether we may replace the file or folder `path` (whose status is `st`): the system's answer,
// and for the administrator, whom the system lets write anything, whether anybody may write it
// at all; a file or folder made read-only stays so for every user. False with errno set.
bool MayWrite(const std::string& path, const struct stat& st) {
    if (::faccessat(AT_FDCWD, path.c_str(), S_ISDIR(st.st_mode) ? W_OK | X_OK : W_OK, AT_EACCESS) !=
        0)
        return false;
    if (::geteuid() == 0 && (st.st_mode & 0222) == 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

// The refusals shared by CheckReplaceable and ReplaceFile. `err` is the errno of the failing
// call or one of the refusals above.
bool Inspect(const std::string& path, const ReplaceGuard& guard, Target& t, int32_t& errCode,
             int& err) {
    if (BadName(path)) {
        errCode = vberr::kBadFileName;
        err = kRefusedName;
        return false;
    }
    bool viaLink = false;
    if (!ResolveLinks(path, t.real, viaLink, err)) {
        errCode =
            err == kRefusedForeignLink ? vberr::kPermissionDenied : ErrorCodeForPath(err, path);
        return false;
    }
    if (::stat(t.real.c_str(), &t.st) != 0) {
        const int e = errno;
        if (e == ENOENT && !viaLink) return true;  // a new file
        errCode = ErrorCodeForPath(e, t.real);
        // A link to nothing is refused: it would create a file wherever the link points.
        err = e == ENOENT ? kRefusedDangling : e;
        return false;
    }
    if (!S_ISREG(t.st.st_mode)) {  // never replace a folder or a device by a file
        errCode = vberr::kPathFileAccess;
        err = S_ISDIR(t.st.st_mode) ? EISDIR : kRefusedNotFile;
        return false;
    }
    for (const std::string& input : guard.inputs) {
        struct stat in {};
        if (!BadName(input) && ::stat(input.c_str(), &in) == 0 && in.st_dev == t.st.st_dev &&
            in.st_ino == t.st.st_ino) {
            errCode = vberr::kPathFileAccess;
            err = kRefusedInput;
            return false;
        }
    }
    // A read-only file stays read-only: the rename would otherwise replace it behind the owner's
    // back, as long as the folder is writable.
    if (!MayWrite(t.real, t.st)) {
        err = errno;
        errCode = ErrorCodeFromErrno(err);
        return false;
    }
    t.existed = true;
    return true;
}

// ReplaceFile with the cause kept in `err`.
bool Replace(const std::string& path, std::string_view bytes, const ReplaceGuard& guard,
             int32_t& errCode, int& err) {
    Target t;
    if (!Inspect(path, guard, t, errCode, err)) return false;
    if (guard.whole && !guard.whole(bytes)) {
        errCode = vberr::kPathFileAccess;
        err = kRefusedIncomplete;
        return false;
    }
    const std::string folder = ParentFolder(t.real);
    const int dirFd = OpenFolder(folder);
    if (dirFd < 0) {
        err = errno;
        errCode = ErrorCodeForPath(err, t.real);
        return false;
    }
    runfiles::RemoveLeftovers(folder, ".", kTempSuffix);
    const std::string base = BaseName(t.real);
    std::string tmp;
    int fd = CreateSibling(dirFd, base, tmp);
    if (fd < 0) {
        err = errno;
        errCode = ErrorCodeForPath(err, t.real);
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
    if (t.existed) {
        // Keep the permission bits (and, where allowed, the owner) of the file being replaced.
        if (::fchmod(fd, t.st.st_mode & 07777) != 0) return fail(errno);
        if (::geteuid() == 0) (void)!::fchown(fd, t.st.st_uid, t.st.st_gid);
    }
    if (!WriteFully(fd, bytes.data(), bytes.size())) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (!ReadsBack(fd, bytes)) return fail(EIO);
    int closing = fd;
    fd = -1;
    if (::close(closing) != 0) return fail(errno);
    // A termination request noted meanwhile stops the run before it changes anything.
    if (interrupt::Pending() != 0) return fail(EINTR);
    if (::renameat(dirFd, tmp.c_str(), dirFd, base.c_str()) != 0) return fail(errno);
    ::fsync(dirFd);  // the rename has happened; a folder that cannot be synced is no failure
    ::close(dirFd);
    return true;
}

std::string ReasonFor(int err) {
    switch (err) {
        case kRefusedName:
            return "ﾌｧｲﾙ名が正しくありません";
        case kRefusedNotFile:
            return "通常のﾌｧｲﾙではありません";
        case kRefusedInput:
            return "読み込んだﾌｧｲﾙ自身には書き込めません";
        case kRefusedDangling:
            return "ﾘﾝｸ先のﾌｧｲﾙがありません";
        case kRefusedIncomplete:
            return "書き込む内容が完全ではありません";
        case kRefusedForeignLink:
            return "他のﾕｰｻﾞｰのﾘﾝｸはたどりません";
        case kRefusedTooLarge:
            return "ﾌｧｲﾙが大きすぎます";
        default:
            return SystemErrorText(err);
    }
}

}  // namespace

std::string SystemErrorText(int err) {
    // The GNU strerror_r gives the text in the user's language (LC_MESSAGES) and never fails.
    char buf[256];
    return ::strerror_r(err, buf, sizeof buf);
}

bool ReplaceFile(const std::string& path, std::string_view bytes, int32_t& errCode) {
    int err = 0;
    return Replace(path, bytes, {}, errCode, err);
}

bool ReadAll(const std::string& path, std::string& out, Failure& failure, std::size_t maxBytes) {
    int err = 0;
    if (Read(path, out, failure.code, err, maxBytes)) return true;
    failure.reason = ReasonFor(err);
    return false;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, Failure& failure,
                 const ReplaceGuard& guard) {
    int err = 0;
    failure = {};
    if (Replace(path, bytes, guard, failure.code, err)) return true;
    failure.reason = ReasonFor(err);
    return false;
}

bool CheckReplaceable(const std::string& path, Failure& failure, const ReplaceGuard& guard) {
    failure = {};
    Target t;
    int err = 0;
    bool ok = Inspect(path, guard, t, failure.code, err);
    if (ok) {
        // The folder must take a new file: it exists, and we may write and search it.
        const std::string folder = ParentFolder(t.real);
        if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
            err = errno;
            failure.code = ErrorCodeForPath(err, t.real);
            ok = false;
        } else if (!IsFolder(folder)) {
            err = ENOTDIR;
            failure.code = vberr::kPathNotFound;
            ok = false;
        }
    }
    if (!ok) failure.reason = ReasonFor(err);
    return ok;
}

std::string MessageText(std::string_view head, int32_t code, std::string_view detail) {
    std::string t(head);
    t += "（ｴﾗｰｺｰﾄﾞ ： ";
    t += numfmt::FormatNumber(static_cast<double>(code), "##,##0）");
    if (!detail.empty()) {
        t += "\n\n";
        t += detail;
    }
    t += "\n\nお問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。";
    return t;
}

std::string FailureDetail(const Failure& failure, const std::string& path,
                          std::string_view nameLabel) {
    std::string detail;
    // A name with a NUL byte is shown up to it, as the system would have read it.
    const std::string shown = path.substr(0, path.find('\0'));
    if (!shown.empty()) detail = std::string(nameLabel) + shown;
    if (!failure.reason.empty())
        detail += (detail.empty() ? "" : "\n") + ("原因：" + failure.reason);
    return detail;
}

namespace {

// The first entry of the folder open as `dirFd` that `replaceable` does not take, "" when none
// (or when the folder cannot be read: `err` then says why).
std::string OtherEntry(int dirFd, const std::function<bool(std::string_view)>& replaceable,
                       int& err) {
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* d = fd < 0 ? nullptr : ::fdopendir(fd);
    if (d == nullptr) {
        err = errno;
        if (fd >= 0) ::close(fd);
        return "";
    }
    std::string other;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view n = e->d_name;
        if (n != "." && n != ".." && !replaceable(n)) {
            other = n;
            break;
        }
    }
    ::closedir(d);
    return other;
}

// Flushes every file of the folder open as `dirFd`, and the folder itself, to disk.
bool SyncFolder(int dirFd, int& err) {
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* d = fd < 0 ? nullptr : ::fdopendir(fd);
    if (d == nullptr) {
        err = errno;
        if (fd >= 0) ::close(fd);
        return false;
    }
    bool ok = true;
    while (const dirent* e = ::readdir(d)) {
        if (e->d_type != DT_REG && e->d_type != DT_UNKNOWN) continue;
        const int f = ::openat(dirFd, e->d_name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (f < 0) continue;  // a sub-folder of unknown type
        if (::fsync(f) != 0 && ok) {
            err = errno;
            ok = false;
        }
        ::close(f);
    }
    ::closedir(d);
    if (ok && ::fsync(dirFd) != 0) {
        err = errno;
        ok = false;
    }
    return ok;
}

}  // namespace

FolderReplacement::~FolderReplacement() {
    if (!committed_ && !freshName_.empty()) runfiles::RemoveTree(parentFd_, freshName_);
    if (freshFd_ >= 0) ::close(freshFd_);
    if (parentFd_ >= 0) ::close(parentFd_);
}

bool FolderReplacement::Begin(const std::string& target,
                              std::function<bool(std::string_view)> replaceable, Failure& failure) {
    failure = {};
    replaceable_ = std::move(replaceable);
    int err = 0;
    auto refuse = [&](int32_t code, int e) {
        failure.code = code;
        failure.reason = ReasonFor(e);
        return false;
    };
    if (BadName(target)) return refuse(vberr::kBadFileName, kRefusedName);
    std::string path = target;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    std::string real;
    bool viaLink = false;
    if (!ResolveLinks(path, real, viaLink, err)) {
        return refuse(
            err == kRefusedForeignLink ? vberr::kPermissionDenied : ErrorCodeForPath(err, path),
            err);
    }
    if (real[0] != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd) == nullptr) return refuse(ErrorCodeFromErrno(errno), errno);
        real = std::string(cwd) + "/" + real;
    }
    real = std::filesystem::path(real).lexically_normal().string();
    while (real.size() > 1 && real.back() == '/') real.pop_back();
    base_ = BaseName(real);
    if (base_.empty() || base_ == "." || base_ == "..") {
        return refuse(vberr::kBadFileName, kRefusedName);  // the root folder
    }
    target_ = real;
    parent_ = ParentFolder(real);

    struct stat st {};
    if (::lstat(real.c_str(), &st) == 0) {
        if (!S_ISDIR(st.st_mode)) return refuse(vberr::kPathFileAccess, ENOTDIR);
        // The previous folder's entries are removed with it: only what the caller may replace.
        if (!MayWrite(real, st)) return refuse(ErrorCodeFromErrno(errno), errno);
        const int fd = ::open(real.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return refuse(ErrorCodeFromErrno(errno), errno);
        const std::string other = OtherEntry(fd, replaceable_, err);
        ::close(fd);
        if (err != 0) return refuse(ErrorCodeFromErrno(err), err);
        if (!other.empty()) {
            failure.code = vberr::kPathFileAccess;
            failure.reason = "置き換えられないﾌｧｲﾙがあります：" + other;
            return false;
        }
        previous_ = real;
    } else if (errno != ENOENT) {
        return refuse(ErrorCodeForPath(errno, real), errno);
    } else if (viaLink) {
        return refuse(ErrorCodeForPath(ENOENT, real), kRefusedDangling);
    } else if (!MakeDirectory(parent_)) {
        const int e = IsFolder(ParentFolder(parent_)) || errno != ENOENT ? errno : ENOENT;
        return refuse(ErrorCodeForPath(e, real), e);
    }

    parentFd_ = ::open(parent_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd_ < 0) return refuse(ErrorCodeForPath(errno, real), errno);
    runfiles::RemoveLeftovers(parent_, ".", kFreshSuffix);
    for (int attempt = 0; attempt < 100 && freshFd_ < 0; ++attempt) {
        const std::string name =
            "." + base_.substr(0, 200) + runfiles::UniqueTag() + std::string(kFreshSuffix);
        if (::mkdirat(parentFd_, name.c_str(), 0777) != 0) {
            if (errno == EEXIST) continue;
            return refuse(ErrorCodeFromErrno(errno), errno);
        }
        freshName_ = name;
        freshFd_ =
            ::openat(parentFd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (freshFd_ < 0) return refuse(ErrorCodeFromErrno(errno), errno);
        runfiles::Hold(freshFd_);
    }
    if (freshFd_ < 0) return refuse(ErrorCodeFromErrno(EEXIST), EEXIST);
    if (!previous_.empty()) {
        // The report folder keeps its permissions (and, where allowed, its owner).
        (void)!::fchmod(freshFd_, st.st_mode & 07777);
        if (::geteuid() == 0) (void)!::fchown(freshFd_, st.st_uid, st.st_gid);
    }
    fresh_ = parent_ + (parent_ == "/" ? "" : "/") + freshName_;
    return true;
}

bool FolderReplacement::Swap(int& err, std::string& reason) {
    if (::renameat2(parentFd_, freshName_.c_str(), parentFd_, base_.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EEXIST && errno != ENOTEMPTY && errno != EINVAL && errno != ENOSYS) {
        err = errno;
        return false;
    }
    // A folder stands there (the previous report, or one another run swapped in meanwhile): it
    // must still hold only what may be replaced.
    struct stat st {};
    if (::fstatat(parentFd_, base_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISDIR(st.st_mode)) {
            err = ENOTDIR;
            return false;
        }
        const int fd =
            ::openat(parentFd_, base_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            err = errno;
            return false;
        }
        const std::string other = OtherEntry(fd, replaceable_, err);
        ::close(fd);
        if (err != 0) return false;
        if (!other.empty()) {
            reason = "置き換えられないﾌｧｲﾙがあります：" + other;
            return false;
        }
    } else if (errno != ENOENT) {
        err = errno;
        return false;
    } else {
        // Nothing there (a file system without the flags, or the other run's folder went
        // meanwhile): ours takes the free name.
        if (::renameat(parentFd_, freshName_.c_str(), parentFd_, base_.c_str()) == 0) return true;
        err = errno;
        return false;
    }
    if (::renameat2(parentFd_, freshName_.c_str(), parentFd_, base_.c_str(), RENAME_EXCHANGE) ==
        0) {
        runfiles::RemoveTree(parentFd_, freshName_);  // the previous folder, under our name now
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        err = errno;
        return false;
    }
    // A file system without the exchange: the previous folder steps aside under a hidden name
    // of ours, the new one takes its place, and the previous one is removed (or put back when
    // the new one could not take the place).
    const std::string aside =
        "." + base_.substr(0, 200) + runfiles::UniqueTag() + std::string(kFreshSuffix);
    if (::renameat(parentFd_, base_.c_str(), parentFd_, aside.c_str()) != 0) {
        err = errno;
        return false;
    }
    if (::renameat(parentFd_, freshName_.c_str(), parentFd_, base_.c_str()) != 0) {
        err = errno;
        (void)!::renameat(parentFd_, aside.c_str(), parentFd_, base_.c_str());
        return false;
    }
    runfiles::RemoveTree(parentFd_, aside);
    return true;
}

bool FolderReplacement::Commit(Failure& failure) {
    failure = {};
    int err = 0;
    std::string reason;
    if (freshFd_ < 0 || committed_) {
        err = EINVAL;
    } else if (SyncFolder(freshFd_, err)) {
        if (interrupt::Pending() != 0) {
            err = EINTR;
        } else if (Swap(err, reason)) {
            committed_ = true;
            ::fsync(parentFd_);
            return true;
        }
    }
    failure.code = reason.empty() ? ErrorCodeFromErrno(err) : vberr::kPathFileAccess;
    failure.reason = reason.empty() ? ReasonFor(err) : reason;
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
