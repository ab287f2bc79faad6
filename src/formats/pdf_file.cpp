#include "formats/pdf_file.h"

#include <cctype>

namespace kuvelt::formats {

bool PdfIsComplete(std::string_view b) {
    if (b.substr(0, 5) != "%PDF-") return false;
    while (!b.empty() && std::isspace(static_cast<unsigned char>(b.back()))) b.remove_suffix(1);
    constexpr std::string_view kEof = "%%EOF", kStart = "startxref";
    if (b.size() < kEof.size() || b.substr(b.size() - kEof.size()) != kEof) return false;
    const std::size_t start = b.rfind(kStart);
    if (start == std::string_view::npos) return false;
    std::size_t p = start + kStart.size();
    while (p < b.size() && std::isspace(static_cast<unsigned char>(b[p]))) ++p;
    std::size_t offset = 0, digits = 0;
    for (; p < b.size() && std::isdigit(static_cast<unsigned char>(b[p])) && digits < 16; ++p) {
        offset = offset * 10 + static_cast<std::size_t>(b[p] - '0');
        ++digits;
    }
    if (digits == 0 || offset >= start) return false;
    const std::string_view section = b.substr(offset, start - offset);
    if (section.substr(0, 4) == "xref") return section.find("trailer") != std::string_view::npos;
    // A cross-reference stream: "N G obj".
    std::size_t q = 0;
    for (int number = 0; number < 2; ++number) {
        const std::size_t from = q;
        while (q < section.size() && std::isdigit(static_cast<unsigned char>(section[q]))) ++q;
        if (q == from || q >= section.size() || section[q] != ' ') return false;
        ++q;
    }
    return section.substr(q, 3) == "obj";
}

Message PdfWriteFailureMessage(const files::Failure& failure, const std::string& path) {
    return Message{failure.code,
                   files::MessageText("PDF ファイルを書き込めません。", failure.code,
                                      files::FailureDetail(failure, path)),
                   "印刷プレビュー", MsgIcon::Error, MsgButtons::Ok};
}

}  // namespace kuvelt::formats
