// A report figure in a window: the bytes of figure files as the report writer makes them
// (sub-figure files of code page 932, read by the tolerant figure reader) drawn by the
// preview's painter, so a figure looks the same on screen, on paper and in the PDF. The frame
// is scaled to the widget, keeping its proportions, on a white sheet. Any figure will do: one
// sub-figure, or several placed in a frame like a composite file places them. Without a
// figure the view shows a note saying why.
#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "preview/document/figure.h"

namespace kuvelt::ui {

class FigureView : public QWidget {
    Q_OBJECT
  public:
    // One sub-figure file's bytes and its placement in the frame (mm, from the frame's
    // bottom-left corner, Y upwards), as a composite file gives it.
    struct Part {
        std::string bytes;
        double x = 0.0;
        double y = 0.0;
    };

    explicit FigureView(QWidget* parent = nullptr);

    // A frame of widthMm × heightMm with its parts. A part the reader refuses is left out and
    // said in the note; a frame without size shows the note only.
    void setFigure(double widthMm, double heightMm, const std::vector<Part>& parts);
    // One sub-figure in a frame of its own extents.
    void setSubFigure(std::string_view bytes);
    // No figure: the text says why (it also stands under a figure set before, when not empty).
    void setNote(const QString& text);
    void clear();

    // The pens and fonts of the figures; the style files beside the program by default.
    void setStyles(const preview::StyleTables& styles);

    const preview::Figure& figure() const { return figure_; }
    bool hasFigure() const { return figure_.available; }
    QString note() const { return note_; }
    // Grows by one with every figure or note shown (a redraw can be told from none).
    int revision() const { return revision_; }

    // The frame (mm) a figure drawn here should have for its text of `textStyle` to show at
    // `points` or larger at the view's size (the view's room at that scale), at least `least`.
    QSizeF FrameForText(int textStyle, double points, QSizeF least) const;
    // Pixels per mm of the figure as shown now (0 without a figure).
    double PixelsPerMm() const;
    // The height of text style `k` in mm, from the style tables.
    double TextHeightMm(int k) const;

    // The size the view would like (a window may want a large diagram).
    void setPreferredSize(QSize size) { preferred_ = size; }
    QSize sizeHint() const override { return preferred_; }
    QSize minimumSizeHint() const override { return {200, 240}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Where the figure goes: the view less its margin and the note under the figure.
    QRect FigureRoom() const;
    preview::Figure figure_;
    preview::StyleTables styles_;
    QString note_;
    int revision_ = 0;
    QSize preferred_{360, 480};
};

// The style files "LINE_PRN.DEF" and "STR_PRN.DEF" of the report data folder (tolerant
// reading), the built-in styles where they are missing.
preview::StyleTables ProgramFigureStyles();

}  // namespace kuvelt::ui
