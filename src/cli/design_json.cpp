#include "cli/design_json.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <vector>

#include "model/design.h"
#include "model/design_fields.h"

namespace kuvelt::cli {

using nlohmann::ordered_json;

// ---- JsonWriter ---------------------------------------------------------------------------------

namespace {

// Length of the well-formed UTF-8 sequence at s[i] (1 to 4), or 0 when it is ill-formed; then
// `*part` is the length of its maximal ill-formed part (the bytes that one U+FFFD replaces: a
// lead byte and the continuation bytes that could still have completed it).
std::size_t Utf8Sequence(std::string_view s, std::size_t i, std::size_t* part) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) lo = 0xA0;  // no overlong forms
        if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) lo = 0x90;
        if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
        *part = 1;  // a continuation byte, C0, C1 or F5..FF on its own
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if (i + k >= s.size()) {
            *part = k;
            return 0;
        }
        const auto c = static_cast<unsigned char>(s[i + k]);
        if (c < (k == 1 ? lo : 0x80) || c > (k == 1 ? hi : 0xBF)) {
            *part = k;
            return 0;
        }
    }
    return n;
}

// Bytes copied into a JSON text as they are: printable ASCII but the quote and the backslash.
constexpr auto kPlain = [] {
    std::array<bool, 256> t{};
    for (int c = 0x20; c < 0x80; ++c) t[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
    return t;
}();

void AppendEscaped(std::string& out, std::string_view s) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t i = 0;
    while (i < s.size()) {
        // Runs of plain printable ASCII are copied as they are.
        std::size_t j = i;
        while (j < s.size() && kPlain[static_cast<unsigned char>(s[j])]) ++j;
        out.append(s.data() + i, j - i);
        i = j;
        if (i == s.size()) break;
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            std::size_t part = 0;
            const std::size_t n = Utf8Sequence(s, i, &part);
            if (n > 0) {
                out.append(s.data() + i, n);
                i += n;
            } else {
                out += "\xEF\xBF\xBD";
                i += part;
            }
            continue;
        }
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\f': out += "\\f"; break;
            case '\r': out += "\\r"; break;
            default: {
                const char u[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
                out.append(u, sizeof u);
            }
        }
        ++i;
    }
    out += '"';
}

// Writes the decimal digits of `n` (below 1e16) with a point before the last `decimals` of
// them, ending at `end`; returns where the text starts.
char* WriteFixed(char* end, uint64_t n, int decimals) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char* p = end;
    for (; decimals >= 2; decimals -= 2, n /= 100) {
        const char* pair = kPairs + 2 * (n % 100);
        *--p = pair[1];
        *--p = pair[0];
    }
    if (decimals == 1) {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    if (p != end) *--p = '.';
    while (n >= 10) {
        const char* pair = kPairs + 2 * (n % 100);
        *--p = pair[1];
        *--p = pair[0];
        n /= 100;
    }
    if (n != 0 || *p == '.' || p == end) *--p = static_cast<char>('0' + n);
    return p;
}

