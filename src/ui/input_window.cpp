#include "ui/input_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "ui/fields.h"
#include "ui/ui_services.h"
#include "ui/window_position.h"

namespace kuvelt::ui {

InputWindow::InputWindow(std::string section, const QString& caption, QWidget* parent)
    : QDialog(parent), section_(std::move(section)), ownCaption_(caption) {
    setWindowTitle(caption);
    setModal(true);
    connect(qApp, &QApplication::focusChanged, this, &InputWindow::OnFocusChanged);
}

// Focus moves while the widgets are torn down must not reach a half-destroyed window.
InputWindow::~InputWindow() { disconnect(qApp, nullptr, this, nullptr); }

QHBoxLayout* InputWindow::MakeButtonRow(bool withOk) {
    auto* row = new QHBoxLayout;
    cmdHelp_ = new QPushButton(QStringLiteral("ﾍﾙﾌﾟ(&H)"), this);
    cmdHelp_->setEnabled(false);
    // Like OK and Cancel it takes no focus on a click: reading the guide checks no field.
    cmdHelp_->setFocusPolicy(Qt::TabFocus);
    connect(cmdHelp_, &QPushButton::clicked, this, &InputWindow::ShowHelp);
    row->addWidget(cmdHelp_);
    lblStatus_ = new QLabel(this);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    // The line takes the room the buttons leave: its text never widens the window.
    lblStatus_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(lblStatus_, 1);
    if (withOk) {
        cmdOK_ = new QPushButton(QStringLiteral("OK(&O)"), this);
        cmdOK_->setDefault(true);
        // A click leaves the focus in the field being edited, so OK still checks it.
        cmdOK_->setFocusPolicy(Qt::TabFocus);
        connect(cmdOK_, &QPushButton::clicked, this, &InputWindow::OnOk);
        row->addWidget(cmdOK_);
    }
    cmdCancel_ =
        new QPushButton(withOk ? QStringLiteral("ｷｬﾝｾﾙ(&C)") : QStringLiteral("閉じる(&C)"), this);
    cmdCancel_->setFocusPolicy(Qt::TabFocus);
    if (!withOk) cmdCancel_->setDefault(true);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(cmdCancel_);
    for (QPushButton* b : {cmdHelp_, cmdOK_, cmdCancel_}) {
        if (b)
            b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("ｷｬﾝｾﾙ(C)")) + 32);
    }
    return row;
}

void InputWindow::Prepare() {
    setWindowTitle(UsrCaption.isEmpty() ? ownCaption_ : UsrCaption);
    if (cmdHelp_) cmdHelp_->setEnabled(!UsrHelpFile.isEmpty());
    adjustSize();
    PlaceWindow(this, section_);
    emit LoadData();
    ApplyDependentEnabling();
    // What is left of a text's limit follows the typing.
    if (!statusWired_) {
        statusWired_ = true;
        for (TextField* t : findChildren<TextField*>()) {
            connect(t, &TextField::hintChanged, this, [this, t](const QString& hint) {
                if (lblStatus_ && t->hasFocus()) lblStatus_->setText(hint);
            });
        }
    }
}

int InputWindow::RunModal() {
    Prepare();
    return exec();
}

void InputWindow::done(int result) {
    UsrTag = result == QDialog::Accepted ? QStringLiteral("OK") : QStringLiteral("ｷｬﾝｾﾙ");
    StoreWindowPosition(this, section_);
    QDialog::done(result);
}

void InputWindow::ShowHelp() {
    if (UsrHelpFile.isEmpty()) return;
    Services().ShowHelp(this, UsrHelpFile.toStdString(), UsrHelpContextID);
}

void InputWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        ShowHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

void InputWindow::OnOk() {
    if (!ValidateFields() || !CrossFieldCheck()) return;
    bool cancel = false;
    emit SaveData(cancel);
    if (!cancel) accept();
}

bool InputWindow::ValidateFields() {
    if (pending_) {
        RunPendingCheck();
        return false;
    }
    pending_.clear();
    if (auto* focused = qobject_cast<NumField*>(QApplication::focusWidget());
        focused && focused->window() == this && !focused->inRange()) {
        return CheckField(focused);
    }
    // Every enabled field in tab order: a value out of range is never saved.
    QWidget* w = this;
    for (int guard = 0; guard < 10000; ++guard) {
        w = w->nextInFocusChain();
        if (w == this) break;
        auto* field = qobject_cast<NumField*>(w);
        if (field && field->window() == this && field->isEnabledTo(this) &&
            field->isVisibleTo(this) && !field->inRange()) {
            return CheckField(field);
        }
    }
    return true;
}

void InputWindow::ShowStatusOf(QWidget* now) {
    if (!lblStatus_) return;
    if (auto* t = qobject_cast<TextField*>(now)) {
        lblStatus_->setText(t->Hint());
    } else if (auto* n = qobject_cast<NumField*>(now)) {
        lblStatus_->setText(n->toolTip().replace(QLatin1Char('\n'), QStringLiteral("　")));
    } else {
        lblStatus_->clear();
    }
}

void InputWindow::OnFocusChanged(QWidget* old, QWidget* now) {
    if (now && now->window() == this) ShowStatusOf(now);
    if (checking_ || !now || now->window() != this) return;
    // The field the focus leaves: `old`, or, when the focus comes back from outside the window
    // (a message box, another program) onto some other widget, the field that had it last.
    NumField* field = qobject_cast<NumField*>(old);
    if (!old) field = lastField_;
    if (auto* arrived = qobject_cast<NumField*>(now); arrived && arrived->window() == this) {
        lastField_ = arrived;
    }
    if (!field || field == now || field->window() != this || !field->isEnabled() ||
        field->inRange()) {
        return;
    }
    // The check runs once the focus change has finished; showing a box in the middle of it
    // would fight the focus handling.
    pending_ = field;
    QTimer::singleShot(0, this, &InputWindow::RunPendingCheck);
}

void InputWindow::RunPendingCheck() {
    NumField* field = pending_;
    pending_.clear();
    if (field && !field->inRange()) CheckField(field);
}

bool InputWindow::CheckField(NumField* field) {
    checking_ = true;
    Services().Beep();
    Services().ShowMessage(this, field->rangeMessage());
    // The window gets the activation back with the focus in the field, so the focus frame is
    // drawn where the keys go.
    activateWindow();
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    lastField_ = field;
    checking_ = false;
    return false;
}

}  // namespace kuvelt::ui
