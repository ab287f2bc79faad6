// The cover window "表紙の設定": the six texts of the cover's block (工事名, 発注者, 設計者,
// 照査者, 日付, 版), each a TextField of its design field with the byte limit in code page 932 and
// the bytes left shown in the status line, and a button that puts today's date in the date field.
// The texts only reach the cover page, so confirming them leaves the sheet-pile choice valid.
#pragma once

#include <QDate>
#include <QString>
#include <functional>

#include "ui/input_window.h"

class QPushButton;

namespace kuvelt::ui {

class TextField;

// "2024年10月1日": the date as the date field offers it.
QString CoverDateText(const QDate& date);

class frmInpHyoshi : public InputWindow {
    Q_OBJECT
  public:
    explicit frmInpHyoshi(QWidget* parent = nullptr);

    TextField *txtKojiMei, *txtHachusha, *txtSekkeisha, *txtShosasha, *txtHizuke, *txtHan;
    QPushButton* cmdToday = nullptr;
    // The date the button puts in (today's; tests give another).
    std::function<QDate()> today = [] { return QDate::currentDate(); };
};

}  // namespace kuvelt::ui
