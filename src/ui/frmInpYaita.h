// The sheet-pile choice window "使用矢板の決定": the result lists of the three kinds in
// read-only grids behind tabs (failed values in red, rows passing every check on light green),
// the kind options, the section number and total length the user decides, and the derived wall
// height H' and embedment D = L − H', and the force diagram (断面力図) of the pick being decided,
// redrawn whenever the kind, the section or the length changes and laid out for the room it has
// (its text at 9 points). It holds no design data: the main window fills it on LoadData, gives
// it the source of the diagrams, and checks and stores the pick on SaveData. The keys work as
// the mouse does: the arrow keys in a list take the row's kind and section, Enter its required
// length too; the keys start in the list of the pick.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "ui/figure_view.h"
#include "ui/input_window.h"

class QButtonGroup;
class QLabel;
class QModelIndex;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace kuvelt::ui {

class NumField;
class ResultGridModel;

class frmInpYaita : public InputWindow {
    Q_OBJECT
  public:
    explicit frmInpYaita(QWidget* parent = nullptr);
    ~frmInpYaita() override;

    // Selected kind option: 0 concrete, 1 light steel, 2 steel. setKind also brings its tab and
    // grid to the front.
    int kind() const;
    void setKind(int yaita);
    // The grid in front (0, 1, 2); a tab may show another kind than the option.
    int frontGrid() const;
    void selectTab(int tab);
    // D = L − H' after L or H' changed.
    void UpdateEmbedment();

    // The force diagram of a pick (kind 0..2, section number, length): the figure's frame and
    // sub-figure bytes, or a note why there is none.
    struct ForceFigureParts {
        double width = 0;
        double height = 0;
        std::vector<FigureView::Part> parts;
        QString note;
    };
    // The text style of the diagram's labels (its size sets the frame for legible text).
    static constexpr int kForceTextStyle = 2;
    // The diagram in a frame of W × F mm.
    using FigureSource =
        std::function<ForceFigureParts(int yaita, int sect, double L, double W, double F)>;
    // Sets the source and draws the current pick; without a source the diagram stays empty.
    void setFigureSource(FigureSource source);
    // Redraws the diagram of the current kind, section number and length once control returns
    // to the event loop: changes made together (a row click sets kind and section) draw once.
    void UpdateForceFigure();

    // The line above everything when no section passes every check ("" hides it).
    void setNoPassingSection(const QString& why);
    // The grid of a kind (0, 1, 2).
    QTableView* gridOf(int yaita) const;

    QLabel* lblNone;
    QButtonGroup* optYaita;
    NumField *numSect, *numL, *numD, *numH;
    QTabBar* TabStrip1;
    QStackedWidget* grids;
    QTableView *vaSpreadC, *vaSpreadLS, *vaSpreadS;
    ResultGridModel *listC, *listLS, *listS;
    FigureView* figForces;

  protected:
    void ApplyDependentEnabling() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void DrawForceFigure();
    // Takes the kind and section number of row `i` of grid `v`; `length`: also its required
    // length rounded up to 0.5 m as L.
    void TakeRow(QTableView* v, const QModelIndex& i, bool length = false);
    // Makes the section's row the current row of its kind's list.
    void ShowSectionRow();

    FigureSource figureSource_;
    bool pending_ = false;
};

}  // namespace kuvelt::ui
