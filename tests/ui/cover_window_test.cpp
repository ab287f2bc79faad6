// The cover window: each field edits its own text of the cover's block, typing stops at the
// field's code page 932 byte limit with what is left in the status line, the date button, and the
// list of the design's references.
// (OK and Cancel through the main window: main_window_test.cpp.)
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <map>
#include <set>

#include "model/design.h"
#include "model/design_fields.h"
#include "scripted_services.h"
#include "ui/fields.h"
#include "ui/frmInpHyoshi.h"
#include "ui/main_handlers.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

// Types `text` a character at a time as key presses carrying the character, as an input method
// delivers them, so the field's validator sees each one (QTest's key clicks take ASCII only).
void TypeText(QWidget* w, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &release);
    }
}

std::string& Text(const DesignField& f) {
    return *static_cast<std::string*>(f.member(&gInpHyoshi));
}

// Every text of the cover's block has exactly one field, which shows that text and stores into it.
TEST(CoverWindow, EachFieldEditsItsOwnText) {
    UiTestEnv env;
    std::map<std::string, std::string> loaded;
    for (const DesignField& f : DesignFields()) {
        if (f.record != Record::Hyoshi) continue;
        Text(f) = "読" + std::string(f.Member());
        loaded[std::string(f.name)] = Text(f);
    }
    ASSERT_EQ(loaded.size(), 6u);
    frmInpHyoshi w;
    Connect(&w);
    w.Prepare();
    std::set<std::string> seen;
    for (TextField* t : w.findChildren<TextField*>()) {
        ASSERT_TRUE(loaded.count(t->name())) << t->name();
        EXPECT_EQ(t->text8(), loaded[t->name()]) << t->name();
        EXPECT_TRUE(seen.insert(t->name()).second) << "two fields for " << t->name();
        t->setText("書" + t->name().substr(t->name().find('.') + 1));
    }
    EXPECT_EQ(seen.size(), loaded.size());
    w.PressOk();
    ASSERT_EQ(w.result(), QDialog::Accepted);
    for (const DesignField& f : DesignFields()) {
        if (f.record != Record::Hyoshi) continue;
        EXPECT_EQ(Text(f), "書" + std::string(f.Member())) << f.name;
    }
}

// Typing stops at the limit in code page 932 bytes (a full-width character takes two), and the
// status line says what is left while the field has the focus.
TEST(CoverWindow, TypingStopsAtTheByteLimitAndTheStatusLineCountsDown) {
    UiTestEnv env;
    frmInpHyoshi w;
    Connect(&w);
    w.Prepare();
    test::ShowActive(&w);
    struct Case {
        TextField* field;
        QString typed;
        std::string kept;
        int limit;
    } cases[] = {
        // 19 bytes: the full-width character would need two.
        {w.txtHan, QStringLiteral("第1版（改訂）その2ｱ全"), "第1版（改訂）その2ｱ", 20},
        {w.txtHizuke, QStringLiteral("令和6年10月1日（火曜）"), "令和6年10月1日（火曜", 20},
        {w.txtKojiMei,
         QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみ"),
         "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ", 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        c.field->setFocus(Qt::TabFocusReason);
        test::Pump();
        TypeText(c.field, c.typed);
        EXPECT_EQ(c.field->text8(), c.kept);
        EXPECT_EQ(w.statusLine()->text(), c.field->Hint());
        EXPECT_TRUE(w.statusLine()->text().startsWith(
            QStringLiteral("入力範囲：%1ﾊﾞｲﾄ以内の文字列").arg(c.limit)));
    }
    EXPECT_EQ(w.statusLine()->text(),
              QStringLiteral("入力範囲：60ﾊﾞｲﾄ以内の文字列（残り 0 ﾊﾞｲﾄ）"));
    w.txtHan->setFocus(Qt::TabFocusReason);
    test::Pump();
    EXPECT_EQ(w.statusLine()->text(),
              QStringLiteral("入力範囲：20ﾊﾞｲﾄ以内の文字列（残り 1 ﾊﾞｲﾄ）"));
    // A double quote would end the text in the design file: it is never taken.
    w.txtSekkeisha->setFocus(Qt::TabFocusReason);
    TypeText(w.txtSekkeisha, QStringLiteral("山田\"太郎"));
    EXPECT_EQ(w.txtSekkeisha->text8(), "山田太郎");
}

TEST(CoverWindow, TheDateButtonPutsTheDayInTheDateField) {
    UiTestEnv env;
    frmInpHyoshi w;
    Connect(&w);
    w.today = [] { return QDate(2024, 10, 1); };
    w.Prepare();
    w.txtHizuke->setText(std::string("前の日付"));
    QTest::mouseClick(w.cmdToday, Qt::LeftButton);
    EXPECT_EQ(w.txtHizuke->text8(), "2024年10月1日");
    EXPECT_EQ(CoverDateText(QDate(1999, 1, 31)), QStringLiteral("1999年1月31日"));
    w.PressOk();
    EXPECT_EQ(gInpHyoshi.Hizuke, "2024年10月1日");
}

// The references: loaded in order, added by typing in the list's editor (under the byte limit,
// the status line counting down), edited, moved, deleted, an emptied line dropped, and stored on
// OK in the list's order.
TEST(CoverWindow, TheReferencesAreAddedEditedMovedAndDeletedInTheList) {
    UiTestEnv env;
    gInpHyoshi.SankoBunken = {"A", "B", "C"};
    frmInpHyoshi w;
    Connect(&w);
    w.Prepare();
    test::ShowActive(&w);
    QListWidget* list = w.lstSankoBunken;
    ASSERT_EQ(w.references(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_FALSE(w.cmdBunkenUp->isEnabled());  // the first is current

    auto typeInEditor = [&](const QString& text) {
        test::Pump();
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        TypeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        test::Pump();
    };
    QTest::mouseClick(w.cmdBunkenAdd, Qt::LeftButton);
    typeInEditor(QStringLiteral("道路土工（平成24年版）") + QString(70, QLatin1Char('x')));
    EXPECT_EQ(w.statusLine()->text(), QString());  // the editor closed
    list->setCurrentRow(1);
    QTest::mouseClick(w.cmdBunkenEdit, Qt::LeftButton);
    typeInEditor(QStringLiteral("B\"2"));  // the double quote is never taken
    QTest::mouseClick(w.cmdBunkenDown, Qt::LeftButton);
    list->setCurrentRow(0);
    QTest::mouseClick(w.cmdBunkenDelete, Qt::LeftButton);
    QTest::mouseClick(w.cmdBunkenAdd, Qt::LeftButton);
    typeInEditor(QString());  // left empty: no reference
    const std::string road = "道路土工（平成24年版）" + std::string(58, 'x');  // 80 bytes
    EXPECT_EQ(w.references(), (std::vector<std::string>{"C", "B2", road}));
    EXPECT_EQ(list->count(), 3);

    while (list->count() < kMaxReferences) list->addItem(QStringLiteral("R"));
    list->setCurrentRow(0);
    EXPECT_FALSE(w.cmdBunkenAdd->isEnabled());
    w.PressOk();
    ASSERT_EQ(w.result(), QDialog::Accepted);
    ASSERT_EQ(gInpHyoshi.SankoBunken.size(), std::size_t(kMaxReferences));
    EXPECT_EQ(gInpHyoshi.SankoBunken[2], road);
}

}  // namespace
}  // namespace kuvelt::ui
