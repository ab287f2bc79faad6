// The section registration windows: frmInpSectC for the concrete catalogue and frmInpSectS for
// the light-steel and the steel catalogue (the main window passes the caption). A grid of
// sections with an edit menu and toolbar (cut, copy, paste of cell blocks as tab-separated text,
// add, insert and delete rows within UsrRecMax), the input hint of the active cell in the status
// bar, the column legends and OK / Cancel / Help at the right edge. Position and size live in
// the settings file ("InpSectC" or "InpSectS"). A cell that its column refuses is refused when
// it is left, with the hint's range; the main window's handlers move the rows to and from the
// catalogue.
#pragma once

#include <optional>

#include "ui/grid_editing.h"
#include "ui/input_window.h"
#include "ui/sect_grid_model.h"

class QAction;
class QLabel;
class QMenuBar;
class QStatusBar;
class QToolBar;

namespace kuvelt::ui {

class frmInpSect : public InputWindow {
    Q_OBJECT
  public:
    ~frmInpSect() override;
    SectGridModel* model() const { return model_; }
    SectGridView* grid() const { return vaSpread1; }
    QStatusBar* statusBar() const { return StatusBar1; }
    QString hintText() const;  // status-bar panel 1

    // The edit commands (menu items and toolbar buttons do the same).
    void EditCut();
    void EditCopy();
    void EditPaste();
    void EditAdd();
    void EditInsert();
    void EditDelete();
    // Enables Add / Insert by the row limit and Delete by the row count.
    void UpdateCommands();

    QAction *mnuEditCut, *mnuEditCopy, *mnuEditPaste, *mnuEditAdd, *mnuEditIns, *mnuEditDel;
    QAction *tbrCut, *tbrCopy, *tbrPaste, *tbrAdd, *tbrInsert, *tbrDelete;

    // The stored width and height where the settings give them, else the designed ones.
    QSize sizeHint() const override;
    QSize DesignedSize() const;
    int ColumnWidth(int col) const;

  protected:
    frmInpSect(const std::string& grid, const std::string& section, const QString& caption,
               QWidget* parent);
    void done(int result) override;
    void ApplyDependentEnabling() override;
    // Every row's Lmin <= Lmax (rows read from a file were never typed).
    bool CrossFieldCheck() override;

  private:
    struct Legend {
        const char* term;
        const char* text;
    };
    void BuildMenuAndToolBar(QMenuBar* bar, QToolBar* tools);
    void BuildLegends(QWidget* frame, std::initializer_list<Legend> legends);
    void ShowHint();
    void OnOkPressed();
    void OnFocusChanged(QWidget* old, QWidget* now);

    friend class frmInpSectC;
    friend class frmInpSectS;

    SectGridModel* model_ = nullptr;
    SectGridView* vaSpread1 = nullptr;
    GridEditing* editing_ = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* lblHint_ = nullptr;
    QLabel* lblMax_ = nullptr;
    QWidget* Frame1 = nullptr;
    int storedWidth_ = 0;  // pixels; 0 = the designed width
    int storedHeight_ = 0;
};

// "ｺﾝｸﾘｰﾄ矢板断面の登録": name, shape, I, Mc, Lmin, Lmax.
class frmInpSectC : public frmInpSect {
    Q_OBJECT
  public:
    explicit frmInpSectC(QWidget* parent = nullptr);
};

// "鋼矢板断面の登録" (also the light-steel window): name, I', Z', I, Z.
class frmInpSectS : public frmInpSect {
    Q_OBJECT
  public:
    // The light-steel catalogue has its own lower limits of I' and I (grid "InpSectLS"); both
    // kinds keep their position and size in section "InpSectS".
    explicit frmInpSectS(QWidget* parent = nullptr, bool lightSteel = false);
};

}  // namespace kuvelt::ui
