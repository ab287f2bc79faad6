#include "report/chapters/contents.h"

namespace kuvelt::print_job {

std::string InsertContents(std::string_view document) {
    std::string out(document);
    const std::size_t at = out.find(kContentsMark);
    if (at != std::string::npos) out.erase(at, kContentsMark.size());
    return out;
}

}  // namespace kuvelt::print_job
