#include "io/design_file.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/design.h"
#include "model/design_fields.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/numfmt.h"
#include "platform/vberror.h"

namespace kuvelt {
namespace {

// A design file holds at most 3 × 30 sections of a few dozen bytes each; anything near this size
// is not a design file, and refusing it keeps the reader from allocating without limit.
constexpr std::size_t kMaxDesignFileBytes = 1u << 20;

constexpr std::string_view kHeader1 = "VOSTRAND INPUT FILE FORMAT V1：";
constexpr std::string_view kHeader2 = "PRODUCT NAME                   [Kuvelt]";
// Line 3 is this, the version and "]": the version stands from column 33.
constexpr std::string_view kHeader3 = "INPUT FILE VERSION             [";
static_assert(kHeader3.size() == 32);
constexpr std::string_view kCrLf = "\r\n";

// ---------------------------------------------------------------------------------------------
// Writer

class DesignWriter {
  public:
    void Line(std::string_view utf8) {
        out_ += cp932::FromUtf8(utf8);
        out_ += kCrLf;
    }
    // One value of the design: Booleans as "#TRUE#" / "#FALSE#", texts quoted, numbers with
    // their blanks. A Joined value leaves its line open for the next one.
    template <class T>
    void Value(const T& v, FileForm form) {
        if constexpr (std::is_same_v<T, bool>) {
            line_ += v ? "#TRUE#" : "#FALSE#";
        } else if constexpr (std::is_same_v<T, std::string>) {
            line_ += Quoted(v);
        } else {
            line_ += NumText(static_cast<double>(v));
        }
        if (form == FileForm::Line) {
            Line(line_);
            line_.clear();
        }
    }
    // The file, its last line ended even when its last value was a Joined one.
    std::string Take() {
        if (!line_.empty()) Line(std::exchange(line_, {}));
        return std::move(out_);
    }

    // One blank before a number that is not negative, one blank after every number.
    static std::string NumText(double v) {
        std::string t = numfmt::General(v);
        if (t.empty() || t[0] != '-') t.insert(t.begin(), ' ');
        t += ' ';
        return t;
    }

  private:
    // The format has no escape for a double quote inside a quoted text: one written as it is
    // would end the text early and make the whole file unreadable, so it is saved as the
    // full-width quote.
    static std::string Quoted(const std::string& s) {
        std::string t;
        t.reserve(s.size() + 2);
        t += '"';
        for (char c : s) {
            if (c == '"') {
                t += "＂";
            } else {
                t += c;
            }
        }
        t += '"';
        return t;
    }

    std::string out_;
    std::string line_;
};

// Line 1 shows the title for people looking at the file. A line break in the title would push
// the version out of line 3 and make the saved file unreadable, so line 1 gets blanks instead;
// the quoted title in the body keeps the true text. A double quote shows as the full-width one
// the body saves, so the file written again after reading it back is the same file.
std::string HeaderTitle(const std::string& title) {
    std::string t;
    t.reserve(title.size());
    for (char c : title) {
        if (c == '\r' || c == '\n') {
            t += ' ';
        } else if (c == '"') {
            t += "＂";
        } else {
            t += c;
        }
    }
    return t;
}

// ---------------------------------------------------------------------------------------------
// Reader: the classic sequential item reader over the file's bytes.

class ReadFailure {
  public:
    explicit ReadFailure(int32_t code) : code(code) {}
    int32_t code;
};

class ItemReader {
  public:
    explicit ItemReader(std::string_view bytes) : b_(bytes) {}

    // Reads and discards one whole line (CR LF, CR or LF ends it).
    void SkipLine() {
        at_ = p_;
        if (p_ >= b_.size()) throw ReadFailure(vberr::kPastEndOfFile);
        while (p_ < b_.size() && b_[p_] != '\r' && b_[p_] != '\n') ++p_;
        if (p_ < b_.size() && b_[p_] == '\r') ++p_;
        if (p_ < b_.size() && b_[p_] == '\n') ++p_;
    }

