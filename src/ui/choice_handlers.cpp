#include "ui/choice_handlers.h"

#include <QButtonGroup>
#include <algorithm>
#include <optional>
#include <vector>

#include "calc/results.h"
#include "calc/yaita_choice.h"
#include "model/design.h"
#include "report/chapters/zu_forces.h"
#include "report/prn.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/frmInpYaita.h"
#include "ui/result_grid_model.h"
#include "ui/ui_services.h"
#include "usecase/design_run.h"

namespace kuvelt::ui {

namespace {

// The mass of section s from column `col` on, and its mass x L when it passes: empty cells for
// what the section does not have.
void FillMass(ResultGridModel* grid, int col, PileKind kind, int s, bool passes, double lreq) {
    const double mass = SectionMass(kind, s);
    if (mass == 0.0) {
        grid->SetEmpty(s - 1, col);
        grid->SetEmpty(s - 1, col + 1);
        return;
    }
    grid->SetCell(s - 1, col, mass);
    if (passes) {
        grid->SetCell(s - 1, col + 1, MassPerMetre(mass, ProposalLength(kind, s, lreq)));
    } else {
        grid->SetEmpty(s - 1, col + 1);
    }
}

void FillSteelList(ResultGridModel* grid, PileKind kind, const std::vector<SteelRow>& list,
                   const colInpSectS& cat) {
    const int n = std::min(cat.Count(), int(list.size()));
    grid->SetRowCount(n);
    for (int s = 1; s <= n; ++s) {
        const SteelRow& r = list[std::size_t(s - 1)];
        grid->SetCell(s - 1, 0, r.sigma, r.sigmaFails);
        grid->SetCell(s - 1, 1, r.lreq);
        grid->SetCell(s - 1, 2, r.delta, r.deltaFails);
        FillMass(grid, 3, kind, s, r.Passes(), r.lreq);
        grid->SetRowName(s - 1, Q(cat.Item(s)->Name));
    }
}

// The force diagram of a pick from the calculation the window shows, in figure bytes for the
// window's view (the same drawing as the report's), or why there is none.
frmInpYaita::ForceFigureParts ForceFigureOf(const Results& results, int yaita, int sect, double L,
                                            double W, double F) {
    frmInpYaita::ForceFigureParts out;
    const std::optional<PileKind> kind = KindOfChoice(yaita);
    if (!kind || sect < 1 || sect > CatalogueCount(*kind)) {
        out.note =
            QStringLiteral("断面№%1は登録されていないため、断面力図はありません。").arg(sect);
        return out;
    }
    const auto data = results.sections.Chang(*kind, sect)
                          ? basZuForces::FigureDataFor(results, *kind, sect, L)
                          : std::nullopt;
    if (!data) {
        out.note = QStringLiteral("計算結果がないため、断面力図はありません。");
        return out;
    }
    try {
        basZuForces::ForceFigure f = basZuForces::BuildForceFigure(*data, W, F);
        out.width = f.width;
        out.height = f.height;
        for (basZuForces::FigurePart& p : f.parts)
            out.parts.push_back({std::move(p.bytes), p.x, p.y});
    } catch (const PrintFault& e) {
        out.note = QStringLiteral("断面力図を描けません：") + QString::fromUtf8(e.what());
    }
    return out;
}

}  // namespace

void objInpYaita_LoadData(frmInpYaita& w, const std::shared_ptr<const Results>& results) {
    const SectionResults& sections = results->sections;
    const std::vector<ConcreteRow> none;
    const std::vector<ConcreteRow>& listC = sections.listC ? *sections.listC : none;
    const int nc = std::min(gInpSectC.Count(), int(listC.size()));
    w.listC->SetRowCount(nc);
    for (int s = 1; s <= nc; ++s) {
        const ConcreteRow& r = listC[std::size_t(s - 1)];
        w.listC->SetCell(s - 1, 0, r.moment, r.momentFails);
        w.listC->SetCell(s - 1, 1, r.lreq, r.lengthFails);
        w.listC->SetCell(s - 1, 2, r.lmin);
        w.listC->SetCell(s - 1, 3, r.lmax);
        w.listC->SetCell(s - 1, 4, r.delta, r.deltaFails);
        FillMass(w.listC, 5, PileKind::Concrete, s, r.Passes(), r.lreq);
        w.listC->SetRowName(s - 1, Q(gInpSectC.Item(s)->Name));
    }
    FillSteelList(w.listLS, PileKind::LightSteel, sections.SteelList(PileKind::LightSteel),
                  gInpSectLS);
    FillSteelList(w.listS, PileKind::Steel, sections.SteelList(PileKind::Steel), gInpSectS);

    const ChoiceProposal p = ProposeChoice(*results);
    w.setKind(ChoiceValue(p.kind));
    w.numSect->setValue(p.Sect);
    w.numH->setValue(p.H);
    w.numL->setValue(p.L);
    // The program's proposal, of the passing sections the lightest per metre of wall (or the
    // first where none has a mass), is marked in its list and taken as the initial pick unless
    // the design holds a choice already.
    // When none passes, the window says so and opens on the section closest to passing.
    const usecase::Proposal passing = usecase::ProposePassingPick(*results);
    if (passing.pick) {
        ResultGridModel* lists[] = {w.listC, w.listLS, w.listS};
        lists[ChoiceValue(passing.pick->kind)]->SetRecommendedRow(passing.pick->sect - 1);
    } else {
        w.setNoPassingSection(Q(passing.whyNone));
    }
    if (const auto& start = passing.pick ? passing.pick : passing.closest;
        start && !gInpYaita.InpFlg) {
        w.setKind(ChoiceValue(start->kind));
        w.numSect->setValue(start->sect);
        w.numL->setValue(start->L);
    }
    w.UpdateEmbedment();
    w.setFigureSource([results](int yaita, int sect, double L, double W, double F) {
        return ForceFigureOf(*results, yaita, sect, L, W, F);
    });
}

void objInpYaita_SaveData(frmInpYaita& w, bool& Cancel) {
    const usecase::Pick pick{static_cast<PileKind>(w.kind()), int32_t(w.numSect->value()),
                             w.numL->value()};
    const usecase::PickResult r = usecase::CheckAndStorePick(
        pick, [&](const Message& q) { return Services().ShowMessage(&w, q) == MsgAnswer::Yes; });
    if (r.outcome == usecase::PickOutcome::Refused) {
        if (r.refusal) Services().ShowMessage(&w, *r.refusal);
        Cancel = true;
        return;
    }
    if (r.outcome == usecase::PickOutcome::Declined) {
        Cancel = true;
        return;
    }
    gModified = true;
}

}  // namespace kuvelt::ui
