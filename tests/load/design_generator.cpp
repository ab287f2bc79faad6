#include "design_generator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string_view>
#include <vector>

#include "io/design_file.h"
#include "model/design_checks.h"
#include "model/design_fields.h"
#include "model/ranges.h"

namespace kuvelt::load {
namespace {

using Rng = std::mt19937_64;

double Uniform(Rng& rng, double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
}
int Pick(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
bool Chance(Rng& rng, double p) { return std::bernoulli_distribution(p)(rng); }
// A value as an engineer types it: `places` decimals.
double Typed(Rng& rng, double lo, double hi, int places) {
    const double scale = std::pow(10.0, places);
    return std::round(Uniform(rng, lo, hi) * scale) / scale;
}

// A sum or difference of typed values as it would be typed: 2 decimals, so the file's 15
// significant digits carry it exactly.
double Cm(double v) { return std::round(v * 100.0) / 100.0; }

// The numeric fields a design file carries: the records' floating-point fields of the
// design-field table, in file order.
struct NumericField {
    const DesignField* d;
    std::string_view name;
    double* field() const { return static_cast<double*>(d->member(CurrentRecord(d->record))); }
};
const std::vector<NumericField>& NumericFields() {
    static const std::vector<NumericField> v = [] {
        std::vector<NumericField> r;
        for (const DesignField& f : DesignFields()) {
            if (f.type == FieldType::Double) r.push_back({&f, f.name});
        }
        return r;
    }();
    return v;
}

const NumericField& AnyField(Rng& rng) {
    return NumericFields()[std::size_t(Pick(rng, 0, int(NumericFields().size()) - 1))];
}

// Names as users type them: ASCII designations, full-width and half-width katakana, at most
// 15 code page 932 bytes as the grid allows, sometimes with a comma.
std::string SectionName(Rng& rng, const char* prefix, int i) {
    static const char* const kTails[] = {"", "(t=5)", "-Ⅱ", "ｶﾞｰﾄﾞ", "，改", ",B", "型"};
    std::string n = prefix;
    n += std::to_string(i + 1);
    n += kTails[Pick(rng, 0, int(std::size(kTails)) - 1)];
    return n;
}

void FillConcrete(Rng& rng, int rows) {
    gInpSectC.Clear();
    for (int i = 0; i < rows; ++i) {
        const double lmin = Typed(rng, 1.0, 6.0, 1);
        gInpSectC.Add(SectionName(rng, "C", i), Pick(rng, 0, 2), Typed(rng, 100, 60000, 0),
                      Typed(rng, 1.0, 150.0, 1), lmin, Cm(lmin + Typed(rng, 0.0, 10.0, 1)));
    }
}

void FillSteel(Rng& rng, colInpSectS& cat, const char* prefix, int rows, double scale) {
    cat.Clear();
    for (int i = 0; i < rows; ++i) {
        const double id = Typed(rng, 100, 90000 * scale, 0);
        const double zd = Typed(rng, 10, 4000 * scale, 1);
        // I and Z stay at or above the grid's lower limits like I' and Z'.
        const double io = std::max(100.0, std::round(id * Uniform(rng, 0.5, 1.0)));
        const double zo = std::max(10.0, std::round(zd * Uniform(rng, 0.5, 1.0) * 10) / 10);
        cat.Add(SectionName(rng, prefix, i), id, zd, io, zo);
    }
}

// 0 to 30 rows, with the ends of the range more often than a flat draw would give them.
int RowCount(Rng& rng) {
    switch (Pick(rng, 0, 9)) {
        case 0:
            return 0;
        case 1:
            return 30;
        case 2:
            return 1;
        default:
            return Pick(rng, 0, 30);
    }
}

// Where the groundwater stands relative to the ground surface and the design ground level (the
// water in front of the wall): above the surface, on it, between, on the design ground level,
// below it, below the examined depth.
double WaterLevel(Rng& rng, double elgl, double eldl, double z) {
    switch (Pick(rng, 0, 6)) {
        case 0:
            return Cm(elgl + Typed(rng, 0.01, 1.0, 2));
        case 1:
            return elgl;
        case 2:
        case 3:
            return Typed(rng, eldl, elgl, 2);
        case 4:
            return eldl;
        case 5:
            return Cm(eldl - Typed(rng, 0.01, std::min(z, 5.0), 2));
        default:
            return Cm(eldl - z - Typed(rng, 0.0, 2.0, 2));
    }
}

// Sets every field to a value an input window accepts; most designs a plausible channel wall,
// some with soil and material values drawn from the whole accepted range.
void Plausible(Rng& rng) {
    InitData();
    CInpJyoken& j = gInpJyoken;
    j.InpFlg = true;
    j.Title = Chance(rng, 0.5) ? "水路護岸 No." + std::to_string(Pick(rng, 1, 999)) : "(未定義)";
    j.ELDL = Typed(rng, -5.0, 5.0, 2);
    j.ELGL = Cm(j.ELDL + Typed(rng, 0.3, 6.0, 2));
    j.ELYU = Cm(j.ELGL + (Chance(rng, 0.7) ? 0.0 : Typed(rng, 0.0, 1.0, 2)));
    j.Z = Typed(rng, 1.0, 20.0, 1);
    j.ELWL = WaterLevel(rng, j.ELGL, j.ELDL, j.Z);
    j.Keijyo = Pick(rng, 0, 2);
    j.K0X = Typed(rng, 0.0, 5.0, 2);
    j.K0Q = Typed(rng, 0.0, 20.0, 1);
    j.K1m = Typed(rng, 1.0, 20.0, 0);
    j.K1Q = Typed(rng, 0.0, 20.0, 1);
    j.K2X1 = Typed(rng, 0.0, 3.0, 2);
    j.K2X2 = Typed(rng, 0.01, 5.0, 2);
    j.K2Ho = Typed(rng, 0.01, 3.0, 2);
    j.K2Gs = Typed(rng, 15.0, 20.0, 1);
    j.K2Q = Typed(rng, 0.0, 20.0, 1);
    j.Delta = Typed(rng, 0.01, 0.3, 2);
    j.Fsb = Typed(rng, 1.0, 2.0, 1);
    j.Fsh = Typed(rng, 1.0, 2.0, 1);
    j.Nekiri = Pick(rng, 0, 1);

    CInpJiban& g = gInpJiban;
    g.InpFlg = true;
    g.Kind = Pick(rng, 0, 1);
    g.Gt = Typed(rng, 16.0, 20.0, 1);
    g.Gws = Typed(rng, 6.0, 11.0, 1);
    g.Gw = Chance(rng, 0.8) ? 9.8 : 10.0;
    g.Fai = g.Kind == 0 ? Typed(rng, 20.0, 40.0, 1) : Typed(rng, 0.0, 10.0, 1);
    g.Ca = g.Kind == 1 ? Typed(rng, 0.0, 5.0, 1) : 0.0;
    g.Cb = Typed(rng, 5.0, 80.0, 1);
    g.KH = Typed(rng, 500.0, 30000.0, 0);

    if (Chance(rng, 0.3)) {
        // Soil and materials anywhere in their accepted ranges: odd but allowed designs.
        for (std::string_view name :
             {"CInpJiban.Gt", "CInpJiban.Gws", "CInpJiban.Fai", "CInpJiban.Cb", "CInpJiban.KH",
              "CInpZairyo.EcHira", "CInpZairyo.Esky", "CInpZairyo.Esy", "CInpZairyo.YSat",
              "CInpZairyo.AlphaIs", "CInpZairyo.AlphaId", "CInpZairyo.AlphaZs"}) {
            if (!Chance(rng, 0.4)) continue;
            const FieldRange* r = FindFieldRange(name);
            for (const NumericField& f : NumericFields()) {
                if (f.name == name && r) *f.field() = Typed(rng, LowestTypedValue(*r), r->max, 2);
            }
        }
    }

    // A constant slope no steeper than φ of sandy ground (a steeper one has no active wedge).
    if (j.Keijyo == 1 && g.Kind == 0 && SlopeAngle(j.K1m) > g.Fai) {
        const double flattest = std::ceil(1.0 / std::tan(g.Fai * 3.141592654 / 180.0));
        if (flattest <= 999.0) {
            j.K1m = flattest;
        } else {
            j.Keijyo = 0;
        }
    }

    if (Chance(rng, 0.3)) {
        // The built-in catalogues as a new design has them.
    } else {
        FillConcrete(rng, RowCount(rng));
        FillSteel(rng, gInpSectLS, "LSP-", RowCount(rng), 0.1);
        FillSteel(rng, gInpSectS, "SP-", RowCount(rng), 1.0);
    }

    if (Chance(rng, 0.5)) {
        // A stored choice of a registered section, as the choice window takes it (none when
        // the kind's catalogue is empty).
        CInpYaita& y = gInpYaita;
        y.Yaita = Pick(rng, 0, 2);
        const int32_t n =
            y.Yaita == 0 ? gInpSectC.Count() : (y.Yaita == 1 ? gInpSectLS : gInpSectS).Count();
        y.InpFlg = n > 0;
        y.Sect = n > 0 ? Pick(rng, 1, n) : 0;
        // Long enough to reach below the design ground level.
        const double least = LeastPileLength(j);
        y.L = Typed(rng, least, std::max(25.0, least + 5.0), 2);
        y.H = Typed(rng, 0.0, y.L, 2);
        y.D = Cm(y.L - y.H);
    }
}

// Layers below the first with tops on distinct centimetres between the ground surface and the
// examined depth, a channel water level on or above the design ground level and wall friction
// angles within φ of every sandy layer, each only now and then.
void AddSite(Rng& rng, GeneratedDesign& d) {
    CInpJyoken& j = gInpJyoken;
    CInpJiban& g = gInpJiban;
    if (Chance(rng, 0.5)) j.ELWF = Cm(j.ELDL + Typed(rng, 0.0, 2.0, 2));
    const int n = Chance(rng, 0.8) ? Pick(rng, 1, kMaxGroundLayers - 1) : 0;
    const long top = std::lround(j.ELGL * 100.0), bottom = std::lround((j.ELDL - j.Z) * 100.0);
    std::vector<long> tops;
    while (static_cast<int>(tops.size()) < n) {
        const long t = std::uniform_int_distribution<long>(bottom + 1, top - 1)(rng);
        if (std::find(tops.begin(), tops.end(), t) == tops.end()) tops.push_back(t);
    }
    std::sort(tops.rbegin(), tops.rend());
    double leastFai = g.Kind == 0 ? g.Fai : 60.0;
    for (long t : tops) {
        CInpJibanLayer l;
        l.ELU = static_cast<double>(t) / 100.0;
        l.Kind = Pick(rng, 0, 1);
        l.Gt = Typed(rng, 16.0, 20.0, 1);
        l.Gws = Typed(rng, 6.0, 11.0, 1);
        l.Fai = l.Kind == 0 ? Typed(rng, 20.0, 40.0, 1) : Typed(rng, 0.0, 10.0, 1);
        l.Ca = l.Kind == 1 ? Typed(rng, 0.0, 5.0, 1) : 0.0;
        l.Cb = Typed(rng, 5.0, 80.0, 1);
        l.KH = Typed(rng, 500.0, 30000.0, 0);
        if (l.Kind == 0) leastFai = std::min(leastFai, l.Fai);
        g.Layers.push_back(l);
    }
    for (double* delta : {&g.DeltaA, &g.DeltaP}) {
        // Rounded down, so a φ of two decimals stays above it.
        if (Chance(rng, 0.4)) *delta = std::floor(Uniform(rng, 0.0, leastFai) * 10.0) / 10.0;
    }
    // A constant slope no steeper than φ of any sandy layer.
    if (j.Keijyo == 1 && SlopeAngle(j.K1m) > leastFai) {
        j.K1m = std::min(999.0, std::ceil(1.0 / std::tan(leastFai * 3.141592654 / 180.0)));
        if (SlopeAngle(j.K1m) > leastFai) j.Keijyo = 0;
    }
    d.what += " layers=" + std::to_string(n + 1) + " ELWF=" + std::to_string(j.ELWF) +
              " delta=" + std::to_string(g.DeltaA) + "/" + std::to_string(g.DeltaP);
}

std::string Describe(std::string_view name, double v) {
    std::string s(name);
    s += '=';
    s += std::to_string(v);
    return s;
}

void OutOfRange(Rng& rng, GeneratedDesign& d) {
    Plausible(rng);
    const int n = Pick(rng, 1, 3);
    for (int k = 0; k < n; ++k) {
        const NumericField& f = AnyField(rng);
        const FieldRange* r = FindFieldRange(f.name);
        double v = 0;
        switch (Pick(rng, 0, 3)) {
            case 0:
                v = r ? Cm(r->min - Typed(rng, 0.01, 1000.0, 2)) : -1000.0;
                break;
            case 1:
                v = r ? Cm(r->max + Typed(rng, 0.01, 1000.0, 2)) : 1000.0;
                break;
            case 2:
                v = -Typed(rng, 0.01, 1e6, 2);
                break;
            default:
                v = 0.0;
                break;
        }
        *f.field() = v;
        if (!d.what.empty()) d.what += ' ';
        d.what += Describe(f.name, v);
    }
    if (Chance(rng, 0.2)) {
        // Whole-number fields outside their choices.
        gInpJyoken.Keijyo = Pick(rng, -5, 9);
        gInpJiban.Kind = Pick(rng, -3, 5);
        gInpJyoken.Nekiri = Pick(rng, -2, 3);
        gInpYaita.Yaita = Pick(rng, -2, 5);
        gInpYaita.Sect = Pick(rng, -5, 200);
        d.what += " enumerations";
    }
    if (Chance(rng, 0.2)) {
        // Section properties outside the grid ranges: zero and negative stiffness.
        if (CInpSectC* c = gInpSectC.Item(1)) c->Ic = -c->Ic;
        if (CInpSectS* s = gInpSectLS.Item(1)) s->Zo = 0.0;
        if (CInpSectS* s = gInpSectS.Item(1)) s->Io = 0.0;
        d.what += " sections";
    }
}

void Huge(Rng& rng, GeneratedDesign& d) {
    Plausible(rng);
    static const double kHuge[] = {1e15,   -1e15,  1e100,    -1e100,  1e300,
                                   -1e300, 1e-300, 4.9e-324, 1.7e308, -1.7e308};
    const int n = Pick(rng, 1, 3);
    for (int k = 0; k < n; ++k) {
        const NumericField& f = AnyField(rng);
        const double v = kHuge[std::size_t(Pick(rng, 0, int(std::size(kHuge)) - 1))];
        *f.field() = v;
        if (!d.what.empty()) d.what += ' ';
        d.what += Describe(f.name, v);
    }
}

void NonFinite(Rng& rng, GeneratedDesign& d) {
    Plausible(rng);
    const double kValues[] = {std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    const NumericField& f = AnyField(rng);
    const double v = kValues[std::size_t(Pick(rng, 0, 2))];
    *f.field() = v;
    d.what = Describe(f.name, v);
}

void Degenerate(Rng& rng, GeneratedDesign& d) {
    Plausible(rng);
    CInpJyoken& j = gInpJyoken;
    switch (Pick(rng, 0, 8)) {
        case 0:
            j.ELGL = j.ELDL;  // no wall above the design ground level
            j.ELYU = j.ELGL;
            d.what = "zero wall height";
            break;
        case 1:
            j.ELWL = j.ELGL;
            j.ELYU = j.ELGL;
            d.what = "water on the ground surface, pile top at the surface";
            break;
        case 2:
            j.ELGL = Cm(j.ELDL + 0.01);
            j.ELWL = j.ELDL;
            j.Z = 1.0;
            d.what = "1 cm wall, shallowest examined depth";
            break;
        case 3:
            gInpSectC.Clear();
            gInpSectLS.Clear();
            gInpSectS.Clear();
            d.what = "all catalogues empty";
            break;
        case 4:
            gInpJiban.Gt = gInpJiban.Gws = 0.0;
            d.what = "weightless soil";
            break;
        case 5:
            gInpJiban.Kind = 0;
            gInpJiban.Fai = 0.0;
            d.what = "sand without friction";
            break;
        case 6:
            gInpJiban.Kind = 1;
            gInpJiban.Ca = gInpJiban.Cb = 0.0;
            gInpJiban.Fai = 0.0;
            d.what = "clay without cohesion";
            break;
        case 7:
            gInpZairyo.AlphaIz = gInpZairyo.AlphaIs = gInpZairyo.AlphaId = 0.0;
            gInpZairyo.AlphaZs = 0.0;
            d.what = "joint efficiencies 0";
            break;
        default:
            j.Keijyo = 2;
            j.K2X1 = 0.0;
            j.K2X2 = 0.01;
            j.K2Ho = 99.0;
            j.K2Gs = 99.0;
            d.what = "steep high embankment at the wall";
            break;
    }
}

// A valid design's bytes, broken in one of the ways a damaged or foreign file is broken.
void Malformed(Rng& rng, GeneratedDesign& d) {
    Plausible(rng);
    std::string b = DesignToBytes();
    switch (Pick(rng, 0, 11)) {
        case 0: {
            const std::size_t at = std::size_t(Pick(rng, 0, int(b.size()) - 1));
            b.resize(at);
            d.what = "cut at byte " + std::to_string(at);
            break;
        }
        case 1: {
            // A line of the body replaced by garbage.
            const std::size_t at = b.find("\r\n", std::size_t(Pick(rng, 200, int(b.size()) - 10)));
            if (at != std::string::npos) b.insert(at, " x@#");
            d.what = "garbage item";
            break;
        }
        case 2: {
            const std::size_t at = b.find("[1.00]");
            b.replace(at, 6, Chance(rng, 0.5) ? "[1.01]" : "[]");
            d.what = "other version";
            break;
        }
        case 3:
            b.clear();
            d.what = "empty file";
            break;
        case 4: {
            // Catalogue counts beyond the 30 rows of a catalogue, negative and non-integer ones,
            // in line 50 (the concrete count).
            std::size_t line50 = 0;
            for (int line = 1; line < 50; ++line) line50 = b.find("\r\n", line50) + 2;
            const std::size_t end = b.find("\r\n", line50);
            static const char* const kCounts[] = {" 31 ",  " 2147483647 ",  " -5 ",
                                                  " 1e9 ", " 99999999999 ", " 2.5 "};
            const char* c = kCounts[std::size_t(Pick(rng, 0, int(std::size(kCounts)) - 1))];
            b.replace(line50, end - line50, c);
            d.what = std::string("concrete count") + c;
            break;
        }
        case 5:
            for (int k = 0; k < 200; ++k)
                b[std::size_t(Pick(rng, 0, int(b.size()) - 1))] = char(Pick(rng, 0, 255));
            d.what = "200 random bytes";
            break;
        case 6: {
            // A very long line in the middle of the body.
            const std::size_t at = b.find("\r\n", b.size() / 2);
            b.insert(at, std::string(std::size_t(Pick(rng, 10000, 200000)), '9'));
            d.what = "long number";
            break;
        }
        case 7:
            b += "trailing text that the reader ignores\r\n";
            d.what = "text after the last value";
            break;
        case 8: {
            // Line ends of another system.
            std::string lf;
            for (char c : b)
                if (c != '\r') lf += c;
            b = lf;
            d.what = "LF line ends";
            break;
        }
        case 9: {
            // An unterminated quoted text swallows the rest of the file.
            const std::size_t at = b.rfind('"');
            b.erase(at, 1);
            d.what = "unterminated quote";
            break;
        }
        case 10:
            b = std::string(std::size_t(Pick(rng, 1, 4096)), '\0');
            d.what = "zero bytes";
            break;
        default:
            // Just over the size no design file reaches.
            b = std::string((1u << 20) + 1, ' ');
            d.what = "1 MiB of blanks";
            break;
    }
    d.bytes = std::move(b);
}

}  // namespace

const char* FamilyName(Family f) {
    switch (f) {
        case Family::Valid:
            return "valid";
        case Family::OutOfRange:
            return "out-of-range";
        case Family::Huge:
            return "huge";
        case Family::NonFinite:
            return "non-finite";
        case Family::Degenerate:
            return "degenerate";
        case Family::Malformed:
            return "malformed";
    }
    return "?";
}

std::string Difference(const DesignSnapshot& a, const DesignSnapshot& b) {
    std::string d;
    if (!(a.jyoken == b.jyoken)) d += " CInpJyoken";
    if (!(a.jiban == b.jiban)) d += " CInpJiban";
    if (!(a.zairyo == b.zairyo)) d += " CInpZairyo";
    if (!(a.sectC == b.sectC)) d += " gInpSectC";
    if (!(a.sectLS == b.sectLS)) d += " gInpSectLS";
    if (!(a.sectS == b.sectS)) d += " gInpSectS";
    if (!(a.yaita == b.yaita)) d += " CInpYaita";
    return d;
}

DesignSnapshot TakeSnapshot() {
    return DesignSnapshot{gInpJyoken, gInpJiban, gInpZairyo, gInpSectC,
                          gInpSectLS, gInpSectS, gInpYaita};
}

Family FamilyOf(uint64_t index) {
    // Out of 20: 10 valid, 3 out of range, 2 degenerate, 2 malformed, 2 huge, 1 non-finite.
    static const Family kMix[20] = {
        Family::Valid, Family::OutOfRange, Family::Valid, Family::Degenerate,
        Family::Valid, Family::Malformed,  Family::Valid, Family::Huge,
        Family::Valid, Family::OutOfRange, Family::Valid, Family::NonFinite,
        Family::Valid, Family::Degenerate, Family::Valid, Family::Malformed,
        Family::Valid, Family::Huge,       Family::Valid, Family::OutOfRange};
    return kMix[index % 20];
}

GeneratedDesign GenerateDesign(uint64_t seed, uint64_t index, Site site) {
    Rng rng(seed * 0x9E3779B97F4A7C15ull + index);
    GeneratedDesign d;
    d.family = FamilyOf(index);
    switch (d.family) {
        case Family::Valid:
            Plausible(rng);
            break;
        case Family::OutOfRange:
            OutOfRange(rng, d);
            break;
        case Family::Huge:
            Huge(rng, d);
            break;
        case Family::NonFinite:
            NonFinite(rng, d);
            break;
        case Family::Degenerate:
            Degenerate(rng, d);
            break;
        case Family::Malformed:
            Malformed(rng, d);
            return d;
    }
    if (site == Site::Layered && d.family == Family::Valid) AddSite(rng, d);
    d.written = true;
    d.design = TakeSnapshot();
    d.bytes = DesignToBytes();
    return d;
}

void PlausibleDesignWithCatalogues(int rows) {
    Rng rng(20261209);
    Plausible(rng);
    gInpJyoken.ELDL = 0.0;
    gInpJyoken.ELGL = gInpJyoken.ELYU = 3.5;
    gInpJyoken.ELWL = 2.0;
    gInpJyoken.Z = 10.0;
    gInpJyoken.Nekiri = 1;
    gInpJiban.Kind = 0;
    gInpJiban.Fai = 30.0;
    gInpYaita = CInpYaita{};
    FillConcrete(rng, rows);
    FillSteel(rng, gInpSectLS, "LSP-", rows, 0.1);
    FillSteel(rng, gInpSectS, "SP-", rows, 1.0);
}

}  // namespace kuvelt::load
