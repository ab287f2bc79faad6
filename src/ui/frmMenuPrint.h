// The print menu "検討結果の印刷". Opening it writes all report chapters into print files (a
// failed chapter is reported, and can still be printed); the user ticks chapters, and the print
// button joins them into the combined print file and starts the preview program of the program
// folder on it, with an argument list and never a shell. Item 4 (excavation-bottom stability) is
// disabled (and unticked) when the design has no stability check or the check faulted; that
// untick is the program's, never stored. The parts around and in the chapters (cover, contents,
// summary, standards, figures) are ticked beside them. Ticks and position live in section
// "MenuPrint" (chapters as "0"…"4", parts as "P0"…; ticked when never stored); every print and
// figure file is deleted when the menu closes.
#pragma once

#include <QCheckBox>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "report/chapters/print_job.h"
#include "ui/input_window.h"

class QPushButton;

namespace kuvelt::ui {

// The message when the preview program could not be started.
Message PreviewStartMessage(const std::string& program);

class frmMenuPrint : public InputWindow {
    Q_OBJECT
  public:
    explicit frmMenuPrint(QWidget* parent = nullptr);
    ~frmMenuPrint() override;

    // Starts a program from an argument list without waiting (process::Start). Tests replace it.
    using Starter = std::function<bool(const std::vector<std::string>& argv)>;
    static void SetStarter(Starter starter);  // empty restores process::Start

    // The preview program beside this program: <program folder>/Preview.
    static std::string PreviewProgram();

    print_job::Ticks ticks() const;
    print_job::PartTicks partTicks() const;
    print_job::Ticks enabledItems() const;
    // cmdCheck(index): 0 tick every enabled item, 1 untick all, 2 invert the enabled items.
    void CheckCommand(int index);
    // cmdPreview: the combined file and the preview; false when a message refused it.
    bool PrintPreview();
    const print_job::Generation& generation() const { return generation_; }

    std::array<QCheckBox*, print_job::kItems> chkPrintItem{};
    std::array<QCheckBox*, print_job::kParts> chkPart{};  // cover, contents … figures
    std::array<QPushButton*, 3> cmdCheck{};
    QPushButton *cmdPreview, *cmdClose;

  protected:
    void done(int result) override;

  private:
    void OpenMenu();
    void CloseMenu();

    print_job::Generation generation_;
    bool open_ = false;
};

}  // namespace kuvelt::ui
