#include "platform/tempfile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/vberror.h"

namespace kuvelt::tempfile {

bool Create(const std::string& prefix, std::string& path, int32_t& errCode,
            const std::string& folder) {
    // The prefix is part of a file name: a folder separator or a NUL would put the file
    // somewhere else.
    if (prefix.find('/') != std::string::npos || prefix.find('\0') != std::string::npos ||
        folder.find('\0') != std::string::npos) {
        errCode = vberr::kBadFileName;
        return false;
    }
    const std::string dir = folder.empty() ? paths::TempFolder() : folder;
    std::string pattern = paths::Join(dir, prefix + "XXXXXX");
    // mkostemp creates the file exclusively with owner-only permissions (0600).
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        errCode = files::ErrorCodeForPath(errno, pattern);
        return false;
    }
    ::close(fd);
    path = pattern;
    return true;
}

}  // namespace kuvelt::tempfile
