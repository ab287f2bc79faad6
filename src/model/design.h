// The current design: the four input records, the cover's block and the three sheet-pile section
// catalogues, with their defaults and built-in rows. The records are plain data; they check
// nothing (ranges are the input windows' business, see ranges.h). Every member has its entry in
// the design-field table (design_fields.h), which the file, the JSON dump and the windows follow;
// a member's initializer here is its default. Units: elevations m (positive upwards), unit
// weights kN/m3, pressures and cohesion kN/m2, angles degrees, elastic moduli kN/m2, allowable
// stresses N/mm2, section properties cm4/m and cm3/m.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/collection.h"

namespace kuvelt {

// Design conditions.
struct CInpJyoken {
    bool InpFlg = false;
    std::string Title = "(未定義)";
    double ELGL = 4.0;
    double ELYU = 4.0;
    double ELDL = 0.0;
    double ELWL = 4.0;
    double Z = 10.0;
    int32_t Keijyo = 0;  // 0 horizontal "水平", 1 constant slope "一定勾配", 2 trapezoid "台形"
    double K0X = 0.0;
    double K0Q = 0.0;
    double K1m = 100.0;
    double K1Q = 0.0;
    double K2X1 = 0.0;
    double K2X2 = 1.0;
    double K2Ho = 1.0;
    double K2Gs = 18.0;
    double K2Q = 0.0;
    double Delta = 0.1;
    double Fsb = 1.5;
    double Fsh = 1.2;
    int32_t Nekiri = 1;
    // Water level in the channel in front of the wall (前面水位), at or above the design ground
    // level; kChannelWaterAtDesignGround (the default) when the design leaves the water at the
    // design ground level, wherever that is moved to. Read it through ChannelWaterLevel().
    double ELWF = -9999.0;  // kChannelWaterAtDesignGround, defined below

    bool operator==(const CInpJyoken&) const = default;
};

// ELWF of a design whose channel water stands at its design ground level (outside every
// elevation the windows take, like a pile section not yet chosen); a new design holds it.
inline constexpr double kChannelWaterAtDesignGround = -9999.0;
// The channel water level the calculation takes: ELWF, or the design ground level.
inline double ChannelWaterLevel(const CInpJyoken& c) {
    return c.ELWF == kChannelWaterAtDesignGround ? c.ELDL : c.ELWF;
}

// A ground layer below the first: its top elevation and the same soil values as the first layer
// (cohesion c = Ca z + Cb, z measured from the layer's own top). It reaches down to the next
// layer's top, the last one to the examined depth and beyond.
struct CInpJibanLayer {
    double ELU = 0.0;
    int32_t Kind = 0;  // 0 sandy "砂質土", 1 clayey "粘性土"
    double Gt = 18.0;
    double Gws = 10.0;
    double Fai = 30.0;
    double Ca = 0.0;
    double Cb = 50.0;
    double KH = 1000.0;

    bool operator==(const CInpJibanLayer&) const = default;
};

// Ground conditions: the first layer from the ground surface down (its values are the record's
// own), the layers below it in `Layers` (tops descending), the unit weight of water and the wall
// friction angles.
struct CInpJiban {
    bool InpFlg = false;
    int32_t Kind = 0;  // 0 sandy "砂質土", 1 clayey "粘性土"
    double Gt = 18.0;
    double Gws = 10.0;
    double Gw = 9.8;
    double Fai = 30.0;
    double Ca = 0.0;
    double Cb = 50.0;
    double KH = 1000.0;
    // Wall friction angles of the active and the passive side, degrees, both positive here (the
    // passive one acts with a negative sign).
    double DeltaA = 15.0;
    double DeltaP = 15.0;
    // The layers below the first, at most kMaxGroundLayers - 1 of them.
    std::vector<CInpJibanLayer> Layers;

    bool operator==(const CInpJiban&) const = default;
};

// The ground holds at most this many layers, the first included.
inline constexpr int32_t kMaxGroundLayers = 10;

// Every layer of the ground from the ground surface `ELGL` down, the first one built from the
// record's own values with its top at ELGL.
std::vector<CInpJibanLayer> GroundLayers(const CInpJiban& g, double ELGL);
// 0-based index into `layers` of the layer holding the elevation `el`; a layer whose top lies
// exactly at `el` is the one below it counted (the layer that holds what lies under `el`). Above
// the first layer's top: 0.
std::size_t LayerIndexAt(const std::vector<CInpJibanLayer>& layers, double el);
// The layer directly below the design ground level (a layer whose top lies at ELDL is that
// layer): its kind decides the clayey 0.5 m rule of the loads and whether the excavation bottom
// is checked for boiling (sandy) or heaving (clayey).
CInpJibanLayer LayerBelowDesignGround(const CInpJiban& g, const CInpJyoken& c);

// Material conditions.
struct CInpZairyo {
    bool InpFlg = true;
    double EcHira = 21000000.0;
    double EcMizo = 21000000.0;
    double EcNami = 35000000.0;
    double Esky = 200000000.0;
    double Esy = 200000000.0;
    std::string KYZai = "SS400";
    double KYSat = 140.0;
    double KYSac = 140.0;
    std::string YZai = "SY295";
    double YSat = 180.0;
    double YSac = 180.0;
    double AlphaIz = 1.0;
    double AlphaIs = 0.8;
    double AlphaId = 0.8;
    double AlphaZs = 1.0;

