// The window protocol shared by every input, choice, result and numbering window.
//
// The main window creates the window, sets the Usr… settings and calls RunModal(). Opening
// places the window from its settings section, raises LoadData (the main window's handler fills
// the fields from the current design) and then applies ApplyDependentEnabling() for the values
// just loaded. OK first runs the range check of the focused field and of every enabled NumField,
// then raises SaveData(Cancel) with Cancel false; the window closes (UsrTag "OK") only when the
// handler left Cancel false. Cancel or closing the window raises nothing (UsrTag "ｷｬﾝｾﾙ"). Every
// way of closing stores "Top"/"Left" in the section.
//
// Range check: when the focus leaves a NumField of this window for another widget of it while
// the field is out of range (a blank field counts as out of range), the window beeps, shows the
// field's "入力範囲：" message titled with its caption and puts the focus back, so OK cannot be
// pressed past a bad field. Focus that returns to the window from outside it (after a message
// box) onto another widget counts as leaving the field that had it last. The OK and Cancel buttons
// take no focus on a click, so OK still checks the field being edited and Cancel never checks
// anything; Enter presses OK.
//
// The window factory (window_factory.h) wires the main window's handlers to LoadData and SaveData
// as lambdas.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <string>

class QPushButton;
class QHBoxLayout;
class QLabel;

namespace kuvelt::ui {

class NumField;

class InputWindow : public QDialog {
    Q_OBJECT
  public:
    // `section` is the settings section of the position ("InpJyoken" ...); `caption` the
    // window's own caption, used while UsrCaption is empty.
    InputWindow(std::string section, const QString& caption, QWidget* parent = nullptr);
    ~InputWindow() override;

    // Settings given by the main window before RunModal.
    QString UsrCaption;   // "" keeps the own caption
    QString UsrHelpFile;  // "" disables the help button
    int UsrHelpContextID = 0;
    int UsrRecMax = 0;  // row limit of the registration grids
    QString UsrTag;     // "OK" after OK, "ｷｬﾝｾﾙ" after Cancel or close

    // Caption, help button, position, LoadData, dependent enabling (RunModal does this first;
    // tests call it and show() the window themselves).
    void Prepare();
    int RunModal();

    // Runs the range check as OK does; false (message shown, focus moved) on a bad field.
    bool ValidateFields();
    // Presses OK programmatically (same path as the button).
    void PressOk() { OnOk(); }

    const std::string& section() const { return section_; }
    QPushButton* okButton() const { return cmdOK_; }
    QPushButton* cancelButton() const { return cmdCancel_; }
    QPushButton* helpButton() const { return cmdHelp_; }
    // F1 and the help button: the user guide at UsrHelpContextID, when a help file is given.
    void ShowHelp();
    // The line beside the buttons naming the focused field's range and unit (a text field: its
    // byte limit and what is left of it); nullptr before MakeButtonRow.
    QLabel* statusLine() const { return lblStatus_; }

  signals:
    void LoadData();
    void SaveData(bool& Cancel);

  protected:
    // Enabling that depends on the loaded or picked values (shape options, ground kind ...).
    virtual void ApplyDependentEnabling() {}
    // After every field is in its range: a check across fields, false when OK must be refused
    // (the window has shown why and put the focus on the field to correct).
    virtual bool CrossFieldCheck() { return true; }
    // The row "ﾍﾙﾌﾟ(&H)" … "OK(&O)" "ｷｬﾝｾﾙ(&C)" to put at the bottom of the window's layout.
    // withOk false gives a result window's single close button (caption "閉じる(&C)").
    QHBoxLayout* MakeButtonRow(bool withOk = true);
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void OnOk();
    void OnFocusChanged(QWidget* old, QWidget* now);
    void RunPendingCheck();
    bool CheckField(NumField* field);

    std::string section_;
    QString ownCaption_;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdHelp_ = nullptr;
    QPointer<NumField> pending_;
    QPointer<NumField> lastField_;  // the field of this window that had the focus last
    QLabel* lblStatus_ = nullptr;
    bool statusWired_ = false;
    void ShowStatusOf(QWidget* now);
    bool checking_ = false;
};

}  // namespace kuvelt::ui
