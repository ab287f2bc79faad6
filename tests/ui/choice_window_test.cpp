// The sheet-pile choice window: the result lists with red failed values and green passing rows,
// the proposal and a reopened choice, D = L − H', tabs that never change the stored kind, the
// range check of the section number, the choice checks with their messages and the force diagram
// that follows the pick.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "calc/dl.h"
#include "calc/result_store.h"
#include "calc/results.h"
#include "calc/sections.h"
#include "calc/yaita_choice.h"
#include "io/design_file.h"
#include "model/design.h"
#include "platform/numfmt.h"
#include "report/prn.h"
#include "scripted_services.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/figure_view.h"
#include "ui/frmInpYaita.h"
#include "ui/frmMenuMain.h"
#include "ui/result_grid_model.h"
#include "ui/window_factory.h"
#include "usecase/design_run.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

class ChoiceWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        int32_t err = 0;
        const std::string path =
            (kuvelt::test::SourceDir() / "examples" / "sand-channel.kvt").string();
        ASSERT_TRUE(ReadData(path, err)) << err;
        gInpYaita.InpFlg = false;  // a design whose pile is still to be chosen
        // Concrete section 2 made long enough for its required length (6.91 m).
        gInpSectC.Item(2)->Lmin = 7.0;
        gInpSectC.Item(2)->Lmax = 8.0;
        ASSERT_TRUE(CalcMain());
        hPrime = gInpJyoken.ELYU - AdoptedVirtualGround();
    }
    // The window as the choice command opens it: with the results of the calculation just made.
    void Open() { Open(SnapshotResults()); }
    void Open(Results results) {
        w = CreateMenuWindow(frmMenuMain::kInpYaita, nullptr,
                             std::make_shared<const Results>(std::move(results)));
        yaita = static_cast<frmInpYaita*>(w.get());
        w->Prepare();
        test::ShowActive(w.get());
    }
    void Type(NumField* f, const QString& text) {
        f->setFocus(Qt::TabFocusReason);
        f->selectAll();
        QTest::keyClicks(f, text);
    }
    UiTestEnv env;
    std::unique_ptr<InputWindow> w;
    frmInpYaita* yaita = nullptr;
    double hPrime = 0;
};

TEST_F(ChoiceWindowTest, ListsShowTheResultsWithFailedValuesInRed) {
    // Mark one concrete length and one moment as passed/failed explicitly.
    Results results = SnapshotResults();
    ConcreteRow& row = results.sections.listC->at(1);
    row.lengthFails = false;
    row.momentFails = true;
    const ConcreteRow shownRow = row;
    Open(std::move(results));
    ResultGridModel* c = yaita->listC;
    ASSERT_EQ(c->rowCount(), 3);
    ASSERT_EQ(c->columnCount(), 7);
    EXPECT_EQ(c->Text(1, 0), QString::fromStdString(numfmt::FormatNumber(shownRow.moment, "0.0")));
    EXPECT_EQ(c->Value(1, 1), shownRow.lreq);
    EXPECT_EQ(c->Value(1, 2), 7.0);  // Lmin
    EXPECT_EQ(c->Value(1, 3), 8.0);  // Lmax
    EXPECT_EQ(c->Value(1, 4), shownRow.delta);
    EXPECT_TRUE(c->IsRed(1, 0));
    EXPECT_FALSE(c->IsRed(1, 1)) << "length flag 0";
    EXPECT_FALSE(c->IsRed(1, 2));
    EXPECT_FALSE(c->IsRed(1, 3));
    EXPECT_TRUE(c->IsRed(1, 4));
    EXPECT_EQ(c->data(c->index(1, 0), Qt::ForegroundRole).value<QBrush>().color(),
              QColor(255, 0, 0));
    EXPECT_FALSE(c->data(c->index(1, 2), Qt::ForegroundRole).isValid());

    ResultGridModel* s = yaita->listS;
    ASSERT_EQ(s->rowCount(), 12);
    ASSERT_EQ(s->columnCount(), 5);
    EXPECT_TRUE(s->IsRed(0, 0));   // SP-ⅠA: stress fails
    EXPECT_TRUE(s->IsRed(0, 2));   // and displacement
    EXPECT_FALSE(s->IsRed(0, 1));  // required length is never red
    EXPECT_FALSE(s->RowMarked(0));
    EXPECT_FALSE(s->RowMarked(5)) << "SP-ⅢA: the head displacement fails";
    EXPECT_TRUE(s->RowMarked(6)) << "SP-ⅢW passes every check";
    EXPECT_EQ(s->data(s->index(6, 1), Qt::BackgroundRole).value<QBrush>().color(),
              ResultGridModel::PassColor());
    EXPECT_TRUE(s->headerData(6, Qt::Vertical).toString().contains(QStringLiteral("SP-ⅢW")));
    // Values as the report prints them, not every digit of the double.
    EXPECT_EQ(s->Text(6, 0), QStringLiteral("105.3"));
    EXPECT_EQ(s->Text(6, 1), QStringLiteral("13.53"));
    EXPECT_EQ(s->Text(6, 2), QStringLiteral("0.099"));
    // The built-in section's standard mass, and the mass of a metre of wall at the proposed L.
    EXPECT_EQ(s->Text(6, 3), QStringLiteral("136.0"));
    EXPECT_EQ(s->Text(6, 4), QStringLiteral("1904.0"));
    EXPECT_EQ(s->Text(5, 4), QString()) << "no mass x L for a section that fails";
    EXPECT_EQ(yaita->listLS->rowCount(), 11);
}

