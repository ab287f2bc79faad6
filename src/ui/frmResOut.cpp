#include "ui/frmResOut.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

#include "io/settings.h"
#include "platform/numfmt.h"
#include "ui/fields.h"
#include "ui/result_grid_model.h"

namespace kuvelt::ui {

std::string VerdictText(bool hantei, double Fa) {
    return numfmt::FormatNumber(Fa, hantei ? "\\≧\\ ##0.0\\ \\O\\K" : "\\＜\\ ##0.0\\ \\O\\U\\T");
}

bool FactorBelowAllowable(double factor, double Fa) {
    return factor < Fa && std::fabs(factor - Fa) >= 0.001;
}

namespace {

NumField* ResultField(QGridLayout* g, int row, const char* caption, const char* format,
                      QWidget* parent) {
    const FieldRange spec{{}, caption, {}, -1e15, 1e15, format, format};
    auto* f = new NumField(spec, parent);
    f->setReadOnly(true);
    f->setFocusPolicy(Qt::NoFocus);
    f->setFixedWidth(f->fontMetrics().horizontalAdvance(QStringLiteral("0000000.00")) + 16);
    QPalette p = f->palette();
    p.setColor(QPalette::Base, parent->palette().color(QPalette::Window));
    f->setPalette(p);
    auto* l = new QLabel(QString::fromUtf8(caption), parent);
    l->setBuddy(f);
    g->addWidget(l, row, 0);
    g->addWidget(f, row, 1, Qt::AlignLeft);
    return f;
}

QLabel* VerdictLabel(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QStringLiteral("lblHantei"));
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    l->setFont(f);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("＜ 999.9 OUT")) + 12);
    return l;
}

void ShowVerdict(QLabel* l, bool hantei, double Fa) {
    l->setText(Q(VerdictText(hantei, Fa)));
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, hantei ? QColor(0, 110, 0) : ResultGridModel::FailColor());
    l->setPalette(p);
}

}  // namespace

frmResOutAs::frmResOutAs(QWidget* parent)
    : InputWindow(std::string(ini::kResOutAs), QStringLiteral("ボイリングの検討"), parent) {
    auto* top = new QVBoxLayout(this);
    lblPile = new QLabel(this);
    lblPile->setObjectName(QStringLiteral("lblPile"));
    top->addWidget(lblPile);
    auto* box = new QGroupBox(QStringLiteral("検討結果"), this);
    auto* g = new QGridLayout(box);
    numH1 = ResultField(g, 0, "水頭差Ｈ1(m)", "#0.00", box);
    numD = ResultField(g, 1, "根入れ長Ｄ(m)", "#0.00", box);
    numFs = ResultField(g, 2, "安全率Ｆs", "##0.00", box);
    lblHantei = VerdictLabel(box);
    g->addWidget(lblHantei, 2, 2);
    g->setColumnStretch(3, 1);
    g->addWidget(new QLabel(QStringLiteral("※ 根入れ長Ｄは，設計地盤面～矢板先端を示す。"), box), 3,
                 0, 1, 4);
    lblNoHead = new QLabel(QStringLiteral("※ 地下水位面が設計地盤面以下にあって水位差がないため，\n"
                                          "　 ボイリングは生じない（検討不要）。"),
                           box);
    lblNoHead->setObjectName(QStringLiteral("lblNoHead"));
    lblNoHead->hide();
    g->addWidget(lblNoHead, 4, 0, 1, 4);
    top->addWidget(box);

    top->addWidget(new QLabel(QStringLiteral("参考）　根入れ長に対する安全率一覧表"), this));
    table = new ResultGridModel({QStringLiteral("根入長Ｄ(m)"), QStringLiteral("安全率Fs")}, this);
    table->SetColumnPictures({"0.0", "0.000"});
    vaSpread1 = new QTableView(this);
    vaSpread1->setObjectName(QStringLiteral("vaSpread1"));
    vaSpread1->setModel(table);
    vaSpread1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vaSpread1->setSelectionMode(QAbstractItemView::NoSelection);
    // Read-only, but a keyboard user scrolls it with the arrow keys.
    vaSpread1->setFocusPolicy(Qt::StrongFocus);
    vaSpread1->verticalHeader()->setDefaultSectionSize(vaSpread1->fontMetrics().height() + 6);
    vaSpread1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    vaSpread1->setMinimumSize(330, 300);
    top->addWidget(vaSpread1, 1);
    top->addLayout(MakeButtonRow(false));
}

void frmResOutAs::setVerdict(bool hantei, double Fa) {
    ShowVerdict(lblHantei, hantei, Fa);
    lblNoHead->hide();
}

void frmResOutAs::setNotNeeded() {
    numFs->clear();
    lblHantei->setText(QStringLiteral("検討不要"));
    lblHantei->setPalette(palette());
    lblNoHead->show();
    table->SetRowCount(0);
}

frmResOutAc::frmResOutAc(QWidget* parent)
    : InputWindow(std::string(ini::kResOutAc), QStringLiteral("ヒービングの検討"), parent) {
    auto* top = new QVBoxLayout(this);
    lblPile = new QLabel(this);
    lblPile->setObjectName(QStringLiteral("lblPile"));
    top->addWidget(lblPile);
    auto* box = new QGroupBox(QStringLiteral("検討結果"), this);
    auto* g = new QGridLayout(box);
    numH = ResultField(g, 0, "壁高Ｈ(m)", "#0.00", box);
    numD = ResultField(g, 1, "根入れ長Ｄ(m)", "#0.00", box);
    // What the factor was computed from: the surcharge and the overburden at the excavation bottom.
    numQ = ResultField(g, 2, "上載荷重ｑ(kN/m2)", "##0.00", box);
    numW = ResultField(g, 3, "上載圧Ｗ(kN/m2)", "###0.00", box);
    numFs = ResultField(g, 4, "安全率Ｆs", "##0.00", box);
    lblHantei = VerdictLabel(box);
    g->addWidget(lblHantei, 4, 2);
    g->setColumnStretch(3, 1);
    g->addWidget(new QLabel(QStringLiteral("※ 根入れ長Ｄは，設計地盤面～矢板先端を示す。"
                                           "ヒービングの安全率は根入れ長によらない。"),
                            box),
                 5, 0, 1, 4);
    top->addWidget(box);
    top->addStretch(1);
    top->addLayout(MakeButtonRow(false));
    setMinimumWidth(380);
}

void frmResOutAc::setVerdict(bool hantei, double Fa) { ShowVerdict(lblHantei, hantei, Fa); }

}  // namespace kuvelt::ui
