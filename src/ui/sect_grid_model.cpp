#include "ui/sect_grid_model.h"

#include <QColor>
#include <type_traits>

#include "platform/numfmt.h"
#include "ui/fields.h"

namespace kuvelt::ui {

namespace {

const char* const kPasteTitle = "貼り付け";

Message PasteMessage(const std::string& text) {
    return Message{0, text, kPasteTitle, MsgIcon::Information, MsgButtons::Ok};
}

}  // namespace

Message PasteTooWideMessage(int blockColumns, int columnsRight) {
    return PasteMessage("貼り付けるﾃﾞｰﾀは " + std::to_string(blockColumns) +
                        " 列ですが、貼り付け位置から右には " + std::to_string(columnsRight) +
                        " 列しかありません。\n貼り付けは行いませんでした。");
}

Message PasteTooLongMessage(int recMax, const std::string& what, const std::string& unit) {
    return PasteMessage("貼り付けると" + what + "（最大" + std::to_string(recMax) + unit +
                        "）を超えます。\n貼り付けは行いませんでした。");
}

std::span<const std::string_view> ListCaptions(const GridColumn& c) {
    if (c.record == Record::Layer) return kKindCaptions;
    return kSectShapeCaptions;
}

Message PasteBadCellMessage(int blockRow, const GridColumn& column, const QString& text) {
    return PasteMessage("貼り付けるﾃﾞｰﾀの " + std::to_string(blockRow) + " 行目、「" +
                        std::string(column.caption) + "」の値「" + U8(text) +
                        "」は入力できません。\n" + GridInputHint(column) +
                        "\n貼り付けは行いませんでした。");
}

Message PasteEmptyMessage() { return PasteMessage("貼り付けるﾃﾞｰﾀがありません。"); }

SectGridModel::SectGridModel(const std::string& grid, QObject* parent)
    : SectGridModel(GridColumns(grid), parent) {}

SectGridModel::SectGridModel(std::span<const GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns) {
    for (int c = 0; c < int(columns_.size()); ++c) {
        if (columns_[std::size_t(c)].Member() == "Lmin") lminCol_ = c;
        if (columns_[std::size_t(c)].Member() == "Lmax") lmaxCol_ = c;
        if (columns_[std::size_t(c)].record == Record::Layer &&
            columns_[std::size_t(c)].Member() == "Kind") {
            kindCol_ = c;
        }
    }
}

int SectGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int SectGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant SectGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const GridColumn& c = column(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (role == Qt::EditRole && c.kind == CellKind::List) {
                return int(Value(index.row(), index.column()));
            }
            return CellText(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return c.kind == CellKind::Text || c.kind == CellKind::List
                       ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                       : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
        case Qt::ToolTipRole:
            return Hint(index.column());
        case Qt::ForegroundRole:
            // A layer's φ or cohesion that its kind does not use is shown grey, as the first
            // layer's field is disabled; it stays editable and is kept.
            if (c.record == Record::Layer && kindCol_ >= 0 &&
                !FieldInForce("CInpJiban." + std::string(c.Member()), 0,
                              int32_t(Value(index.row(), kindCol_)))) {
                return QColor(Qt::gray);
            }
            return {};
        default:
            return {};
    }
}

QVariant SectGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole) {
        if (orientation == Qt::Horizontal) {
            if (section >= 0 && section < columnCount())
                return Q(std::string(column(section).caption));
            return {};
        }
        return QString::number(section + firstNumber_);
    }
    if (role == Qt::TextAlignmentRole && orientation == Qt::Vertical) {
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags SectGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool SectGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() ||
        index.column() >= columnCount()) {
        return false;
    }
    Cell cell;
    const GridColumn& c = column(index.column());
    if (c.kind == CellKind::List && value.typeId() == QMetaType::Int) {
        const int i = value.toInt();
        if (!CellAcceptable(c, i)) return false;
        cell.value = i;
    } else if (!Parse(index.column(), value.toString(), cell)) {
        return false;
    }
    rows_[std::size_t(index.row())][std::size_t(index.column())] = cell;
    // A layer's kind greys the values it does not use.
    const bool wholeRow = index.column() == kindCol_;
    emit dataChanged(wholeRow ? this->index(index.row(), 0) : index,
                     wholeRow ? this->index(index.row(), columnCount() - 1) : index);
    return true;
}

std::vector<SectGridModel::Cell> SectGridModel::NewRow() const {
    std::vector<Cell> row;
    for (const GridColumn& c : columns_) row.push_back(Cell{std::string(c.newText), c.newValue});
    return row;
}

