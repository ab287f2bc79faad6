#include "ui/frmInpSect.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "io/settings.h"
#include "model/design.h"
#include "platform/numfmt.h"
#include "platform/profile.h"
#include "ui/fields.h"
#include "ui/ui_services.h"
#include "ui/window_position.h"

namespace kuvelt::ui {

// ---------------------------------------------------------------------------------------------
// Window

namespace {

double ScreenDpi(bool x) {
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return 96.0;
    return x ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
}

}  // namespace

frmInpSect::frmInpSect(const std::string& grid, const std::string& section, const QString& caption,
                       QWidget* parent)
    : InputWindow(section, caption, parent) {
    const WindowPlacement stored = ReadWindowPlacement(section);
    storedWidth_ = stored.width > 0 ? TwipsToPixels(stored.width, ScreenDpi(true)) : 0;
    storedHeight_ = stored.height > 0 ? TwipsToPixels(stored.height, ScreenDpi(false)) : 0;
    setSizeGripEnabled(true);

    model_ = new SectGridModel(grid, this);
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    auto* bar = new QMenuBar(this);
    top->setMenuBar(bar);
    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("Toolbar1"));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->setIconSize(QSize(16, 16));
    top->addWidget(tools);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(8, 6, 8, 6);
    body->setSpacing(10);
    vaSpread1 = new SectGridView(this);
    vaSpread1->setObjectName(QStringLiteral("vaSpread1"));
    vaSpread1->setModel(model_);
    editing_ = new GridEditing(this, vaSpread1, model_);
    vaSpread1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    vaSpread1->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
        QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    vaSpread1->setAlternatingRowColors(true);
    vaSpread1->verticalHeader()->setDefaultSectionSize(vaSpread1->fontMetrics().height() + 8);
    vaSpread1->horizontalHeader()->setHighlightSections(true);
    vaSpread1->horizontalHeader()->setStretchLastSection(true);
    body->addWidget(vaSpread1, 1);

    // OK, Cancel and Help in a column at the right edge.
    QHBoxLayout* row = MakeButtonRow();
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {okButton(), cancelButton(), helpButton()}) {
        row->removeWidget(b);
        buttons->addWidget(b);
    }
    delete row;
    buttons->addStretch(1);
    body->addLayout(buttons);
    top->addLayout(body, 1);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::StyledPanel);
    Frame1 = frame;
    auto* frameRow = new QHBoxLayout;
    frameRow->setContentsMargins(8, 0, 8, 6);
    frameRow->addWidget(frame);
    top->addLayout(frameRow);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    lblHint_ = new QLabel(StatusBar1);
    lblHint_->setContentsMargins(6, 0, 0, 0);
    lblHint_->setObjectName(QStringLiteral("lblHint"));
    StatusBar1->addWidget(lblHint_, 1);
    lblMax_ = new QLabel(StatusBar1);
    lblMax_->setContentsMargins(0, 0, 8, 0);
    StatusBar1->addPermanentWidget(lblMax_);
    top->addWidget(StatusBar1);

    BuildMenuAndToolBar(bar, tools);

    // OK first closes an open cell editor; a refused cell keeps the window open.
    okButton()->disconnect(this);
    connect(okButton(), &QPushButton::clicked, this, &frmInpSect::OnOkPressed);
    connect(model_, &SectGridModel::rowsChanged, this, &frmInpSect::UpdateCommands);
    connect(vaSpread1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& now, const QModelIndex&) {
                if (now.isValid() && vaSpread1->hasFocus()) ShowHint();
            });
    connect(qApp, &QApplication::focusChanged, this, &frmInpSect::OnFocusChanged);
}

