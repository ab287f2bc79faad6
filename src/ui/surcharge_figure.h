// The explanatory pictures of the design-conditions window: what Ｘ, the slope 1:ｍ, Ｘ1, Ｘ2
// and Ｈo measure behind the sheet-pile wall. Drawn with QPainter at any size.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

namespace kuvelt::ui {

// Where the trapezoid's parts lie in a picture of `size`: the embankment's slope from its foot to
// its top, the dashed line down from the top, and the Ｈo dimension with its label.
struct TrapezoidGeometry {
    QPointF slopeFoot, slopeTop;
    double dimX = 0.0;  // the Ｈo dimension line
    QRectF hoLabel;     // the rectangle its label is centred in
};
TrapezoidGeometry TrapezoidAt(QSizeF size);

class SurchargeFigure : public QWidget {
    Q_OBJECT
  public:
    enum Kind { HorizontalAndSlope, Trapezoid };
    explicit SurchargeFigure(Kind kind, QWidget* parent = nullptr);
    Kind kind() const { return kind_; }
    QSize sizeHint() const override { return {340, 190}; }
    QSize minimumSizeHint() const override { return {300, 170}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Kind kind_;
};

}  // namespace kuvelt::ui
