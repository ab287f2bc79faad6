// A read-only grid of result values for the choice and result windows: numbers rounded as the
// report prints them (a number picture per column, right-aligned with fixed decimals; the
// general number format where none is set), a value whose check failed in pure red, and optionally
// the rows whose checks all pass on a light green background (a guide for the user's choice, never
// a choice itself).
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace kuvelt::ui {

class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit ResultGridModel(const QStringList& headers, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Empties the grid and gives it `rows` rows of zeros (row i shows section i + 1).
    void SetRowCount(int rows);
    // The number picture of each column ("0.0", "0.000"); the values themselves are kept whole.
    void SetColumnPictures(std::vector<std::string> pictures) { pictures_ = std::move(pictures); }
    void SetCell(int row, int col, double value, bool red = false);
    // A cell with no value shows nothing (a section without a mass).
    void SetEmpty(int row, int col);
    // The section's name beside its number in the row header ("" shows the number alone).
    void SetRowName(int row, const QString& name);
    // The row of the program's proposal, marked "推奨" beside its section (-1: none).
    void SetRecommendedRow(int row) { recommended_ = row; }
    int RecommendedRow() const { return recommended_; }
    // Light green rows where no cell is red.
    void setMarkPassingRows(bool on) { markPassing_ = on; }

    double Value(int row, int col) const;
    bool IsRed(int row, int col) const;
    QString Text(int row, int col) const;  // as shown ("" for an empty cell)
    bool RowPasses(int row) const;         // no red cell in the row
    bool RowMarked(int row) const { return markPassing_ && RowPasses(row); }

    static const QColor& FailColor();  // RGB 255, 0, 0
    static const QColor& PassColor();  // the light green of a passing row

  private:
    struct Cell {
        double value = 0.0;
        bool red = false;
    };
    QStringList headers_;
    std::vector<std::vector<Cell>> rows_;
    std::vector<QString> names_;
    std::vector<std::string> pictures_;
    bool markPassing_ = false;
    int recommended_ = -1;
};

}  // namespace kuvelt::ui
