// The sheet-pile choice window "使用矢板の決定": the result lists of the three kinds in
// read-only grids behind tabs (failed values in red, rows passing every check on light green),
// the kind options, the section number and total length the user decides, and the derived wall
// height H' and embedment D = L − H'. It holds no design data: the main window fills it on
// LoadData and checks and stores the pick on SaveData.
#pragma once

#include "ui/input_window.h"

class QButtonGroup;
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

    QButtonGroup* optYaita;
    NumField *numSect, *numL, *numD, *numH;
    QTabBar* TabStrip1;
    QStackedWidget* grids;
    QTableView *vaSpreadC, *vaSpreadLS, *vaSpreadS;
    ResultGridModel *listC, *listLS, *listS;

  protected:
    void ApplyDependentEnabling() override;
};

}  // namespace kuvelt::ui
