// Input fields of every window: NumField (a number with its range, display and edit formats
// and caption) and TextField (code-page-932 byte limit, no double quote). The range check
// itself is run by InputWindow when the focus leaves a field or OK is pressed; a field only
// knows whether it holds an acceptable value and which message refuses it.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QValidator>
#include <string>

#include "platform/message.h"

namespace kuvelt::ui {

// What a numeric field accepts and how it shows its value. Formats are number pictures of
// platform/numfmt.h; the edit format is used while the field has the focus.
struct NumSpec {
    double min = 0.0;
    double max = 0.0;
    std::string displayFormat;
    std::string editFormat;  // "" = the display format
    std::string caption;     // title of the range message (the field's label)
    std::string name;        // "CInpJiban.Fai" ... ("" for a field outside the range table)
};

// The range, formats and caption of a design field by its name ("CInpJiban.Fai", "CInpJyoken.ELGL"
// ...). Unknown names give a description that accepts nothing and names the field in its caption.
NumSpec SpecFor(const std::string& name);

// "入力範囲：<min> ～ <max>" with the field's number format, titled with the caption,
// information icon, OK button.
Message RangeMessage(const NumSpec& field);

// Number of digit places after the decimal point of a picture's first section.
int DecimalPlaces(const std::string& picture);

class NumField : public QLineEdit {
    Q_OBJECT
  public:
    explicit NumField(const NumSpec& field, QWidget* parent = nullptr);

    void setValue(double value);
    // The current value; what the user typed counts at once (rounded to the edit format's
    // places). 0 when the field is blank.
    double value() const { return value_; }
    // True when the field holds no number (emptied, or only a sign or a point typed).
    bool isBlank() const { return blank_; }
    // Inside [min, max] (limits included); a blank field is out of range.
    bool inRange() const;
    const NumSpec& spec() const { return spec_; }
    Message rangeMessage() const { return RangeMessage(spec_); }

  signals:
    // The user changed the number (not emitted by setValue).
    void valueEdited(double value);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void ShowFormatted(bool editing);
    void OnTextEdited(const QString& text);

    NumSpec spec_;
    double value_ = 0.0;
    bool blank_ = true;
};

// Refuses input that would make the text longer than `maxBytes` code-page-932 bytes, put a
// double quote (the design file keeps texts between double quotes) or a line break in it, or
// add a character that code page 932 cannot hold (it would be saved as "?").
class Cp932TextValidator : public QValidator {
    Q_OBJECT
  public:
    Cp932TextValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}
    State validate(QString& input, int& pos) const override;
    int maxBytes() const { return maxBytes_; }

  private:
    int maxBytes_;
};

class TextField : public QLineEdit {
    Q_OBJECT
  public:
    // `limitName` names the text limit of model/ranges.h ("CInpJyoken.Title" ...).
    TextField(const std::string& limitName, QWidget* parent = nullptr);
    void setText(const std::string& text);
    std::string text8() const;
};

// QString <-> UTF-8 std::string at the boundary to the core.
inline QString Q(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
inline std::string U8(const QString& s) { return s.toUtf8().toStdString(); }

}  // namespace kuvelt::ui
