// Virtual ground surface: brings the active, residual water and passive pressure layers onto
// common boundaries, forms the net pressure Pg and finds the level ELDLX below the design ground
// level where it first falls to zero. Units: m, kN/m2. Calc never raises: Error is 0, -1 (no
// active layer), 999 (no virtual ground surface found) or the code of a run-time fault.
#pragma once

#include <cstdint>

#include "model/collection.h"

namespace kuvelt {

struct clsDLLoad {
    double EU = 0.0;
    double EL = 0.0;
    double H = 0.0;
    double PU = 0.0;
    double PL = 0.0;

    bool operator==(const clsDLLoad&) const = default;
};

class colDLLoad : public Collection<clsDLLoad> {
  public:
    // EL = dblEU - dblH, fixed here (later changes of EU or H do not move it).
    clsDLLoad* Add(double dblEU, double dblH, double dblPU, double dblPL, int32_t lngIndex = 0,
                   bool blnBefore = false);
};

struct clsDLAddEL {
    double EL = 0.0;

    bool operator==(const clsDLAddEL&) const = default;
};

class colDLAddEL : public Collection<clsDLAddEL> {
  public:
    clsDLAddEL* Add(double dblEL);
};

class clsDL {
  public:
    // The Error value when no layer at or below the design ground level holds a zero crossing.
    static constexpr int32_t kNotFound = 999;
    static constexpr int32_t kNoActive = -1;

    double ELDL = 0.0;  // design ground level in front of the wall, m

    colDLLoad& Pa() { return Pa_; }
    colDLLoad& Pw() { return Pw_; }
    colDLLoad& Pp() { return Pp_; }
    colDLLoad& Pg() { return Pg_; }
    const colDLLoad& Pa() const { return Pa_; }
    const colDLLoad& Pw() const { return Pw_; }
    const colDLLoad& Pp() const { return Pp_; }
    const colDLLoad& Pg() const { return Pg_; }

    void Calc();

    int32_t Error() const { return error_; }
    double ELDLXU() const { return ELDLXU_; }
    double ELDLXL() const { return ELDLXL_; }
    double ELDLX() const { return ELDLX_; }
    // Whether ELDLX was interpolated inside the crossing layer (then ELDLXRaw is the unrounded
    // result and PU/PL of that layer are CrossPU/CrossPL); false when it was taken at a layer
    // top where the net pressure turns negative.
    bool Interpolated() const { return interpolated_; }
    double ELDLXRaw() const { return raw_; }
    double CrossPU() const { return crossPU_; }
    double CrossPL() const { return crossPL_; }

  private:
    void Run();

    int32_t error_ = 0;
    double ELDLXU_ = 0.0, ELDLXL_ = 0.0, ELDLX_ = 0.0;
    bool interpolated_ = false;
    double raw_ = 0.0, crossPU_ = 0.0, crossPL_ = 0.0;
    colDLLoad Pa_, Pw_, Pp_, Pg_;
};

}  // namespace kuvelt