    // One input item. `quoted` tells whether it was written between double quotes.
    std::string_view Item(bool* quoted = nullptr) {
        while (p_ < b_.size() && IsSpace(b_[p_])) ++p_;
        at_ = p_;
        if (p_ >= b_.size()) throw ReadFailure(vberr::kPastEndOfFile);
        std::string_view item;
        bool q = false;
        if (b_[p_] == '"') {
            q = true;
            const std::size_t start = ++p_;
            // cp932 trail bytes start at 0x40, so a 0x22 byte is always a real double quote.
            while (p_ < b_.size() && b_[p_] != '"') ++p_;
            item = b_.substr(start, p_ - start);
            if (p_ < b_.size()) ++p_;  // the closing quote
            while (p_ < b_.size() && IsBlank(b_[p_])) ++p_;
        } else {
            const std::size_t start = p_;
            p_ = ItemEnd(b_, p_);
            item = b_.substr(start, p_ - start);
            while (p_ < b_.size() && IsBlank(b_[p_])) ++p_;
        }
        // The delimiter that ends the item belongs to it.
        if (p_ < b_.size() && b_[p_] == ',') {
            ++p_;
        } else if (p_ < b_.size() && b_[p_] == '\r') {
            ++p_;
            if (p_ < b_.size() && b_[p_] == '\n') ++p_;
        } else if (p_ < b_.size() && b_[p_] == '\n') {
            ++p_;
        }
        if (quoted) *quoted = q;
        return item;
    }

    double Double() {
        bool quoted = false;
        const std::string_view t = Item(&quoted);
        return ParseDouble(t);
    }

    int32_t Long() {
        const double d = Double();
        // A whole-number field takes the nearest integer, ties to even: files written by other
        // tools may hold "2.5" where a kind or count belongs, and have always been read so.
        const double r = std::nearbyint(d);
        if (!(r >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
              r <= static_cast<double>(std::numeric_limits<int32_t>::max())))
            throw ReadFailure(vberr::kOverflow);
        return static_cast<int32_t>(r);
    }

    bool Bool() {
        bool quoted = false;
        const std::string_view t = Item(&quoted);
        if (!quoted) {
            if (t == "#TRUE#") return true;
            if (t == "#FALSE#") return false;
        }
        return ParseDouble(t) != 0.0;
    }

    std::string String() { return cp932::ToUtf8(Item()); }

    // The next item is written between double quotes (false at the end).
    bool NextIsQuoted() const {
        std::size_t p = p_;
        while (p < b_.size() && IsSpace(b_[p])) ++p;
        return p < b_.size() && b_[p] == '"';
    }

    // The line (from 1) of the item read last: where a failure is to be looked for.
    std::size_t Line() const {
        std::size_t line = 1;
        for (std::size_t p = 0; p < at_ && p < b_.size(); ++p) {
            if (b_[p] == '\n' || (b_[p] == '\r' && (p + 1 >= b_.size() || b_[p + 1] != '\n')))
                ++line;
        }
        // Past the end, the line the file ends in (not the empty one after its last line end).
        if (at_ >= b_.size() && line > 1 && (b_.back() == '\n' || b_.back() == '\r')) --line;
        return line;
    }

    // Nothing but blanks and line ends is left.
    bool AtEnd() const {
        for (std::size_t p = p_; p < b_.size(); ++p) {
            if (!IsSpace(b_[p])) return false;
        }
        return true;
    }

  private:
    // What ends an item that is not quoted: a blank, a comma or a line end.
    static constexpr auto kEndsItem = [] {
        std::array<bool, 256> t{};
        for (unsigned char c : {' ', '\t', ',', '\r', '\n'}) t[c] = true;
        return t;
    }();
    // The end of an unquoted item that starts at i. Every byte that can end it lies below
    // 0x2D; words of eight bytes none of which does are passed over in one step (what they
    // hold, digits, points, minus signs and letters, never ends an item).
    static std::size_t ItemEnd(std::string_view b, std::size_t i) {
        constexpr uint64_t kOnes = 0x0101010101010101ULL;
        while (i + 8 <= b.size()) {
            uint64_t w = 0;
            std::memcpy(&w, b.data() + i, 8);
            if (((w - kOnes * 0x2D) & ~w & (kOnes * 0x80)) != 0) break;  // a byte below 0x2D
            i += 8;
        }
        while (i < b.size() && !kEndsItem[static_cast<unsigned char>(b[i])]) ++i;
        return i;
    }
    static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
    static bool IsSpace(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }

