#include "ui/frmInpJiban.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <charconv>

#include "io/settings.h"
#include "model/design_checks.h"
#include "model/design_fields.h"
#include "ui/fields.h"
#include "ui/form_layout.h"
#include "ui/grid_editing.h"
#include "ui/sect_grid_model.h"
#include "ui/ui_services.h"

namespace kuvelt::ui {

namespace {

// Rows the layer grid shows without scrolling.
constexpr int kVisibleLayerRows = 6;

// "gInpJiban.Layers[2].ELU" → grid row 1 (rows from 1, as the JSON form names them) and member
// "ELU"; nullopt for any other field.
struct LayerCell {
    int row;
    std::string_view member;
};
std::optional<LayerCell> LayerCellOf(std::string_view field) {
    constexpr std::string_view prefix = "gInpJiban.Layers[";
    if (!field.starts_with(prefix)) return std::nullopt;
    field.remove_prefix(prefix.size());
    int n = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), n);
    const std::string_view rest(end, std::size_t(field.data() + field.size() - end));
    if (ec != std::errc() || n < 1 || !rest.starts_with("].")) return std::nullopt;
    return LayerCell{n - 1, rest.substr(2)};
}

}  // namespace

frmInpJiban::frmInpJiban(QWidget* parent)
    : InputWindow(std::string(ini::kInpJiban), QStringLiteral("地盤条件の入力"), parent) {
    auto* top = new QVBoxLayout(this);
    auto* upper = new QHBoxLayout;
    auto* first = new QVBoxLayout;
    upper->addLayout(first, 1);
    top->addLayout(upper);

    auto* kindBox = new QGroupBox(QStringLiteral("地盤の種類（第1層）"), this);
    auto* kh = new QHBoxLayout(kindBox);
    optKind = new QButtonGroup(this);
    const QString names[2] = {QStringLiteral("砂質土"), QStringLiteral("粘性土")};
    for (int i = 0; i < 2; ++i) {
        auto* rb = new QRadioButton(names[i], kindBox);
        optKind->addButton(rb, i);
        kh->addWidget(rb);
    }
    kh->addStretch(1);
    first->addWidget(kindBox);

    auto* values = new QGroupBox(QStringLiteral("土質定数（第1層）"), this);
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
    first->addWidget(values);

    // The wall friction belongs to the wall and the whole ground, not to the first layer.
    auto* friction = new QGroupBox(QStringLiteral("壁面摩擦角"), this);
    auto* fg = new QGridLayout(friction);
    numDeltaA = AddNumRow(fg, 0, "CInpJiban.DeltaA", friction);
    numDeltaP = AddNumRow(fg, 1, "CInpJiban.DeltaP", friction);
    fg->addWidget(new QLabel(QStringLiteral("受働側は負の角(－δp)として計算します。"), friction), 2,
                  0, 1, 2);
    fg->setRowStretch(3, 1);
    upper->addWidget(friction, 0, Qt::AlignTop);

    // The layers below the first, in the grid machinery of the section catalogues.
    auto* layerBox = new QGroupBox(QStringLiteral("第2層以下（上端標高の高い順）"), this);
    auto* lv = new QVBoxLayout(layerBox);
    layerModel_ = new SectGridModel(LayerFields(), this);
    layerModel_->setRecMax(kMaxGroundLayers - 1);
    layerModel_->setRowWords(2, "入力できる第2層以下の層数", "層");
    grdLayers = new SectGridView(layerBox);
    grdLayers->setObjectName(QStringLiteral("grdLayers"));
    grdLayers->setModel(layerModel_);
    layerEditing = new GridEditing(this, grdLayers, layerModel_);
    grdLayers->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grdLayers->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
        QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    grdLayers->setAlternatingRowColors(true);
    grdLayers->verticalHeader()->setDefaultSectionSize(grdLayers->fontMetrics().height() + 8);
    // The columns share the width the upper groups give the window.
    grdLayers->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    int width = grdLayers->verticalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("10")) +
                16 + grdLayers->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    for (int c = 0; c < layerModel_->columnCount(); ++c) {
        const int w = std::max(grdLayers->horizontalHeader()->sectionSizeHint(c) + 12, 64);
        width += w;
    }
    grdLayers->setMinimumWidth(width);
    grdLayers->setFixedHeight(grdLayers->horizontalHeader()->sizeHint().height() +
                              grdLayers->verticalHeader()->defaultSectionSize() *
                                  kVisibleLayerRows +
                              2 * grdLayers->frameWidth());

    auto* commands = new QHBoxLayout;
    struct Command {
        const char* text;
        void (GridEditing::*run)();
        QPushButton** out;
    };
    const Command buttons[] = {
        {"行追加(&A)", &GridEditing::Add, &cmdLayerAdd},
        {"行挿入(&I)", &GridEditing::Insert, &cmdLayerIns},
        {"行削除(&D)", &GridEditing::Delete, &cmdLayerDel},
        {"貼り付け(&P)", &GridEditing::Paste, &cmdLayerPaste},
    };
    for (const Command& c : buttons) {
        auto* b = new QPushButton(QString::fromUtf8(c.text), layerBox);
        // Like OK it takes no focus on a click: the command acts on the grid's active cell.
        b->setFocusPolicy(Qt::TabFocus);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, run = c.run] {
            UpdateUsualLayer();
            (layerEditing->*run)();
        });
        commands->addWidget(b);
        *c.out = b;
    }
    commands->addStretch(1);
    lv->addLayout(commands);
    lv->addWidget(grdLayers);
    lv->addWidget(new QLabel(QStringLiteral("各層は次の層の上端まで、最下層は検討深度の下まで続き"
                                            "ます。粘着力のｚは各層の上端からの深度です。"),
                             layerBox));
    top->addWidget(layerBox);

    // The grid's own menu: the same commands, with the clipboard ones the keys also reach.
    struct MenuItem {
        const char* text;
        void (GridEditing::*run)();
    };
    for (const MenuItem& m :
         {MenuItem{"切り取り(&T)", &GridEditing::Cut}, MenuItem{"ｺﾋﾟｰ(&C)", &GridEditing::Copy},
          MenuItem{"貼り付け(&P)", &GridEditing::Paste},
          MenuItem{"ﾃﾞｰﾀ行追加(&A)", &GridEditing::Add},
          MenuItem{"ﾃﾞｰﾀ行挿入(&I)", &GridEditing::Insert},
          MenuItem{"ﾃﾞｰﾀ行削除(&D)", &GridEditing::Delete}}) {
        auto* a = new QAction(QString::fromUtf8(m.text), grdLayers);
        connect(a, &QAction::triggered, this, [this, run = m.run] {
            UpdateUsualLayer();
            (layerEditing->*run)();
        });
        grdLayers->addAction(a);
    }
    grdLayers->setContextMenuPolicy(Qt::ActionsContextMenu);

    top->addStretch(1);
    top->addLayout(MakeButtonRow());

    connect(optKind, &QButtonGroup::idClicked, this, [this](int) { ApplyDependentEnabling(); });
    connect(layerModel_, &SectGridModel::rowsChanged, this, &frmInpJiban::UpdateLayerCommands);
    connect(grdLayers->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex&, const QModelIndex&) { ShowLayerHint(); });
    // After the window's own handler, which clears the line for anything but a field.
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget*) { ShowLayerHint(); });
    QWidget* order[] = {optKind->button(0),
                        optKind->button(1),
                        numGt,
                        numGws,
                        numGw,
                        numFai,
                        numCa,
                        numCb,
                        numKH,
                        numDeltaA,
                        numDeltaP,
                        cmdLayerAdd,
                        cmdLayerIns,
                        cmdLayerDel,
                        cmdLayerPaste,
                        grdLayers,
                        okButton(),
                        cancelButton(),
                        helpButton()};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

