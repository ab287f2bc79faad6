// Run-time error numbers. Files and calculations report failures with the conventional numbers
// of the run-time library our users' error reports have always quoted, so a code means the same
// thing in a design-file message and in a calculation stage's Error property.
#pragma once

#include <cstdint>

namespace kuvelt::vberr {

inline constexpr int32_t kInvalidCall = 5;      // invalid procedure call (root of a negative, 0/0)
inline constexpr int32_t kOverflow = 6;         // overflow, or a number too large for its field
inline constexpr int32_t kSubscript = 9;        // subscript out of range
inline constexpr int32_t kDivisionByZero = 11;  // division by zero
inline constexpr int32_t kTypeMismatch = 13;    // not a number where a number is expected
inline constexpr int32_t kBadFileName = 52;     // bad file name
inline constexpr int32_t kFileNotFound = 53;    // file not found
inline constexpr int32_t kDeviceIO = 57;        // device input/output error
inline constexpr int32_t kDiskFull = 61;        // disk full
inline constexpr int32_t kPastEndOfFile = 62;   // input past end of file
inline constexpr int32_t kPermissionDenied = 70;  // permission denied
inline constexpr int32_t kDiskNotReady = 71;      // disk not ready
inline constexpr int32_t kPathFileAccess = 75;    // path/file access error
inline constexpr int32_t kPathNotFound = 76;      // path not found
inline constexpr int32_t kObjectMissing = 91;     // object variable not set (missing item)

}  // namespace kuvelt::vberr
