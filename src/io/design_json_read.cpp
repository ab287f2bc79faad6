#include "io/design_json_read.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "model/design.h"
#include "model/ranges.h"
#include "platform/files.h"

namespace kuvelt {

using nlohmann::json;

namespace {

// ---- Parsing -----------------------------------------------------------------------------------

// Builds the document while nlohmann's (iterative) parser reads it: keys given twice are faults,
// and nesting is cut off at kMaxJsonDepth before anything deeper is built.
class DomBuilder {
  public:
    using number_integer_t = json::number_integer_t;
    using number_unsigned_t = json::number_unsigned_t;
    using number_float_t = json::number_float_t;
    using string_t = json::string_t;
    using binary_t = json::binary_t;

    explicit DomBuilder(std::vector<std::string>& faults) : faults_(faults) {}

    json& Root() { return root_; }

    bool null() { return Put(nullptr); }
    bool boolean(bool v) { return Put(v); }
    bool number_integer(number_integer_t v) { return Put(v); }
    bool number_unsigned(number_unsigned_t v) { return Put(v); }
    bool number_float(number_float_t v, const string_t& text) {
        if (!std::isfinite(v)) {
            faults_.push_back(Path() + ": " + text + " is beyond the range of a number");
            return false;
        }
        return Put(v);
    }
    bool string(string_t& v) { return Put(std::move(v)); }
    bool binary(binary_t&) { return Put(nullptr); }
    bool start_object(std::size_t) { return Open(json::object()); }
    bool start_array(std::size_t) { return Open(json::array()); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }
    bool key(string_t& k) {
        Frame& f = stack_.back();
        if (f.node->contains(k)) {
            faults_.push_back(Child(k) + ": the key is given twice");
        }
        f.key = std::move(k);
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
        // "[json.exception.parse_error.101] parse error at line 1, column 4: …" without the tag.
        std::string what = e.what();
        const std::size_t tag = what.find("] ");
        if (what.rfind("[json.exception.", 0) == 0 && tag != std::string::npos) {
            what.erase(0, tag + 2);
        }
        faults_.push_back("malformed JSON: " + what);
        return false;
    }

  private:
    struct Frame {
        json* node;
        std::string path;
        std::string key;  // objects: the key of the value that comes next
    };

    std::string Path() const {
        if (stack_.empty()) return "(document)";
        const Frame& f = stack_.back();
        return f.node->is_object() ? Child(f.key)
                                   : f.path + "[" + std::to_string(f.node->size()) + "]";
    }
    std::string Child(const std::string& k) const {
        const std::string& p = stack_.back().path;
        return p.empty() ? k : p + "." + k;
    }

    // Stores a value where the parser stands; returns the stored value.
    json* Place(json v) {
        if (stack_.empty()) {
            root_ = std::move(v);
            return &root_;
        }
        Frame& f = stack_.back();
        if (f.node->is_array()) {
            f.node->push_back(std::move(v));
            return &f.node->back();
        }
        json& slot = (*f.node)[f.key];
        slot = std::move(v);
        return &slot;
    }
    bool Put(json v) {
        Place(std::move(v));
        return true;
    }
    bool Open(json container) {
        if (static_cast<int>(stack_.size()) >= kMaxJsonDepth) {
            faults_.push_back("malformed JSON: nested deeper than " +
                              std::to_string(kMaxJsonDepth) + " levels");
            return false;
        }
        std::string path = stack_.empty() ? std::string() : Path();
        json* node = Place(std::move(container));
        stack_.push_back({node, std::move(path), {}});
        return true;
    }
    bool Close() {
        stack_.pop_back();
        return true;
    }

    std::vector<std::string>& faults_;
    json root_;
    std::vector<Frame> stack_;
};

// ---- Values ------------------------------------------------------------------------------------

std::string Shown(const json& v) {
    std::string s;
    if (v.is_number_float()) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v.get<double>());
        s.assign(buf, r.ptr);
    } else {
        s = v.dump(-1, ' ', false, json::error_handler_t::replace);
    }
    constexpr std::size_t kMax = 60;
    if (s.size() > kMax) s = s.substr(0, kMax) + "…";
    return s;
}

bool IsRowField(const DesignField& f) {
    return f.record == Record::SectC || f.record == Record::SectS || f.record == Record::Layer;
}

