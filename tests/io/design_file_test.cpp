#include "io/design_file.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "model/design.h"
#include "platform/cp932.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// The cover's block at its byte limits (60 and 20), with characters from the extensions of code
// page 932, half-width kana and a comma.
const CInpHyoshi kCover{"令和6年度　第2号幹線水路（左岸）改修工事，No.3+20～No.5+40①",
                        "○○県　△△農林振興事務所",
                        "㈱髙橋ｺﾝｻﾙﾀﾝﾄ 設計部 山田",
                        "鈴木　一郎",
                        "令和6年10月1日",
                        "第12版（Ⅲ案）再照査"};

// A design in which nothing is at its default, so a field read into the wrong place shows.
void MakeNonDefaultDesign() {
    InitData();
    // clang-format off
    gInpJyoken = CInpJyoken{true, "水路 A-1, 左岸 (No.3+20)", 3.5, 3.75, -1.25, 2.0, 12.5, 2,
                            0.35, 10, 2, 5.5, 0.5, 1.5, 1.2, 19, 7.5, 0.05, 1.6, 1.3, 0, kChannelWaterAtDesignGround};
    // clang-format on
    gInpJiban = CInpJiban{true, 1, 17.5, 8.5, 9.81, 0.0, 2.5, 35.0, 3000.0, 15.0, 15.0, {}};
    gInpZairyo = CInpZairyo{false, 22e6,    23e6, 36e6, 205e6, 206e6, "SS490", 185,
                            186,   "SY390", 235,  236,  0.9,   0.7,   0.6,     0.95};
    gInpSectC.Clear();
    gInpSectC.Add("80H", 1, 4100.5, 15.25, 3, 7.5);
    gInpSectC.Add("溝型-1", 2, 2000, 9, 2, 4);
    gInpSectLS.Remove(1);
    gInpSectS.Clear();
    gInpSectS.Add("SP-ⅢW", 32400, 1800, 27500, 1530)->Mass = 136;  // its standard mass
    gInpYaita = CInpYaita{true, 2, 1, 6.25, 3.5, 9.75};
    gInpHyoshi = kCover;
}

struct Snapshot {
    CInpJyoken j;
    CInpJiban g;
    CInpZairyo z;
    colInpSectC c;
    colInpSectS ls, s;
    CInpYaita y;
    CInpHyoshi h;
    bool operator==(const Snapshot&) const = default;
    void Restore() const {
        gInpJyoken = j;
        gInpJiban = g;
        gInpZairyo = z;
        gInpSectC = c;
        gInpSectLS = ls;
        gInpSectS = s;
        gInpYaita = y;
        gInpHyoshi = h;
    }
    static Snapshot Take() {
        return {gInpJyoken, gInpJiban, gInpZairyo, gInpSectC,
                gInpSectLS, gInpSectS, gInpYaita,  gInpHyoshi};
    }
    void ExpectCurrentEqual() const {
        EXPECT_EQ(gInpJyoken, j);
        EXPECT_EQ(gInpJiban, g);
        EXPECT_EQ(gInpZairyo, z);
        EXPECT_TRUE(gInpSectC == c);
        EXPECT_TRUE(gInpSectLS == ls);
        EXPECT_TRUE(gInpSectS == s);
        EXPECT_EQ(gInpYaita, y);
        EXPECT_EQ(gInpHyoshi, h);
    }
};

bool CurrentDesignIsDefault() {
    const Snapshot current = Snapshot::Take();
    InitData();
    const Snapshot fresh = Snapshot::Take();
    current.Restore();
    return current == fresh;
}

std::vector<std::string> Lines(const std::string& bytes) { return cp932::SplitCrLf(bytes); }

