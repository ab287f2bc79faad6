// A small tmpfs mounted for one test, to produce a full or read-only file system for real. Only
// possible with the right to mount (root in a container); tests skip otherwise.
#pragma once

#include <sys/mount.h>

#include <string>

namespace kuvelt::test {

class TinyTmpfs {
  public:
    // Mounts a tmpfs of `size` (e.g. "64k") on the existing folder `dir`.
    TinyTmpfs(const std::string& dir, const char* size) : dir_(dir) {
        std::string opts = std::string("size=") + size + ",mode=0777";
        mounted_ = ::mount("tmpfs", dir_.c_str(), "tmpfs", 0, opts.c_str()) == 0;
    }
    ~TinyTmpfs() {
        if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
    }
    TinyTmpfs(const TinyTmpfs&) = delete;
    TinyTmpfs& operator=(const TinyTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    bool MakeReadOnly() {
        return ::mount("tmpfs", dir_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::string dir_;
    bool mounted_ = false;
};

}  // namespace kuvelt::test
