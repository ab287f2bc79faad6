// The editing of a registration grid, shared by the section windows and the ground window's
// layer grid: the view (clipboard keys, the selected block), the cell editors (a list for a list
// column, line edits with the column's limits for the others) and the edit commands — cut, copy
// and paste of cell blocks as tab-separated text, add, insert and delete rows within the model's
// row limit. A cell the column refuses is announced when it is left and reopened with the text
// typed; a refused paste beeps and says why, changing nothing.
#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QTableView>

#include "platform/message.h"
#include "ui/sect_grid_model.h"

namespace kuvelt::ui {

// The grid view: commits or refuses an open cell editor on request.
class SectGridView : public QTableView {
    Q_OBJECT
  public:
    using QTableView::QTableView;
    enum class ClipboardCommand { Cut, Copy, Paste };
    // Closes an open editor, writing its text through the delegate; false when it was refused.
    bool CommitOpenEditor();
    // The selected block, or the active cell when nothing is selected.
    CellBlock SelectedBlock() const;

  signals:
    // Ctrl+X / Ctrl+C / Ctrl+V reached the grid outside a cell editor.
    void clipboardKey(kuvelt::ui::SectGridView::ClipboardCommand command);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Editors of the cells. The typed text goes through the model's check; a refusal is announced,
// not written.
class SectCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    SectCellDelegate(SectGridModel* model, QObject* parent);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    // The text the next editor of `index` starts with (a refused entry reopened).
    void SetPendingText(const QModelIndex& index, const QString& text);
    bool lastRefused() const { return lastRefused_; }

  signals:
    void Refused(const QModelIndex& index, const kuvelt::Message& message,
                 const QString& text) const;

  private:
    SectGridModel* model_;
    mutable QPersistentModelIndex pendingIndex_;
    mutable QString pendingText_;
    mutable bool lastRefused_ = false;
};

// The edit commands of `view` over `model` in `window` (whose message boxes they show). It sets
// the view's delegate and takes the view's clipboard keys.
class GridEditing : public QObject {
    Q_OBJECT
  public:
    GridEditing(QWidget* window, SectGridView* view, SectGridModel* model);

    SectCellDelegate* delegate() const { return delegate_; }
    void Cut();
    void Copy();
    void Paste();
    void Add();
    void Insert();
    void Delete();
    // The row of the active cell, -1 when none.
    int ActiveRow() const;
    // The window is closing: an editor closed on the way is dropped without a word.
    void Close();

  private:
    void OnRefused(const QModelIndex& index, const Message& message, const QString& text);

    QWidget* window_;
    SectGridView* view_;
    SectGridModel* model_;
    SectCellDelegate* delegate_;
    bool closing_ = false;
};

}  // namespace kuvelt::ui
