#include "ui/result_grid_model.h"

#include <QBrush>
#include <QColor>
#include <cmath>
#include <limits>

#include "platform/numfmt.h"
#include "ui/fields.h"

namespace kuvelt::ui {

ResultGridModel::ResultGridModel(const QStringList& headers, QObject* parent)
    : QAbstractTableModel(parent), headers_(headers) {}

int ResultGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ResultGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(headers_.size());
}

const QColor& ResultGridModel::FailColor() {
    static const QColor c(255, 0, 0);
    return c;
}

const QColor& ResultGridModel::PassColor() {
    static const QColor c(226, 244, 222);
    return c;
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return Text(index.row(), index.column());
        case Qt::ForegroundRole:
            if (IsRed(index.row(), index.column())) return QBrush(FailColor());
            return {};
        case Qt::BackgroundRole:
            if (RowMarked(index.row())) return QBrush(PassColor());
            return {};
        case Qt::TextAlignmentRole:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::ToolTipRole:
            if (RowMarked(index.row())) return QStringLiteral("全ての照査を満足しています");
            return {};
        default:
            return {};
    }
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole) {
        if (orientation == Qt::Horizontal) {
            return section >= 0 && section < headers_.size() ? QVariant(headers_[section])
                                                             : QVariant();
        }
        QString s = QString::number(section + 1);
        if (section >= 0 && std::size_t(section) < names_.size() &&
            !names_[std::size_t(section)].isEmpty()) {
            s += QStringLiteral("  ") + names_[std::size_t(section)];
        }
        if (RowMarked(section)) s += QStringLiteral("  ✓");
        if (section == recommended_) s += QStringLiteral("  推奨");
        return s;
    }
    if (role == Qt::TextAlignmentRole && orientation == Qt::Vertical) {
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

void ResultGridModel::SetRowCount(int rows) {
    beginResetModel();
    rows_.assign(std::size_t(std::max(0, rows)), std::vector<Cell>(std::size_t(headers_.size())));
    names_.assign(rows_.size(), QString());
    recommended_ = -1;
    endResetModel();
}

void ResultGridModel::SetCell(int row, int col, double value, bool red) {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return;
    rows_[std::size_t(row)][std::size_t(col)] = Cell{value, red};
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
}

void ResultGridModel::SetEmpty(int row, int col) {
    SetCell(row, col, std::numeric_limits<double>::quiet_NaN());
}

void ResultGridModel::SetRowName(int row, const QString& name) {
    if (row < 0 || row >= rowCount()) return;
    names_[std::size_t(row)] = name;
    emit headerDataChanged(Qt::Vertical, row, row);
}

double ResultGridModel::Value(int row, int col) const {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return 0.0;
    return rows_[std::size_t(row)][std::size_t(col)].value;
}

bool ResultGridModel::IsRed(int row, int col) const {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return false;
    return rows_[std::size_t(row)][std::size_t(col)].red;
}

QString ResultGridModel::Text(int row, int col) const {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return {};
    const std::size_t c = std::size_t(col);
    if (std::isnan(Value(row, col))) return {};
    if (c < pictures_.size() && !pictures_[c].empty()) {
        return Q(numfmt::FormatNumber(Value(row, col), pictures_[c]));
    }
    return Q(numfmt::General(Value(row, col)));
}

bool ResultGridModel::RowPasses(int row) const {
    if (row < 0 || row >= rowCount()) return false;
    for (const Cell& c : rows_[std::size_t(row)]) {
        if (c.red) return false;
    }
    return true;
}

}  // namespace kuvelt::ui
