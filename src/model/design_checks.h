// Checks across the fields of the design conditions that no single field's range can make: a
// wall must have height, its pile head must not stand below the ground surface, and the depth
// examined must reach below the design ground level. The design-conditions window refuses them
// on OK; a design file may still hold such values (read and written unchanged), so kuvelt-calc
// warns with the same message and calculates as before.
#pragma once

#include <optional>
#include <string_view>

#include "model/design.h"
#include "platform/message.h"

namespace kuvelt {

struct ConditionConflict {
    Message message;              // names both fields and their values
    std::string_view focusField;  // "CInpJyoken.ELDL": the field to correct
};

// The first conflict of the design conditions, in the order wall height, pile head, depth.
std::optional<ConditionConflict> DesignConditionsConflict(const CInpJyoken& c);

}  // namespace kuvelt
