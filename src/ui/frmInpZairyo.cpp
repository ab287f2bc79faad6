#include "ui/frmInpZairyo.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "io/settings.h"
#include "ui/field_specs.h"
#include "ui/fields.h"
#include "ui/form_layout.h"

namespace kuvelt::ui {

namespace {

QLabel* Cell(const QString& text, QWidget* parent, Qt::Alignment align = Qt::AlignLeft) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

}  // namespace

frmInpZairyo::frmInpZairyo(QWidget* parent)
    : InputWindow(std::string(ini::kInpZairyo), QStringLiteral("材料条件の入力"), parent) {
    auto* top = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    top->addLayout(row);

    // 1. Elastic moduli.
    auto* e = new QGroupBox(QStringLiteral("矢板の弾性係数Ｅ(kN/m2)"), this);
    auto* ge = new QGridLayout(e);
    ge->addWidget(Cell(QStringLiteral("ｺﾝｸﾘｰﾄ矢板"), e), 0, 0, 3, 1);
    ge->addWidget(Cell(QStringLiteral("平　形"), e), 0, 1);
    ge->addWidget(Cell(QStringLiteral("溝　形"), e), 1, 1);
    ge->addWidget(Cell(QStringLiteral("波　形"), e), 2, 1);
    ge->addWidget(Cell(QStringLiteral("軽量鋼矢板"), e), 3, 0, 1, 2);
    ge->addWidget(Cell(QStringLiteral("鋼矢板"), e), 4, 0, 1, 2);
    numEcHira = MakeNumField("CInpZairyo.EcHira", e);
    numEcMizo = MakeNumField("CInpZairyo.EcMizo", e);
    numEcNami = MakeNumField("CInpZairyo.EcNami", e);
    numEsky = MakeNumField("CInpZairyo.Esky", e);
    numEsy = MakeNumField("CInpZairyo.Esy", e);
    NumField* moduli[] = {numEcHira, numEcMizo, numEcNami, numEsky, numEsy};
    for (int i = 0; i < 5; ++i) ge->addWidget(moduli[i], i, 2);
    ge->setRowStretch(5, 1);
    row->addWidget(e);

    // 2. Allowable stresses and grades.
    auto* s = new QGroupBox(QStringLiteral("許容応力度"), this);
    auto* gs = new QGridLayout(s);
    gs->addWidget(Cell(QStringLiteral("(N/mm2)"), s), 0, 0);
    gs->addWidget(Cell(QStringLiteral("軽量鋼矢板"), s, Qt::AlignHCenter), 0, 1);
    gs->addWidget(Cell(QStringLiteral("鋼矢板"), s, Qt::AlignHCenter), 0, 2);
    gs->addWidget(Cell(QStringLiteral("材　　　質"), s), 1, 0);
    gs->addWidget(Cell(QStringLiteral("曲げ引張応力度"), s), 2, 0);
    gs->addWidget(Cell(QStringLiteral("曲げ圧縮応力度"), s), 3, 0);
    txtKYZai = new TextField("CInpZairyo.KYZai", s);
    txtYZai = new TextField("CInpZairyo.YZai", s);
    for (TextField* t : {txtKYZai, txtYZai}) t->setFixedWidth(FieldWidth(t, 11));
    numKYSat = MakeNumField("CInpZairyo.KYSat", s);
    numKYSac = MakeNumField("CInpZairyo.KYSac", s);
    numYSat = MakeNumField("CInpZairyo.YSat", s);
    numYSac = MakeNumField("CInpZairyo.YSac", s);
    gs->addWidget(txtKYZai, 1, 1, Qt::AlignHCenter);
    gs->addWidget(txtYZai, 1, 2, Qt::AlignHCenter);
    gs->addWidget(numKYSat, 2, 1, Qt::AlignHCenter);
    gs->addWidget(numKYSac, 3, 1, Qt::AlignHCenter);
    gs->addWidget(numYSat, 2, 2, Qt::AlignHCenter);
    gs->addWidget(numYSac, 3, 2, Qt::AlignHCenter);
    gs->setRowStretch(4, 1);
    row->addWidget(s);

    // 3. Joint efficiencies.
    auto* a = new QGroupBox(QStringLiteral("継手効率α"), this);
    auto* av = new QVBoxLayout(a);
    auto* ga = new QGridLayout;
    ga->addWidget(Cell(QStringLiteral("断面2次ﾓｰﾒﾝﾄ"), a, Qt::AlignHCenter), 0, 1);
    ga->addWidget(Cell(QStringLiteral("断面係数"), a, Qt::AlignHCenter), 0, 2);
    ga->addWidget(Cell(QStringLiteral("根入長算定時"), a), 1, 0);
    ga->addWidget(Cell(QStringLiteral("応力度照査時"), a), 2, 0);
    ga->addWidget(Cell(QStringLiteral("変位量照査時"), a), 3, 0);
    numAlphaIz = MakeNumField("CInpZairyo.AlphaIz", a);
    numAlphaIs = MakeNumField("CInpZairyo.AlphaIs", a);
    numAlphaId = MakeNumField("CInpZairyo.AlphaId", a);
    numAlphaZs = MakeNumField("CInpZairyo.AlphaZs", a);
    ga->addWidget(numAlphaIz, 1, 1, Qt::AlignHCenter);
    ga->addWidget(numAlphaIs, 2, 1, Qt::AlignHCenter);
    ga->addWidget(numAlphaId, 3, 1, Qt::AlignHCenter);
    ga->addWidget(Cell(QStringLiteral("-----"), a, Qt::AlignHCenter), 1, 2);
    ga->addWidget(numAlphaZs, 2, 2, Qt::AlignHCenter);
    ga->addWidget(Cell(QStringLiteral("-----"), a, Qt::AlignHCenter), 3, 2);
    av->addLayout(ga);
    auto* note = new QLabel(QStringLiteral("※ 軽量鋼矢板および鋼矢板の場合のみ適用する。      "
                                           "ｺﾝｸﾘｰﾄ矢板の場合は 1.0 とする。"),
                            a);
    note->setWordWrap(false);
    av->addWidget(note);
    top->addWidget(a);
    top->addStretch(1);
    top->addLayout(MakeButtonRow());

    QWidget* order[] = {numEcHira,  numEcMizo,      numEcNami,   numEsky,    numEsy,
                        txtKYZai,   numKYSat,       numKYSac,    txtYZai,    numYSat,
                        numYSac,    numAlphaIz,     numAlphaIs,  numAlphaId, numAlphaZs,
                        okButton(), cancelButton(), helpButton()};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

}  // namespace kuvelt::ui
