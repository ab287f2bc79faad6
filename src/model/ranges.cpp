#include "model/ranges.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "platform/cp932.h"
#include "platform/numfmt.h"

namespace kuvelt {
namespace {

constexpr FieldRange F(std::string_view name, std::string_view caption, double min, double max,
                       std::string_view format) {
    return FieldRange{name, caption, {}, min, max, format, format};
}

// Fields of windows that edit no record field directly.
constexpr std::array kWindowRanges = {
    // Sheet-pile choice window.
    F("frmInpYaita.numL", "矢板全長Ｌ(m)", 0, 99, "#0.00"),
    F("frmInpYaita.numSect", "矢板断面№", 1, 99, "#0"),
    F("frmInpYaita.numD", "根入れ長Ｄ(m)", -99, 99, "#0.00"),
    F("frmInpYaita.numH", "壁高Ｈ'(m)", 0, 99, "#0.00"),
    // Numbering window.
    F("frmInpRenban.numInit", "（章）に対する初期値", 0, 99, "#0"),
    F("frmInpRenban.numMargin0", "（章）レベルに対して", 0, 10, "#0"),
    F("frmInpRenban.numMargin1", "（節）レベルに対して", 0, 10, "#0"),
    F("frmInpRenban.numMargin2", "（項）レベルに対して", 0, 10, "#0"),
    F("frmInpRenban.numMargin3", "（№）レベルに対して", 0, 10, "#0"),
};

const std::vector<const FieldRange*>& Ranges() {
    static const std::vector<const FieldRange*> all = [] {
        std::vector<const FieldRange*> v;
        for (const DesignField& f : DesignFields()) {
            if (f.HasInput()) v.push_back(&f);
        }
        for (const DesignField& f : SiteFields()) v.push_back(&f);
        for (const FieldRange& f : kWindowRanges) v.push_back(&f);
        return v;
    }();
    return all;
}

}  // namespace

std::span<const FieldRange* const> AllFieldRanges() { return Ranges(); }

const FieldRange* FindFieldRange(std::string_view name) {
    for (const FieldRange* f : Ranges()) {
        if (f->name == name) return f;
    }
    return nullptr;
}

int DecimalPlaces(std::string_view picture) {
    int places = 0;
    bool after = false;
    for (std::size_t i = 0; i < picture.size(); ++i) {
        const char c = picture[i];
        if (c == ';') break;
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c == '.') {
            after = true;
        } else if (after && (c == '0' || c == '#')) {
            ++places;
        }
    }
    return places;
}

bool InRange(const FieldRange& f, double value) {
    // What the user types is rounded by the field to the places it shows, so the typed values
    // nearest a limit from outside lie one whole display step (0.01 for "#0.00", 1 for "##0")
    // beyond it; no tolerance below a step can let one of them in or shut a limit out. Values
    // the user did not type (a file's, a calculated wall height) may carry floating-point noise
    // in their last bits and still show as the limit itself: a millionth of a step lies far
    // above that noise (a few units of the 16th significant digit, 1e-7 even for the nine-digit
    // elastic moduli) and far below the step, so what the field shows as the limit is accepted
    // and nothing the user can type changes its verdict. A field shown in full (the grids'
    // general format) has no hidden digits and is compared exactly.
    // An open lower limit is a value the method cannot work with (zero): anything above it is
    // taken, the limit itself and its floating-point neighbours below are not.
    const double tol =
        f.displayFormat.empty() ? 0.0 : 1e-6 * std::pow(10.0, -DecimalPlaces(f.displayFormat));
    const bool aboveMin = f.minOpen ? value > f.min : value >= f.min - tol;
    return aboveMin && value <= f.max + tol;
}

double LowestTypedValue(const FieldRange& f) {
    // A typed value is rounded to the places the field shows, so above an open limit the first
    // value the user can enter lies one display step up; the message shows that value rather
    // than a limit the field would refuse.
    if (!f.minOpen) return f.min;
    return f.min + std::pow(10.0, -DecimalPlaces(f.displayFormat));
}

Message RangeMessage(const FieldRange& f) {
    // The display format: thousands separators make the elastic-modulus limits readable.
    std::string text = "入力範囲：";
    text += numfmt::FormatNumber(LowestTypedValue(f), f.displayFormat);
    text += " ～ ";
    text += numfmt::FormatNumber(f.max, f.displayFormat);
    return Message{0, text, std::string(f.caption), MsgIcon::Information, MsgButtons::Ok};
}

const DesignField* FindTextLimit(std::string_view name) {
    const DesignField* f = FindDesignField(name);
    return f && f->type == FieldType::Text ? f : nullptr;
}

