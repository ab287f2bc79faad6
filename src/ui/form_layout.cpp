#include "ui/form_layout.h"

#include <QFontMetrics>
#include <algorithm>

#include "model/ranges.h"
#include "platform/numfmt.h"
#include "ui/field_specs.h"

namespace kuvelt::ui {

int FieldWidth(const QWidget* w, int chars) {
    return w->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 16;
}

NumField* MakeNumField(const std::string& fieldName, QWidget* parent) {
    const FieldRange& range = FieldFor(fieldName);
    auto* field = new NumField(range, parent);
    // The range and unit before the mistake: as a tooltip, and in the window's status line while
    // the field has the focus.
    field->setToolTip(Q(std::string(range.caption)) + QLatin1Char('\n') +
                      Q(RangeMessage(range).text));
    std::size_t chars = 4;
    for (const double v : {range.min, range.max}) {
        for (const std::string_view f : {range.displayFormat, range.editFormat}) {
            chars = std::max(chars, numfmt::FormatNumber(v, f).size());
        }
    }
    field->setFixedWidth(FieldWidth(field, int(chars) + 1));
    return field;
}

NumField* AddNumRow(QGridLayout* grid, int row, const std::string& specName, QWidget* parent,
                    const QString& label, int col) {
    NumField* field = MakeNumField(specName, parent);
    const FieldRange& spec = field->spec();
    auto* text = new QLabel(label.isEmpty() ? Q(std::string(spec.caption)) : label, parent);
    text->setBuddy(field);
    grid->addWidget(text, row, col);
    grid->addWidget(field, row, col + 1, Qt::AlignLeft);
    return field;
}

}  // namespace kuvelt::ui