// Without a stored choice the window opens on the program's proposal, the first section passing
// every check (kinds in window order), marked 推奨, with L its required length rounded up to 0.5 m;
// with no passing section it says so above everything and opens on the section closest to
// passing.
TEST_F(ChoiceWindowTest, OpensOnTheProgramsProposalMarkedInItsList) {
    Open();
    EXPECT_EQ(yaita->kind(), 2);
    EXPECT_EQ(yaita->TabStrip1->currentIndex(), 2);
    EXPECT_EQ(yaita->numSect->value(), 7) << "SP-ⅢW, the first passing";
    EXPECT_NEAR(yaita->numL->value(), 14.0, 1e-9) << "Lreq 13.53 m rounded up";
    EXPECT_NEAR(yaita->numD->value(), 14.0 - hPrime, 1e-9);
    EXPECT_EQ(yaita->listS->RecommendedRow(), 6);
    EXPECT_TRUE(
        yaita->listS->headerData(6, Qt::Vertical).toString().contains(QStringLiteral("推奨")));
    EXPECT_EQ(yaita->listC->RecommendedRow(), -1);
    EXPECT_TRUE(yaita->lblNone->isHidden());

    // With masses, the passing section with the least mass x L: SP-Ⅳ at 100 kg/m2 before
    // SP-ⅢW at 136 (x 14.00 m); SP-ⅠA fails, however light, and shows no mass x L.
    w.reset();
    gInpSectS.Item(1)->Mass = 50;
    gInpSectS.Item(7)->Mass = 136;
    gInpSectS.Item(8)->Mass = 100;
    Open();
    EXPECT_EQ(yaita->listS->RecommendedRow(), 7);
    EXPECT_EQ(yaita->numSect->value(), 8);
    EXPECT_EQ(yaita->listS->Text(6, 3), QStringLiteral("136.0"));
    EXPECT_EQ(yaita->listS->Text(6, 4), QStringLiteral("1904.0"));
    EXPECT_EQ(yaita->listS->Text(0, 3), QStringLiteral("50.0"));
    EXPECT_EQ(yaita->listS->Text(0, 4), QString());

    w.reset();
    gInpSectS.Clear();  // light steel and concrete only: none of them passes
    ASSERT_TRUE(CalcMain());
    const usecase::Proposal none = usecase::ProposePassingPick(SnapshotResults());
    ASSERT_FALSE(none.pick);
    ASSERT_TRUE(none.closest);
    Open();
    EXPECT_TRUE(yaita->lblNone->isVisible());
    EXPECT_TRUE(yaita->lblNone->text().startsWith(
        QStringLiteral("全ての照査を満足する断面がありません。")));
    EXPECT_EQ(yaita->kind(), ChoiceValue(none.closest->kind));
    EXPECT_EQ(yaita->numSect->value(), none.closest->sect);
    EXPECT_NEAR(yaita->numL->value(),
                usecase::ProposedLength(RequiredLength(none.closest->kind, none.closest->sect)),
                1e-9);
    EXPECT_EQ(yaita->listLS->RecommendedRow(), -1);
}

