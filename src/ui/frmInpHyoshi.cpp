#include "ui/frmInpHyoshi.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "io/settings.h"
#include "model/ranges.h"
#include "ui/fields.h"
#include "ui/form_layout.h"

namespace kuvelt::ui {

QString CoverDateText(const QDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

namespace {

// A reference is edited under the text checks of every text field: its byte limit, no double
// quote, only what code page 932 holds. While it is edited the status line counts the bytes left.
class ReferenceDelegate : public QStyledItemDelegate {
  public:
    ReferenceDelegate(QLabel* status, QObject* parent)
        : QStyledItemDelegate(parent), status_(status) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        const int limit = ReferenceField().maxBytes;
        auto* edit = new QLineEdit(parent);
        edit->setValidator(new Cp932TextValidator(limit, edit));
        QLabel* status = status_;
        connect(edit, &QLineEdit::textChanged, edit, [status, limit](const QString& text) {
            if (status) status->setText(TextHint(limit, U8(text)));
        });
        return edit;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* edit = static_cast<QLineEdit*>(editor);
        edit->setText(index.data(Qt::EditRole).toString());
        if (status_) status_->setText(TextHint(ReferenceField().maxBytes, U8(edit->text())));
    }

  private:
    QLabel* status_;
};

}  // namespace

frmInpHyoshi::frmInpHyoshi(QWidget* parent)
    : InputWindow(std::string(ini::kInpHyoshi), QStringLiteral("表紙の設定"), parent) {
    auto* top = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("表紙に印刷する項目"), this);
    auto* g = new QGridLayout(box);
    // Field, its access key; the label is the field's caption in the design-field table.
    struct Row {
        const char* name;
        char key;
        TextField** field;
    };
    const Row rows[] = {
        {"CInpHyoshi.KojiMei", 'K', &txtKojiMei},     {"CInpHyoshi.Hachusha", 'R', &txtHachusha},
        {"CInpHyoshi.Sekkeisha", 'S', &txtSekkeisha}, {"CInpHyoshi.Shosasha", 'V', &txtShosasha},
        {"CInpHyoshi.Hizuke", 'D', &txtHizuke},       {"CInpHyoshi.Han", 'E', &txtHan},
    };
    int r = 0;
    for (const Row& row : rows) {
        auto* field = new TextField(row.name, box);
        const DesignField* d = FindTextLimit(row.name);
        // Room for the whole text: a byte is about one digit's width.
        field->setMinimumWidth(FieldWidth(field, d ? d->maxBytes : 20));
        auto* label = new QLabel(Q(std::string(d ? d->caption : "")) + QStringLiteral("(&") +
                                     QLatin1Char(row.key) + QLatin1Char(')'),
                                 box);
        label->setBuddy(field);
        g->addWidget(label, r, 0);
        auto* line = new QHBoxLayout;
        line->addWidget(field);
        g->addLayout(line, r, 1);
        *row.field = field;
        ++r;
        if (field->name() == "CInpHyoshi.Hizuke") {
            // Today's date beside the date field, to take or to edit.
            cmdToday = new QPushButton(QStringLiteral("今日の日付(&T)"), box);
            cmdToday->setAutoDefault(false);
            line->addWidget(cmdToday);
        }
        line->addStretch(1);
    }
    connect(cmdToday, &QPushButton::clicked, this, [this] {
        txtHizuke->setText(U8(CoverDateText(today())));
        txtHizuke->setFocus(Qt::OtherFocusReason);
    });
    top->addWidget(box);
    auto* note = new QLabel(
        QStringLiteral(
            "空欄の項目は表紙に印刷されません。設計者・照査者の押印欄は常に印刷されます。"),
        this);
    top->addWidget(note);

    auto* refs = new QGroupBox(QStringLiteral("適用基準・計算方法の頁に印刷する参考文献"), this);
    auto* rg = new QGridLayout(refs);
    auto* refsLabel = new QLabel(QStringLiteral("参考文献(&B)　1行に1件，印刷する順に"), refs);
    lstSankoBunken = new QListWidget(refs);
    lstSankoBunken->setEditTriggers(QAbstractItemView::DoubleClicked |
                                    QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::SelectedClicked);
    lstSankoBunken->setMinimumWidth(FieldWidth(lstSankoBunken, ReferenceField().maxBytes));
    refsLabel->setBuddy(lstSankoBunken);
    rg->addWidget(refsLabel, 0, 0);
    rg->addWidget(lstSankoBunken, 1, 0);
    auto* side = new QVBoxLayout;
    auto button = [&](const QString& caption) {
        auto* b = new QPushButton(caption, refs);
        b->setAutoDefault(false);
        side->addWidget(b);
        return b;
    };
    cmdBunkenAdd = button(QStringLiteral("追加(&A)"));
    cmdBunkenEdit = button(QStringLiteral("編集(&M)"));
    cmdBunkenDelete = button(QStringLiteral("削除(&X)"));
    cmdBunkenUp = button(QStringLiteral("上へ(&U)"));
    cmdBunkenDown = button(QStringLiteral("下へ(&N)"));
    side->addStretch(1);
    rg->addLayout(side, 1, 1);
    rg->addWidget(
        new QLabel(QStringLiteral("参考文献がないときは，書式ﾌｧｲﾙ（Kuvelt.FMT）の参考文献を"
                                  "印刷します。"),
                   refs),
        2, 0, 1, 2);
    top->addWidget(refs);
    top->addLayout(MakeButtonRow());

