#include "platform/cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace kuvelt::cp932 {
namespace {

// Characters where code page 932 differs from plain Shift_JIS, or that the system's texts use:
// both directions must give these exact bytes, or report texts and settings shift.
TEST(Cp932, ConvertsBothWaysWithTheWindowsMapping) {
    const struct {
        const char* utf8;
        const char* bytes;
    } cases[] = {
        {"ABC\\~", "ABC\\~"},                    // ASCII stays ASCII (no yen sign, no overline)
        {"ゾーン", "\x83\x5D\x81\x5B\x83\x93"},  // second bytes equal to "]" and "["
        {"ｴﾗｰｺｰﾄﾞ", "\xB4\xD7\xB0\xBA\xB0\xC4\xDE"},
        {"≧（）：", "\x81\x86\x81\x69\x81\x6A\x81\x46"},
        {"～－∥￢＼", "\x81\x60\x81\x7C\x81\x61\x81\xCA\x81\x5F"},
        {"Ⅵ①", "\x87\x59\x87\x40"},
        {"", ""},
    };
    for (const auto& c : cases) {
        bool ok = false;
        EXPECT_EQ(FromUtf8(c.utf8, &ok), c.bytes) << c.utf8;
        EXPECT_TRUE(ok) << c.utf8;
        EXPECT_EQ(ToUtf8(c.bytes, &ok), c.utf8) << c.utf8;
        EXPECT_TRUE(ok) << c.utf8;
        EXPECT_EQ(ByteLength(c.utf8), std::string(c.bytes).size()) << c.utf8;
    }
}

TEST(Cp932, UnconvertibleInputIsReplacedAndReported) {
    bool ok = true;
    EXPECT_EQ(FromUtf8("a\xF0\x9F\x98\x80"
                       "b·c",
                       &ok),
              "a?b?c");
    EXPECT_FALSE(ok);
    EXPECT_EQ(ByteLength("\xF0\x9F\x98\x80"), 1u);
    ok = true;
    // A lone lead byte at the end, an undefined single byte, an undefined pair.
    EXPECT_EQ(ToUtf8("x\xA0y\x85\x40z\x81", &ok), "x\xEF\xBF\xBDy\xEF\xBF\xBDz\xEF\xBF\xBD");
    EXPECT_FALSE(ok);
    EXPECT_EQ(ToUtf8("ok"), "ok");
}

// ASCII texts are taken over without a conversion: the system's converters must agree that
// each of the 128 characters is the same byte in both encodings.
TEST(Cp932, AsciiIsTheSameInBothEncodings) {
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) ascii.push_back(static_cast<char>(c));
    for (const auto& [to, from] : {std::pair{"CP932", "UTF-8"}, std::pair{"UTF-8", "CP932"}}) {
        iconv_t cd = iconv_open(to, from);
        ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
        std::string out(256, '\0');
        char* src = ascii.data();
        char* dst = out.data();
        size_t srcLeft = ascii.size(), dstLeft = out.size();
        EXPECT_EQ(iconv(cd, &src, &srcLeft, &dst, &dstLeft), 0u) << from;
        out.resize(out.size() - dstLeft);
        EXPECT_EQ(out, ascii) << from << " to " << to;
        iconv_close(cd);
    }
    bool ok = false;
    EXPECT_EQ(ToUtf8(ascii, &ok), ascii);
    EXPECT_TRUE(ok);
    EXPECT_EQ(FromUtf8(ascii, &ok), ascii);
    EXPECT_TRUE(ok);
}

// The converters are opened once per thread and kept: a conversion cut off inside a character,
// or refused, must not leave anything behind for the next one, and threads must not share one.
TEST(Cp932, KeptConvertersStartEveryConversionAfresh) {
    auto round = [] {
        int wrong = 0;
        for (int i = 0; i < 300; ++i) {
            wrong += ToUtf8("\x83\x5D\x83") != "ゾ\xEF\xBF\xBD";  // ends inside a character
            wrong += ToUtf8("\x83\x93x") != "ンx";
            wrong += FromUtf8("\xE3\x82") != "?";  // a truncated UTF-8 character
            wrong += FromUtf8("ゾーン") != "\x83\x5D\x81\x5B\x83\x93";
        }
        return wrong;
    };
    std::vector<int> wrong(4, -1);
    std::vector<std::thread> threads;
    for (int& w : wrong) threads.emplace_back([&w, &round] { w = round(); });
    for (auto& t : threads) t.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
    EXPECT_EQ(round(), 0);
}