// The keys do what the mouse does: the focus starts in the list on the pick's row, the arrow keys
// take the kind and section of the row they move to (and redraw the diagram), Enter also takes
// its required length; none of this closes the window.
TEST_F(ChoiceWindowTest, ArrowKeysAndEnterChooseLikeTheMouse) {
    Open();
    test::Pump();
    ASSERT_EQ(QApplication::focusWidget(), yaita->vaSpreadS) << "the keys start in the list";
    EXPECT_EQ(yaita->vaSpreadS->currentIndex().row(), 6) << "on the proposal's row";
    const int drawn = yaita->figForces->revision();
    QTest::keyClick(yaita->vaSpreadS, Qt::Key_Down);
    test::Pump();
    EXPECT_EQ(yaita->numSect->value(), 8);
    EXPECT_NEAR(yaita->numL->value(), 14.0, 1e-9) << "L stays until Enter";
    EXPECT_GT(yaita->figForces->revision(), drawn);
    QTest::keyClick(yaita->vaSpreadS, Qt::Key_Up);
    QTest::keyClick(yaita->vaSpreadS, Qt::Key_Up);
    QTest::keyClick(yaita->vaSpreadS, Qt::Key_Return);
    EXPECT_EQ(yaita->numSect->value(), 6);
    EXPECT_NEAR(yaita->numL->value(), usecase::ProposedLength(RequiredLength(PileKind::Steel, 6)),
                1e-9);
    EXPECT_NEAR(yaita->numD->value(), yaita->numL->value() - hPrime, 1e-9);
    EXPECT_TRUE(w->isVisible()) << "Enter in the list is no OK";
    // Another kind's list: its rows take its kind.
    yaita->TabStrip1->setCurrentIndex(1);
    yaita->vaSpreadLS->setFocus();
    QTest::keyClick(yaita->vaSpreadLS, Qt::Key_Down);
    EXPECT_EQ(yaita->kind(), 1);
    EXPECT_EQ(yaita->numSect->value(), yaita->vaSpreadLS->currentIndex().row() + 1);
}

TEST_F(ChoiceWindowTest, StoredChoiceReopensWithItsKindSectionAndLength) {
    StoreChoice(PileKind::LightSteel, 4, 0, 0, 8.5);
    Open();
    EXPECT_EQ(yaita->kind(), 1);
    EXPECT_EQ(yaita->frontGrid(), 1);
    EXPECT_EQ(yaita->numSect->value(), 4);
    EXPECT_DOUBLE_EQ(yaita->numL->value(), 8.5);
    EXPECT_NEAR(yaita->numD->value(), 8.5 - hPrime, 1e-9);
}

TEST_F(ChoiceWindowTest, TypedLengthGivesTheEmbedment) {
    Open();
    yaita->numH->setValue(7.25);
    Type(yaita->numL, QStringLiteral("12.5"));
    EXPECT_DOUBLE_EQ(yaita->numD->value(), 5.25);
    EXPECT_EQ(yaita->numD->text(), QStringLiteral("5.25"));
}