std::string Join(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

// The default design's bytes with line `n` (1-based) replaced by `text` (code page 932 bytes).
std::string DefaultWithLine(int n, const std::string& text) {
    InitData();
    std::vector<std::string> l = Lines(DesignToBytes());
    l.at(static_cast<std::size_t>(n - 1)) = text;
    return Join(l);
}

// ---------------------------------------------------------------------------------------------

TEST(DesignFileLayout, NewDefaultDesignHasTheExactLines) {
    InitData();
    const std::string bytes = DesignToBytes();
    const std::vector<std::string> l = Lines(bytes);
    ASSERT_EQ(l.size(), 110u);  // 3 header + 46 values + 1+6 + 1+22 + 1+24 + 6

    // Every line ends CR LF, the file too, and no lone line feed hides anywhere.
    std::size_t crlf = 0;
    for (std::size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2))
        ++crlf;
    EXPECT_EQ(crlf, 110u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 110);

    EXPECT_EQ(l[0], "VOSTRAND INPUT FILE FORMAT V1\x81\x46(\x96\xa2\x92\xe8\x8b\x60)");
    EXPECT_EQ(l[1], "PRODUCT NAME                   [Kuvelt]");
    EXPECT_EQ(l[2], "INPUT FILE VERSION             [1.00]");
    EXPECT_EQ(l[1].find('['), 31u);  // column 32
    EXPECT_EQ(l[2].find('['), 31u);

    struct Expect {
        int line;
        std::string text;
    };
    const std::vector<Expect> cases = {
        {4, "#FALSE#"},
        {5, "\"(\x96\xa2\x92\xe8\x8b\x60)\""},
        {6, " 4 "},
        {8, " 0 "},
        {21, " 0.1 "},
        {29, " 9.8 "},
        {35, " 21000000 "},
        {40, "\"SS400\""},
        {50, " 3 "},
        {51, "\"50H\""},
        {52, " 0  1040  5.4  2  4 "},
        {57, " 11 "},
        {59, " 85.1  48.6  41.1  24.9 "},
        {80, " 12 "},
        {81, "\"SP-\x87\x54\x41\""},  // SP-ⅠA: U+2160 is 87 54 in code page 932
        {104, " 86000  3820  79100  3510 "},
        {105, "#FALSE#"},
        {110, " 0 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(l[static_cast<std::size_t>(c.line - 1)], c.text) << "line " << c.line;
    }
}

TEST(DesignFileLayout, NegativeNumbersHaveNoLeadingBlankAndTitleCommaStaysInLineOne) {
    InitData();
    gInpJyoken.ELDL = -1.5;
    gInpJyoken.Title = "A,B";
    gInpYaita.D = -0.25;
    const std::vector<std::string> l = Lines(DesignToBytes());
    EXPECT_EQ(l[7], "-1.5 ");
    EXPECT_EQ(l[0],
              "VOSTRAND INPUT FILE FORMAT V1\x81\x46"
              "A,B");
    EXPECT_EQ(l[4], "\"A,B\"");
    EXPECT_EQ(l[108], "-0.25 ");
}

// A title with a line break would push the version out of line 3 and make the saved file
// unreadable; the header shows blanks, the body keeps the title.
TEST(DesignFileLayout, LineBreakInTitleKeepsTheFileOpenable) {
    TempDir dir;
    const std::string path = dir.file("break.kvt");
    InitData();
    gInpJyoken.Title = "first\r\nsecond";
    int32_t err = -1;
    ASSERT_TRUE(WriteData(path, err));
    EXPECT_EQ(Lines(ReadBytes(path))[0],
              "VOSTRAND INPUT FILE FORMAT V1\x81\x46"
              "first  second");
    EXPECT_EQ(GetFileVersion(path), "1.00");
    ASSERT_TRUE(PreReadCheck(path));
    ASSERT_TRUE(ReadData(path, err));
    EXPECT_EQ(gInpJyoken.Title, "first\r\nsecond");
}

// ---------------------------------------------------------------------------------------------

// The cover's block stands after CInpYaita.L, where the classic reader stops: a new file is the
// classic file with the block's lines after it, and each layout reads the other's files as the
// same design (the block empty where one side has none).
TEST(DesignFileLayout, CoverBlockKeepsTheClassicLayoutReadableBothWays) {
    MakeNonDefaultDesign();
    const Snapshot design = Snapshot::Take();
    Snapshot withoutCover = design;
    withoutCover.h = CInpHyoshi{};
    const std::string current = DesignToBytes();
    const std::string classic = DesignToBytes(ClassicDesignFields());
    EXPECT_EQ(Lines(classic).size(), 3u + 46u + 1u + 4u + 1u + 20u + 1u + 2u + 6u);
    ASSERT_EQ(current.substr(0, classic.size()), classic);
    std::vector<std::string> tail;
    for (const std::string* t : {&kCover.KojiMei, &kCover.Hachusha, &kCover.Sekkeisha,
                                 &kCover.Shosasha, &kCover.Hizuke, &kCover.Han}) {
        tail.push_back("\"" + cp932::FromUtf8(*t) + "\"");
    }
    EXPECT_EQ(Lines(current.substr(classic.size())), tail);

    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(current, err, ClassicDesignFields()));
    withoutCover.ExpectCurrentEqual();
    EXPECT_EQ(DesignToBytes(), classic) << "the classic reader's design is the one it read before";
    ASSERT_TRUE(DesignFromBytes(classic, err));
    withoutCover.ExpectCurrentEqual();
    ASSERT_TRUE(DesignFromBytes(current, err));
    design.ExpectCurrentEqual();
    EXPECT_EQ(DesignToBytes(), current);
}

// A file may end after any field of the block (an older writer, or the last texts empty): what is
// there is read, the rest is empty; the writer leaves out only the empty texts at the end.
TEST(DesignFileLayout, CoverBlockMayEndAfterAnyOfItsFields) {
    MakeNonDefaultDesign();
    const std::string classic = DesignToBytes(ClassicDesignFields());
    const std::vector<std::string> tail = Lines(DesignToBytes().substr(classic.size()));
    ASSERT_EQ(tail.size(), 6u);
    for (std::size_t n = 0; n <= tail.size(); ++n) {
        SCOPED_TRACE(n);
        const std::vector<std::string> head(tail.begin(), tail.begin() + std::ptrdiff_t(n));
        const std::string bytes = classic + Join(head);
        int32_t err = 0;
        ASSERT_TRUE(DesignFromBytes(bytes, err));
        std::vector<std::string> read;
        for (const DesignField& f : DesignFields().subspan(ClassicDesignFields().size())) {
            VisitField(f, &gInpHyoshi, [&](const auto& v) {
                if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
                    read.push_back(v);
                }
            });
        }
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i].empty(), i >= n) << i;
        }
        EXPECT_EQ(DesignToBytes(), bytes);
    }
    // Only the issue set: the empty texts before it are written, none after it.
    InitData();
    gInpHyoshi.Han = "A";
    const std::vector<std::string> l = Lines(DesignToBytes());
    ASSERT_EQ(l.size(), 116u);
    EXPECT_EQ(std::vector<std::string>(l.begin() + 110, l.end()),
              (std::vector<std::string>{"\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"A\""}));
    InitData();
    gInpHyoshi.KojiMei = "K";
    EXPECT_EQ(Lines(DesignToBytes()).size(), 111u);
}

// Whatever follows CInpYaita.L was always ignored; when it is not a quoted text it is not the
// cover's block and is still ignored.
TEST(DesignFileLayout, UnquotedItemsAfterTheClassicLayoutAreStillIgnored) {
    InitData();
    const std::string classic = DesignToBytes();
    for (const std::string extra : {" 0 \r\n", "#TRUE#\r\n\"x\"\r\n", "garbage"}) {
        int32_t err = 0;
        ASSERT_TRUE(DesignFromBytes(classic + extra, err)) << extra;
        EXPECT_TRUE(CurrentDesignIsDefault()) << extra;
    }
}

