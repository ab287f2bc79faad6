// The window "構造図": the cross-section of the current design as chapter 1 of the report draws
// it (wall, ground and water levels, surcharge, depth examined and, from a fresh calculation,
// the virtual ground surface). Read-only; the main window's 表示 menu opens it.
#pragma once

#include "ui/input_window.h"

class QLabel;

namespace kuvelt::ui {

class FigureView;

class frmZuStructure : public InputWindow {
    Q_OBJECT
  public:
    explicit frmZuStructure(QWidget* parent = nullptr);

    FigureView* view() const { return view_; }
    QLabel* noteLabel() const { return lblNote_; }

  private:
    void Fill();

    FigureView* view_ = nullptr;
    QLabel* lblNote_ = nullptr;
};

}  // namespace kuvelt::ui