    // The usual item, a few digits with or without a point ("2.63", "-17522"): at most 15
    // digits are exactly a double, and so are the powers of ten up to 10^22, so one division
    // is the correctly rounded value, the one from_chars gives. False for anything else.
    static bool ParsePlainDecimal(std::string_view s, double& v) {
        std::size_t i = 0;
        const bool negative = !s.empty() && s[0] == '-';
        if (negative) ++i;
        uint64_t n = 0;
        int digits = 0, decimals = 0;
        bool point = false;
        for (; i < s.size(); ++i) {
            const char c = s[i];
            if (c >= '0' && c <= '9') {
                if (++digits > 15) return false;
                n = n * 10 + static_cast<uint64_t>(c - '0');
                if (point) ++decimals;
            } else if (c == '.' && !point) {
                point = true;
            } else {
                return false;
            }
        }
        if (digits == 0) return false;
        static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const double m = static_cast<double>(n) / kPow10[decimals];
        v = negative ? -m : m;
        return true;
    }

    static double ParseDouble(std::string_view t) {
        if (t.empty()) return 0.0;  // an empty item reads as zero
        std::string_view s = t;
        if (s.front() == '+') s.remove_prefix(1);
        if (double v = 0.0; ParsePlainDecimal(s, v)) return v;
        // Only plain decimal notation: no "inf", "nan", hexadecimal or Boolean literals.
        bool digit = false;
        for (char c : s) {
            if (c >= '0' && c <= '9') {
                digit = true;
            } else if (c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E') {
                throw ReadFailure(vberr::kTypeMismatch);
            }
        }
        if (!digit) throw ReadFailure(vberr::kTypeMismatch);
        double v = 0.0;
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        if (ec == std::errc::result_out_of_range) {
            // Underflow towards zero is harmless; a value beyond the double range is an overflow.
            bool tiny = false;
            const auto e = s.find_first_of("eE");
            if (e != std::string_view::npos) tiny = s.substr(e + 1).find('-') == 0;
            if (tiny) return 0.0;
            throw ReadFailure(vberr::kOverflow);
        }
        if (ec != std::errc() || end != s.data() + s.size())
            throw ReadFailure(vberr::kTypeMismatch);
        return v;
    }

