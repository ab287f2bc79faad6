// The message box both programs show for a Message: its icon, title, text and buttons, at least
// as wide as its title needs, so a short text under a long title does not cut the title off.
#pragma once

#include <QMessageBox>
#include <memory>

#include "platform/message.h"

namespace kuvelt::widgets {

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const Message& message);

// The width the box keeps for its title: the title in the title bar's font, the window buttons
// and the frame beside it.
int TitleWidth(const QMessageBox& box);

}  // namespace kuvelt::widgets