constexpr std::string_view kLayers = "gInpJiban.Layers";
constexpr std::string_view kReferences = "gInpHyoshi.SankoBunken";

// The type a field accepts.
std::string TypeWord(const DesignField& f) {
    switch (f.type) {
        case FieldType::Bool:
            return "true or false";
        case FieldType::Text:
            return "a text";
        case FieldType::Long:
            return "a whole number";
        case FieldType::Double:
        case FieldType::Rows:
            break;
    }
    return "a number";
}

// What the field accepts besides its type: the input range as its window or grid says it.
std::string RangeWords(const DesignField& f) {
    if (f.type == FieldType::Text) {
        return "at most " + std::to_string(f.maxBytes) +
               " code page 932 bytes, no double quote, no line break";
    }
    if (IsRowField(f)) {
        if (f.kind == CellKind::List) {
            return "入力範囲：" + std::to_string(static_cast<int>(f.min)) + "～" +
                   std::to_string(static_cast<int>(f.max));
        }
        return GridInputHint(f);
    }
    if (f.HasInput()) return RangeMessage(f).text;
    return {};
}

std::string NotOfType(const DesignField& f, const std::string& head) {
    const std::string range = RangeWords(f);
    return head + " is not " + TypeWord(f) + (range.empty() ? "" : " (" + range + ")");
}

bool Acceptable(const DesignField& f, double v) { return DesignValueAcceptable(f, v); }

void Store(const DesignField& f, void* record, const json& v) {
    VisitField(f, record, [&](auto& member) {
        using M = std::decay_t<decltype(member)>;
        if constexpr (std::is_same_v<M, std::string>) {
            member = v.get<std::string>();
        } else if constexpr (std::is_same_v<M, bool>) {
            member = v.get<bool>();
        } else {
            SetNumber(f, record, v.get<double>());
        }
    });
}

// ---- The document ------------------------------------------------------------------------------

const DesignField* RecordField(Record r, std::string_view member) {
    for (const std::span<const DesignField> table : {DesignFields(), SiteFields()}) {
        for (const DesignField& f : table) {
            if (f.type != FieldType::Rows && f.record == r && f.Member() == member) return &f;
        }
    }
    return nullptr;
}

const DesignField* LayerField(std::string_view member) {
    for (const DesignField& f : LayerFields()) {
        if (f.Member() == member) return &f;
    }
    return nullptr;
}

// A ground layer as a new row of the layer grid holds it.
CInpJibanLayer NewLayer() {
    CInpJibanLayer layer{};
    for (const DesignField& f : LayerFields()) SetNumber(f, &layer, f.newValue);
    return layer;
}

std::string LayerPath(std::size_t index) {
    return std::string(kLayers) + "[" + std::to_string(index + 1) + "]";
}

constexpr std::size_t kMaxLayersBelow = static_cast<std::size_t>(kMaxGroundLayers - 1);

const DesignField* RowField(Catalogue c, std::string_view member) {
    for (const DesignField& f : SectionFields(c)) {
        if (f.Member() == member) return &f;
    }
    return nullptr;
}

// The table's entry that stands under a top-level key: a record's first field or a Rows entry.
const DesignField* TopEntry(std::string_view key) {
    for (const DesignField& f : DesignFields()) {
        if (f.type == FieldType::Rows ? f.name == key : RecordGlobal(f.record) == key) return &f;
    }
    return nullptr;
}

std::string TopKeys() {
    std::string keys;
    std::string_view last;
    for (const DesignField& f : DesignFields()) {
        const std::string_view k = f.type == FieldType::Rows ? f.name : RecordGlobal(f.record);
        if (k == last) continue;
        last = k;
        keys += keys.empty() ? "" : ", ";
        keys += k;
    }
    return keys;
}

// Checks and stores a field's value; false (a fault added) when refused.
bool TakeValue(const DesignField& f, void* record, const json& v, const std::string& path,
               std::vector<std::string>& faults) {
    std::string fault = CheckDesignValue(f, v, path);
    if (!fault.empty()) {
        faults.push_back(std::move(fault));
        return false;
    }
    Store(f, record, v);
    return true;
}

