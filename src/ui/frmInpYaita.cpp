#include "ui/frmInpYaita.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "model/ranges.h"
#include "ui/fields.h"
#include "ui/form_layout.h"
#include "ui/result_grid_model.h"
#include "usecase/design_run.h"

namespace kuvelt::ui {

namespace {

QTableView* MakeGrid(ResultGridModel* model, QWidget* parent, const char* name) {
    auto* v = new QTableView(parent);
    v->setObjectName(QString::fromUtf8(name));
    v->setModel(model);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 8);
    v->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    v->horizontalHeader()->setMinimumSectionSize(64);
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    return v;
}

QLabel* Heading(const char* text, QWidget* parent) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

}  // namespace

frmInpYaita::frmInpYaita(QWidget* parent)
    : InputWindow("InpYaita", QStringLiteral("使用矢板の決定"), parent) {
    auto* top = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    body->setSpacing(16);

    // The decision on the left.
    auto* left = new QVBoxLayout;
    left->addWidget(Heading("■ 使用する矢板の決定", this));
    auto* kindBox = new QGroupBox(QStringLiteral("使用する矢板の種類を選択"), this);
    auto* kv = new QVBoxLayout(kindBox);
    optYaita = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* rb = new QRadioButton(Q(std::string(kYaitaCaptions[i])), kindBox);
        rb->setObjectName(QStringLiteral("optYaita") + QString::number(i));
        optYaita->addButton(rb, i);
        kv->addWidget(rb);
    }
    left->addWidget(kindBox);

    auto* fields = new QGroupBox(this);
    auto* g = new QGridLayout(fields);
    numSect = AddNumRow(g, 0, "frmInpYaita.numSect", fields);
    g->addWidget(new QLabel(QStringLiteral("（結果一覧表より）"), fields), 0, 2);
    numL = AddNumRow(g, 1, "frmInpYaita.numL", fields);
    numH = AddNumRow(g, 2, "frmInpYaita.numH", fields);
    numD = AddNumRow(g, 4, "frmInpYaita.numD", fields);
    auto* legendH = new QLabel(QStringLiteral("（仮想地盤面～矢板天端までの高さ）"), fields);
    auto* legendD = new QLabel(QStringLiteral("（仮想地盤面～矢板先端までの根入れ長）"), fields);
    g->addWidget(legendH, 3, 0, 1, 3);
    g->addWidget(legendD, 5, 0, 1, 3);
    // One width for the four fields, so their numbers line up.
    int fieldWidth = 0;
    for (NumField* f : {numSect, numL, numH, numD})
        fieldWidth = std::max(fieldWidth, f->minimumWidth());
    for (NumField* f : {numSect, numL, numH, numD}) f->setFixedWidth(fieldWidth);
    // H' and D are written by the window only.
    for (NumField* f : {numH, numD}) {
        f->setReadOnly(true);
        f->setFocusPolicy(Qt::NoFocus);
        QPalette p = f->palette();
        p.setColor(QPalette::Base, palette().color(QPalette::Window));
        f->setPalette(p);
    }
    g->setColumnStretch(2, 1);
    left->addWidget(fields);
    left->addStretch(1);
    body->addLayout(left);

    // The result lists on the right.
    auto* right = new QVBoxLayout;
    right->addWidget(Heading("■ 検討結果一覧表", this));
    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    for (std::string_view c : kYaitaCaptions) TabStrip1->addTab(Q(std::string(c)));
    TabStrip1->setExpanding(false);
    right->addWidget(TabStrip1);
    listC = new ResultGridModel(
        {QStringLiteral("Mmax(kN･m/m)"), QStringLiteral("必要矢板長(m)"), QStringLiteral("Lmin(m)"),
         QStringLiteral("Lmax(m)"), QStringLiteral("δ(m)")},
        this);
    const QStringList steel = {QStringLiteral("σ(N/mm2)"), QStringLiteral("必要矢板長(m)"),
                               QStringLiteral("δ(m)")};
    listLS = new ResultGridModel(steel, this);
    listS = new ResultGridModel(steel, this);
    // Rounded as the report prints them: moments and stresses to 0.1, lengths to 0.01 m,
    // displacements to 1 mm.
    listC->SetColumnPictures({"0.0", "0.00", "0.00", "0.00", "0.000"});
    for (ResultGridModel* m : {listLS, listS}) m->SetColumnPictures({"0.0", "0.00", "0.000"});
    for (ResultGridModel* m : {listC, listLS, listS}) m->setMarkPassingRows(true);
    // The three grids lie on one place; the tab brings one to the front.
    grids = new QStackedWidget(this);
    vaSpreadC = MakeGrid(listC, grids, "vaSpreadC");
    vaSpreadLS = MakeGrid(listLS, grids, "vaSpreadLS");
    vaSpreadS = MakeGrid(listS, grids, "vaSpreadS");
    grids->addWidget(vaSpreadC);
    grids->addWidget(vaSpreadLS);
    grids->addWidget(vaSpreadS);
    grids->setMinimumSize(560, 330);
    right->addWidget(grids, 1);
    auto* note = new QLabel(
        QStringLiteral("赤字：照査を満足しない値　　緑の行（✓）：全ての照査を満足する断面"), this);
    note->setObjectName(QStringLiteral("lblLegend"));
    right->addWidget(note);
    body->addLayout(right, 1);

    // The force diagram of the pick beside the lists.
    auto* side = new QVBoxLayout;
    side->addWidget(Heading("■ 断面力図（選択した断面・矢板全長）", this));
    figForces = new FigureView(this);
    figForces->setObjectName(QStringLiteral("figForces"));
    figForces->setMinimumSize(430, 570);
    side->addWidget(figForces, 1);
    body->addLayout(side, 1);

    top->addLayout(body, 1);
    top->addLayout(MakeButtonRow());

    connect(optYaita, &QButtonGroup::idClicked, this, [this](int id) { selectTab(id); });
    // The tab in front is the kind being chosen: switching it switches the option too.
    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int tab) {
        grids->setCurrentIndex(tab);
        if (tab >= 0 && tab <= 2 && kind() != tab) optYaita->button(tab)->setChecked(true);
    });
    // D follows L whether the user typed it or the main window set it; the diagram follows the
    // kind, the section number and the length.
    connect(numL, &NumField::valueEdited, this, [this](double) { UpdateEmbedment(); });
    connect(numL, &QLineEdit::textChanged, this, [this] {
        UpdateEmbedment();
        UpdateForceFigure();
    });
    connect(numSect, &QLineEdit::textChanged, this, [this] { UpdateForceFigure(); });
    connect(optYaita, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) UpdateForceFigure();
    });
    // A click on a row takes its kind and section number; a double click also takes the
    // required length rounded up to 0.5 m as L.
    for (QTableView* v : {vaSpreadC, vaSpreadLS, vaSpreadS}) {
        auto take = [this, v](const QModelIndex& i) {
            if (!i.isValid()) return false;
            setKind(v == vaSpreadC ? 0 : v == vaSpreadLS ? 1 : 2);
            numSect->setValue(i.row() + 1);
            return true;
        };
        connect(v, &QTableView::clicked, this, [take](const QModelIndex& i) { take(i); });
        connect(v, &QTableView::doubleClicked, this, [this, v, take](const QModelIndex& i) {
            if (!take(i)) return;
            const auto* m = static_cast<const ResultGridModel*>(v->model());
            numL->setValue(usecase::ProposedLength(m->Value(i.row(), 1)));  // column 1: Lreq
            UpdateEmbedment();
        });
    }
    QWidget* order[] = {
        optYaita->button(0), optYaita->button(1), optYaita->button(2), numSect, numL,
        okButton(),          cancelButton(),      helpButton()};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

