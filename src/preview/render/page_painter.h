// The one page painter of the preview: the screen, the printer and the PDF file all draw a report
// page through paintPage, in millimetres of an A4 portrait sheet. Text stands on a fixed grid of
// 62 lines and 100 columns (a code page 932 single-byte character one column, a double-byte
// character two); figures are drawn from the document's figure model. Painting never fails: an
// unavailable figure is drawn as a framed note, a page index out of range draws a blank sheet.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <string>

#include "preview/document/document.h"

class QPainter;
class QPagedPaintDevice;

namespace kuvelt::preview {

inline constexpr double kPaperWidthMm = 210.0;
inline constexpr double kPaperHeightMm = 297.0;
inline constexpr int kColumnsPerLine = 100;
inline constexpr double kDefaultMarginTopMm = 20.0;
inline constexpr double kDefaultMarginLeftMm = 25.0;
inline constexpr double kMarginRightMm = 15.0;
inline constexpr double kMarginBottomMm = 20.0;  // the page number stands in it

// Printer margins of the settings file; 0 (or a value that is not a sensible margin) means the
// default.
struct PageSetup {
    double marginTopMm = kDefaultMarginTopMm;
    double marginLeftMm = kDefaultMarginLeftMm;
};

// Margins as stored: section "Printer", keys "MarginTop(mm)" and "MarginLeft(mm)".
PageSetup ReadPageSetup(const std::string& iniFile);
// The sound margin for a stored text: a number from 1 to 80 mm, else the default.
double MarginFromText(const std::string& text, double fallback);

// Where the grid lies on the sheet (mm).
struct PageGeometry {
    double left = kDefaultMarginLeftMm;
    double top = kDefaultMarginTopMm;
    double columnPitch = 1.7;  // width of one single-byte column
    double linePitch = 4.1;
    double fontEm = 3.4;  // em of the body font = two columns

    double ColumnX(int column) const { return left + column * columnPitch; }
    double LineTop(int line) const { return top + line * linePitch; }
    double Baseline(int line) const;
};

PageGeometry GeometryFor(const PageSetup& setup);

// Paints page `page` (0-based) of `doc` into `pageRectMm`, given in the painter's current
// coordinates; the sheet is scaled to fill that rectangle. The painter's state is restored.
void paintPage(QPainter& painter, const Document& doc, int page, const QRectF& pageRectMm,
               const PageSetup& setup = {});

// Paints a figure by itself, outside a page (a window showing one figure): its sub-figures
// with the pens and fonts of `styles`, the frame's top-left corner at `topLeftMm` in the
// painter's current coordinates (mm, Y down). Parts that are not loaded are left out.
void paintFigure(QPainter& painter, const Figure& figure, const StyleTables& styles,
                 const QPointF& topLeftMm);

// One page as an image of `dotsPerInch` (white sheet).
QImage renderPageImage(const Document& doc, int page, double dotsPerInch,
                       const PageSetup& setup = {});

// Paints pages fromPage..toPage (0-based, inclusive, clamped) on a paged device (printer or PDF
// writer) set up for A4 portrait without margins; false when the device cannot be painted on.
bool paintDocument(QPagedPaintDevice& device, const Document& doc, const PageSetup& setup,
                   int fromPage, int toPage);

}  // namespace kuvelt::preview