    std::string_view b_;
    std::size_t p_ = 0;
    std::size_t at_ = 0;  // where the item read last begins
};

// A catalogue count: above the capacity is refused, zero or less is an empty catalogue.
int32_t ReadCount(ItemReader& r) {
    const int32_t n = r.Long();
    if (n > kMaxSections) throw ReadFailure(vberr::kOverflow);
    return n < 0 ? 0 : n;
}

void ReadValue(ItemReader& r, const DesignField& f, void* record) {
    VisitField(f, record, [&r](auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
            v = r.Bool();
        } else if constexpr (std::is_same_v<T, int32_t>) {
            v = r.Long();
        } else if constexpr (std::is_same_v<T, double>) {
            v = r.Double();
        } else {
            v = r.String();
        }
    });
}

// Empties the catalogue (its built-in rows go), then appends the sections the file lists.
template <class Col>
void ReadCatalogue(ItemReader& r, Col& c, std::span<const DesignField> rowFields) {
    c.Clear();
    const int32_t n = ReadCount(r);
    for (int32_t i = 0; i < n; ++i) {
        std::decay_t<decltype(*c.begin())> row{};
        for (const DesignField& f : rowFields) ReadValue(r, f, &row);
        c.AddItem(std::move(row));
    }
}

// The site's values of an extended file: the channel water level, the wall friction angles, the
// number of layers below the first and their rows.
void ReadSite(ItemReader& r) {
    for (const DesignField& f : SiteFields()) ReadValue(r, f, CurrentRecord(f.record));
    const int32_t n = r.Long();
    if (n > kMaxGroundLayers - 1) throw ReadFailure(vberr::kOverflow);
    gInpJiban.Layers.clear();
    for (int32_t i = 0; i < n; ++i) {
        CInpJibanLayer layer{};
        for (const DesignField& f : LayerFields()) ReadValue(r, f, &layer);
        gInpJiban.Layers.push_back(layer);
    }
}

// A classic file holds no masses: its steel rows that are built-in sections unchanged take their
// standard masses, every other row none.
void GiveStandardMasses() {
    for (CInpSectC& row : gInpSectC) row.Mass = 0.0;
    for (CInpSectS& row : gInpSectLS) row.Mass = 0.0;
    for (CInpSectS& row : gInpSectS) row.Mass = StandardMass(row);
}

// Whether a row's mass is other than the one GiveStandardMasses gives it.
bool MassesGiven() {
    const auto given = [](const auto& c, auto standard) {
        for (const auto& row : c) {
            if (row.Mass != standard(row)) return true;
        }
        return false;
    };
    const auto none = [](const auto&) { return 0.0; };
    return given(gInpSectC, none) || given(gInpSectLS, none) ||
           given(gInpSectS, [](const CInpSectS& row) { return StandardMass(row); });
}

// The masses of the catalogues' rows, at the end of an extended file when some row's mass is not
// the one a classic file gives it: a line for each catalogue (concrete, light steel, steel), its
// number of rows and their masses in row order. A file that ends before them gives the rows the
// classic file's masses.
void ReadMasses(ItemReader& r) {
    if (r.AtEnd()) {
        GiveStandardMasses();
        return;
    }
    const auto read = [&](auto& c) {
        if (r.Long() != c.Count()) throw ReadFailure(vberr::kInvalidCall);
        for (auto& row : c) row.Mass = r.Double();
    };
    read(gInpSectC);
    read(gInpSectLS);
    read(gInpSectS);
}

void WriteMasses(DesignWriter& w) {
    if (!MassesGiven()) return;
    const auto write = [&](const auto& c) {
        w.Value(c.Count(), c.Count() == 0 ? FileForm::Line : FileForm::Joined);
        int32_t i = 0;
        for (const auto& row : c) {
            w.Value(row.Mass, ++i == c.Count() ? FileForm::Line : FileForm::Joined);
        }
    };
    write(gInpSectC);
    write(gInpSectLS);
    write(gInpSectS);
}

// The design's references in an extended file, after the site's values: their number and one
// quoted text a line. A file that ends before them (written before they existed, or by a design
// without them) has none; an empty text is no reference and is left out.
void ReadReferences(ItemReader& r) {
    std::vector<std::string>& refs = gInpHyoshi.SankoBunken;
    refs.clear();
    if (r.AtEnd()) return;
    const int32_t n = r.Long();
    if (n > kMaxReferences) throw ReadFailure(vberr::kOverflow);
    for (int32_t i = 0; i < n; ++i) {
        std::string text = r.String();
        if (!text.empty()) refs.push_back(std::move(text));
    }
}

void WriteReferences(DesignWriter& w) {
    const std::vector<std::string>& refs = gInpHyoshi.SankoBunken;
    // Without references the file ends as before they existed, unless the masses follow.
    if (refs.empty() && !MassesGiven()) return;
    w.Value(static_cast<int32_t>(refs.size()), FileForm::Line);
    for (const std::string& text : refs) w.Value(text, FileForm::Line);
}

// `extended`: the file says kExtendedFileVersion, so the cover's block is there whole and the
// site's values and the references follow it.
void ReadDesign(ItemReader& r, std::span<const DesignField> fields, bool extended) {
    for (int i = 0; i < 3; ++i) r.SkipLine();
    for (const DesignField& f : fields) {
        // A file written before an optional field existed ends here; the rest keep their
        // defaults. The classic reader ignores whatever follows CInpYaita.L, so an unquoted item
        // where an optional text belongs is not ours either: it is left unread as before.
        if (!extended && f.optional &&
            (r.AtEnd() || (f.type == FieldType::Text && !r.NextIsQuoted())))
            break;
        if (f.type == FieldType::Rows) {
            VisitCatalogue(f.catalogue,
                           [&](auto& c) { ReadCatalogue(r, c, RowFields(f.catalogue)); });
        } else {
            ReadValue(r, f, CurrentRecord(f.record));
        }
    }
    if (extended) {
        ReadSite(r);
        ReadReferences(r);
        ReadMasses(r);
    } else {
        GiveStandardMasses();
    }
    // Whatever follows the last field is ignored.
}

// The header and the values of `fields`; `extended` writes the version kExtendedFileVersion, the
// optional fields whole and the site's values after them.
std::string WriteDesign(std::span<const DesignField> fields, bool extended) {
    DesignWriter w;
    w.Line(std::string(kHeader1) + HeaderTitle(gInpJyoken.Title));
    w.Line(kHeader2);
    w.Line(std::string(kHeader3) +
           std::string(extended ? kExtendedFileVersion : kDesignFileVersion) + "]");

    // Optional fields at the end that hold what a new design holds are left out, so a design
    // that never had them is written as the classic layout, byte for byte; the reader gives a
    // field missing at the end its default. An extended file holds them all, so the reader
    // finds the site's values where they begin.
    std::size_t end = fields.size();
    while (!extended && end > 0 && fields[end - 1].optional &&
           AtDefault(fields[end - 1], CurrentRecord(fields[end - 1].record))) {
        --end;
    }
    for (const DesignField& f : fields.first(end)) {
        if (f.type == FieldType::Rows) {
            VisitCatalogue(f.catalogue, [&](const auto& c) {
                w.Value(c.Count(), FileForm::Line);
                for (const auto& row : c) {
                    for (const DesignField& rf : RowFields(f.catalogue)) {
                        VisitField(rf, &row, [&](const auto& v) { w.Value(v, rf.file); });
                    }
                }
            });
        } else {
            VisitField(f, CurrentRecord(f.record), [&](const auto& v) { w.Value(v, f.file); });
        }
    }
    if (extended) {
        for (const DesignField& f : SiteFields()) {
            VisitField(f, CurrentRecord(f.record),
                       [&](const auto& v) { w.Value(v, FileForm::Line); });
        }
        w.Value(static_cast<int32_t>(gInpJiban.Layers.size()), FileForm::Line);
        const std::span<const DesignField> columns = LayerFields();
        for (const CInpJibanLayer& layer : gInpJiban.Layers) {
            for (const DesignField& f : columns) {
                const FileForm form = &f == &columns.back() ? FileForm::Line : FileForm::Joined;
                VisitField(f, &layer, [&](const auto& v) { w.Value(v, form); });
            }
        }
        WriteReferences(w);
        WriteMasses(w);
    }
    return w.Take();
}

std::string VersionOf(std::string_view b);

}  // namespace

