// File access at the boundary: whole-file reads with a size bound, and the safe replacement of a
// file (temporary file in the target's folder, flushed to disk, renamed over the target) used
// for design files and settings. Failures are run-time error numbers (vberror.h) mapped from the
// operating system's errors; nothing throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kuvelt::files {

// Maps an errno value to the run-time file error number (53 not found, 70 permission, 76 path
// not found, 61 disk full, 57 I/O, 52 bad name, 75 other access errors).
int32_t ErrorCodeFromErrno(int err);

// As ErrorCodeFromErrno, but a "not found" whose parent folder does not exist is 76 (path not
// found) rather than 53 (file not found).
int32_t ErrorCodeForPath(int err, const std::string& path);

// Reads the whole file into `out`. Fails with 53/76/70/75… ; a path that names a folder fails
// with 75; a file larger than `maxBytes` fails with 57 (the readers never allocate without limit).
bool ReadAll(const std::string& path, std::string& out, int32_t& errCode,
             std::size_t maxBytes = 64u << 20);

// Replaces `path` by `bytes` atomically: on success the file holds exactly `bytes`; on failure the
// previous file (if any) is left byte for byte as it was and no temporary file remains. Keeps the
// permissions of an existing target and writes through a symbolic link to the file it names.
// A target we may not write (a read-only file) fails with 70 like a read-only folder.
bool ReplaceFile(const std::string& path, const std::string& bytes, int32_t& errCode);

// A failed file operation as the user is told of it: the run-time error number and the cause in
// the system's words (its text for the error number), or in ours where the refusal is ours (a
// bad name, a device or pipe where the file should be).
struct Failure {
    int32_t code = 0;
    std::string reason;  // UTF-8
};
// ReadAll with the cause of a failure kept for the message.
bool ReadAll(const std::string& path, std::string& out, Failure& failure,
             std::size_t maxBytes = 64u << 20);
// ReplaceFile with the cause of a failure kept for the message.
bool ReplaceFile(const std::string& path, const std::string& bytes, Failure& failure);

// The system's text for an errno value, in the user's language where the system has it.
std::string SystemErrorText(int err);

// A path that is empty or holds a NUL byte fails with 52 everywhere (it would name another file).
// ReplaceFile refuses a target that is a folder or not a regular file with 75 and leaves it alone.

// Appends bytes to a file, creating it when missing.
bool AppendBytes(const std::string& path, const std::string& bytes, int32_t& errCode);

bool Exists(const std::string& path);
// Removes a file (never a folder); false when nothing was removed, a missing file included.
bool RemoveFile(const std::string& path);
bool MakeDirectory(const std::string& path);  // creates the folder (and parents); true if it exists

}  // namespace kuvelt::files