// A later version may append optional fields of its own after the cover's block: today's reader
// reads its files, its reader reads today's files with the appended fields at their defaults,
// and reads the appended values when they are there.
TEST(DesignFileLayout, AppendedOptionalFieldsKeepBothLayoutsReadable) {
    std::vector<DesignField> later(DesignFields().begin(), DesignFields().end());
    later.push_back(Field<&CInpJyoken::Title>("CInpJyoken.Title").Bytes("件名", 80).Optional());
    later.push_back(Field<&CInpJiban::KH>("CInpJiban.KH").Optional());
    MakeNonDefaultDesign();
    const Snapshot design = Snapshot::Take();
    const std::string today = DesignToBytes();
    const std::string appended = DesignToBytes(later);
    EXPECT_EQ(appended.substr(0, today.size()), today);
    std::vector<std::string> tail = Lines(appended.substr(today.size()));
    EXPECT_EQ(tail, (std::vector<std::string>{cp932::FromUtf8("\"水路 A-1, 左岸 (No.3+20)\""),
                                              " 3000 "}));
    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(appended, err));
    design.ExpectCurrentEqual();
    ASSERT_TRUE(DesignFromBytes(today, err, later));
    design.ExpectCurrentEqual();
    ASSERT_TRUE(DesignFromBytes(today + "\"B\"\r\n", err, later));  // the last one missing
    EXPECT_EQ(gInpJyoken.Title, "B");
    EXPECT_EQ(gInpJiban.KH, 3000.0);
    ASSERT_TRUE(DesignFromBytes(today + "\"B\"\r\n 7 \r\n", err, later));
    EXPECT_EQ(gInpJiban.KH, 7.0);
    EXPECT_FALSE(DesignFromBytes(today + "\"B\"\r\n x \r\n", err, later));
    EXPECT_EQ(err, 13);
}

// A site the classic layout cannot hold is written as version 1.10: the classic file with the
// whole cover's block, then the channel water, the wall friction, the layer count and a line per
// layer. It reads back equal, is written again the same, passes the Open command's check, and
// bad site values fail with the reader's codes; back at the defaults the design is the classic
// file again.
TEST(DesignFileLayout, SiteBeyondTheClassicLayoutIsVersion110) {
    MakeNonDefaultDesign();
    const std::string classic = DesignToBytes();
    gInpJyoken.ELWF = -1.0;
    gInpJiban.DeltaP = 12.5;
    gInpJiban.Layers = {{-2.5, 0, 19, 9.5, 32, 0, 0, 5000}, {-4.75, 1, 17, 7, 0, 1.5, 40, 2000}};
    const Snapshot design = Snapshot::Take();
    const std::string bytes = DesignToBytes();
    const std::vector<std::string> l = Lines(bytes), c = Lines(classic);
    EXPECT_EQ(l[2], "INPUT FILE VERSION             [1.10]");
    ASSERT_GT(l.size(), c.size());
    EXPECT_EQ(std::vector<std::string>(l.begin() + 3, l.begin() + std::ptrdiff_t(c.size())),
              std::vector<std::string>(c.begin() + 3, c.end()));
    const std::vector<std::string> site = {"-1 ",
                                           " 15 ",
                                           " 12.5 ",
                                           " 2 ",
                                           "-2.5  0  19  9.5  32  0  0  5000 ",
                                           "-4.75  1  17  7  0  1.5  40  2000 "};
    EXPECT_EQ(std::vector<std::string>(l.begin() + std::ptrdiff_t(c.size()), l.end()), site);

    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(bytes, err));
    design.ExpectCurrentEqual();
    EXPECT_EQ(DesignToBytes(), bytes);
    TempDir dir;
    WriteBytes(dir.file("site.kvt"), bytes);
    EXPECT_EQ(GetFileVersion(dir.file("site.kvt")), "1.10");
    EXPECT_TRUE(PreReadCheck(dir.file("site.kvt")));
    files::Failure failure;
    ASSERT_TRUE(OpenDesign(dir.file("site.kvt"), failure)) << failure.reason;
    design.ExpectCurrentEqual();

    // The site's lines of a 1.00 file are not read: that layout ends with the cover's block.
    ASSERT_TRUE(DesignFromBytes(classic + Join(site), err));
    EXPECT_TRUE(gInpJiban.Layers.empty());
    EXPECT_EQ(gInpJyoken.ELWF, kChannelWaterAtDesignGround);

    const std::size_t count = bytes.size() - Join({site[3], site[4], site[5]}).size();
    const std::string head = bytes.substr(0, count);
    struct Bad {
        std::string tail;
        int32_t code;  // 0: read, with no layers
    };
    for (const Bad& b : {Bad{" 10 \r\n", 6}, Bad{" x \r\n", 13}, Bad{" 2 \r\n-2.5  0 ", 62},
                         Bad{"", 62}, Bad{" -1 \r\n", 0}, Bad{" 0 \r\n", 0}}) {
        SCOPED_TRACE(b.tail);
        err = 0;
        EXPECT_EQ(DesignFromBytes(head + b.tail, err), b.code == 0);
        EXPECT_EQ(err, b.code);
        EXPECT_TRUE(gInpJiban.Layers.empty());
    }

    gInpJyoken.ELWF = kChannelWaterAtDesignGround;
    gInpJiban.DeltaP = 15;
    gInpJiban.Layers.clear();
    EXPECT_EQ(DesignToBytes(), classic);
}