bool NeedsExtendedLayout() {
    if (!gInpJiban.Layers.empty() || !gInpHyoshi.SankoBunken.empty()) return true;
    if (MassesGiven()) return true;
    for (const DesignField& f : SiteFields()) {
        if (!AtDefault(f, CurrentRecord(f.record))) return true;
    }
    return false;
}

bool ReadableFileVersion(std::string_view version) {
    return version == kDesignFileVersion || version == kExtendedFileVersion;
}

std::string DesignToBytes() { return WriteDesign(DesignFields(), NeedsExtendedLayout()); }

std::string DesignToBytes(std::span<const DesignField> fields) {
    return WriteDesign(fields, false);
}

namespace {
bool ReadValues(const std::string& bytes, std::span<const DesignField> fields, bool extended,
                int32_t& code, std::string* reason);
}  // namespace

bool DesignFromBytes(const std::string& bytes, int32_t& lngErr) {
    InitData();
    const bool extended = VersionOf(bytes) == kExtendedFileVersion;
    if (ReadValues(bytes, DesignFields(), extended, lngErr, nullptr)) return true;
    InitData();
    return false;
}

namespace {

// The cause of a reader's failure at `line`, in the user's words.
std::string ReadCause(int32_t code, std::size_t line) {
    const std::string at = std::to_string(line) + "行目";
    switch (code) {
        case vberr::kPastEndOfFile:
            return "全ての値を読み込む前に" + at + "でﾌｧｲﾙが終わっています";
        case vberr::kTypeMismatch:
            return at + "：数値のはずの項目が数値ではありません";
        case vberr::kOverflow:
            return at + "：数値が大きすぎるか，断面の数が" + std::to_string(kMaxSections) +
                   "を超えています";
        default:
            return at + "を読み込めません";
    }
}

// Reads the values of `bytes` into the current design, which the caller has made a fresh
// default one. On failure the code and, when asked, the cause with the line it lies in.
bool ReadValues(const std::string& bytes, std::span<const DesignField> fields, bool extended,
                int32_t& code, std::string* reason) {
    if (bytes.size() > kMaxDesignFileBytes) {
        code = vberr::kDeviceIO;
        if (reason) *reason = "ﾌｧｲﾙが大きすぎます";
        return false;
    }
    ItemReader r(bytes);
    try {
        ReadDesign(r, fields, extended);
        return true;
    } catch (const ReadFailure& f) {
        code = f.code;
        if (reason) *reason = ReadCause(f.code, r.Line());
    } catch (const std::bad_alloc&) {
        code = vberr::kDeviceIO;
        if (reason) *reason = "ﾒﾓﾘが足りません";
    }
    return false;
}

}  // namespace

