// The preview's command line: "Preview /INI=<work folder> <print file>" opens the window,
// "Preview --pdf <out.pdf> <print file>" writes the PDF without one. Plain data in, plain data
// out; a bad command line gives the exact message for standard error and no mode.
#pragma once

#include <string>
#include <vector>

namespace kuvelt::preview {

enum class LaunchMode { Invalid, Window, Pdf };

struct LaunchOptions {
    LaunchMode mode = LaunchMode::Invalid;
    std::string workFolder;  // window mode: where Preview.ini lives
    std::string printFile;
    std::string pdfFile;  // pdf mode
    std::string error;    // Invalid: what to tell the user
};

// `args` without the program name. A print file may be split over several items when the
// caller did not quote a path with blanks; the remaining items are joined with one blank.
LaunchOptions ParseLaunchArguments(const std::vector<std::string>& args);

// The usage text printed with an argument error.
const std::string& UsageText();

}  // namespace kuvelt::preview
