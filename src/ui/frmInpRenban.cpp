#include "ui/frmInpRenban.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "io/settings.h"
#include "ui/fields.h"
#include "ui/form_layout.h"
#include "ui/ui_services.h"

namespace kuvelt::ui {

std::array<std::string, 4> LevelTexts(int method) {
    switch (method) {
        case 1:
            return {"(章)○○○", "(節)○○○", "(項)○○○", "(No)○○○"};
        case 2:
            return {"(章)○○○", "(章)-(節)○○○", "(章)-(節)-(項)○○○", "(No)○○○"};
        case 3:
            return {"(章)○○○", "(章).(節)○○○", "(章).(節).(項)○○○", "(No)○○○"};
        default:
            return {"○○○", "○○○", "○○○", "○○○"};
    }
}

std::string MarginSample(int method, const std::array<int, 4>& margins) {
    const std::array<std::string, 4> t = LevelTexts(method);
    auto line = [&](int level) {
        const int m = std::max(0, margins[std::size_t(level)]);
        return std::string(std::size_t(m), ' ') + t[std::size_t(level)] + "\r\n";
    };
    return line(0) + line(1) + line(2) + line(3) + "\r\n" + line(0) + line(1);
}

std::string MethodSample(int method) { return MarginSample(method, {0, 2, 4, 8}); }

const std::array<const char*, 9>& StyleEntries() {
    static const std::array<const char*, 9> entries = {
        "1,2,3,..99",         "(1),(2),(3) ...(99)", "1),2),3),.(99)",
        "(a),(b),(c),...(z)", "a),b),c),...z)",      "(i),(ii),(iii),...(x)",
        "i),ii),iii),...x)",  "①,②,③,...⑳",          "・,・,・,...・"};
    return entries;
}

namespace {

QPlainTextEdit* SampleBox(QWidget* parent, const char* name) {
    auto* t = new QPlainTextEdit(parent);
    t->setObjectName(QString::fromUtf8(name));
    t->setReadOnly(true);
    t->setFocusPolicy(Qt::NoFocus);
    t->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Margins count half-width characters: the sample needs a font in which a full-width
    // character is exactly two half-width ones.
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                   QStringLiteral("MS Gothic"), f.family()});
    f.setStyleHint(QFont::TypeWriter);
    t->setFont(f);
    t->setMinimumSize(t->fontMetrics().horizontalAdvance(QString(30, QLatin1Char('0'))),
                      t->fontMetrics().lineSpacing() * 8 + 12);
    return t;
}

// The text shown in a sample box: its lines without the CR of the line ends.
QString SampleText(const std::string& sample) {
    QString s = Q(sample);
    s.remove(QLatin1Char('\r'));
    if (s.endsWith(QLatin1Char('\n'))) s.chop(1);
    return s;
}

}  // namespace

