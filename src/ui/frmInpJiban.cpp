#include "ui/frmInpJiban.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "io/settings.h"
#include "model/design_checks.h"
#include "ui/fields.h"
#include "ui/form_layout.h"
#include "ui/ui_services.h"

namespace kuvelt::ui {

frmInpJiban::frmInpJiban(QWidget* parent)
    : InputWindow(std::string(ini::kInpJiban), QStringLiteral("地盤条件の入力"), parent) {
    auto* top = new QVBoxLayout(this);

    auto* kindBox = new QGroupBox(QStringLiteral("地盤の種類"), this);
    auto* kh = new QHBoxLayout(kindBox);
    optKind = new QButtonGroup(this);
    const QString names[2] = {QStringLiteral("砂質土"), QStringLiteral("粘性土")};
    for (int i = 0; i < 2; ++i) {
        auto* rb = new QRadioButton(names[i], kindBox);
        optKind->addButton(rb, i);
        kh->addWidget(rb);
    }
    kh->addStretch(1);
    top->addWidget(kindBox);

    auto* values = new QGroupBox(QStringLiteral("土質定数"), this);
    auto* g = new QGridLayout(values);
    numGt = AddNumRow(g, 0, "CInpJiban.Gt", values);
    numGws = AddNumRow(g, 1, "CInpJiban.Gws", values);
    numGw = AddNumRow(g, 2, "CInpJiban.Gw", values);
    numFai = AddNumRow(g, 3, "CInpJiban.Fai", values);
    numCa = AddNumRow(g, 4, "CInpJiban.Ca", values);
    numCb = AddNumRow(g, 5, "CInpJiban.Cb", values);
    numKH = AddNumRow(g, 6, "CInpJiban.KH", values);
    lblCohesion =
        new QLabel(QStringLiteral("粘着力　Ｃ = ａ･ｚ＋ｂ (ｚ；地表面からの深度)"), values);
    g->addWidget(lblCohesion, 4, 2, 2, 1, Qt::AlignVCenter);
    g->setColumnMinimumWidth(2, lblCohesion->sizeHint().width());
    g->setHorizontalSpacing(12);
    top->addWidget(values);
    top->addStretch(1);
    top->addLayout(MakeButtonRow());

    connect(optKind, &QButtonGroup::idClicked, this, [this](int) { ApplyDependentEnabling(); });
    QWidget* order[] = {optKind->button(0),
                        optKind->button(1),
                        numGt,
                        numGws,
                        numGw,
                        numFai,
                        numCa,
                        numCb,
                        numKH,
                        okButton(),
                        cancelButton(),
                        helpButton()};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

int frmInpJiban::kind() const { return optKind->checkedId() == 1 ? 1 : 0; }

void frmInpJiban::setKind(int kind) {
    optKind->button(kind == 1 ? 1 : 0)->setChecked(true);
    ApplyDependentEnabling();
}

void frmInpJiban::ApplyDependentEnabling() {
    const bool clayey = kind() == 1;
    for (NumField* f : {numFai, numCa, numCb})
        f->setEnabled(FieldInForce(f->spec().name, conditions.Keijyo, kind()));
    // The note is greyed with the fields it explains.
    QPalette p = lblCohesion->palette();
    p.setColor(QPalette::WindowText, palette().color(clayey ? QPalette::Active : QPalette::Disabled,
                                                     QPalette::WindowText));
    lblCohesion->setPalette(p);
}

bool frmInpJiban::CrossFieldCheck() {
    CInpJiban typed;
    typed.Kind = kind();
    typed.Fai = numFai->value();
    const std::optional<ConditionConflict> conflict = GroundConditionsConflict(typed, conditions);
    if (!conflict) return true;
    Services().ShowMessage(this, conflict->message);
    numFai->setFocus(Qt::OtherFocusReason);
    numFai->selectAll();
    return false;
}

}  // namespace kuvelt::ui