// A classic file gives the built-in steel rows that are unchanged their standard masses and no
// other row one; a design with any other mass takes the extended layout, which ends with a line
// of masses for each catalogue.
TEST(DesignFileLayout, MassesOtherThanTheStandardOnesAreVersion110) {
    InitData();
    const std::string classic = DesignToBytes();
    EXPECT_EQ(Lines(classic)[2], "INPUT FILE VERSION             [1.00]");
    EXPECT_EQ(gInpSectS.Item(2)->Mass, 120.0);
    int32_t err = 0;
    for (CInpSectS& row : gInpSectS) row.Mass = 0;
    ASSERT_TRUE(DesignFromBytes(classic, err));
    EXPECT_EQ(gInpSectS.Item(2)->Mass, 120.0);
    EXPECT_EQ(gInpSectS.Item(1)->Mass, 0.0);

    const struct {
        const char* what;
        void (*change)();
    } cases[] = {
        {"a steel mass", [] { gInpSectS.Item(2)->Mass = 125; }},
        {"a standard mass taken away", [] { gInpSectS.Item(2)->Mass = 0; }},
        {"a built-in section changed", [] { gInpSectS.Item(2)->Id = 8800; }},
        {"a concrete and a light-steel mass",
         [] {
             gInpSectC.Item(1)->Mass = 310.5;
             gInpSectLS.Item(3)->Mass = 61;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InitData();
        c.change();
        const Snapshot design = Snapshot::Take();
        const std::string bytes = DesignToBytes();
        EXPECT_EQ(Lines(bytes)[2], "INPUT FILE VERSION             [1.10]");
        ASSERT_TRUE(DesignFromBytes(bytes, err));
        design.ExpectCurrentEqual();
        EXPECT_EQ(DesignToBytes(), bytes);
    }
    InitData();
    gInpSectS.Item(2)->Mass = 125;
    const std::vector<std::string> l = Lines(DesignToBytes());
    EXPECT_EQ(l.back().substr(0, 27), " 12  0  125  0  103  150  0");
    // A count that is not the catalogue's is a damaged file.
    std::string bad = DesignToBytes();
    bad.replace(bad.rfind(" 12 "), 4, " 11 ");
    EXPECT_FALSE(DesignFromBytes(bad, err));
    EXPECT_EQ(err, 5);
}

// The design's references make a 1.10 file that ends with their count and a quoted line each,
// after the site's values; without them the file is the one written before they existed, byte
// for byte, and such a file reads with none. The count is held to a design's twenty, and an empty
// text is no reference.
TEST(DesignFileLayout, ReferencesFollowTheSiteInVersion110) {
    MakeNonDefaultDesign();
    const std::string classic = DesignToBytes();
    gInpJiban.Layers = {{-2.5, 0, 19, 9.5, 32, 0, 0, 5000}};
    const std::string layered = DesignToBytes();
    const std::vector<std::string> refs = {"道路土工－擁壁工指針（平成24年度版）",
                                           "\"社内\" 設計要領, 第3版 ①", "?R1 ＃"};
    gInpHyoshi.SankoBunken = refs;
    const std::string bytes = DesignToBytes();
    EXPECT_EQ(bytes.substr(0, layered.size()), layered);
    EXPECT_EQ(Lines(bytes.substr(layered.size())),
              Lines(cp932::FromUtf8(" 3 \r\n\"道路土工－擁壁工指針（平成24年度版）\"\r\n"
                                    "\"＂社内＂ 設計要領, 第3版 ①\"\r\n\"?R1 ＃\"\r\n")));
    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(bytes, err));
    EXPECT_EQ(gInpHyoshi.SankoBunken[1], "＂社内＂ 設計要領, 第3版 ①");
    EXPECT_EQ(DesignToBytes(), bytes);
    gInpJiban.Layers.clear();
    const std::string alone = DesignToBytes();
    EXPECT_EQ(Lines(alone)[2], "INPUT FILE VERSION             [1.10]");
    gInpHyoshi.SankoBunken.clear();
    EXPECT_EQ(DesignToBytes(), classic);

    struct Tail {
        std::string text;
        int32_t code;  // 0: read
        std::size_t read;
    };
    for (const Tail& t : {Tail{"", 0, 0}, Tail{" 0 \r\n", 0, 0}, Tail{" -2 \r\n", 0, 0},
                          Tail{" 2 \r\n\"a\"\r\n\"\"\r\n", 0, 1}, Tail{" 21 \r\n", 6, 0},
                          Tail{" 2 \r\n\"a\"\r\n", 62, 0}, Tail{" x \r\n", 13, 0}}) {
        SCOPED_TRACE(t.text);
        err = 0;
        EXPECT_EQ(DesignFromBytes(layered + t.text, err), t.code == 0);
        EXPECT_EQ(err, t.code);
        EXPECT_EQ(gInpHyoshi.SankoBunken.size(), t.read);
    }
}

TEST(DesignFileRoundTrip, DefaultDesignReadsBackEqual) {
    TempDir dir;
    const std::string path = dir.file("new.kvt");
    InitData();
    int32_t err = -1;
    ASSERT_TRUE(WriteData(path, err));
    EXPECT_EQ(err, -1);  // untouched on success
    MakeNonDefaultDesign();
    ASSERT_TRUE(ReadData(path, err));
    EXPECT_TRUE(CurrentDesignIsDefault());
    EXPECT_EQ(gInpSectC.Count() + gInpSectLS.Count() + gInpSectS.Count(), 3 + 11 + 12);
}

TEST(DesignFileRoundTrip, EveryFieldReadsBackIntoItsOwnPlace) {
    MakeNonDefaultDesign();
    const Snapshot before = Snapshot::Take();
    const std::string bytes = DesignToBytes();
    InitData();
    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(bytes, err));
    before.ExpectCurrentEqual();
    EXPECT_EQ(DesignToBytes(), bytes);  // canonical: a second write gives the same bytes
}

TEST(DesignFileRoundTrip, EmptyCataloguesStayEmpty) {
    InitData();
    gInpSectC.Clear();
    gInpSectLS.Clear();
    gInpSectS.Clear();
    const std::string bytes = DesignToBytes();
    const std::vector<std::string> l = Lines(bytes);
    ASSERT_EQ(l.size(), 49u + 3u + 6u);
    EXPECT_EQ(l[49], " 0 ");
    EXPECT_EQ(l[50], " 0 ");
    EXPECT_EQ(l[51], " 0 ");
    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(bytes, err));
    EXPECT_EQ(gInpSectC.Count(), 0);
    EXPECT_EQ(gInpSectLS.Count(), 0);
    EXPECT_EQ(gInpSectS.Count(), 0);
}