// A section row made as a new grid row makes it.
template <class Row>
Row NewRow(Catalogue c) {
    Row row{};
    for (const DesignField& f : SectionFields(c)) {
        VisitField(f, &row, [&](auto& m) {
            using M = std::decay_t<decltype(m)>;
            if constexpr (std::is_same_v<M, std::string>) {
                m = std::string(f.newText);
            } else {
                SetNumber(f, &row, f.newValue);
            }
        });
    }
    return row;
}

template <class Col>
void TakeCatalogue(Col& col, Catalogue c, const std::string& name, const json& rows,
                   std::vector<std::string>& faults) {
    using Row = std::decay_t<decltype(*col.Item(1))>;
    if (!rows.is_array()) {
        faults.push_back(name + ": " + Shown(rows) + " is not an array of sections");
        return;
    }
    if (rows.size() > static_cast<std::size_t>(kMaxSections)) {
        faults.push_back(name + ": " + std::to_string(rows.size()) + " sections (at most " +
                         std::to_string(kMaxSections) + ")");
        return;
    }
    col.Clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string rowPath = name + "[" + std::to_string(i) + "]";
        const json& r = rows[i];
        if (!r.is_object()) {
            faults.push_back(rowPath + ": " + Shown(r) + " is not an object");
            continue;
        }
        Row row = NewRow<Row>(c);
        for (auto it = r.begin(); it != r.end(); ++it) {
            const std::string path = rowPath + "." + it.key();
            const DesignField* f = RowField(c, it.key());
            if (f == nullptr) {
                faults.push_back(path + ": unknown key");
                continue;
            }
            TakeValue(*f, &row, it.value(), path, faults);
        }
        col.AddItem(std::move(row));
    }
}

// gInpJiban.Layers: the layers below the first replace the design's; a layer's keys left out
// take what a new grid row holds.
void TakeLayers(const json& rows, std::vector<std::string>& faults) {
    if (!rows.is_array()) {
        faults.push_back(std::string(kLayers) + ": " + Shown(rows) + " is not an array of layers");
        return;
    }
    if (rows.size() > kMaxLayersBelow) {
        faults.push_back(std::string(kLayers) + ": " + std::to_string(rows.size()) +
                         " layers below the first (at most " + std::to_string(kMaxLayersBelow) +
                         ", the ground holds " + std::to_string(kMaxGroundLayers) + ")");
        return;
    }
    gInpJiban.Layers.clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const json& r = rows[i];
        if (!r.is_object()) {
            faults.push_back(LayerPath(i) + ": " + Shown(r) + " is not an object");
            continue;
        }
        CInpJibanLayer layer = NewLayer();
        for (auto it = r.begin(); it != r.end(); ++it) {
            const std::string path = LayerPath(i) + "." + it.key();
            const DesignField* f = LayerField(it.key());
            if (f == nullptr) {
                faults.push_back(path + ": unknown key");
                continue;
            }
            TakeValue(*f, &layer, it.value(), path, faults);
        }
        gInpJiban.Layers.push_back(layer);
    }
}

std::string ReferencePath(std::size_t index) {
    return std::string(kReferences) + "[" + std::to_string(index) + "]";
}

// A reference's text: a text field's checks, and not empty (a blank line is no reference).
std::string CheckReference(const json& v, const std::string& path) {
    std::string fault = CheckDesignValue(ReferenceField(), v, path);
    if (fault.empty() && v.get_ref<const std::string&>().empty())
        fault = path + ": \"\" is refused (a reference is not empty)";
    return fault;
}

// gInpHyoshi.SankoBunken: the design's references replace a new design's (none).
void TakeReferences(const json& list, std::vector<std::string>& faults) {
    if (!list.is_array()) {
        faults.push_back(std::string(kReferences) + ": " + Shown(list) +
                         " is not an array of texts");
        return;
    }
    if (list.size() > static_cast<std::size_t>(kMaxReferences)) {
        faults.push_back(std::string(kReferences) + ": " + std::to_string(list.size()) +
                         " references (at most " + std::to_string(kMaxReferences) + ")");
        return;
    }
    std::vector<std::string>& refs = gInpHyoshi.SankoBunken;
    refs.clear();
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::string fault = CheckReference(list[i], ReferencePath(i));
        if (!fault.empty()) {
            faults.push_back(std::move(fault));
            continue;
        }
        refs.push_back(list[i].get<std::string>());
    }
}