frmInpRenban::frmInpRenban(QWidget* parent)
    : InputWindow(std::string(ini::kInpRenban), QStringLiteral("連番条件設定"), parent) {
    auto* top = new QVBoxLayout(this);
    TabStrip1 = new QTabWidget(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));

    // Tab1 "表現方法"
    auto* page1 = new QWidget(TabStrip1);
    auto* p1 = new QGridLayout(page1);
    auto* methodBox = new QGroupBox(QStringLiteral("表現方法"), page1);
    auto* mv = new QVBoxLayout(methodBox);
    optMethod = new QButtonGroup(this);
    const char* const methods[] = {"なし", "(章)／(節)…", "(章)－(節)…", "(章)．(節)…"};
    for (int i = 0; i < 4; ++i) {
        auto* rb = new QRadioButton(QString::fromUtf8(methods[i]), methodBox);
        rb->setObjectName(QStringLiteral("optMethod") + QString::number(i));
        optMethod->addButton(rb, i);
        mv->addWidget(rb);
    }
    mv->addStretch(1);
    p1->addWidget(methodBox, 0, 0);
    txtMethod = SampleBox(page1, "txtMethod");
    p1->addWidget(txtMethod, 0, 1);
    auto* initRow = new QGridLayout;
    numInit = AddNumRow(initRow, 0, "frmInpRenban.numInit", page1);
    initRow->setColumnStretch(2, 1);
    p1->addLayout(initRow, 1, 0, 1, 2);
    TabStrip1->addTab(page1, QStringLiteral("表現方法"));

    // Tab2 "連番種類"
    auto* page2 = new QWidget(TabStrip1);
    auto* p2 = new QGridLayout(page2);
    const char* const levels[] = {"（章）に対して", "（節）に対して", "（項）に対して",
                                  "（№）に対して"};
    for (int k = 0; k < 4; ++k) {
        auto* box = new QComboBox(page2);
        box->setObjectName(QStringLiteral("cboStyle") + QString::number(k));
        for (const char* e : StyleEntries()) box->addItem(QString::fromUtf8(e));
        // A level prints no number without a kind: a new setting starts with arabic numerals.
        box->setCurrentIndex(0);
        box->setMinimumWidth(
            box->fontMetrics().horizontalAdvance(QStringLiteral("(i),(ii),(iii),...(x)")) + 48);
        auto* l = new QLabel(QString::fromUtf8(levels[k]), page2);
        l->setBuddy(box);
        p2->addWidget(l, k, 0);
        p2->addWidget(box, k, 1);
        cboStyle[std::size_t(k)] = box;
    }
    p2->setColumnStretch(2, 1);
    p2->setRowStretch(4, 1);
    TabStrip1->addTab(page2, QStringLiteral("連番種類"));

    // Tab3 "左余白"
    auto* page3 = new QWidget(TabStrip1);
    auto* p3 = new QGridLayout(page3);
    auto* marginRows = new QGridLayout;
    for (int k = 0; k < 4; ++k) {
        numMargin[std::size_t(k)] =
            AddNumRow(marginRows, k, "frmInpRenban.numMargin" + std::to_string(k), page3);
        connect(numMargin[std::size_t(k)], &NumField::valueEdited, this,
                [this](double) { UpdateMarginSample(); });
    }
    marginRows->addWidget(new QLabel(QStringLiteral("※ 半角１文字幅を１単位とします"), page3), 4, 0,
                          1, 2);
    marginRows->setRowStretch(5, 1);
    p3->addLayout(marginRows, 0, 0);
    txtMargin = SampleBox(page3, "txtMargin");
    p3->addWidget(txtMargin, 0, 1);
    TabStrip1->addTab(page3, QStringLiteral("左余白"));

    top->addWidget(TabStrip1, 1);
    top->addLayout(MakeButtonRow());

    // Until a method is stored the headings are not numbered.
    optMethod->button(0)->setChecked(true);
    connect(optMethod, &QButtonGroup::idClicked, this, [this](int) { UpdateMethodSample(); });
    connect(TabStrip1, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == 2) UpdateMarginSample();
    });
}

int frmInpRenban::method() const { return optMethod->checkedId(); }

void frmInpRenban::setMethod(int m) {
    if (m < 0 || m > 3) return;
    optMethod->button(m)->setChecked(true);
    UpdateMethodSample();
}

void frmInpRenban::UpdateMethodSample() {
    txtMethod->setPlainText(SampleText(MethodSample(std::max(0, method()))));
}

void frmInpRenban::UpdateMarginSample() {
    std::array<int, 4> m{};
    for (std::size_t k = 0; k < 4; ++k) m[k] = int(numMargin[k]->value());
    txtMargin->setPlainText(SampleText(MarginSample(std::max(0, method()), m)));
}

void frmInpRenban::selectTab(int tab) { TabStrip1->setCurrentIndex(tab); }

Message NumberingKindMissingMessage(int level) {
    const char* const names[] = {"（章）", "（節）", "（項）", "（№）"};
    return Message{0,
                   std::string("選択した表現方法では") + names[std::clamp(level, 0, 3)] +
                       "にも番号が付きます。\n" + names[std::clamp(level, 0, 3)] +
                       "に対する連番種類を選択して下さい。",
                   "連番条件設定", MsgIcon::Information, MsgButtons::Ok};
}

bool frmInpRenban::CrossFieldCheck() {
    // Every method but "なし" numbers all four levels (levels 2-3 of the joined methods carry the
    // chapter's number too): a level without a kind would print a bare separator.
    if (method() <= 0) return true;
    for (int k = 0; k < 4; ++k) {
        QComboBox* box = cboStyle[std::size_t(k)];
        if (box->currentIndex() >= 0) continue;
        Services().ShowMessage(this, NumberingKindMissingMessage(k));
        selectTab(1);
        box->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}

void frmInpRenban::ApplyDependentEnabling() {
    UpdateMethodSample();
    UpdateMarginSample();
    selectTab(0);
}

}  // namespace kuvelt::ui
