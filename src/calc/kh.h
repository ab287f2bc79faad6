// Ground layer table: splits the ground layers at the groundwater level and further elevations
// and gives each piece the unit weight acting on it (wet above the water, submerged below). The
// parts of a split piece keep its ground layer and unit weights.
// Units: m, kN/m3. Calc never raises: a fault ends it with Error set, layers as far as reached.
#pragma once

#include <cstdint>

#include "model/collection.h"

namespace kuvelt {

struct clsKhJiban {
    int32_t No = 0;
    double EU = 0.0;
    double EL = -100.0;
    double H = 100.0;
    double Gs1 = 18.0;  // wet unit weight, above the water
    double Gs2 = 20.0;  // saturated unit weight
    double Gs3 = 9.0;   // unit weight acting on the layer (set by Calc)
    double HwU = 0.0;   // depth of the top below the water level, 0 above it
    double HwL = 0.0;   // depth of the bottom below the water level, 0 above it
    int32_t Layer = 1;  // the ground layer the piece belongs to, from 1 at the ground surface

    bool operator==(const clsKhJiban&) const = default;
};

struct clsKhAddEL {
    double EL = 0.0;

    bool operator==(const clsKhAddEL&) const = default;
};

class colKhJiban : public Collection<clsKhJiban> {
  public:
    // EL = dblEU - dblH; appended when lngIndex is 0, else before/after position lngIndex.
    clsKhJiban* Add(int32_t lngNo, double dblEU, double dblH, double dblGs1, double dblGs2,
                    int32_t lngIndex = 0, bool blnBefore = false);
};

class colKhAddEL : public Collection<clsKhAddEL> {
  public:
    clsKhAddEL* Add(double dblEL);
};

class clsKh {
  public:
    double RWL = 0.0;  // water level, m

    colKhAddEL& AddEL() { return AddEL_; }
    const colKhAddEL& AddEL() const { return AddEL_; }
    colKhJiban& Jiban() { return Jiban_; }
    const colKhJiban& Jiban() const { return Jiban_; }

    void Calc();

    int32_t Error() const { return error_; }

  private:
    void SplitLayers(double e);

    int32_t error_ = 0;
    colKhAddEL AddEL_;
    colKhJiban Jiban_;
};

}  // namespace kuvelt
