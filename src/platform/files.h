// File access at the boundary: whole-file reads with a size bound, and the one way every file
// the programs write is put in place (a temporary file in the target's folder, flushed to disk,
// checked, renamed over the target) used for design files, JSON designs, settings, print files
// and PDFs. Failures are run-time error numbers (vberror.h) mapped from the operating system's
// errors, with the cause in words for the message; nothing throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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
// previous file (if any) is left byte for byte as it was and no temporary file remains. The
// temporary file has a name no other run uses and is created exclusively, never through a link
// planted at its name; temporary files that killed runs left in the folder are removed. Keeps
// the permissions of an existing target. A symbolic link is written through to the file it
// names only when that file exists (a dangling link is refused, 53 or 76) and is not reached
// through another user's link in a shared sticky folder (70). A target we may not write (a
// read-only file, for the administrator too) fails with 70 like a read-only folder. While an
// interrupt::Deferral has noted a termination request, nothing is renamed (75).
bool ReplaceFile(const std::string& path, std::string_view bytes, int32_t& errCode);

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
// What a replacement must leave alone and how its bytes are judged.
struct ReplaceGuard {
    // Files the run reads (the design, the print file): the target may not be one of them,
    // however it is named (another path, a link, a hard link): refused with 75.
    std::vector<std::string> inputs;
    // True when the bytes are a whole file (a PDF with its trailer); a file that is not is never
    // put in place (75). Empty: any bytes.
    std::function<bool(std::string_view)> whole;
};

// ReplaceFile with the cause of a failure kept for the message.
bool ReplaceFile(const std::string& path, std::string_view bytes, Failure& failure,
                 const ReplaceGuard& guard = {});

// The refusals of ReplaceFile before any work is done (the folder's own failures, a full disk,
// show only when writing): a bad name, a folder, device or pipe, an input, a read-only file, a
// dangling or foreign link, a missing folder. True when the target may be written.
bool CheckReplaceable(const std::string& path, Failure& failure, const ReplaceGuard& guard = {});

// The system's text for an errno value, in the user's language where the system has it.
std::string SystemErrorText(int err);

// A folder replaced as a whole (a report folder): the new content is written into a fresh folder
// beside the target, which takes the target's place in one step (an exchange of the two names)
// once everything is written and flushed; the previous folder stays whole until then and is
// removed after. Two runs into one folder each swap in a whole folder of their own, and the last
// one stays. A run killed before it ends leaves the fresh or the previous folder under a hidden
// name beside the target, which the next replacement in that folder removes. The target follows
// the rules of ReplaceFile for links; an existing target must be a folder we may write that holds
// only entries the caller may replace with it (`replaceable`), so nothing put there by anybody
// else is lost (75, the first other entry named). A missing target's parent folders are made.
class FolderReplacement {
  public:
    FolderReplacement() = default;
    // Removes the fresh folder (with what it holds) unless it was swapped in.
    ~FolderReplacement();
    FolderReplacement(const FolderReplacement&) = delete;
    FolderReplacement& operator=(const FolderReplacement&) = delete;

    bool Begin(const std::string& target, std::function<bool(std::string_view name)> replaceable,
               Failure& failure);
    // The fresh folder to write into, and the folder it will replace (absolute, links followed;
    // `previous` is "" when no folder is there yet).
    const std::string& fresh() const { return fresh_; }
    const std::string& target() const { return target_; }
    const std::string& previous() const { return previous_; }
    // Flushes everything in the fresh folder to disk and puts it in the target's place. Nothing
    // is replaced while an interrupt::Deferral has noted a termination request (75).
    bool Commit(Failure& failure);

  private:
    bool Swap(int& err, std::string& reason);
    std::function<bool(std::string_view)> replaceable_;
    std::string target_, previous_, fresh_, parent_, base_, freshName_;
    int parentFd_ = -1;
    int freshFd_ = -1;
    bool committed_ = false;
};

// A file failure as the windows word it: "HEAD（ｴﾗｰｺｰﾄﾞ ： N）", then `detail` after a blank
// line when given, then the request to quote both. The code is written with thousands
// separators.
std::string MessageText(std::string_view head, int32_t code, std::string_view detail = {});
// The detail of a failed write: "ﾌｧｲﾙ名：PATH" (another label for a folder) and "原因：CAUSE" on
// lines of their own, each left out when empty; a name is shown up to a NUL byte.
std::string FailureDetail(const Failure& failure, const std::string& path,
                          std::string_view nameLabel = "ﾌｧｲﾙ名：");

// A path that is empty or holds a NUL byte fails with 52 everywhere (it would name another file).
// ReplaceFile refuses a target that is a folder or not a regular file with 75 and leaves it alone.

// Appends bytes to a file, creating it when missing.
bool AppendBytes(const std::string& path, const std::string& bytes, int32_t& errCode);

bool Exists(const std::string& path);
// Removes a file (never a folder); false when nothing was removed, a missing file included.
bool RemoveFile(const std::string& path);
bool MakeDirectory(const std::string& path);  // creates the folder (and parents); true if it exists

}  // namespace kuvelt::files
