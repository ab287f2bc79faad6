// The table model behind the registration grids: one row per record, the columns are the record's
// fields of model/design_fields.h with their cell kinds, ranges and new-row values — the section
// catalogues ("InpSectC" concrete, "InpSectLS" light steel, "InpSectS" steel) and the ground
// layers below the first (LayerFields()). Row editing honours the row limit; typed cells and pasted
// blocks are checked here, so a refused entry changes nothing and returns the message the window
// shows. Blocks move to and from a spreadsheet as tab-separated text.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/design.h"
#include "model/design_checks.h"
#include "model/ranges.h"
#include "platform/message.h"

namespace kuvelt::ui {

// A rectangle of cells, 0-based and inclusive.
struct CellBlock {
    int top = 0;
    int left = 0;
    int bottom = -1;
    int right = -1;
    bool empty() const { return bottom < top || right < left; }
};

class SectGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // `grid` is "InpSectC", "InpSectLS" or "InpSectS".
    explicit SectGridModel(const std::string& grid, QObject* parent = nullptr);
    // A grid of any record's cell fields (LayerFields() ...), in column order.
    explicit SectGridModel(std::span<const GridColumn> columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Edit role: the typed text (list cells also take the list index). Refused entries return
    // false and change nothing; CheckCell tells why.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    std::span<const GridColumn> columns() const { return columns_; }
    const GridColumn& column(int col) const { return columns_[std::size_t(col)]; }

    // Row limit (UsrRecMax); rows beyond it are never added.
    int recMax() const { return recMax_; }
    void setRecMax(int limit) { recMax_ = limit; }
    // What the rows are, for the row header and the refusal of a paste beyond the limit: the
    // number the first row shows (the ground's second layer is row 2) and the words of the limit
    // ("登録できる断面数", "断面").
    void setRowWords(int firstNumber, std::string limitWhat, std::string unit);

    // Loading by the main window: rows filled with new-row values, then set cell by cell.
    void SetRowCount(int rows);
    void SetText(int row, int col, const std::string& text);  // text cells
    void SetValue(int row, int col, double value);            // list (index) and number cells
    std::string Text(int row, int col) const;                 // UTF-8, as stored
    double Value(int row, int col) const;

    // Loading and saving by the main window through the columns' record fields: row i shows
    // section i; saving empties the catalogue and adds one section per row, in grid order. A
    // catalogue of the other record type than the grid's is left alone.
    void LoadCatalogue(const colInpSectC& c);
    void LoadCatalogue(const colInpSectS& c);
    void SaveCatalogue(colInpSectC& c) const;
    void SaveCatalogue(colInpSectS& c) const;
    // The ground layers below the first: row i is Layers[i].
    void LoadLayers(const std::vector<CInpJibanLayer>& layers);
    std::vector<CInpJibanLayer> SavedLayers() const;
    // The column of a record member ("ELU"), -1 when the grid has none.
    int ColumnOf(std::string_view member) const;

    // Row commands. False when the limit (Add, Insert) or an empty grid (Delete) refuses.
    bool CanAdd() const { return rowCount() < recMax_; }
    bool AddRow();               // appends; the new row is the last one
    bool InsertRow(int before);  // before row `before` (appends on an empty grid)
    bool DeleteRow(int row);

    // The cell as it is copied and shown: name, list caption or number in general format.
    QString CellText(int row, int col) const;
    // Whether `text` may be entered into column `col`; nullopt when it may, else the message:
    // the cell's input hint titled with the column header.
    std::optional<Message> CheckCell(int col, const QString& text) const;
    // The same for the cell (row, col), which must also keep the row's Lmin <= Lmax.
    std::optional<Message> CheckCell(int row, int col, const QString& text) const;
    // The first row whose Lmin exceeds its Lmax, -1 when none (or the grid has no lengths).
    int FirstCrossedLengthRow() const;
    // The Lmin and Lmax columns, -1 in a grid without them.
    int LminColumn() const { return lminCol_; }
    int LmaxColumn() const { return lmaxCol_; }

    // What a row added or inserted as the first one holds: the catalogue's first built-in
    // section (its name stays the new-row text). Without it the columns' new-row values.
    void SetUsualRow(const colInpSectC& builtIn);
    void SetUsualRow(const colInpSectS& builtIn);
    // A ground layer grid's: the layer a first row starts as.
    void SetUsualRow(const CInpJibanLayer& layer);
    // The status-bar hint of a column ("入力範囲：100～999999999.9" ...).
    QString Hint(int col) const;

    // Tab-separated rows, CR LF between rows (what spreadsheets put on the clipboard).
    QString CopyBlock(const CellBlock& block) const;
    // Copies the block and resets its cells to the new-row values.
    QString CutBlock(const CellBlock& block);
    // Pastes tab-separated text with its top-left cell at (row, col). Rows beyond the last row are
    // added as long as the row limit allows. A block that does not fit the columns or the row
    // limit, or holds a cell its column refuses, is refused as a whole: nothing changes and the
    // message says why. On success returns nullopt and sets *pasted to the block written.
    std::optional<Message> PasteBlock(int row, int col, const QString& text,
                                      CellBlock* pasted = nullptr);

    // Splits clipboard text into rows of cells (a trailing line end adds no row).
    static std::vector<QStringList> SplitBlock(const QString& text);

  signals:
    // The row count changed (Add, Insert, Delete, paste, load): the window updates its commands.
    void rowsChanged();

  private:
    struct Cell {
        std::string text;  // text cells
        double value = 0;  // list index or number
    };
    std::vector<Cell> NewRow() const;
    // A new row at `at` of `rows`: the row above it with a fresh name, or the usual row.
    std::vector<Cell> NewRowAt(const std::vector<std::vector<Cell>>& rows, int at) const;
    bool LengthsCross(const std::vector<Cell>& row) const;
    template <class Row>
    void Usual(const Row& row, Record record);
    template <class Row, class Rows>
    void Load(const Rows& rows, int count, Record record);
    template <class Row>
    std::vector<Row> Save(Record record) const;
    bool Parse(int col, const QString& text, Cell& out) const;

    std::span<const GridColumn> columns_;
    std::vector<std::vector<Cell>> rows_;
    int recMax_ = 30;
    int lminCol_ = -1;
    int lmaxCol_ = -1;
    int kindCol_ = -1;  // a ground layer's kind
    std::vector<Cell> usual_;
    int firstNumber_ = 1;
    std::string limitWhat_ = "登録できる断面数";
    std::string limitUnit_ = "断面";
};

// The captions of a list column's entries, indexed by the stored value: the ground kinds of a
// layer, the section shapes otherwise.
std::span<const std::string_view> ListCaptions(const GridColumn& c);

// Messages of the paste refusals, titled "貼り付け".
Message PasteTooWideMessage(int blockColumns, int columnsRight);
Message PasteTooLongMessage(int recMax, const std::string& what = "登録できる断面数",
                            const std::string& unit = "断面");
Message PasteBadCellMessage(int blockRow, const GridColumn& column, const QString& text);
Message PasteEmptyMessage();

}  // namespace kuvelt::ui
