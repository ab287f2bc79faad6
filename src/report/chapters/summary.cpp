// The design summary (設計調書), one page before the chapters: the main conditions, the virtual
// ground with the loads above it and the chosen pile's Mmax, the chosen pile and who chose it,
// every check of that pile with its value, limit and verdict, the overall verdict naming what
// fails, and the comparison of every registered section of the chosen kind as the choice window
// lists them, with, where sections of the kind have a mass, the passing sections' material per
// metre of wall that the program's proposal compares and the rule that chose it. Values are
// those the chapters print, rounded as they print them; the verdicts are the chapters' own rules.
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "calc/nekiri.h"
#include "calc/sections.h"
#include "calc/verdicts.h"
#include "calc/yaita_choice.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "platform/numfmt.h"
#include "platform/vberror.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/chapters/summary_checks.h"
#include "report/format_lines.h"

namespace kuvelt {

namespace summary {

namespace {

// The required length of a section against the pile's length L.
PileCheck LengthCheck(const EmbedRow& embed, double L) {
    const double lreq = embed.lreq;
    return {CheckItem::Length,
            "必要矢板長",
            lreq,
            L,
            !ExceedsAsPrinted(lreq, printed::kLength, L),
            true};
}

}  // namespace

std::vector<PileCheck> ChosenPileChecks(const Results& results) {
    std::vector<PileCheck> checks;
    const std::optional<PileKind> kind = KindOfChoice(gInpYaita.Yaita);
    if (!kind) return checks;
    const int32_t s = gInpYaita.Sect;
    const double L = gInpYaita.L;
    const SectionResults& r = results.sections;
    const ChangRow* chang = r.Chang(*kind, s);
    const StressRow* stress = r.Stress(*kind, s);
    const EmbedRow* embed = r.Embed(*kind, s);
    const DispRow* disp = r.Disp(*kind, s);
    if (!chang || !stress || !embed || !disp) return checks;
    if (*kind == PileKind::Concrete) {
        const CInpSectC* c = gInpSectC.Item(s);
        const ConcreteRow* row = r.Concrete(s);
        if (!c || !row) return checks;
        checks.push_back({CheckItem::Moment, "曲げﾓｰﾒﾝﾄ", std::fabs(chang->mmax), c->Mc,
                          !stress->exceeds, true});
        checks.push_back(LengthCheck(*embed, L));
        // A concrete pile is made only in the lengths Lmin..Lmax of its catalogue row: the
        // required length must lie within them, as chapter 4 and the comparison table check it.
        checks.push_back({CheckItem::LengthRange, "矢板長の範囲", embed->lreq, c->Lmax,
                          !row->lengthFails, true});
        checks.back().lower = c->Lmin;
    } else {
        const CInpSectS* c = (*kind == PileKind::LightSteel ? gInpSectLS : gInpSectS).Item(s);
        if (!c) return checks;
        const double allowable = *kind == PileKind::LightSteel ? gInpZairyo.KYSat : gInpZairyo.YSat;
        checks.push_back(
            {CheckItem::Stress, "曲げ応力度", stress->value, allowable, !stress->exceeds, true});
        checks.push_back(LengthCheck(*embed, L));
    }
    const double delta = disp->delta;
    checks.push_back({CheckItem::Displacement, "頭部変位量", delta, gInpJyoken.Delta,
                      !ExceedsAsPrinted(delta, printed::kDisplacement, gInpJyoken.Delta), true});
    if (gInpJyoken.Nekiri == 1) {
        // The stability check asked for: the one of the layer below the design ground level, as
        // its chapter prints it. A check the run did not reach has no result, like one that
        // faulted.
        if (chapters::StabilityKind() == 0) {
            const clsNekiriAnteiAs b = results.boiling.value_or(clsNekiriAnteiAs{});
            const bool result = results.boiling && b.Error() == 0;
            checks.push_back(
                {CheckItem::Boiling, "ボイリング", b.F(), b.Fa, result && b.Hantei(), result});
            if (result && b.NoHead()) {
                checks.back().value = b.Hw;
                checks.back().needed = false;
            }
        } else {
            const clsNekiriAnteiAc h = results.heaving.value_or(clsNekiriAnteiAc{});
            const bool result = results.heaving && h.Error() == 0;
            checks.push_back(
                {CheckItem::Heaving, "ヒービング", h.F(), h.Fa, result && h.Hantei(), result});
        }
    }
    return checks;
}

std::vector<std::string> FailedNames(const std::vector<PileCheck>& checks) {
    std::vector<std::string> names;
    for (const PileCheck& c : checks) {
        if (!c.passes) names.push_back(c.result ? c.name : c.name + "（結果なし）");
    }
    return names;
}

}  // namespace summary

namespace basResOutSummary {
namespace {

using namespace basResOutPrn;
using chapters::N;
using chapters::S;
using summary::CheckItem;
using summary::PileCheck;

constexpr int32_t kPageLines = kChapterLinesPerPage;

// The format sections and their lines, named in data/Kuvelt.FMT.txt.
namespace cond = fmt::summaryConditions;
namespace forces = fmt::summaryForces;
namespace chk = fmt::summaryChecks;
namespace cmp = fmt::summaryComparison;

struct Chosen {
    PileKind kind = PileKind::Concrete;
    int32_t sect = 1;
    std::string name;
    double E = 0;  // kN/m2
};

Chosen Stage() {
    Chosen c;
    const std::optional<PileKind> kind = KindOfChoice(gInpYaita.Yaita);
    if (!kind) {
        throw PrintFault(vberr::kSubscript,
                         "使用矢板の種類" + std::to_string(gInpYaita.Yaita) + "がありません");
    }
    c.kind = *kind;
    c.sect = gInpYaita.Sect;
    if (c.sect < 1 || c.sect > CatalogueCount(c.kind) || c.sect > kMaxSections) {
        throw PrintFault(vberr::kSubscript,
                         "使用矢板の断面№" + std::to_string(c.sect) + "が登録されていません");
    }
    c.name = SectionName(c.kind, c.sect);
    const CInpZairyo& z = gInpZairyo;
    if (c.kind == PileKind::Concrete) {
        const int32_t shape = gInpSectC.Item(c.sect)->Keijyo;
        c.E = shape == 0 ? z.EcHira : shape == 1 ? z.EcMizo : z.EcNami;
    } else {
        c.E = c.kind == PileKind::LightSteel ? z.Esky : z.Esy;
    }
    return c;
}

// The width in code page 932 bytes of the first text field of a format line ("&   &").
std::size_t SlotWidth(std::string_view line) {
    const std::string bytes = cp932::FromUtf8(line);
    const std::size_t open = bytes.find('&');
    if (open == std::string::npos) return 0;
    const std::size_t close = bytes.find('&', open + 1);
    return (close == std::string::npos ? bytes.size() : close + 1) - open;
}

// The names of the failed checks joined by "，" in lines of at most `width` code page 932 bytes,
// broken after a separator; a name longer than a line is broken between its characters.
std::vector<std::string> WrapNames(const std::vector<std::string>& names, std::size_t width) {
    std::vector<std::string> lines(1);
    auto room = [&](const std::string& piece) {
        return lines.back().empty() || cp932::ByteLength(lines.back() + piece) <= width;
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string piece = names[i] + (i + 1 < names.size() ? "，" : "");
        if (!room(piece)) lines.emplace_back();
        if (cp932::ByteLength(piece) <= width || width == 0) {
            lines.back() += piece;
            continue;
        }
        for (std::size_t at = 0; at < piece.size();) {
            std::size_t n = 1;
            while (at + n < piece.size() && (piece[at + n] & 0xC0) == 0x80) ++n;
            const std::string ch = piece.substr(at, n);
            if (!room(ch)) lines.emplace_back();
            lines.back() += ch;
            at += n;
        }
    }
    return lines;
}

// The failing checks' lines of the verdict as the format's slot holds them.
std::vector<std::string> VerdictLines(const std::vector<PileCheck>& checks, std::size_t width) {
    const std::vector<std::string> failed = summary::FailedNames(checks);
    if (failed.empty()) return {};
    return WrapNames(failed, width);
}

// Lines of the page, to know whether the blank lines between the blocks still fit on it.
int32_t LinesNeeded(const Chosen& c, std::size_t checks, std::size_t verdictLines, int32_t sections,
                    int32_t massLines) {
    const int32_t load = gInpJyoken.Keijyo == 2 ? 2 : 1;
    const int32_t ground = chapters::Layered() ? 1 : gInpJiban.Kind == 0 ? 2 : 3;
    const int32_t material = c.kind == PileKind::Concrete ? 1 : 2;
    const int32_t conditions = 6 + load + 1 + ground + material + 1;
    const int32_t forces = 4;
    const int32_t pile = 3;
    const int32_t table = 1 + 1 + 3 + static_cast<int32_t>(checks) + 1 +
                          std::max<int32_t>(1, static_cast<int32_t>(verdictLines));
    const int32_t comparison = 1 + 1 + 4 + sections + 1 + 2;
    return conditions + forces + pile + table + comparison + massLines;
}

void Conditions(ChapterData& d, const Results& r, const Chosen& c,
                const std::function<void()>& blank) {
    const CInpJyoken& j = gInpJyoken;
    const CInpJiban& g = gInpJiban;
    const CInpZairyo& z = gInpZairyo;
    ChapterSection sec(d, cond::kSection, true);
    chapters::Heading(d, sec, cond::kTitle);
    blank();
    S(d, 1, j.Title);
    sec.Template(cond::kSubject);
    blank();
    chapters::Heading(d, sec, cond::kHeading);
    N(d, 1, j.ELGL);
    N(d, 2, j.ELYU);
    sec.Template(cond::kLevels);
    N(d, 1, j.ELDL);
    N(d, 2, j.ELWL);
    sec.Template(cond::kLevelsLower);
    // The water in the channel, where it stands above the design ground level: it sets the
    // residual water head, the passive side's water and the boiling head.
    if (chapters::ChannelWaterRaised(ChannelWaterLevel(j))) {
        N(d, 1, ChannelWaterLevel(j));
        sec.Template(cond::kChannelWater);
    }
    N(d, 1, Checked(j.ELGL - j.ELDL));
    sec.Template(cond::kHeight);
    switch (j.Keijyo) {
        case 0:
            N(d, 1, j.K0X);
            N(d, 2, j.K0Q);
            sec.Template(cond::kHorizontal);
            break;
        case 1:
            N(d, 1, j.K1m);
            N(d, 2, j.K1Q);
            sec.Template(cond::kSlope);
            break;
        default:
            N(d, 1, j.K2X1);
            N(d, 2, j.K2X2);
            sec.Template(cond::kTrapezoid);
            N(d, 1, j.K2Ho);
            N(d, 2, j.K2Gs);
            N(d, 3, j.K2Q);
            sec.Template(cond::kTrapezoidCrest);
            break;
    }
    N(d, 1, chapters::Reached(r.qqw).Q());
    sec.Template(cond::kSurcharge);
    if (chapters::Layered()) {
        // Layered ground: its layers stand in the ground conditions of chapter 1.
        N(d, 1, static_cast<double>(chapters::DesignLayers().size()));
        sec.Template(cond::kLayered);
    } else {
        N(d, 1, g.Gt);
        N(d, 2, g.Gws);
        N(d, 3, g.Gw);
        if (g.Kind == 0) {
            N(d, 4, g.Fai);
            sec.Template(cond::kSandy);
        } else {
            sec.Template(cond::kClayey);
            N(d, 1, g.Ca);
            N(d, 2, g.Cb);
            sec.Template(cond::kCohesion);
        }
        N(d, 1, g.KH);
        sec.Template(cond::kSubgrade);
    }
    double mant = 0;
    std::string exp;
    chapters::SplitExponent(c.E, mant, exp);
    N(d, 1, mant);
    S(d, 1, exp);
    if (c.kind == PileKind::Concrete) {
        sec.Template(cond::kConcrete);
    } else {
        N(d, 2, c.kind == PileKind::LightSteel ? z.KYSat : z.YSat);
        sec.Template(cond::kSteel);
        N(d, 1, z.AlphaIz);
        N(d, 2, z.AlphaIs);
        N(d, 3, z.AlphaId);
        N(d, 4, z.AlphaZs);
        sec.Template(cond::kJoints);
    }
    N(d, 1, j.Delta);
    if (j.Nekiri == 1) {
        const bool boiling = chapters::StabilityKind() == 0;
        N(d, 2, boiling ? j.Fsb : j.Fsh);
        sec.Template(boiling ? cond::kAllowableBoiling : cond::kAllowableHeaving);
    } else {
        sec.Template(cond::kAllowableNoCheck);
    }
}

// The virtual ground (the computed and the adopted one where the clayey 0.5 m rule makes them
// differ), the resultant of the loads above it and the chosen pile's values of Chang's method,
// as chapters 3 and 4 print them.
void Forces(ChapterData& d, const Results& r, const Chosen& c, const std::function<void()>& blank) {
    const clsPressure& p = chapters::Reached(r.pressure);
    const ChangRow& chang = chapters::Reached(r.sections.Chang(c.kind, c.sect));
    ChapterSection sec(d, forces::kSection);
    blank();
    chapters::Heading(d, sec, forces::kHeading);
    const double ELV = p.WL;
    if (const std::optional<double> computed = r.ComputedVirtualGroundApart()) {
        N(d, 1, *computed);
        N(d, 2, ELV);
        sec.Template(forces::kVirtualGroundApart);
    } else {
        N(d, 1, ELV);
        N(d, 2, Checked(gInpJyoken.ELDL - ELV));
        sec.Template(forces::kVirtualGround);
    }
    N(d, 1, p.P());
    N(d, 2, p.Y());
    sec.Template(forces::kResultant);
    N(d, 1, chang.beta);
    N(d, 2, chang.mmax);
    N(d, 3, chang.lm);
    sec.Template(forces::kChang);
}

int32_t CheckLine(CheckItem item) {
    switch (item) {
        case CheckItem::Moment:
            return chk::kMoment;
        case CheckItem::Stress:
            return chk::kStress;
        case CheckItem::Length:
            return chk::kLength;
        case CheckItem::LengthRange:
            return chk::kRange;
        case CheckItem::Displacement:
            return chk::kDisplacement;
        default:
            return chk::kStability;
    }
}

void Checks(ChapterData& d, const Chosen& c, const std::optional<PassingProposal>& proposal,
            const std::vector<PileCheck>& checks, std::size_t verdictWidth,
            const std::function<void()>& blank) {
    ChapterSection sec(d, chk::kSection);
    blank();
    chapters::Heading(d, sec, chk::kPile);
    S(d, 1, std::string(KindCaption(c.kind)));
    N(d, 1, c.sect);
    S(d, 2, c.name);
    N(d, 2, gInpYaita.L);
    sec.Template(chk::kPileLine);
    sec.Line(!gInpYaita.Proposed                                    ? chk::kUser
             : proposal && proposal->rule == ProposalRule::Lightest ? chk::kProposedLightest
                                                                    : chk::kProposed);
    blank();
    chapters::Heading(d, sec, chk::kHeading);
    PrintTableCaption("使用矢板の照査結果");
    for (int32_t l = chk::kTop; l <= chk::kTopLast; ++l) sec.Line(l);
    for (const PileCheck& k : checks) {
        const bool factor = k.item == CheckItem::Boiling || k.item == CheckItem::Heaving;
        const chapters::Judgement j =
            factor ? chapters::PassFactor(k.passes) : chapters::PassLimit(!k.passes);
        if (factor && !k.result) {
            S(d, 1, k.name);
            sec.Template(chk::kNoResult);
            continue;
        }
        if (!k.needed) {
            S(d, 1, k.name);
            N(d, 1, k.value);
            sec.Template(chk::kNotNeeded);
            continue;
        }
        if (factor) {
            S(d, 1, k.name);
            N(d, 1, k.value);
            S(d, 2, j.sign);
            N(d, 2, k.limit);
            S(d, 3, j.verdict);
        } else if (k.item == CheckItem::LengthRange) {
            N(d, 1, k.value);
            N(d, 2, k.lower);
            N(d, 3, k.limit);
            S(d, 1, j.verdict);
        } else {
            N(d, 1, k.value);
            S(d, 1, j.sign);
            N(d, 2, k.limit);
            S(d, 2, j.verdict);
        }
        sec.Template(CheckLine(k.item));
    }
    sec.Line(chk::kBottom);
    const std::vector<std::string> verdict = VerdictLines(checks, verdictWidth);
    if (verdict.empty()) sec.Line(chk::kAllPass);
    for (std::size_t i = 0; i < verdict.size(); ++i) {
        S(d, 1, verdict[i]);
        sec.Template(i == 0 ? chk::kFailing : chk::kFailingMore);
    }
}

std::string Flag(bool fails) { return fails ? "＊" : ""; }

// `text` behind blanks to `width` code page 932 bytes, for a text field of that width.
std::string RightAligned(const std::string& text, std::size_t width) {
    const std::size_t bytes = cp932::ByteLength(text);
    return std::string(bytes < width ? width - bytes : 0, ' ') + text;
}

// Whether a section of the kind has a mass: only then masses are printed.
bool KindHasMasses(PileKind kind) {
    const int32_t n = std::min(CatalogueCount(kind), kMaxSections);
    for (int32_t s = 1; s <= n; ++s) {
        if (SectionMass(kind, s) != 0.0) return true;
    }
    return false;
}

// The passing sections of the chosen kind when one of its sections has a mass, else none.
std::vector<int32_t> MassRows(const Results& r, PileKind kind) {
    std::vector<int32_t> passing;
    if (!KindHasMasses(kind)) return passing;
    const int32_t n = std::min(CatalogueCount(kind), kMaxSections);
    for (int32_t s = 1; s <= n; ++s) {
        if (r.sections.Passes(kind, s)) passing.push_back(s);
    }
    return passing;
}

// What mass x L means, and, when the proposal is of the chosen kind, which section it is and
// the rule that chose it.
int32_t MassNoteLines(const Chosen& c, const std::optional<PassingProposal>& proposal) {
    return 1 + (proposal && proposal->kind == c.kind ? 1 : 0);
}

void MassNotes(ChapterData& d, ChapterSection& sec, const Chosen& c,
               const std::optional<PassingProposal>& proposal) {
    sec.Line(cmp::kMassLegend);
    if (!proposal || proposal->kind != c.kind) return;
    N(d, 1, proposal->sect);
    S(d, 1, SectionName(proposal->kind, proposal->sect));
    sec.Template(proposal->rule == ProposalRule::Lightest ? cmp::kRuleLightest
                                                          : cmp::kRuleCatalogue);
}

// The lines the masses take beyond the comparison table of today: the notes under a steel table
// with masses, or the concrete sections' table of masses with its notes (0: none).
int32_t MassLines(const Results& r, const Chosen& c,
                  const std::optional<PassingProposal>& proposal) {
    if (c.kind != PileKind::Concrete) {
        return KindHasMasses(c.kind) ? MassNoteLines(c, proposal) : 0;
    }
    const std::size_t rows = MassRows(r, c.kind).size();
    if (rows == 0) return 0;
    return 1 + 4 + static_cast<int32_t>(rows) + 1 + MassNoteLines(c, proposal);
}

// Concrete sections with masses (their comparison table has no room for two more columns): the
// passing ones with the length the proposal takes for each, their mass and their mass x L, what
// the proposal compares, the section proposed marked, and the notes. Nothing when no section of
// the kind has a mass.
void Masses(ChapterData& d, ChapterSection& sec, const Results& r, const Chosen& c,
            const std::optional<PassingProposal>& proposal) {
    const std::vector<int32_t> passing = MassRows(r, c.kind);
    if (passing.empty()) return;
    const bool ours = proposal && proposal->kind == c.kind;
    auto header = [&] {
        for (int32_t l = cmp::kMassTop; l <= cmp::kMassTopLast; ++l) sec.Line(l);
    };
    // The title, the header and a first row together; the table's end with its notes.
    const int32_t afterRows = 1 + MassNoteLines(c, proposal);
    NewPageIfShort(1 + 4 + 1 + afterRows, 0);
    sec.Line(cmp::kMassTitle);
    header();
    for (std::size_t i = 0; i < passing.size(); ++i) {
        const int32_t s = passing[i];
        if (i > 0 && LinesPerPage - LineCount < 1 + afterRows) {
            sec.Line(cmp::kMassBottom);
            NewPageIfShort(LinesPerPage, 0);
            header();
        }
        const double lreq = r.sections.RequiredLength(c.kind, s);
        const double L = ProposalLength(c.kind, s, lreq);
        const double mass = SectionMass(c.kind, s);
        S(d, 1, s == c.sect ? "◎" : "");
        N(d, 1, s);
        S(d, 2, SectionName(c.kind, s));
        N(d, 2, lreq);
        N(d, 3, L);
        if (mass == 0.0) {
            sec.Template(cmp::kMassRowNone);
            continue;
        }
        N(d, 4, mass);
        N(d, 5, MassPerMetre(mass, L));
        S(d, 3, ours && proposal->sect == s ? "提案" : "");
        sec.Template(cmp::kMassRow);
    }
    sec.Line(cmp::kMassBottom);
    MassNotes(d, sec, c, proposal);
}

void Comparison(ChapterData& d, const Results& r, const Chosen& c,
                const std::optional<PassingProposal>& proposal,
                const std::function<void()>& blank) {
    ChapterSection sec(d, cmp::kSection);
    blank();
    static constexpr int32_t kHeadings[] = {cmp::kHeadingConcrete, cmp::kHeadingLightSteel,
                                            cmp::kHeadingSteel};
    chapters::Heading(d, sec, kHeadings[static_cast<std::size_t>(c.kind)]);
    const bool concrete = c.kind == PileKind::Concrete;
    // Steel sections with masses show the mass and, passing, the mass x L in two more columns.
    const bool masses = !concrete && KindHasMasses(c.kind);
    const int32_t top = concrete ? cmp::kConcreteTop : masses ? cmp::kSteelMassTop : cmp::kSteelTop;
    const int32_t topLast = concrete ? cmp::kConcreteTopLast
                            : masses ? cmp::kSteelMassTopLast
                                     : cmp::kSteelTopLast;
    const int32_t bottom = concrete ? cmp::kConcreteBottom
                           : masses ? cmp::kSteelMassBottom
                                    : cmp::kSteelBottom;
    const int32_t n = std::min(CatalogueCount(c.kind), kMaxSections);
    auto header = [&] {
        for (int32_t l = top; l <= topLast; ++l) sec.Line(l);
    };
    static constexpr std::string_view kCaptions[] = {"ｺﾝｸﾘｰﾄ矢板の断面比較", "軽量鋼矢板の断面比較",
                                                     "鋼矢板の断面比較"};
    PrintTableCaption(kCaptions[static_cast<std::size_t>(c.kind)]);
    header();
    // The closing line and the legend's lines.
    const int32_t afterRows = 3 + (masses ? MassNoteLines(c, proposal) : 0);
    for (int32_t s = 1; s <= n; ++s) {
        // A catalogue longer than the page left goes on under its header on the next page.
        if (s > 1 && LinesPerPage - LineCount < 1 + afterRows) {
            sec.Line(bottom);
            NewPageIfShort(LinesPerPage, 0);
            header();
        }
        S(d, 1, s == c.sect ? "◎" : "");
        N(d, 1, s);
        S(d, 2, SectionName(c.kind, s));
        const char* verdict = r.sections.Passes(c.kind, s) ? "OK" : "OUT";
        if (concrete) {
            const ConcreteRow& row = chapters::Reached(r.sections.Concrete(s));
            N(d, 2, row.moment);
            S(d, 3, Flag(row.momentFails));
            N(d, 3, row.mc);
            N(d, 4, row.lreq);
            S(d, 4, Flag(row.lengthFails));
            N(d, 5, row.lmin);
            N(d, 6, row.lmax);
            N(d, 7, row.delta);
            S(d, 5, Flag(row.deltaFails));
            S(d, 6, verdict);
        } else {
            const SteelRow& row = chapters::Reached(r.sections.Steel(c.kind, s));
            N(d, 2, row.sigma);
            S(d, 3, Flag(row.sigmaFails));
            N(d, 3, row.lreq);
            N(d, 4, row.delta);
            S(d, 4, Flag(row.deltaFails));
            if (masses) {
                const double mass = SectionMass(c.kind, s);
                const double L = ProposalLength(c.kind, s, row.lreq);
                S(d, 5, RightAligned(mass == 0.0 ? "－" : numfmt::FormatNumber(mass, "0.0"), 8));
                S(d, 6,
                  RightAligned(mass == 0.0 || !row.Passes()
                                   ? "－"
                                   : numfmt::FormatNumber(MassPerMetre(mass, L), "0.0"),
                               10));
                S(d, 7, verdict);
            } else {
                S(d, 5, verdict);
            }
        }
        sec.Template(concrete ? cmp::kConcreteRow : masses ? cmp::kSteelMassRow : cmp::kSteelRow);
    }
    sec.Line(bottom);
    if (concrete) {
        N(d, 1, gInpJyoken.Delta);
        sec.Template(cmp::kConcreteLegend);
    } else {
        N(d, 1, c.kind == PileKind::LightSteel ? gInpZairyo.KYSat : gInpZairyo.YSat);
        N(d, 2, gInpJyoken.Delta);
        sec.Template(cmp::kSteelLegend);
    }
    sec.Line(cmp::kVerdictLegend);
    if (masses) MassNotes(d, sec, c, proposal);
    if (concrete) Masses(d, sec, r, c, proposal);
}

}  // namespace

bool Write(const Results& results, std::string* error) {
    return RunChapter(
        [&results] {
            const chapters::UnnumberedHeadings unnumbered;
            const Chosen c = Stage();
            const std::vector<PileCheck> checks = summary::ChosenPileChecks(results);
            const int32_t sections = std::min(CatalogueCount(c.kind), kMaxSections);
            const std::optional<PassingProposal> proposal = ProposePassing(results);
            // The verdict's slot, for the lines its failing checks take.
            LineLevelSlots levels{};
            LineTextSlots texts{};
            ReadFormatSection(ReportFormatFile(), chk::kSection, levels, texts);
            const std::size_t verdictWidth = SlotWidth(texts[chk::kFailing]);
            const std::size_t verdictLines = VerdictLines(checks, verdictWidth).size();
            // Six blank lines part the blocks when the page has room for them.
            const bool roomy = LinesNeeded(c, checks.size(), verdictLines, sections,
                                           MassLines(results, c, proposal)) +
                                   6 <=
                               kPageLines;
            const std::function<void()> blank = [roomy] {
                if (roomy) PrintBlankLines(1);
            };
            ChapterData d;
            Conditions(d, results, c, blank);
            Forces(d, results, c, blank);
            Checks(d, c, proposal, checks, verdictWidth, blank);
            Comparison(d, results, c, proposal, blank);
        },
        error);
}

}  // namespace basResOutSummary
}  // namespace kuvelt