void TakeDocument(const json& doc, std::vector<std::string>& faults) {
    if (!doc.is_object()) {
        faults.push_back("(document): " + Shown(doc) + " is not an object of " + TopKeys());
        return;
    }
    for (auto top = doc.begin(); top != doc.end(); ++top) {
        const std::string& key = top.key();
        const DesignField* entry = TopEntry(key);
        if (entry == nullptr) {
            faults.push_back(key + ": unknown key (expected " + TopKeys() + ")");
            continue;
        }
        const json& v = top.value();
        if (entry->type == FieldType::Rows) {
            VisitCatalogue(entry->catalogue, [&](auto& col) {
                TakeCatalogue(col, entry->catalogue, key, v, faults);
            });
            continue;
        }
        if (!v.is_object()) {
            faults.push_back(key + ": " + Shown(v) + " is not an object");
            continue;
        }
        for (auto it = v.begin(); it != v.end(); ++it) {
            const std::string path = key + "." + it.key();
            if (path == kLayers) {
                TakeLayers(it.value(), faults);
                continue;
            }
            if (path == kReferences) {
                TakeReferences(it.value(), faults);
                continue;
            }
            const DesignField* f = RecordField(entry->record, it.key());
            if (f == nullptr) {
                faults.push_back(path + ": unknown key");
                continue;
            }
            TakeValue(*f, CurrentRecord(f->record), it.value(), path, faults);
        }
    }
}

}  // namespace

bool IsJsonDesignPath(std::string_view path) {
    if (path.size() < 5) return false;
    std::string ext(path.substr(path.size() - 5));
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == ".json";
}

bool DesignFromJson(std::string_view text, std::vector<std::string>& faults) {
    const std::size_t before = faults.size();
    InitData();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        faults.push_back("malformed JSON: the text starts with a byte order mark");
    } else {
        DomBuilder builder(faults);
        const bool parsed = json::sax_parse(text, &builder, json::input_format_t::json, true);
        if (parsed && faults.size() == before) TakeDocument(builder.Root(), faults);
    }
    if (faults.size() != before) {
        InitData();
        return false;
    }
    return true;
}

bool ReadDesignJson(const std::string& path, std::vector<std::string>& faults) {
    std::string text;
    int32_t code = 0;
    if (!files::ReadAll(path, text, code)) {
        InitData();
        faults.push_back(path + ": the file cannot be read (error " + std::to_string(code) + ")");
        return false;
    }
    return DesignFromJson(text, faults);
}

std::string CheckDesignValue(const DesignField& f, const json& v, std::string_view path) {
    const std::string head = std::string(path) + ": " + Shown(v);
    const std::string outside = head + " is outside the input range (" + RangeWords(f) + ")";
    switch (f.type) {
        case FieldType::Bool:
            return v.is_boolean() ? "" : NotOfType(f, head);
        case FieldType::Text:
            if (!v.is_string()) return NotOfType(f, head);
            return TextFieldAcceptable(f, v.get_ref<const std::string&>())
                       ? ""
                       : head + " is refused (" + RangeWords(f) +
                             ", only characters code page 932 holds)";
        case FieldType::Long: {
            if (!v.is_number()) return NotOfType(f, head);
            const double d = v.get<double>();
            if (d != std::trunc(d) || d < std::numeric_limits<int32_t>::min() ||
                d > std::numeric_limits<int32_t>::max()) {
                return NotOfType(f, head);
            }
            return Acceptable(f, d) ? "" : outside;
        }
        case FieldType::Double:
            if (!v.is_number()) return NotOfType(f, head);
            return Acceptable(f, v.get<double>()) ? "" : outside;
        case FieldType::Rows:
            break;
    }
    return head + ": a catalogue is not one value";
}