// The tab in front is the kind being chosen; a click on a row takes its kind and section, a
// double click also its required length rounded up to 0.5 m.
TEST_F(ChoiceWindowTest, TabsAndRowsChooseKindSectionAndLength) {
    Open();
    yaita->optYaita->button(1)->click();
    EXPECT_EQ(yaita->frontGrid(), 1);
    yaita->TabStrip1->setCurrentIndex(0);
    EXPECT_EQ(yaita->frontGrid(), 0);
    EXPECT_EQ(yaita->kind(), 0) << "switching the tab switches the kind";
    yaita->TabStrip1->setCurrentIndex(2);
    const QModelIndex row5 = yaita->listS->index(4, 0);
    emit yaita->vaSpreadS->clicked(row5);
    EXPECT_EQ(yaita->kind(), 2);
    EXPECT_EQ(yaita->numSect->value(), 5);
    yaita->numL->setValue(13.0);
    emit yaita->vaSpreadS->doubleClicked(row5);
    EXPECT_NEAR(yaita->numL->value(), 12.5, 1e-9) << "Lreq 12.14 m rounded up to 0.5 m";
    w->PressOk();
    EXPECT_EQ(w->UsrTag, QStringLiteral("OK"));
    EXPECT_EQ(gInpYaita.Yaita, 2);
    EXPECT_EQ(gInpYaita.Sect, 5);
    EXPECT_TRUE(gInpYaita.InpFlg);
    EXPECT_TRUE(gModified);
    EXPECT_NEAR(gInpYaita.H, hPrime, 1e-9);
    EXPECT_NEAR(gInpYaita.D, 12.5 - hPrime, 1e-9);
    EXPECT_TRUE(env.services.messages().empty());
}

// The texts of the diagram the view shows (all parts), to tell one figure from another.
std::vector<std::string> FigureTexts(const FigureView& v) {
    std::vector<std::string> out;
    for (const auto& p : v.figure().parts)
        if (p.figure)
            for (const auto& t : p.figure->texts) out.push_back(t.text);
    return out;
}

bool HasText(const FigureView& v, const std::string& prefix) {
    for (const std::string& t : FigureTexts(v))
        if (t.rfind(prefix, 0) == 0) return true;
    return false;
}

