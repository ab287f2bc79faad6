// Chang's solution for the sheet pile below the virtual ground surface: a semi-infinite beam on
// an elastic foundation with a free head under the resultant P at height h. Units: m, kN/m,
// kN/m3, elastic modulus in 1000 kN/m2. A fault makes CalcChang return false; it never throws.
#pragma once

#include <cstdint>
#include <vector>

#include "calc/fault.h"
#include "model/design.h"

namespace kuvelt {

class KhProfile;

// Results of the last CalcChang call: characteristic value beta (1/m), maximum bending moment
// (kN*m/m, negative with this sign convention) and its depth below the virtual ground (m).
extern double ChangBeta;
extern double ChangMmax;
extern double ChangLm;
// The coefficient of horizontal subgrade reaction the last call found beta with (kN/m3).
extern double ChangKh;

// lngCase 1: load at the virtual ground (h taken as zero); 2: load at height h above it.
// B loaded width (m), P resultant (kN/m), I second moment of area (m4/m), Ek effective modulus
// E*alpha / 1000, KH coefficient of horizontal subgrade reaction (kN/m3). False on an arithmetic
// fault (zero rigidity, negative root, overflow); the outputs then hold 0 or what was computed.
bool CalcChang(int32_t lngCase, fault::Num B, fault::Num h, fault::Num P, fault::Num I,
               fault::Num Ek, fault::Num KH);
// The same in layered ground: Kh is the mean over 1/beta below the virtual ground `top` of the
// ground `layers` (KhProfile::Beta, calc/layer_kh.h), so beta solves
// beta = (Kh(1/beta) B / (4 EI))^(1/4); equal Kh below `top` gives the uniform ground's beta.
bool CalcChang(int32_t lngCase, fault::Num B, fault::Num h, fault::Num P, fault::Num I,
               fault::Num Ek, const std::vector<CInpJibanLayer>& layers, double top);
// The same on a profile laid out once for all the sections of a pass.
bool CalcChang(int32_t lngCase, fault::Num B, fault::Num h, fault::Num P, fault::Num I,
               fault::Num Ek, const KhProfile& ground);

}  // namespace kuvelt