namespace {

// "gInpJiban.Layers[ROW].FIELD", ROW from 1.
std::optional<DesignPath> ParseLayerPath(DesignPath p, std::string_view rest, std::string& fault) {
    const std::size_t close = rest.find(']');
    const std::size_t dot = close == std::string_view::npos ? close : close + 1;
    if (rest.empty() || rest[0] != '[' || dot >= rest.size() || rest[dot] != '.') {
        fault = p.text + ": a layer needs its row, " + std::string(kLayers) +
                "[ROW].FIELD (rows from 1, the second ground layer)";
        return std::nullopt;
    }
    const std::string_view idx = rest.substr(1, close - 1);
    int32_t n = 0;
    const auto r = std::from_chars(idx.data(), idx.data() + idx.size(), n);
    if (idx.empty() || r.ec != std::errc() || r.ptr != idx.data() + idx.size() || n < 1) {
        fault = p.text + ": the layer row must be a whole number from 1 (the second ground layer)";
        return std::nullopt;
    }
    p.field = LayerField(rest.substr(dot + 1));
    if (p.field == nullptr) {
        fault = p.text + ": unknown key";
        return std::nullopt;
    }
    p.layer = true;
    p.row = n - 1;
    return p;
}

// "gInpHyoshi.SankoBunken[N]", N from 0 as in the JSON array.
std::optional<DesignPath> ParseReferencePath(DesignPath p, std::string_view rest,
                                             std::string& fault) {
    const std::string_view idx = rest.size() >= 2 ? rest.substr(1, rest.size() - 2) : "";
    int32_t n = -1;
    const auto r = std::from_chars(idx.data(), idx.data() + idx.size(), n);
    if (rest.size() < 3 || rest.front() != '[' || rest.back() != ']' || r.ec != std::errc() ||
        r.ptr != idx.data() + idx.size() || n < 0) {
        fault = p.text + ": a reference needs its row, " + std::string(kReferences) +
                "[ROW] (rows from 0)";
        return std::nullopt;
    }
    p.field = &ReferenceField();
    p.reference = true;
    p.row = n;
    return p;
}

// Replaces the reference the path names with a checked text, appends it at the row one past the
// last, or removes the reference when the text is empty.
bool SetReferenceValue(const DesignPath& p, const json& value, std::string& fault) {
    std::vector<std::string>& refs = gInpHyoshi.SankoBunken;
    const auto row = static_cast<std::size_t>(p.row);
    const std::string& text = value.get_ref<const std::string&>();
    if (row > refs.size() || (text.empty() && row == refs.size())) {
        fault = p.text + ": there is no reference " + std::to_string(row) + " (the design has " +
                std::to_string(refs.size()) + ", from 0; " + ReferencePath(refs.size()) +
                " adds one)";
        return false;
    }
    if (text.empty()) {
        refs.erase(refs.begin() + static_cast<std::ptrdiff_t>(row));
    } else if (row < refs.size()) {
        refs[row] = text;
    } else if (refs.size() >= static_cast<std::size_t>(kMaxReferences)) {
        fault =
            p.text + ": a design holds at most " + std::to_string(kMaxReferences) + " references";
        return false;
    } else {
        refs.push_back(text);
    }
    return true;
}

// Stores a checked value into the layer the path names, appending a new grid row's layer for
// the row one past the last.
bool SetLayerValue(const DesignPath& p, const json& value, std::string& fault) {
    std::vector<CInpJibanLayer>& layers = gInpJiban.Layers;
    const auto row = static_cast<std::size_t>(p.row);
    if (row > layers.size()) {
        fault = p.text + ": there is no layer " + std::to_string(row + 1) + " (the ground has " +
                std::to_string(layers.size()) + " layers below the first, from 1; " +
                LayerPath(layers.size()) + " adds one)";
        return false;
    }
    if (row == layers.size()) {
        if (row >= kMaxLayersBelow) {
            fault = p.text + ": the ground holds at most " + std::to_string(kMaxGroundLayers) +
                    " layers (" + std::to_string(kMaxLayersBelow) + " below the first)";
            return false;
        }
        layers.push_back(NewLayer());
    }
    Store(*p.field, &layers[row], value);
    return true;
}

}  // namespace

