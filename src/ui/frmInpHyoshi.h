// The cover window "表紙の設定": the six texts of the cover's block (工事名, 発注者, 設計者,
// 照査者, 日付, 版), each a TextField of its design field with the byte limit in code page 932 and
// the bytes left shown in the status line, and a button that puts today's date in the date field.
// The texts only reach the cover page, so confirming them leaves the sheet-pile choice valid.
// Below them the design's references (参考文献), one a line in the order they print on the page
// of the standards, each edited in place under the same byte limit; a line left empty is no
// reference. With none, the report prints the format file's references.
#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "ui/input_window.h"

class QListWidget;
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

    QListWidget* lstSankoBunken = nullptr;
    QPushButton *cmdBunkenAdd = nullptr, *cmdBunkenEdit = nullptr, *cmdBunkenDelete = nullptr,
                *cmdBunkenUp = nullptr, *cmdBunkenDown = nullptr;
    void setReferences(const std::vector<std::string>& texts);
    // The references in the list's order, lines left empty left out.
    std::vector<std::string> references() const;

  private:
    void EditReference(int row);
    void MoveReference(int by);
    void DropEmptyReferences();
    void UpdateReferenceButtons();
};

}  // namespace kuvelt::ui
