#include "ui/window_handlers.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <optional>

#include "calc/nekiri.h"
#include "calc/results.h"
#include "calc/sections.h"
#include "calc/yaita_choice.h"
#include "io/settings.h"
#include "model/design.h"
#include "platform/numfmt.h"
#include "platform/profile.h"
#include "report/chapters/zu_forces.h"
#include "report/prn.h"
#include "ui/app_state.h"
#include "ui/common/user_guide.h"
#include "ui/fields.h"
#include "ui/frmInpRenban.h"
#include "ui/frmInpSect.h"
#include "ui/frmInpYaita.h"
#include "ui/frmMenuMain.h"
#include "ui/frmMenuPrint.h"
#include "ui/frmResOut.h"
#include "ui/main_handlers.h"
#include "ui/result_grid_model.h"
#include "ui/ui_services.h"
#include "usecase/design_run.h"

namespace kuvelt::ui {

namespace {

bool Flag(double v) { return v == 1.0; }

template <class List, class Cat>
void FillSteelList(ResultGridModel* grid, const List& list, const Cat& cat) {
    const int n = std::min(cat.Count(), int(List::kSections));
    grid->SetRowCount(n);
    for (int s = 1; s <= n; ++s) {
        grid->SetCell(s - 1, 0, list(s, item::kSSigma), Flag(list(s, item::kSSigmaFlag)));
        grid->SetCell(s - 1, 1, list(s, item::kSLreq));
        grid->SetCell(s - 1, 2, list(s, item::kSDelta), Flag(list(s, item::kSDeltaFlag)));
        grid->SetRowName(s - 1, Q(cat.Item(s)->Name));
    }
}

// The force diagram of a pick from the last calculation, in figure bytes for the window's view
// (the same drawing as the report's), or why there is none.
frmInpYaita::ForceFigureParts ForceFigureOf(int yaita, int sect, double L, double W, double F) {
    frmInpYaita::ForceFigureParts out;
    const std::optional<PileKind> kind = KindOfChoice(yaita);
    if (!kind || sect < 1 || sect > CatalogueCount(*kind)) {
        out.note =
            QStringLiteral("断面№%1は登録されていないため、断面力図はありません。").arg(sect);
        return out;
    }
    const auto data = basZuForces::FigureDataFor(SnapshotResults(), *kind, sect, L);
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

// The grids' columns are the section records' fields (model/design_fields.h).
// A new first row starts from the catalogue's first built-in section.
void objInpSectC_LoadData(frmInpSect& w) {
    colInpSectC usual;
    AddBuiltInConcrete(usual);
    w.model()->SetUsualRow(usual);
    w.model()->LoadCatalogue(gInpSectC);
}
void objInpSectC_SaveData(frmInpSect& w, bool&) {
    w.model()->SaveCatalogue(gInpSectC);
    ConfirmInput(nullptr);
}
void objInpSectLS_LoadData(frmInpSect& w) {
    colInpSectS usual;
    AddBuiltInLightSteel(usual);
    w.model()->SetUsualRow(usual);
    w.model()->LoadCatalogue(gInpSectLS);
}
void objInpSectLS_SaveData(frmInpSect& w, bool&) {
    w.model()->SaveCatalogue(gInpSectLS);
    ConfirmInput(nullptr);
}
void objInpSectS_LoadData(frmInpSect& w) {
    colInpSectS usual;
    AddBuiltInSteel(usual);
    w.model()->SetUsualRow(usual);
    w.model()->LoadCatalogue(gInpSectS);
}
void objInpSectS_SaveData(frmInpSect& w, bool&) {
    w.model()->SaveCatalogue(gInpSectS);
    ConfirmInput(nullptr);
}

void objInpYaita_LoadData(frmInpYaita& w) {
    const int nc = std::min(gInpSectC.Count(), int(decltype(gListC)::kSections));
    w.listC->SetRowCount(nc);
    for (int s = 1; s <= nc; ++s) {
        w.listC->SetCell(s - 1, 0, gListC(s, item::kCMoment), Flag(gListC(s, item::kCMomentFlag)));
        w.listC->SetCell(s - 1, 1, gListC(s, item::kCLreq), Flag(gListC(s, item::kCLengthFlag)));
        w.listC->SetCell(s - 1, 2, gListC(s, item::kCLmin));
        w.listC->SetCell(s - 1, 3, gListC(s, item::kCLmax));
        w.listC->SetCell(s - 1, 4, gListC(s, item::kCDelta), Flag(gListC(s, item::kCDeltaFlag)));
        w.listC->SetRowName(s - 1, Q(gInpSectC.Item(s)->Name));
    }
    FillSteelList(w.listLS, gListLS, gInpSectLS);
    FillSteelList(w.listS, gListS, gInpSectS);

    const ChoiceProposal p = ProposeChoice();
    w.setKind(ChoiceValue(p.kind));
    w.numSect->setValue(p.Sect);
    w.numH->setValue(p.H);
    w.numL->setValue(p.L);
    // The program's proposal, the first section passing every check, is marked in its list and
    // taken as the initial pick unless the design holds a choice already.
    // When none passes, the window says so and opens on the section closest to passing.
    const usecase::Proposal passing = usecase::ProposePassingPick();
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
    w.setFigureSource(ForceFigureOf);
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

// "使用矢板　鋼矢板 №7 SP-ⅢW　Ｌ ＝ 14.00 m": the pile the stability check is of.
static QString ChosenPileLine() {
    const CInpYaita& y = gInpYaita;
    const std::optional<PileKind> kind = KindOfChoice(y.Yaita);
    if (!y.InpFlg || !kind) return {};
    return Q("使用矢板　" + std::string(KindCaption(*kind)) + " №" + std::to_string(y.Sect) + " " +
             SectionName(*kind, y.Sect) + "　Ｌ ＝ " + numfmt::FormatNumber(y.L, "0.00") + " m");
}

void objResOutAs_LoadData(frmResOutAs& w) {
    clsNekiriAnteiAs& r = *gNekiriAnteiAs;
    w.lblPile->setText(ChosenPileLine());
    w.numH1->setValue(r.Hw);
    w.numD->setValue(r.D);
    if (r.NoHead()) {
        w.setNotNeeded();
        return;
    }
    w.numFs->setValue(r.F());
    w.setVerdict(r.Hantei(), r.Fa);
    w.table->SetRowCount(r.Ichiran().Count());
    int row = 0;
    for (const CDim1x2& pair : r.Ichiran()) {
        w.table->SetCell(row, 0, pair.Value1);
        w.table->SetCell(row, 1, pair.Value2, FactorBelowAllowable(pair.Value2, r.Fa));
        ++row;
    }
}

void objResOutAc_LoadData(frmResOutAc& w) {
    clsNekiriAnteiAc& r = *gNekiriAnteiAc;
    w.lblPile->setText(ChosenPileLine());
    w.numH->setValue(r.H);
    w.numD->setValue(r.D);
    w.numQ->setValue(r.Q);
    w.numW->setValue(r.W());
    w.numFs->setValue(r.F());
    w.setVerdict(r.Hantei(), r.Fa);
}

void objInpRenban_LoadData(frmInpRenban& w) {
    auto get = [](std::string_view key) { return ReadIniLong(ini::kChapter, key); };
    // A value a control cannot take leaves that control at its default: method "なし", kind
    // "1,2,3,..99" (a stored kind 0 is "none chosen", which would print a level without number).
    if (!GetIniString(ini::kChapter, ini::kMethod, gIniFile).empty())
        w.setMethod(get(ini::kMethod));
    const int32_t init = get(ini::kInit);
    if (InRange(w.numInit->spec(), init)) w.numInit->setValue(init);
    for (std::size_t k = 0; k < 4; ++k) {
        const int32_t style = get(ini::kStyleKeys[k]);
        if (style >= 1 && style <= int32_t(StyleEntries().size())) {
            w.cboStyle[k]->setCurrentIndex(style - 1);
        }
        const int32_t margin = get(ini::kMarginKeys[k]);
        NumField* f = w.numMargin[k];
        if (InRange(f->spec(), margin)) f->setValue(margin);
    }
}

void objInpRenban_SaveData(frmInpRenban& w, bool&) {
    const int m = w.method();
    WriteIniString(ini::kChapter, ini::kMethod, m < 0 ? std::string() : std::to_string(m));
    WriteIniString(ini::kChapter, ini::kInit, numfmt::General(w.numInit->value()));
    for (std::size_t k = 0; k < 4; ++k) {
        WriteIniString(ini::kChapter, ini::kStyleKeys[k],
                       std::to_string(w.cboStyle[k]->currentIndex() + 1));
    }
    for (std::size_t k = 0; k < 4; ++k) {
        WriteIniString(ini::kChapter, ini::kMarginKeys[k],
                       numfmt::General(w.numMargin[k]->value()));
    }
}

namespace {

template <class W, class Load>
void ConnectLoad(W* w, Load load) {
    QObject::connect(w, &InputWindow::LoadData, w, [w, load] { load(*w); });
}

template <class W, class Save>
void ConnectSave(W* w, Save save) {
    QObject::connect(w, &InputWindow::SaveData, w, [w, save](bool& Cancel) { save(*w, Cancel); });
}

}  // namespace

std::unique_ptr<InputWindow> CreateMenuWindow(int index, QWidget* parent) {
    std::unique_ptr<InputWindow> made;
    switch (index) {
        case frmMenuMain::kInpSectC: {
            auto* w = new frmInpSectC(parent);
            ConnectLoad(w, [](frmInpSect& f) { objInpSectC_LoadData(f); });
            ConnectSave(w, [](frmInpSect& f, bool& c) { objInpSectC_SaveData(f, c); });
            made.reset(w);
            break;
        }
        case frmMenuMain::kInpSectLS:
        case frmMenuMain::kInpSectS: {
            auto* w = new frmInpSectS(parent, index == frmMenuMain::kInpSectLS);
            if (index == frmMenuMain::kInpSectLS) {
                ConnectLoad(w, [](frmInpSect& f) { objInpSectLS_LoadData(f); });
                ConnectSave(w, [](frmInpSect& f, bool& c) { objInpSectLS_SaveData(f, c); });
            } else {
                ConnectLoad(w, [](frmInpSect& f) { objInpSectS_LoadData(f); });
                ConnectSave(w, [](frmInpSect& f, bool& c) { objInpSectS_SaveData(f, c); });
            }
            made.reset(w);
            // One window class serves both catalogues: it shows the pressed button's caption.
            made->UsrCaption = QString::fromUtf8(frmMenuMain::ButtonCaption(index));
            break;
        }
        case frmMenuMain::kInpYaita: {
            auto* w = new frmInpYaita(parent);
            ConnectLoad(w, objInpYaita_LoadData);
            ConnectSave(w, objInpYaita_SaveData);
            made.reset(w);
            break;
        }
        case frmMenuMain::kResOutAs: {
            auto* w = new frmResOutAs(parent);
            ConnectLoad(w, objResOutAs_LoadData);
            made.reset(w);
            break;
        }
        case frmMenuMain::kResOutAc: {
            auto* w = new frmResOutAc(parent);
            ConnectLoad(w, objResOutAc_LoadData);
            made.reset(w);
            break;
        }
        case frmMenuMain::kInpRenban: {
            auto* w = new frmInpRenban(parent);
            ConnectLoad(w, objInpRenban_LoadData);
            ConnectSave(w, objInpRenban_SaveData);
            made.reset(w);
            break;
        }
        case frmMenuMain::kMenuPrint:
            // The print menu receives no other settings; it has no help button, but F1 opens
            // its section of the guide.
            made = std::make_unique<frmMenuPrint>(parent);
            SetHelp(*made, index);
            return made;
        default:
            return nullptr;
    }
    SetHelp(*made, index);
    if (index == frmMenuMain::kInpSectC || index == frmMenuMain::kInpSectLS ||
        index == frmMenuMain::kInpSectS) {
        made->UsrRecMax = kMaxSections;
    }
    return made;
}

int HelpTopicOf(int index) {
    switch (index) {
        case frmMenuMain::kInpJyoken:
            return guide::kTopicConditions;
        case frmMenuMain::kInpJiban:
            return guide::kTopicGround;
        case frmMenuMain::kInpZairyo:
            return guide::kTopicMaterials;
        case frmMenuMain::kInpSectC:
        case frmMenuMain::kInpSectLS:
        case frmMenuMain::kInpSectS:
            return guide::kTopicSections;
        case frmMenuMain::kInpYaita:
            return guide::kTopicChoice;
        case frmMenuMain::kResOutAs:
        case frmMenuMain::kResOutAc:
            return guide::kTopicStability;
        case frmMenuMain::kMenuPrint:
            return guide::kTopicPrint;
        case frmMenuMain::kInpRenban:
            return guide::kTopicNumbering;
        default:
            return guide::kTopicWorkflow;
    }
}

void SetHelp(InputWindow& window, int index) { SetHelpTopic(window, HelpTopicOf(index)); }

void SetHelpTopic(InputWindow& window, int topic) {
    // The guide's path even when it is missing: the help button then says where it belongs.
    window.UsrHelpFile = QString::fromStdString(UserGuideFile());
    window.UsrHelpContextID = topic;
}

}  // namespace kuvelt::ui
