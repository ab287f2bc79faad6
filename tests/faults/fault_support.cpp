#include "fault_support.h"

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "calc/calc_main.h"
#include "calc/yaita_choice.h"
#include "io/design_file.h"
#include "model/design.h"
#include "report/prn.h"

namespace kuvelt::faults {
namespace {

namespace fs = std::filesystem;

// Moves the test process into a mount namespace of its own, once: its mounts then end with the
// process whatever happens to the test. Returns the reason when that is not possible.
std::string PrivateMountNamespace() {
    static const std::string reason = [] {
        if (::unshare(CLONE_NEWNS) != 0) return std::string("unshare: ") + std::strerror(errno);
        // Without this a mount could still propagate back to the host's namespace.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("private /: ") + std::strerror(errno);
        return std::string();
    }();
    return reason;
}

}  // namespace

ScratchMount::ScratchMount(const std::string& options) : options_(options) {
    mnt_ = dir_.file("mnt");
    std::error_code ec;
    fs::create_directory(mnt_, ec);
    if (ec) {
        why_ = "mkdir: " + ec.message();
        return;
    }
    why_ = PrivateMountNamespace();
    if (!why_.empty()) return;
    if (::mount("tmpfs", mnt_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options_.c_str()) != 0) {
        why_ = std::string("mount: ") + std::strerror(errno);
        return;
    }
    mounted_ = true;
}

ScratchMount::~ScratchMount() {
    if (!mounted_) return;
    // A read-only file system may hold files the test left; detaching drops them all.
    if (::umount2(mnt_.c_str(), MNT_DETACH) != 0) {
        ADD_FAILURE() << "could not unmount " << mnt_ << ": " << std::strerror(errno);
    }
}

bool ScratchMount::SetReadOnly(bool readOnly) {
    if (!mounted_) return false;
    const unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
    return ::mount("tmpfs", mnt_.c_str(), "tmpfs", flags, options_.c_str()) == 0;
}

bool ScratchMount::Fill(std::size_t leaveBytes) {
    const std::string filler = file("filler");
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const std::string block(4096, 'x');
    for (;;) {
        const ssize_t n = ::write(fd, block.data(), block.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno != ENOSPC) {
                ::close(fd);
                return false;
            }
            break;
        }
    }
    // Single bytes fill the last partly used page of the filler.
    while (::write(fd, "x", 1) == 1) {
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && leaveBytes > 0) {
        const off_t size = st.st_size > static_cast<off_t>(leaveBytes)
                               ? st.st_size - static_cast<off_t>(leaveBytes)
                               : 0;
        ok = ::ftruncate(fd, size) == 0;
    }
    return ::close(fd) == 0 && ok;
}

std::vector<std::string> ScratchMount::Entries() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(mnt_, ec)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> RunAsNobody(const std::function<std::string()>& fn) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return std::nullopt;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(pipeFds[0]);
        const gid_t none[1] = {65534};
        if (::setgroups(1, none) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
            ::setresuid(65534, 65534, 65534) != 0 || ::geteuid() == 0) {
            ::_exit(3);
        }
        std::string out = fn();
        const char* p = out.data();
        std::size_t left = out.size();
        while (left > 0) {
            const ssize_t n = ::write(pipeFds[1], p, left);
            if (n <= 0) ::_exit(4);
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string got;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return got;
}

void OpenForOthers(const std::string& path) {
    fs::path p = fs::absolute(path);
    for (; !p.empty() && p != p.root_path(); p = p.parent_path()) {
        struct stat st {};
        if (::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            ::chmod(p.c_str(), (st.st_mode & 07777) | 0055);
        }
    }
}

std::string DesignFingerprint() {
    // The file layout holds every value of every record and catalogue; the input flags of the
    // records that it does not write are added so a lost confirmation shows as well.
    std::string f = DesignToBytes();
    f += gInpJyoken.InpFlg ? "J1" : "J0";
    f += gInpJiban.InpFlg ? "G1" : "G0";
    f += gInpZairyo.InpFlg ? "Z1" : "Z0";
    f += gInpYaita.InpFlg ? "Y1" : "Y0";
    return f;
}

void MakeLargeDesign(const std::string& title) {
    InitData();
    gInpJyoken.Title = title;
    gInpJyoken.ELGL = 5.25;
    gInpJyoken.ELDL = -1.5;
    gInpJiban.Kind = 1;
    gInpZairyo.InpFlg = true;
    gInpSectC.Clear();
    gInpSectLS.Clear();
    gInpSectS.Clear();
    for (int i = 1; i <= kMaxSections; ++i) {
        const std::string n = std::to_string(i);
        gInpSectC.Add("コンクリート矢板-断面-" + n, i % 2, 1000.0 + i, 5.5 + i, 2, 4 + i % 9);
        gInpSectLS.Add("軽量鋼矢板-断面-" + n, 100.0 + i, 20.0 + i, 90.0 + i, 18.0 + i);
        gInpSectS.Add("鋼矢板-断面-" + n, 8000.0 + i, 500.0 + i, 7000.0 + i, 450.0 + i);
    }
}

std::map<std::string, std::string> FolderContents(const std::string& folder) {
    std::map<std::string, std::string> out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const std::string rel = fs::relative(it->path(), folder).string();
        const fs::file_status st = it->symlink_status();
        if (fs::is_symlink(st)) {
            out[rel] = "-> " + fs::read_symlink(it->path(), ec).string();
        } else if (fs::is_directory(st)) {
            out[rel + "/"] = "";
        } else if (!fs::is_regular_file(st)) {
            out[rel] = "<special>";  // a pipe or a device: opening it could block
        } else {
            std::string bytes;
            if (std::FILE* f = std::fopen(it->path().c_str(), "rb")) {
                char buf[4096];
                std::size_t n;
                while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
                std::fclose(f);
            } else {
                bytes = "<unreadable>";
            }
            out[rel] = bytes;
        }
    }
    return out;
}

std::string LongPath(const std::string& folder, std::size_t bytes) {
    std::string p = folder;
    while (p.size() + 101 + 4 < bytes) p += "/" + std::string(100, 'd');
    p += "/";
    p += std::string(bytes > p.size() + 4 ? bytes - p.size() - 4 : 1, 'f');
    p += ".kvt";
    return p;
}

void UseReportDataCopies(const std::string& folder) {
    for (const char* f : {"Kuvelt.FMT", "LINE_PRN.DEF", "STR_PRN.DEF"}) {
        std::filesystem::copy_file(kuvelt::test::ProgramDir() / f,
                                   std::filesystem::path(folder) / f);
    }
    basResOutPrn::SetReportDataFolder(folder);
}

void PrepareEveryChapterDesign() {
    int32_t err = 0;
    ASSERT_TRUE(
        ReadData((kuvelt::test::SourceDir() / "examples" / "sand-channel.kvt").string(), err));
    gInpJyoken.Nekiri = 1;
    ASSERT_TRUE(CalcMain());
    const ChoiceProposal p = ProposeChoice();
    StoreChoice(p.kind, p.Sect, p.H, p.D, p.L);
    ASSERT_TRUE(CalcNekiriAntei());
}

}  // namespace kuvelt::faults
