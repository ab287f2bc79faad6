#include "widgets/focus_frame.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace kuvelt::widgets {

namespace {

constexpr int kWidth = 2;   // line width of the frame
constexpr int kMargin = 3;  // how far the frame stands outside the widget

// The frame itself: a child of the focused widget's parent, just outside the widget and stacked
// above it, taking no mouse clicks.
class FocusFrame : public QWidget {
  public:
    explicit FocusFrame(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("focusFrame"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

    QPointer<QWidget> target;

    void Place() {
        if (!target || !target->isVisible()) {
            hide();
            return;
        }
        // A widget that fills its parent (a grid in a tab page) gets the frame on its own edge.
        QRect r = target->geometry().adjusted(-kMargin, -kMargin, kMargin, kMargin);
        if (parentWidget()) r = r.intersected(parentWidget()->rect());
        setGeometry(r);
        raise();
        show();
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QPen pen(palette().color(QPalette::Active, QPalette::Highlight), kWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const qreal half = kWidth / 2.0;
        p.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
    }
};

// Moves the frame to every newly focused widget and keeps it on the widget as it moves.
class FocusFrameTracker : public QObject {
  public:
    explicit FocusFrameTracker(QApplication& app) : QObject(&app) {
        connect(&app, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { Follow(now); });
    }

    QWidget* Target() const { return frame_ && frame_->isVisible() ? frame_->target : nullptr; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (frame_ && watched == frame_->target) {
            switch (event->type()) {
                case QEvent::Move:
                case QEvent::Resize:
                case QEvent::Show:
                case QEvent::Hide:
                case QEvent::ZOrderChange:
                    frame_->Place();
                    break;
                default:
                    break;
            }
        }
        return false;
    }

  private:
    void Follow(QWidget* now) {
        if (frame_ && frame_->target) frame_->target->removeEventFilter(this);
        QWidget* parent = now ? now->parentWidget() : nullptr;
        // A window, a menu or a popup of its own draws no frame; neither does a widget that takes
        // no keyboard focus.
        if (!now || now->isWindow() || !parent || now->focusPolicy() == Qt::NoFocus) {
            if (frame_) {
                frame_->target = nullptr;
                frame_->hide();
            }
            return;
        }
        if (!frame_) frame_ = new FocusFrame(parent);
        if (frame_->parentWidget() != parent) frame_->setParent(parent);
        frame_->target = now;
        now->installEventFilter(this);
        frame_->Place();
    }

    // Owned by the parent of the widget it frames; gone with that window.
    QPointer<FocusFrame> frame_;
};

QPointer<FocusFrameTracker> gTracker;

}  // namespace

void InstallFocusFrame(QApplication& app) {
    if (!gTracker) gTracker = new FocusFrameTracker(app);
}

QWidget* FocusFrameTarget() { return gTracker ? gTracker->Target() : nullptr; }

}  // namespace kuvelt::widgets
