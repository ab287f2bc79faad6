// Standard output of the command-line tool as a stream buffer over descriptor 1 that keeps the
// first write failure, so the run can tell at its end whether everything it printed got there
// (a full disk, /dev/full, a closed pipe, a descriptor that was never open).
#pragma once

#include <array>
#include <cstddef>
#include <streambuf>

namespace kuvelt::output {

class StandardOutput : public std::streambuf {
  public:
    // Takes the place of std::cout's buffer until the object ends.
    StandardOutput();
    ~StandardOutput() override;
    StandardOutput(const StandardOutput&) = delete;
    StandardOutput& operator=(const StandardOutput&) = delete;

    // Writes what is buffered, flushes C's stdout and closes a copy of the descriptor (where a
    // file system may report its last failure). 0 when everything written got there, else the
    // errno of the first failure.
    int Finish();

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

  private:
    bool Drain();
    bool Put(const char* s, std::size_t n);
    std::array<char, 65536> buffer_{};
    std::streambuf* previous_ = nullptr;
    int error_ = 0;
    bool finished_ = false;
};

}  // namespace kuvelt::output
