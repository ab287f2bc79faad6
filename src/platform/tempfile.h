// Unique temporary files for the report: created exclusively with owner-only permissions in the
// user's temporary folder, their names starting with a given three-character prefix.
#pragma once

#include <cstdint>
#include <string>

namespace kuvelt::tempfile {

// Creates a new empty file "<folder>/<prefix>XXXXXX" and returns its path in `path`; false (with
// a run-time file error number) when it cannot be created. `folder` empty means TempFolder().
bool Create(const std::string& prefix, std::string& path, int32_t& errCode,
            const std::string& folder = std::string());

}  // namespace kuvelt::tempfile
