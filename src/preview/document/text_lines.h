// Line splitting shared by the preview's readers: a line ends at LF (a CR before it is dropped,
// so CR LF and bare LF files read alike); at most `maxLines` lines are returned.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace kuvelt::preview {

std::vector<std::string_view> SplitLines(std::string_view bytes, std::size_t maxLines);

}  // namespace kuvelt::preview