std::vector<SectGridModel::Cell> SectGridModel::NewRowAt(const std::vector<std::vector<Cell>>& rows,
                                                         int at) const {
    std::vector<Cell> row;
    if (at > 0 && at <= int(rows.size())) {
        row = rows[std::size_t(at - 1)];
    } else if (!usual_.empty()) {
        row = usual_;
    } else {
        return NewRow();
    }
    // A second section of the same name would be ambiguous in the choice.
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (columns_[c].kind == CellKind::Text) row[c].text = std::string(columns_[c].newText);
    }
    return row;
}

bool SectGridModel::LengthsCross(const std::vector<Cell>& row) const {
    return lminCol_ >= 0 && lmaxCol_ >= 0 &&
           kuvelt::LengthsCross(row[std::size_t(lminCol_)].value, row[std::size_t(lmaxCol_)].value);
}

int SectGridModel::FirstCrossedLengthRow() const {
    for (int r = 0; r < rowCount(); ++r) {
        if (LengthsCross(rows_[std::size_t(r)])) return r;
    }
    return -1;
}

template <class Row>
void SectGridModel::Usual(const Row& row, Record record) {
    if (columns_.empty() || columns_.front().record != record) return;
    usual_ = NewRow();
    for (int col = 0; col < columnCount(); ++col) {
        VisitField(column(col), &row, [&](const auto& v) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
                usual_[std::size_t(col)].value = static_cast<double>(v);
            }
        });
    }
}

void SectGridModel::SetUsualRow(const colInpSectC& builtIn) {
    if (builtIn.Count() > 0) Usual(*builtIn.begin(), Record::SectC);
}
void SectGridModel::SetUsualRow(const colInpSectS& builtIn) {
    if (builtIn.Count() > 0) Usual(*builtIn.begin(), Record::SectS);
}
void SectGridModel::SetUsualRow(const CInpJibanLayer& layer) { Usual(layer, Record::Layer); }

void SectGridModel::SetRowCount(int rows) {
    beginResetModel();
    rows_.assign(std::size_t(std::max(0, rows)), NewRow());
    endResetModel();
    emit rowsChanged();
}

void SectGridModel::SetText(int row, int col, const std::string& text) {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return;
    rows_[std::size_t(row)][std::size_t(col)].text = text;
    emit dataChanged(index(row, col), index(row, col));
}

void SectGridModel::SetValue(int row, int col, double value) {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return;
    rows_[std::size_t(row)][std::size_t(col)].value = value;
    emit dataChanged(index(row, col), index(row, col));
}

std::string SectGridModel::Text(int row, int col) const {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return {};
    return rows_[std::size_t(row)][std::size_t(col)].text;
}

double SectGridModel::Value(int row, int col) const {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return 0.0;
    return rows_[std::size_t(row)][std::size_t(col)].value;
}

template <class Row, class Rows>
void SectGridModel::Load(const Rows& rows, int count, Record record) {
    if (columns_.empty() || columns_.front().record != record) return;
    SetRowCount(count);
    int r = 0;
    for (const Row& row : rows) {
        for (int col = 0; col < columnCount(); ++col) {
            VisitField(column(col), &row, [&](const auto& v) {
                if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
                    SetText(r, col, v);
                } else {
                    SetValue(r, col, static_cast<double>(v));
                }
            });
        }
        ++r;
    }
}

template <class Row>
std::vector<Row> SectGridModel::Save(Record record) const {
    std::vector<Row> saved;
    if (columns_.empty() || columns_.front().record != record) return saved;
    for (int r = 0; r < rowCount(); ++r) {
        Row& row = saved.emplace_back();
        for (int col = 0; col < columnCount(); ++col) {
            VisitField(column(col), &row, [&](auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::string>) {
                    v = Text(r, col);
                } else if constexpr (std::is_same_v<T, bool>) {
                    v = Value(r, col) != 0.0;
                } else {
                    // The list cell holds its index; whole-number cells hold whole numbers.
                    v = static_cast<T>(Value(r, col));
                }
            });
        }
    }
    return saved;
}

void SectGridModel::LoadCatalogue(const colInpSectC& c) {
    Load<CInpSectC>(c, c.Count(), Record::SectC);
}
void SectGridModel::LoadCatalogue(const colInpSectS& c) {
    Load<CInpSectS>(c, c.Count(), Record::SectS);
}

namespace {

template <class Col, class Row>
void SaveInto(Col& c, std::vector<Row> rows) {
    c.Clear();
    for (Row& row : rows) c.AddItem(std::move(row));
}

}  // namespace

