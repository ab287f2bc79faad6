#include "platform/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace kuvelt::cp932 {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// A converter of one direction, opened on first use and kept for the thread's life: a design
// file has hundreds of texts, and opening a converter costs far more than converting one. Each
// thread has its own, since a converter holds the state of the conversion in progress.
class Converter {
  public:
    Converter(const char* to, const char* from) : to_(to), from_(from) {}
    ~Converter() {
        if (cd_ != kNoConverter) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The converter in its initial state, or kNoConverter when the system has none.
    iconv_t Fresh() {
        if (cd_ == kNoConverter) cd_ = iconv_open(to_, from_);
        if (cd_ != kNoConverter) iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return cd_;
    }

  private:
    const char* to_;
    const char* from_;
    iconv_t cd_ = kNoConverter;
};

// One iconv conversion of a whole buffer; on an unconvertible input sequence the replacement is
// appended and conversion resumes after the offending unit (one byte, or one UTF-8 character).
std::string Convert(Converter& converter, std::string_view in, bool fromUtf8,
                    std::string_view replacement, bool* ok) {
    if (ok) *ok = true;
    std::string out;
    if (in.empty()) return out;
    // ASCII is the same in both encodings, and most texts of a design are ASCII only.
    if (std::all_of(in.begin(), in.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(in);
    iconv_t cd = converter.Fresh();
    if (cd == kNoConverter) {
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
    return out;
}

}  // namespace

std::string FromUtf8(std::string_view utf8, bool* ok) {
    static thread_local Converter toCp932("CP932", "UTF-8");
    return Convert(toCp932, utf8, true, "?", ok);
}

std::string ToUtf8(std::string_view bytes, bool* ok) {
    static thread_local Converter toUtf8("UTF-8", "CP932");
    return Convert(toUtf8, bytes, false, "\xEF\xBF\xBD", ok);
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
