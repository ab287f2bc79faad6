#include "model/design.h"

#include <utility>

namespace kuvelt {

CInpJyoken gInpJyoken;
CInpJiban gInpJiban;
CInpZairyo gInpZairyo;
colInpSectC gInpSectC;
colInpSectS gInpSectLS;
colInpSectS gInpSectS;
CInpYaita gInpYaita;
CInpHyoshi gInpHyoshi;

std::vector<CInpJibanLayer> GroundLayers(const CInpJiban& g, double ELGL) {
    std::vector<CInpJibanLayer> all;
    all.reserve(g.Layers.size() + 1);
    all.push_back(CInpJibanLayer{ELGL, g.Kind, g.Gt, g.Gws, g.Fai, g.Ca, g.Cb, g.KH});
    all.insert(all.end(), g.Layers.begin(), g.Layers.end());
    return all;
}

std::size_t LayerIndexAt(const std::vector<CInpJibanLayer>& layers, double el) {
    std::size_t i = 0;
    while (i + 1 < layers.size() && layers[i + 1].ELU >= el) ++i;
    return i;
}

CInpJibanLayer LayerBelowDesignGround(const CInpJiban& g, const CInpJyoken& c) {
    const std::vector<CInpJibanLayer> layers = GroundLayers(g, c.ELGL);
    return layers[LayerIndexAt(layers, c.ELDL)];
}

void AddBuiltInConcrete(colInpSectC& c) {
    c.Add("50H", 0, 1040, 5.4, 2, 4);
    c.Add("60H", 0, 1800, 8, 2.5, 5);
    c.Add("70H", 0, 2860, 11, 2.5, 6);
}

void AddBuiltInLightSteel(colInpSectS& c) {
    // Catalogue order, not order of size: it fixes the section numbers of a new design.
    c.Add("LSP-2(t=4)", 85.1, 48.6, 41.1, 24.9);
    c.Add("LSP-2(t=5)", 107, 59.8, 62, 36.6);
    c.Add("LSP-3A(t=4)", 404, 115, 202, 59.2);
    c.Add("LSP-3A(t=5)", 510, 144, 298, 86);
    c.Add("LSP-3D(t=5)", 2000, 272, 1190, 164);
    c.Add("LSP-3D(t=6)", 2480, 330, 1580, 214);
    c.Add("LSP-3B(t=5)", 636, 171, 378, 104);
    c.Add("LSP-3B(t=6)", 762, 204, 507, 138);
    c.Add("LSP-5(t=5)", 3620, 452, 2180, 274);
    c.Add("LSP-5(t=6)", 4360, 540, 2900, 364);
    c.Add("LSP-5(t=7)", 5080, 626, 3600, 452);
}

void AddBuiltInSteel(colInpSectS& c) {
    // The Roman numerals are the single characters U+2160..U+2165. The masses per square metre
    // of wall are the standard ones of the sections that have one for certain; the others stay
    // without (0), and the proposal does not weigh them.
    struct Row {
        const char* name;
        double Id, Zd, Io, Zo, mass;
    };
    constexpr Row rows[] = {
        {"SP-\u2160A", 4500, 529, 3420, 402, 0},
        {"SP-\u2161", 8740, 874, 7080, 708, 120},
        {"SP-\u2161A", 10600, 880, 8270, 686, 0},
        {"SP-\u2161W", 13000, 1000, 10500, 810, 103},
        {"SP-\u2162", 16800, 1340, 14300, 1140, 150},
        {"SP-\u2162A", 22800, 1520, 19200, 1280, 0},
        {"SP-\u2162W", 32400, 1800, 27500, 1530, 136},
        {"SP-\u2163", 38600, 2270, 33200, 1950, 190},
        {"SP-\u2163A", 41600, 2250, 36200, 1960, 0},
        {"SP-\u2163W", 56700, 2700, 49900, 2380, 177},
        {"SP-\u2164L", 63000, 3150, 57300, 2870, 210},
        {"SP-\u2165L", 86000, 3820, 79100, 3510, 240},
    };
    for (const Row& r : rows) c.Add(r.name, r.Id, r.Zd, r.Io, r.Zo)->Mass = r.mass;
}

double StandardMass(const CInpSectS& row) {
    static const colInpSectS builtIn = [] {
        colInpSectS c;
        AddBuiltInSteel(c);
        return c;
    }();
    for (const CInpSectS& b : builtIn) {
        if (b.Name == row.Name && b.Id == row.Id && b.Zd == row.Zd && b.Io == row.Io &&
            b.Zo == row.Zo)
            return b.Mass;
    }
    return 0.0;
}

void InitData() {
    gInpJyoken = CInpJyoken{};
    gInpJiban = CInpJiban{};
    gInpZairyo = CInpZairyo{};
    gInpSectC = colInpSectC{};
    AddBuiltInConcrete(gInpSectC);
    gInpSectLS = colInpSectS{};
    AddBuiltInLightSteel(gInpSectLS);
    gInpSectS = colInpSectS{};
    AddBuiltInSteel(gInpSectS);
    gInpYaita = CInpYaita{};
    gInpHyoshi = CInpHyoshi{};
}

Design CurrentDesign() {
    return Design{gInpJyoken, gInpJiban, gInpZairyo, gInpSectC,
                  gInpSectLS, gInpSectS, gInpYaita,  gInpHyoshi};
}

void SetCurrentDesign(Design d) {
    gInpJyoken = std::move(d.Jyoken);
    gInpJiban = std::move(d.Jiban);
    gInpZairyo = std::move(d.Zairyo);
    gInpSectC = std::move(d.SectC);
    gInpSectLS = std::move(d.SectLS);
    gInpSectS = std::move(d.SectS);
    gInpYaita = std::move(d.Yaita);
    gInpHyoshi = std::move(d.Hyoshi);
}

}  // namespace kuvelt
