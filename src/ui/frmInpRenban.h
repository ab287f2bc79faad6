// The numbering settings window "連番条件設定": on three tabs the joining method of the heading
// numbers with its sample, the number style of each heading level, and the left margin of each
// level with its sample, plus the initial chapter value. The main window's handlers move the
// values to and from section "Chapter" of the settings file.
#pragma once

#include <array>
#include <string>

#include "platform/message.h"
#include "ui/input_window.h"

class QButtonGroup;
class QComboBox;
class QPlainTextEdit;
class QTabWidget;

namespace kuvelt::ui {

class NumField;

// The level texts of a joining method (0..3; others count as 0), levels 1-4.
std::array<std::string, 4> LevelTexts(int method);
// Seven lines, each ended by CR LF: levels 1-4 indented by their margins (negative counts as
// 0), an empty line, levels 1 and 2 again.
std::string MarginSample(int method, const std::array<int, 4>& margins);
// The method sample: the margin sample with the margins 0, 2, 4, 8.
std::string MethodSample(int method);
// The nine entries of every style list, in style order 1..9.
const std::array<const char*, 9>& StyleEntries();
// OK refused: the chosen method numbers heading level `level` (0..3) but it has no kind.
Message NumberingKindMissingMessage(int level);

class frmInpRenban : public InputWindow {
    Q_OBJECT
  public:
    explicit frmInpRenban(QWidget* parent = nullptr);

    // The selected method option, -1 when none is selected.
    int method() const;
    void setMethod(int method);  // 0..3; other values select nothing
    void UpdateMethodSample();
    void UpdateMarginSample();
    // Shows tab page 0..2 (as a click on its tab does).
    void selectTab(int tab);

    QTabWidget* TabStrip1;
    QButtonGroup* optMethod;
    QPlainTextEdit *txtMethod, *txtMargin;
    NumField* numInit;
    std::array<QComboBox*, 4> cboStyle{};
    std::array<NumField*, 4> numMargin{};

  protected:
    void ApplyDependentEnabling() override;
    bool CrossFieldCheck() override;
};

}  // namespace kuvelt::ui
