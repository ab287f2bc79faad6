#include "ui/frmInpSect.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
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
// View

void SectGridView::keyPressEvent(QKeyEvent* event) {
    // The clipboard keys are the edit commands whenever the grid itself has the focus, also when
    // the window's shortcuts are not matched yet (e.g. just after a message box closed).
    if (state() != QAbstractItemView::EditingState) {
        for (const auto& [key, command] :
             {std::pair{QKeySequence::Cut, ClipboardCommand::Cut},
              std::pair{QKeySequence::Copy, ClipboardCommand::Copy},
              std::pair{QKeySequence::Paste, ClipboardCommand::Paste}}) {
            if (event->matches(key)) {
                event->accept();
                emit clipboardKey(command);
                return;
            }
        }
    }
    QTableView::keyPressEvent(event);
}

bool SectGridView::CommitOpenEditor() {
    if (state() != QAbstractItemView::EditingState) return true;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) return true;
    auto* delegate = qobject_cast<SectCellDelegate*>(itemDelegate());
    commitData(editor);
    const bool refused = delegate && delegate->lastRefused();
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !refused;
}

CellBlock SectGridView::SelectedBlock() const {
    const QModelIndexList sel =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    if (sel.isEmpty()) {
        const QModelIndex cur = currentIndex();
        if (!cur.isValid()) return {};
        return CellBlock{cur.row(), cur.column(), cur.row(), cur.column()};
    }
    CellBlock b{sel.front().row(), sel.front().column(), sel.front().row(), sel.front().column()};
    for (const QModelIndex& i : sel) {
        b.top = std::min(b.top, i.row());
        b.bottom = std::max(b.bottom, i.row());
        b.left = std::min(b.left, i.column());
        b.right = std::max(b.right, i.column());
    }
    return b;
}

// ---------------------------------------------------------------------------------------------
// Delegate

SectCellDelegate::SectCellDelegate(SectGridModel* model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

QWidget* SectCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    const GridColumn& c = model_->column(index.column());
    if (c.kind == CellKind::List) {
        auto* box = new QComboBox(parent);
        for (std::string_view s : kSectShapeCaptions) box->addItem(Q(std::string(s)));
        box->setFrame(false);
        return box;
    }
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    if (c.kind == CellKind::Text) {
        edit->setValidator(new Cp932TextValidator(c.maxBytes, edit));
    } else {
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Digits, one sign, one point, thousands separators; the range is checked on leaving.
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("^[+-]?[0-9,]{0,12}\\.?[0-9]{0,6}$")), edit));
    }
    return edit;
}

void SectCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        box->setCurrentIndex(index.data(Qt::EditRole).toInt());
        return;
    }
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (!edit) return;
    if (pendingIndex_.isValid() && pendingIndex_ == index) {
        edit->setText(pendingText_);
        pendingIndex_ = QPersistentModelIndex();
    } else {
        edit->setText(index.data(Qt::DisplayRole).toString());
    }
    edit->selectAll();
}

void SectCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    lastRefused_ = false;
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, box->currentIndex(), Qt::EditRole);
        return;
    }
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (!edit) return;
    const QString text = edit->text();
    if (const auto refusal = model_->CheckCell(index.row(), index.column(), text)) {
        lastRefused_ = true;
        emit Refused(index, *refusal, text);
        return;
    }
    model->setData(index, text, Qt::EditRole);
}

void SectCellDelegate::SetPendingText(const QModelIndex& index, const QString& text) {
    pendingIndex_ = index;
    pendingText_ = text;
}

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
    delegate_ = new SectCellDelegate(model_, vaSpread1);
    vaSpread1->setItemDelegate(delegate_);
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
    connect(delegate_, &SectCellDelegate::Refused, this, &frmInpSect::OnRefused);
    connect(vaSpread1, &SectGridView::clipboardKey, this, [this](SectGridView::ClipboardCommand c) {
        if (c == SectGridView::ClipboardCommand::Cut) EditCut();
        if (c == SectGridView::ClipboardCommand::Copy) EditCopy();
        if (c == SectGridView::ClipboardCommand::Paste) EditPaste();
    });
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