// Most numbers of a design and its results have a few decimals at most. For those the shortest
// text that reads back comes straight from the number of millionths, in integers and exactly:
// below 1e9 an ulp is under a ten-millionth, so at most one number of a given count of decimals
// (up to 6) reads back to v; the whole millionths nearest to v without their trailing zeros are
// then the shortest text, the one the general conversion gives too, if they read back at all.
// False when v needs more (the general conversion then writes it).
bool AppendShortDecimal(std::string& out, double v) {
    __extension__ using U128 = unsigned __int128;
    static constexpr uint64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    const double a = std::fabs(v);
    if (a >= 1e9 && a < 1e15 && a == std::floor(a)) {
        // A whole number: below 2^53 each is its own double, its digits the shortest text.
        char buf[32];
        char* end = buf + sizeof buf;
        char* p = WriteFixed(end, static_cast<uint64_t>(a), 0);
        if (v < 0) *--p = '-';
        out.append(p, end);
        return true;
    }
    if (!(a >= 1e-6 && a < 1e9)) return false;
    // a = m * 2^-shift exactly, with a 53-bit m; 22 <= shift <= 73 in this range.
    const auto bits = std::bit_cast<uint64_t>(a);
    const uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    const int shift = 1075 - static_cast<int>(bits >> 52);
    if (m == (uint64_t{1} << 52)) return false;  // a power of two: an uneven interval, rare
    const U128 scaled = static_cast<U128>(m) * kPow10[6];  // a * 10^6 * 2^shift
    auto n = static_cast<uint64_t>((scaled + (static_cast<U128>(1) << (shift - 1))) >> shift);
    // Without trailing zeros: three tests instead of up to six.
    int decimals = 6;
    if (n % 1000 == 0) {
        n /= 1000;
        decimals = 3;
    }
    if (n % 100 == 0 && decimals >= 2) {
        n /= 100;
        decimals -= 2;
    }
    if (n % 10 == 0 && decimals >= 1) {
        n /= 10;
        decimals -= 1;
    }
    // n / 10^decimals reads back as a when it lies within half an ulp of a:
    // |n * 2^shift - m * 10^decimals| < 10^decimals / 2, a tie going to the even m.
    const U128 lhs = static_cast<U128>(n) << shift;
    const U128 rhs = static_cast<U128>(m) * kPow10[decimals];
    const U128 diff2 = 2 * (lhs > rhs ? lhs - rhs : rhs - lhs);
    if (diff2 > kPow10[decimals] || (diff2 == kPow10[decimals] && (m & 1) != 0)) return false;
    char buf[32];
    char* end = buf + sizeof buf;
    char* p = WriteFixed(end, n, decimals);
    if (v < 0) *--p = '-';
    out.append(p, end);
    return true;
}

void AppendNumber(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    if (v == 0.0) {
        out += std::signbit(v) ? "-0" : "0";
        return;
    }
    if (AppendShortDecimal(out, v)) return;
    // Shortest round-trip digits; plain decimal notation in the range people read without an
    // exponent (35000000, not 3.5e+07), as a script language would print it.
    char buf[400];
    const double a = std::fabs(v);
    const auto r = (a == 0.0 || (a >= 1e-6 && a < 1e21))
                       ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                       : std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

}  // namespace

void JsonWriter::Indent() {
    out_ += '\n';
    out_.append(static_cast<std::size_t>(depth_) * 2, ' ');
}

void JsonWriter::Open(char c) {
    Separate();
    out_ += c;
    ++depth_;
    empty_ = true;
}

void JsonWriter::Close(char c) {
    --depth_;
    if (!empty_ && pretty_) {
        out_ += '\n';
        out_.append(static_cast<std::size_t>(depth_) * 2, ' ');
    }
    out_ += c;
    empty_ = false;  // the container is a member of the one around it
}

void JsonWriter::Key(std::string_view key) {
    Separate();
    AppendEscaped(out_, key);
    out_ += pretty_ ? ": " : ":";
    afterKey_ = true;
}

void JsonWriter::Number(double v) {
    Separate();
    AppendNumber(out_, v);
}

