#include "calc/rwp.h"

#include <cmath>

#include "calc/fault.h"
#include "calc/rounding.h"

namespace kuvelt {

void clsRWp::Calc() {
    error_ = 0;
    fault::Guard(error_, [&] {
        DH_ = RoundHalfUp(fault::Num(ELRWL) - ELLWL, 2);
        // The magnitude: a residual level below the front level still gives a pressure; the
        // driver applies it only for a positive head.
        Pw_ = RoundHalfUp(fault::Num(std::fabs(DH_)) * Gw, 2);
    });
}

}  // namespace kuvelt
