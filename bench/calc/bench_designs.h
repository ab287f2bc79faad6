// Designs the calculation benchmarks share: the sand channel wall every figure starts from.
#pragma once

#include "model/design.h"

namespace kuvelt::bench {

// A 3.5 m channel wall in sand with groundwater and a surcharge behind it.
inline void SandChannel() {
    InitData();
    gInpJyoken.InpFlg = true;
    gInpJyoken.ELGL = 3.5;
    gInpJyoken.ELYU = 3.5;
    gInpJyoken.ELDL = 0.0;
    gInpJyoken.ELWL = 2.0;
    gInpJyoken.Z = 10.0;
    gInpJyoken.Keijyo = 0;
    gInpJyoken.K0X = 0.0;
    gInpJyoken.K0Q = 10.0;
    gInpJiban.InpFlg = true;
    gInpJiban.Kind = 0;
    gInpJiban.Fai = 30.0;
    gInpJiban.KH = 3000.0;
}

}  // namespace kuvelt::bench