std::optional<DesignPath> ParseDesignPath(std::string_view path, std::string& fault) {
    DesignPath p;
    p.text = std::string(path);
    if (path.starts_with(kLayers) && (path.size() == kLayers.size() ||
                                      path[kLayers.size()] == '[' || path[kLayers.size()] == '.')) {
        return ParseLayerPath(std::move(p), path.substr(kLayers.size()), fault);
    }
    if (path.starts_with(kReferences) &&
        (path.size() == kReferences.size() || path[kReferences.size()] == '[')) {
        return ParseReferencePath(std::move(p), path.substr(kReferences.size()), fault);
    }
    const std::size_t dot = path.find('.');
    if (dot == std::string_view::npos) {
        fault = p.text + ": expected RECORD.FIELD or CATALOGUE[ROW].FIELD";
        return std::nullopt;
    }
    std::string_view head = path.substr(0, dot);
    const std::string_view member = path.substr(dot + 1);
    std::optional<int32_t> row;
    if (const std::size_t br = head.find('['); br != std::string_view::npos) {
        const std::string_view idx = head.substr(br + 1, head.size() - br - 2);
        int32_t n = -1;
        const auto r = std::from_chars(idx.data(), idx.data() + idx.size(), n);
        if (head.back() != ']' || idx.empty() || r.ec != std::errc() ||
            r.ptr != idx.data() + idx.size() || n < 0) {
            fault = p.text + ": the row index must be a whole number from 0";
            return std::nullopt;
        }
        row = n;
        head = head.substr(0, br);
    }
    const DesignField* entry = TopEntry(head);
    if (entry == nullptr) {
        fault = p.text + ": unknown key " + std::string(head) + " (expected " + TopKeys() + ")";
        return std::nullopt;
    }
    if ((entry->type == FieldType::Rows) != row.has_value()) {
        fault = p.text + (row ? ": " + std::string(head) + " has no rows"
                              : ": a section needs its row, " + std::string(head) + "[ROW]." +
                                    std::string(member));
        return std::nullopt;
    }
    if (row) {
        p.catalogue = entry->catalogue;
        p.row = *row;
        p.field = RowField(entry->catalogue, member);
    } else {
        p.field = RecordField(entry->record, member);
    }
    if (p.field == nullptr) {
        fault = p.text + ": unknown key";
        return std::nullopt;
    }
    return p;
}

std::optional<json> ValueForField(const DesignField& f, std::string_view text,
                                  std::string_view path, std::string& fault) {
    switch (f.type) {
        case FieldType::Text:
            return json(std::string(text));
        case FieldType::Bool:
            if (text == "true") return json(true);
            if (text == "false") return json(false);
            break;
        case FieldType::Long:
        case FieldType::Double: {
            double d = 0.0;
            const auto r = std::from_chars(text.data(), text.data() + text.size(), d);
            if (!text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size() &&
                std::isfinite(d)) {
                return json(d);
            }
            break;
        }
        case FieldType::Rows:
            break;
    }
    fault = NotOfType(f, std::string(path) + ": " + std::string(text));
    return std::nullopt;
}

bool SetDesignValue(const DesignPath& p, const json& value, std::string& fault) {
    fault = CheckDesignValue(*p.field, value, p.text);
    if (!fault.empty()) return false;
    if (p.layer) return SetLayerValue(p, value, fault);
    if (p.reference) return SetReferenceValue(p, value, fault);
    if (!p.catalogue) {
        Store(*p.field, CurrentRecord(p.field->record), value);
        return true;
    }
    bool stored = false;
    int32_t count = 0;
    VisitCatalogue(*p.catalogue, [&](auto& col) {
        count = col.Count();
        if (auto* row = col.Item(p.row + 1)) {
            Store(*p.field, row, value);
            stored = true;
        }
    });
    if (!stored) {
        fault = p.text + ": there is no row " + std::to_string(p.row) + " (the catalogue has " +
                std::to_string(count) + " rows, from 0)";
    }
    return stored;
}

bool SetDesignValue(std::string_view path, std::string_view value, std::string& fault) {
    const std::optional<DesignPath> p = ParseDesignPath(path, fault);
    if (!p) return false;
    const std::optional<json> v = ValueForField(*p->field, value, path, fault);
    return v && SetDesignValue(*p, *v, fault);
}

std::string FieldRangeWords(const DesignField& f) { return RangeWords(f); }

std::string FieldUnit(const DesignField& f) {
    const std::string_view c = f.caption;
    const std::size_t close = c.rfind(')');
    const std::size_t open = c.rfind('(');
    if (close == std::string_view::npos || open == std::string_view::npos || open > close) {
        return {};
    }
    return std::string(c.substr(open + 1, close - open - 1));
}

}  // namespace kuvelt
