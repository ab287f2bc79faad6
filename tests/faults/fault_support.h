// Real failures for the fault-injection tests: a small tmpfs of the test's own (to fill up or to
// make read-only), a child process without root's right to ignore file modes, and fingerprints
// of the in-memory design and of a folder, so every test can show that nothing was lost.
// Mounts are made in a private mount namespace of the test process, so a test that dies cannot
// leave one behind; a system that refuses to mount makes the test skip with the reason.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace kuvelt::faults {

// A tmpfs mounted on "<fresh temporary folder>/mnt" for the lifetime of the object.
class ScratchMount {
  public:
    // `options` are the tmpfs mount options, e.g. "size=64k" or "size=64k,nr_inodes=8".
    explicit ScratchMount(const std::string& options = "size=64k");
    ~ScratchMount();  // detaches the mount, also after a failed test
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }  // reason when not mounted
    const std::string& path() const { return mnt_; }
    std::string file(const std::string& name) const { return mnt_ + "/" + name; }
    // The folder the mount sits in (writable, not part of the mount).
    const kuvelt::test::TempDir& outside() const { return dir_; }

    // Remounts read-only (true) or read-write (false).
    bool SetReadOnly(bool readOnly);
    // Fills the file system with the file "filler" until no byte fits any more, then frees
    // `leaveBytes` again (rounded to whole pages by the file system). False on an unexpected error.
    bool Fill(std::size_t leaveBytes = 0);
    // Names in the mount's top folder, sorted.
    std::vector<std::string> Entries() const;

  private:
    kuvelt::test::TempDir dir_;
    std::string mnt_;
    std::string options_;
    bool mounted_ = false;
    std::string why_;
};

// Skips the current test when the mount could not be made.
#define KUVELT_NEED_MOUNT(m) \
    if (!(m).mounted()) GTEST_SKIP() << "cannot mount a scratch file system: " << (m).why()

// Runs `fn` in a forked child as user and group 65534 (no supplementary groups), so file modes
// bind as for an ordinary user. Returns what `fn` returned, or nullopt when privileges could not
// be dropped (the test then skips) or the child did not end normally.
std::optional<std::string> RunAsNobody(const std::function<std::string()>& fn);

// Makes `path` and every folder above it up to the root traversable for others (the temporary
// folders of the tests are private to root).
void OpenForOthers(const std::string& path);

// The whole current design as the design file would hold it (every record and catalogue).
std::string DesignFingerprint();
// A design that differs from the default in every record and holds 30 sections in each
// catalogue with long names, so its file is larger than one page of the file system.
void MakeLargeDesign(const std::string& title);

// Every entry below `folder`: relative path -> bytes of a file, "" for a folder (as "<dir>/"),
// "-> target" for a symbolic link, "<special>" for a pipe or device.
std::map<std::string, std::string> FolderContents(const std::string& folder);

// A path of `bytes` bytes inside `folder`: components of 100 bytes, the last ending ".kvt".
std::string LongPath(const std::string& folder, std::size_t bytes);

// The installed report format and style files copied into `folder`, and the report told to read
// them from there, so a test can break its own copies.
void UseReportDataCopies(const std::string& folder);

// The sand-channel example with the stability check asked for, calculated, with the proposed
// sheet-pile choice stored: a design that reaches every chapter of the report (fatal assertions).
void PrepareEveryChapterDesign();

}  // namespace kuvelt::faults
