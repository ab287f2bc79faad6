// Load resultant above the virtual ground: clips the net pressure layers to [WL, WU], breaks
// them into rectangles and triangles (Detail) and sums them into the force P, its moment M about
// WL, its height Y above WL and its elevation ELY. Units: m, kN/m2, kN/m, kN·m/m.
// Calc never raises: a fault ends it with Error set, values computed before it stay.
#pragma once

#include <cstdint>

#include "model/collection.h"

namespace kuvelt {

struct clsPressureLoad {
    double EU = 0.0;
    double EL = 0.0;
    double H = 0.0;
    double PU = 0.0;
    double PL = 0.0;

    bool operator==(const clsPressureLoad&) const = default;
};

class colPressureLoad : public Collection<clsPressureLoad> {
  public:
    clsPressureLoad* Add(double dblEU, double dblH, double dblPU, double dblPL,
                         int32_t lngIndex = 0, bool blnBefore = false);
};

struct clsPressureDetail {
    int32_t Section = 0;  // 0 rectangle, 1 triangle with its ordinate at the top, 2 at the bottom
    double P = 0.0;       // ordinate, kN/m2
    double Y = 0.0;       // height of the layer bottom above WL, m
    double H = 0.0;       // layer thickness, m
    double Pi = 0.0;      // force, kN/m
    double Yi = 0.0;      // height of its line of action above WL, m
    double Mi = 0.0;      // moment about WL, kN·m/m

    bool operator==(const clsPressureDetail&) const = default;
};

class colPressureDetail : public Collection<clsPressureDetail> {
  public:
    clsPressureDetail* Add(int32_t lngSection, double dblP, double dblY, double dblH, double dblPi,
                           double dblYi, double dblMi, int32_t lngIndex = 0,
                           bool blnBefore = false);
};

class clsPressure {
  public:
    double WU = 0.0;  // upper level, m
    double WL = 0.0;  // lower level and moment reference, m

    colPressureLoad& Qdi() { return Qdi_; }
    const colPressureLoad& Qdi() const { return Qdi_; }
    const colPressureLoad& Qdo() const { return Qdo_; }
    const colPressureDetail& Detail() const { return Detail_; }

    void Calc();

    int32_t Error() const { return error_; }
    double P() const { return P_; }
    double M() const { return M_; }
    double Y() const { return Y_; }
    double ELY() const { return ELY_; }

  private:
    void ClipToRange();
    void AddDetail(const clsPressureLoad& q);

    int32_t error_ = 0;
    colPressureLoad Qdi_, Qdo_;
    colPressureDetail Detail_;
    double P_ = 0.0, M_ = 0.0, Y_ = 0.0, ELY_ = 0.0;
};

}  // namespace kuvelt