void SectGridModel::SaveCatalogue(colInpSectC& c) const {
    if (!columns_.empty() && columns_.front().record == Record::SectC)
        SaveInto(c, Save<CInpSectC>(Record::SectC));
}
void SectGridModel::SaveCatalogue(colInpSectS& c) const {
    if (!columns_.empty() && columns_.front().record == Record::SectS)
        SaveInto(c, Save<CInpSectS>(Record::SectS));
}

void SectGridModel::LoadLayers(const std::vector<CInpJibanLayer>& layers) {
    Load<CInpJibanLayer>(layers, int(layers.size()), Record::Layer);
}

std::vector<CInpJibanLayer> SectGridModel::SavedLayers() const {
    return Save<CInpJibanLayer>(Record::Layer);
}

int SectGridModel::ColumnOf(std::string_view member) const {
    for (int c = 0; c < columnCount(); ++c) {
        if (column(c).Member() == member) return c;
    }
    return -1;
}

void SectGridModel::setRowWords(int firstNumber, std::string limitWhat, std::string unit) {
    firstNumber_ = firstNumber;
    limitWhat_ = std::move(limitWhat);
    limitUnit_ = std::move(unit);
}

bool SectGridModel::AddRow() {
    if (!CanAdd()) return false;
    const int n = rowCount();
    beginInsertRows(QModelIndex(), n, n);
    rows_.push_back(NewRowAt(rows_, n));
    endInsertRows();
    emit rowsChanged();
    return true;
}

bool SectGridModel::InsertRow(int before) {
    if (!CanAdd()) return false;
    const int at = (before < 0 || before > rowCount()) ? rowCount() : before;
    beginInsertRows(QModelIndex(), at, at);
    rows_.insert(rows_.begin() + at, NewRowAt(rows_, at));
    endInsertRows();
    emit rowsChanged();
    return true;
}

bool SectGridModel::DeleteRow(int row) {
    if (row < 0 || row >= rowCount()) return false;
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    emit rowsChanged();
    return true;
}

QString SectGridModel::CellText(int row, int col) const {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return {};
    const Cell& cell = rows_[std::size_t(row)][std::size_t(col)];
    const GridColumn& c = column(col);
    switch (c.kind) {
        case CellKind::Text:
            return Q(cell.text);
        case CellKind::List: {
            const int i = int(cell.value);
            const auto captions = ListCaptions(c);
            if (i >= 0 && i < int(captions.size())) return Q(std::string(captions[std::size_t(i)]));
            return {};
        }
        case CellKind::Number:
        case CellKind::Decimal:
            return Q(numfmt::General(cell.value));
    }
    return {};
}

bool SectGridModel::Parse(int col, const QString& text, Cell& out) const {
    if (col < 0 || col >= columnCount()) return false;
    const GridColumn& c = column(col);
    switch (c.kind) {
        case CellKind::Text: {
            const std::string s = U8(text);
            if (!TextFieldAcceptable(c, s)) return false;
            out.text = s;
            return true;
        }
        case CellKind::List: {
            const QString t = text.trimmed();
            const auto captions = ListCaptions(c);
            for (int i = 0; i < int(captions.size()); ++i) {
                if (t == Q(std::string(captions[std::size_t(i)]))) {
                    out.value = i;
                    return true;
                }
            }
            // A pasted list index ("0", "1", "2") counts as its entry.
            bool ok = false;
            const int i = t.toInt(&ok);
            if (ok && CellAcceptable(c, i)) {
                out.value = i;
                return true;
            }
            return false;
        }
        case CellKind::Number:
        case CellKind::Decimal: {
            QString t = text.trimmed();
            // Spreadsheets copy large numbers with thousands separators.
            t.remove(QLatin1Char(','));
            double v = 0.0;
            if (t.isEmpty() || !numfmt::ParseNumber(U8(t), v) || !CellAcceptable(c, v)) {
                return false;
            }
            out.value = v;
            return true;
        }
    }
    return false;
}

std::optional<Message> SectGridModel::CheckCell(int col, const QString& text) const {
    if (col < 0 || col >= columnCount()) return std::nullopt;
    Cell cell;
    if (Parse(col, text, cell)) return std::nullopt;
    const GridColumn& c = column(col);
    return Message{0, GridInputHint(c), std::string(c.caption), MsgIcon::Information,
                   MsgButtons::Ok};
}

