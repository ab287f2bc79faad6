#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace kuvelt::cp932 {
namespace {

// One iconv conversion of a whole buffer; on an unconvertible input sequence the replacement is
// appended and conversion resumes after the offending unit (one byte, or one UTF-8 character).
std::string Convert(const char* to, const char* from, std::string_view in, bool fromUtf8,
                    std::string_view replacement, bool* ok) {
    if (ok) *ok = true;
    std::string out;
    if (in.empty()) return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (ok) *ok = false;
        return std::string(in);
    }
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: skip one unit of input and put the replacement in its place.
        if (ok) *ok = false;
        out.append(replacement);
        size_t skip = 1;
        if (fromUtf8) {
            unsigned char c = static_cast<unsigned char>(*src);
            skip = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            if (skip > srcLeft) skip = srcLeft;
        } else if (IsLeadByte(static_cast<unsigned char>(*src)) && srcLeft >= 2 && errno == EILSEQ) {
            skip = 2;
        }
        src += skip;
        srcLeft -= skip;
    }
    // Flush any shift state (none for these encodings, but keep the protocol).
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buf, static_cast<size_t>(dst - buf));
    iconv_close(cd);
    return out;
}

}  // namespace

std::string FromUtf8(std::string_view utf8, bool* ok) {
    return Convert("CP932", "UTF-8", utf8, true, "?", ok);
}

std::string ToUtf8(std::string_view bytes, bool* ok) {
    return Convert("UTF-8", "CP932", bytes, false, "\xEF\xBF\xBD", ok);
}

std::size_t ByteLength(std::string_view utf8) { return FromUtf8(utf8).size(); }

std::size_t CharCount(std::string_view utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80) ++n;
    }
    return n;
}

std::vector<std::string> SplitCrLf(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t pos = bytes.find("\r\n", start);
        if (pos == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, pos - start));
        start = pos + 2;
    }
    return lines;
}

}  // namespace kuvelt::cp932
