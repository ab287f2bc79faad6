// Active and passive earth pressure: the layer records shared by both sides, the stages clsSpa
// (Coulomb / cohesion with the half-overburden lower bound) and clsSpp, their coefficient and
// slip-angle functions, and the driver steps CalcActive and CalcPassive that build the layers.
// Units: m, kN/m2, kN/m3; angle properties in degrees, function arguments in radians.
// clsSpa/clsSpp::Calc never raise (Error). CalcActive/CalcPassive have no handler of their own:
// a fault in them propagates as CalcFault to CalcMain, which fails the run.
#pragma once

#include <cstdint>

#include "calc/fault.h"
#include "model/collection.h"
#include "model/design.h"

namespace kuvelt {

struct clsSpJiban {
    int32_t No = 0;
    double EU = 0.0;
    double EL = -100.0;
    double H = 100.0;
    int32_t Kind = 0;  // 0 sandy, any other value clayey
    double Gs = 18.0;
    double Fai = 30.0;
    double CU = 0.0, CL = 0.0;
    double KhU = 0.0, KhL = 0.0;
    double GH = 0.0;
    double GHU = 0.0, GHL = 0.0;
    double ZetaU = 0.0, ZetaL = 0.0;
    double TU = 0.0, TL = 0.0;
    double KaU = 0.0, KaL = 0.0;
    // Sandy pieces: Coulomb's coefficient before its horizontal projection (KaU = CoefU × cos δ)
    // and the term t under its square root, at each end, for the report's hand check.
    double CoefU = 0.0, CoefL = 0.0;
    double RootU = 0.0, RootL = 0.0;
    double PU = 0.0, PL = 0.0;
    double P1U = 0.0, P1L = 0.0;
    double P2U = 0.0, P2L = 0.0;
    double PaU = 0.0, PaL = 0.0;
    int32_t Layer = 1;  // the ground layer the piece belongs to, from 1 at the ground surface

    bool operator==(const clsSpJiban&) const = default;
};

class colSpJiban : public Collection<clsSpJiban> {
  public:
    clsSpJiban* Add(int32_t lngNo, double dblEU, double dblH, int32_t lngKind, double dblGs,
                    double dblFai, double dblCU, double dblCL, double dblKhU, double dblKhL,
                    int32_t lngIndex = 0, bool blnBefore = false);
};

// Active side behind the wall.
class clsSpa {
  public:
    double Q = 0.0;       // surcharge on the ground surface, kN/m2
    double Beta = 0.0;    // ground slope, degrees
    double Jei = 0.0;     // wall inclination from the vertical, degrees
    double Delta = 15.0;  // wall friction angle, degrees
    double ELGL = 0.0;    // for the report only
    double ELDL = 0.0;    // for the report only

    colSpJiban& Jiban() { return Jiban_; }
    const colSpJiban& Jiban() const { return Jiban_; }

    void Calc();

    int32_t Error() const { return error_; }
    double Q2() const { return Q2_; }

  private:
    int32_t error_ = 0;
    double Q2_ = 0.0;
    colSpJiban Jiban_;
};

// Passive side in front of the wall; KaU/KaL and PaU/PaL of its layers hold the passive values.
class clsSpp {
  public:
    double Q = 0.0;
    double Beta = 0.0;
    double Jei = 0.0;
    double Delta = -15.0;  // passive wall friction carries a negative sign
    double ELGL = 0.0;
    double ELDL = 0.0;

    colSpJiban& Jiban() { return Jiban_; }
    const colSpJiban& Jiban() const { return Jiban_; }

    void Calc();

    int32_t Error() const { return error_; }
    double Q2() const { return Q2_; }

  private:
    int32_t error_ = 0;
    double Q2_ = 0.0;
    colSpJiban Jiban_;
};

// Active earth-pressure coefficient (radians in); -1 when it cannot be evaluated.
double GetKa(fault::Num dblFai, fault::Num dblBeta, fault::Num dblJei, fault::Num dblDelta,
             fault::Num dblTheta);
// The term t under the square root of GetKa (resp. GetKp); 0 when it cannot be evaluated.
double GetKaRoot(fault::Num dblFai, fault::Num dblBeta, fault::Num dblJei, fault::Num dblDelta,
                 fault::Num dblTheta);
double GetKpRoot(fault::Num dblFai, fault::Num dblBeta, fault::Num dblJei, fault::Num dblDelta,
                 fault::Num dblTheta);
// Angle of the active slip plane from the horizontal (radians); β when it cannot be evaluated.
double GetZetaA(fault::Num dblFai, fault::Num dblBeta, fault::Num dblJei, fault::Num dblDelta,
                fault::Num dblTheta);
// Passive earth-pressure coefficient (δ with its negative sign); -1 when it cannot be evaluated.
double GetKp(fault::Num dblFai, fault::Num dblBeta, fault::Num dblJei, fault::Num dblDelta,
             fault::Num dblTheta);
// Angle of the passive slip plane from the horizontal (radians); -1 when it cannot be evaluated.
double GetZetaP(fault::Num dblFai, fault::Num dblBeta, fault::Num dblJei, fault::Num dblDelta,
                fault::Num dblTheta);

// Driver steps: build gKhActive/gSpa (resp. gKhPassive/gSpp) from the current design and gQqw,
// a piece of every ground layer on each side with that layer's soil, the wall friction DeltaA
// behind the wall and -DeltaP in front of it. They raise CalcFault on a run-time fault (constant
// slope with K1m = 0, for instance).
void CalcActive();
void CalcPassive();

// The water level of the ground in front of the wall: the groundwater level, or the channel water
// level where that stands higher above the design ground level (the ground there is submerged).
double PassiveWaterLevel(const CInpJyoken& c);

}  // namespace kuvelt
