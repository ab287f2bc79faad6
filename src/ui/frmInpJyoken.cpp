#include "ui/frmInpJyoken.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "io/settings.h"
#include "model/design_checks.h"
#include "ui/field_specs.h"
#include "ui/fields.h"
#include "ui/form_layout.h"
#include "ui/surcharge_figure.h"
#include "ui/ui_services.h"

namespace kuvelt::ui {

frmInpJyoken::frmInpJyoken(QWidget* parent)
    : InputWindow(std::string(ini::kInpJyoken), QStringLiteral("設計条件の入力"), parent) {
    auto* top = new QVBoxLayout(this);

    auto* titleRow = new QHBoxLayout;
    auto* titleLabel = new QLabel(QStringLiteral("件名"), this);
    txtTitle = new TextField("CInpJyoken.Title", this);
    txtTitle->setMinimumWidth(FieldWidth(txtTitle, 52));
    titleLabel->setBuddy(txtTitle);
    titleRow->addWidget(titleLabel);
    titleRow->addWidget(txtTitle, 1);
    top->addLayout(titleRow);

    auto* body = new QHBoxLayout;
    top->addLayout(body);

    // Left: levels and the design values.
    auto* basic = new QGroupBox(QStringLiteral("基本条件"), this);
    auto* g = new QGridLayout(basic);
    numELGL = AddNumRow(g, 0, "CInpJyoken.ELGL", basic);
    numELYU = AddNumRow(g, 1, "CInpJyoken.ELYU", basic);
    numELDL = AddNumRow(g, 2, "CInpJyoken.ELDL", basic);
    numELWL = AddNumRow(g, 3, "CInpJyoken.ELWL", basic);
    numELWF = AddNumRow(g, 4, "CInpJyoken.ELWF", basic);
    numZ = AddNumRow(g, 5, "CInpJyoken.Z", basic);
    numDelta = AddNumRow(g, 6, "CInpJyoken.Delta", basic);
    numFsb = AddNumRow(g, 7, "CInpJyoken.Fsb", basic);
    numFsh = AddNumRow(g, 8, "CInpJyoken.Fsh", basic);
    chkNekiri = new QCheckBox(
        QStringLiteral("根切り底面の安定検討を行う(ボイリングまたはヒービング)"), basic);
    g->addWidget(chkNekiri, 9, 0, 1, 2);
    g->setRowStretch(10, 1);
    body->addWidget(basic);

    // Right: the surcharge shape.
    auto* shapeBox = new QGroupBox(QStringLiteral("矢板壁背面の地表面形状"), this);
    auto* sv = new QVBoxLayout(shapeBox);
    auto* options = new QHBoxLayout;
    optKeijyo = new QButtonGroup(this);
    const QString names[3] = {QStringLiteral("水平"), QStringLiteral("一定勾配"),
                              QStringLiteral("台形")};
    for (int i = 0; i < 3; ++i) {
        auto* rb = new QRadioButton(names[i], shapeBox);
        optKeijyo->addButton(rb, i);
        options->addWidget(rb);
    }
    options->addStretch(1);
    sv->addLayout(options);

    auto* groups = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    fraShape[0] = new QGroupBox(QStringLiteral("(水平)"), shapeBox);
    auto* g0 = new QGridLayout(fraShape[0]);
    numK0X = AddNumRow(g0, 0, "CInpJyoken.K0X", fraShape[0]);
    numK0Q = AddNumRow(g0, 1, "CInpJyoken.K0Q", fraShape[0]);
    fraShape[1] = new QGroupBox(QStringLiteral("(一定勾配)"), shapeBox);
    auto* g1 = new QGridLayout(fraShape[1]);
    numK1m = AddNumRow(g1, 0, "CInpJyoken.K1m", fraShape[1]);
    numK1Q = AddNumRow(g1, 1, "CInpJyoken.K1Q", fraShape[1]);
    left->addWidget(fraShape[0]);
    left->addWidget(fraShape[1]);
    left->addStretch(1);
    fraShape[2] = new QGroupBox(QStringLiteral("(台形)"), shapeBox);
    auto* g2 = new QGridLayout(fraShape[2]);
    numK2X1 = AddNumRow(g2, 0, "CInpJyoken.K2X1", fraShape[2]);
    numK2X2 = AddNumRow(g2, 1, "CInpJyoken.K2X2", fraShape[2]);
    numK2Ho = AddNumRow(g2, 2, "CInpJyoken.K2Ho", fraShape[2]);
    numK2Gs = AddNumRow(g2, 3, "CInpJyoken.K2Gs", fraShape[2]);
    numK2Q = AddNumRow(g2, 4, "CInpJyoken.K2Q", fraShape[2]);
    g2->setRowStretch(5, 1);
    groups->addLayout(left);
    groups->addWidget(fraShape[2]);
    sv->addLayout(groups);

    picShape = new QStackedWidget(shapeBox);
    picShape->addWidget(new SurchargeFigure(SurchargeFigure::HorizontalAndSlope, picShape));
    picShape->addWidget(new SurchargeFigure(SurchargeFigure::Trapezoid, picShape));
    picShape->setFrameShape(QFrame::StyledPanel);
    sv->addWidget(picShape, 1);
    body->addWidget(shapeBox, 1);

    top->addLayout(MakeButtonRow());

    connect(optKeijyo, &QButtonGroup::idClicked, this, [this](int) { ApplyDependentEnabling(); });
    // Channel water standing at the design ground level when that level is taken up for editing
    // moves with it as it is typed.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == numELDL)
            waterFollows_ = !numELWF->isBlank() && numELWF->value() == numELDL->value();
    });
    connect(numELDL, &NumField::valueEdited, this, [this](double level) {
        if (waterFollows_) numELWF->setValue(level);
    });

    // Tab order: title, the design values, the shape options and the chosen shape's fields.
    QWidget* order[] = {txtTitle,
                        numELGL,
                        numELYU,
                        numELDL,
                        numELWL,
                        numELWF,
                        numZ,
                        numDelta,
                        numFsb,
                        numFsh,
                        chkNekiri,
                        optKeijyo->button(0),
                        optKeijyo->button(1),
                        optKeijyo->button(2),
                        numK0X,
                        numK0Q,
                        numK1m,
                        numK1Q,
                        numK2X1,
                        numK2X2,
                        numK2Ho,
                        numK2Gs,
                        numK2Q,
                        okButton(),
                        cancelButton(),
                        helpButton()};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

