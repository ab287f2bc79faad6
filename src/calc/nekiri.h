// Stability of the excavation bottom: boiling (sandy ground) and heaving (clayey ground), with
// the two check instances gNekiriAnteiAs and gNekiriAnteiAc of the result store. Units: m,
// kN/m3, kN/m2. A check's Calc never throws: a fault sets Error and Calc returns false.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "calc/rounding.h"
#include "model/collection.h"
#include "platform/message.h"

namespace kuvelt {

// One pair of the boiling reference table: embedment depth (m) and its safety factor.
struct CDim1x2 {
    double Value1 = 0.0;
    double Value2 = 0.0;
};

class colDim1x2 : public Collection<CDim1x2> {
  public:
    CDim1x2* Add(double dblValue1, double dblValue2, int32_t lngIndex = 0, bool blnBefore = false) {
        return AddItem(CDim1x2{dblValue1, dblValue2}, lngIndex, blnBefore);
    }
};

// A value of a layer below a level: from `depth` below that level down to the next one's depth,
// the last one on below.
struct DepthValue {
    double depth = 0.0;  // m
    double value = 0.0;

    bool operator==(const DepthValue&) const = default;
};

// Boiling: F = 2 gamma' D / (Hw gamma_w), with a reference table over 20 embedment depths.
// In layered ground gamma' of each depth d is the thickness-weighted mean of the layers within
// d below the design ground level (MeanGws).
class clsNekiriAnteiAs {
  public:
    double Gws = 0.0;  // submerged unit weight of the soil directly below the bottom, kN/m3
    double Gw = 0.0;   // unit weight of water, kN/m3
    double Hw = 0.0;   // head: groundwater level less the channel water level, m
    double D = 0.0;    // embedment below the design ground level, m
    double Fa = 0.0;   // allowable safety factor
    // gamma' of the layers below the design ground level from the top (depth 0, Gws) down; empty
    // in ground of one layer, which has Gws throughout.
    std::vector<DepthValue> GwsLayers;

    // The thickness-weighted mean gamma' over the depth d below the design ground level (kN/m3):
    // the gamma' the factor of the embedment d is computed with; Gws in uniform ground.
    double MeanGws(double d) const;

    int32_t Error() const { return error_; }
    double F() const { return f_; }
    bool Hantei() const { return hantei_; }
    const colDim1x2& Ichiran() const { return ichiran_; }
    // The groundwater stands at or below the design ground level (Hw of 1 mm or less, binary
    // noise aside): there is no head to drive a flow under the wall, so the check is not needed.
    // F is then 999 (and passes), which the report and the windows say in words instead.
    bool NoHead() const { return !ThickEnough(Hw); }

    bool Calc();

  private:
    double Factor(double d) const;

    int32_t error_ = 0;
    double f_ = 0.0;
    bool hantei_ = false;
    colDim1x2 ichiran_;
};

// Heaving: F from the overburden behind the wall and the undrained cohesion c = Ca z + Cb.
// Uniform clay: F = 2/W ((Ca H + Cb) pi + 2 sqrt(Ca^2 H^2 + 2 Ca Cb H)). The root term is
// 2 sqrt(2 a I), I = Ca H^2/2 + Cb H the cohesion integrated over the vertical face above the
// bottom; in layered ground (Layered) F = 2/W (C0 pi + 2 sqrt(2 Ca CI)) with the cohesion C0 at
// the bottom and the growth Ca of the clayey layer below it, CI that integral over the clayey
// layers above it, and Gt and Gws the thickness-weighted means of the ground above and below the
// groundwater behind the wall. Splitting a layer into identical ones leaves F as it was.
class clsNekiriAnteiAc {
  public:
    double Gt = 0.0;   // wet unit weight, kN/m3
    double Gws = 0.0;  // submerged unit weight, kN/m3
    double Gw = 0.0;   // unit weight of water, kN/m3
    double Q = 0.0;    // surcharge behind the wall, kN/m2
    double Ca = 0.0;   // increase of cohesion with depth, kN/m2 per m
    double Cb = 0.0;   // cohesion at the top of the clayey layer (the ground surface), kN/m2
    double H = 0.0;    // depth of the excavation, m
    double Hw = 0.0;   // groundwater level above the excavation bottom, m
    double D = 0.0;    // embedment below the design ground level, m (shown only)
    double Fa = 0.0;   // allowable safety factor
    bool Layered = false;
    double C0 = 0.0;  // layered: cohesion at the excavation bottom, kN/m2
    double CI = 0.0;  // layered: cohesion integrated over the face above the bottom, kN/m

    int32_t Error() const { return error_; }
    double F() const { return f_; }
    // The overburden W at the excavation bottom behind the wall the factor was computed from
    // (kN/m2).
    double W() const { return w_; }
    bool Hantei() const { return hantei_; }

    bool Calc();

  private:
    int32_t error_ = 0;
    double f_ = 0.0;
    double w_ = 0.0;
    bool hantei_ = false;
};

// A check instance created by the first check of its kind and reused by the later ones, until a
// calculation empties the result store before it runs (ResetResultStore); readers take the copy
// in a run's results (calc/results.h), which holds a check only where one exists (Reached()).
template <class T>
class NekiriRef {
  public:
    T* operator->() { return &Get(); }
    T& operator*() { return Get(); }
    bool Reached() const { return p_ != nullptr; }
    const T* Peek() const { return p_.get(); }
    void Reset() { p_.reset(); }

  private:
    T& Get() {
        if (!p_) p_ = std::make_unique<T>();
        return *p_;
    }
    std::unique_ptr<T> p_;
};

extern NekiriRef<clsNekiriAnteiAs> gNekiriAnteiAs;
extern NekiriRef<clsNekiriAnteiAc> gNekiriAnteiAc;

// Drops both check instances (a batch starts every design from scratch).
void ResetNekiriAntei();

// The result window's refusal when the last check faulted; `title` is "ボイリングの検討" or
// "ヒービングの検討".
Message NekiriNoResultMessage(const std::string& title);

// The message CalcNekiriAntei appends when a check's Calc returned false.
Message NekiriCalcErrorMessage();

}  // namespace kuvelt
