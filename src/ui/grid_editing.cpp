#include "ui/grid_editing.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "ui/fields.h"
#include "ui/ui_services.h"

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
        for (std::string_view s : ListCaptions(c)) box->addItem(Q(std::string(s)));
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
// Commands

GridEditing::GridEditing(QWidget* window, SectGridView* view, SectGridModel* model)
    : QObject(window), window_(window), view_(view), model_(model) {
    delegate_ = new SectCellDelegate(model_, view_);
    view_->setItemDelegate(delegate_);
    connect(delegate_, &SectCellDelegate::Refused, this, &GridEditing::OnRefused);
    connect(view_, &SectGridView::clipboardKey, this, [this](SectGridView::ClipboardCommand c) {
        if (c == SectGridView::ClipboardCommand::Cut) Cut();
        if (c == SectGridView::ClipboardCommand::Copy) Copy();
        if (c == SectGridView::ClipboardCommand::Paste) Paste();
    });
}

void GridEditing::Close() {
    closing_ = true;
    delegate_->disconnect(this);
}

int GridEditing::ActiveRow() const {
    const QModelIndex cur = view_->currentIndex();
    return cur.isValid() ? cur.row() : -1;
}

void GridEditing::Copy() {
    if (!view_->CommitOpenEditor()) return;
    const CellBlock b = view_->SelectedBlock();
    if (b.empty()) return;
    QGuiApplication::clipboard()->setText(model_->CopyBlock(b));
}

void GridEditing::Cut() {
    if (!view_->CommitOpenEditor()) return;
    const CellBlock b = view_->SelectedBlock();
    if (b.empty()) return;
    QGuiApplication::clipboard()->setText(model_->CutBlock(b));
}

void GridEditing::Paste() {
    if (!view_->CommitOpenEditor()) return;
    QModelIndex cur = view_->currentIndex();
    const int row = cur.isValid() ? cur.row() : model_->rowCount();
    const int col = cur.isValid() ? cur.column() : 0;
    CellBlock pasted;
    if (const auto refusal =
            model_->PasteBlock(row, col, QGuiApplication::clipboard()->text(), &pasted)) {
        Services().Beep();
        Services().ShowMessage(window_, *refusal);
        return;
    }
    // The pasted block stays selected, as in a spreadsheet.
    view_->setCurrentIndex(model_->index(pasted.top, pasted.left));
    view_->selectionModel()->select(QItemSelection(model_->index(pasted.top, pasted.left),
                                                   model_->index(pasted.bottom, pasted.right)),
                                    QItemSelectionModel::ClearAndSelect);
}

void GridEditing::Add() {
    if (!view_->CommitOpenEditor()) return;
    const int col = std::max(0, view_->currentIndex().column());
    if (!model_->AddRow()) return;
    view_->setCurrentIndex(model_->index(model_->rowCount() - 1, col));
    view_->scrollToBottom();
}

void GridEditing::Insert() {
    if (!view_->CommitOpenEditor()) return;
    const int row = ActiveRow();
    const int col = std::max(0, view_->currentIndex().column());
    const int at = row < 0 ? model_->rowCount() : row;
    if (!model_->InsertRow(at)) return;
    view_->setCurrentIndex(model_->index(at, col));
}

void GridEditing::Delete() {
    if (!view_->CommitOpenEditor()) return;
    const int row = ActiveRow();
    const int col = std::max(0, view_->currentIndex().column());
    if (!model_->DeleteRow(row)) return;
    if (model_->rowCount() > 0) {
        view_->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), col));
    }
}

void GridEditing::OnRefused(const QModelIndex& index, const Message& message, const QString& text) {
    // The editor is closing while this runs: show the box and reopen the cell afterwards.
    const QPersistentModelIndex at(index);
    QTimer::singleShot(0, this, [this, at, message, text] {
        // An editor closed by Cancel or by closing the window is dropped without a word.
        if (closing_ || !window_->isVisible()) return;
        Services().Beep();
        Services().ShowMessage(window_, message);
        if (!at.isValid()) return;
        view_->setCurrentIndex(at);
        delegate_->SetPendingText(at, text);
        view_->edit(at);
    });
}

}  // namespace kuvelt::ui
