#include "calc/distribution.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "calc/results.h"
#include "calc/sections.h"
#include "calc/yaita_choice.h"
#include "model/design.h"

namespace kuvelt {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Levels closer than this are one level.
constexpr double kSameLevel = 1e-6;

// Force (kN/m) and moment about level z (kN·m/m, positive for a load pushing towards the
// excavation above z) of the loads above z. Layers wholly above z in closed form; the layer
// holding z from its top down to z.
struct Resultant {
    double S = 0, Mz = 0;
};

Resultant LoadsAbove(const std::vector<DistributionLoad>& loads, double z) {
    Resultant r;
    for (const DistributionLoad& q : loads) {
        const double H = q.EU - q.EL;
        if (!(H > 0) || q.EU <= z) continue;
        if (q.EL >= z) {
            // Whole layer: ∫ p = H (PU + PL) / 2; ∫ p (ζ - z) = (EL - z) F + H² (PL + 2 PU) / 6.
            const double F = H * (q.PU + q.PL) / 2.0;
            r.S += F;
            r.Mz += (q.EL - z) * F + H * H * (q.PL + 2.0 * q.PU) / 6.0;
        } else {
            // From the top down to z, a = EU - z, t measured down from the top, g = (PL - PU) / H:
            // ∫ p dt = PU a + g a² / 2; ∫ p (a - t) dt = PU a² / 2 + g a³ / 6.
            const double a = q.EU - z;
            const double g = (q.PL - q.PU) / H;
            r.S += q.PU * a + g * a * a / 2.0;
            r.Mz += q.PU * a * a / 2.0 + g * a * a * a / 6.0;
        }
    }
    return r;
}

// Chang's long pile with a free head, depth x below ELV, head shear P and head moment -P·h:
//   M = -(P/β) e^(-βx) [βh cos βx + (1 + βh) sin βx]
//   S = -dM/dx = P e^(-βx) [cos βx - (1 + 2βh) sin βx]
//   y = P / (2Kβ³) e^(-βx) [(1 + βh) cos βx - βh sin βx]   (ground-line value δ1 at x = 0)
// e^(-βx), cos βx and sin βx down a column of levels. Between two levels one even step apart
// (most of them) the next values come from the last by the step's own factors, so a pile costs
// two exponentials and two sines and cosines instead of one per level: a batch computes a few
// hundred levels of every chosen pile. Any other step is computed afresh.
class ChangWave {
  public:
    ChangWave(double b, double step) : b_(b), step_(step) {
        E_ = std::exp(b * step);  // walking upwards: x shrinks by the step
        C_ = std::cos(b * step);
        S_ = std::sin(b * step);
    }
    void At(double x) {
        const double dx = x_ - x;
        // Far down a stiff short wave e^(-βx) underflows: what it grows back into going up
        // must be computed, not multiplied out of zero; a factor past any sense is not used.
        const bool walk = have_ && e_ > 1e-200 && E_ < 1e100 && std::isfinite(C_) &&
                          std::fabs(dx - step_) <= 1e-9 * step_;
        if (walk) {
            e_ *= E_;
            const double c = c_ * C_ + s_ * S_;
            s_ = s_ * C_ - c_ * S_;
            c_ = c;
        } else {
            const double bx = b_ * x;
            e_ = std::exp(-bx);
            c_ = std::cos(bx);
            s_ = std::sin(bx);
        }
        x_ = x;
        have_ = true;
    }
    double e() const { return e_; }
    double c() const { return c_; }
    double s() const { return s_; }

  private:
    double b_, step_, E_ = 0, C_ = 0, S_ = 0;
    double x_ = 0, e_ = 1, c_ = 1, s_ = 0;
    bool have_ = false;
};

double ChangM(double P, double h, double b, const ChangWave& w) {
    return -(P / b) * w.e() * (b * h * w.c() + (1.0 + b * h) * w.s());
}
double ChangS(double P, double h, double b, const ChangWave& w) {
    return P * w.e() * (w.c() - (1.0 + 2.0 * b * h) * w.s());
}
double ChangY(double P, double h, double b, double K, const ChangWave& w) {
    return P / (2.0 * K * b * b * b) * w.e() * ((1.0 + b * h) * w.c() - b * h * w.s());
}
double ChangY(double P, double h, double b, double K, double x) {
    ChangWave w(b, 1.0);
    w.At(x);
    return ChangY(P, h, b, K, w);
}
// Rotation at the ground line, positive when the head leans towards the excavation (δ2 / H0).
double ChangTheta(double P, double h, double b, double K) {
    return P * (1.0 + 2.0 * b * h) / (2.0 * K * b * b);
}

// The levels: uniform steps from head to tip, then every special level inside the range;
// sorted from the top, a special level replacing a step closer than kSameLevel. The first and
// the last level are the head and the tip exactly.
std::vector<double> Levels(double head, double tip, const std::vector<double>& special) {
    struct L {
        double z;
        bool special;
    };
    std::vector<L> all;
    all.reserve(kDistributionIntervals + 1 + special.size());
    for (int32_t i = 0; i <= kDistributionIntervals; ++i)
        all.push_back({head - (head - tip) * i / double(kDistributionIntervals), false});
    for (double z : special) {
        if (std::isfinite(z) && z <= head && z >= tip) all.push_back({z, true});
    }
    std::stable_sort(all.begin(), all.end(), [](const L& a, const L& b) { return a.z > b.z; });
    std::vector<L> out;
    for (const L& l : all) {
        if (!out.empty() && out.back().z - l.z < kSameLevel) {
            if (l.special && !out.back().special) out.back() = l;
            continue;
        }
        out.push_back(l);
    }
    std::vector<double> z;
    z.reserve(out.size());
    for (const L& l : out) z.push_back(l.z);
    z.front() = head;
    z.back() = tip;
    return z;
}

}  // namespace

