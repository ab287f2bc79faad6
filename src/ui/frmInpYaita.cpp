#include "ui/frmInpYaita.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "io/settings.h"
#include "model/ranges.h"
#include "ui/fields.h"
#include "ui/form_layout.h"
#include "ui/result_grid_model.h"
#include "ui/window_position.h"
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
    : InputWindow(std::string(ini::kInpYaita), QStringLiteral("使用矢板の決定"), parent) {
    auto* top = new QVBoxLayout(this);
    // When no section passes every check, the window says so before anything else.
    lblNone = new QLabel(this);
    lblNone->setObjectName(QStringLiteral("lblNone"));
    lblNone->setWordWrap(true);
    lblNone->setStyleSheet(QStringLiteral(
        "QLabel { background: #fff3cd; border: 1px solid #d9b44a; padding: 4px; color: #000; }"));
    lblNone->hide();
    top->addWidget(lblNone);
    auto* body = new QHBoxLayout;
    body->setSpacing(16);

    // The decision and the result lists on the left, one above the other.
    auto* left = new QVBoxLayout;
    left->addWidget(Heading("■ 使用する矢板の決定", this));
    auto* decision = new QHBoxLayout;
    auto* kindBox = new QGroupBox(QStringLiteral("使用する矢板の種類を選択"), this);
    auto* kv = new QVBoxLayout(kindBox);
    optYaita = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* rb = new QRadioButton(Q(std::string(kYaitaCaptions[i])), kindBox);
        rb->setObjectName(QStringLiteral("optYaita") + QString::number(i));
        optYaita->addButton(rb, i);
        kv->addWidget(rb);
    }
    kv->addStretch(1);
    decision->addWidget(kindBox);

    auto* fields = new QGroupBox(this);
    auto* g = new QGridLayout(fields);
    g->setVerticalSpacing(4);
    numSect = AddNumRow(g, 0, "frmInpYaita.numSect", fields);
    g->addWidget(new QLabel(QStringLiteral("（結果一覧表より）"), fields), 0, 2);
    numL = AddNumRow(g, 1, "frmInpYaita.numL", fields);
    numH = AddNumRow(g, 2, "frmInpYaita.numH", fields);
    numD = AddNumRow(g, 4, "frmInpYaita.numD", fields);
    g->addWidget(new QLabel(QStringLiteral("（仮想地盤面～矢板天端までの高さ）"), fields), 3, 0, 1,
                 3);
    g->addWidget(new QLabel(QStringLiteral("（仮想地盤面～矢板先端までの根入れ長）"), fields), 5, 0,
                 1, 3);
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
    decision->addWidget(fields, 1);
    left->addLayout(decision);

    left->addSpacing(6);
    left->addWidget(Heading("■ 検討結果一覧表", this));
    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    for (std::string_view c : kYaitaCaptions) TabStrip1->addTab(Q(std::string(c)));
    TabStrip1->setExpanding(false);
    left->addWidget(TabStrip1);
    // The checks, then the section's mass and, for a passing section, its material per metre
    // of wall at the length the proposal takes: what the proposal compares.
    const QStringList mass = {QStringLiteral("質量(kg/m2)"), QStringLiteral("質量×Ｌ(kg/m)")};
    listC = new ResultGridModel(
        QStringList{QStringLiteral("Mmax(kN･m/m)"), QStringLiteral("必要矢板長(m)"),
                    QStringLiteral("Lmin(m)"), QStringLiteral("Lmax(m)"), QStringLiteral("δ(m)")} +
            mass,
        this);
    const QStringList steel = QStringList{QStringLiteral("σ(N/mm2)"),
                                          QStringLiteral("必要矢板長(m)"), QStringLiteral("δ(m)")} +
                              mass;
    listLS = new ResultGridModel(steel, this);
    listS = new ResultGridModel(steel, this);
    // Rounded as the report prints them: moments and stresses to 0.1, lengths to 0.01 m,
    // displacements to 1 mm, masses to 0.1 kg.
    listC->SetColumnPictures({"0.0", "0.00", "0.00", "0.00", "0.000", "0.0", "0.0"});
    for (ResultGridModel* m : {listLS, listS})
        m->SetColumnPictures({"0.0", "0.00", "0.000", "0.0", "0.0"});
    for (ResultGridModel* m : {listC, listLS, listS}) m->setMarkPassingRows(true);
    // The three grids lie on one place; the tab brings one to the front.
    grids = new QStackedWidget(this);
    vaSpreadC = MakeGrid(listC, grids, "vaSpreadC");
    vaSpreadLS = MakeGrid(listLS, grids, "vaSpreadLS");
    vaSpreadS = MakeGrid(listS, grids, "vaSpreadS");
    grids->addWidget(vaSpreadC);
    grids->addWidget(vaSpreadLS);
    grids->addWidget(vaSpreadS);
    grids->setMinimumSize(560, 180);
    left->addWidget(grids, 1);
    auto* note = new QLabel(
        QStringLiteral("赤字：照査を満足しない値　　緑の行（✓）：全ての照査を満足する断面\n"
                       "推奨：合格断面のうち質量×Ｌが最小の断面（質量のない種類ではカタログ順で"
                       "最初の合格断面）。Ｌは必要矢板長を 0.5 m 単位に切り上げた長さ"),
        this);
    note->setObjectName(QStringLiteral("lblLegend"));
    note->setWordWrap(true);
    left->addWidget(note);
    body->addLayout(left, 0);

    // The force diagram of the pick beside them, as tall as the window.
    auto* side = new QVBoxLayout;
    side->addWidget(Heading("■ 断面力図（選択した断面・矢板全長）", this));
    figForces = new FigureView(this);
    figForces->setObjectName(QStringLiteral("figForces"));
    figForces->setMinimumSize(420, 380);
    // As large as the screen allows: the window opens at its full size, not two thirds of it.
    figForces->setPreferredSize(QSize(720, 660));
    figForces->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The diagram is laid out anew for the room it has, so its text stays legible.
    figForces->installEventFilter(this);
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
    connect(numSect, &QLineEdit::textChanged, this, [this] {
        ShowSectionRow();
        UpdateForceFigure();
    });
    connect(optYaita, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) UpdateForceFigure();
    });
    // A click on a row, or the arrow keys moving to it, take its kind and section number; a
    // double click or Enter also takes its required length rounded up to 0.5 m as L.
    for (QTableView* v : {vaSpreadC, vaSpreadLS, vaSpreadS}) {
        connect(v, &QTableView::clicked, this, [this, v](const QModelIndex& i) { TakeRow(v, i); });
        connect(v, &QTableView::doubleClicked, this,
                [this, v](const QModelIndex& i) { TakeRow(v, i, true); });
        connect(v->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, v](const QModelIndex& i) {
                    if (v->hasFocus()) TakeRow(v, i);
                });
        v->installEventFilter(this);
    }
    QWidget* order[] = {vaSpreadC,           vaSpreadLS,          vaSpreadS,   optYaita->button(0),
                        optYaita->button(1), optYaita->button(2), numSect,     numL,
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

void frmInpYaita::ApplyDependentEnabling() {
    // The window's own size, as large as the screen has room for (the opening keeps a new window
    // to two thirds of the screen), placed again for it.
    resize(sizeHint());
    PlaceWindow(this, section());
    UpdateEmbedment();
    ShowSectionRow();
    // The keys start in the list of the kind being chosen, on the row of its section.
    grids->currentWidget()->setFocus(Qt::OtherFocusReason);
}

void frmInpYaita::setNoPassingSection(const QString& why) {
    lblNone->setText(why);
    lblNone->setVisible(!why.isEmpty());
}

QTableView* frmInpYaita::gridOf(int yaita) const {
    return yaita == 0 ? vaSpreadC : yaita == 1 ? vaSpreadLS : vaSpreadS;
}

void frmInpYaita::TakeRow(QTableView* v, const QModelIndex& i, bool length) {
    if (!i.isValid()) return;
    setKind(v == vaSpreadC ? 0 : v == vaSpreadLS ? 1 : 2);
    numSect->setValue(i.row() + 1);
    if (!length) return;
    const auto* m = static_cast<const ResultGridModel*>(v->model());
    numL->setValue(usecase::ProposedLength(m->Value(i.row(), 1)));  // column 1: Lreq
    UpdateEmbedment();
}

void frmInpYaita::ShowSectionRow() {
    // The row of the section number in the chosen kind's list is its current row, so the arrow
    // keys go on from there; a number without a row leaves the list as it is.
    QTableView* v = gridOf(kind());
    const int row = int(std::lround(numSect->value())) - 1;
    if (row < 0 || row >= v->model()->rowCount()) return;
    const QModelIndex at = v->model()->index(row, 0);
    if (v->currentIndex().row() == row) return;
    const QSignalBlocker block(v->selectionModel());
    v->selectionModel()->setCurrentIndex(
        at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    v->viewport()->update();
}

bool frmInpYaita::eventFilter(QObject* watched, QEvent* event) {
    if (watched == figForces && event->type() == QEvent::Resize) {
        UpdateForceFigure();
    } else if (auto* v = qobject_cast<QTableView*>(watched);
               v && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            // Enter on a row is a double click on it; OK stays for Alt+O or its own Enter.
            TakeRow(v, v->currentIndex(), true);
            return true;
        }
    }
    return InputWindow::eventFilter(watched, event);
}

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
    // The frame the view has room for with its text at 9 points; never narrower or lower than a
    // frame whose three plots and their titles still stand side by side.
    const QSizeF frame = figForces->FrameForText(kForceTextStyle, 9.0, QSizeF(150.0, 110.0));
    const ForceFigureParts f = figureSource_(kind(), int(std::lround(numSect->value())),
                                             numL->value(), frame.width(), frame.height());
    if (f.parts.empty()) {
        figForces->setNote(f.note);
    } else {
        figForces->setFigure(f.width, f.height, f.parts);
    }
}

}  // namespace kuvelt::ui
