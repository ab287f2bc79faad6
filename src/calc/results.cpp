#include "calc/results.h"

#include <algorithm>
#include <cmath>

#include "calc/result_store.h"
#include "calc/sections.h"
#include "calc/yaita_choice.h"
#include "model/design.h"

namespace kuvelt {

namespace {

template <class Row>
const Row* At(const std::vector<Row>& rows, int32_t s) {
    if (s < 1 || s > static_cast<int32_t>(rows.size())) return nullptr;
    return &rows[static_cast<std::size_t>(s - 1)];
}

template <class Row>
const Row* At(const std::optional<ByKind<Row>>& table, PileKind k, int32_t s) {
    if (!table) return nullptr;
    return At((*table)[static_cast<std::size_t>(k)], s);
}

// The sections of a kind a table holds: the catalogue's count, at most the table's size.
int32_t Rows(PileKind k) { return std::clamp(CatalogueCount(k), int32_t{0}, kMaxSections); }

template <class Row, class Table, class Fill>
std::optional<ByKind<Row>> CopyTable(const Table& t, Fill fill) {
    if (!t.Reached()) return std::nullopt;
    ByKind<Row> out;
    for (PileKind k : kPileKinds) {
        auto& rows = out[static_cast<std::size_t>(k)];
        const int32_t kk = TableIndex(k);
        for (int32_t s = 1; s <= Rows(k); ++s) {
            rows.push_back(fill([&](int32_t i) { return t(kk, s, i); }));
        }
    }
    return out;
}

template <class Row, class List, class Fill>
std::optional<std::vector<Row>> CopyList(const List& l, PileKind k, Fill fill) {
    if (!l.Reached()) return std::nullopt;
    std::vector<Row> rows;
    for (int32_t s = 1; s <= Rows(k); ++s) rows.push_back(fill([&](int32_t i) { return l(s, i); }));
    return rows;
}

// The Kh each section's β of a pass was found with (item of gSectKh) into the rows' `kh`.
template <class Row>
void FillKh(std::optional<ByKind<Row>>& table, int32_t item) {
    if (!table || !gSectKh.Reached()) return;
    for (PileKind k : kPileKinds) {
        auto& rows = (*table)[static_cast<std::size_t>(k)];
        for (std::size_t s = 0; s < rows.size(); ++s) {
            rows[s].kh = gSectKh(TableIndex(k), static_cast<int32_t>(s + 1), item);
        }
    }
}

template <class T>
std::optional<T> Copy(const StageRef<T>& r) {
    if (!r.Reached()) return std::nullopt;
    return *r;
}

template <class T>
std::optional<T> Copy(const NekiriRef<T>& r) {
    if (const T* p = r.Peek()) return *p;
    return std::nullopt;
}

}  // namespace

bool SectionResults::Complete() const {
    return chang && stress && embed && disp && listC && listLS && listS;
}

const ChangRow* SectionResults::Chang(PileKind k, int32_t s) const { return At(chang, k, s); }
const StressRow* SectionResults::Stress(PileKind k, int32_t s) const { return At(stress, k, s); }
const EmbedRow* SectionResults::Embed(PileKind k, int32_t s) const { return At(embed, k, s); }
const DispRow* SectionResults::Disp(PileKind k, int32_t s) const { return At(disp, k, s); }

const ConcreteRow* SectionResults::Concrete(int32_t s) const {
    return listC ? At(*listC, s) : nullptr;
}

const std::vector<SteelRow>& SectionResults::SteelList(PileKind k) const {
    static const std::vector<SteelRow> kNone;
    const auto& list = k == PileKind::LightSteel ? listLS : listS;
    return k == PileKind::Concrete || !list ? kNone : *list;
}

const SteelRow* SectionResults::Steel(PileKind k, int32_t s) const { return At(SteelList(k), s); }

double SectionResults::RequiredLength(PileKind k, int32_t s) const {
    if (k == PileKind::Concrete) {
        const ConcreteRow* r = Concrete(s);
        return r ? r->lreq : 0.0;
    }
    const SteelRow* r = Steel(k, s);
    return r ? r->lreq : 0.0;
}

bool SectionResults::Passes(PileKind k, int32_t s) const {
    if (k == PileKind::Concrete) {
        const ConcreteRow* r = Concrete(s);
        return r && r->Passes();
    }
    const SteelRow* r = Steel(k, s);
    return r && r->Passes();
}

std::optional<double> Results::AdoptedVirtualGround() const {
    if (!pressure) return std::nullopt;
    return pressure->WL;
}

std::optional<double> Results::ComputedVirtualGroundApart() const {
    if (!dl || dl->Error() != 0 || !pressure) return std::nullopt;
    const double computed = dl->ELDLX();
    if (std::fabs(computed - pressure->WL) < 0.0005) return std::nullopt;
    return computed;
}

Results SnapshotResults() {
    using namespace item;
    Results r;
    r.qqw = Copy(gQqw);
    r.khActive = Copy(gKhActive);
    r.spa = Copy(gSpa);
    r.khPassive = Copy(gKhPassive);
    r.spp = Copy(gSpp);
    r.rwp = Copy(gRWp);
    r.dl = Copy(gDL);
    r.pressure = Copy(gPressure);

    SectionResults& s = r.sections;
    s.chang = CopyTable<ChangRow>(gSectChang, [](auto v) {
        return ChangRow{v(kChangMmax), v(kChangLm), v(kChangBeta), v(kChangE), v(kChangI)};
    });
    s.stress = CopyTable<StressRow>(gSectStress, [](auto v) {
        return StressRow{v(kStressValue), v(kStressModulus), v(kStressFlag) != 0.0};
    });
    s.embed = CopyTable<EmbedRow>(gSectEmbed, [](auto v) {
        return EmbedRow{v(kEmbedEll), v(kEmbedLreq), v(kEmbedBeta), v(kEmbedE), v(kEmbedI)};
    });
    s.disp = CopyTable<DispRow>(gSectDisp, [](auto v) {
        return DispRow{v(kDisp1), v(kDisp2), v(kDisp3),   v(kDisp),
                       v(kDispE), v(kDispI), v(kDispBeta)};
    });
    FillKh(s.chang, kKhChang);
    FillKh(s.embed, kKhEmbed);
    FillKh(s.disp, kKhDisp);
    s.listC = CopyList<ConcreteRow>(gListC, PileKind::Concrete, [](auto v) {
        return ConcreteRow{v(kCMoment),
                           v(kCMc),
                           v(kCMomentFlag) != 0.0,
                           v(kCLreq),
                           v(kCLmin),
                           v(kCLmax),
                           v(kCLengthFlag) != 0.0,
                           v(kCDelta),
                           v(kCDeltaA),
                           v(kCDeltaFlag) != 0.0};
    });
    const auto steel = [](auto v) {
        return SteelRow{v(kSSigma), v(kSSigmaA), v(kSSigmaFlag) != 0.0, v(kSLreq),
                        v(kSDelta), v(kSDeltaA), v(kSDeltaFlag) != 0.0};
    };
    s.listLS = CopyList<SteelRow>(gListLS, PileKind::LightSteel, steel);
    s.listS = CopyList<SteelRow>(gListS, PileKind::Steel, steel);

    r.boiling = Copy(gNekiriAnteiAs);
    r.heaving = Copy(gNekiriAnteiAc);
    return r;
}

}  // namespace kuvelt