// The decoder by table against the converter itself, as texts were decoded before it: one
// iconv call over the whole text, a refused pair (lead byte and the next byte) or a lone lead
// byte at the end or any other refused byte replaced by U+FFFD, the conversion going on after
// it. Random texts of every kind of byte, every pair of the lead bytes used, every single byte.
std::string IconvToUtf8(std::string_view in, bool& ok) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    std::string out;
    ok = true;
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char buf[256];
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
        ok = false;
        out += "\xEF\xBF\xBD";
        const size_t skip =
            IsLeadByte(static_cast<unsigned char>(*src)) && srcLeft >= 2 && errno == EILSEQ ? 2 : 1;
        src += skip;
        srcLeft -= skip;
    }
    iconv_close(cd);
    return out;
}

TEST(Cp932, DecodesAsTheSystemConverterDoes) {
    std::vector<std::string> texts;
    for (int b = 0x80; b < 0x100; ++b) texts.push_back(std::string(1, static_cast<char>(b)) + "a");
    for (int lead : {0x81, 0x82, 0x83, 0x84, 0x85, 0x87, 0x88, 0x96, 0x9F, 0xE0, 0xEA, 0xED, 0xEE,
                     0xF0, 0xFA, 0xFC}) {
        for (int trail = 0; trail < 0x100; ++trail) {
            texts.push_back({static_cast<char>(lead), static_cast<char>(trail), 'x'});
        }
    }
    std::mt19937 rng(932);
    const std::string pieces[] = {"a",        "\"",       "\x83\x5D", "\x87\x54", "\x96\xA2",
                                  "\xB4",     "\x81",     "\xA0",     "\xFD",     "\x85\x40",
                                  "\x81\x20", "\xFC\xFC", "\x80"};
    for (int k = 0; k < 3000; ++k) {
        std::string t;
        for (int n = static_cast<int>(rng() % 10); n > 0; --n) {
            t += rng() % 3 == 0 ? std::string(1, static_cast<char>(rng() % 256))
                                : pieces[rng() % std::size(pieces)];
        }
        texts.push_back(t);
    }
    for (const std::string& t : texts) {
        bool okWanted = false, ok = false;
        const std::string wanted = IconvToUtf8(t, okWanted);
        ASSERT_EQ(ToUtf8(t, &ok), wanted) << testing::PrintToString(t);
        ASSERT_EQ(ok, okWanted) << testing::PrintToString(t);
    }
}

TEST(Cp932, CharCountCountsCharactersNotBytes) {
    EXPECT_EQ(CharCount(""), 0u);
    EXPECT_EQ(CharCount("abc"), 3u);
    EXPECT_EQ(CharCount("≧ 1.5"), 5u);
    EXPECT_EQ(CharCount("ｴﾗｰ\xF0\x9F\x98\x80"), 4u);
}

TEST(Cp932, SplitCrLfKeepsLoneLineEndsInsideLines) {
    using Lines = std::vector<std::string>;
    const struct {
        const char* name;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"empty", "", {}},
        {"one line", "a\r\n", {"a"}},
        {"last line open", "a\r\nb", {"a", "b"}},
        {"blank lines", "\r\n\r\n", {"", ""}},
        {"lone LF and CR", "a\nb\rc\r\n", {"a\nb\rc"}},
        {"form feed kept",
         "\x0c"
         "x\r\ny",
         {"\x0cx", "y"}},
        {"CR before CR LF", "a\r\r\n", {"a\r"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCrLf(c.bytes), c.lines) << c.name;
}

}  // namespace
}  // namespace kuvelt::cp932