ForceDistribution ComputeDistribution(const DistributionInput& in) {
    ForceDistribution d;
    d.head = in.head;
    d.tip = in.head - in.L;
    d.ELV = in.ELV;
    d.lm = in.lm;
    const bool finiteInput = std::isfinite(in.head) && std::isfinite(in.L) &&
                             std::isfinite(in.ELV) && std::isfinite(in.P) && std::isfinite(in.h0) &&
                             std::isfinite(in.beta) && std::isfinite(in.lm) &&
                             std::isfinite(in.K) && std::isfinite(in.betaD);
    if (!finiteInput) {
        d.note = "計算結果が数値でないため、断面力図を描けません。";
        return d;
    }
    if (!(in.L > 0)) {
        d.note = "矢板全長Ｌが正でないため、断面力図を描けません。";
        return d;
    }
    if (!(in.head > in.ELV)) {
        d.note = "矢板天端が仮想地盤面より上にないため、断面力図を描けません。";
        return d;
    }
    const double h = in.h0 >= 0.001 ? in.h0 : 0.0;  // Chang's case 1 below 1 mm
    const bool reaches = d.tip < in.ELV - kSameLevel;
    const bool chang = in.beta > 0;
    const bool rigid = in.K > 0 && in.betaD > 0;
    d.below = reaches && chang;
    d.hasY = reaches && rigid;
    d.lmOnPile = d.below && in.lm >= 0 && in.ELV - in.lm >= d.tip;
    if (!reaches) {
        d.note =
            "矢板全長Ｌが壁高Ｈ'より短く矢板先端が仮想地盤面に達しないため、"
            "仮想地盤面より下の分布と変位はありません。";
    } else if (!chang) {
        d.note = "この断面の特性値βが求められていないため、仮想地盤面より下の分布はありません。";
    } else if (!rigid) {
        d.note = "変位量照査時の剛性が求められていないため、変位 y はありません。";
    }

    std::vector<double> special = {in.head, d.tip, in.ELV};
    for (const DistributionLoad& q : in.loads) {
        special.push_back(q.EU);
        special.push_back(q.EL);
    }
    if (d.lmOnPile) special.push_back(in.ELV - in.lm);
    d.z = Levels(in.head, d.tip, special);
    const std::size_t n = d.z.size();
    d.M.assign(n, 0.0);
    d.S.assign(n, 0.0);
    d.y.assign(n, kNaN);

    // Loads act on the pile only above ELV (the load table ends there).
    std::vector<DistributionLoad> loads;
    for (DistributionLoad q : in.loads) {
        q.EL = std::max(q.EL, in.ELV);
        if (q.EU - q.EL > 0) loads.push_back(q);
    }
    const double K = in.K, bD = in.betaD;
    // The displacement check takes h0 as it is, also below 1 mm.
    const double hY = in.h0;
    const double y0 = rigid ? ChangY(in.P, hY, bD, K, 0.0) : kNaN;
    const double theta0 = rigid ? ChangTheta(in.P, hY, bD, K) : kNaN;

    // Above ELV: statics of the loads, and the cantilever's own bending accumulated upwards from
    // ELV between consecutive levels (every layer boundary is a level, so each step lies in one
    // piece, where M is a cubic; three-point Gauss integrates κ (z_b - ζ) exactly).
    // κ = -M / K with M = -Mz.
    auto curvature = [&](double zeta) { return LoadsAbove(loads, zeta).Mz / K; };
    constexpr double kG = 0.7745966692414834;  // sqrt(3/5)
    constexpr double kW[3] = {5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};
    double theta = 0, yc = 0, zPrev = in.ELV;
    const double step = (in.head - d.tip) / kDistributionIntervals;
    ChangWave wave(in.beta, step), waveD(bD, step);
    for (std::size_t k = n; k-- > 0;) {
        const double z = d.z[k];
        if (z <= in.ELV + kSameLevel && reaches) {
            const double x = in.ELV - z;
            if (chang) {
                wave.At(x);
                d.M[k] = ChangM(in.P, h, in.beta, wave);
                d.S[k] = ChangS(in.P, h, in.beta, wave);
            } else if (x <= kSameLevel) {
                // Without Chang's part the statics of the loads still hold down to ELV.
                const Resultant r = LoadsAbove(loads, z);
                d.S[k] = r.S;
                d.M[k] = -r.Mz;
            } else {
                d.M[k] = d.S[k] = kNaN;
            }
            if (rigid) {
                waveD.At(x);
                d.y[k] = ChangY(in.P, hY, bD, K, waveD);
            }
            continue;
        }
        const Resultant r = LoadsAbove(loads, z);
        d.S[k] = r.S;
        d.M[k] = -r.Mz;
        if (!d.hasY) continue;
        const double a = zPrev, b = z, half = (b - a) / 2.0, mid = (a + b) / 2.0;
        double dTheta = 0, dY = 0;
        for (int j = 0; j < 3; ++j) {
            const double zeta = mid + (j - 1) * kG * half;
            const double c = curvature(zeta) * kW[j] * half;
            dTheta += c;
            dY += c * (b - zeta);
        }
        yc += theta * (b - a) + dY;
        theta += dTheta;
        zPrev = z;
        d.y[k] = y0 + theta0 * (z - in.ELV) + yc;
    }
    for (double& v : d.y) v *= 1000.0;  // m to mm
    // Every value that was computed must be a number (huge inputs could overflow).
    bool finite = true;
    for (std::size_t k = 0; k < n; ++k) {
        const bool forces = d.below || d.z[k] > in.ELV + kSameLevel || !reaches;
        if (forces && !(std::isfinite(d.M[k]) && std::isfinite(d.S[k]))) finite = false;
        if (d.hasY && !std::isfinite(d.y[k])) finite = false;
    }
    if (!finite) {
        d.z.clear();
        d.M.clear();
        d.S.clear();
        d.y.clear();
        d.below = d.hasY = d.lmOnPile = false;
        d.note = "断面力が数値として求められないため、断面力図を描けません。";
    }
    return d;
}

