// Input fields of every window: NumField (a number with the range, display and edit formats and
// caption of its FieldRange, model/ranges.h) and TextField (code-page-932 byte limit, no double
// quote). The range check itself is run by InputWindow when the focus leaves a field or OK is
// pressed; a field only asks the core's InRange and RangeMessage.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QValidator>
#include <string>

#include "model/ranges.h"
#include "platform/message.h"

namespace kuvelt::ui {

class NumField : public QLineEdit {
    Q_OBJECT
  public:
    // The range is copied; its texts must live as long as the program (the core's tables and
    // string literals do).
    explicit NumField(const FieldRange& field, QWidget* parent = nullptr);

    void setValue(double value);
    // The current value; what the user typed counts at once (rounded to the edit format's
    // places). 0 when the field is blank.
    double value() const { return value_; }
    // True when the field holds no number (emptied, or only a sign or a point typed).
    bool isBlank() const { return blank_; }
    // The core's InRange of the value; a blank field is out of range.
    bool inRange() const;
    const FieldRange& spec() const { return spec_; }
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

    FieldRange spec_;
    double value_ = 0.0;
    bool blank_ = true;
    bool editing_ = false;  // the text is in the edit format
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

// "入力範囲：60ﾊﾞｲﾄ以内の文字列（残り 23 ﾊﾞｲﾄ）": a text's limit in code page 932 bytes and what
// `text` (UTF-8) leaves of it.
QString TextHint(int limit, const std::string& text);

class TextField : public QLineEdit {
    Q_OBJECT
  public:
    // `limitName` names the text field of the design table ("CInpJyoken.Title" ...).
    TextField(const std::string& limitName, QWidget* parent = nullptr);
    void setText(const std::string& text);
    std::string text8() const;
    const std::string& name() const { return name_; }
    // "入力範囲：60ﾊﾞｲﾄ以内の文字列（残り 23 ﾊﾞｲﾄ）": the limit in code page 932 bytes and what the
    // text leaves of it.
    QString Hint() const;

  signals:
    void hintChanged(const QString& hint);

  private:
    std::string name_;
};

// QString <-> UTF-8 std::string at the boundary to the core.
inline QString Q(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
inline std::string U8(const QString& s) { return s.toUtf8().toStdString(); }

}  // namespace kuvelt::ui
