#include "cli/design_json.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <ostream>
#include <vector>

#include "model/design.h"
#include "model/design_fields.h"
#include "platform/numfmt.h"

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

// From i, past the words of eight bytes that are all plain (none below 0x20, at or above 0x80,
// a quote or a backslash).
std::size_t PlainWords(std::string_view s, std::size_t i) {
    constexpr uint64_t kOnes = 0x0101010101010101ULL, kHigh = kOnes * 0x80;
    auto hasZero = [](uint64_t v) { return ((v - kOnes) & ~v & kHigh) != 0; };
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t w = 0;
        std::memcpy(&w, s.data() + i, 8);
        const bool below = ((w - kOnes * 0x20) & ~w & kHigh) != 0;
        if (below || (w & kHigh) != 0 || hasZero(w ^ (kOnes * '"')) || hasZero(w ^ (kOnes * '\\')))
            break;
    }
    return i;
}

// s as a JSON string at p (at most 6 bytes for each byte of s, and the quotes); returns the end.
char* Escaped(char* p, std::string_view s) {
    static constexpr char kHex[] = "0123456789abcdef";
    *p++ = '"';
    std::size_t i = 0;
    while (i < s.size()) {
        // Runs of plain printable ASCII are copied as they are, found eight bytes at a time.
        std::size_t j = PlainWords(s, i);
        while (j < s.size() && kPlain[static_cast<unsigned char>(s[j])]) ++j;
        std::memcpy(p, s.data() + i, j - i);
        p += j - i;
        i = j;
        if (i == s.size()) break;
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            std::size_t part = 0;
            const std::size_t n = Utf8Sequence(s, i, &part);
            if (n > 0) {
                std::memcpy(p, s.data() + i, n);
                p += n;
                i += n;
            } else {
                std::memcpy(p, "\xEF\xBF\xBD", 3);
                p += 3;
                i += part;
            }
            continue;
        }
        *p++ = '\\';
        switch (c) {
            case '"':
                *p++ = '"';
                break;
            case '\\':
                *p++ = '\\';
                break;
            case '\b':
                *p++ = 'b';
                break;
            case '\t':
                *p++ = 't';
                break;
            case '\n':
                *p++ = 'n';
                break;
            case '\f':
                *p++ = 'f';
                break;
            case '\r':
                *p++ = 'r';
                break;
            default: {
                const char u[] = {'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
                std::memcpy(p, u, sizeof u);
                p += sizeof u;
            }
        }
        ++i;
    }
    *p++ = '"';
    return p;
}

constexpr std::size_t EscapedMax(std::size_t n) { return 6 * n + 2; }

// The texts of the numbers written last, by the bits of the double: the same values come back
// again and again (zero, the catalogues' section values, the elastic moduli, the results of
// similar walls), and copying a text is cheaper than making it. Fixed in size, per thread.
class NumberTexts {
  public:
    static constexpr int kBits = 12;
    static constexpr std::size_t kText = 23;  // longer texts are not kept

    char* Write(char* p, double v) {
        const auto bits = std::bit_cast<uint64_t>(v);
        Entry& e = entries_[(bits * 0x9E3779B97F4A7C15ULL) >> (64 - kBits)];
        if (e.bits == bits && e.size != 0) {
            std::memcpy(p, e.text, kText);
            return p + e.size;
        }
        char* end = numfmt::ShortestText(v, p);
        const auto n = static_cast<std::size_t>(end - p);
        if (n <= kText) {
            e.bits = bits;
            e.size = static_cast<uint8_t>(n);
            std::memcpy(e.text, p, kText);
        }
        return end;
    }

  private:
    struct Entry {
        uint64_t bits = 0;
        uint8_t size = 0;  // 0: empty
        char text[kText] = {};
    };
    std::array<Entry, std::size_t{1} << kBits> entries_{};
};

static_assert(NumberTexts::kText <= numfmt::kShortestTextMax);

}  // namespace

char* JsonNumberText(char* p, double v) {
    if (!std::isfinite(v)) {
        std::memcpy(p, "null", 4);
        return p + 4;
    }
    thread_local std::unique_ptr<NumberTexts> texts;
    if (!texts) texts = std::make_unique<NumberTexts>();
    return texts->Write(p, v);
}

// ---- JsonBuffer ---------------------------------------------------------------------------------

void JsonBuffer::Grow(std::size_t n) {
    std::size_t size = data_.size() < 4096 ? 4096 : data_.size();
    while (size - len_ < n) size *= 2;
    data_.resize(size);
}

