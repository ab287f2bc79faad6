// The calculation's run-time fault model, in one place. Every operation that can fault goes
// through these checked helpers, which detect the fault right after the operation and raise
// CalcFault with the run-time error number: division by zero 11, overflow (a non-finite result
// from finite operands) 6, invalid operation (root of a negative, 0/0, NaN) 5, missing list item
// 91, subscript out of range 9. The stages write their formulas with Num, a number whose every
// operation is one of these helpers: `Num(KH) * 0.25 / K` is `Div(Mul(KH, 0.25), K)`, with the
// same checks in the same order (C++ groups left to right) and the same bits. Each stage's Calc
// catches CalcFault (Guard) and records the code in its Error property; CalcMain catches it for
// its own steps. Nothing outside the calculation ever sees a CalcFault.
#pragma once

#include <cmath>
#include <cstdint>

#include "platform/vberror.h"

namespace kuvelt {

// A run-time fault inside the calculation; `code` is the run-time error number.
struct CalcFault {
    int32_t code = 0;
};

namespace fault {

[[noreturn]] inline void Raise(int32_t code) { throw CalcFault{code}; }

// Checks a computed value: NaN is an invalid operation, an infinity an overflow.
inline double Chk(double r) {
    if (std::isnan(r)) Raise(vberr::kInvalidCall);
    if (std::isinf(r)) Raise(vberr::kOverflow);
    return r;
}

inline double Add(double a, double b) { return Chk(a + b); }
inline double Sub(double a, double b) { return Chk(a - b); }
inline double Mul(double a, double b) { return Chk(a * b); }

// a / b; 0/0 is an invalid operation, any other division by zero its own fault.
inline double Div(double a, double b) {
    if (b == 0.0) Raise(a == 0.0 ? vberr::kInvalidCall : vberr::kDivisionByZero);
    return Chk(a / b);
}

inline double Sqrt(double a) {
    if (a < 0.0) Raise(vberr::kInvalidCall);
    return Chk(std::sqrt(a));
}

// Fourth root, as used for the characteristic value of a pile in elastic ground.
inline double Root4(double a) {
    if (a < 0.0) Raise(vberr::kInvalidCall);
    return Chk(std::pow(a, 0.25));
}

// a^b: a negative base with a fractional exponent is invalid, zero to a negative power divides
// by zero.
inline double Pow(double a, double b) {
    if (a < 0.0 && b != std::trunc(b)) Raise(vberr::kInvalidCall);
    if (a == 0.0 && b < 0.0) Raise(vberr::kDivisionByZero);
    return Chk(std::pow(Chk(a), Chk(b)));
}

inline double Exp(double a) { return Chk(std::exp(Chk(a))); }
inline double Log(double a) {
    if (!(a > 0.0)) Raise(vberr::kInvalidCall);
    return Chk(std::log(a));
}
inline double Sin(double a) { return Chk(std::sin(Chk(a))); }
inline double Cos(double a) { return Chk(std::cos(Chk(a))); }
inline double Tan(double a) { return Chk(std::tan(Chk(a))); }
inline double Atan(double a) { return Chk(std::atan(Chk(a))); }

// A checked number of a formula. Arithmetic on two Nums (or a Num and a double, which converts
// implicitly) goes through the helper of the operator, so a fault is raised right at the
// operation that produced it, as with the helpers. An expression of doubles alone is not
// checked: each operation of a formula needs a Num operand. Getting the double back is explicit
// (`double(x)`), so a checked result never turns into plain arithmetic unnoticed.
class Num {
  public:
    constexpr Num(double v = 0.0) : v_(v) {}  // implicit: a formula starts from its inputs
    constexpr explicit operator double() const { return v_; }

    Num& operator+=(Num b) { return *this = Add(v_, b.v_); }
    Num& operator-=(Num b) { return *this = Sub(v_, b.v_); }
    Num& operator*=(Num b) { return *this = Mul(v_, b.v_); }
    Num& operator/=(Num b) { return *this = Div(v_, b.v_); }

    friend Num operator+(Num a, Num b) { return Add(a.v_, b.v_); }
    friend Num operator-(Num a, Num b) { return Sub(a.v_, b.v_); }
    friend Num operator*(Num a, Num b) { return Mul(a.v_, b.v_); }
    friend Num operator/(Num a, Num b) { return Div(a.v_, b.v_); }
    // Negation cannot fault.
    friend Num operator-(Num a) { return -a.v_; }

    // Comparisons are those of double (a NaN compares unordered).
    friend constexpr auto operator<=>(const Num&, const Num&) = default;

  private:
    double v_;
};

// The functions of a formula, through the helpers above. They are found by argument-dependent
// lookup: a stage that imports only Num calls them unqualified with a Num argument, and a call on
// a plain double does not compile there.
inline Num Sqrt(Num a) { return Sqrt(double(a)); }
inline Num Root4(Num a) { return Root4(double(a)); }
inline Num Pow(Num a, Num b) { return Pow(double(a), double(b)); }
inline Num Exp(Num a) { return Exp(double(a)); }
inline Num Log(Num a) { return Log(double(a)); }
inline Num Sin(Num a) { return Sin(double(a)); }
inline Num Cos(Num a) { return Cos(double(a)); }
inline Num Tan(Num a) { return Tan(double(a)); }
inline Num Atan(Num a) { return Atan(double(a)); }

// The item at a 1-based position of a collection; a position without an item is the
// missing-item fault.
template <class Col>
auto& At(Col& col, int32_t index) {
    auto* p = col.Item(index);
    if (p == nullptr) Raise(vberr::kObjectMissing);
    return *p;
}

// Runs a stage body: a fault ends it and leaves its code in `error` (what was computed before
// stays). Never raises.
template <class F>
void Guard(int32_t& error, F&& body) {
    try {
        body();
    } catch (const CalcFault& f) {
        error = f.code;
    }
}

}  // namespace fault
}  // namespace kuvelt
