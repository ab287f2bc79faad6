#include "ui/fields.h"

#include <QFocusEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <cmath>

#include "platform/cp932.h"
#include "platform/numfmt.h"
#include "ui/field_specs.h"

namespace kuvelt::ui {

NumField::NumField(const FieldRange& field, QWidget* parent) : QLineEdit(parent), spec_(field) {
    if (spec_.editFormat.empty()) spec_.editFormat = spec_.displayFormat;
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Digits, one sign in front and one decimal point; thousands separators may be pasted in.
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^[+-]?[0-9,]{0,12}\\.?[0-9]{0,6}$")), this));
    connect(this, &QLineEdit::textEdited, this, &NumField::OnTextEdited);
    setValue(0.0);
}

void NumField::setValue(double value) {
    value_ = value;
    blank_ = false;
    ShowFormatted(hasFocus());
}

bool NumField::inRange() const { return !blank_ && InRange(spec_, value_); }

void NumField::ShowFormatted(bool editing) {
    editing_ = editing;
    if (blank_) {
        QLineEdit::setText(QString());
        return;
    }
    QLineEdit::setText(
        Q(numfmt::FormatNumber(value_, editing ? spec_.editFormat : spec_.displayFormat)));
}

void NumField::OnTextEdited(const QString& text) {
    QString t = text.trimmed();
    t.remove(QLatin1Char(','));
    double v = 0.0;
    if (t.isEmpty() || !numfmt::ParseNumber(U8(t), v)) {
        blank_ = true;
        value_ = 0.0;
    } else {
        // Keep what the field shows: the typed number rounded half up to the edit format.
        const double scale = std::pow(10.0, DecimalPlaces(spec_.editFormat));
        const double r = std::floor(std::fabs(v) * scale + 0.5 + 1e-9) / scale;
        blank_ = false;
        value_ = v < 0 ? -r : r;
    }
    emit valueEdited(value_);
}

// A window losing and regaining the activation (a message box over it) leaves the field's text
// alone, and a value the range check selected stays selected for retyping.
void NumField::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    const bool regained = reason == Qt::ActiveWindowFocusReason && editing_;
    if (reason != Qt::PopupFocusReason && !regained) {
        const bool wholeSelected = !text().isEmpty() && selectedText() == text();
        ShowFormatted(true);
        if (wholeSelected || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::OtherFocusReason) {
            selectAll();
        }
    }
    QLineEdit::focusInEvent(event);
}

void NumField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) {
        ShowFormatted(false);
    }
}

QValidator::State Cp932TextValidator::validate(QString& input, int&) const {
    if (input.contains(QLatin1Char('"')) || input.contains(QLatin1Char('\n')) ||
        input.contains(QLatin1Char('\r'))) {
        return Invalid;
    }
    const std::string utf8 = U8(input);
    bool exact = true;
    cp932::FromUtf8(utf8, &exact);
    if (!exact || cp932::ByteLength(utf8) > std::size_t(maxBytes_)) return Invalid;
    return Acceptable;
}

TextField::TextField(const std::string& limitName, QWidget* parent)
    : QLineEdit(parent), name_(limitName) {
    setValidator(new Cp932TextValidator(TextLimitBytes(limitName), this));
    setToolTip(QStringLiteral("入力範囲：%1ﾊﾞｲﾄ以内の文字列").arg(TextLimitBytes(limitName)));
    connect(this, &QLineEdit::textChanged, this, [this] { emit hintChanged(Hint()); });
}

QString TextHint(int limit, const std::string& text) {
    const auto used = static_cast<int>(cp932::ByteLength(text));
    return QStringLiteral("入力範囲：%1ﾊﾞｲﾄ以内の文字列（残り %2 ﾊﾞｲﾄ）")
        .arg(limit)
        .arg(std::max(0, limit - used));
}

QString TextField::Hint() const { return TextHint(TextLimitBytes(name_), text8()); }

void TextField::setText(const std::string& text) { QLineEdit::setText(Q(text)); }

std::string TextField::text8() const { return U8(text()); }

}  // namespace kuvelt::ui