TEST(DesignFileRoundTrip, FullCataloguesOfThirtySections) {
    InitData();
    gInpSectC.Clear();
    gInpSectS.Clear();
    for (int i = 1; i <= kMaxSections; ++i) {
        gInpSectC.Add("C" + std::to_string(i), i % 3, 100.0 * i, 0.5 * i, 1, 2.0 + i);
        gInpSectS.Add("S" + std::to_string(i), 1000.0 + i, 10.0 + i, 900.0 + i, 9.0 + i);
    }
    const Snapshot before = Snapshot::Take();
    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(DesignToBytes(), err));
    before.ExpectCurrentEqual();
}

// Every value of at most 15 significant digits must come back as the same double.
TEST(DesignFileRoundTrip, NumbersOfFifteenDigitsComeBackExactly) {
    const double values[] = {0.1,
                             -0.1,
                             1.0 / 3.0 * 3.0,
                             123456789012345.0,
                             1e-5,
                             -1e-5,
                             0.000123456789012,
                             1e15,
                             1e300,
                             -2.5e-300,
                             999999999.9,
                             -999.99,
                             4.35,
                             0.30000000000000004 * 0.0 + 0.3,
                             12.3456789012345};
    for (double v : values) {
        InitData();
        gInpJyoken.ELGL = v;
        gInpSectS.Item(1)->Zo = v;
        gInpYaita.L = v;
        int32_t err = 0;
        ASSERT_TRUE(DesignFromBytes(DesignToBytes(), err)) << v;
        EXPECT_EQ(gInpJyoken.ELGL, v);
        EXPECT_EQ(gInpSectS.Item(1)->Zo, v);
        EXPECT_EQ(gInpYaita.L, v);
    }
}

// ---------------------------------------------------------------------------------------------
// The reader's item rules.

struct AcceptCase {
    const char* name;
    int line;
    std::string text;
    double elgl;  // expected CInpJyoken.ELGL when line 6 is changed, else ignored
};

TEST(DesignFileReader, AcceptsTheItemFormsOfTheClassicReader) {
    const std::vector<AcceptCase> cases = {
        {"no_blanks", 6, "4.5", 4.5},
        {"many_blanks", 6, "      4.5      ", 4.5},
        {"tab", 6, "\t4.5", 4.5},
        {"plus_sign", 6, "+4.5", 4.5},
        {"leading_point", 6, ".5", 0.5},
        {"negative_leading_point", 6, "-.5", -0.5},
        {"exponent", 6, "1E+02", 100},
        {"lower_exponent", 6, "2.5e-1", 0.25},
        {"underflow_is_zero", 6, "1e-400", 0.0},
        {"trailing_comma", 6, " 7 ,", 7},
        {"quoted_number", 6, "\"8\"", 8},
        {"empty_item_is_zero", 6, ",", 0},
    };
    for (const auto& c : cases) {
        int32_t err = 0;
        EXPECT_TRUE(DesignFromBytes(DefaultWithLine(c.line, c.text), err)) << c.name;
        EXPECT_EQ(gInpJyoken.ELGL, c.elgl) << c.name;
        EXPECT_EQ(gInpJyoken.ELYU, 4.0) << c.name;  // the next value is still in its place
    }
}

// Numbers as the reader takes most of them (a few digits, perhaps a sign and a point) and every
// other form: the same double as from_chars gives for the text, bit for bit.
TEST(DesignFileReader, NumberItemsReadAsFromCharsReadsThem) {
    std::mt19937_64 rng(17522);
    for (int k = 0; k < 20000; ++k) {
        std::string text = rng() % 4 == 0 ? "-" : "";
        const int digits = 1 + static_cast<int>(rng() % (k % 10 == 0 ? 24 : 16));
        const int point = static_cast<int>(rng() % static_cast<uint64_t>(digits + 2)) - 1;
        for (int d = 0; d < digits; ++d) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + (d == 0 && rng() % 3 == 0 ? 0 : rng() % 10));
        }
        if (k % 7 == 0) text += "e" + std::to_string(static_cast<int>(rng() % 40) - 20);
        double wanted = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), wanted);
        ASSERT_EQ(r.ptr, text.data() + text.size()) << text;
        int32_t err = 0;
        ASSERT_TRUE(DesignFromBytes(DefaultWithLine(6, " " + text + " "), err)) << text;
        ASSERT_EQ(std::bit_cast<uint64_t>(gInpJyoken.ELGL), std::bit_cast<uint64_t>(wanted))
            << text;
    }
}

TEST(DesignFileReader, LineBreaksAndBlanksBetweenItemsCarryNoMeaning) {
    InitData();
    std::vector<std::string> l = Lines(DesignToBytes());
    // ELGL … Z on one line separated by blanks and commas, the section line spread over lines.
    std::vector<std::string> m(l.begin(), l.begin() + 5);
    m.push_back(" 1.5 2.5,3.5   4.5 , 5.5");
    m.insert(m.end(), l.begin() + 10, l.begin() + 51);
    m.push_back("2");
    m.push_back("");
    m.push_back("  1041   5.5");
    m.push_back("2.5 4.5");
    m.insert(m.end(), l.begin() + 52, l.end());
    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(Join(m), err)) << err;
    EXPECT_EQ(gInpJyoken.ELGL, 1.5);
    EXPECT_EQ(gInpJyoken.ELYU, 2.5);
    EXPECT_EQ(gInpJyoken.ELDL, 3.5);
    EXPECT_EQ(gInpJyoken.ELWL, 4.5);
    EXPECT_EQ(gInpJyoken.Z, 5.5);
    EXPECT_EQ(*gInpSectC.Item(1), (CInpSectC{"50H", 2, 1041, 5.5, 2.5, 4.5}));
    EXPECT_EQ(gInpSectC.Item(2)->Name, "60H");
}

struct BoolCase {
    const char* name;
    std::string text;
    bool value;
};