bool DesignFromBytes(const std::string& bytes, int32_t& lngErr,
                     std::span<const DesignField> fields) {
    InitData();
    if (ReadValues(bytes, fields, false, lngErr, nullptr)) return true;
    InitData();
    return false;
}

bool WriteData(const std::string& path, int32_t& lngErr) {
    files::Failure failure;
    if (WriteData(path, failure)) return true;
    lngErr = failure.code;
    return false;
}

bool WriteData(const std::string& path, files::Failure& failure) {
    failure = {};
    if (files::ReplaceFile(path, DesignToBytes(), failure)) return true;
    if (failure.code == 0) failure.code = vberr::kPathFileAccess;
    return false;
}

bool ReadData(const std::string& path, int32_t& lngErr) {
    std::string bytes;
    int32_t code = 0;
    if (!files::ReadAll(path, bytes, code, kMaxDesignFileBytes)) {
        InitData();
        lngErr = code != 0 ? code : vberr::kPathFileAccess;
        return false;
    }
    return DesignFromBytes(bytes, lngErr);
}

namespace {

std::string VersionOf(std::string_view b) {
    // Three lines as the line reader sees them: CR LF, CR or LF ends a line.
    std::size_t p = 0;
    std::string_view line;
    for (int i = 0; i < 3; ++i) {
        if (p >= b.size()) return "error";
        const std::size_t start = p;
        while (p < b.size() && b[p] != '\r' && b[p] != '\n') ++p;
        line = b.substr(start, p - start);
        if (p < b.size() && b[p] == '\r') ++p;
        if (p < b.size() && b[p] == '\n') ++p;
    }
    // Columns count characters, not bytes.
    const std::string text = cp932::ToUtf8(line);
    std::size_t chars = 0;
    std::size_t from = std::string::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        ++chars;
        if (chars == 33) from = i;
    }
    if (from == std::string::npos) return "error";
    std::string rest = text.substr(from);
    // Drop the last character (the closing bracket), whatever its byte length.
    std::size_t cut = rest.size();
    while (cut > 0) {
        --cut;
        if ((static_cast<unsigned char>(rest[cut]) & 0xC0) != 0x80) break;
    }
    rest.resize(cut);
    return rest;
}

bool HasDesignExtension(const std::string& path) {
    if (path.size() < 3) return false;
    std::string ext = path.substr(path.size() - 3);
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return ext == "KVT";
}

