// The design file (".kvt"): code page 932 text with CR LF lines, a three-line header and one
// value per line in a fixed order. WriteData never destroys the previous file on failure (the
// new content goes to a temporary file in the same folder, is flushed and renamed over the
// target). ReadData leaves a fresh default design behind on any failure. Failure codes are the
// run-time file error numbers of platform/vberror.h.
//
// The optional fields (the cover's block) follow CInpYaita.L, where a reader of the classic
// layout stops; the version header stays "1.00". They are written only up to the last one that
// is not empty (a design without them is the classic file), and a file that ends before them
// reads them as empty.
//
// A design the classic layout cannot hold (NeedsExtendedLayout: a layered ground, the channel
// water away from the design ground level, a wall friction angle other than 15°, references of
// its own) is written with the version "1.10", which earlier versions refuse with their version
// message: the classic layout, the whole cover's block, then the site's values: ELWF, DeltaA,
// DeltaP, the number of layers below the first and one line per layer (ELU, Kind, Gt, Gws, Fai,
// Ca, Cb, KH); then, when the design has references, their number and one quoted text a line
// (a file that ends before them has none). Both versions are read; a "1.00" file leaves the site
// at its defaults and the design without references.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/design_fields.h"
#include "platform/files.h"
#include "platform/message.h"

namespace kuvelt {

// The version of the classic layout, which every design that fits it is written with.
inline constexpr std::string_view kDesignFileVersion = "1.00";
// The version of a design that needs more than the classic layout holds.
inline constexpr std::string_view kExtendedFileVersion = "1.10";

// Whether the current design needs kExtendedFileVersion: the one place that decides it, so that
// every design that fits the classic layout stays readable by earlier versions.
bool NeedsExtendedLayout();
// The versions this program reads ("1.00", "1.10").
bool ReadableFileVersion(std::string_view version);

// Writes the current design to `path`. On failure sets lngErr and returns false; the target
// file is then exactly as it was before the call.
bool WriteData(const std::string& path, int32_t& lngErr);
// The same, keeping the cause of a failure for the message that names it.
bool WriteData(const std::string& path, files::Failure& failure);

// Reads `path` into the current design (after InitData). On failure sets lngErr, calls InitData
// again and returns false. Catalogue counts above 30 are refused with code 6.
bool ReadData(const std::string& path, int32_t& lngErr);

// Line 3 from column 33 to its end without its last character ("1.00"), or "error".
std::string GetFileVersion(const std::string& path);

// The check the Open commands make before reading: extension "KVT" (any case) and a version
// ReadableFileVersion takes.
bool PreReadCheck(const std::string& path);

// PreReadCheck and then ReadData on a single reading of the file, as a batch of designs reads
// them: false with lngErr 0 when the check refuses the file (the current design is then left
// as it was), with the read's code otherwise.
bool CheckAndReadData(const std::string& path, int32_t& lngErr);
// The same check on bytes that have no file name (standard input): the version only.
bool CheckAndReadBytes(const std::string& bytes, int32_t& lngErr);

// The Open commands' reading of `path`: the pre-read check and the read on one reading of the
// file, into a fresh design that replaces the current one only when the whole file was read. On
// failure the current design is left exactly as it was, and `failure` holds the code (0 when the
// check refused the file) and the cause in words (an empty file, one that is no text or no
// design of ours, another version, the line where reading stopped, the system's reason).
bool OpenDesign(const std::string& path, files::Failure& failure);

// Design file in memory: the same layout as WriteData writes, as code page 932 bytes.
std::string DesignToBytes();
// Reads design bytes (the whole file) into the current design; same failure rules as ReadData.
// The site's values are read when line 3 says kExtendedFileVersion.
bool DesignFromBytes(const std::string& bytes, int32_t& lngErr);

// The same two with another field table in place of DesignFields() and without the site's
// values (a "1.00" file): ClassicDesignFields() is the reader and writer of the classic layout
// (the optional fields switched off), a longer table that of a later version, for the tests that
// the layouts read each other's files.
std::string DesignToBytes(std::span<const DesignField> fields);
bool DesignFromBytes(const std::string& bytes, int32_t& lngErr,
                     std::span<const DesignField> fields);

// The messages the windows show when a design file cannot be read or written.
Message ReadFailureMessage(int32_t code);
// The read failure as the windows show it: the code, then the file and the cause.
Message ReadFailureMessage(const files::Failure& failure, const std::string& path);
Message WriteFailureMessage(int32_t code);
// The write failure as the windows show it: the code, then the file and the cause, so the user
// can tell a full disk from a missing folder or a read-only place.
Message WriteFailureMessage(const files::Failure& failure, const std::string& path);

}  // namespace kuvelt