TEST(DesignFileReader, BooleanPlacesTakeLiteralsAndNumbers) {
    const std::vector<BoolCase> cases = {
        {"true_literal", "#TRUE#", true},
        {"false_literal", "#FALSE#", false},
        {"one", "1", true},
        {"minus_one", "-1", true},
        {"zero", "0", false},
        {"fraction", "0.5", true},
    };
    for (const auto& c : cases) {
        int32_t err = 0;
        EXPECT_TRUE(DesignFromBytes(DefaultWithLine(4, c.text), err)) << c.name;
        EXPECT_EQ(gInpJyoken.InpFlg, c.value) << c.name;
    }
}

TEST(DesignFileReader, WholeNumberFieldsRoundToNearestEven) {
    const std::pair<std::string, int32_t> cases[] = {
        {"2", 2}, {"1.4", 1}, {"1.5", 2}, {"2.5", 2}, {"-0.5", 0}, {"2147483647", 2147483647}};
    for (const auto& [text, v] : cases) {
        int32_t err = 0;
        EXPECT_TRUE(DesignFromBytes(DefaultWithLine(11, text), err)) << text;
        EXPECT_EQ(gInpJyoken.Keijyo, v) << text;
    }
}

struct FailCase {
    const char* name;
    int line;
    std::string text;
    int32_t code;
};

TEST(DesignFileReader, BadItemsFailWithTheirCodeAndLeaveAFreshDesign) {
    const std::vector<FailCase> cases = {
        {"word_for_number", 6, "abc", 13},
        {"boolean_for_number", 6, "#TRUE#", 13},
        {"number_with_unit", 6, "4m", 13},
        {"two_points", 6, "4.5.6", 13},
        {"infinity_word", 6, "inf", 13},
        {"nan_word", 6, "nan", 13},
        {"hex", 6, "0x10", 13},
        {"lone_sign", 6, "-", 13},
        {"beyond_double", 6, "1e400", 6},
        {"word_for_boolean", 4, "#YES#", 13},
        {"long_too_big", 11, "1e10", 6},
        {"long_too_small", 11, "-2147483649", 6},
        {"count_above_capacity", 50, "31", 6},
        {"count_of_a_billion", 50, "1000000000", 6},
        {"count_huge", 50, "1e10", 6},
        {"count_word", 50, "three", 13},
        {"section_keijyo_word", 52, "x 1040 5.4 2 4", 13},
    };
    for (const auto& c : cases) {
        const std::string bytes = DefaultWithLine(c.line, c.text);
        MakeNonDefaultDesign();
        int32_t err = 0;
        EXPECT_FALSE(DesignFromBytes(bytes, err)) << c.name;
        EXPECT_EQ(err, c.code) << c.name;
        EXPECT_TRUE(CurrentDesignIsDefault()) << c.name;
    }
}

TEST(DesignFileReader, CountsOfZeroOrLessGiveEmptyCatalogues) {
    InitData();
    gInpSectC.Clear();
    gInpSectLS.Clear();
    gInpSectS.Clear();
    std::vector<std::string> l = Lines(DesignToBytes());
    l[49] = "-5";
    l[50] = "0";
    l[51] = "-2147483648";
    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(Join(l), err));
    EXPECT_EQ(gInpSectC.Count(), 0);
    EXPECT_EQ(gInpSectLS.Count(), 0);
    EXPECT_EQ(gInpSectS.Count(), 0);
    EXPECT_FALSE(gInpYaita.InpFlg);
}

TEST(DesignFileReader, AnythingAfterTheLastValueIsIgnored) {
    InitData();
    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(DesignToBytes() + "garbage \"unterminated\r\n#TRUE#\r\n", err));
    EXPECT_TRUE(CurrentDesignIsDefault());
}

// Each prefix of a valid file is a truncated file: all of them fail until the last value has
// begun, with code 62 (a cut inside a Boolean literal leaves a word that is no value: 13), and
// every failure leaves a fresh default design. (The cover's block after it is optional.)
TEST(DesignFileReader, EveryTruncationFailsWithEndOfFile) {
    MakeNonDefaultDesign();
    const std::string bytes = DesignToBytes(ClassicDesignFields());
    const std::size_t lastLine = bytes.rfind("\r\n", bytes.size() - 3) + 2;  // " 9.75 "
    const std::size_t lastDigit = lastLine + 1;
    for (std::size_t n = 0; n <= lastDigit; ++n) {
        gInpJyoken.Title = "stale";
        int32_t err = 0;
        const std::string cut = bytes.substr(0, n);
        ASSERT_FALSE(DesignFromBytes(cut, err)) << n;
        const bool atLineEnd = n == 0 || cut.back() == '\n';
        if (atLineEnd || err != 13) {
            ASSERT_EQ(err, 62) << n;
        }
        ASSERT_TRUE(CurrentDesignIsDefault()) << n;
    }
    int32_t err = 0;
    EXPECT_TRUE(DesignFromBytes(bytes.substr(0, lastDigit + 1), err));
    EXPECT_EQ(gInpYaita.L, 9.0);
}

// Random damage to a valid file must end in success or a coded failure with a fresh design.
TEST(DesignFileReader, DamagedFilesNeverCrash) {
    MakeNonDefaultDesign();
    const std::string good = DesignToBytes();
    std::mt19937 rng(20261209);
    const char alphabet[] = "\"#, \r\n-+.eE0123456789TRUEFALSx\x81\x46\xff";
    for (int round = 0; round < 3000; ++round) {
        std::string b = good;
        const int edits = 1 + static_cast<int>(rng() % 6);
        for (int e = 0; e < edits; ++e) {
            const std::size_t pos = rng() % b.size();
            switch (rng() % 3) {
                case 0:
                    b[pos] = alphabet[rng() % (sizeof alphabet - 1)];
                    break;
                case 1:
                    b.erase(pos, 1 + rng() % 8);
                    break;
                default:
                    b.insert(pos, 1, alphabet[rng() % (sizeof alphabet - 1)]);
                    break;
            }
            if (b.empty()) b = "x";
        }
        int32_t err = 0;
        if (!DesignFromBytes(b, err)) {
            ASSERT_TRUE(err == 6 || err == 13 || err == 62) << err;
            ASSERT_TRUE(CurrentDesignIsDefault());
        }
        ASSERT_LE(gInpSectC.Count(), kMaxSections);
        ASSERT_LE(gInpSectS.Count(), kMaxSections);
    }
}