void JsonWriter::Integer(int64_t v) {
    Separate();
    char buf[24];
    out_.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void JsonWriter::Unsigned(uint64_t v) {
    Separate();
    char buf[24];
    out_.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void JsonWriter::Bool(bool v) {
    Separate();
    out_ += v ? "true" : "false";
}

void JsonWriter::Null() {
    Separate();
    out_ += "null";
}

void JsonWriter::Text(std::string_view s) {
    Separate();
    AppendEscaped(out_, s);
}

std::string JsonNumber(double v) {
    std::string s;
    AppendNumber(s, v);
    return s;
}

// ---- JsonTreeBuilder ----------------------------------------------------------------------------

ordered_json* JsonTreeBuilder::Put(ordered_json v) {
    // Only the innermost open container grows, so the pointers to the ones around it stay valid.
    if (stack_.empty()) {
        root_ = std::move(v);
        return &root_;
    }
    ordered_json& parent = *stack_.back();
    if (parent.is_array()) {
        parent.push_back(std::move(v));
        return &parent.back();
    }
    ordered_json& member = parent[std::string(key_)];
    member = std::move(v);
    return &member;
}

void WriteTree(JsonWriter& w, const ordered_json& j) {
    switch (j.type()) {
        case ordered_json::value_t::object:
            w.BeginObject();
            for (auto it = j.begin(); it != j.end(); ++it) {
                w.Key(it.key());
                WriteTree(w, it.value());
            }
            w.EndObject();
            return;
        case ordered_json::value_t::array:
            w.BeginArray();
            for (const auto& e : j) WriteTree(w, e);
            w.EndArray();
            return;
        case ordered_json::value_t::number_float: w.Number(j.get<double>()); return;
        case ordered_json::value_t::number_integer: w.Integer(j.get<int64_t>()); return;
        case ordered_json::value_t::number_unsigned: w.Unsigned(j.get<uint64_t>()); return;
        case ordered_json::value_t::boolean: w.Bool(j.get<bool>()); return;
        case ordered_json::value_t::string: w.Text(j.get_ref<const std::string&>()); return;
        default: w.Null(); return;
    }
}

std::string DumpJson(const ordered_json& j) {
    std::string out;
    JsonWriter w(out, JsonWriter::Style::Pretty);
    WriteTree(w, j);
    out += '\n';
    return out;
}

// ---- The design ---------------------------------------------------------------------------------

namespace {

// The design object's members: each record once, at the place of its first field, with all its
// fields in table order; each catalogue as an array of row objects.
struct Member {
    const DesignField* rows = nullptr;  // a catalogue
    Record record = Record::Jyoken;
    std::vector<const DesignField*> fields;  // a record's fields
};

const std::vector<Member>& DesignMembers() {
    static const std::vector<Member> members = [] {
        std::vector<Member> m;
        for (const DesignField& f : DesignFields()) {
            if (f.type == FieldType::Rows) {
                m.push_back(Member{&f, f.record, {}});
                continue;
            }
            Member* r = nullptr;
            for (Member& e : m) {
                if (e.rows == nullptr && e.record == f.record) r = &e;
            }
            if (r == nullptr) r = &m.emplace_back(Member{nullptr, f.record, {}});
            r->fields.push_back(&f);
        }
        return m;
    }();
    return members;
}

template <class W>
void WriteDesign(W& w) {
    w.BeginObject();
    for (const Member& m : DesignMembers()) {
        if (m.rows != nullptr) {
            w.Key(m.rows->name);
            w.BeginArray();
            VisitCatalogue(m.rows->catalogue, [&](const auto& c) {
                for (const auto& row : c) {
                    w.BeginObject();
                    for (const DesignField& rf : RowFields(m.rows->catalogue)) {
                        w.Key(rf.Member());
                        VisitField(rf, &row, [&](const auto& v) { w.Value(v); });
                    }
                    w.EndObject();
                }
            });
            w.EndArray();
        } else {
            w.Key(RecordGlobal(m.record));
            w.BeginObject();
            const void* record = CurrentRecord(m.record);
            for (const DesignField* f : m.fields) {
                w.Key(f->Member());
                VisitField(*f, record, [&](const auto& v) { w.Value(v); });
            }
            w.EndObject();
        }
    }
    w.EndObject();
}

}  // namespace

void WriteDesignJson(JsonWriter& w) { WriteDesign(w); }
void WriteDesignJson(JsonTreeBuilder& b) { WriteDesign(b); }

std::string DesignJsonText() {
    std::string out;
    JsonWriter w(out, JsonWriter::Style::Pretty);
    WriteDesign(w);
    out += '\n';
    return out;
}

ordered_json DesignJson() {
    JsonTreeBuilder b;
    WriteDesign(b);
    return b.Take();
}

}  // namespace kuvelt::cli