// Why bytes whose version is none this program reads are no design file it reads.
std::string NotADesignCause(std::string_view b, const std::string& version) {
    if (b.empty()) return "ﾌｧｲﾙが空です（0ﾊﾞｲﾄ）";
    // A text file holds no control bytes but tabs, line ends and the old end-of-file mark.
    for (unsigned char c : b.substr(0, 4096)) {
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != 0x0C && c != 0x1A)
            return "ﾃｷｽﾄﾌｧｲﾙではありません";
    }
    const std::size_t end1 = b.find_first_of("\r\n");
    std::size_t start2 = end1 == std::string_view::npos ? b.size() : end1 + 1;
    if (start2 < b.size() && b[start2 - 1] == '\r' && b[start2] == '\n') ++start2;
    const std::string_view line2 = b.substr(start2, kHeader2.size());
    if (version == "error" || line2 != kHeader2)
        return "Kuvelt の入力ﾃﾞｰﾀﾌｧｲﾙではありません（2～3行目に製品名とﾊﾞｰｼﾞｮﾝがありません）";
    return "ﾊﾞｰｼﾞｮﾝ「" + version.substr(0, 20) +
           "」の入力ﾃﾞｰﾀﾌｧｲﾙは読み込めません（読み込めるﾊﾞｰｼﾞｮﾝ：" +
           std::string(kDesignFileVersion) + "，" + std::string(kExtendedFileVersion) + "）";
}

}  // namespace

std::string GetFileVersion(const std::string& path) {
    std::string bytes;
    int32_t code = 0;
    if (!files::ReadAll(path, bytes, code, kMaxDesignFileBytes)) return "error";
    return VersionOf(bytes);
}

bool PreReadCheck(const std::string& path) {
    return HasDesignExtension(path) && ReadableFileVersion(GetFileVersion(path));
}

bool CheckAndReadData(const std::string& path, int32_t& lngErr) {
    std::string bytes;
    int32_t code = 0;
    // A file that cannot be read has no version: the check refuses it.
    if (!HasDesignExtension(path) || !files::ReadAll(path, bytes, code, kMaxDesignFileBytes)) {
        lngErr = 0;
        return false;
    }
    return CheckAndReadBytes(bytes, lngErr);
}

bool CheckAndReadBytes(const std::string& bytes, int32_t& lngErr) {
    if (!ReadableFileVersion(VersionOf(bytes))) {
        lngErr = 0;
        return false;
    }
    return DesignFromBytes(bytes, lngErr);
}

bool OpenDesign(const std::string& path, files::Failure& failure) {
    failure = {};
    if (!HasDesignExtension(path)) {
        failure.reason = "ﾌｧｲﾙの種類が入力ﾃﾞｰﾀ(*.kvt)ではありません";
        return false;
    }
    std::string bytes;
    if (!files::ReadAll(path, bytes, failure, kMaxDesignFileBytes)) {
        failure.code = 0;  // a file without a version the check can read
        return false;
    }
    const std::string version = VersionOf(bytes);
    if (!ReadableFileVersion(version)) {
        failure.reason = NotADesignCause(bytes, version);
        return false;
    }
    // Read into a fresh design; the one being edited comes back unless the whole file was read.
    Design before = CurrentDesign();
    InitData();
    if (ReadValues(bytes, DesignFields(), version == kExtendedFileVersion, failure.code,
                   &failure.reason))
        return true;
    SetCurrentDesign(std::move(before));
    return false;
}

Message ReadFailureMessage(int32_t code) { return ReadFailureMessage({code, ""}, ""); }

Message ReadFailureMessage(const files::Failure& failure, const std::string& path) {
    return Message{failure.code,
                   files::MessageText("指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。",
                                      failure.code, files::FailureDetail(failure, path)),
                   "ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ", MsgIcon::Error, MsgButtons::Ok};
}

Message WriteFailureMessage(int32_t code) { return WriteFailureMessage({code, ""}, ""); }

Message WriteFailureMessage(const files::Failure& failure, const std::string& path) {
    return Message{failure.code,
                   files::MessageText("入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。",
                                      failure.code, files::FailureDetail(failure, path)),
                   "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ", MsgIcon::Error, MsgButtons::Ok};
}

}  // namespace kuvelt