TEST(DesignFileReader, GarbageAndOversizedInputAreRefused) {
    int32_t err = 0;
    EXPECT_FALSE(DesignFromBytes("", err));
    EXPECT_EQ(err, 62);
    EXPECT_FALSE(DesignFromBytes(std::string(5000, '\xff'), err));
    EXPECT_EQ(err, 62);  // one endless line: the header swallows it all
    EXPECT_FALSE(DesignFromBytes("a\r\nb\r\nc\r\n" + std::string(100000, 'x'), err));
    EXPECT_EQ(err, 13);
    EXPECT_FALSE(DesignFromBytes(DesignToBytes() + std::string(2u << 20, ' '), err));
    EXPECT_EQ(err, 57);
    EXPECT_TRUE(CurrentDesignIsDefault());
}

// ---------------------------------------------------------------------------------------------
// Version probe and pre-read check.

TEST(DesignFileVersion, ProbeReadsLineThreeAfterColumn32) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        std::string version;
    };
    InitData();
    const std::string good = DesignToBytes();
    const std::vector<Case> cases = {
        {"written_file", good, "1.00"},
        {"version_1_01", DefaultWithLine(3, "INPUT FILE VERSION             [1.01]"), "1.01"},
        {"lf_only_lines", "a\nb\nINPUT FILE VERSION             [1.00]\n", "1.00"},
        {"last_line_unterminated", "a\r\nb\r\nINPUT FILE VERSION             [1.00]", "1.00"},
        {"two_lines", "a\r\nb\r\n", "error"},
        {"short_line_3", "a\r\nb\r\nINPUT FILE VERSION [1.00]\r\n", "error"},
        {"column_33_only", "a\r\nb\r\n" + std::string(32, ' ') + "]\r\n", ""},
        {"empty", "", "error"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file(std::string(c.name) + ".kvt");
        WriteBytes(path, c.bytes);
        EXPECT_EQ(GetFileVersion(path), c.version) << c.name;
    }
    EXPECT_EQ(GetFileVersion(dir.file("missing.kvt")), "error");
    EXPECT_EQ(GetFileVersion(dir.path().string()), "error");
}

TEST(DesignFileVersion, PreReadCheckWantsTheExtensionAndVersion100) {
    TempDir dir;
    InitData();
    const std::string good = DesignToBytes();
    struct Case {
        const char* file;
        std::string bytes;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"a.kvt", good, true},
        {"b.KVT", good, true},
        {"c.Kvt", good, true},
        {"d.kv", good, false},
        {"e.kvt.bak", good, false},
        {"f.txt", good, false},
        {"g.kvt", DefaultWithLine(3, "INPUT FILE VERSION             [1.01]"), false},
        {"h.kvt", DefaultWithLine(3, "INPUT FILE VERSION             [1.00 ]"), false},
    };
    MakeNonDefaultDesign();
    const Snapshot before = Snapshot::Take();
    for (const auto& c : cases) {
        WriteBytes(dir.file(c.file), c.bytes);
        EXPECT_EQ(PreReadCheck(dir.file(c.file)), c.accepted) << c.file;
    }
    EXPECT_FALSE(PreReadCheck(dir.file("missing.kvt")));
    EXPECT_FALSE(PreReadCheck(""));
    before.ExpectCurrentEqual();  // the check never touches the current design
}

// A batch reads a design file once for the check and the read: the same outcome, code and
// design left behind as PreReadCheck followed by ReadData.
TEST(DesignFileVersion, CheckAndReadDataIsTheCheckThenTheRead) {
    TempDir dir;
    InitData();
    const std::string good = DesignToBytes();
    std::string truncated = good;
    truncated.resize(good.size() / 2);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"good.kvt", good},
        {"good.KVT", good},
        {"good.txt", good},
        {"version.kvt", DefaultWithLine(3, "INPUT FILE VERSION             [1.01]")},
        {"mismatch.kvt", DefaultWithLine(6, "abc")},
        {"overflow.kvt", DefaultWithLine(6, "1e400")},
        {"truncated.kvt", truncated},
        {"two-lines.kvt", "a\r\nb\r\n"},
    };
    for (const auto& [name, bytes] : files) WriteBytes(dir.file(name), bytes);
    fs::create_directory(dir.file("folder.kvt"));
    std::vector<std::string> paths = {dir.file("missing.kvt"), dir.file("folder.kvt"), ""};
    for (const auto& f : files) paths.push_back(dir.file(f.first));
    for (const std::string& path : paths) {
        MakeNonDefaultDesign();
        int32_t wantedCode = 0;
        const bool wanted = PreReadCheck(path) && ReadData(path, wantedCode);
        const Snapshot after = Snapshot::Take();
        MakeNonDefaultDesign();
        int32_t code = -1;
        EXPECT_EQ(CheckAndReadData(path, code), wanted) << path;
        EXPECT_EQ(code, wanted ? -1 : wantedCode) << path;
        after.ExpectCurrentEqual();
    }
}

// ---------------------------------------------------------------------------------------------
// Messages.