void frmInpSect::BuildMenuAndToolBar(QMenuBar* bar, QToolBar* tools) {
    QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    auto item = [&](const char* name, const char* text, void (frmInpSect::*run)(),
                    QKeySequence key = {}) {
        QAction* a = edit->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromUtf8(name));
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        }
        connect(a, &QAction::triggered, this, run);
        return a;
    };
    mnuEditCut = item("mnuEditCut", "切り取り(&T)", &frmInpSect::EditCut, QKeySequence::Cut);
    mnuEditCopy = item("mnuEditCopy", "ｺﾋﾟｰ(&C)", &frmInpSect::EditCopy, QKeySequence::Copy);
    mnuEditPaste =
        item("mnuEditPaste", "貼り付け(&P)", &frmInpSect::EditPaste, QKeySequence::Paste);
    edit->addSeparator();
    mnuEditAdd = item("mnuEditAdd", "ﾃﾞｰﾀ行追加(&A)", &frmInpSect::EditAdd);
    mnuEditIns = item("mnuEditIns", "ﾃﾞｰﾀ行挿入(&I)", &frmInpSect::EditInsert);
    mnuEditDel = item("mnuEditDel", "ﾃﾞｰﾀ行削除(&D) ", &frmInpSect::EditDelete);
    // The grid takes the clipboard keys itself; the shortcuts must reach these actions.
    for (QAction* a : {mnuEditCut, mnuEditCopy, mnuEditPaste}) vaSpread1->addAction(a);

    struct Tool {
        const char* key;
        const char* text;
        const char* icon;
        void (frmInpSect::*run)();
        QAction** out;
    };
    const Tool items[] = {
        {"Cut", "切り取り", "edit-cut", &frmInpSect::EditCut, &tbrCut},
        {"Copy", "ｺﾋﾟｰ", "edit-copy", &frmInpSect::EditCopy, &tbrCopy},
        {"Paste", "貼り付け", "edit-paste", &frmInpSect::EditPaste, &tbrPaste},
        {"Add", "行追加", "list-add", &frmInpSect::EditAdd, &tbrAdd},
        {"Insert", "行挿入", "insert-object", &frmInpSect::EditInsert, &tbrInsert},
        {"Delete", "行削除", "list-remove", &frmInpSect::EditDelete, &tbrDelete},
    };
    for (const Tool& t : items) {
        if (std::string(t.key) == "Add") tools->addSeparator();
        QAction* a = tools->addAction(QIcon::fromTheme(QString::fromUtf8(t.icon)),
                                      QString::fromUtf8(t.text));
        a->setObjectName(QStringLiteral("tbr") + QString::fromUtf8(t.key));
        a->setData(QString::fromUtf8(t.key));
        a->setToolTip(QString::fromUtf8(t.text));
        connect(a, &QAction::triggered, this, t.run);
        *t.out = a;
    }
}

void frmInpSect::BuildLegends(QWidget* frame, std::initializer_list<Legend> legends) {
    auto* g = new QGridLayout(frame);
    g->setContentsMargins(10, 6, 10, 6);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(2);
    int r = 0;
    for (const Legend& l : legends) {
        g->addWidget(new QLabel(QString::fromUtf8(l.term), frame), r, 0);
        g->addWidget(new QLabel(QString::fromUtf8(l.text), frame), r, 1);
        ++r;
    }
    g->setColumnStretch(1, 1);
}

int frmInpSect::ColumnWidth(int col) const {
    const int hint = vaSpread1->horizontalHeader()->sectionSizeHint(col);
    return std::max(hint + 12, col == 0 ? 130 : 110);
}

QSize frmInpSect::DesignedSize() const {
    // Wide enough for every column and the buttons, tall enough for a dozen rows.
    int w = vaSpread1->verticalHeader()->sizeHint().width() + 4;
    for (int c = 0; c < model_->columnCount(); ++c) w += ColumnWidth(c);
    w += vaSpread1->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    const QSize base = InputWindow::sizeHint();
    const int rows = vaSpread1->verticalHeader()->defaultSectionSize() * 12;
    return QSize(std::max(base.width(), w + okButton()->sizeHint().width() + 60),
                 base.height() + rows);
}

QSize frmInpSect::sizeHint() const {
    // A stored width or height of 0 or less keeps the designed one.
    const QSize designed = DesignedSize();
    return QSize(storedWidth_ > 0 ? storedWidth_ : designed.width(),
                 storedHeight_ > 0 ? storedHeight_ : designed.height());
}

void frmInpSect::ApplyDependentEnabling() {
    // The stored size wins over the designed one (which the opening clamps to the screen); the
    // centring rule then needs the final size.
    if ((storedWidth_ > 0 || storedHeight_ > 0) && size() != sizeHint()) {
        resize(sizeHint());
        PlaceWindow(this, section());
    }
    model_->setRecMax(UsrRecMax > 0 ? UsrRecMax : kMaxSections);
    lblMax_->setText(QStringLiteral(" 最大") + QString::number(model_->recMax()) +
                     QStringLiteral("断面 "));
    for (int c = 0; c < model_->columnCount(); ++c) vaSpread1->setColumnWidth(c, ColumnWidth(c));
    if (model_->rowCount() > 0) vaSpread1->setCurrentIndex(model_->index(0, 0));
    UpdateCommands();
}

