// The results of one calculation as a value: what the windows, the report chapters and the
// command-line writers read. The stage instances and tables the calculation works in (the
// result store) are its working area; a run hands out a copy of them once it ends, so nothing
// a reader holds can change under it or come from an earlier design. A stage the run did not
// reach is absent, never a default instance.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "calc/dl.h"
#include "calc/kh.h"
#include "calc/nekiri.h"
#include "calc/pile_kind.h"
#include "calc/pressure.h"
#include "calc/qqw.h"
#include "calc/rwp.h"
#include "calc/sp.h"

namespace kuvelt {

// Chang's method for a section, with the moment of inertia the bending check uses.
struct ChangRow {
    double mmax = 0.0;   // maximum moment with its sign, kN*m/m
    double lm = 0.0;     // its depth below the virtual ground, m
    double beta = 0.0;   // 1/m
    double e1000 = 0.0;  // E x 1000
    double i = 0.0;      // m4/m
    double kh = 0.0;     // Kh averaged over 1/beta below the virtual ground, kN/m3
};

struct StressRow {
    double value = 0.0;    // bending stress, N/mm2 (steel kinds); |Mmax|, kN*m/m (concrete)
    double modulus = 0.0;  // section modulus used, mm3/m (1.0 for concrete)
    bool exceeds = false;  // above the allowable
};

struct EmbedRow {
    double ell = 0.0;   // embedment 3/beta below the virtual ground, m
    double lreq = 0.0;  // required pile length, m
    double beta = 0.0;
    double e1000 = 0.0;
    double i = 0.0;
    double kh = 0.0;  // Kh averaged over 1/beta below the virtual ground, kN/m3
};

struct DispRow {
    double delta1 = 0.0, delta2 = 0.0, delta3 = 0.0;  // the three parts of the head displacement
    double delta = 0.0;                               // head displacement, m
    double e = 0.0;                                   // kN/m2
    double i = 0.0;                                   // m4/m
    double beta = 0.0;
    double kh = 0.0;  // Kh averaged over 1/beta below the virtual ground, kN/m3
};

// A row of the concrete result list: the checks a concrete section must pass.
struct ConcreteRow {
    double moment = 0.0;  // |Mmax|, kN*m/m
    double mc = 0.0;      // cracking moment, kN*m/m
    bool momentFails = false;
    double lreq = 0.0, lmin = 0.0, lmax = 0.0;  // m
    bool lengthFails = false;
    double delta = 0.0, deltaA = 0.0;  // m
    bool deltaFails = false;

    bool Passes() const { return !momentFails && !lengthFails && !deltaFails; }
};

// A row of the light-steel or steel result list.
struct SteelRow {
    double sigma = 0.0, sigmaA = 0.0;  // N/mm2
    bool sigmaFails = false;
    double lreq = 0.0;                 // m
    double delta = 0.0, deltaA = 0.0;  // m
    bool deltaFails = false;

    bool Passes() const { return !sigmaFails && !deltaFails; }
};

template <class Row>
using ByKind = std::array<std::vector<Row>, 3>;  // in the order of kPileKinds

// The per-section tables and the result lists, a row for each catalogued section (section s is
// row s - 1). A table the run did not reach is absent: a run that faulted in the middle of the
// section passes has the tables before the fault only.
struct SectionResults {
    std::optional<ByKind<ChangRow>> chang;
    std::optional<ByKind<StressRow>> stress;
    std::optional<ByKind<EmbedRow>> embed;
    std::optional<ByKind<DispRow>> disp;
    std::optional<std::vector<ConcreteRow>> listC;
    std::optional<std::vector<SteelRow>> listLS;
    std::optional<std::vector<SteelRow>> listS;

    // Every table and list is present: the section passes ran to their end.
    bool Complete() const;
    // Section s (from 1) of a table, or nullptr when the table is absent or s lies outside the
    // catalogue.
    const ChangRow* Chang(PileKind k, int32_t s) const;
    const StressRow* Stress(PileKind k, int32_t s) const;
    const EmbedRow* Embed(PileKind k, int32_t s) const;
    const DispRow* Disp(PileKind k, int32_t s) const;
    const ConcreteRow* Concrete(int32_t s) const;
    const SteelRow* Steel(PileKind k, int32_t s) const;  // light steel or steel; else nullptr
    // The rows of a kind's result list (empty when absent): concrete has none here, see listC.
    const std::vector<SteelRow>& SteelList(PileKind k) const;
    // Lreq of a section (0 outside the catalogue) and whether every check of its list row
    // passes (false outside it).
    double RequiredLength(PileKind k, int32_t s) const;
    bool Passes(PileKind k, int32_t s) const;
};

struct Results {
    std::optional<clsQqw> qqw;
    std::optional<clsKh> khActive;
    std::optional<clsSpa> spa;
    std::optional<clsKh> khPassive;
    std::optional<clsSpp> spp;
    std::optional<clsRWp> rwp;
    std::optional<clsDL> dl;
    std::optional<clsPressure> pressure;
    SectionResults sections;
    std::optional<clsNekiriAnteiAs> boiling;
    std::optional<clsNekiriAnteiAc> heaving;

    // The virtual ground the loads and sections use (gPressure.WL), and the computed one where
    // the clayey 0.5 m rule put the adopted one elsewhere (as AdoptedVirtualGround and
    // ComputedVirtualGroundApart of the store). Nothing when the stages did not run.
    std::optional<double> AdoptedVirtualGround() const;
    std::optional<double> ComputedVirtualGroundApart() const;
};

// A copy of what the result store holds now: each stage, table and list a run reached, and the
// stability check of each ground kind that has run.
Results SnapshotResults();

}  // namespace kuvelt
