// Shared helpers for the tests: a private temporary folder per test and whole-file I/O.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kuvelt::test {

// A fresh folder under the system temporary folder, removed again when the object goes away.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Whole file as bytes; fails the current test when the file cannot be read.
std::string ReadBytes(const std::string& path);
// The bytes of a file after its first line, which must be `firstLine` (line end included).
std::string ReadBytesAfter(const std::string& path, const std::string& firstLine);
void WriteBytes(const std::string& path, const std::string& bytes);

// What a program run by RunProgram printed and its exit status (-1 when it did not end normally).
struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `program` (a path, e.g. "./kuvelt-calc" in the build's bin folder, where the tests run)
// with `args`, without a shell, `input` on its standard input, and collects its standard output
// and error.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& input = std::string());

// What standard error shows of `text` said by `program`: every line that is not empty after
// "PROGRAM: ".
std::string Said(const std::string& program, const std::string& text);

// Folder of the source tree (examples, data sources), from KUVELT_SOURCE_DIR or the build's
// default.
std::filesystem::path SourceDir();

// An example design of the source tree, by its file name ("sand-channel.kvt").
std::string Example(const char* name);

// The lines of `text`, split at line feeds.
std::vector<std::string> Lines(const std::string& text);

// The build's program folder, where the tests run beside the programs and the data files the build
// made or copied there (Kuvelt.FMT, the style files): the files an installation holds.
std::filesystem::path ProgramDir();

}  // namespace kuvelt::test
