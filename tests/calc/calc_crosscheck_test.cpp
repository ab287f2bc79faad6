// End-to-end cross-check of the calculation: a second, deliberately plain evaluation of the
// surcharge, earth pressures, residual water, virtual ground surface and load resultant, then of
// every sheet-pile section (Chang's moment, stress, embedment and required length, head
// displacement), the result lists, the proposed passing pile and the boiling or heaving check of
// the stored pile, written straight from the engineering rules with std::vector and no shared
// calculation code (its own rounding too), compared exactly with what the batch calculation
// leaves in the result store, on hand designs, generated designs and designs built to fail.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "design_generator.h"
#include "model/design.h"
#include "usecase/design_run.h"

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

// The thickness above a split: to 0.01 m when that is only binary noise, else exact.
double Thick(double h) { return std::fabs(Rnd(h, 2) - h) <= 1e-9 ? Rnd(h, 2) : h; }

// One soil layer split at the given elevations in turn (first layer that strictly holds one).
std::vector<Layer> Layers(double top, double h, const std::vector<double>& cuts) {
    std::vector<Layer> v{{top, top - h, h, 0}};
    for (double e : cuts) {
        for (std::size_t i = 0; i < v.size(); ++i) {
            const double hu = Thick(std::min(std::max(v[i].EU - e, 0.0), v[i].H));
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
    double sU = 0;  // vertical stress at the top
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
            out.push_back({Rnd(s * kh, 2), Rnd(sL * kh, 2), s});
        } else if (active) {
            const double p1u = Rnd(s - 2 * cU, 2), p2u = Rnd(0.5 * s, 2);
            const double p1l = Rnd(sL - 2 * cL, 2), p2l = Rnd(0.5 * sL, 2);
            out.push_back({p1u > p2u ? p1u : p2u, p1l > p2l ? p1l : p2l, s});
        } else {
            out.push_back({Rnd(s + 2 * cU, 2), Rnd(sL + 2 * cL, 2), s});
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
    double ELV = 0;          // adopted virtual ground: ELDLX, or ELDL - 0.5 by the clay rule
    bool halfMetre = false;  // the clay rule applied
    std::string fail;        // why the load stages cannot finish (empty when they can)
};

Expected Evaluate(const CInpJyoken& c, const CInpJiban& g) {
    Expected e;
    e.Q = Surcharge(c);

    auto soil = [&](std::vector<Layer> ls) {
        for (Layer& l : ls) l.Gs = c.ELWL - l.EL < 0.001 ? g.Gt : g.Gws + 10 - 10;
        return ls;
    };
    std::vector<double> levels{c.ELWL, c.ELDL};
    auto la = soil(Layers(c.ELGL, c.ELGL - c.ELDL + c.Z, levels));
    const double beta = c.Keijyo == 1 ? std::atan(1 / c.K1m) * 180 / kPi : 0.0;
    e.spa = Pressures(true, e.Q, beta, la, c, g);
    // Clayey ground: each layer in which σ/2 - 2c changes sign is cut there (to 0.01 m), from
    // the top, a layer once; both sides are cut at those levels.
    for (std::size_t from = 0; g.Kind != 0;) {
        double cut = NAN;
        for (; from < la.size() && std::isnan(cut); ++from) {
            const Layer& l = la[from];
            const double slope = l.Gs / 2 - 2 * g.Ca;
            const double t = -(e.spa[from].sU / 2 - 2 * (g.Ca * (c.ELGL - l.EU) + g.Cb)) / slope;
            if (slope == 0 || !(t > 0 && t < l.H)) continue;
            const double x = Rnd(l.EU - t, 2);
            if (l.EU - x > 0.001 && x - l.EL > 0.001) cut = x;
        }
        if (std::isnan(cut)) break;
        levels.push_back(cut);
        la = soil(Layers(c.ELGL, c.ELGL - c.ELDL + c.Z, levels));
        e.spa = Pressures(true, e.Q, beta, la, c, g);
        ++from;
    }
    std::vector<double> passiveLevels(levels.begin() + 2, levels.end());
    passiveLevels.insert(passiveLevels.begin(), c.ELWL);
    const auto lp = soil(Layers(c.ELDL, c.Z, passiveLevels));
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
        if (top > v->front().EU && top - v->front().EU > 0.001)
            v->insert(v->begin(), MakeSeg(top, top - v->front().EU, 0, 0));
        if (bot < v->back().EL && v->back().EL - bot > 0.001)
            v->push_back(MakeSeg(v->back().EL, v->back().EL - bot, 0, 0));
    }
    for (auto* v : {&pa, &pw, &pp})
        for (std::size_t i = 1; i < v->size(); ++i) cuts.push_back((*v)[i].EU);
    for (auto* v : {&pa, &pw, &pp}) {
        for (double x : cuts) {
            for (std::size_t j = 0; j < v->size(); ++j) {
                Seg& s = (*v)[j];
                if (!(s.EL < x && x < s.EU)) continue;
                const double h1 = Thick(s.EU - x), h2 = s.H - h1;
                const double pm = s.PL == s.PU ? s.PU : Rnd(s.PU + (s.PL - s.PU) / s.H * h1, 1);
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
        e.fail = "no virtual ground surface";
        return e;
    }

    // Loads above the virtual ground surface and their resultant.
    std::vector<Seg> qdi;
    double wl = e.ELDLX;
    if (g.Kind == 1 && c.ELDL - e.ELDLX <= 0.5) {
        wl = c.ELDL - 0.5;
        e.halfMetre = true;
        std::size_t i = 0;
        while (i < pg.size() && std::fabs(pg[i].EU - c.ELDL) > 0.001 && pg[i].EU > c.ELDL)
            qdi.push_back(pg[i++]);
        if (qdi.empty()) {
            e.fail = "no load above the design ground level";
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
    e.ELV = wl;
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

// "a exceeds b": a as printed, to n decimals, lies above b (beyond binary noise).
bool Over(double a, int n, double b) { return Rnd(a, n) > b + 1e-9; }

// Per-section values of one kind (or one result list), sections and items from 1.
struct Rows {
    int items;
    std::vector<double> v;
    explicit Rows(int n) : items(n), v(std::size_t(30 * n), 0.0) {}
    double& operator()(int s, int i) { return v[std::size_t((s - 1) * items + i - 1)]; }
    double operator()(int s, int i) const { return v[std::size_t((s - 1) * items + i - 1)]; }
};

// One catalogue row as the four passes see it: modulus, and I and alpha of each use.
struct Pile {
    double E, IA, aA, IC, aC, ID, aD, Zo, allow, Lmin, Lmax, mass;
};

struct Sections {
    bool tooMany = false;
    int fault = 0;  // pass 2 (B), 3 (C) or 4 (D) that met an arithmetic fault; 0 none
    std::vector<std::vector<Pile>> cat;
    std::vector<Rows> chang{Rows(5), Rows(5), Rows(5)}, stress{Rows(3), Rows(3), Rows(3)},
        embed{Rows(5), Rows(5), Rows(5)}, disp{Rows(7), Rows(7), Rows(7)};
    std::vector<Rows> list{Rows(10), Rows(7), Rows(7)};
    // The passing proposal: kind index 1-3 (0 none), section, length, required length.
    int pk = 0, ps = 0;
    double pL = 0, pLreq = 0, pMass = 0, pPerMetre = 0;
};

Sections EvaluateSections(const Expected& e, const CInpJyoken& c, const CInpJiban& g,
                          const CInpZairyo& z, const colInpSectC& sc, const colInpSectS& sls,
                          const colInpSectS& ss) {
    Sections r;
    r.cat.resize(3);
    for (const CInpSectC& x : sc) {
        const double E = x.Keijyo == 0 ? z.EcHira : x.Keijyo == 1 ? z.EcMizo : z.EcNami;
        const double I = x.Ic / 1e8;
        r.cat[0].push_back({E, I, 1.0, I, 1.0, I, 1.0, 0, x.Mc, x.Lmin, x.Lmax, x.Mass});
    }
    for (int k = 1; k <= 2; ++k)
        for (const CInpSectS& x : k == 1 ? sls : ss)
            r.cat[k].push_back({k == 1 ? z.Esky : z.Esy, x.Io / 1e8, z.AlphaIs, x.Id / 1e8,
                                z.AlphaIz, x.Io / 1e8, z.AlphaId, x.Zo, k == 1 ? z.KYSat : z.YSat,
                                0, 0, x.Mass});
    for (const auto& k : r.cat) r.tooMany = r.tooMany || k.size() > 30;
    if (r.tooMany) return r;
    auto fin = [](double x) { return std::isfinite(x); };
    auto each = [&](const std::function<bool(int, int, const Pile&)>& f) {
        for (int k = 0; k < 3; ++k)
            for (int s = 1; s <= int(r.cat[k].size()); ++s)
                if (!f(k, s, r.cat[k][std::size_t(s - 1)])) return false;
        return true;
    };
    const double P = e.P, Y = e.Y, KH = g.KH;

    // A: Chang's semi-infinite beam with a free head, load P at height Y (or at the ground).
    each([&](int k, int s, const Pile& x) {
        const double ek = x.E / 1000, eka = ek * x.aA;
        const double EI = eka * 1000 * x.IA;
        const double q = 0.25 * KH * 1.0 / EI;
        if (EI == 0 || !fin(q) || q < 0) return true;
        const double b = std::pow(q, 0.25);
        double mmax = 0, lm = 0;
        if (Y >= 0.001) {
            const double t = 2 * b * Y + 1;
            mmax = -P * Y * std::sqrt(t * t + 1) / (2 * b * Y) * std::exp(-std::atan(1 / t));
            lm = std::atan(1 / t) / b;
        } else {
            mmax = -(P / b) * std::exp(-kPi / 4) * std::sin(kPi / 4);
            lm = 0.25 * kPi / b;
        }
        if (!fin(mmax) || !fin(lm) || !fin(b)) return true;  // a failed call leaves zeros
        Rows& t = r.chang[std::size_t(k)];
        t(s, 1) = Rnd(mmax, 1), t(s, 2) = lm, t(s, 3) = b, t(s, 4) = ek * 1e6, t(s, 5) = x.IA;
        return true;
    });
    // B: moment against the cracking moment (concrete) or stress against the allowable.
    if (!each([&](int k, int s, const Pile& x) {
            const double m = std::fabs(r.chang[std::size_t(k)](s, 1));
            double v = m, mod = 1.0;
            if (k > 0) {
                mod = x.Zo * 1000;
                v = m * 1e6 / (z.AlphaZs * mod);
                if (!fin(v)) return false;
            }
            Rows& t = r.stress[std::size_t(k)];
            t(s, 1) = v, t(s, 2) = mod,
                 t(s, 3) = Over(v, 1, x.allow) ? 1 : 0;  // M and σ print to 0.1
            return true;
        })) {
        r.fault = 2;
        return r;
    }
    // C: embedment 3/beta below the adopted virtual ground, required length from the pile top.
    if (!each([&](int k, int s, const Pile& x) {
            const double E1 = x.E * 1000;
            const double q = std::pow(KH * 0.25 * 1000 / (E1 * x.IC * x.aC), 0.25);
            if (!fin(q)) return false;
            const double b = Rnd(q, 4), l = 3 / b;
            if (!fin(l)) return false;
            Rows& t = r.embed[std::size_t(k)];
            t(s, 1) = Rnd(l, 2), t(s, 2) = c.ELYU - e.ELV + t(s, 1), t(s, 3) = b, t(s, 4) = E1;
            t(s, 5) = x.IC;
            return true;
        })) {
        r.fault = 3;
        return r;
    }
    // D: head displacement: ground-level shift, rotation over H0, cantilever bending.
    if (!each([&](int k, int s, const Pile& x) {
            const double H0 = c.ELYU - e.ELV, K = x.E * x.ID * x.aD;
            const double q = std::pow(KH * 0.25 / K, 0.25);
            if (!fin(q)) return false;
            const double b = Rnd(q, 4);
            const double d1 = P * (1 + b * Y) / (2 * b * b * b * K);
            const double d2 = P * H0 * (1 + 2 * b * Y) / (2 * b * b * K);
            const double d3 = Y * Y * P * (3 * H0 - Y) / (6 * K);
            if (!fin(d1) || !fin(d2) || !fin(d3)) return false;
            Rows& t = r.disp[std::size_t(k)];
            t(s, 1) = Rnd(d1, 3), t(s, 2) = Rnd(d2, 3), t(s, 3) = Rnd(d3, 3);
            t(s, 4) = t(s, 1) + t(s, 2) + t(s, 3), t(s, 5) = x.E, t(s, 6) = x.ID, t(s, 7) = b;
            return true;
        })) {
        r.fault = 4;
        return r;
    }
    // Result lists and the proposal: the first kind in the window's order with a passing
    // section, in it the least mass x L (to 0.1 kg/m) of the passing sections with a mass, or
    // without masses its first passing section.
    each([&](int k, int s, const Pile& x) {
        Rows& l = r.list[std::size_t(k)];
        const std::size_t ku = std::size_t(k);
        const double lreq = r.embed[ku](s, 2), d = r.disp[ku](s, 4);
        int n = 1;
        l(s, n++) = r.stress[ku](s, 1);
        l(s, n++) = x.allow;
        l(s, n++) = r.stress[ku](s, 3);
        l(s, n++) = lreq;
        if (k == 0) {
            l(s, n++) = x.Lmin, l(s, n++) = x.Lmax;
            const double printed = Rnd(lreq, 2);
            const bool inside = printed >= x.Lmin - 1e-9 && printed <= x.Lmax + 1e-9;
            l(s, n++) = inside ? 0 : 1;
        }
        l(s, n++) = d, l(s, n++) = c.Delta, l(s, n++) = Over(d, 3, c.Delta) ? 1 : 0;
        bool passes = true;
        for (int i : k == 0 ? std::vector<int>{3, 7, 10} : std::vector<int>{3, 7})
            passes = passes && l(s, i) == 0;
        if (passes) {
            // The next half metre at or above the required length as printed.
            double L = std::ceil(Rnd(lreq, 2) * 2 - 1e-9) / 2;
            if (k == 0) L = L < x.Lmin ? x.Lmin : L > x.Lmax ? x.Lmax : L;
            const double perMetre = Rnd(x.mass * L, 1);
            const bool lighter =
                r.pk == k + 1 && x.mass > 0 && (r.pMass == 0 || perMetre < r.pPerMetre);
            if (r.pk == 0 || lighter) {
                r.pk = k + 1, r.ps = s, r.pL = L, r.pLreq = lreq;
                r.pMass = x.mass, r.pPerMetre = perMetre;
            }
        }
        return true;
    });
    return r;
}

// Boiling or heaving of the stored pile length; embedment from the pile top at ELYU.
struct Stability {
    bool run = false, sandy = false, fault = false;
    double Hw = 0, D = 0, H = 0, Q = 0, F = 0;
    bool hantei = false;
    std::vector<std::pair<double, double>> table;
};

Stability EvaluateStability(const CInpJyoken& c, const CInpJiban& g, const CInpYaita& y) {
    Stability st;
    if (c.Nekiri == 0) return st;
    st.run = true;
    st.sandy = g.Kind == 0;
    st.H = c.ELGL - c.ELDL, st.Hw = c.ELWL - c.ELDL, st.D = y.L - (c.ELYU - c.ELDL);
    if (st.sandy) {
        auto f = [&](double d) { return st.Hw > 0.001 ? 2 * g.Gws * d / (st.Hw * g.Gw) : 999; };
        st.F = f(st.D);
        double d = std::max(Rnd(st.D, 0) - 5, 0.0);
        for (int i = 0; i < 20; ++i) {
            d += 0.5;
            st.table.emplace_back(d, f(d));
        }
        st.fault = !std::isfinite(st.F) || !std::isfinite(st.table.back().second);
        st.hantei = Rnd(st.F, 3) >= c.Fsb - 1e-9;
    } else {
        st.Q = Surcharge(c);
        const double h1 = std::max(st.H - st.Hw, 0.0), h2 = std::max(st.Hw, 0.0);
        const double W = h1 * g.Gt + (g.Gws + g.Gw) * h2 + st.Q;
        const double root = g.Ca * g.Ca * st.H * st.H + 2 * g.Ca * g.Cb * st.H;
        st.F = W <= 0.001 ? 999 : 2 / W * ((g.Ca * st.H + g.Cb) * kPi + 2 * std::sqrt(root));
        st.fault = !std::isfinite(st.F);
        st.hantei = Rnd(st.F, 3) >= c.Fsh - 1e-9;
    }
    return st;
}

// What a design turned out to be, for cases that must exercise a particular path.
struct Seen {
    bool calculated = false, halfMetre = false;
    int fault = 0;
    bool anyPassing = false;
    int stability = 0;  // 1 boiling, 2 heaving checked
    bool stabilityFault = false;
    std::string refused;  // the field of a design the input windows refuse (not calculated)
};

// Runs the batch calculation of the current design and compares everything the JSON dump of
// kuvelt-calc carries with the independent evaluation.
Seen CompareCurrentDesign() {
    const CInpJyoken c = gInpJyoken;
    const CInpJiban g = gInpJiban;
    const CInpYaita y = gInpYaita;
    const Expected e = Evaluate(c, g);
    const Sections x = EvaluateSections(e, c, g, gInpZairyo, gInpSectC, gInpSectLS, gInpSectS);
    const bool calculated = e.fail.empty() && !x.tooMany && x.fault == 0;
    const usecase::CalcRun run = usecase::Calculate(usecase::Purpose::Batch);
    Seen seen;
    seen.calculated = calculated, seen.halfMetre = e.halfMetre, seen.fault = x.fault;
    seen.anyPassing = x.pk != 0;
    if (run.refusal) {
        EXPECT_FALSE(run.calculated);
        seen.calculated = false;
        seen.fault = 0;
        seen.refused = run.refusal->field;
        return seen;
    }
    EXPECT_EQ(run.calculated, calculated)
        << e.fail << (x.tooMany ? " catalogue > 30" : "") << " fault in pass " << x.fault;
    if (!calculated) {
        EXPECT_FALSE(run.stability.has_value()) << "stability after a failed run";
    }
    if (!e.fail.empty()) return seen;

    EXPECT_EQ(gQqw->Q(), e.Q);
    EXPECT_EQ(gSpa->Jiban().Count(), int32_t(e.spa.size()));
    for (int32_t i = 1; i <= std::min(gSpa->Jiban().Count(), int32_t(e.spa.size())); ++i) {
        EXPECT_EQ(gSpa->Jiban().Item(i)->PaU, e.spa[std::size_t(i - 1)].PaU) << "active " << i;
        EXPECT_EQ(gSpa->Jiban().Item(i)->PaL, e.spa[std::size_t(i - 1)].PaL) << "active " << i;
    }
    EXPECT_EQ(gSpp->Jiban().Count(), int32_t(e.spp.size()));
    for (int32_t i = 1; i <= std::min(gSpp->Jiban().Count(), int32_t(e.spp.size())); ++i) {
        EXPECT_EQ(gSpp->Jiban().Item(i)->PaU, e.spp[std::size_t(i - 1)].PaU) << "passive " << i;
        EXPECT_EQ(gSpp->Jiban().Item(i)->PaL, e.spp[std::size_t(i - 1)].PaL) << "passive " << i;
    }
    EXPECT_EQ(gRWp->DH(), e.DH);
    EXPECT_EQ(gRWp->Pw(), e.Pw);
    EXPECT_EQ(gDL->ELDLX(), e.ELDLX);
    EXPECT_EQ(gPressure->P(), e.P);
    EXPECT_EQ(gPressure->M(), e.M);
    EXPECT_EQ(gPressure->Y(), e.Y);
    EXPECT_EQ(gPressure->WL, e.ELV);
    EXPECT_EQ(AdoptedVirtualGround(), e.ELV);
    if (x.tooMany) return seen;

    // Tables of the passes that ran to their end; a faulting pass leaves the later ones unmade.
    auto table = [&](const char* name, int pass, const auto& got, const std::vector<Rows>& want) {
        EXPECT_EQ(got.Reached(), x.fault == 0 || pass <= x.fault) << name;
        if (x.fault != 0 && pass >= x.fault) return;
        for (int k = 0; k < 3; ++k)
            for (int s = 1; s <= int(x.cat[std::size_t(k)].size()); ++s)
                for (int i = 1; i <= want[std::size_t(k)].items; ++i)
                    EXPECT_EQ(got(k + 1, s, i), want[std::size_t(k)](s, i))
                        << name << "(" << k + 1 << "," << s << "," << i << ")";
    };
    table("gSectChang", 1, gSectChang, x.chang);
    table("gSectStress", 2, gSectStress, x.stress);
    table("gSectEmbed", 3, gSectEmbed, x.embed);
    table("gSectDisp", 4, gSectDisp, x.disp);
    if (!calculated) return seen;
    auto list = [&](const char* name, const auto& got, int k) {
        const Rows& want = x.list[std::size_t(k)];
        for (int s = 1; s <= int(x.cat[std::size_t(k)].size()); ++s)
            for (int i = 1; i <= want.items; ++i)
                EXPECT_EQ(got(s, i), want(s, i)) << name << "(" << s << "," << i << ")";
    };
    list("gListC", gListC, 0);
    list("gListLS", gListLS, 1);
    list("gListS", gListS, 2);

    const usecase::Proposal p = usecase::ProposePassingPick(SnapshotResults());
    EXPECT_EQ(p.pick.has_value(), x.pk != 0);
    if (p.pick && x.pk != 0) {
        EXPECT_EQ(TableIndex(p.pick->kind), x.pk);
        EXPECT_EQ(p.pick->sect, x.ps);
        EXPECT_EQ(p.pick->L, x.pL) << "required " << x.pLreq;
        EXPECT_EQ(p.requiredLength, x.pLreq);
    }

    EXPECT_EQ(run.stability, y.InpFlg ? std::optional<bool>(true) : std::nullopt);
    if (!y.InpFlg) return seen;
    const Stability st = EvaluateStability(c, g, y);
    seen.stability = st.run ? (st.sandy ? 1 : 2) : 0;
    seen.stabilityFault = st.fault;
    EXPECT_EQ(gNekiriAnteiAs.Reached(), st.run && st.sandy);
    EXPECT_EQ(gNekiriAnteiAc.Reached(), st.run && !st.sandy);
    if (const clsNekiriAnteiAs* a = gNekiriAnteiAs.Peek(); a && st.run && st.sandy) {
        EXPECT_EQ(a->Gws, g.Gws);
        EXPECT_EQ(a->Gw, g.Gw);
        EXPECT_EQ(a->Hw, st.Hw);
        EXPECT_EQ(a->D, st.D);
        EXPECT_EQ(a->Fa, c.Fsb);
        EXPECT_EQ(a->Error() != 0, st.fault);
        if (!st.fault) {
            EXPECT_EQ(a->F(), st.F);
            EXPECT_EQ(a->Hantei(), st.hantei);
            EXPECT_EQ(a->Ichiran().Count(), 20);
            int32_t i = 1;
            for (const auto& [d, f] : st.table) {
                if (const CDim1x2* v = a->Ichiran().Item(i++)) {
                    EXPECT_EQ(v->Value1, d);
                    EXPECT_EQ(v->Value2, f);
                }
            }
        }
    }
    if (const clsNekiriAnteiAc* a = gNekiriAnteiAc.Peek(); a && st.run && !st.sandy) {
        EXPECT_EQ(a->Gt, g.Gt);
        EXPECT_EQ(a->Gws, g.Gws);
        EXPECT_EQ(a->Gw, g.Gw);
        EXPECT_EQ(a->Q, st.Q);
        EXPECT_EQ(a->Ca, g.Ca);
        EXPECT_EQ(a->Cb, g.Cb);
        EXPECT_EQ(a->H, st.H);
        EXPECT_EQ(a->Hw, st.Hw);
        EXPECT_EQ(a->D, st.D);
        EXPECT_EQ(a->Fa, c.Fsh);
        EXPECT_EQ(a->Error() != 0, st.fault);
        if (!st.fault) {
            EXPECT_EQ(a->F(), st.F);
            EXPECT_EQ(a->Hantei(), st.hantei);
        }
    }
    return seen;
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
    GetParam().edit(gInpJyoken, gInpJiban);
    const Seen seen = CompareCurrentDesign();
    EXPECT_TRUE(seen.calculated);
    EXPECT_EQ(seen.halfMetre, GetParam().halfMetreRule);
}

// Generated designs (valid and degenerate families) and hand-made ones built to fail, each
// through the batch calculation with its stability check; the counts show which paths ran.
TEST(CrossCheckDesigns, GeneratedAndFailingDesignsMatchIndependentEvaluation) {
    int valid = 0, degenerate = 0, refused = 0, calculated = 0, halfMetre = 0, passing = 0;
    int faults = 0;
    int boiling = 0, heaving = 0;
    for (uint64_t index = 0; valid < 500; ++index) {
        const load::Family f = load::FamilyOf(index);
        if (f != load::Family::Valid && f != load::Family::Degenerate) continue;
        const load::GeneratedDesign d = load::GenerateDesign(20261209, index);
        SCOPED_TRACE(testing::Message()
                     << load::FamilyName(f) << " design " << index << " " << d.what);
        (f == load::Family::Valid ? valid : degenerate)++;
        const Seen s = CompareCurrentDesign();
        refused += !s.refused.empty();
        calculated += s.calculated, halfMetre += s.halfMetre, passing += s.anyPassing;
        faults += s.fault != 0;
        boiling += s.stability == 1, heaving += s.stability == 2;
        if (HasFailure()) break;  // one design's differences are enough to read
    }
    EXPECT_GT(calculated, 300);
    EXPECT_GT(halfMetre, 10);
    EXPECT_GT(passing, 100);
    // The designs that faulted in the section passes (a zero rigidity or joint efficiency) are
    // the ones the input windows refuse now: none of them is calculated.
    EXPECT_EQ(faults, 0);
    EXPECT_GT(refused, 10);
    EXPECT_GT(boiling, 50);
    EXPECT_GT(heaving, 50);
    EXPECT_LT(refused, 100);
    std::cout << valid << " valid, " << degenerate << " degenerate: " << refused << " refused, "
              << calculated << " calculated, " << halfMetre << " by the 0.5 m rule, " << passing
              << " with a passing section, " << faults << " arithmetic faults, " << boiling
              << " boiling and " << heaving << " heaving checks\n";

    struct Failing {
        const char* name;
        std::function<void()> edit;
        bool calculated;
        int fault;
        bool stabilityFault = false;
        std::string refused = {};  // the field the input windows refuse, the design uncalculated
    };
    const Failing failing[] = {
        {"no virtual ground within the examined depth",
         [] {
             gInpJyoken.ELGL = gInpJyoken.ELYU = 6.0;
             gInpJyoken.Z = 1.0;
             gInpJiban.Fai = 20;
         },
         false, 0},
        {"zero second moment after corrosion (steel)", [] { gInpSectS.Item(1)->Io = 0.0; }, false,
         0, false, "gInpSectS[0].Io"},
        {"zero joint efficiency of the stress check only", [] { gInpZairyo.AlphaIs = 0; }, false, 0,
         false, "CInpZairyo.AlphaIs"},
        {"31 concrete sections",
         [] {
             while (gInpSectC.Count() <= 30) gInpSectC.Add("C", 0, 5000, 30, 2, 8);
         },
         false, 0, false, "gInpSectC"},
        {"boiling with weightless water",
         [] {
             gInpJyoken.ELWL = 3.0;
             gInpJiban.Gw = 0;
         },
         false, 0, false, "CInpJiban.Gw"},
        {"heaving with cohesion falling below zero",
         [] {
             gInpJyoken.ELWL = 2.0;
             gInpJiban.Kind = 1;
             gInpJiban.Ca = -0.5;  // Ca H (Ca H + 2 Cb) < 0 under the root
         },
         false, 0, false, "CInpJiban.Ca"},
    };
    for (const Failing& f : failing) {
        SCOPED_TRACE(f.name);
        InitData();
        gInpYaita = CInpYaita{true, 2, 1, 3, 5, 8};
        f.edit();
        const Seen s = CompareCurrentDesign();
        EXPECT_EQ(s.calculated, f.calculated);
        EXPECT_EQ(s.fault, f.fault);
        EXPECT_EQ(s.stabilityFault, f.stabilityFault);
        EXPECT_EQ(s.refused, f.refused);
    }

    // Pile tops 2.00 to 2.99 m above the ground of the same low clay wall (design ground level
    // at -4.98 m): the required lengths step through multiples of 0.5 m, some a binary hair
    // above one (13.000000000000002 at a pile top of -2.69 m), which must not round up to 13.5.
    for (int cm = 200; cm < 300; ++cm) {
        SCOPED_TRACE(cm);
        InitData();
        gInpJiban.Kind = 1;
        gInpJyoken.ELDL = -4.98;
        gInpJyoken.ELGL = -2.98;
        gInpJyoken.ELWL = -0.98;
        gInpJyoken.Delta = 0.3;
        gInpJyoken.ELYU = (cm - 498) / 100.0;
        EXPECT_TRUE(CompareCurrentDesign().anyPassing);
    }

    // Heaving checked again after the surcharge was edited, without a new calculation: it
    // must take the surcharge of the design as it now is.
    InitData();
    gInpJiban.Kind = 1;
    gInpYaita = CInpYaita{true, 0, 1, 3, 5, 8};
    ASSERT_TRUE(usecase::Calculate(usecase::Purpose::Batch).calculated);
    gInpJyoken.K0Q = 15;
    gInpJyoken.K0X = 0.5;
    EXPECT_TRUE(usecase::CheckStability().ran);
    EXPECT_EQ(gNekiriAnteiAc->Q, Surcharge(gInpJyoken));
    EXPECT_GT(gNekiriAnteiAc->Q, 0);
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
                      c.ELGL = c.ELYU = 5.2;
                      c.ELDL = 0.7;
                      c.ELWL = -1.3;
                      c.Z = 8;
                      g.Fai = 35;
                  }},
        CrossCase{"ClayeyCohesionGrowingWithDepth", false,
                  [](CInpJyoken& c, CInpJiban& g) {
                      c.ELGL = c.ELYU = 6;
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
