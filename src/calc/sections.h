// Per-section checks of every registered sheet-pile section (Chang's method, bending, required
// length, head displacement) and their result tables and lists, indexed from 1 like the section
// numbers. A run-time fault makes CalcSections return false (the calculation then fails).
#pragma once

#include <array>
#include <cstdint>

#include "calc/pile_kind.h"

namespace kuvelt {

// Kind index of the tables (TableIndex of pile_kind.h).
inline constexpr int32_t kKindConcrete = TableIndex(PileKind::Concrete);
inline constexpr int32_t kKindLightSteel = TableIndex(PileKind::LightSteel);
inline constexpr int32_t kKindSteel = TableIndex(PileKind::Steel);

// Item numbers of the per-section tables and lists (their layout is also that of the JSON
// arrays of kuvelt-calc, so the numbers never change).
namespace item {
// gSectChang
inline constexpr int32_t kChangMmax = 1, kChangLm = 2, kChangBeta = 3, kChangE = 4, kChangI = 5;
// gSectStress
inline constexpr int32_t kStressValue = 1, kStressModulus = 2, kStressFlag = 3;
// gSectEmbed
inline constexpr int32_t kEmbedEll = 1, kEmbedLreq = 2, kEmbedBeta = 3, kEmbedE = 4, kEmbedI = 5;
// gSectDisp
inline constexpr int32_t kDisp1 = 1, kDisp2 = 2, kDisp3 = 3, kDisp = 4, kDispE = 5, kDispI = 6,
                         kDispBeta = 7;
// gListC
inline constexpr int32_t kCMoment = 1, kCMc = 2, kCMomentFlag = 3, kCLreq = 4, kCLmin = 5,
                         kCLmax = 6, kCLengthFlag = 7, kCDelta = 8, kCDeltaA = 9, kCDeltaFlag = 10;
// gListLS, gListS
inline constexpr int32_t kSSigma = 1, kSSigmaA = 2, kSSigmaFlag = 3, kSLreq = 4, kSDelta = 5,
                         kSDeltaA = 6, kSDeltaFlag = 7;
}  // namespace item

// A per-section table of doubles indexed (kind, section, item), all from 1. Reading outside
// the dimensions yields 0 and writing outside them is refused, so no index can stray. A table
// counts as reached once CalcSections has dimensioned it in a run.
template <int32_t NK, int32_t NS, int32_t NI>
class SectTable {
  public:
    static constexpr int32_t kKinds = NK;
    static constexpr int32_t kSections = NS;
    static constexpr int32_t kItems = NI;

    double operator()(int32_t k, int32_t s, int32_t i) const {
        return Inside(k, s, i) ? v_[Offset(k, s, i)] : 0.0;
    }
    // False (and nothing written) outside the dimensions.
    bool Set(int32_t k, int32_t s, int32_t i, double value) {
        if (!Inside(k, s, i)) return false;
        v_[Offset(k, s, i)] = value;
        return true;
    }
    // Re-dimensions the table: every value zero, reached.
    void Redim() {
        v_.fill(0.0);
        reached_ = true;
    }
    // Back to the state before any run.
    void Reset() {
        v_.fill(0.0);
        reached_ = false;
    }
    bool Reached() const { return reached_; }

  private:
    static bool Inside(int32_t k, int32_t s, int32_t i) {
        return k >= 1 && k <= NK && s >= 1 && s <= NS && i >= 1 && i <= NI;
    }
    static std::size_t Offset(int32_t k, int32_t s, int32_t i) {
        return (static_cast<std::size_t>(k - 1) * NS + static_cast<std::size_t>(s - 1)) * NI +
               static_cast<std::size_t>(i - 1);
    }
    std::array<double, static_cast<std::size_t>(NK) * NS * NI> v_{};
    bool reached_ = false;
};

// A result list indexed (section, item), from 1; same rules as SectTable.
template <int32_t NS, int32_t NI>
class SectList {
  public:
    static constexpr int32_t kSections = NS;
    static constexpr int32_t kItems = NI;

    double operator()(int32_t s, int32_t i) const { return Inside(s, i) ? v_[Offset(s, i)] : 0.0; }
    bool Set(int32_t s, int32_t i, double value) {
        if (!Inside(s, i)) return false;
        v_[Offset(s, i)] = value;
        return true;
    }
    void Redim() {
        v_.fill(0.0);
        reached_ = true;
    }
    void Reset() {
        v_.fill(0.0);
        reached_ = false;
    }
    bool Reached() const { return reached_; }

  private:
    static bool Inside(int32_t s, int32_t i) { return s >= 1 && s <= NS && i >= 1 && i <= NI; }
    static std::size_t Offset(int32_t s, int32_t i) {
        return static_cast<std::size_t>(s - 1) * NI + static_cast<std::size_t>(i - 1);
    }
    std::array<double, static_cast<std::size_t>(NS) * NI> v_{};
    bool reached_ = false;
};

// gSectChang items: 1 maximum moment R(Mmax, 1) with its sign (kN*m/m), 2 depth Lm (m),
// 3 beta (1/m), 4 E x 1000, 5 I (m4/m).
extern SectTable<3, 30, 5> gSectChang;
// gSectStress items: 1 bending stress (N/mm2; steel kinds) or absolute moment (kN*m/m;
// concrete), 2 section modulus used (mm3/m; 1.0 for concrete), 3 flag (1 exceeds the allowable).
extern SectTable<3, 30, 3> gSectStress;
// gSectEmbed items: 1 embedment 3/beta below the virtual ground (m), 2 required pile length (m),
// 3 beta, 4 E x 1000, 5 I (m4/m).
extern SectTable<3, 30, 5> gSectEmbed;
// gSectDisp items: 1 delta1, 2 delta2, 3 delta3, 4 delta (m), 5 E (kN/m2), 6 I (m4/m), 7 beta.
extern SectTable<3, 30, 7> gSectDisp;
// gListC items: 1 |Mmax|, 2 Mc, 3 moment flag, 4 required length, 5 Lmin, 6 Lmax, 7 length flag,
// 8 delta, 9 allowable delta, 10 displacement flag.
extern SectList<30, 10> gListC;
// gListLS / gListS items: 1 stress, 2 allowable stress, 3 stress flag, 4 required length,
// 5 delta, 6 allowable delta, 7 displacement flag.
extern SectList<30, 7> gListLS;
extern SectList<30, 7> gListS;
// The Kh each pass found its β with (the mean over 1/β below the adopted virtual ground, kN/m3),
// by item: kKhChang (pass A), kKhEmbed (pass C), kKhDisp (pass D).
inline constexpr int32_t kKhChang = 1, kKhEmbed = 2, kKhDisp = 3;
extern SectTable<3, 30, 3> gSectKh;

// Runs passes A-D over the three catalogues and fills gSectChang, gSectStress, gSectEmbed,
// gSectDisp, gListC, gListLS, gListS. False on a run-time fault or a catalogue of more than 30.
bool CalcSections();

// The required length Lreq of a section of a kind (item 4 of every result list), and whether
// every check of its result-list row passes (all flags 0). Zero / false outside the catalogue.
double RequiredLength(PileKind kind, int32_t sect);
bool SectionPasses(PileKind kind, int32_t sect);

// Drops every table and list back to the state before any run (zeros, not reached).
void ResetSectionResults();

}  // namespace kuvelt