bool TextFieldAcceptable(std::string_view field, std::string_view text) {
    const DesignField* t = FindTextLimit(field);
    return t != nullptr && TextFieldAcceptable(*t, text);
}

bool TextFieldAcceptable(const DesignField& field, std::string_view text) {
    if (field.type != FieldType::Text) return false;
    for (char c : text) {
        // A double quote would end the text early in the design file; a line break would split
        // a one-line field.
        if (c == '"' || c == '\r' || c == '\n') return false;
    }
    bool exact = false;
    const std::string bytes = cp932::FromUtf8(text, &exact);
    // A character without a code page 932 form would be saved as "?": refuse it here, where the
    // user can still see what was typed.
    if (!exact) return false;
    return bytes.size() <= static_cast<std::size_t>(field.maxBytes);
}

std::span<const GridColumn> GridColumns(std::string_view grid) {
    if (grid == "InpSectC") return SectionFields(Catalogue::Concrete);
    if (grid == "InpSectLS") return SectionFields(Catalogue::LightSteel);
    if (grid == "InpSectS") return SectionFields(Catalogue::Steel);
    return {};
}

std::string GridInputHint(const GridColumn& c) {
    std::string hint = "入力範囲：";
    switch (c.kind) {
        case CellKind::Text:
            return hint + std::to_string(c.maxBytes) + "ﾊﾞｲﾄ以内の文字列";
        case CellKind::List:
            return hint + "(選択ﾘｽﾄ一覧より選択)";
        case CellKind::Number:
        case CellKind::Decimal:
            return hint + numfmt::General(c.min) + "～" + numfmt::General(c.max);
    }
    return {};
}

bool CellAcceptable(const GridColumn& c, double value) { return InRange(c, value); }

namespace {

bool IsRowField(const DesignField& f) {
    return f.record == Record::SectC || f.record == Record::SectS || f.record == Record::Layer;
}

bool InItsRange(const DesignField& f, double v) {
    return IsRowField(f) ? CellAcceptable(f, v) : !f.HasInput() || InRange(f, v);
}

std::vector<double> CollectNewDesignValues(const DesignField& f) {
    std::vector<double> values;
    if (f.type == FieldType::Text || f.type == FieldType::Rows) return values;
    auto add = [&](double v) {
        if (!InItsRange(f, v) && std::find(values.begin(), values.end(), v) == values.end()) {
            values.push_back(v);
        }
    };
    auto collect = [&](const auto& col) {
        for (const auto& row : col) add(NumberOf(f, &row));
    };
    if (!IsRowField(f)) {
        add(NumberOf(f, DefaultRecord(f.record)));
    } else if (f.record == Record::Layer) {
        // A new layer row holds values inside the ranges.
        return values;
    } else if (f.record == Record::SectC) {
        add(f.newValue);
        colInpSectC c;
        AddBuiltInConcrete(c);
        collect(c);
    } else {
        // Light steel and steel have fields of their own: each takes only its own sections.
        add(f.newValue);
        const std::span<const DesignField> light = SectionFields(Catalogue::LightSteel);
        const bool isLight =
            std::any_of(light.begin(), light.end(), [&](const DesignField& l) { return &l == &f; });
        colInpSectS c;
        if (isLight) {
            AddBuiltInLightSteel(c);
        } else {
            AddBuiltInSteel(c);
        }
        collect(c);
    }
    return values;
}

}  // namespace

std::span<const double> NewDesignValuesOutsideRange(const DesignField& f) {
    // Every design is checked before it is calculated, a sweep thousands of times: the values
    // are collected once per field.
    // Keyed by the field itself: light steel and steel have fields of the same name.
    static const std::map<const DesignField*, std::vector<double>> all = [] {
        std::map<const DesignField*, std::vector<double>> m;
        auto take = [&](std::span<const DesignField> fields) {
            for (const DesignField& d : fields) {
                std::vector<double> v = CollectNewDesignValues(d);
                if (!v.empty()) m.emplace(&d, std::move(v));
            }
        };
        take(DesignFields());
        take(SectionFields(Catalogue::Concrete));
        take(SectionFields(Catalogue::LightSteel));
        take(SectionFields(Catalogue::Steel));
        take(SiteFields());
        take(LayerFields());
        return m;
    }();
    const auto it = all.find(&f);
    if (it == all.end()) return {};
    return it->second;
}

bool DesignValueAcceptable(const DesignField& f, double value) {
    if (InItsRange(f, value)) return true;
    const std::span<const double> fresh = NewDesignValuesOutsideRange(f);
    return std::find(fresh.begin(), fresh.end(), value) != fresh.end();
}

}  // namespace kuvelt
