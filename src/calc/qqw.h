// Surcharge stage: turns the surcharge behind the wall (horizontal, constant slope or trapezoid
// embankment) into one uniform surcharge pressure Q for the active earth pressure.
// Units: m, kN/m2, kN/m3. Calc never raises: a run-time fault ends it with Error set.
#pragma once

#include <cstdint>

#include "calc/fault.h"

namespace kuvelt {

class clsQqw {
  public:
    // Inputs.
    double H = 0.0;      // wall height ELGL - ELDL, m
    int32_t Keijyo = 0;  // 0 horizontal, 1 constant slope, any other value trapezoid
    double D1X = 0.0;    // horizontal: distance from the wall to the surcharge, m
    double D1Q = 0.0;    // horizontal: surcharge, kN/m2
    double D2m = 0.0;    // constant slope 1 : m (the active stage uses it, Calc does not)
    double D2Q = 0.0;    // constant slope: surcharge, kN/m2
    double D3X1 = 0.0;   // trapezoid: distance to the foot of the embankment slope, m
    double D3X2 = 0.0;   // trapezoid: horizontal length of the slope, m
    double D3Ho = 0.0;   // trapezoid: embankment height, m
    double D3Gs = 0.0;   // trapezoid: unit weight of the embankment, kN/m3
    double D3Q = 0.0;    // trapezoid: surcharge on the crest, kN/m2

    void Calc();

    // Outputs.
    int32_t Error() const { return error_; }
    double Xq() const { return Xq_; }
    double Xw() const { return Xw_; }
    double XHq() const { return XHq_; }
    double XHw() const { return XHw_; }
    double Iq() const { return Iq_; }
    double Iw() const { return Iw_; }
    double QQ() const { return QQ_; }
    double Qw() const { return Qw_; }
    double Q() const { return Q_; }

  private:
    int32_t error_ = 0;
    double Xq_ = 0.0, Xw_ = 0.0, XHq_ = 0.0, XHw_ = 0.0, Iq_ = 0.0, Iw_ = 0.0;
    double QQ_ = 0.0, Qw_ = 0.0, Q_ = 0.0;
};

// Influence factor of a surcharge at the relative distance x (distance / wall height), rounded
// to 0.001: 1 at the wall, falling towards 0. A fault inside it gives 0.
double InfluenceFactor(fault::Num x);

}  // namespace kuvelt
