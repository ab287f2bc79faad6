// The preview's command line: "Preview /INI=<work folder> <print file>" opens the window,
// "Preview --pdf <out.pdf> <print file>" writes the PDF without one; --help and --version print
// and end, --verbose lets the libraries' messages through. Options stand in any order, "--" ends
// them. Plain data in, plain data out; a bad command line gives the exact message for standard
// error and no mode. The table of options feeds the parser, --help and the manual page's check.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kuvelt::preview {

enum class LaunchMode { Invalid, Window, Pdf, Help, Version };

struct LaunchOptions {
    LaunchMode mode = LaunchMode::Invalid;
    std::string workFolder;  // window mode: where Preview.ini lives
    std::string printFile;
    std::string pdfFile;   // pdf mode
    bool verbose = false;  // the libraries' messages through to standard error
    std::string error;     // Invalid: what to tell the user
};

struct LaunchOption {
    std::string_view name;   // "--pdf", "/INI="
    std::string_view value;  // "OUT.pdf", "" for a flag
    std::string_view help;   // for --help
};
std::span<const LaunchOption> LaunchOptionTable();

// `args` without the program name. A print file may be split over several items when the
// caller did not quote a path with blanks; the items that are not options are joined with one
// blank.
LaunchOptions ParseLaunchArguments(const std::vector<std::string>& args);

// The text of --help, and the line after a command-line error pointing at it.
const std::string& UsageText();
inline constexpr std::string_view kUsageHint = "Preview --help で使い方を表示します。";

// The exit status of a wrong command line, as kuvelt-calc's.
inline constexpr int kUsageStatus = 64;

}  // namespace kuvelt::preview
