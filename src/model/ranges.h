// The input rules of every field the user types into: the design fields of design_fields.h
// (the four records and the section-grid columns) and the window-only numeric fields of the
// sheet-pile choice and numbering windows. There is one range check (InRange) and one range
// message (RangeMessage); the windows ask these and never decide a range themselves. The records
// themselves never check anything. Lookups never fail loudly: an unknown name gives nullptr or
// false.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/design_fields.h"
#include "platform/message.h"

namespace kuvelt {

// All numeric input fields, in window order: the design fields with an input range, then the
// sheet-pile choice window's and the numbering window's.
std::span<const FieldRange* const> AllFieldRanges();
// The numeric input field of `name`, or nullptr.
const FieldRange* FindFieldRange(std::string_view name);

// The one range check: min <= value <= max, both limits included, with a tolerance of a
// millionth of the last digit the field shows (see ranges.cpp); min < value when the lower limit
// is open. Not-a-number is refused.
bool InRange(const FieldRange& f, double value);

// The lowest value the field takes as the user types it: min, or for an open lower limit the
// next value the field's display format can hold (0.1 for "0.0", 1 for "##0").
double LowestTypedValue(const FieldRange& f);

// "入力範囲：" + LowestTypedValue + " ～ " + max in the field's display format, titled with its
// caption, information icon, OK.
Message RangeMessage(const FieldRange& f);

// Number of digit places after the decimal point of a number picture's first section.
int DecimalPlaces(std::string_view picture);

// A text field ("CInpJyoken.Title", "CInpSectC.Name" …) of the design table, or nullptr.
const DesignField* FindTextLimit(std::string_view name);
// True when `text` (UTF-8) may be stored in the text field: at most maxBytes code page 932
// bytes, no double quote (the design file stores texts between double quotes), no line break,
// only characters code page 932 can hold. False for unknown fields.
bool TextFieldAcceptable(std::string_view field, std::string_view text);
bool TextFieldAcceptable(const DesignField& field, std::string_view text);

// A column of a section registration grid is the section record's field.
using GridColumn = DesignField;

// The columns of one grid ("InpSectC" concrete, "InpSectLS" light steel, "InpSectS" steel), in
// column order; empty for other names.
std::span<const GridColumn> GridColumns(std::string_view grid);
// The status-bar hint of a cell: "入力範囲：15ﾊﾞｲﾄ以内の文字列", "入力範囲：(選択ﾘｽﾄ一覧より選択)",
// "入力範囲：100～999999999.9" (limits in general number format).
std::string GridInputHint(const GridColumn& c);
// The range check of a number or list cell (InRange of the column).
bool CellAcceptable(const GridColumn& c, double value);

// The values of a field that a new design holds although the field's input range excludes them:
// the record's default (no section number before a pile is chosen), a new grid row's and the
// built-in catalogues' (light-steel sections smaller than the grid's lower limits). They are
// taken wherever a design's values are checked, so everything a new design holds passes.
std::span<const double> NewDesignValuesOutsideRange(const DesignField& f);
// A design field's value as the windows take it: inside the field's input range (a section
// row's: its grid column's), or a value a new design holds.
bool DesignValueAcceptable(const DesignField& f, double value);

// Captions of the choices, indexed by the stored value.
inline constexpr std::string_view kKeijyoCaptions[] = {"水平", "一定勾配", "台形"};
inline constexpr std::string_view kKindCaptions[] = {"砂質土", "粘性土"};
inline constexpr std::string_view kYaitaCaptions[] = {"ｺﾝｸﾘｰﾄ矢板", "軽量鋼矢板", "鋼矢板"};
inline constexpr std::string_view kSectShapeCaptions[] = {"平形矢板", "溝型矢板", "波形矢板"};

}  // namespace kuvelt
