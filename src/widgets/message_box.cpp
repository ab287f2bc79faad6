#include "widgets/message_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

namespace kuvelt::widgets {

namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Error:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Room in the title bar besides the title: the window menu, minimise, maximise and close.
constexpr int kTitleBarButtons = 140;

}  // namespace

int TitleWidth(const QMessageBox& box) {
    // Window managers set the title a little larger and bolder than the dialog's text.
    QFont font = box.font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const Message& m) {
    auto box = std::make_unique<QMessageBox>(ToQtIcon(m.icon), QString::fromStdString(m.title),
                                             QString::fromStdString(m.text), QMessageBox::NoButton,
                                             parent);
    switch (m.buttons) {
        case MsgButtons::Ok:
            box->setStandardButtons(QMessageBox::Ok);
            box->setEscapeButton(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box->setEscapeButton(QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box->setEscapeButton(QMessageBox::No);
            break;
        case MsgButtons::YesNoCancel:
            box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box->setEscapeButton(QMessageBox::Cancel);
            break;
    }
    // The box sizes itself by its text only; a spacer across its grid holds the title's width.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(
            new QSpacerItem(TitleWidth(*box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
            grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

}  // namespace kuvelt::widgets
