// The section registration grids: the table model without a view (columns, new-row values,
// the row limit, cell checks with the hint's range, block copy, cut and all-or-nothing paste)
// and the windows (29 -> 30 rows and the command enabling, hints in the status bar, refusal of
// a bad cell when it is left, the transfer to and from the catalogues, position and size).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "io/settings.h"
#include "model/design.h"
#include "platform/profile.h"
#include "scripted_services.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/frmInpSect.h"
#include "ui/frmMenuMain.h"
#include "ui/sect_grid_model.h"
#include "ui/window_factory.h"
#include "widgets/screen_fit.h"
#include "widgets/user_guide.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

Message Hint(const std::string& text, const std::string& title) {
    return Message{0, text, title, MsgIcon::Information, MsgButtons::Ok};
}

// ---- model -------------------------------------------------------------------------------

TEST(SectGridModel, NewRowsCarryTheColumnDefaults) {
    SectGridModel c("InpSectC");
    ASSERT_EQ(c.columnCount(), 7);
    ASSERT_TRUE(c.AddRow());
    const QStringList expected = {QStringLiteral("(未定義)"), QStringLiteral("平形矢板"),
                                  QStringLiteral("100"),      QStringLiteral("0"),
                                  QStringLiteral("0"),        QStringLiteral("0"),
                                  QStringLiteral("0")};  // no mass
    for (int col = 0; col < 7; ++col) EXPECT_EQ(c.CellText(0, col), expected[col]) << col;

    SectGridModel s("InpSectS");
    ASSERT_EQ(s.columnCount(), 6);
    ASSERT_TRUE(s.AddRow());
    const QStringList steel = {QStringLiteral("(未定義)"), QStringLiteral("100"),
                               QStringLiteral("10"),       QStringLiteral("100"),
                               QStringLiteral("10"),       QStringLiteral("0")};
    for (int col = 0; col < 6; ++col) EXPECT_EQ(s.CellText(0, col), steel[col]) << col;
    EXPECT_EQ(s.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Ｉ'(cm4/m)"));
}

// Every value a new design ships can be typed back into its cell unchanged: the column ranges
// admit the built-in sections (the light-steel LSP-2 has Ｉ' 85.1 and Ｉ 41.1 cm4/m).
TEST(SectGridModel, EveryBuiltInValueCanBeTypedBack) {
    colInpSectC concrete;
    AddBuiltInConcrete(concrete);
    colInpSectS light, steel;
    AddBuiltInLightSteel(light);
    AddBuiltInSteel(steel);
    SectGridModel c("InpSectC"), ls("InpSectLS"), st("InpSectS");
    c.LoadCatalogue(concrete);
    ls.LoadCatalogue(light);
    st.LoadCatalogue(steel);
    for (SectGridModel* m : {&c, &ls, &st}) {
        ASSERT_GT(m->rowCount(), 0);
        for (int row = 0; row < m->rowCount(); ++row) {
            for (int col = 0; col < m->columnCount(); ++col) {
                const QModelIndex at = m->index(row, col);
                EXPECT_TRUE(m->setData(at, m->data(at, Qt::EditRole)))
                    << m->Text(row, 0) << " column " << col << ": " << m->Hint(col).toStdString();
            }
        }
    }
    EXPECT_EQ(st.Hint(1), QStringLiteral("入力範囲：100～999999999.9")) << "steel keeps its limits";
}

// Every field of every row reaches its own column and comes back into its own member; a grid
// never takes a catalogue of the other record type.
TEST(SectGridModel, CataloguesLoadIntoTheirColumnsAndSaveBackWhole) {
    colInpSectC c;
    c.Add("80H", 1, 4100.5, 15.25, 3, 7.5);
    c.Add("溝型-1", 2, 2000, 9, 2, 4);
    colInpSectS s;
    s.Add("SP-ⅢW", 32400, 1800, 27500, 1530);
    s.Add("LSP-2", 85.1, 48.6, 41.1, 24.9);
    SectGridModel mc("InpSectC");
    SectGridModel ms("InpSectS");
    mc.LoadCatalogue(c);
    ms.LoadCatalogue(s);
    ms.LoadCatalogue(c);  // not its record type: nothing changes
    ASSERT_EQ(mc.rowCount(), 2);
    ASSERT_EQ(ms.rowCount(), 2);
    EXPECT_EQ(mc.Text(1, 0), "溝型-1");
    EXPECT_EQ(mc.CellText(1, 1), QStringLiteral("波形矢板"));
    const double concrete[] = {2, 2000, 9, 2, 4};
    for (int col = 1; col < 6; ++col) EXPECT_EQ(mc.Value(1, col), concrete[col - 1]) << col;
    const double steel[] = {32400, 1800, 27500, 1530};
    for (int col = 1; col < 5; ++col) EXPECT_EQ(ms.Value(0, col), steel[col - 1]) << col;
    colInpSectC c2;
    colInpSectS s2;
    s2.Add("stays", 1, 2, 3, 4);
    mc.SaveCatalogue(c2);
    ms.SaveCatalogue(s2);
    EXPECT_TRUE(c2 == c);
    EXPECT_TRUE(s2 == s);
    mc.SaveCatalogue(s2);  // not its record type: nothing changes
    EXPECT_TRUE(s2 == s);
}

TEST(SectGridModel, RowLimitRefusesAddAndInsertButNotDelete) {
    SectGridModel m("InpSectS");
    m.setRecMax(30);
    m.SetRowCount(29);
    EXPECT_TRUE(m.CanAdd());
    EXPECT_TRUE(m.AddRow());
    EXPECT_EQ(m.rowCount(), 30);
    EXPECT_FALSE(m.CanAdd());
    EXPECT_FALSE(m.AddRow());
    EXPECT_FALSE(m.InsertRow(0));
    EXPECT_EQ(m.rowCount(), 30);
    EXPECT_TRUE(m.DeleteRow(29));
    EXPECT_TRUE(m.CanAdd());
    EXPECT_FALSE(m.DeleteRow(29)) << "row 30 no longer exists";
}

TEST(SectGridModel, DeleteOnEmptyGridDoesNothing) {
    SectGridModel m("InpSectC");
    EXPECT_FALSE(m.DeleteRow(0));
    EXPECT_FALSE(m.DeleteRow(-1));
    EXPECT_EQ(m.rowCount(), 0);
}

TEST(SectGridModel, InsertMovesRowsDownAndFillsDefaults) {
    SectGridModel m("InpSectC");
    m.SetRowCount(4);
    for (int r = 0; r < 4; ++r) m.SetText(r, 0, "row" + std::to_string(r + 1));
    m.SetValue(2, 2, 5000);
    ASSERT_TRUE(m.InsertRow(2));  // before row 3
    ASSERT_EQ(m.rowCount(), 5);
    EXPECT_EQ(m.Text(1, 0), "row2");
    EXPECT_EQ(m.Text(2, 0), "(未定義)");
    EXPECT_EQ(m.Value(2, 2), 100);
    EXPECT_EQ(m.Value(2, 4), 0);
    EXPECT_EQ(m.Text(3, 0), "row3");
    EXPECT_EQ(m.Value(3, 2), 5000);
    EXPECT_EQ(m.Text(4, 0), "row4");
}

struct CellCase {
    const char* name;
    const char* grid;
    int col;
    const char* text;
    bool accepted;
};

class SectGridCellCheck : public ::testing::TestWithParam<CellCase> {};

TEST_P(SectGridCellCheck, RefusesWithTheHintsRange) {
    const CellCase& c = GetParam();
    SectGridModel m(c.grid);
    m.SetRowCount(1);
    const QString before = m.CellText(0, c.col);
    const auto refusal = m.CheckCell(c.col, QString::fromUtf8(c.text));
    const bool stored = m.setData(m.index(0, c.col), QString::fromUtf8(c.text));
    EXPECT_EQ(!refusal.has_value(), c.accepted);
    EXPECT_EQ(stored, c.accepted);
    if (refusal) {
        EXPECT_EQ(*refusal, Hint(U8(m.Hint(c.col)), std::string(m.column(c.col).caption)));
        EXPECT_EQ(m.CellText(0, c.col), before) << "a refused cell keeps its value";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SectGridCellCheck,
    ::testing::Values(CellCase{"IcAtMinimum", "InpSectC", 2, "100", true},
                      CellCase{"IcBelowMinimum", "InpSectC", 2, "99.9", false},
                      CellCase{"IcAtMaximum", "InpSectC", 2, "999999999.9", true},
                      CellCase{"IcAboveMaximum", "InpSectC", 2, "1000000000", false},
                      CellCase{"IcWithThousands", "InpSectC", 2, "1,040", true},
                      CellCase{"IcMalformed", "InpSectC", 2, "1.2.3", false},
                      CellCase{"IcEmpty", "InpSectC", 2, "", false},
                      CellCase{"McNegative", "InpSectC", 3, "-0.1", false},
                      CellCase{"LmaxTop", "InpSectC", 5, "99.9", true},
                      CellCase{"LmaxOver", "InpSectC", 5, "100", false},
                      CellCase{"ShapeCaption", "InpSectC", 1, "波形矢板", true},
                      CellCase{"ShapeIndex", "InpSectC", 1, "2", true},
                      CellCase{"ShapeUnknown", "InpSectC", 1, "丸形矢板", false},
                      CellCase{"ShapeIndexOut", "InpSectC", 1, "3", false},
                      CellCase{"Name15Bytes", "InpSectS", 0, "ABCDEFGHIJKLMNO", true},
                      CellCase{"Name16Bytes", "InpSectS", 0, "ABCDEFGHIJKLMNOP", false},
                      CellCase{"NameKanji14Bytes", "InpSectS", 0, "鋼矢板断面の登", true},
                      CellCase{"NameKanji16Bytes", "InpSectS", 0, "鋼矢板断面の登録", false},
                      CellCase{"NameDoubleQuote", "InpSectS", 0, "SP\"3", false},
                      CellCase{"NameEmpty", "InpSectS", 0, "", true},
                      CellCase{"ZdBelow", "InpSectS", 2, "9.99", false},
                      CellCase{"ZoTop", "InpSectS", 4, "9999999.9", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SectGridModel, HintsByCellKind) {
    SectGridModel c("InpSectC");
    EXPECT_EQ(c.Hint(0), QStringLiteral("入力範囲：15ﾊﾞｲﾄ以内の文字列"));
    EXPECT_EQ(c.Hint(1), QStringLiteral("入力範囲：(選択ﾘｽﾄ一覧より選択)"));
    EXPECT_EQ(c.Hint(2), QStringLiteral("入力範囲：100～999999999.9"));
    EXPECT_EQ(c.Hint(3), QStringLiteral("入力範囲：0～999.9"));
    SectGridModel s("InpSectS");
    EXPECT_EQ(s.Hint(2), QStringLiteral("入力範囲：10～9999999.9"));
}

TEST(SectGridModel, CopyAndCutBlocksAsTabSeparatedRows) {
    SectGridModel m("InpSectC");
    m.SetRowCount(3);
    m.SetText(1, 0, "60H");
    m.SetValue(1, 1, 1);
    m.SetValue(1, 2, 1800);
    m.SetValue(2, 2, 2860.5);
    EXPECT_EQ(m.CopyBlock({1, 0, 2, 2}),
              QStringLiteral("60H\t溝型矢板\t1800\r\n(未定義)\t平形矢板\t2860.5\r\n"));
    EXPECT_EQ(m.CopyBlock({1, 2, 1, 2}), QStringLiteral("1800\r\n"));

    EXPECT_EQ(m.CutBlock({1, 1, 1, 2}), QStringLiteral("溝型矢板\t1800\r\n"));
    EXPECT_EQ(m.Value(1, 1), 0) << "a cut cell goes back to the new-row value";
    EXPECT_EQ(m.Value(1, 2), 100);
    EXPECT_EQ(m.Text(1, 0), "60H") << "cells outside the block stay";
}

TEST(SectGridModel, PasteWritesTheBlockAndAddsRowsWithinTheLimit) {
    SectGridModel m("InpSectS");
    m.SetRowCount(1);
    CellBlock pasted;
    // As a spreadsheet puts it on the clipboard: tabs, CR LF, a trailing line end.
    ASSERT_FALSE(m.PasteBlock(0, 0,
                              QStringLiteral("SP-Ⅲ\t16800\t1340\t14300\t1140\r\n"
                                             "SP-Ⅳ\t38,600\t2270\t33200\t1950\r\n"),
                              &pasted));
    EXPECT_EQ(m.rowCount(), 2);
    EXPECT_EQ(m.Text(0, 0), "SP-Ⅲ");
    EXPECT_EQ(m.Value(1, 1), 38600);
    EXPECT_EQ(m.Value(1, 4), 1950);
    EXPECT_EQ(pasted.top, 0);
    EXPECT_EQ(pasted.bottom, 1);
    EXPECT_EQ(pasted.right, 4);

    // A round trip through copy gives back the same cells.
    const QString copied = m.CopyBlock({0, 0, 1, 4});
    SectGridModel other("InpSectS");
    ASSERT_FALSE(other.PasteBlock(0, 0, copied));
    EXPECT_EQ(other.CopyBlock({0, 0, 1, 4}), copied);
}

struct PasteCase {
    const char* name;
    int rows;  // rows before the paste
    int row, col;
    const char* text;
    Message expected;
};

class SectGridPasteRefusal : public ::testing::TestWithParam<PasteCase> {};

TEST_P(SectGridPasteRefusal, ChangesNothing) {
    const PasteCase& c = GetParam();
    SectGridModel m("InpSectC");
    m.setRecMax(30);
    m.SetRowCount(c.rows);
    for (int r = 0; r < c.rows; ++r) m.SetText(r, 0, "keep" + std::to_string(r));
    const QString before = m.CopyBlock({0, 0, c.rows - 1, 5});
    const auto refusal = m.PasteBlock(c.row, c.col, QString::fromUtf8(c.text));
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(*refusal, c.expected);
    EXPECT_EQ(m.rowCount(), c.rows);
    EXPECT_EQ(m.CopyBlock({0, 0, c.rows - 1, 5}), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SectGridPasteRefusal,
    ::testing::Values(
        PasteCase{"TooWide", 3, 0, 4, "1\t2\t3\t4\r\n", PasteTooWideMessage(4, 3)},
        PasteCase{"BeyondRowLimit", 29, 28, 0, "a\r\nb\r\nc\r\n", PasteTooLongMessage(30)},
        PasteCase{"BadCellInLastRow", 3, 0, 2, "1000\t5\r\n2000\t1000\r\n",
                  PasteBadCellMessage(2, GridColumns("InpSectC")[3], QStringLiteral("1000"))},
        PasteCase{"BadShape", 3, 1, 1, "平形矢板\r\n鋼管\r\n",
                  PasteBadCellMessage(2, GridColumns("InpSectC")[1], QStringLiteral("鋼管"))},
        PasteCase{"Empty", 3, 0, 0, "", PasteEmptyMessage()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SectGridModel, PasteMessagesSayWhy) {
    EXPECT_EQ(
        PasteTooLongMessage(30).text,
        "貼り付けると登録できる断面数（最大30断面）を超えます。\n貼り付けは行いませんでした。");
    EXPECT_EQ(PasteBadCellMessage(2, GridColumns("InpSectC")[3], QStringLiteral("1000")).text,
              "貼り付けるﾃﾞｰﾀの 2 行目、「Ｍc(kN･m/m)」の値「1000」は入力できません。\n"
              "入力範囲：0～999.9\n貼り付けは行いませんでした。");
    EXPECT_EQ(PasteTooWideMessage(3, 2).title, "貼り付け");
}

// A new row copies the row above it (with a fresh name); a first row takes the catalogue's
// first built-in section, so no row starts with Mc = 0 and Lmin = Lmax = 0.
TEST(SectGridModel, NewRowsStartFromTheRowAboveOrTheUsualSection) {
    colInpSectC concrete;
    AddBuiltInConcrete(concrete);
    colInpSectS light;
    AddBuiltInLightSteel(light);
    SectGridModel c("InpSectC");
    c.SetUsualRow(concrete);
    SectGridModel s("InpSectS");
    s.SetUsualRow(light);
    struct Case {
        SectGridModel* m;
        QString usual, edited;
    } cases[] = {{&c, QStringLiteral("(未定義)\t平形矢板\t1040\t5.4\t2\t4\t0\r\n"),
                  QStringLiteral("80H\t波形矢板\t4100\t15\t3\t7.5\t380\r\n")},
                 {&s, QStringLiteral("(未定義)\t85.1\t48.6\t41.1\t24.9\t0\r\n"),
                  QStringLiteral("LSP-X\t500\t100\t400\t90\t61.5\r\n")}};
    for (const Case& k : cases) {
        SectGridModel& m = *k.m;
        const int last = m.columnCount() - 1;
        ASSERT_TRUE(m.AddRow());
        EXPECT_EQ(m.CopyBlock({0, 0, 0, last}), k.usual);
        ASSERT_FALSE(m.PasteBlock(0, 0, k.edited));
        QString fresh = k.edited;
        fresh.replace(0, fresh.indexOf(QLatin1Char('\t')), QStringLiteral("(未定義)"));
        ASSERT_TRUE(m.AddRow());
        EXPECT_EQ(m.CopyBlock({1, 0, 1, last}), fresh) << "added below the edited row";
        ASSERT_TRUE(m.InsertRow(1));
        EXPECT_EQ(m.CopyBlock({1, 0, 1, last}), fresh) << "inserted below the edited row";
        ASSERT_TRUE(m.InsertRow(0));
        EXPECT_EQ(m.CopyBlock({0, 0, 0, last}), k.usual) << "inserted as the first row";
        // Rows a paste adds below the last take the rest of their cells from the row above.
        const int rows = m.rowCount();
        ASSERT_FALSE(m.PasteBlock(rows, 0, QStringLiteral("新\r\n")));
        EXPECT_EQ(m.CopyBlock({rows, 1, rows, last}), m.CopyBlock({rows - 1, 1, rows - 1, last}));
    }
}

// Lmin > Lmax is refused when typed and when pasted, with the grid row named; Lmin = Lmax is a
// section of one length.
TEST(SectGridModel, LminAboveLmaxIsRefusedTypedAndPasted) {
    colInpSectC concrete;
    AddBuiltInConcrete(concrete);  // 50H 2-4 m, 60H 2.5-5 m, 70H 2.5-6 m
    SectGridModel m("InpSectC");
    m.LoadCatalogue(concrete);
    EXPECT_EQ(m.LminColumn(), 4);
    EXPECT_EQ(m.LmaxColumn(), 5);
    EXPECT_EQ(m.CheckCell(1, 4, QStringLiteral("5.5")), LengthOrderMessage(2, 5.5, 5, "Lmin(m)"));
    EXPECT_EQ(LengthOrderMessage(2, 5.5, 5, "Lmin(m)").text,
              "2 行目の Lmin(m) 5.5 が Lmax(m) 5 を超えています。\n"
              "Lmin(m) は Lmax(m) 以下として下さい。");
    EXPECT_EQ(m.CheckCell(2, 5, QStringLiteral("2")), LengthOrderMessage(3, 2.5, 2, "Lmax(m)"));
    EXPECT_EQ(m.CheckCell(1, 4, QStringLiteral("5")), std::nullopt);
    EXPECT_EQ(m.CheckCell(1, 5, QStringLiteral("2.5")), std::nullopt);
    EXPECT_EQ(m.CheckCell(1, 4, QStringLiteral("100")), m.CheckCell(4, QStringLiteral("100")))
        << "the column's range comes first";
    EXPECT_EQ(m.FirstCrossedLengthRow(), -1);

    const QString before = m.CopyBlock({0, 0, 2, 5});
    const std::pair<std::pair<int, int>, const char*> refused[] = {
        {{1, 4}, "6\t5.5\r\n"},     // both cells of row 2, crossed
        {{0, 5}, "3\r\n1\r\n"},     // Lmax of rows 1-2 below their Lmin: row 2 named
        {{2, 4}, "3\t4\r\n7\r\n"},  // a row added below takes Lmax 4 from row 3 as pasted
    };
    const Message expected[] = {LengthOrderMessage(2, 6, 5.5, "貼り付け", true),
                                LengthOrderMessage(2, 2.5, 1, "貼り付け", true),
                                LengthOrderMessage(4, 7, 4, "貼り付け", true)};
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        const auto [at, text] = refused[i];
        EXPECT_EQ(m.PasteBlock(at.first, at.second, QString::fromUtf8(text)), expected[i]) << i;
        EXPECT_EQ(m.rowCount(), 3) << i;
        EXPECT_EQ(m.CopyBlock({0, 0, 2, 5}), before) << i;
    }
    EXPECT_NE(
        LengthOrderMessage(2, 6, 5.5, "貼り付け", true).text.find("貼り付けは行いませんでした"),
        std::string::npos);
    EXPECT_EQ(m.PasteBlock(1, 4, QStringLiteral("5.5\t5.5\r\n")), std::nullopt);
    m.SetValue(2, 4, 7);  // as read from a file
    EXPECT_EQ(m.FirstCrossedLengthRow(), 2);
    SectGridModel steel("InpSectS");
    EXPECT_EQ(steel.LminColumn(), -1);
}

// ---- windows -----------------------------------------------------------------------------

class SectWindowTest : public ::testing::Test {
  protected:
    void Open(int button) {
        w = CreateMenuWindow(button, nullptr);
        ASSERT_TRUE(w);
        sect = static_cast<frmInpSect*>(w.get());
        w->Prepare();
        test::ShowActive(w.get());
        sect->grid()->setFocus(Qt::TabFocusReason);
        test::Pump();
    }
    UiTestEnv env;
    std::unique_ptr<InputWindow> w;
    frmInpSect* sect = nullptr;
};

TEST_F(SectWindowTest, LoadsTheCatalogueAndSavesItBackInGridOrder) {
    Open(frmMenuMain::kInpSectC);
    SectGridModel* m = sect->model();
    ASSERT_EQ(m->rowCount(), 3);
    EXPECT_EQ(m->Text(1, 0), "60H");
    EXPECT_EQ(m->Value(1, 2), 1800);
    EXPECT_EQ(m->Value(2, 5), 6);
    gInpYaita.InpFlg = true;
    m->SetValue(0, 1, 2);
    m->DeleteRow(1);
    w->PressOk();
    EXPECT_EQ(w->UsrTag, QStringLiteral("OK"));
    ASSERT_EQ(gInpSectC.Count(), 2);
    EXPECT_EQ(gInpSectC.Item(1)->Keijyo, 2);
    EXPECT_EQ(gInpSectC.Item(2)->Name, "70H");
    EXPECT_FALSE(gInpYaita.InpFlg) << "a saved catalogue renumbers its sections";
    EXPECT_TRUE(gModified);
}

TEST_F(SectWindowTest, LightSteelWindowShowsTheButtonCaptionAndEditsItsCatalogue) {
    Open(frmMenuMain::kInpSectLS);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("軽量鋼矢板断面の登録"));
    EXPECT_EQ(w->section(), "InpSectS");
    ASSERT_EQ(sect->model()->rowCount(), 11);
    EXPECT_EQ(sect->model()->Text(4, 0), "LSP-3D(t=5)");
    while (sect->model()->rowCount() > 0) sect->EditDelete();
    w->PressOk();
    EXPECT_EQ(gInpSectLS.Count(), 0) << "a grid reduced to zero rows empties the catalogue";
    EXPECT_EQ(gInpSectS.Count(), 12);
}

TEST_F(SectWindowTest, CancelLeavesTheCatalogue) {
    Open(frmMenuMain::kInpSectS);
    sect->EditAdd();
    w->reject();
    EXPECT_EQ(w->UsrTag, QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_EQ(gInpSectS.Count(), 12);
    EXPECT_FALSE(gModified);
}

TEST_F(SectWindowTest, TheThirtiethRowDisablesAddAndInsertAndDeleteEnablesThem) {
    Open(frmMenuMain::kInpSectS);  // 12 steel rows
    while (sect->model()->rowCount() < 29) sect->EditAdd();
    EXPECT_TRUE(sect->mnuEditAdd->isEnabled());
    sect->EditAdd();
    EXPECT_EQ(sect->model()->rowCount(), 30);
    EXPECT_EQ(sect->grid()->currentIndex().row(), 29) << "the new row is the current row";
    for (QAction* a : {sect->mnuEditAdd, sect->mnuEditIns, sect->tbrAdd, sect->tbrInsert}) {
        EXPECT_FALSE(a->isEnabled()) << U8(a->objectName());
    }
    sect->tbrAdd->trigger();
    sect->EditInsert();
    EXPECT_EQ(sect->model()->rowCount(), 30);
    sect->tbrDelete->trigger();
    EXPECT_EQ(sect->model()->rowCount(), 29);
    for (QAction* a : {sect->mnuEditAdd, sect->mnuEditIns, sect->tbrAdd, sect->tbrInsert}) {
        EXPECT_TRUE(a->isEnabled()) << U8(a->objectName());
    }
}

TEST_F(SectWindowTest, MenuItemsAndToolbarKeys) {
    Open(frmMenuMain::kInpSectC);
    EXPECT_EQ(sect->mnuEditDel->text(), QStringLiteral("ﾃﾞｰﾀ行削除(&D) "));
    EXPECT_EQ(sect->mnuEditIns->text(), QStringLiteral("ﾃﾞｰﾀ行挿入(&I)"));
    QStringList keys;
    for (QAction* a : {sect->tbrCut, sect->tbrCopy, sect->tbrPaste, sect->tbrAdd, sect->tbrInsert,
                       sect->tbrDelete}) {
        keys << a->data().toString();
    }
    EXPECT_EQ(keys.join(QLatin1Char(',')), QStringLiteral("Cut,Copy,Paste,Add,Insert,Delete"));
}

TEST_F(SectWindowTest, HintFollowsTheActiveCellAndClearsWhenTheGridIsLeft) {
    Open(frmMenuMain::kInpSectC);
    EXPECT_EQ(sect->hintText(), QStringLiteral("入力範囲：15ﾊﾞｲﾄ以内の文字列"));
    sect->grid()->setCurrentIndex(sect->model()->index(0, 1));
    EXPECT_EQ(sect->hintText(), QStringLiteral("入力範囲：(選択ﾘｽﾄ一覧より選択)"));
    sect->grid()->setCurrentIndex(sect->model()->index(2, 2));
    EXPECT_EQ(sect->hintText(), QStringLiteral("入力範囲：100～999999999.9"));
    w->okButton()->setFocus(Qt::OtherFocusReason);
    test::Pump();
    EXPECT_EQ(sect->hintText(), QString());
}

TEST_F(SectWindowTest, CopyWithoutSelectionCopiesTheActiveCellOnly) {
    Open(frmMenuMain::kInpSectC);
    sect->grid()->setCurrentIndex(sect->model()->index(1, 2));
    sect->grid()->clearSelection();
    sect->EditCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("1800\r\n"));
}

TEST_F(SectWindowTest, PasteRefusalIsShownAndChangesNothing) {
    Open(frmMenuMain::kInpSectC);
    sect->grid()->setCurrentIndex(sect->model()->index(0, 4));
    QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\t3\t4\r\n"));
    env.services.AnswerMessage(MsgAnswer::Ok);
    sect->EditPaste();
    EXPECT_EQ(env.services.messages(), std::vector<Message>{PasteTooWideMessage(4, 3)});
    EXPECT_EQ(env.services.beeps, 1);
    EXPECT_EQ(sect->model()->Value(0, 4), 2);
}

TEST_F(SectWindowTest, BadCellIsRefusedWhenLeftAndReopened) {
    Open(frmMenuMain::kInpSectC);
    const QModelIndex ic = sect->model()->index(0, 2);
    sect->grid()->setCurrentIndex(ic);
    sect->grid()->edit(ic);
    test::Pump();
    auto* editor = qobject_cast<QLineEdit*>(sect->grid()->indexWidget(ic));
    ASSERT_TRUE(editor);
    editor->setText(QStringLiteral("50"));
    env.services.AnswerMessage(MsgAnswer::Ok);
    // Enter leaves the cell.
    QTest::keyClick(editor, Qt::Key_Return);
    test::Pump();
    EXPECT_EQ(env.services.messages(),
              std::vector<Message>{Hint("入力範囲：100～999999999.9", "I(cm4/m)")});
    EXPECT_EQ(env.services.beeps, 1);
    EXPECT_EQ(sect->model()->Value(0, 2), 1040) << "the cell keeps its value";
    auto* reopened = qobject_cast<QLineEdit*>(sect->grid()->indexWidget(ic));
    ASSERT_TRUE(reopened) << "the cell is reopened for correction";
    EXPECT_EQ(reopened->text(), QStringLiteral("50"));

    // OK with the bad text still in the cell refuses again and does not close.
    env.services.AnswerMessage(MsgAnswer::Ok);
    w->okButton()->click();
    test::Pump();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(gInpSectC.Item(1)->Ic, 1040);
}

TEST_F(SectWindowTest, TypedLminAboveLmaxIsRefusedAndACrossedRowRefusesOk) {
    Open(frmMenuMain::kInpSectC);
    const QModelIndex lmin = sect->model()->index(0, 4);
    sect->grid()->setCurrentIndex(lmin);
    sect->grid()->edit(lmin);
    test::Pump();
    auto* editor = qobject_cast<QLineEdit*>(sect->grid()->indexWidget(lmin));
    ASSERT_TRUE(editor);
    editor->setText(QStringLiteral("4.5"));
    env.services.AnswerMessage(MsgAnswer::Ok);
    QTest::keyClick(editor, Qt::Key_Return);
    test::Pump();
    EXPECT_EQ(env.services.messages(),
              std::vector<Message>{LengthOrderMessage(1, 4.5, 4, "Lmin(m)")});
    EXPECT_EQ(sect->model()->Value(0, 4), 2);
    auto* reopened = qobject_cast<QLineEdit*>(sect->grid()->indexWidget(lmin));
    ASSERT_TRUE(reopened) << "reopened for correction";
    reopened->setText(QStringLiteral("4"));
    QTest::keyClick(reopened, Qt::Key_Return);
    test::Pump();
    EXPECT_EQ(sect->model()->Value(0, 4), 4);

    // A crossed row that was never typed (read from a file) stops OK, naming its row.
    env.services.ClearRecord();
    sect->model()->SetValue(2, 5, 1.5);
    env.services.AnswerMessage(MsgAnswer::Ok);
    w->PressOk();
    test::Pump();
    EXPECT_EQ(env.services.messages(),
              std::vector<Message>{LengthOrderMessage(3, 2.5, 1.5, "Lmin(m)")});
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(sect->grid()->currentIndex(), sect->model()->index(2, 4));
    EXPECT_EQ(gInpSectC.Item(3)->Lmax, 6);
}

// Ctrl+V pastes whenever the grid has the focus, also straight after a message box closed
// (here a real box, closed by Return).
TEST_F(SectWindowTest, ClipboardKeysWorkRightAfterAMessageBox) {
    Open(frmMenuMain::kInpSectC);
    env.services.realBoxes = true;
    sect->grid()->setCurrentIndex(sect->model()->index(0, 4));
    QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\t3\t4\r\n"));
    env.services.AnswerMessage(MsgAnswer::Ok);
    QTest::keyClick(sect->grid(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(env.services.messages(), std::vector<Message>{PasteTooWideMessage(4, 3)});
    QGuiApplication::clipboard()->setText(QStringLiteral("3\t3.5\r\n"));
    QTest::keyClick(sect->grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(sect->model()->Value(0, 4), 3);
    EXPECT_EQ(sect->model()->Value(0, 5), 3.5);
    sect->grid()->setCurrentIndex(sect->model()->index(1, 0));
    QTest::keyClick(sect->grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("60H\r\n"));
}

TEST_F(SectWindowTest, CancelWithABadCellOpenSaysNothing) {
    Open(frmMenuMain::kInpSectC);
    const QModelIndex mc = sect->model()->index(0, 3);
    sect->grid()->setCurrentIndex(mc);
    sect->grid()->edit(mc);
    test::Pump();
    auto* editor = qobject_cast<QLineEdit*>(sect->grid()->indexWidget(mc));
    ASSERT_TRUE(editor);
    editor->setText(QStringLiteral("5000"));
    w->cancelButton()->click();
    test::Pump();
    EXPECT_TRUE(env.services.messages().empty());
    EXPECT_EQ(gInpSectC.Item(1)->Mc, 5.4);
}

TEST_F(SectWindowTest, StoresAndRestoresPositionAndSize) {
    CPrivateProfile::SetValueString(gIniFile, "InpSectS", "Width", "9000");
    CPrivateProfile::SetValueString(gIniFile, "InpSectS", "Height", "6000");
    Open(frmMenuMain::kInpSectS);
    const double dpi = w->screen()->logicalDotsPerInchX();
    EXPECT_NEAR(w->width(), 9000 * dpi / 1440.0, 1.5);
    w->resize(700, 500);
    w->reject();
    const int widthTwips = CPrivateProfile::GetValueLong(gIniFile, "InpSectS", "Width");
    EXPECT_NEAR(widthTwips, 700 * 1440.0 / dpi, 15);
    EXPECT_GT(CPrivateProfile::GetValueLong(gIniFile, "InpSectS", "Height"), 0);
    EXPECT_NE(CPrivateProfile::GetValueString(gIniFile, "InpSectS", "Top"), "");
    // A size left on a larger screen opens no larger than this one, the whole window on it.
    CPrivateProfile::SetValueString(gIniFile, "InpSectS", "Width", "60000");
    CPrivateProfile::SetValueString(gIniFile, "InpSectS", "Height", "40000");
    Open(frmMenuMain::kInpSectS);
    const QRect free = w->screen()->availableGeometry();
    EXPECT_TRUE(free.contains(QRect(w->pos(), w->size().grownBy(widgets::FrameMargins(w.get())))))
        << w->width() << "x" << w->height();
}

struct MenuWindowCase {
    const char* name;
    int button;
    const char* title;
    const char* section;
    int recMax;
    int topic;  // the guide's section
};

class MenuWindowSettings : public ::testing::TestWithParam<MenuWindowCase> {};

TEST_P(MenuWindowSettings, CaptionSectionRowLimitAndHelp) {
    UiTestEnv env;
    const MenuWindowCase& c = GetParam();
    auto w = CreateMenuWindow(c.button, nullptr);
    ASSERT_TRUE(w);
    w->Prepare();
    EXPECT_EQ(U8(w->windowTitle()), c.title);
    EXPECT_EQ(w->section(), c.section);
    EXPECT_EQ(w->UsrRecMax, c.recMax);
    // The help button (the print menu has none, only F1) opens the guide at the window's
    // section.
    if (w->helpButton()) {
        EXPECT_TRUE(w->helpButton()->isEnabled());
    }
    EXPECT_EQ(w->UsrHelpFile.toStdString(), UserGuideFile());
    EXPECT_EQ(w->UsrHelpContextID, c.topic);
    QTest::keyClick(w.get(), Qt::Key_F1);
    ASSERT_FALSE(env.services.calls.empty());
    EXPECT_EQ(env.services.calls.back().kind, test::Call::Help);
    EXPECT_EQ(env.services.calls.back().topic, c.topic);
    w->reject();
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, MenuWindowSettings,
    ::testing::Values(MenuWindowCase{"Conditions", frmMenuMain::kInpJyoken, "設計条件の入力",
                                     "InpJyoken", 0, guide::kTopicConditions},
                      MenuWindowCase{"Ground", frmMenuMain::kInpJiban, "地盤条件の入力", "InpJiban",
                                     0, guide::kTopicGround},
                      MenuWindowCase{"Materials", frmMenuMain::kInpZairyo, "材料条件の入力",
                                     "InpZairyo", 0, guide::kTopicMaterials},
                      MenuWindowCase{"Concrete", frmMenuMain::kInpSectC, "ｺﾝｸﾘｰﾄ矢板断面の登録",
                                     "InpSectC", 30, guide::kTopicSections},
                      MenuWindowCase{"LightSteel", frmMenuMain::kInpSectLS, "軽量鋼矢板断面の登録",
                                     "InpSectS", 30, guide::kTopicSections},
                      MenuWindowCase{"Steel", frmMenuMain::kInpSectS, "鋼矢板断面の登録",
                                     "InpSectS", 30, guide::kTopicSections},
                      MenuWindowCase{"Choice", frmMenuMain::kInpYaita, "使用矢板の決定", "InpYaita",
                                     0, guide::kTopicChoice},
                      MenuWindowCase{"Boiling", frmMenuMain::kResOutAs, "ボイリングの検討",
                                     "ResOutAs", 0, guide::kTopicStability},
                      MenuWindowCase{"Heaving", frmMenuMain::kResOutAc, "ヒービングの検討",
                                     "ResOutAc", 0, guide::kTopicStability},
                      MenuWindowCase{"Numbering", frmMenuMain::kInpRenban, "連番条件設定",
                                     "InpRenban", 0, guide::kTopicNumbering}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MenuWindowSettings, OnlyButtonsHaveAWindow) {
    EXPECT_FALSE(CreateMenuWindow(-1, nullptr));
    EXPECT_FALSE(CreateMenuWindow(frmMenuMain::kButtonCount, nullptr));
}

}  // namespace
}  // namespace kuvelt::ui
