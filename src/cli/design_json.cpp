#include "cli/design_json.h"

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

void AppendEscaped(std::string& out, std::string_view s) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t i = 0;
    while (i < s.size()) {
        // Runs of plain printable ASCII are copied as they are.
        std::size_t j = i;
        while (j < s.size()) {
            const auto c = static_cast<unsigned char>(s[j]);
            if (c < 0x20 || c == '"' || c == '\\' || c >= 0x80) break;
            ++j;
        }
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

void AppendNumber(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
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

void JsonWriter::Separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (depth_ == 0) return;
    if (!empty_) out_ += ',';
    if (pretty_) {
        out_ += '\n';
        out_.append(static_cast<std::size_t>(depth_) * 2, ' ');
    }
    empty_ = false;
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
    ordered_json& member = parent[key_];
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
