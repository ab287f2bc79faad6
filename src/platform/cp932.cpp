#include "platform/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

namespace kuvelt::cp932 {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// No byte of s has its high bit set; eight bytes at a time.
bool IsAscii(std::string_view s) {
    std::size_t i = 0;
    uint64_t high = 0;
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t w = 0;
        std::memcpy(&w, s.data() + i, 8);
        high |= w;
    }
    for (; i < s.size(); ++i) high |= static_cast<unsigned char>(s[i]);
    return (high & 0x8080808080808080ULL) == 0;
}

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
    if (IsAscii(in)) return std::string(in);
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
        } else if (IsLeadByte(static_cast<unsigned char>(*src)) && srcLeft >= 2 &&
                   errno == EILSEQ) {
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

// Code page 932 to UTF-8 by table. A design file has hundreds of short texts, and one converter
// call per text costs far more than its few characters; so the system's converter fills the
// table, a row (the 256 single bytes, or the 256 pairs of one lead byte) the first time a text
// needs it, one character per call, and texts are then decoded by looking their characters up.
// The table holds exactly what the converter makes of each character, and the decoder skips
// what Convert skips on a refusal (a pair after a lead byte, the lead byte alone at the end,
// any other byte alone), so both give the same text.
class DecodeTable {
  public:
    struct Entry {
        char utf8[4];
        uint8_t len;  // 0: the converter refuses it
    };

    static DecodeTable& Get() {
        static DecodeTable table;
        return table;
    }

    const Entry& Single(unsigned char b) { return Row(0)[b]; }
    const Entry& Pair(unsigned char lead, unsigned char trail) { return Row(lead)[trail]; }

  private:
    using Entries = std::array<Entry, 256>;

    // Row 0: the single bytes; row b (a lead byte): the pairs starting with b.
    const Entries& Row(unsigned char b) {
        std::call_once(filled_[b], [&] { Fill(b); });
        return *rows_[b];
    }

    void Fill(unsigned char lead) {
        auto row = std::make_unique<Entries>();
        iconv_t cd = iconv_open("UTF-8", "CP932");
        for (int c = 0; c < 256; ++c) {
            Entry& e = (*row)[static_cast<std::size_t>(c)];
            e = Entry{};
            if (cd == kNoConverter) continue;
            char in[2] = {static_cast<char>(lead), static_cast<char>(c)};
            char* src = lead == 0 ? in + 1 : in;
            size_t srcLeft = lead == 0 ? 1 : 2;
            char* dst = e.utf8;
            size_t dstLeft = sizeof e.utf8;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) &&
                srcLeft == 0 && dst != e.utf8) {
                e.len = static_cast<uint8_t>(dst - e.utf8);
            }
        }
        if (cd != kNoConverter) iconv_close(cd);
        rows_[lead] = std::move(row);
    }

    std::array<std::once_flag, 256> filled_;
    std::array<std::unique_ptr<Entries>, 256> rows_;
};

std::string Decode(std::string_view in, bool* ok) {
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    static const bool available = [] {
        iconv_t cd = iconv_open("UTF-8", "CP932");
        if (cd == kNoConverter) return false;
        iconv_close(cd);
        return true;
    }();
    if (!available) {  // as the converter would: nothing to convert with
        if (ok) *ok = false;
        return std::string(in);
    }
    DecodeTable& table = DecodeTable::Get();
    std::string out;
    out.reserve(in.size() * 3 / 2 + 4);
    bool exact = true;
    std::size_t i = 0;
    while (i < in.size()) {
        const auto b = static_cast<unsigned char>(in[i]);
        const DecodeTable::Entry* e = nullptr;
        if (!IsLeadByte(b)) {
            e = &table.Single(b);
            i += 1;
        } else if (i + 1 < in.size()) {
            e = &table.Pair(b, static_cast<unsigned char>(in[i + 1]));
            i += 2;
        } else {
            i += 1;  // a lead byte without its second byte
        }
        if (e != nullptr && e->len != 0) {
            out.append(e->utf8, e->len);
        } else {
            out.append(kReplacement);
            exact = false;
        }
    }
    if (ok) *ok = exact;
    return out;
}

}  // namespace

std::string FromUtf8(std::string_view utf8, bool* ok) {
    static thread_local Converter toCp932("CP932", "UTF-8");
    return Convert(toCp932, utf8, true, "?", ok);
}

std::string ToUtf8(std::string_view bytes, bool* ok) {
    // ASCII is the same in both encodings, and most texts of a design are ASCII only.
    if (IsAscii(bytes)) {
        if (ok) *ok = true;
        return std::string(bytes);
    }
    return Decode(bytes, ok);
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

std::string_view Prefix(std::string_view bytes, std::size_t maxBytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t n = IsLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + n > maxBytes || i + n > bytes.size()) break;
        i += n;
    }
    return bytes.substr(0, i);
}

}  // namespace kuvelt::cp932
