// The temporary files and folders of one run of a program: names no other run makes, a lock held
// for as long as the run lives, and the removal of what a run that was killed left behind (it
// cannot remove its own). A leftover is an entry of ours whose run has ended: its process is
// gone and nobody holds its lock, so neither a live run in this process namespace nor one in
// another (which the process test cannot see) ever loses its files.
#pragma once

#include <string>
#include <string_view>

namespace kuvelt::runfiles {

// ".<process id>.<16 hex digits>": a part of a name that no other run makes.
std::string UniqueTag();

// Locks the open file or folder `fd` for as long as it stays open (an advisory lock of the
// whole file); false when another run holds it.
bool Hold(int fd);

// Removes, in `folder`, every file or folder of ours (owned by this user, not a link) named
// PREFIX…TAG SUFFIX whose run has ended, a folder with what it holds. Failures are ignored: a
// leftover that cannot be removed now is tried again by the next run.
void RemoveLeftovers(const std::string& folder, std::string_view prefix, std::string_view suffix);

// Removes the entry `name` of the folder open as `dirFd`, a folder with everything in it, never
// following a link. False when something could not be removed.
bool RemoveTree(int dirFd, const std::string& name);

// A folder private to this run: "<parent>/<prefix><tag>", mode 0700, locked while it lives and
// removed with everything in it when the object ends. Leftovers of the same prefix in `parent`
// are removed first.
class RunFolder {
  public:
    RunFolder() = default;
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // False with the errno of the failure when the folder cannot be made.
    bool Create(const std::string& parent, const std::string& prefix, int& err);
    const std::string& path() const { return path_; }
    // Removes the folder now (what the destructor does).
    void Remove();

  private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace kuvelt::runfiles
