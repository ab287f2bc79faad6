#include "ui/window_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "io/settings.h"
#include "platform/numfmt.h"
#include "platform/profile.h"
#include "widgets/screen_fit.h"

namespace kuvelt::ui {

namespace {

QScreen* ScreenOf(const QWidget* w) {
    QScreen* s = w ? w->screen() : nullptr;
    return s ? s : QGuiApplication::primaryScreen();
}

}  // namespace

int PlacedTwips(int stored, int screenTwips, int windowTwips, bool mainWindowRule) {
    if (stored < 1 || (mainWindowRule && stored >= screenTwips)) {
        const int centred = (screenTwips - windowTwips) / 2;
        return centred < 0 ? 0 : centred;
    }
    return stored;
}

int PixelsToTwips(int pixels, double dpi) {
    return int(std::lround(pixels * 1440.0 / (dpi > 0 ? dpi : 96.0)));
}

int TwipsToPixels(int twips, double dpi) {
    return int(std::lround(twips * (dpi > 0 ? dpi : 96.0) / 1440.0));
}

void PlaceWindow(QWidget* window, const std::string& section, bool mainWindowRule) {
    QScreen* screen = ScreenOf(window);
    if (!screen) return;
    const QRect area = screen->geometry();
    const double dx = screen->logicalDotsPerInchX();
    const double dy = screen->logicalDotsPerInchY();
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    const int top = PlacedTwips(CPrivateProfile::GetValueLong(gIniFile, section, ini::kTop),
                                PixelsToTwips(area.height(), dy), PixelsToTwips(size.height(), dy),
                                mainWindowRule);
    const int left = PlacedTwips(CPrivateProfile::GetValueLong(gIniFile, section, ini::kLeft),
                                 PixelsToTwips(area.width(), dx), PixelsToTwips(size.width(), dx),
                                 mainWindowRule);
    QPoint at(area.left() + TwipsToPixels(left, dx), area.top() + TwipsToPixels(top, dy));
    // A position stored on a monitor that is gone would put the window where nobody sees it:
    // then it opens centred on the screen it belongs to.
    const QPoint centre = at + QPoint(size.width() / 2, size.height() / 2);
    if (QGuiApplication::screenAt(centre) == nullptr) {
        const QRect free = screen->availableGeometry();
        at = QPoint(free.left() + std::max(0, (free.width() - size.width()) / 2),
                    free.top() + std::max(0, (free.height() - size.height()) / 2));
    }
    window->move(at);
    widgets::KeepOnScreen(window);
}

void StoreWindowPosition(const QWidget* window, const std::string& section) {
    QScreen* screen = ScreenOf(window);
    if (!screen) return;
    const QRect area = screen->geometry();
    const QPoint p = window->pos() - area.topLeft();
    CPrivateProfile::SetValueString(
        gIniFile, section, ini::kTop,
        numfmt::General(PixelsToTwips(p.y(), screen->logicalDotsPerInchY())));
    CPrivateProfile::SetValueString(
        gIniFile, section, ini::kLeft,
        numfmt::General(PixelsToTwips(p.x(), screen->logicalDotsPerInchX())));
}

}  // namespace kuvelt::ui
