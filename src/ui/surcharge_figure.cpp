#include "ui/surcharge_figure.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace kuvelt::ui {

namespace {

// A downward load arrow ending on the ground at `tip`.
void LoadArrow(QPainter& p, QPointF tip, double length) {
    p.drawLine(tip - QPointF(0, length), tip);
    p.drawPolygon(QPolygonF{tip, tip + QPointF(-3, -7), tip + QPointF(3, -7)});
}

// Arrows at even spacing over [x0, x1] on the line y(x), with the load label above them.
template <class Y>
void LoadBlock(QPainter& p, double x0, double x1, Y y, const QString& label) {
    const int n = std::max(2, int((x1 - x0) / 14));
    const double len = 18;
    QPainterPath top;
    for (int i = 0; i <= n; ++i) {
        const double x = x0 + (x1 - x0) * i / n;
        LoadArrow(p, QPointF(x, y(x)), len);
        if (i == 0) {
            top.moveTo(x, y(x) - len);
        } else {
            top.lineTo(x, y(x) - len);
        }
    }
    p.drawPath(top);
    const double xm = (x0 + x1) / 2;
    p.drawText(QRectF(xm - 40, y(xm) - len - 20, 80, 18), Qt::AlignCenter, label);
}

// A horizontal dimension line with end ticks and its label under it.
void DimH(QPainter& p, double x0, double x1, double y, const QString& label) {
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    p.drawLine(QPointF(x0, y - 4), QPointF(x0, y + 4));
    p.drawLine(QPointF(x1, y - 4), QPointF(x1, y + 4));
    p.drawPolygon(QPolygonF{QPointF(x0, y), QPointF(x0 + 6, y - 2.5), QPointF(x0 + 6, y + 2.5)});
    p.drawPolygon(QPolygonF{QPointF(x1, y), QPointF(x1 - 6, y - 2.5), QPointF(x1 - 6, y + 2.5)});
    p.drawText(QRectF(x0, y + 2, x1 - x0, 18), Qt::AlignHCenter | Qt::AlignTop, label);
}

// A vertical dimension line with end ticks; its label centred in `labelRect`.
void DimV(QPainter& p, double x, double y0, double y1, const QRectF& labelRect,
          const QString& label) {
    p.drawLine(QPointF(x, y0), QPointF(x, y1));
    p.drawLine(QPointF(x - 4, y0), QPointF(x + 4, y0));
    p.drawLine(QPointF(x - 4, y1), QPointF(x + 4, y1));
    p.drawPolygon(QPolygonF{QPointF(x, y0), QPointF(x - 2.5, y0 + 6), QPointF(x + 2.5, y0 + 6)});
    p.drawPolygon(QPolygonF{QPointF(x, y1), QPointF(x - 2.5, y1 - 6), QPointF(x + 2.5, y1 - 6)});
    p.drawText(labelRect, Qt::AlignCenter, label);
}

// The sheet pile (hatched strip) from the top `yTop` down to `yBottom`, the channel in front.
void Wall(QPainter& p, double x, double yTop, double yBottom, double yFront) {
    const QRectF pile(x - 5, yTop, 5, yBottom - yTop);
    p.save();
    p.setBrush(QBrush(p.pen().color(), Qt::BDiagPattern));
    p.drawRect(pile);
    p.restore();
    // Design ground level in front of the wall.
    p.drawLine(QPointF(x - 5 - 40, yFront), QPointF(x - 5, yFront));
    p.drawText(QRectF(x - 90, yFront - 34, 80, 16), Qt::AlignRight, QStringLiteral("矢板"));
}

void GroundHatch(QPainter& p, const QPolygonF& ground) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(QColor(0xE8, 0xD8, 0xB8)));
    p.drawPolygon(ground);
    p.restore();
}

}  // namespace

TrapezoidGeometry TrapezoidAt(QSizeF size) {
    const double wx = 48, w = size.width(), h = size.height();
    const double gy = h * 0.62, ho = h * 0.22;
    TrapezoidGeometry g;
    g.slopeFoot = QPointF(wx + (w - wx) * 0.22, gy);
    g.slopeTop = QPointF(wx + (w - wx) * 0.52, gy - ho);
    // Ｈo is measured beside the crest's edge, on the crest's side of the dashed line, its label
    // right of the dimension: nothing runs through it.
    g.dimX = g.slopeTop.x() + 14;
    g.hoLabel = QRectF(g.dimX + 5, gy - ho / 2 - 9, 28, 18);
    return g;
}

