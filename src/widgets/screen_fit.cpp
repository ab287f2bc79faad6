#include "widgets/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace kuvelt::widgets {

QMargins FrameMargins(const QWidget* window) {
    if (window->isVisible()) {
        const QRect f = window->frameGeometry(), g = window->geometry();
        return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                        f.bottom() - g.bottom());
    }
    // Not framed yet: a usual title bar and border.
    return {4, 32, 4, 4};
}

QRect FitRect(const QRect& frame, const QRect& free) {
    QRect r = frame;
    r.setWidth(std::min(r.width(), free.width()));
    r.setHeight(std::min(r.height(), free.height()));
    r.moveLeft(std::clamp(r.left(), free.left(), free.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), free.top(), free.bottom() + 1 - r.height()));
    return r;
}

void KeepOnScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QMargins m = FrameMargins(window);
    const QRect frame(window->pos(), window->size().grownBy(m));
    const QRect fit = FitRect(frame, screen->availableGeometry());
    if (fit.size() != frame.size())
        window->resize(fit.size().shrunkBy(m).expandedTo(window->minimumSize()));
    if (fit.topLeft() != frame.topLeft()) window->move(fit.topLeft());
}

}  // namespace kuvelt::widgets
