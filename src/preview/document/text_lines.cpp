#include "preview/document/text_lines.h"

namespace kuvelt::preview {

std::vector<std::string_view> SplitLines(std::string_view bytes, std::size_t maxLines) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size() && lines.size() < maxLines) {
        std::size_t end = bytes.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (last) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace kuvelt::preview
