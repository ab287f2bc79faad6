// The numeric fields' ranges, formats and captions and the text fields' byte limits, as the
// windows use them, taken from the input-range table of model/ranges.h by "Record.Field" name.
#pragma once

#include <string>

#include "ui/fields.h"

namespace kuvelt::ui {

// nullptr for a name the range table does not know.
const NumSpec* FindFieldSpec(const std::string& name);

// Byte limit of a text field ("CInpJyoken.Title" ...); 0 for an unknown name.
int TextLimitBytes(const std::string& name);

}  // namespace kuvelt::ui