void frmInpSect::UpdateCommands() {
    const bool canAdd = model_->CanAdd();
    for (QAction* a : {mnuEditAdd, mnuEditIns, tbrAdd, tbrInsert}) a->setEnabled(canAdd);
    const bool any = model_->rowCount() > 0;
    for (QAction* a : {mnuEditDel, tbrDelete, mnuEditCut, tbrCut, mnuEditCopy, tbrCopy}) {
        a->setEnabled(any);
    }
}

void frmInpSect::EditCut() { editing_->Cut(); }
void frmInpSect::EditCopy() { editing_->Copy(); }
void frmInpSect::EditPaste() { editing_->Paste(); }
void frmInpSect::EditAdd() { editing_->Add(); }
void frmInpSect::EditInsert() { editing_->Insert(); }
void frmInpSect::EditDelete() { editing_->Delete(); }

QString frmInpSect::hintText() const { return lblHint_->text(); }

void frmInpSect::ShowHint() {
    const QModelIndex cur = vaSpread1->currentIndex();
    lblHint_->setText(cur.isValid() ? model_->Hint(cur.column()) : QString());
}

void frmInpSect::OnFocusChanged(QWidget*, QWidget* now) {
    if (!now || now->window() != this) return;
    const bool inGrid = now == vaSpread1 || vaSpread1->isAncestorOf(now);
    if (inGrid) {
        ShowHint();
    } else {
        lblHint_->clear();
    }
}

bool frmInpSect::CrossFieldCheck() {
    const int row = model_->FirstCrossedLengthRow();
    if (row < 0) return true;
    const int col = model_->LminColumn();
    Services().Beep();
    Services().ShowMessage(this, LengthOrderMessage(row + 1, model_->Value(row, col),
                                                    model_->Value(row, model_->LmaxColumn()),
                                                    std::string(model_->column(col).caption)));
    vaSpread1->setFocus(Qt::OtherFocusReason);
    vaSpread1->setCurrentIndex(model_->index(row, col));
    return false;
}

void frmInpSect::OnOkPressed() {
    if (!vaSpread1->CommitOpenEditor()) return;
    PressOk();
}

frmInpSect::~frmInpSect() {
    // An editor still open is closed while the children go, and its refusal or a focus change
    // must not reach this half-destroyed window.
    editing_->Close();
    model_->disconnect(this);
    vaSpread1->selectionModel()->disconnect(this);
    disconnect(qApp, nullptr, this, nullptr);
}

void frmInpSect::done(int result) {
    editing_->Close();
    const QSize s = size();
    InputWindow::done(result);
    CPrivateProfile::SetValueString(gIniFile, section(), ini::kWidth,
                                    numfmt::General(PixelsToTwips(s.width(), ScreenDpi(true))));
    CPrivateProfile::SetValueString(gIniFile, section(), ini::kHeight,
                                    numfmt::General(PixelsToTwips(s.height(), ScreenDpi(false))));
}

frmInpSectC::frmInpSectC(QWidget* parent)
    : frmInpSect("InpSectC", std::string(ini::kInpSectC), QStringLiteral("ｺﾝｸﾘｰﾄ矢板断面の登録"),
                 parent) {
    BuildLegends(Frame1, {{"Ｍc", "；ｺﾝｸﾘｰﾄ矢板１ｍ当たりのひび割れﾓｰﾒﾝﾄ(kN･m/m)"},
                          {"Lmin", "；ｺﾝｸﾘｰﾄ矢板の最小長さ(m)"},
                          {"Lmax", "；ｺﾝｸﾘｰﾄ矢板の最大長さ(m)"}});
}

frmInpSectS::frmInpSectS(QWidget* parent, bool lightSteel)
    : frmInpSect(lightSteel ? "InpSectLS" : "InpSectS", std::string(ini::kInpSectS),
                 QStringLiteral("鋼矢板断面の登録"), parent) {
    BuildLegends(Frame1, {{"Ｉ'", "；（腐食前）矢板１ｍ当たりの断面2次ﾓｰﾒﾝﾄ(cm4/m)"},
                          {"Ｚ'", "；（腐食前）矢板１ｍ当たりの断面係数(cm3/m)"},
                          {"Ｉ", "；（腐食後）矢板１ｍ当たりの断面2次ﾓｰﾒﾝﾄ(cm4/m)"},
                          {"Ｚ", "；（腐食後）矢板１ｍ当たりの断面係数(cm3/m)"}});
}

}  // namespace kuvelt::ui