SurchargeFigure::SurchargeFigure(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurchargeFigure::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().base());
    QPen pen(palette().color(QPalette::Text));
    pen.setWidthF(1.2);
    p.setPen(pen);
    p.setBrush(palette().color(QPalette::Text));
    const double w = width();
    const double h = height();

    if (kind_ == HorizontalAndSlope) {
        // Left half: horizontal ground, surcharge Ｑ from the distance Ｘ onwards.
        const double gy = h * 0.50;
        const double wx = 44;
        const double half = w / 2;
        GroundHatch(p, QPolygonF{QPointF(wx, gy), QPointF(half - 8, gy), QPointF(half - 8, h - 12),
                                 QPointF(wx, h - 12)});
        Wall(p, wx, gy - 6, h - 12, gy + 44);
        p.drawLine(QPointF(wx, gy), QPointF(half - 8, gy));
        const double xq = wx + (half - 8 - wx) * 0.42;
        LoadBlock(
            p, xq, half - 14, [&](double) { return gy; }, QStringLiteral("Ｑ"));
        DimH(p, wx, xq, gy + 10, QStringLiteral("Ｘ"));
        p.drawText(QRectF(wx, 4, half - wx, 18), Qt::AlignHCenter, QStringLiteral("(水平)"));

        // Right half: ground rising from the wall top at 1:ｍ, surcharge ｑ on the slope.
        const double wx2 = half + 40;
        const double gy2 = h * 0.56;
        const double x2 = w - 10;
        const double rise = (x2 - wx2) * 0.32;
        auto slope = [&](double x) { return gy2 - (x - wx2) / (x2 - wx2) * rise; };
        GroundHatch(p, QPolygonF{QPointF(wx2, gy2), QPointF(x2, slope(x2)), QPointF(x2, h - 12),
                                 QPointF(wx2, h - 12)});
        Wall(p, wx2, gy2 - 6, h - 12, gy2 + 36);
        p.drawLine(QPointF(wx2, gy2), QPointF(x2, slope(x2)));
        LoadBlock(p, wx2 + 8, x2 - 8, slope, QStringLiteral("ｑ"));
        // Slope triangle: 1 vertical against ｍ horizontal.
        const double tx0 = wx2 + (x2 - wx2) * 0.30;
        const double tx1 = wx2 + (x2 - wx2) * 0.75;
        QPen thin = pen;
        thin.setStyle(Qt::DashLine);
        p.save();
        p.setPen(thin);
        p.drawLine(QPointF(tx0, slope(tx0) + 8), QPointF(tx1, slope(tx0) + 8));
        p.drawLine(QPointF(tx1, slope(tx0) + 8), QPointF(tx1, slope(tx1) + 8));
        p.restore();
        p.drawText(QRectF(tx0, slope(tx0) + 9, tx1 - tx0, 16), Qt::AlignHCenter,
                   QStringLiteral("ｍ"));
        p.drawText(QRectF(tx1 + 3, (slope(tx0) + slope(tx1)) / 2, 20, 16), Qt::AlignLeft,
                   QStringLiteral("1"));
        p.drawText(QRectF(wx2, 4, x2 - wx2, 18), Qt::AlignHCenter, QStringLiteral("(一定勾配)"));
        return;
    }

    // Trapezoid: ground flat for Ｘ1, embankment slope over Ｘ2 up to Ｈo, crest with Ｑ.
    const TrapezoidGeometry t = TrapezoidAt(size());
    const double wx = 48;
    const double gy = t.slopeFoot.y();
    const double ho = gy - t.slopeTop.y();
    const double x1 = t.slopeFoot.x();
    const double x2 = t.slopeTop.x();
    const double xe = w - 12;
    GroundHatch(
        p, QPolygonF{QPointF(wx, gy), QPointF(xe, gy), QPointF(xe, h - 8), QPointF(wx, h - 8)});
    p.save();
    p.setPen(pen);
    p.setBrush(QBrush(QColor(0xD6, 0xC2, 0x9A)));
    p.drawPolygon(
        QPolygonF{QPointF(x1, gy), QPointF(x2, gy - ho), QPointF(xe, gy - ho), QPointF(xe, gy)});
    p.restore();
    Wall(p, wx, gy - 6, h - 8, gy + 30);
    p.drawLine(QPointF(wx, gy), QPointF(xe, gy));
    // The fill's name in the crest's part right of the Ｈo dimension.
    const double nameLeft = t.hoLabel.right() + 2;
    p.drawText(QRectF(nameLeft, gy - ho, xe - nameLeft, ho), Qt::AlignCenter,
               QStringLiteral("盛土部γ"));
    LoadBlock(
        p, x2 + 6, xe - 6, [&](double) { return gy - ho; }, QStringLiteral("Ｑ"));
    DimH(p, wx, x1, gy + 8, QStringLiteral("Ｘ1"));
    DimH(p, x1, x2, gy + 8, QStringLiteral("Ｘ2"));
    QPen thin = pen;
    thin.setStyle(Qt::DashLine);
    p.save();
    p.setPen(thin);
    p.drawLine(QPointF(x2, gy - ho), QPointF(x2, gy));
    p.restore();
    DimV(p, t.dimX, gy - ho, gy, t.hoLabel, QStringLiteral("Ｈo"));
    p.drawText(QRectF(wx, 4, w - wx, 18), Qt::AlignHCenter, QStringLiteral("(台形)"));
}

}  // namespace kuvelt::ui
