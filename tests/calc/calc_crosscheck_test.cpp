// End-to-end cross-check of the load stages: a second, deliberately plain evaluation of the
// surcharge, earth pressures, residual water, virtual ground surface and load resultant, written
// straight from the engineering rules with std::vector and no shared calculation code (its own
// rounding too), compared exactly with what CalcMain leaves in the result store.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "model/design.h"

namespace kuvelt {
namespace {

constexpr double kPi = 3.141592654;

// Half away from zero on the 15-significant-digit text of |x|·10^n + 0.00001.
double Rnd(double x, int n) {
    const double a = std::fabs(x);
    double r = 0.0;
    if (!(a < 1.0 / std::pow(10.0, n + 1))) {
        const double p = std::pow(10.0, n);
        const double t = a * p + 0.00001;
        std::ostringstream s;
        s << std::setprecision(15) << t;
        const std::string text = s.str();
        const auto dot = text.find('.');
        if (dot != std::string::npos && text.find('e') == std::string::npos) {
            r = text[dot + 1] >= '5' ? std::trunc(t + 1) / p : std::trunc(t) / p;
        } else {
            r = t / p;
        }
    }
    return x < 0 ? -r : r;
}

double Rad(double deg) { return deg * kPi / 180.0; }

double Influence(double x) {
    const double k = 2.0 / kPi;
    return Rnd((1 + x * x) - (1 + x * x) * k * std::atan(x) - k * x, 3);
}

// Surcharge pressure of the design's surcharge shape (a fresh instance: kept values are 0).
double Surcharge(const CInpJyoken& c) {
    const double H = c.ELGL - c.ELDL;
    if (c.Keijyo == 0) {
        const double xh = H > 0.001 ? Rnd(c.K0X / H, 2) : 0.0;
        return Rnd(Influence(xh) * c.K0Q, 1);
    }
    if (c.Keijyo == 1) return c.K1Q;
    const double xw = Rnd(c.K2X2 * 0.5 + c.K2X1, 2);
    const double qw = Rnd(c.K2Gs * c.K2Ho * Influence(H > 0.001 ? Rnd(xw / H, 2) : 0.0), 1);
    double qq = 0.0;
    const double xq = c.K2X1 + c.K2X2;
    if (xq < H + c.K2Ho) qq = Rnd(Influence(H > 0.001 ? Rnd(xq / H, 2) : 0.0) * c.K2Q, 1);
    return qw + qq;
}

struct Layer {
    double EU, EL, H, Gs;
};

// One soil layer split at the given elevations in turn (first layer that strictly holds one).
std::vector<Layer> Layers(double top, double h, const std::vector<double>& cuts) {
    std::vector<Layer> v{{top, top - h, h, 0}};
    for (double e : cuts) {
        for (std::size_t i = 0; i < v.size(); ++i) {
            const double hu = Rnd(std::min(std::max(v[i].EU - e, 0.0), v[i].H), 2);
            const double r = v[i].H - hu;
            if (hu > 0.001 && r > 0.001) {
                v[i].EL = e;
                v[i].H = hu;
                v.insert(v.begin() + static_cast<long>(i) + 1, Layer{e, e - r, r, 0});
                break;
            }
        }
    }
    return v;
}

struct Line {
    double PaU, PaL;
};

// Pressure lines of one side: coefficient pressure for sandy soil, cohesion rule for clay.
std::vector<Line> Pressures(bool active, double q, double betaDeg, const std::vector<Layer>& ls,
                            const CInpJyoken& c, const CInpJiban& g) {
    const double be = Rad(betaDeg), al = Rad(0.0), th = 0.0;
    const double de = Rad(active ? 15.0 : -15.0);
    const double ph = Rad(g.Fai);
    double k = 0.0;
    if (active) {
        const double t = std::sin(ph + de) * std::sin(ph - be - th) /
                         (std::cos(al + de + th) * std::cos(al - be));
        double d = std::cos(al) * std::cos(al) * std::cos(th) * std::cos(al + de + th);
        if (t >= 0) d *= (1 + std::sqrt(t)) * (1 + std::sqrt(t));
        k = std::cos(ph - al - th) * std::cos(ph - al - th) / d;
    } else {
        const double t = std::sin(ph - de) * std::sin(ph + be - th) /
                         (std::cos(al + de - th) * std::cos(al - be));
        const double d = (1 - std::sqrt(t)) * (1 - std::sqrt(t)) * std::cos(al) * std::cos(al) *
                         std::cos(th) * std::cos(al + de - th);
        k = std::cos(ph + al - th) * std::cos(ph + al - th) / d;
    }
    const double kh = Rnd(std::cos(de) * k, 4);
    double s = Rnd(std::cos(al) * q / std::cos(al - be), 2);
    std::vector<Line> out;
    for (const Layer& l : ls) {
        const double sL = s + Rnd(l.Gs * l.H, 2);
        const double zU = c.ELGL - l.EU, zL = zU + l.H;
        const double cU = Rnd(g.Ca * zU + g.Cb, 1), cL = Rnd(g.Ca * zL + g.Cb, 1);
        if (g.Kind == 0) {
            out.push_back({Rnd(s * kh, 2), Rnd(sL * kh, 2)});
        } else if (active) {
            const double p1u = Rnd(s - 2 * cU, 2), p2u = Rnd(0.5 * s, 2);
            const double p1l = Rnd(sL - 2 * cL, 2), p2l = Rnd(0.5 * sL, 2);
            out.push_back({p1u > p2u ? p1u : p2u, p1l > p2l ? p1l : p2l});
        } else {
            out.push_back({Rnd(s + 2 * cU, 2), Rnd(sL + 2 * cL, 2)});
        }
        s = sL;
    }
    return out;
}

struct Seg {
    double EU, EL, H, PU, PL;
};
Seg MakeSeg(double eu, double h, double pu, double pl) { return {eu, eu - h, h, pu, pl}; }

struct Expected {
    double Q = 0;
    std::vector<Line> spa, spp;
    double DH = 0, Pw = 0;
    double ELDLX = 0;
    double P = 0, M = 0, Y = 0;
};

Expected Evaluate(const CInpJyoken& c, const CInpJiban& g) {
    Expected e;
    e.Q = Surcharge(c);

    auto soil = [&](std::vector<Layer> ls) {
        for (Layer& l : ls) l.Gs = c.ELWL - l.EL < 0.001 ? g.Gt : g.Gws + 10 - 10;
        return ls;
    };
    const auto la = soil(Layers(c.ELGL, c.ELGL - c.ELDL + c.Z, {c.ELWL, c.ELDL}));
    const auto lp = soil(Layers(c.ELDL, c.Z, {c.ELWL}));
    const double beta = c.Keijyo == 1 ? std::atan(1 / c.K1m) * 180 / kPi : 0.0;
    e.spa = Pressures(true, e.Q, beta, la, c, g);
    e.spp = Pressures(false, 0, 0, lp, c, g);

    e.DH = Rnd(c.ELWL - c.ELDL, 2);
    e.Pw = Rnd(std::fabs(e.DH) * g.Gw, 2);

    // Net pressure on common boundaries.
    std::vector<Seg> pa, pw, pp;
    for (std::size_t i = 0; i < la.size(); ++i)
        pa.push_back(MakeSeg(la[i].EU, la[i].H, e.spa[i].PaU, e.spa[i].PaL));
    if (e.DH > 0.001) {
        pw.push_back(MakeSeg(c.ELWL, c.ELWL - c.ELDL, 0, e.Pw));
        pw.push_back(MakeSeg(c.ELDL, c.ELDL - (c.ELDL - c.Z), e.Pw, e.Pw));
    }
    for (std::size_t i = 0; i < lp.size(); ++i)
        pp.push_back(MakeSeg(lp[i].EU, lp[i].H, e.spp[i].PaU, e.spp[i].PaL));
    double top = pa.front().EU, bot = pa.back().EL;
    for (auto* v : {&pw, &pp}) {
        if (v->empty()) continue;
        top = std::max(top, v->front().EU);
        bot = std::min(bot, v->back().EL);
    }
    std::vector<double> cuts;
    for (auto* v : {&pa, &pw, &pp}) {
        if (v->empty()) {
            v->push_back(MakeSeg(top, top - bot, 0, 0));
            continue;
        }
        if (top > v->front().EU && top - v->front().EU > 0.009)
            v->insert(v->begin(), MakeSeg(top, top - v->front().EU, 0, 0));
        if (bot < v->back().EL && v->back().EL - bot > 0.009)
            v->push_back(MakeSeg(v->back().EL, v->back().EL - bot, 0, 0));
    }
    for (auto* v : {&pa, &pw, &pp})
        for (std::size_t i = 1; i < v->size(); ++i) cuts.push_back((*v)[i].EU);
    for (auto* v : {&pa, &pw, &pp}) {
        for (double x : cuts) {
            for (std::size_t j = 0; j < v->size(); ++j) {
                Seg& s = (*v)[j];
                if (!(s.EL < x && x < s.EU)) continue;
                const double h1 = Rnd(s.EU - x, 2), h2 = s.H - h1;
                const double pm = Rnd(s.PU + (s.PL - s.PU) / s.H * h1, 1);
                if (h1 > 0.001 && h2 > 0.001) {
                    const Seg upper = MakeSeg(s.EU, h1, s.PU, pm);
                    s.EU = s.EU - h1;
                    s.H = h2;
                    s.PU = pm;
                    v->insert(v->begin() + static_cast<long>(j), upper);
                }
                break;
            }
        }
    }
    std::vector<Seg> pg;
    for (std::size_t i = 0; i < pa.size(); ++i)
        pg.push_back(MakeSeg(pa[i].EU, pa[i].H, pa[i].PU + pw[i].PU - pp[i].PU,
                             pa[i].PL + pw[i].PL - pp[i].PL));
    auto below = [&](double eu) { return std::fabs(eu - c.ELDL) < 0.001 || eu < c.ELDL; };
    int a = -1, b = -1;
    for (std::size_t i = 0; i < pg.size() && a < 0; ++i) {
        const Seg& s = pg[i];
        if (below(s.EU) && std::fabs(s.PU - s.PL) > 0.01 && s.PU > -0.01 && s.PL < 0.01)
            a = static_cast<int>(i);
    }
    for (std::size_t i = 1; i < pg.size() && b < 0; ++i)
        if (below(pg[i].EU) && pg[i - 1].PL > -0.01 && pg[i].PU < 0) b = static_cast<int>(i);
    double xu = 0;
    if (a >= 0) {
        const Seg& s = pg[a];
        xu = s.EU;
        e.ELDLX = Rnd(s.EU + (s.EU - s.EL) * s.PU / (s.PL - s.PU), 2);
        if (b >= 0 && pg[b].EU > e.ELDLX) e.ELDLX = pg[b].EU;
    } else if (b >= 0) {
        xu = e.ELDLX = pg[b].EU;
    } else {
        ADD_FAILURE() << "design without a virtual ground surface";
        return e;
    }

    // Loads above the virtual ground surface and their resultant.
    std::vector<Seg> qdi;
    double wl = e.ELDLX;
    if (g.Kind == 1 && c.ELDL - e.ELDLX <= 0.5) {
        wl = c.ELDL - 0.5;
        std::size_t i = 0;
        while (i < pg.size() && std::fabs(pg[i].EU - c.ELDL) > 0.001 && pg[i].EU > c.ELDL)
            qdi.push_back(pg[i++]);
        if (qdi.empty()) {
            ADD_FAILURE() << "no load above the design ground level";
            return e;
        }
        qdi.push_back(MakeSeg(c.ELDL, 0.5, qdi.back().PL, 0));
    } else {
        std::size_t i = 0;
        while (i < pg.size() && (std::fabs(pg[i].EL - xu) < 0.001 || pg[i].EL > xu))
            qdi.push_back(pg[i++]);
        if (i < pg.size() && pg[i].EU - e.ELDLX > 0.001)
            qdi.push_back(MakeSeg(pg[i].EU, pg[i].EU - e.ELDLX, pg[i].PU, 0));
    }
    const double wu = c.ELGL;
    std::vector<Seg> qdo;
    for (const Seg& s : qdi)
        if (s.EL < wu && s.EU > wl && s.H > 0.001) qdo.push_back(MakeSeg(s.EU, s.H, s.PU, s.PL));
    if (!qdo.empty() && qdo.front().EU > wu) {
        Seg& s = qdo.front();
        const double l = Rnd(wu - s.EL, 3);
        const double pu = Rnd(s.PL + l * (s.PU - s.PL) / s.H, 2);
        if (l > 0.001) {
            s.EU = wu;
            s.H = l;
            s.PU = pu;
        } else {
            qdo.erase(qdo.begin());
        }
    }
    if (!qdo.empty() && qdo.back().EL < wl) {
        Seg& s = qdo.back();
        const double l = Rnd(s.EU - wl, 3);
        const double pl = Rnd(s.PU + l * (s.PL - s.PU) / s.H, 2);
        if (l > 0.001) {
            s.EL = wl;
            s.H = l;
            s.PL = pl;
        } else {
            qdo.pop_back();
        }
    }
    for (const Seg& s : qdo) {
        const double y0 = Rnd(s.EL - wl, 3);
        auto add = [&](double pi, double yi) {
            e.P += pi;
            e.M += Rnd(yi * pi, 2);
        };
        const bool zu = std::fabs(s.PU) < 0.001, zl = std::fabs(s.PL) < 0.001;
        if (zu && zl) continue;
        if (std::fabs(s.PU - s.PL) < 0.001) {
            add(Rnd(s.H * s.PU, 2), Rnd(y0 + 0.5 * s.H, 3));
            continue;
        }
        if (!zu) add(Rnd(s.H * 0.5 * s.PU, 2), Rnd(2.0 / 3.0 * s.H + y0, 3));
        if (!zl) add(Rnd(s.H * 0.5 * s.PL, 2), Rnd(s.H / 3 + y0, 3));
    }
    e.Y = std::fabs(e.P) > 0.001 ? Rnd(e.M / e.P, 3) : 0.0;
    return e;
}

struct CrossCase {
    const char* name;
    bool halfMetreRule;  // clayey ground with the cantilever taken to 0.5 m below ELDL
    std::function<void(CInpJyoken&, CInpJiban&)> edit;
};

void PrintTo(const CrossCase& c, std::ostream* os) { *os << c.name; }

class CrossCheck : public ::testing::TestWithParam<CrossCase> {};

TEST_P(CrossCheck, ResultStoreMatchesIndependentEvaluation) {
    InitData();
    ResetResultStore();
    GetParam().edit(gInpJyoken, gInpJiban);
    const Expected e = Evaluate(gInpJyoken, gInpJiban);
    ASSERT_TRUE(CalcMain());

    EXPECT_EQ(gQqw->Q(), e.Q);
    ASSERT_EQ(gSpa->Jiban().Count(), static_cast<int32_t>(e.spa.size()));
    for (int32_t i = 1; i <= gSpa->Jiban().Count(); ++i) {
        EXPECT_EQ(gSpa->Jiban().Item(i)->PaU, e.spa[i - 1].PaU) << "active layer " << i;
        EXPECT_EQ(gSpa->Jiban().Item(i)->PaL, e.spa[i - 1].PaL) << "active layer " << i;
    }
    ASSERT_EQ(gSpp->Jiban().Count(), static_cast<int32_t>(e.spp.size()));
    for (int32_t i = 1; i <= gSpp->Jiban().Count(); ++i) {
        EXPECT_EQ(gSpp->Jiban().Item(i)->PaU, e.spp[i - 1].PaU) << "passive layer " << i;
        EXPECT_EQ(gSpp->Jiban().Item(i)->PaL, e.spp[i - 1].PaL) << "passive layer " << i;
    }
    EXPECT_EQ(gRWp->DH(), e.DH);
    EXPECT_EQ(gRWp->Pw(), e.Pw);
    EXPECT_EQ(gDL->ELDLX(), e.ELDLX);
    EXPECT_EQ(gPressure->P(), e.P);
    EXPECT_EQ(gPressure->M(), e.M);
    EXPECT_EQ(gPressure->Y(), e.Y);
    EXPECT_EQ(gPressure->WL, GetParam().halfMetreRule ? gInpJyoken.ELDL - 0.5 : gDL->ELDLX());
}

INSTANTIATE_TEST_SUITE_P(
    Designs, CrossCheck,
    ::testing::Values(
        CrossCase{"DefaultDesign", false, [](CInpJyoken&, CInpJiban&) {}},
        CrossCase{"SandyWaterMidWallHorizontalSurcharge", false,
                  [](CInpJyoken& c, CInpJiban&) {
                      c.ELWL = 2.35;
                      c.K0X = 1.5;
                      c.K0Q = 10;
                  }},
        CrossCase{"SandyWaterInPassiveZone", false,
                  [](CInpJyoken& c, CInpJiban& g) {
                      c.ELGL = 5.2;
                      c.ELDL = 0.7;
                      c.ELWL = -1.3;
                      c.Z = 8;
                      g.Fai = 35;
                  }},
        CrossCase{"ClayeyCohesionGrowingWithDepth", false,
                  [](CInpJyoken& c, CInpJiban& g) {
                      c.ELGL = 6;
                      c.ELWL = 3;
                      g.Kind = 1;
                      g.Ca = 1.5;
                      g.Cb = 8;
                  }},
        CrossCase{"ClayeyShallowVirtualGround", true,
                  [](CInpJyoken&, CInpJiban& g) { g.Kind = 1; }},
        // Water standing above the ground: the earth-pressure lists are padded up to it and
        // the water triangle is split at the ground surface with a rounded pressure.
        CrossCase{"WaterAboveTheGround", false,
                  [](CInpJyoken& c, CInpJiban& g) {
                      c.ELWL = 4.55;
                      g.Gws = 9.3;
                  }},
        CrossCase{"ConstantSlope", false,
                  [](CInpJyoken& c, CInpJiban&) {
                      c.Keijyo = 1;
                      c.K1m = 2;
                      c.K1Q = 5.55;
                      c.ELWL = 1.2;
                  }},
        CrossCase{"TrapezoidWithCrestSurcharge", false,
                  [](CInpJyoken& c, CInpJiban&) {
                      c.Keijyo = 2;
                      c.K2X1 = 1;
                      c.K2X2 = 2;
                      c.K2Ho = 1.5;
                      c.K2Q = 10;
                      c.ELWL = 3;
                  }},
        CrossCase{"TrapezoidCrestBeyondReach", false,
                  [](CInpJyoken& c, CInpJiban&) {
                      c.Keijyo = 2;
                      c.K2X1 = 3;
                      c.K2X2 = 2.5;
                      c.K2Ho = 1.2;
                      c.K2Q = 20;
                      c.ELWL = -0.4;
                  }}),
    [](const ::testing::TestParamInfo<CrossCase>& i) { return i.param.name; });

}  // namespace
}  // namespace kuvelt
