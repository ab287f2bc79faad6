// The three sheet-pile kinds, in the one order used everywhere: concrete, light steel, steel.
// The stored choice (CInpYaita.Yaita) numbers them 0, 1, 2 and the per-section result tables
// 1, 2, 3; code names the kind and converts at those two edges only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kuvelt {

enum class PileKind : int32_t { Concrete = 0, LightSteel = 1, Steel = 2 };

inline constexpr std::array<PileKind, 3> kPileKinds = {PileKind::Concrete, PileKind::LightSteel,
                                                       PileKind::Steel};

// The value stored in CInpYaita.Yaita.
constexpr int32_t ChoiceValue(PileKind k) { return static_cast<int32_t>(k); }
// The kind of a stored CInpYaita.Yaita, or nothing for a value no kind has.
constexpr std::optional<PileKind> KindOfChoice(int32_t yaita) {
    if (yaita < 0 || yaita > 2) return std::nullopt;
    return static_cast<PileKind>(yaita);
}
// The kind index (first subscript) of gSectChang, gSectStress, gSectEmbed and gSectDisp.
constexpr int32_t TableIndex(PileKind k) { return static_cast<int32_t>(k) + 1; }

// "ｺﾝｸﾘｰﾄ矢板", "軽量鋼矢板", "鋼矢板".
constexpr std::string_view KindCaption(PileKind k) {
    switch (k) {
        case PileKind::Concrete:
            return "ｺﾝｸﾘｰﾄ矢板";
        case PileKind::LightSteel:
            return "軽量鋼矢板";
        default:
            return "鋼矢板";
    }
}

}  // namespace kuvelt
