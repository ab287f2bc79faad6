// Small layout helpers the condition windows share: a label and a numeric field on one grid
// row, with the label as the field's buddy so its access key and screen readers find it.
#pragma once

#include <QGridLayout>
#include <QLabel>
#include <string>

#include "ui/fields.h"

namespace kuvelt::ui {

// Adds "label | field" at `row` of `grid` (columns col, col + 1) and returns the field. The
// field is wide enough for its edit and display formats.
NumField* AddNumRow(QGridLayout* grid, int row, const std::string& specName, QWidget* parent,
                    const QString& label = QString(), int col = 0);

// A numeric field for the design field `specName`, wide enough for its formats.
NumField* MakeNumField(const std::string& specName, QWidget* parent);

// Width in pixels that shows `chars` digits of the widget's font plus the frame.
int FieldWidth(const QWidget* w, int chars);

}  // namespace kuvelt::ui
