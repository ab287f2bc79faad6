// Code page 932 (Shift_JIS with the Windows extensions) at the file boundary. Inside the program
// every string is UTF-8; files are read and written in code page 932 through these functions
// only. Conversions never throw: a character that has no code page 932 form becomes "?", a byte
// sequence that is not code page 932 becomes U+FFFD, and `ok` (when given) tells whether the
// conversion was exact.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kuvelt::cp932 {

std::string FromUtf8(std::string_view utf8, bool* ok = nullptr);
std::string ToUtf8(std::string_view bytes, bool* ok = nullptr);

// Length of a UTF-8 text in code page 932 bytes (a full-width character counts 2, half-width
// katakana 1); characters without a code page 932 form count 1 like the "?" they become.
std::size_t ByteLength(std::string_view utf8);

// True when the code page 932 byte `b` starts a two-byte character.
constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Number of characters (not bytes) in a UTF-8 text.
std::size_t CharCount(std::string_view utf8);

// The longest start of code page 932 bytes of at most `maxBytes` bytes that ends between two
// characters: a text cut to fit a field never keeps half a double-byte character.
std::string_view Prefix(std::string_view bytes, std::size_t maxBytes);

// Splits code page 932 bytes into lines ending CR LF. A last line without CR LF is kept; a lone
// CR or LF stays part of its line. The line texts do not contain the CR LF.
std::vector<std::string> SplitCrLf(std::string_view bytes);

}  // namespace kuvelt::cp932
