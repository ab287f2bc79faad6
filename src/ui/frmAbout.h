// The version window "ﾊﾞｰｼﾞｮﾝ情報": the application title, the version line and a button that
// starts the desktop's system-information program.
#pragma once

#include <QDialog>
#include <string>

namespace kuvelt::ui {

// "Version 1.0.000(2026/12/09)": major.minor, the revision as three digits, the release date.
std::string VersionLine(int major, int minor, int revision, int year, int month, int day);
// The line of this build.
std::string CurrentVersionLine();

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);
    void PressSystemInfo();
};

}  // namespace kuvelt::ui
