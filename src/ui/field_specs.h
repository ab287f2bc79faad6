// The windows' side of the design-field table (model/design_fields.h, model/ranges.h): the
// range of a numeric field by name, the byte limit of a text field, and the transfer of values
// between a window's fields and the current design. A NumField or TextField whose name is a
// design field's ("CInpJiban.Fai", "CInpJyoken.Title" …) moves to and from exactly that record
// member; fields of other names (the choice and numbering windows') are left alone.
#pragma once

#include <string>
#include <string_view>

#include "model/ranges.h"

class QWidget;

namespace kuvelt::ui {

// The numeric field of `name` (model/ranges.h); an unknown name gives a range that accepts
// nothing, so a misnamed field can never pass its check unnoticed.
const FieldRange& FieldFor(std::string_view name);

// Byte limit of a text field ("CInpJyoken.Title" ...); 0 for an unknown name.
int TextLimitBytes(const std::string& name);

// Record → field for every NumField and TextField under `window` that edits a design field.
void LoadDesignFields(QWidget& window);
// Field → record for the same fields (disabled ones too: they keep the values they show).
void SaveDesignFields(const QWidget& window);

}  // namespace kuvelt::ui
