// The valid input ranges, number formats, captions and text limits of every field the user types
// into: the four design records, the section-grid columns, the sheet-pile choice window and the
// numbering window. The windows build their fields from these tables; the records themselves
// never check anything. Units are those of the records (design.h). Lookups never fail loudly:
// an unknown name gives nullptr or false.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/message.h"

namespace kuvelt {

// A numeric input field: accepted when min <= value <= max (both limits included).
struct FieldRange {
    std::string_view name;     // "CInpJiban.Fai", "frmInpYaita.numL", "frmInpRenban.numInit"
    std::string_view caption;  // the field's label in its window; titles the range message
    std::string_view group;    // heading the field stands under ("" when none)
    double min;
    double max;
    std::string_view displayFormat;  // number picture shown while the field is not edited
    std::string_view editFormat;     // number picture while the value is being edited
};

// A text input field: at most maxBytes code page 932 bytes, no double quote (the design file
// stores texts between double quotes), no line break, only characters code page 932 can hold.
struct TextLimit {
    std::string_view name;  // "CInpJyoken.Title", "InpSectC.Name"
    std::string_view caption;
    int32_t maxBytes;
};

enum class CellKind { Text, List, Number, Decimal };

// One column of a section registration grid ("InpSectC" concrete, "InpSectS" light steel and
// steel). New rows get newText (text and list cells: the list index as newValue) or newValue.
struct GridColumn {
    std::string_view grid;
    int32_t column;  // 1-based
    std::string_view header;
    std::string_view field;  // record field the column edits ("Name", "Keijyo", "Ic" …)
    CellKind kind;
    double min;
    double max;
    int32_t maxBytes;  // text cells only
    double newValue;
    std::string_view newText;  // text cells only
};

// All numeric fields, in window order.
std::span<const FieldRange> AllFieldRanges();
// The numeric field of `name`, or nullptr.
const FieldRange* FindFieldRange(std::string_view name);
bool InRange(const FieldRange& f, double value);

// "入力範囲：" + min + " ～ " + max in the field's display format, titled with its caption,
// information icon, OK.
Message RangeMessage(const FieldRange& f);

std::span<const TextLimit> AllTextLimits();
const TextLimit* FindTextLimit(std::string_view name);
// True when `text` (UTF-8) may be stored in the text field `field`; false for unknown fields.
bool TextFieldAcceptable(std::string_view field, std::string_view text);

// The columns of one grid ("InpSectC" or "InpSectS"), in column order; empty for other names.
std::span<const GridColumn> GridColumns(std::string_view grid);
// The status-bar hint of a cell: "入力範囲：15ﾊﾞｲﾄ以内の文字列", "入力範囲：(選択ﾘｽﾄ一覧より選択)",
// "入力範囲：100～999999999.9" (limits in general number format).
std::string GridInputHint(const GridColumn& c);
bool CellAcceptable(const GridColumn& c, double value);

// Captions of the choices, indexed by the stored value.
inline constexpr std::string_view kKeijyoCaptions[] = {"水平", "一定勾配", "台形"};
inline constexpr std::string_view kKindCaptions[] = {"砂質土", "粘性土"};
inline constexpr std::string_view kYaitaCaptions[] = {"ｺﾝｸﾘｰﾄ矢板", "軽量鋼矢板", "鋼矢板"};
inline constexpr std::string_view kSectShapeCaptions[] = {"平形矢板", "溝型矢板", "波形矢板"};

}  // namespace kuvelt