frmInpJiban::~frmInpJiban() {
    // An editor closed while the children go must not reach a half-destroyed window.
    layerEditing->Close();
    layerModel_->disconnect(this);
    grdLayers->selectionModel()->disconnect(this);
    disconnect(qApp, nullptr, this, nullptr);
}

int frmInpJiban::kind() const { return optKind->checkedId() == 1 ? 1 : 0; }

void frmInpJiban::setKind(int kind) {
    optKind->button(kind == 1 ? 1 : 0)->setChecked(true);
    ApplyDependentEnabling();
}

CInpJiban frmInpJiban::Typed() const {
    CInpJiban typed;
    for (NumField* f : findChildren<NumField*>()) {
        if (const DesignField* d = FindDesignField(f->spec().name))
            SetNumber(*d, &typed, f->value());
    }
    typed.Kind = kind();
    typed.Layers = layerModel_->SavedLayers();
    return typed;
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
    UpdateUsualLayer();
    UpdateLayerCommands();
}

void frmInpJiban::UpdateUsualLayer() {
    // A layer added to an empty grid starts as the first layer as typed, its top at the design
    // ground level: the usual place for a change of ground in front of the wall.
    const CInpJiban typed = Typed();
    std::vector<CInpJibanLayer> all = GroundLayers(typed, conditions.ELDL);
    layerModel_->SetUsualRow(all.front());
}

void frmInpJiban::UpdateLayerCommands() {
    const bool canAdd = layerModel_->CanAdd();
    cmdLayerAdd->setEnabled(canAdd);
    cmdLayerIns->setEnabled(canAdd);
    cmdLayerDel->setEnabled(layerModel_->rowCount() > 0);
}

void frmInpJiban::ShowLayerHint() {
    QLabel* line = statusLine();
    QWidget* now = QApplication::focusWidget();
    if (!line || !now || (now != grdLayers && !grdLayers->isAncestorOf(now))) return;
    const QModelIndex cur = grdLayers->currentIndex();
    line->setText(cur.isValid() ? layerModel_->Hint(cur.column()) : QString());
}

bool frmInpJiban::CrossFieldCheck() {
    if (!grdLayers->CommitOpenEditor()) return false;
    const std::optional<ConditionConflict> conflict = GroundConditionsConflict(Typed(), conditions);
    if (!conflict) return true;
    Services().ShowMessage(this, conflict->message);
    // A layer's cell, or the grid as a whole (too many layers).
    if (conflict->focusField.starts_with("gInpJiban.Layers")) {
        const std::optional<LayerCell> cell = LayerCellOf(conflict->focusField);
        const int row = cell ? std::min(cell->row, layerModel_->rowCount() - 1) : 0;
        const int col = cell ? std::max(0, layerModel_->ColumnOf(cell->member)) : 0;
        grdLayers->setFocus(Qt::OtherFocusReason);
        if (row >= 0) grdLayers->setCurrentIndex(layerModel_->index(row, col));
        return false;
    }
    NumField* field = numFai;
    for (NumField* f : findChildren<NumField*>()) {
        if (conflict->focusField == f->spec().name) field = f;
    }
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

void frmInpJiban::done(int result) {
    layerEditing->Close();
    InputWindow::done(result);
}

}  // namespace kuvelt::ui