frmInpYaita::~frmInpYaita() {
    // L reformats itself when it loses the focus while the children go: D must not follow then.
    numL->disconnect(this);
    numSect->disconnect(this);
    figureSource_ = nullptr;
}

int frmInpYaita::kind() const {
    const int id = optYaita->checkedId();
    return id < 0 ? 0 : id;
}

void frmInpYaita::setKind(int yaita) {
    if (yaita < 0 || yaita > 2) return;
    optYaita->button(yaita)->setChecked(true);
    selectTab(yaita);
}

int frmInpYaita::frontGrid() const { return grids->currentIndex(); }

void frmInpYaita::selectTab(int tab) {
    TabStrip1->setCurrentIndex(tab);
    grids->setCurrentIndex(tab);
}

void frmInpYaita::UpdateEmbedment() { numD->setValue(numL->value() - numH->value()); }

void frmInpYaita::ApplyDependentEnabling() { UpdateEmbedment(); }

void frmInpYaita::setFigureSource(FigureSource source) {
    figureSource_ = std::move(source);
    UpdateForceFigure();
}

void frmInpYaita::UpdateForceFigure() {
    if (!figureSource_ || pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        pending_ = false;
        DrawForceFigure();
    });
}

void frmInpYaita::DrawForceFigure() {
    if (!figureSource_) return;
    const ForceFigureParts f =
        figureSource_(kind(), int(std::lround(numSect->value())), numL->value());
    if (f.parts.empty()) {
        figForces->setNote(f.note);
    } else {
        figForces->setFigure(f.width, f.height, f.parts);
    }
}

}  // namespace kuvelt::ui
