// The one table of the design's fields. Every field of the four records and of the section rows
// is one entry: its record and member, its type, the caption, range and number formats of its
// input field, the byte limit of a text, how it stands in the design file and, for section
// rows, its grid cell. The design-file reader and writer, the JSON dump, the range checks of
// ranges.h and the windows' transfer all walk this table, so a new field is one entry here plus
// its record member (its default is the member's initializer in design.h).
//
// DesignFields() lists the fields in design-file order; a catalogue stands in it as one Rows
// entry (count and rows, the row fields from RowFields()). A field marked optional is stored
// after everything the classic layout holds: readers that stop after CInpYaita.L still read such
// a file, and a file that ends before the optional fields leaves them at their defaults. The
// cover's block (CInpHyoshi) is the first set of optional fields.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "model/design.h"

namespace kuvelt {

enum class FieldType : uint8_t { Bool, Long, Double, Text, Rows };

// The record type a field belongs to (light-steel and steel rows are both CInpSectS).
enum class Record : uint8_t { Jyoken, Jiban, Zairyo, Yaita, SectC, SectS, Hyoshi, Layer };

enum class Catalogue : uint8_t { Concrete, LightSteel, Steel };

// How a section-grid cell is edited.
enum class CellKind : uint8_t { Text, List, Number, Decimal };

// Where a value ends in the design file.
enum class FileForm : uint8_t {
    Line,    // the value ends its line
    Joined,  // the next field's value follows on the same line (a section's numbers)
};

// A numeric input field: accepted when min <= value <= max (both limits included, see InRange
// in ranges.h), or min < value <= max for a field whose lower limit is open (a value at which
// the method breaks down: a unit weight, an allowable value or a joint efficiency of zero).
// Window-only fields (the sheet-pile choice, the numbering window) are plain FieldRanges; design
// fields are DesignFields.
struct FieldRange {
    std::string_view name;     // "CInpJiban.Fai", "frmInpYaita.numL", "frmInpRenban.numInit"
    std::string_view caption;  // the field's label in its window (a grid's column header)
    std::string_view group;    // heading the field stands under ("" when none)
    double min = 0.0;
    double max = 0.0;
    std::string_view displayFormat;  // number picture shown while the field is not edited
    std::string_view editFormat;     // number picture while the value is being edited
    bool minOpen = false;            // min itself is refused
};

struct DesignField : FieldRange {
    FieldType type = FieldType::Double;
    Record record = Record::Jyoken;
    Catalogue catalogue = Catalogue::Concrete;  // Rows entries only
    int32_t maxBytes = 0;                       // texts: code page 932 bytes at most
    FileForm file = FileForm::Line;
    bool optional = false;
    // A value that is 0 when not given (a section's mass): left out of the dumps then.
    bool zeroIsUnset = false;
    // Section rows: the grid cell and what a new grid row holds.
    CellKind kind = CellKind::Number;
    double newValue = 0.0;
    std::string_view newText;
    // The member inside an object of the field's record type.
    void* (*member)(void* record) = nullptr;

    // "ELGL" of "CInpJyoken.ELGL" (the JSON key); a Rows entry's whole name ("gInpSectC").
    constexpr std::string_view Member() const {
        const auto dot = name.find('.');
        return dot == std::string_view::npos ? name : name.substr(dot + 1);
    }
    // A numeric field with an input range of its own window.
    constexpr bool HasInput() const { return !displayFormat.empty(); }

