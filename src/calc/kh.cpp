#include "calc/kh.h"

#include "calc/fault.h"
#include "calc/rounding.h"

namespace kuvelt {

using fault::Num;

clsKhJiban* colKhJiban::Add(int32_t lngNo, double dblEU, double dblH, double dblGs1, double dblGs2,
                            int32_t lngIndex, bool blnBefore) {
    clsKhJiban j;
    j.No = lngNo;
    j.EU = dblEU;
    j.EL = dblEU - dblH;
    j.H = dblH;
    j.Gs1 = dblGs1;
    j.Gs2 = dblGs2;
    return AddItem(j, lngIndex, blnBefore);
}

clsKhAddEL* colKhAddEL::Add(double dblEL) { return AddItem(clsKhAddEL{dblEL}); }

void clsKh::SplitLayers(double e) {
    for (int32_t i = 1; i <= Jiban_.Count(); ++i) {
        clsKhJiban& j = fault::At(Jiban_, i);
        Num h = Num(j.EU) - e;
        if (h > j.H) h = j.H;
        if (h < 0.0) h = 0.0;
        h = SplitThickness(h);
        const Num r = j.H - h;
        if (ThickEnough(h) && ThickEnough(r)) {
            // The upper part keeps the top; the lower part follows it with the same soil.
            j.EL = e;
            j.H = double(h);
            Jiban_.Add(j.No, e, double(r), j.Gs1, j.Gs2, i, false)->Layer = j.Layer;
            return;
        }
    }
}

void clsKh::Calc() {
    error_ = 0;
    fault::Guard(error_, [&] {
        SplitLayers(RWL);
        for (const clsKhAddEL& a : AddEL_) SplitLayers(a.EL);
        for (clsKhJiban& j : Jiban_) {
            j.HwU = double(Num(RWL) - j.EU);
            if (j.HwU < 0.0) j.HwU = 0.0;
            j.HwL = double(Num(RWL) - j.EL);
            if (j.HwL < 0.0) j.HwL = 0.0;
        }
        // Below the water the soil weighs its saturated weight less water, taken as 10 kN/m3
        // in this rule whatever the design's unit weight of water. A layer reaching a
        // millimetre or less below the water (too little to be split off) counts as above it.
        for (clsKhJiban& j : Jiban_) {
            j.Gs3 = ThickEnough(j.HwL) ? double(Num(j.Gs2) - 10.0) : j.Gs1;
        }
    });
}

}  // namespace kuvelt