// The diagram beside the lists follows the pick: another row, another length, another kind
// each redraw it with that pile, quickly; a section that is not registered says so.
TEST_F(ChoiceWindowTest, ForceDiagramFollowsTheRowAndTheLength) {
    // The style files the figures are measured with, from the source tree.
    basResOutPrn::SetReportDataFolder(kuvelt::test::ProgramDir().string());
    struct Restore {
        ~Restore() { basResOutPrn::SetReportDataFolder(""); }
    } restore;
    Open();
    test::Pump();
    FigureView* v = yaita->figForces;
    ASSERT_TRUE(v->hasFigure()) << v->note().toStdString();
    const auto textsAt = [&] { return FigureTexts(*v); };
    const std::string pileOf5 = "使用矢板：鋼矢板 " + gInpSectS.Item(5)->Name + "（断面№5）";

    yaita->TabStrip1->setCurrentIndex(2);
    int before = v->revision();
    emit yaita->vaSpreadS->clicked(yaita->listS->index(4, 0));
    test::Pump();
    EXPECT_EQ(v->revision(), before + 1) << "kind and section set together draw once";
    ASSERT_TRUE(v->hasFigure());
    EXPECT_TRUE(HasText(*v, pileOf5));

    before = v->revision();
    const auto shorter = textsAt();
    Type(yaita->numL, QStringLiteral("12"));
    test::Pump();
    EXPECT_GT(v->revision(), before);
    EXPECT_TRUE(HasText(*v, pileOf5 + "，矢板全長 Ｌ ＝ 12.00 m"));
    EXPECT_NE(textsAt(), shorter);
    const double tip = gInpJyoken.ELYU - 12.0;
    EXPECT_TRUE(HasText(*v, "矢板先端 " + numfmt::FormatNumber(tip, "+0.000;-0.000")));

    // Shorter than H': the diagram says why nothing is drawn below the virtual ground.
    Type(yaita->numL, QString::number(hPrime - 1.0, 'f', 2));
    test::Pump();
    ASSERT_TRUE(v->hasFigure());
    EXPECT_TRUE(HasText(*v, "矢板全長Ｌが壁高Ｈ'より短く"));

    // Concrete has three sections: its fifth is no pile, its second is.
    yaita->optYaita->button(0)->click();
    test::Pump();
    EXPECT_FALSE(v->hasFigure());
    Type(yaita->numSect, QStringLiteral("2"));
    test::Pump();
    EXPECT_TRUE(HasText(*v, "使用矢板：ｺﾝｸﾘｰﾄ矢板"));
    Type(yaita->numSect, QStringLiteral("9"));
    test::Pump();
    EXPECT_FALSE(v->hasFigure());
    EXPECT_NE(v->note().indexOf(QStringLiteral("断面№9は登録されていない")), -1);
    const QImage shot = yaita->grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

// At the size the window opens with on a 1366 × 768 screen the diagram's text reads at 9 points
// or more, and it stays so when the window is made smaller down to where it fits with a panel.
TEST_F(ChoiceWindowTest, ForceDiagramTextIsLegibleAtTheWindowsSize) {
    basResOutPrn::SetReportDataFolder((kuvelt::test::SourceDir() / "data").string());
    struct Restore {
        ~Restore() { basResOutPrn::SetReportDataFolder(""); }
    } restore;
    Open();
    for (const QSize size : {w->size(), QSize(1280, 660)}) {
        w->resize(size);
        test::Pump();
        FigureView* v = yaita->figForces;
        ASSERT_TRUE(v->hasFigure()) << v->note().toStdString();
        const double textPx = v->PixelsPerMm() * v->TextHeightMm(frmInpYaita::kForceTextStyle);
        EXPECT_GE(textPx * 72.0 / v->logicalDpiY(), 9.0 - 1e-6)
            << size.width() << "x" << size.height() << ": view " << v->width() << "x"
            << v->height();
    }
}

struct SectRangeCase {
    const char* name;
    const char* typed;
};

class ChoiceSectionRange : public ChoiceWindowTest,
                           public ::testing::WithParamInterface<SectRangeCase> {};

TEST_P(ChoiceSectionRange, ShowsTheRangeAndKeepsTheFocus) {
    Open();
    Type(yaita->numSect, QString::fromUtf8(GetParam().typed));
    env.services.AnswerMessage(MsgAnswer::Ok);
    yaita->numL->setFocus(Qt::TabFocusReason);
    test::Pump();
    const Message range{0, "入力範囲：1 ～ 99", "矢板断面№", MsgIcon::Information, MsgButtons::Ok};
    EXPECT_EQ(env.services.messages(), std::vector<Message>{range});
    EXPECT_EQ(env.services.beeps, 1);
    EXPECT_TRUE(yaita->numSect->hasFocus());
}

INSTANTIATE_TEST_SUITE_P(Cases, ChoiceSectionRange,
                         ::testing::Values(SectRangeCase{"Zero", "0"},
                                           SectRangeCase{"Hundred", "100"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The refusal of a length L that does not reach below the design ground level, 3.50 m below the
// pile head.
Message NoEmbedment(const std::string& L) {
    return Message{0,
                   "矢板全長Ｌ " + L +
                       " m では矢板が設計地盤面より下に根入れされません（矢板天端から設計地盤面まで"
                       " 3.50 m）。矢板全長Ｌは 3.51 m 以上として下さい。",
                   "矢板長ｴﾗｰ", MsgIcon::Information, MsgButtons::Ok};
}

struct ChoiceCase {
    const char* name;
    int kind;
    int sect;
    double L;  // < 0: the required length of the section plus -L
    std::vector<MsgAnswer> answers;
    std::vector<Message> expected;
    bool stored;
};

class ChoiceChecks : public ChoiceWindowTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ChoiceChecks, MessagesThroughTheSeam) {
    const ChoiceCase& c = GetParam();
    Open();
    yaita->setKind(c.kind);
    yaita->numSect->setValue(c.sect);
    double L = c.L;
    const double lreq = RequiredLength(PileKind::Steel, c.sect);
    if (L < 0) L = lreq + L + 1.0;  // -1.01 -> Lreq - 0.01
    yaita->numL->setValue(L);
    yaita->UpdateEmbedment();
    for (MsgAnswer a : c.answers) env.services.AnswerMessage(a);
    w->PressOk();
    // The short-length question names this pick's lengths.
    std::vector<Message> expected = c.expected;
    for (Message& m : expected) {
        if (m == LengthTooShortQuestion(0, 0)) m = LengthTooShortQuestion(L, lreq);
    }
    EXPECT_EQ(env.services.messages(), expected);
    EXPECT_EQ(gInpYaita.InpFlg, c.stored);
    EXPECT_EQ(w->result() == QDialog::Accepted, c.stored);
    if (c.stored) {
        EXPECT_EQ(gInpYaita.Sect, c.sect);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChoiceChecks,
    ::testing::Values(
        // clang-format off
        ChoiceCase{"SectionMissingOk", 0, 4, 8.0, {MsgAnswer::Ok}, {SectionMissingMessage()}, false},
        ChoiceCase{"SectionMissingCancel", 0, 4, 8.0, {MsgAnswer::Cancel}, {SectionMissingMessage()}, false},
        ChoiceCase{"ConcreteAtLmax", 0, 2, 8.0, {}, {}, true},
        ChoiceCase{"ConcreteWithinTolerance", 0, 2, 8.0005, {}, {}, true},
        ChoiceCase{"ConcreteBeyondLmaxNo", 0, 2, 8.01, {MsgAnswer::No}, {LengthOutOfRangeQuestion()}, false},
        ChoiceCase{"ConcreteBeyondLmaxYes", 0, 2, 8.01, {MsgAnswer::Yes}, {LengthOutOfRangeQuestion()}, true},
        // Concrete is held to its manufactured range only, not to the required length (6.91 m).
        ChoiceCase{"ConcreteShortAndOutsideYes", 0, 2, 6.5, {MsgAnswer::Yes}, {LengthOutOfRangeQuestion()}, true},
        ChoiceCase{"SteelShortNo", 2, 5, -1.01, {MsgAnswer::No}, {LengthTooShortQuestion(0, 0)}, false},
        ChoiceCase{"SteelShortYes", 2, 5, -1.01, {MsgAnswer::Yes}, {LengthTooShortQuestion(0, 0)}, true},
        ChoiceCase{"SteelAtRequired", 2, 5, -1.0, {}, {}, true},
        // The pile head stands 3.50 m above the design ground level: 3.50 m has no embedment.
        ChoiceCase{"SteelWithoutEmbedment", 2, 5, 3.5, {MsgAnswer::Ok}, {NoEmbedment("3.50")}, false},
        ChoiceCase{"ConcreteWithoutEmbedment", 0, 1, 3.0, {MsgAnswer::Ok}, {NoEmbedment("3.00")}, false}),
    // clang-format on
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChoiceMessages, ExactTexts) {
    EXPECT_EQ(SectionMissingMessage(),
              (Message{0, "選択した断面№は登録されていません。必ず登録ﾃﾞｰﾀより選択して下さい。",
                       "断面№ｴﾗｰ", MsgIcon::Information, MsgButtons::OkCancel}));
    EXPECT_EQ(LengthOutOfRangeQuestion().text,
              "矢板長Ｌが登録ﾃﾞｰﾀのLmin～Lmaxの範囲外です。このまま実行しますか？");
    EXPECT_EQ(LengthTooShortQuestion(0, 0).buttons, MsgButtons::YesNo);
}

}  // namespace
}  // namespace kuvelt::ui
