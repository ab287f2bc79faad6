// Residual water pressure: head difference between the residual water level behind the wall and
// the water level in front of it, and the pressure it gives. Units: m, kN/m3, kN/m2.
// Calc never raises: a fault ends it with Error set.
#pragma once

#include <cstdint>

namespace kuvelt {

class clsRWp {
  public:
    double ELLWL = 0.0;  // water level in front of the wall, m
    double ELRWL = 0.0;  // residual water level behind the wall, m
    double Gw = 10.1;    // unit weight of water, kN/m3
    double ELGL = 0.0;   // stored for the report
    double ELDL = 0.0;   // lower limit of the water load, m (read back by the driver)

    void Calc();

    int32_t Error() const { return error_; }
    double DH() const { return DH_; }
    double Pw() const { return Pw_; }

  private:
    int32_t error_ = 0;
    double DH_ = 0.0;
    double Pw_ = 0.0;
};

}  // namespace kuvelt