int frmInpSect::ActiveRow() const {
    const QModelIndex cur = vaSpread1->currentIndex();
    return cur.isValid() ? cur.row() : -1;
}

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

void frmInpSect::EditCopy() {
    if (!vaSpread1->CommitOpenEditor()) return;
    const CellBlock b = vaSpread1->SelectedBlock();
    if (b.empty()) return;
    QGuiApplication::clipboard()->setText(model_->CopyBlock(b));
}

void frmInpSect::EditCut() {
    if (!vaSpread1->CommitOpenEditor()) return;
    const CellBlock b = vaSpread1->SelectedBlock();
    if (b.empty()) return;
    QGuiApplication::clipboard()->setText(model_->CutBlock(b));
}

void frmInpSect::EditPaste() {
    if (!vaSpread1->CommitOpenEditor()) return;
    QModelIndex cur = vaSpread1->currentIndex();
    const int row = cur.isValid() ? cur.row() : model_->rowCount();
    const int col = cur.isValid() ? cur.column() : 0;
    CellBlock pasted;
    if (const auto refusal =
            model_->PasteBlock(row, col, QGuiApplication::clipboard()->text(), &pasted)) {
        Services().Beep();
        Services().ShowMessage(this, *refusal);
        return;
    }
    // The pasted block stays selected, as in a spreadsheet.
    vaSpread1->setCurrentIndex(model_->index(pasted.top, pasted.left));
    vaSpread1->selectionModel()->select(QItemSelection(model_->index(pasted.top, pasted.left),
                                                       model_->index(pasted.bottom, pasted.right)),
                                        QItemSelectionModel::ClearAndSelect);
}

void frmInpSect::EditAdd() {
    if (!vaSpread1->CommitOpenEditor()) return;
    const int col = std::max(0, vaSpread1->currentIndex().column());
    if (!model_->AddRow()) return;
    vaSpread1->setCurrentIndex(model_->index(model_->rowCount() - 1, col));
    vaSpread1->scrollToBottom();
}

void frmInpSect::EditInsert() {
    if (!vaSpread1->CommitOpenEditor()) return;
    const int row = ActiveRow();
    const int col = std::max(0, vaSpread1->currentIndex().column());
    const int at = row < 0 ? model_->rowCount() : row;
    if (!model_->InsertRow(at)) return;
    vaSpread1->setCurrentIndex(model_->index(at, col));
}

void frmInpSect::EditDelete() {
    if (!vaSpread1->CommitOpenEditor()) return;
    const int row = ActiveRow();
    const int col = std::max(0, vaSpread1->currentIndex().column());
    if (!model_->DeleteRow(row)) return;
    if (model_->rowCount() > 0) {
        vaSpread1->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), col));
    }
}

void frmInpSect::OnRefused(const QModelIndex& index, const Message& message, const QString& text) {
    // The editor is closing while this runs: show the box and reopen the cell afterwards.
    const QPersistentModelIndex at(index);
    QTimer::singleShot(0, this, [this, at, message, text] {
        // An editor closed by Cancel or by closing the window is dropped without a word.
        if (closing_ || !isVisible()) return;
        Services().Beep();
        Services().ShowMessage(this, message);
        if (!at.isValid()) return;
        vaSpread1->setCurrentIndex(at);
        delegate_->SetPendingText(at, text);
        vaSpread1->edit(at);
    });
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
    closing_ = true;
    delegate_->disconnect(this);
    model_->disconnect(this);
    vaSpread1->selectionModel()->disconnect(this);
    disconnect(qApp, nullptr, this, nullptr);
}

void frmInpSect::done(int result) {
    closing_ = true;
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