std::optional<Message> SectGridModel::CheckCell(int row, int col, const QString& text) const {
    if (auto refusal = CheckCell(col, text)) return refusal;
    if (row < 0 || row >= rowCount() || (col != lminCol_ && col != lmaxCol_)) return std::nullopt;
    std::vector<Cell> next = rows_[std::size_t(row)];
    Parse(col, text, next[std::size_t(col)]);
    if (!LengthsCross(next)) return std::nullopt;
    return LengthOrderMessage(row + 1, next[std::size_t(lminCol_)].value,
                              next[std::size_t(lmaxCol_)].value, std::string(column(col).caption));
}

QString SectGridModel::Hint(int col) const {
    if (col < 0 || col >= columnCount()) return {};
    return Q(GridInputHint(column(col)));
}

QString SectGridModel::CopyBlock(const CellBlock& block) const {
    QString out;
    if (block.empty()) return out;
    for (int r = block.top; r <= block.bottom; ++r) {
        for (int c = block.left; c <= block.right; ++c) {
            if (c > block.left) out += QLatin1Char('\t');
            out += CellText(r, c);
        }
        out += QStringLiteral("\r\n");
    }
    return out;
}

QString SectGridModel::CutBlock(const CellBlock& block) {
    const QString text = CopyBlock(block);
    if (block.empty()) return text;
    const std::vector<Cell> fresh = NewRow();
    for (int r = std::max(0, block.top); r <= std::min(block.bottom, rowCount() - 1); ++r) {
        for (int c = std::max(0, block.left); c <= std::min(block.right, columnCount() - 1); ++c) {
            rows_[std::size_t(r)][std::size_t(c)] = fresh[std::size_t(c)];
        }
    }
    emit dataChanged(index(block.top, block.left), index(block.bottom, block.right));
    return text;
}

std::vector<QStringList> SectGridModel::SplitBlock(const QString& text) {
    std::vector<QStringList> rows;
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    if (t.isEmpty()) return rows;
    for (const QString& line : t.split(QLatin1Char('\n'))) {
        rows.push_back(line.split(QLatin1Char('\t')));
    }
    return rows;
}

std::optional<Message> SectGridModel::PasteBlock(int row, int col, const QString& text,
                                                 CellBlock* pasted) {
    const std::vector<QStringList> block = SplitBlock(text);
    if (block.empty() || row < 0 || col < 0 || col >= columnCount()) return PasteEmptyMessage();
    int width = 0;
    for (const QStringList& cells : block) width = std::max(width, int(cells.size()));
    const int right = columnCount() - col;
    if (width > right) return PasteTooWideMessage(width, right);
    const int height = int(block.size());
    // Rows are added below the last one; the paste may also start on the empty row after it.
    if (row > rowCount() || row + height > recMax_) {
        return PasteTooLongMessage(recMax_, limitWhat_, limitUnit_);
    }

    // Check every cell before anything changes: the block goes in whole or not at all.
    std::vector<std::vector<Cell>> parsed(static_cast<std::size_t>(height));
    for (int r = 0; r < height; ++r) {
        const QStringList& cells = block[std::size_t(r)];
        for (int c = 0; c < int(cells.size()); ++c) {
            Cell cell;
            if (!Parse(col + c, cells[c], cell)) {
                return PasteBadCellMessage(r + 1, column(col + c), cells[c]);
            }
            parsed[std::size_t(r)].push_back(cell);
        }
    }
    // The rows as they would be, checked across their cells before anything changes.
    // A row added below the last starts from the row above it as pasted.
    std::vector<std::vector<Cell>> next = rows_;
    const int needed = row + height;
    for (int r = 0; r < height; ++r) {
        if (row + r == int(next.size())) next.push_back(NewRowAt(next, row + r));
        for (std::size_t c = 0; c < parsed[std::size_t(r)].size(); ++c) {
            next[std::size_t(row + r)][std::size_t(col) + c] = parsed[std::size_t(r)][c];
        }
        const std::vector<Cell>& written = next[std::size_t(row + r)];
        if (LengthsCross(written)) {
            return LengthOrderMessage(row + r + 1, written[std::size_t(lminCol_)].value,
                                      written[std::size_t(lmaxCol_)].value, kPasteTitle, true);
        }
    }
    if (needed > rowCount()) {
        beginInsertRows(QModelIndex(), rowCount(), needed - 1);
        rows_ = std::move(next);
        endInsertRows();
        emit rowsChanged();
    } else {
        rows_ = std::move(next);
    }
    emit dataChanged(index(row, col), index(row + height - 1, col + width - 1));
    if (pasted) *pasted = CellBlock{row, col, row + height - 1, col + width - 1};
    return std::nullopt;
}

}  // namespace kuvelt::ui
