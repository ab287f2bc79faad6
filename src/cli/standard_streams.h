// kuvelt-calc's standard streams. "-" as a design is standard input, read whole before it is
// parsed; "-" as a file written is standard output, made whole first and then copied out in one
// place, so a failure writes nothing there. Standard error carries only the program's own lines,
// each after "kuvelt-calc: "; what the programs underneath say (the preview program and the
// libraries it runs on) is caught and passed on only when asked for.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <streambuf>
#include <string>
#include <string_view>

namespace kuvelt::cli {

// A design is a few hundred kilobytes at most; more on standard input is not one.
inline constexpr std::size_t kMaxStandardInputBytes = 16u << 20;

// Standard input, read to its end. False, with the reason in `why`, when it cannot be read or
// holds more than kMaxStandardInputBytes.
bool ReadStandardInput(std::string& bytes, std::string& why);

// The one way a finished file (a design, a PDF) goes to standard output.
void WriteStandardOutput(std::string_view bytes, std::ostream& out);

// A stream buffer that passes each line on to `to` after `prefix`; empty lines are left out.
class LinePrefixer : public std::streambuf {
  public:
    LinePrefixer(std::streambuf* to, std::string prefix) : to_(to), prefix_(std::move(prefix)) {}

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override { return to_->pubsync(); }

  private:
    bool Put(char c);
    std::streambuf* to_;
    std::string prefix_;
    bool lineStart_ = true;
};

// While it lives, whatever is written to the file descriptor of standard error, by this program
// or by a program it starts, is kept aside; Release() ends that and returns it.
class StderrCapture {
  public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    std::string Release();

  private:
    int saved_ = -1;  // standard error as it was
    int kept_ = -1;   // a file in memory
};

// Passes on what a program underneath wrote to standard error: its own lines (those starting
// with `ownPrefix`, e.g. "Preview: ") to `err` as ours; the rest, the libraries' messages, to
// the real standard error only when `verbose`.
void PassOnMessages(std::string_view captured, std::string_view ownPrefix, bool verbose,
                    std::ostream& err);

}  // namespace kuvelt::cli