    bool operator==(const CInpZairyo&) const = default;
};

// The chosen sheet pile.
struct CInpYaita {
    bool InpFlg = false;
    int32_t Yaita = 0;  // 0 concrete, 1 light steel, 2 steel
    int32_t Sect = 0;   // 1-based section number in the catalogue of that kind
    double H = 0.0;
    double D = 0.0;
    double L = 0.0;
    // The program proposed the pile (kuvelt-calc --pick auto) rather than a user choosing it; the
    // report says so. Not kept in the design file: a saved choice is the user's.
    bool Proposed = false;

    bool operator==(const CInpYaita&) const = default;
};

// The block of the report's cover page: the project, the client, who designed and who checked the
// calculation, the date and the issue, as the user types them (dates are texts, not parsed). An
// empty text is left off the cover. Stored after the classic layout of the design file, so a
// reader of that layout still reads the file. The design's own references (参考文献) go with
// them: the standards and editions the client requires, one text each, printed on the page of
// the standards in place of those of the format file; none leaves the format file's.
struct CInpHyoshi {
    std::string KojiMei;    // 工事名
    std::string Hachusha;   // 発注者
    std::string Sekkeisha;  // 設計者
    std::string Shosasha;   // 照査者
    std::string Hizuke;     // 日付
    std::string Han;        // 版
    // Never an empty text, at most kMaxReferences of them (ReferenceField() in design_fields.h).
    std::vector<std::string> SankoBunken{};  // 参考文献

    bool operator==(const CInpHyoshi&) const = default;
};

// A design holds at most this many references of its own: a third of a report page.
inline constexpr int32_t kMaxReferences = 20;

// One concrete sheet-pile section (per metre of wall).
struct CInpSectC {
    std::string Name;
    int32_t Keijyo = 0;  // 0 flat "平形矢板", 1 grooved "溝型矢板", 2 corrugated "波形矢板"
    double Ic = 0.0;    // cm4/m
    double Mc = 0.0;    // kN·m/m, cracking moment
    double Lmin = 0.0;  // m
    double Lmax = 0.0;  // m
    double Mass = 0.0;  // kg/m2 of wall; 0 when not given

    bool operator==(const CInpSectC&) const = default;
};

// One light-steel or steel sheet-pile section (per metre of wall).
struct CInpSectS {
    std::string Name;
    double Id = 0.0;    // cm4/m before corrosion
    double Zd = 0.0;    // cm3/m before corrosion
    double Io = 0.0;    // cm4/m after corrosion
    double Zo = 0.0;    // cm3/m after corrosion
    double Mass = 0.0;  // kg/m2 of wall; 0 when not given

    bool operator==(const CInpSectS&) const = default;
};

class colInpSectC : public Collection<CInpSectC> {
  public:
    CInpSectC* Add(const std::string& strName, int32_t lngKeijyo, double dblIc, double dblMc,
                   double dblLmin, double dblLmax, int32_t lngIndex = 0, bool blnBefore = false) {
        return AddItem(CInpSectC{strName, lngKeijyo, dblIc, dblMc, dblLmin, dblLmax}, lngIndex,
                       blnBefore);
    }
};

class colInpSectS : public Collection<CInpSectS> {
  public:
    CInpSectS* Add(const std::string& strName, double dblId, double dblZd, double dblIo,
                   double dblZo, int32_t lngIndex = 0, bool blnBefore = false) {
        return AddItem(CInpSectS{strName, dblId, dblZd, dblIo, dblZo}, lngIndex, blnBefore);
    }
};

// A catalogue holds at most this many sections (grids, result tables and the file reader agree).
inline constexpr int32_t kMaxSections = 30;

// The current design, one instance each for the whole run.
extern CInpJyoken gInpJyoken;
extern CInpJiban gInpJiban;
extern CInpZairyo gInpZairyo;
extern colInpSectC gInpSectC;
extern colInpSectS gInpSectLS;
extern colInpSectS gInpSectS;
extern CInpYaita gInpYaita;
extern CInpHyoshi gInpHyoshi;

// Replaces the whole current design by a fresh default design with the built-in catalogues.
void InitData();

// The whole current design as one value: what a read that fails half-way puts back, so the
// design being edited survives a file that cannot be opened.
struct Design {
    CInpJyoken Jyoken;
    CInpJiban Jiban;
    CInpZairyo Zairyo;
    colInpSectC SectC;
    colInpSectS SectLS;
    colInpSectS SectS;
    CInpYaita Yaita;
    CInpHyoshi Hyoshi;
};
Design CurrentDesign();
void SetCurrentDesign(Design d);

// Built-in catalogue rows of a new design.
void AddBuiltInConcrete(colInpSectC& c);
void AddBuiltInLightSteel(colInpSectS& c);
void AddBuiltInSteel(colInpSectS& c);

// The mass a section of the steel catalogue has without being given one: a built-in section's
// standard mass when the row is that section unchanged (name and the four section values), else
// 0. A design file of the classic layout holds no masses; its rows take these when read, and a
// steel row whose mass is its standard one needs no place in the file.
double StandardMass(const CInpSectS& row);

}  // namespace kuvelt
