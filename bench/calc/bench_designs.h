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

// The same wall in ten ground layers (the most a design holds): sands of rising friction and
// subgrade reaction with a clayey layer between them, every top a split of both layer tables and
// Kh different in each, so that every section's β is solved for in the averaged Kh.
inline void SandChannelTenLayers() {
    SandChannel();
    const double tops[] = {2.5, 1.5, 0.5, -0.5, -1.5, -2.5, -3.5, -4.5, -6.0};
    for (int i = 0; i < 9; ++i) {
        CInpJibanLayer l;
        l.ELU = tops[i];
        l.Kind = i == 2 ? 1 : 0;
        l.Gt = 18.0 + 0.1 * i;
        l.Gws = 9.0 + 0.1 * i;
        l.Fai = 30.0 + 0.5 * i;
        l.Ca = 1.0;
        l.Cb = 30.0;
        l.KH = 3000.0 + 2000.0 * i;
        gInpJiban.Layers.push_back(l);
    }
}

}  // namespace kuvelt::bench
