#include "model/design_checks.h"

#include <cstdio>
#include <string>

namespace kuvelt {

namespace {

// A level as the window shows it: sign and two decimals ("+3.50").
std::string Level(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%+.2f", v);
    return buf;
}

std::string Depth(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

Message Conflict(const std::string& text) {
    return Message{0, text, "設計条件の入力", MsgIcon::Information, MsgButtons::Ok};
}

}  // namespace

std::optional<ConditionConflict> DesignConditionsConflict(const CInpJyoken& c) {
    if (c.ELDL >= c.ELGL) {
        return ConditionConflict{
            Conflict(
                "設計地盤面(m) " + Level(c.ELDL) + " が地表面(m) " + Level(c.ELGL) +
                " 以上です。壁高がないため計算できません。設計地盤面を地表面より低くして下さい。"),
            "CInpJyoken.ELDL"};
    }
    if (c.ELYU < c.ELGL) {
        return ConditionConflict{
            Conflict("矢板天端(m) " + Level(c.ELYU) + " が地表面(m) " + Level(c.ELGL) +
                     " より低くなっています。矢板天端は地表面以上として下さい。"),
            "CInpJyoken.ELYU"};
    }
    if (!(c.Z > 0.0)) {
        return ConditionConflict{
            Conflict("設計地盤面より検討する深さ(m) " + Depth(c.Z) + " では設計地盤面(m) " +
                     Level(c.ELDL) + " より下が検討されません。正の深さを入力して下さい。"),
            "CInpJyoken.Z"};
    }
    return std::nullopt;
}

}  // namespace kuvelt