int frmInpJyoken::shape() const {
    const int id = optKeijyo->checkedId();
    return id < 0 ? 0 : id;
}

void frmInpJyoken::setShape(int keijyo) {
    // A stored shape outside 0..2 is a trapezoid for the surcharge calculation.
    const int id = keijyo == 0 || keijyo == 1 ? keijyo : 2;
    optKeijyo->button(id)->setChecked(true);
    ApplyDependentEnabling();
}

void frmInpJyoken::setChannelWater(double level) {
    numELWF->setValue(level);
    waterFollows_ = level == numELDL->value();
}

double frmInpJyoken::StoredChannelWater() const {
    return numELWF->value() == numELDL->value() ? kChannelWaterAtDesignGround : numELWF->value();
}

void frmInpJyoken::ApplyDependentEnabling() {
    const int s = shape();
    for (int i = 0; i < 3; ++i) fraShape[i]->setEnabled(i == s);
    for (NumField* f : {numK0X, numK0Q, numK1m, numK1Q, numK2X1, numK2X2, numK2Ho, numK2Gs, numK2Q})
        f->setEnabled(FieldInForce(f->spec().name, s, ground.Kind));
    picShape->setCurrentIndex(s == 2 ? 1 : 0);
}

bool frmInpJyoken::CrossFieldCheck() {
    // The levels as typed, checked together before anything reaches the design.
    CInpJyoken typed;
    typed.ELGL = numELGL->value();
    typed.ELYU = numELYU->value();
    typed.ELDL = numELDL->value();
    typed.ELWF = StoredChannelWater();
    typed.Z = numZ->value();
    typed.Keijyo = shape();
    typed.K1m = numK1m->value();
    const std::optional<ConditionConflict> conflict = DesignConditionsConflict(typed, ground);
    if (!conflict) return true;
    Services().ShowMessage(this, conflict->message);
    NumField* field = numZ;
    for (NumField* f : {numELDL, numELYU, numELWF, numK1m}) {
        if (conflict->focusField == f->spec().name) field = f;
    }
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

}  // namespace kuvelt::ui
