#include "ui/frmInpHyoshi.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "io/settings.h"
#include "model/ranges.h"
#include "ui/fields.h"
#include "ui/form_layout.h"

namespace kuvelt::ui {

QString CoverDateText(const QDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

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
    top->addLayout(MakeButtonRow());

    QWidget* order[] = {txtKojiMei, txtHachusha, txtSekkeisha, txtShosasha,    txtHizuke,
                        cmdToday,   txtHan,      okButton(),   cancelButton(), helpButton()};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

}  // namespace kuvelt::ui