std::optional<DistributionInput> DistributionInputFor(const Results& r, PileKind kind, int32_t sect,
                                                      double L) {
    if (sect < 1 || sect > CatalogueCount(kind) || sect > kMaxSections) return std::nullopt;
    const ChangRow* chang = r.sections.Chang(kind, sect);
    const DispRow* disp = r.sections.Disp(kind, sect);
    if (!r.pressure || !chang || !disp) return std::nullopt;
    DistributionInput in;
    in.head = gInpJyoken.ELYU;
    in.ELV = r.pressure->WL;
    in.L = L;
    for (const clsPressureLoad& q : r.pressure->Qdo()) in.loads.push_back({q.EU, q.EL, q.PU, q.PL});
    in.P = r.pressure->P();
    in.h0 = r.pressure->Y();
    in.beta = chang->beta;
    in.lm = chang->lm;
    const double alpha = kind == PileKind::Concrete ? 1.0 : gInpZairyo.AlphaId;
    in.K = disp->e * disp->i * alpha;
    in.betaD = disp->beta;
    return in;
}

std::optional<DistributionInput> DistributionInputFor(PileKind kind, int32_t sect, double L) {
    return DistributionInputFor(SnapshotResults(), kind, sect, L);
}

std::optional<ForceDistribution> ChosenDistribution() {
    if (!gInpYaita.InpFlg) return std::nullopt;
    const std::optional<PileKind> kind = KindOfChoice(gInpYaita.Yaita);
    if (!kind) return std::nullopt;
    const auto in = DistributionInputFor(*kind, gInpYaita.Sect, gInpYaita.L);
    if (!in) return std::nullopt;
    return ComputeDistribution(*in);
}

std::optional<ForceDistribution> ChosenDistribution(const Results& results) {
    if (!gInpYaita.InpFlg) return std::nullopt;
    const std::optional<PileKind> kind = KindOfChoice(gInpYaita.Yaita);
    if (!kind) return std::nullopt;
    const auto in = DistributionInputFor(results, *kind, gInpYaita.Sect, gInpYaita.L);
    if (!in) return std::nullopt;
    return ComputeDistribution(*in);
}

}  // namespace kuvelt