TEST(DesignFileMessages, TextsTitlesAndCodeFormat) {
    const std::string tail =
        "\n\nお問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。";
    const Message r = ReadFailureMessage(53);
    EXPECT_EQ(r.text,
              "指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。（ｴﾗｰｺｰﾄﾞ ： 53）" + tail);
    EXPECT_EQ(r.title, "ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ");
    EXPECT_EQ(r.code, 53);
    EXPECT_EQ(r.icon, MsgIcon::Error);
    EXPECT_EQ(r.buttons, MsgButtons::Ok);
    EXPECT_EQ(ReadFailureMessage(0).text,
              "指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。（ｴﾗｰｺｰﾄﾞ ： 0）" + tail);

    const Message w = WriteFailureMessage(1004);
    EXPECT_EQ(w.text, "入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。（ｴﾗｰｺｰﾄﾞ ： 1,004）" + tail);
    EXPECT_EQ(w.title, "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ");
    EXPECT_EQ(w.icon, MsgIcon::Error);
    EXPECT_EQ(w.buttons, MsgButtons::Ok);
}

// ---------------------------------------------------------------------------------------------
// Files on disk: operating-system failures.

TEST(DesignFileDisk, ReadFailuresFromTheFileSystem) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string path;
        int32_t code;
    };
    const std::vector<Case> cases = {
        {"missing_file", dir.file("missing.kvt"), 53},
        {"missing_folder", dir.file("nofolder/x.kvt"), 76},
        {"folder_as_file", dir.path().string(), 75},
    };
    for (const auto& c : cases) {
        MakeNonDefaultDesign();
        int32_t err = 0;
        EXPECT_FALSE(ReadData(c.path, err)) << c.name;
        EXPECT_EQ(err, c.code) << c.name;
        EXPECT_TRUE(CurrentDesignIsDefault()) << c.name;
    }
}

// Runs `fn` in a child process without the power to bypass file modes (a fresh user namespace
// when we are root) and returns its exit status, or -1 when that is not possible here.
template <class Fn>
int RunUnprivileged(Fn fn) {
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (geteuid() == 0 && unshare(CLONE_NEWUSER) != 0) _exit(255);
        _exit(fn());
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status) == 255 ? -1 : WEXITSTATUS(status);
}

TEST(DesignFileDisk, UnreadableFileIsPermissionDenied) {
    TempDir dir;
    const std::string path = dir.file("locked.kvt");
    InitData();
    int32_t err = 0;
    ASSERT_TRUE(WriteData(path, err));
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    const int code = RunUnprivileged([&] {
        int32_t e = 0;
        if (ReadData(path, e)) return 1;
        return CurrentDesignIsDefault() ? static_cast<int>(e) : 2;
    });
    if (code < 0) GTEST_SKIP() << "no way to drop the right to read every file";
    EXPECT_EQ(code, 70);
    EXPECT_EQ(GetFileVersion(path), geteuid() == 0 ? "1.00" : "error");
}

TEST(DesignFileDisk, WriteIntoAMissingFolderFails) {
    TempDir dir;
    InitData();
    int32_t err = 0;
    EXPECT_FALSE(WriteData(dir.file("nofolder/x.kvt"), err));
    EXPECT_EQ(err, 76);
    EXPECT_FALSE(WriteData(dir.path().string(), err));
    EXPECT_NE(err, 0);
    EXPECT_TRUE(fs::is_directory(dir.path()));
}

// A small file system of our own: mounted for one test, detached afterwards.
class MountedFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "mounting needs root";
        mnt_ = dir_.file("mnt");
        fs::create_directory(mnt_);
        if (mount("tmpfs", mnt_.c_str(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "mount is not available here";
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) umount2(mnt_.c_str(), MNT_DETACH);
    }
    void Remount(unsigned long flags, const char* opts) {
        ASSERT_EQ(mount("tmpfs", mnt_.c_str(), "tmpfs", MS_REMOUNT | flags, opts), 0);
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> e;
        for (const auto& d : fs::directory_iterator(mnt_)) e.push_back(d.path().filename());
        return e;
    }

    TempDir dir_;
    std::string mnt_;
    bool mounted_ = false;
};

TEST_F(MountedFolder, FailedSaveOnFullDiskKeepsTheOldFile) {
    const std::string path = mnt_ + "/design.kvt";
    InitData();
    int32_t err = 0;
    ASSERT_TRUE(WriteData(path, err));
    const std::string old = ReadBytes(path);
    // Fill the rest of the file system so the bigger new design cannot fit.
    {
        std::FILE* f = std::fopen((mnt_ + "/filler").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const std::string block(4096, 'x');
        while (std::fwrite(block.data(), 1, block.size(), f) == block.size() &&
               std::fflush(f) == 0) {
        }
        std::fclose(f);
    }
    gInpSectLS.Clear();
    for (int i = 1; i <= kMaxSections; ++i)
        gInpSectLS.Add("LONG-NAME-" + std::to_string(i), 1, 2, 3, 4);
    const Snapshot before = Snapshot::Take();
    err = 0;
    EXPECT_FALSE(WriteData(path, err));
    EXPECT_EQ(err, 61);
    EXPECT_EQ(ReadBytes(path), old);
    std::vector<std::string> e = Entries();
    std::sort(e.begin(), e.end());
    EXPECT_EQ(e, (std::vector<std::string>{"design.kvt", "filler"}));
    before.ExpectCurrentEqual();  // the design is not touched by a failed save
    EXPECT_EQ(WriteFailureMessage(err).text.find("（ｴﾗｰｺｰﾄﾞ ： 61）") != std::string::npos, true);
}

TEST_F(MountedFolder, FailedSaveOnReadOnlyDiskKeepsTheOldFile) {
    const std::string path = mnt_ + "/design.kvt";
    InitData();
    int32_t err = 0;
    ASSERT_TRUE(WriteData(path, err));
    const std::string old = ReadBytes(path);
    Remount(MS_RDONLY, "size=64k");
    MakeNonDefaultDesign();
    err = 0;
    EXPECT_FALSE(WriteData(path, err));
    EXPECT_NE(err, 0);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"design.kvt"});
    // The old file still opens.
    EXPECT_TRUE(PreReadCheck(path));
    EXPECT_TRUE(ReadData(path, err));
    EXPECT_TRUE(CurrentDesignIsDefault());
}

}  // namespace
}  // namespace kuvelt
