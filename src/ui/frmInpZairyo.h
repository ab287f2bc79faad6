// The material-conditions window: elastic moduli of the five sheet-pile kinds, allowable
// stresses and grades of light steel and steel, and the joint efficiencies. No dependent
// enabling.
#pragma once

#include "ui/input_window.h"

namespace kuvelt::ui {

class NumField;
class TextField;

class frmInpZairyo : public InputWindow {
    Q_OBJECT
  public:
    explicit frmInpZairyo(QWidget* parent = nullptr);

    NumField *numEcHira, *numEcMizo, *numEcNami, *numEsky, *numEsy;
    TextField *txtKYZai, *txtYZai;
    NumField *numKYSat, *numKYSac, *numYSat, *numYSac;
    NumField *numAlphaIz, *numAlphaIs, *numAlphaId, *numAlphaZs;
};

}  // namespace kuvelt::ui