std::string JsonBuffer::Take() {
    data_.resize(len_);
    len_ = 0;
    return std::move(data_);
}

void JsonBuffer::WriteTo(std::ostream& out) {
    out.write(data_.data(), static_cast<std::streamsize>(len_));
    len_ = 0;
}

// ---- JsonWriter ---------------------------------------------------------------------------------

void JsonWriter::EscapedKey(std::string_view key) {
    char* p = Escaped(Start(EscapedMax(key.size()) + 2), key);
    *p++ = ':';
    if (pretty_) *p++ = ' ';
    out_.Commit(p);
    afterKey_ = true;
}

void JsonWriter::Numbers(std::span<const double> values) {
    BeginArray();
    for (double v : values) Number(v);
    EndArray();
}

void JsonWriter::CurveNumbers(std::span<const double> values) {
    BeginArray();
    for (double v : values) {
        char* p = Start(numfmt::kShortestTextMax);
        if (std::isfinite(v)) {
            p = numfmt::TenThousandthsText(v, p);
        } else {
            std::memcpy(p, "null", 4);
            p += 4;
        }
        out_.Commit(p);
    }
    EndArray();
}

void JsonWriter::Integer(int64_t v) {
    char* p = Start(24);
    out_.Commit(std::to_chars(p, p + 24, v).ptr);
}

void JsonWriter::Unsigned(uint64_t v) {
    char* p = Start(24);
    out_.Commit(std::to_chars(p, p + 24, v).ptr);
}

void JsonWriter::Bool(bool v) {
    char* p = Start(5);
    std::memcpy(p, v ? "true" : "false", v ? 4 : 5);
    out_.Commit(p + (v ? 4 : 5));
}

void JsonWriter::Null() {
    char* p = Start(4);
    std::memcpy(p, "null", 4);
    out_.Commit(p + 4);
}

void JsonWriter::Text(std::string_view s) { out_.Commit(Escaped(Start(EscapedMax(s.size())), s)); }

std::string JsonNumber(double v) {
    char buf[numfmt::kShortestTextMax];
    return std::string(buf, JsonNumberText(buf, v));
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
                w.Key(std::string_view(it.key()));
                WriteTree(w, it.value());
            }
            w.EndObject();
            return;
        case ordered_json::value_t::array:
            w.BeginArray();
            for (const auto& e : j) WriteTree(w, e);
            w.EndArray();
            return;
        case ordered_json::value_t::number_float:
            w.Number(j.get<double>());
            return;
        case ordered_json::value_t::number_integer:
            w.Integer(j.get<int64_t>());
            return;
        case ordered_json::value_t::number_unsigned:
            w.Unsigned(j.get<uint64_t>());
            return;
        case ordered_json::value_t::boolean:
            w.Bool(j.get<bool>());
            return;
        case ordered_json::value_t::string:
            w.Text(j.get_ref<const std::string&>());
            return;
        default:
            w.Null();
            return;
    }
}

std::string DumpJson(const ordered_json& j) {
    JsonBuffer out;
    JsonWriter w(out, JsonWriter::Style::Pretty);
    WriteTree(w, j);
    out.Append('\n');
    return out.Take();
}

// ---- The design ---------------------------------------------------------------------------------

