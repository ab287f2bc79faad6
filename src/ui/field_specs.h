// The ranges, number formats and captions of the numeric design fields the windows show,
// looked up by "Record.Field" name.
#pragma once

#include <string>

#include "ui/fields.h"

namespace kuvelt::ui {

// nullptr for an unknown name.
const NumSpec* FindFieldSpec(const std::string& name);

// Byte limits of the text fields in code page 932.
inline constexpr int kTitleBytes = 80;
inline constexpr int kGradeBytes = 10;

}  // namespace kuvelt::ui