    auto* delegate = new ReferenceDelegate(statusLine(), lstSankoBunken);
    lstSankoBunken->setItemDelegate(delegate);
    // An editor closed on an empty line removes it: a blank line is no reference.
    connect(delegate, &QAbstractItemDelegate::closeEditor, this, [this] {
        DropEmptyReferences();
        statusLine()->clear();
    });
    connect(lstSankoBunken, &QListWidget::currentRowChanged, this,
            [this] { UpdateReferenceButtons(); });
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(lstSankoBunken->model(), signal, this, [this] { UpdateReferenceButtons(); });
    }
    connect(cmdBunkenAdd, &QPushButton::clicked, this, [this] {
        auto* item = new QListWidgetItem(lstSankoBunken);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        EditReference(lstSankoBunken->row(item));
    });
    connect(cmdBunkenEdit, &QPushButton::clicked, this,
            [this] { EditReference(lstSankoBunken->currentRow()); });
    connect(cmdBunkenDelete, &QPushButton::clicked, this, [this] {
        delete lstSankoBunken->takeItem(lstSankoBunken->currentRow());
        UpdateReferenceButtons();
    });
    connect(cmdBunkenUp, &QPushButton::clicked, this, [this] { MoveReference(-1); });
    connect(cmdBunkenDown, &QPushButton::clicked, this, [this] { MoveReference(1); });

    QWidget* order[] = {txtKojiMei,    txtHachusha,   txtSekkeisha,    txtShosasha,
                        txtHizuke,     cmdToday,      txtHan,          lstSankoBunken,
                        cmdBunkenAdd,  cmdBunkenEdit, cmdBunkenDelete, cmdBunkenUp,
                        cmdBunkenDown, okButton(),    cancelButton(),  helpButton()};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    UpdateReferenceButtons();
}

void frmInpHyoshi::setReferences(const std::vector<std::string>& texts) {
    lstSankoBunken->clear();
    for (const std::string& t : texts) {
        auto* item = new QListWidgetItem(Q(t), lstSankoBunken);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    if (!texts.empty()) lstSankoBunken->setCurrentRow(0);
    UpdateReferenceButtons();
}

std::vector<std::string> frmInpHyoshi::references() const {
    std::vector<std::string> out;
    for (int i = 0; i < lstSankoBunken->count(); ++i) {
        std::string t = U8(lstSankoBunken->item(i)->text());
        if (!t.empty()) out.push_back(std::move(t));
    }
    return out;
}

void frmInpHyoshi::EditReference(int row) {
    QListWidgetItem* item = lstSankoBunken->item(row);
    if (!item) return;
    lstSankoBunken->setCurrentItem(item);
    lstSankoBunken->setFocus(Qt::OtherFocusReason);
    lstSankoBunken->editItem(item);
}

void frmInpHyoshi::MoveReference(int by) {
    const int row = lstSankoBunken->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= lstSankoBunken->count()) return;
    QListWidgetItem* item = lstSankoBunken->takeItem(row);
    lstSankoBunken->insertItem(to, item);
    lstSankoBunken->setCurrentRow(to);
}

void frmInpHyoshi::DropEmptyReferences() {
    for (int i = lstSankoBunken->count() - 1; i >= 0; --i) {
        if (lstSankoBunken->item(i)->text().isEmpty()) delete lstSankoBunken->takeItem(i);
    }
    UpdateReferenceButtons();
}

void frmInpHyoshi::UpdateReferenceButtons() {
    const int row = lstSankoBunken->currentRow();
    const int n = lstSankoBunken->count();
    cmdBunkenAdd->setEnabled(n < kMaxReferences);
    cmdBunkenEdit->setEnabled(row >= 0);
    cmdBunkenDelete->setEnabled(row >= 0);
    cmdBunkenUp->setEnabled(row > 0);
    cmdBunkenDown->setEnabled(row >= 0 && row + 1 < n);
}

}  // namespace kuvelt::ui