namespace {

// The design object's members: each record once, at the place of its first field, with all its
// fields in table order; each catalogue as an array of row objects. Each field with its key
// and where it lies in its record, found once.
struct Field {
    const DesignField* field;
    JsonKey key;
    FieldType type;
    std::ptrdiff_t offset;  // of the member in its record
};

template <class R>
Field MakeField(const DesignField& f, R& sample) {
    const auto* base = reinterpret_cast<const char*>(&sample);
    const auto* at = static_cast<const char*>(f.member(&sample));
    return Field{&f, JsonKey(f.Member()), f.type, at - base};
}

struct Member {
    JsonKey key;
    const DesignField* rows = nullptr;  // a catalogue
    Record record = Record::Jyoken;
    std::vector<Field> fields;  // a record's fields, or a catalogue row's
    // A record's site fields (the channel water, the wall friction), written after its own
    // fields only when they differ from a new design's, so a design without them is dumped as
    // before; the ground's record also holds its layers below the first.
    std::vector<Field> site;
    std::vector<Field> layers;
};

constexpr JsonKey kLayersKey("Layers");
constexpr JsonKey kReferencesKey("SankoBunken");

template <class R>
std::vector<Field> Fields(std::span<const DesignField> fields) {
    R sample{};
    std::vector<Field> out;
    for (const DesignField& f : fields) out.push_back(MakeField(f, sample));
    return out;
}

const std::vector<Member>& DesignMembers() {
    static const std::vector<Member> members = [] {
        std::vector<Member> m;
        for (const DesignField& f : DesignFields()) {
            if (f.type == FieldType::Rows) {
                m.push_back(Member{JsonKey(f.name),
                                   &f,
                                   f.record,
                                   f.catalogue == Catalogue::Concrete
                                       ? Fields<CInpSectC>(SectionFields(f.catalogue))
                                       : Fields<CInpSectS>(SectionFields(f.catalogue)),
                                   {},
                                   {}});
                continue;
            }
            Member* r = nullptr;
            for (Member& e : m) {
                if (e.rows == nullptr && e.record == f.record) r = &e;
            }
            if (r == nullptr) {
                r = &m.emplace_back(
                    Member{JsonKey(RecordGlobal(f.record)), nullptr, f.record, {}, {}, {}});
            }
            auto* record = static_cast<char*>(CurrentRecord(f.record));
            r->fields.push_back(Field{&f, JsonKey(f.Member()), f.type,
                                      static_cast<char*>(f.member(record)) - record});
        }
        for (Member& e : m) {
            if (e.rows != nullptr) continue;
            for (const DesignField& f : SiteFields()) {
                auto* record = static_cast<char*>(CurrentRecord(f.record));
                if (f.record == e.record)
                    e.site.push_back(Field{&f, JsonKey(f.Member()), f.type,
                                           static_cast<char*>(f.member(record)) - record});
            }
            if (e.record == Record::Jiban) e.layers = Fields<CInpJibanLayer>(LayerFields());
        }
        return m;
    }();
    return members;
}

template <class W>
void WriteField(W& w, const Field& f, const void* record) {
    const char* at = static_cast<const char*>(record) + f.offset;
    switch (f.type) {
        case FieldType::Bool:
            w.Member(f.key, *reinterpret_cast<const bool*>(at));
            break;
        case FieldType::Long:
            w.Member(f.key, *reinterpret_cast<const int32_t*>(at));
            break;
        case FieldType::Text:
            w.Member(f.key, *reinterpret_cast<const std::string*>(at));
            break;
        case FieldType::Double:
        case FieldType::Rows: {
            const double v = *reinterpret_cast<const double*>(at);
            // A mass not given is left out, so a catalogue without masses dumps as before.
            if (v == 0.0 && f.field->zeroIsUnset) break;
            w.Member(f.key, v);
            break;
        }
    }
}

template <class W>
void WriteFields(W& w, const std::vector<Field>& fields, const void* record) {
    for (const Field& f : fields) WriteField(w, f, record);
}

template <class W>
void WriteDesign(W& w) {
    w.BeginObject();
    for (const Member& m : DesignMembers()) {
        w.Key(m.key);
        if (m.rows != nullptr) {
            w.BeginArray();
            VisitCatalogue(m.rows->catalogue, [&](const auto& c) {
                for (const auto& row : c) {
                    w.BeginObject();
                    WriteFields(w, m.fields, &row);
                    w.EndObject();
                }
            });
            w.EndArray();
        } else {
            const void* record = CurrentRecord(m.record);
            w.BeginObject();
            WriteFields(w, m.fields, record);
            for (const Field& f : m.site) {
                if (!AtDefault(*f.field, record)) WriteField(w, f, record);
            }
            if (!m.layers.empty() && !gInpJiban.Layers.empty()) {
                w.Key(kLayersKey);
                w.BeginArray();
                for (const CInpJibanLayer& layer : gInpJiban.Layers) {
                    w.BeginObject();
                    WriteFields(w, m.layers, &layer);
                    w.EndObject();
                }
                w.EndArray();
            }
            // The design's references, only when it has some: a design without them is dumped
            // as before.
            if (m.record == Record::Hyoshi && !gInpHyoshi.SankoBunken.empty()) {
                w.Key(kReferencesKey);
                w.BeginArray();
                for (const std::string& text : gInpHyoshi.SankoBunken) w.Text(text);
                w.EndArray();
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
    JsonBuffer out;
    JsonWriter w(out, JsonWriter::Style::Pretty);
    WriteDesign(w);
    out.Append('\n');
    return out.Take();
}

ordered_json DesignJson() {
    JsonTreeBuilder b;
    WriteDesign(b);
    return b.Take();
}

}  // namespace kuvelt::cli