    // Builders of the table's entries.
    constexpr DesignField Input(std::string_view label, double lo, double hi,
                                std::string_view display, std::string_view edit = {},
                                std::string_view heading = {}) const {
        DesignField f = *this;
        f.caption = label;
        f.min = lo;
        f.max = hi;
        f.displayFormat = display;
        f.editFormat = edit.empty() ? display : edit;
        f.group = heading;
        return f;
    }
    constexpr DesignField Bytes(std::string_view label, int32_t n) const {
        DesignField f = *this;
        f.caption = label;
        f.maxBytes = n;
        return f;
    }
    constexpr DesignField Cell(std::string_view header, CellKind k, double lo, double hi,
                               double fresh) const {
        DesignField f = *this;
        f.caption = header;
        f.kind = k;
        f.min = lo;
        f.max = hi;
        f.newValue = fresh;
        return f;
    }
    constexpr DesignField TextCell(std::string_view header, int32_t n,
                                   std::string_view fresh) const {
        DesignField f = Bytes(header, n);
        f.kind = CellKind::Text;
        f.newText = fresh;
        return f;
    }
    // The lower limit itself is refused: the method breaks down at it.
    constexpr DesignField AboveMin() const {
        DesignField f = *this;
        f.minOpen = true;
        return f;
    }
    constexpr DesignField Joined() const {
        DesignField f = *this;
        f.file = FileForm::Joined;
        return f;
    }
    constexpr DesignField Optional() const {
        DesignField f = *this;
        f.optional = true;
        return f;
    }
    constexpr DesignField ZeroIsUnset() const {
        DesignField f = *this;
        f.zeroIsUnset = true;
        return f;
    }
};

// "CInpJyoken" …, the record type's name that starts its fields' names.
constexpr std::string_view RecordName(Record r) {
    constexpr std::string_view names[] = {"CInpJyoken", "CInpJiban",     "CInpZairyo",
                                          "CInpYaita",  "CInpSectC",     "CInpSectS",
                                          "CInpHyoshi", "CInpJibanLayer"};
    return names[static_cast<int>(r)];
}
// "gInpJyoken" …, the current design's object of a record (the JSON dump's key).
std::string_view RecordGlobal(Record r);

// All fields in design-file order (catalogues as Rows entries).
std::span<const DesignField> DesignFields();
// The classic layout: DesignFields() without the optional fields at its end, the fields a reader
// written before them reads (and the tests' reader of that layout).
std::span<const DesignField> ClassicDesignFields();
// The row fields of a catalogue's sections as the design file stores them, in file order.
std::span<const DesignField> RowFields(Catalogue c);
// Every field of a catalogue's sections, in grid-column order: RowFields(c) and then the mass per
// square metre of wall (`Mass`, kg/m2, 0 when not given), which the design file does not walk.
// The grids, the JSON catalogues, the range checks and --set take these.
std::span<const DesignField> SectionFields(Catalogue c);
// The site's fields beyond one homogeneous ground with an empty channel: the channel water level
// (CInpJyoken.ELWF) and the wall friction angles (CInpJiban.DeltaA, DeltaP). They are not in
// DesignFields(): a design that leaves them at their defaults is stored as before.
std::span<const DesignField> SiteFields();
// The fields of a ground layer below the first (CInpJibanLayer), in grid-column order.
std::span<const DesignField> LayerFields();
// One of the design's references, "CInpHyoshi.SankoBunken": a text of its own byte limit (one
// printed line). It stands for an element of the list CInpHyoshi::SankoBunken, so it has no
// member to visit and is in no table: FindDesignField does not find it.
const DesignField& ReferenceField();
// A record or row field by its name ("CInpJiban.Fai", "CInpSectS.Zd"), or nullptr.
const DesignField* FindDesignField(std::string_view name);

// The current design's object of a record (not for the section records).
void* CurrentRecord(Record r);
// The object of a record as a new design holds it (not for the section records).
const void* DefaultRecord(Record r);
// True when the field of `record` holds what a new design holds.
bool AtDefault(const DesignField& f, const void* record);

// Calls fn(value&) with the member `f` designates in `record`, typed bool, int32_t, double or
// std::string. `record` must be an object of the field's record type.
template <class Fn>
decltype(auto) VisitField(const DesignField& f, void* record, Fn&& fn) {
    void* p = f.member(record);
    switch (f.type) {
        case FieldType::Bool:
            return fn(*static_cast<bool*>(p));
        case FieldType::Long:
            return fn(*static_cast<int32_t*>(p));
        case FieldType::Text:
            return fn(*static_cast<std::string*>(p));
        case FieldType::Double:
        case FieldType::Rows:
            break;
    }
    return fn(*static_cast<double*>(p));
}
template <class Fn>
decltype(auto) VisitField(const DesignField& f, const void* record, Fn&& fn) {
    return VisitField(f, const_cast<void*>(record),
                      [&](auto& v) -> decltype(auto) { return fn(std::as_const(v)); });
}

// Calls fn(catalogue) with the current design's catalogue (colInpSectC or colInpSectS).
template <class Fn>
void VisitCatalogue(Catalogue c, Fn&& fn) {
    switch (c) {
        case Catalogue::Concrete:
            fn(gInpSectC);
            return;
        case Catalogue::LightSteel:
            fn(gInpSectLS);
            return;
        case Catalogue::Steel:
            fn(gInpSectS);
            return;
    }
}

// A numeric field's value as a double (Booleans 0 or 1); 0 for texts.
double NumberOf(const DesignField& f, const void* record);
// Stores a number into a numeric field: whole-number fields take the nearest integer, Boolean
// fields true for anything but 0. Texts are left alone.
void SetNumber(const DesignField& f, void* record, double value);

// ---------------------------------------------------------------------------------------------
// Entry builders (used by the table in design_fields.cpp).

namespace fields_detail {

template <auto M>
struct MemberOf;
template <class R, class T, T R::*M>
struct MemberOf<M> {
    using RecordType = R;
    using Type = T;
};

template <auto M>
void* Locate(void* r) {
    return &(static_cast<typename MemberOf<M>::RecordType*>(r)->*M);
}

template <class R>
constexpr Record RecordOf() {
    if constexpr (std::is_same_v<R, CInpJyoken>) return Record::Jyoken;
    if constexpr (std::is_same_v<R, CInpJiban>) return Record::Jiban;
    if constexpr (std::is_same_v<R, CInpZairyo>) return Record::Zairyo;
    if constexpr (std::is_same_v<R, CInpYaita>) return Record::Yaita;
    if constexpr (std::is_same_v<R, CInpSectC>) return Record::SectC;
    if constexpr (std::is_same_v<R, CInpSectS>) return Record::SectS;
    if constexpr (std::is_same_v<R, CInpHyoshi>) return Record::Hyoshi;
    if constexpr (std::is_same_v<R, CInpJibanLayer>) return Record::Layer;
}

template <class T>
constexpr FieldType TypeOf() {
    if constexpr (std::is_same_v<T, bool>) return FieldType::Bool;
    if constexpr (std::is_same_v<T, int32_t>) return FieldType::Long;
    if constexpr (std::is_same_v<T, double>) return FieldType::Double;
    if constexpr (std::is_same_v<T, std::string>) return FieldType::Text;
}

}  // namespace fields_detail

// The entry of member M, named "<record type>.<member>"; the record and type come from M, and a
// name that does not start with the member's record type fails to compile.
template <auto M>
constexpr DesignField Field(std::string_view name) {
    using Traits = fields_detail::MemberOf<M>;
    DesignField f{};
    f.name = name;
    f.record = fields_detail::RecordOf<typename Traits::RecordType>();
    f.type = fields_detail::TypeOf<typename Traits::Type>();
    f.member = &fields_detail::Locate<M>;
    const std::string_view rec = RecordName(f.record);
    if (!name.starts_with(rec) || name.size() <= rec.size() + 1 || name[rec.size()] != '.') {
        throw "the field's name must be <record type>.<member>";
    }
    return f;
}

constexpr DesignField Rows(std::string_view global, Catalogue c) {
    DesignField f{};
    f.name = global;
    f.type = FieldType::Rows;
    f.catalogue = c;
    f.record = c == Catalogue::Concrete ? Record::SectC : Record::SectS;
    return f;
}

}  // namespace kuvelt
