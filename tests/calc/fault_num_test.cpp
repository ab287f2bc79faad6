// The checked number of the formulas against the helpers it stands for: every operator and
// function gives the helper's bits, or raises the helper's fault code, on the same inputs.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "calc/fault.h"
#include "calc/rounding.h"
#include "platform/vberror.h"

namespace kuvelt {
namespace {

using fault::Num;

// A checked value from a double expression cannot slip back into plain arithmetic unnoticed.
static_assert(std::is_convertible_v<double, Num>);
static_assert(!std::is_convertible_v<Num, double>);

// The bits of a result, or the fault code it raised.
struct Outcome {
    int32_t code = 0;
    uint64_t bits = 0;
    bool operator==(const Outcome&) const = default;
};

Outcome Evaluate(const std::function<double()>& f) {
    try {
        return {0, std::bit_cast<uint64_t>(f())};
    } catch (const CalcFault& e) {
        return {e.code, 0};
    }
}

std::string Show(const Outcome& o) {
    return o.code != 0 ? "fault " + std::to_string(o.code) : "bits " + std::to_string(o.bits);
}

using Binary = std::function<double(double, double)>;

struct BinaryOp {
    const char* name;
    Binary helper;
    Binary num;
};

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Ordinary values, each fault of the helpers, and non-finite operands as a file may bring them.
const std::vector<std::pair<double, double>> kPairs = {
    {3.0, 0.1},        {-2.5, 7.25}, {1.0, 3.0},  {0.1, 0.2},  {kMax, kMax},
    {-kMax, kMax},     {kMax, 0.5},  {1.0, 0.0},  {-1.0, 0.0}, {0.0, 0.0},
    {1e-300, 1e300},   {kNaN, 1.0},  {1.0, kNaN}, {kInf, 1.0}, {kInf, -kInf},
    {-8.0, 1.0 / 3.0}, {0.0, -2.0},  {2.0, 0.5},  {-2.0, 3.0}, {10.0, 400.0}};

TEST(FaultNum, EachOperationGivesItsHelpersBitsOrFault) {
    using namespace fault;
    const std::vector<BinaryOp> ops = {
        {"+", Add, [](double a, double b) { return double(Num(a) + b); }},
        {"-", Sub, [](double a, double b) { return double(a - Num(b)); }},
        {"*", Mul, [](double a, double b) { return double(Num(a) * b); }},
        {"/", Div, [](double a, double b) { return double(a / Num(b)); }},
        {"+=", Add,
         [](double a, double b) {
             Num x = a;
             return double(x += b);
         }},
        {"-=", Sub,
         [](double a, double b) {
             Num x = a;
             return double(x -= b);
         }},
        {"*=", Mul,
         [](double a, double b) {
             Num x = a;
             return double(x *= b);
         }},
        {"/=", Div,
         [](double a, double b) {
             Num x = a;
             return double(x /= b);
         }},
        {"Pow", [](double a, double b) { return Pow(a, b); },
         [](double a, double b) { return double(Pow(Num(a), b)); }},
        {"Sqrt", [](double a, double) { return Sqrt(a); },
         [](double a, double) { return double(Sqrt(Num(a))); }},
        {"Root4", [](double a, double) { return Root4(a); },
         [](double a, double) { return double(Root4(Num(a))); }},
        {"Exp", [](double a, double) { return Exp(a); },
         [](double a, double) { return double(Exp(Num(a))); }},
        {"Log", [](double a, double) { return Log(a); },
         [](double a, double) { return double(Log(Num(a))); }},
        {"Sin", [](double a, double) { return Sin(a); },
         [](double a, double) { return double(Sin(Num(a))); }},
        {"Cos", [](double a, double) { return Cos(a); },
         [](double a, double) { return double(Cos(Num(a))); }},
        {"Tan", [](double a, double) { return Tan(a); },
         [](double a, double) { return double(Tan(Num(a))); }},
        {"Atan", [](double a, double) { return Atan(a); },
         [](double a, double) { return double(Atan(Num(a))); }},
        {"RoundHalfUp", [](double a, double) { return RoundHalfUp(a, 2); },
         [](double a, double) { return RoundHalfUp(Num(a), 2); }},
    };
    std::set<int32_t> codes;
    for (const BinaryOp& op : ops) {
        for (const auto& [a, b] : kPairs) {
            // Copies: clang 14 cannot capture a structured binding itself.
            const Outcome want = Evaluate([&op, a = a, b = b] { return op.helper(a, b); });
            const Outcome got = Evaluate([&op, a = a, b = b] { return op.num(a, b); });
            EXPECT_EQ(got, want) << op.name << "(" << a << ", " << b << "): " << Show(got)
                                 << " instead of " << Show(want);
            codes.insert(want.code);
        }
    }
    // The table reaches every fault code, not only ordinary results.
    EXPECT_EQ(codes, (std::set<int32_t>{0, vberr::kInvalidCall, vberr::kOverflow,
                                        vberr::kDivisionByZero}));
    EXPECT_EQ(Evaluate([] { return double(Num(1.0) / 0.0); }).code, vberr::kDivisionByZero);
    EXPECT_EQ(Evaluate([] { return double(Num(0.0) / 0.0); }).code, vberr::kInvalidCall);
    EXPECT_EQ(Evaluate([] { return double(Num(kMax) * 2.0); }).code, vberr::kOverflow);
    EXPECT_EQ(Evaluate([] { return double(Sqrt(Num(-1.0))); }).code, vberr::kInvalidCall);
    EXPECT_EQ(Evaluate([] { return double(-Num(kMax)); }).code, 0);  // negation never faults
}

// A formula groups as C++ does, left to right: the first operation that faults is the one the
// nested helpers fault at, and a result carries the nested helpers' bits.
TEST(FaultNum, FormulasFaultAndRoundLikeTheirNestedHelpers) {
    using namespace fault;
    struct Formula {
        const char* name;
        std::function<double()> helpers;
        std::function<double()> num;
    };
    const double KH = 6000.0, E1 = 2.0e8, I = 3.96e-4, alpha = 0.45;
    const std::vector<Formula> cases = {
        {"embedment beta",
         [&] { return Root4(Div(Mul(Mul(KH, 0.25), 1000.0), Mul(Mul(E1, I), alpha))); },
         [&] { return double(Root4(Num(KH) * 0.25 * 1000.0 / (E1 * I * alpha))); }},
        {"sum regrouped", [] { return Add(Add(0.1, 0.2), 0.3); },
         [] { return double(Num(0.1) + 0.2 + 0.3); }},
        {"sum nested right", [] { return Add(0.1, Add(0.2, 0.3)); },
         [] { return double(0.1 + (Num(0.2) + 0.3)); }},
        // (max * 2) overflows before the division by zero is reached.
        {"overflow first", [] { return Div(Mul(kMax, 2.0), 0.0); },
         [] { return double(Num(kMax) * 2.0 / 0.0); }},
        // (max * 2) * 0.25 overflows at its first step; max * (2 * 0.25) would not.
        {"overflow at the first step", [] { return Mul(Mul(kMax, 2.0), 0.25); },
         [] { return double(Num(kMax) * 2.0 * 0.25); }},
        {"difference of huge terms", [] { return Sub(Sub(kMax, kMax), kMax); },
         [] { return double(Num(kMax) - kMax - kMax); }},
    };
    for (const Formula& f : cases) {
        const Outcome want = Evaluate(f.helpers);
        const Outcome got = Evaluate(f.num);
        EXPECT_EQ(got, want) << f.name << ": " << Show(got) << " instead of " << Show(want);
    }
    EXPECT_NE(Evaluate(cases[1].num), Evaluate(cases[2].num))
        << "0.1 + 0.2 + 0.3 depends on its grouping";
    EXPECT_EQ(Evaluate(cases[3].num).code, vberr::kOverflow);
    EXPECT_EQ(Evaluate(cases[4].num).code, vberr::kOverflow);
}

}  // namespace
}  // namespace kuvelt
