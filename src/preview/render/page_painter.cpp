#include "preview/render/page_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/cp932.h"

namespace kuvelt::preview {

namespace {

// Text is drawn in units of 0.01 mm so that integer pixel sizes of fonts are fine enough.
constexpr double kTextUnit = 100.0;
constexpr double kFooterBaselineFromBottomMm = 10.0;
constexpr double kHeaderBaselineFromTopMm = 10.0;
constexpr double kHeaderSideMarginMm = 20.0;
const char* const kBodyFamily = "IPAGothic";
// Width of the band laid around a heading glyph's outline, in em: every stroke of the glyph grows
// by this much (half on each side), about half the stem of the body font.
constexpr double kHeadingEmboldenEm = 0.03;

QString Q(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QFont BodyFont(double emMm, bool bold) {
    QFont f(QString::fromLatin1(kBodyFamily));
    f.setStyleHint(QFont::TypeWriter);
    f.setPixelSize(std::max(1, int(std::lround(emMm * kTextUnit))));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    f.setBold(bold);
    return f;
}

// True when the font's glyphs fill the grid by themselves: half-width characters exactly half
// an em, full-width ones exactly one em. Then a run of characters can be drawn in one call.
bool FillsGrid(const QFont& font) {
    const QFontMetricsF m(font);
    const double em = font.pixelSize();
    const double half = m.horizontalAdvance(QStringLiteral("A0.-"));
    const double full = m.horizontalAdvance(QString::fromUtf8("土圧ｱ"));
    return std::abs(half - 2.0 * em) < 0.002 * em && std::abs(full - 2.5 * em) < 0.002 * em;
}

struct Cell {
    int column;
    int width;  // 1 or 2 columns
    std::string bytes;
};

// Box-drawing characters of code page 932 (0x849F ... 0x84BE, JIS row 8): the weight of the arm
// towards the left, right, top and bottom of the cell (0 none, 1 light, 2 heavy). They are drawn
// as lines so that ruled tables join exactly from cell to cell and line to line.
struct BoxArms {
    unsigned char left, right, up, down;
};
constexpr BoxArms kBoxArms[32] = {
    {1, 1, 0, 0}, {0, 0, 1, 1}, {0, 1, 0, 1}, {1, 0, 0, 1}, {1, 0, 1, 0}, {0, 1, 1, 0},
    {0, 1, 1, 1}, {1, 1, 0, 1}, {1, 0, 1, 1}, {1, 1, 1, 0}, {1, 1, 1, 1}, {2, 2, 0, 0},
    {0, 0, 2, 2}, {0, 2, 0, 2}, {2, 0, 0, 2}, {2, 0, 2, 0}, {0, 2, 2, 0}, {0, 2, 2, 2},
    {2, 2, 0, 2}, {2, 0, 2, 2}, {2, 2, 2, 0}, {2, 2, 2, 2}, {0, 1, 2, 2}, {2, 2, 0, 1},
    {1, 0, 2, 2}, {2, 2, 1, 0}, {2, 2, 1, 1}, {0, 2, 1, 1}, {1, 1, 0, 2}, {2, 0, 1, 1},
    {1, 1, 2, 0}, {1, 1, 2, 2}};

int BoxIndex(unsigned char lead, unsigned char trail) {
    if (lead != 0x84 || trail < 0x9F || trail > 0xBE) return -1;
    return trail - 0x9F;
}

// Code page 932 bytes into runs of printable characters with their grid columns; blanks and
// control bytes end a run and keep their column; box-drawing characters go to `box`.
template <typename RunFn, typename BoxFn>
void ForEachRun(const std::string& bytes, RunFn&& fn, BoxFn&& box) {
    int column = 0;
    std::string run;
    int runStart = 0;
    auto flush = [&] {
        if (!run.empty()) fn(runStart, run);
        run.clear();
    };
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        const bool lead = cp932::IsLeadByte(b) && i + 1 < bytes.size();
        const std::size_t n = lead ? 2 : 1;
        const int boxIndex = lead ? BoxIndex(b, static_cast<unsigned char>(bytes[i + 1])) : -1;
        if (b <= 0x20 || b == 0x7F) {
            flush();
        } else if (boxIndex >= 0) {
            flush();
            box(column, kBoxArms[boxIndex]);
        } else {
            if (run.empty()) runStart = column;
            run.append(bytes, i, n);
        }
        column += static_cast<int>(n);
        i += n;
    }
    flush();
}

// A unit or an exponent in a print line: "^" and the run of digits, "+" and "-" after it
// ("kN/m^2", "×10^8", "tan^-1") is printed raised and smaller, without the "^". The print file
// keeps the text as written, and the line keeps its columns: the raised run starts in the
// column of the "^", and the text that follows it up to the next blank closes up by that column
// ("(kN/m²)", "cm⁴/m"), so that no gap stands after the mark while everything after the blank,
// a table's next column included, stays where the fields put it. A "^" without such a run is an
// ordinary character.
constexpr double kRaisedSize = 0.68;  // of the body em
constexpr double kRaisedRise = 0.36;  // the raised baseline above the line's, in em

bool Raisable(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-'; }

struct Piece {
    int column;
    std::string bytes;  // code page 932
    bool raised;
};

// A run of printable characters cut into pieces set normally and raised pieces: code page 932
// bytes of a print line, whose trail bytes may be a "^", or UTF-8 (`utf8`), whose never are.
std::vector<Piece> SplitRaised(const std::string& run, int column, bool utf8 = false) {
    std::vector<Piece> out;
    for (std::size_t i = 0; i < run.size();) {
        const unsigned char b = static_cast<unsigned char>(run[i]);
        if (b == '^') {
            std::size_t end = i + 1;
            while (end < run.size() && Raisable(run[end])) ++end;
            if (end > i + 1) {
                out.push_back({column, run.substr(i + 1, end - i - 1), true});
                column += static_cast<int>(end - i - 1);
                i = end;
                continue;
            }
        }
        const std::size_t n = !utf8 && cp932::IsLeadByte(b) && i + 1 < run.size() ? 2 : 1;
        if (out.empty() || out.back().raised) out.push_back({column, {}, false});
        out.back().bytes.append(run, i, n);
        column += static_cast<int>(n);
        i += n;
    }
    return out;
}

QPen PenFor(const LineStyle& style) {
    const double width = std::max(0.05, style.width / 100.0);
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    // Dash lengths in mm, turned into multiples of the pen width as Qt expects.
    auto pattern = [&](std::initializer_list<double> mm) {
        QList<qreal> p;
        for (double d : mm) p << d / width;
        pen.setDashPattern(p);
    };
    switch (style.type) {
        case 1:
            pattern({2.0, 1.0});
            break;
        case 2:
            pattern({0.3, 0.7});
            break;
        case 3:
            pattern({2.0, 0.7, 0.3, 0.7});
            break;
        case 4:
            pattern({2.0, 0.7, 0.3, 0.7, 0.3, 0.7});
            break;
        default:
            break;
    }
    return pen;
}

class Painter {
  public:
    Painter(QPainter& p, const Document& doc, const PageGeometry& g) : p_(p), doc_(doc), g_(g) {}

    void DrawPage(int index) {
        const preview::Page& page = doc_.pages[std::size_t(index)];
        for (std::size_t i = 0; i < page.lines.size(); ++i) {
            const Line& line = page.lines[i];
            if (line.kind == LineKind::Figure) {
                DrawFigure(line, int(i));
            } else {
                DrawTextLine(line, int(i));
            }
        }
        // Every page is numbered, so "n / N" counts what the reader holds; the cover shows the
        // title itself and goes without the running header.
        DrawFooter(index, !page.noFrame);
    }

    // A figure by itself, the frame's top-left corner at (x0, y0) mm.
    void DrawFigureAt(const Figure& fig, double x0, double y0) {
        for (const Placement& part : fig.parts) {
            if (part.figure) DrawSubFigure(*part.figure, x0 + part.x, y0 + fig.height - part.y);
        }
    }

  private:
    void DrawTextLine(const Line& line, int row) {
        if (line.bytes.empty()) return;
        if (line.large) {
            DrawLargeLine(line, row);
            return;
        }
        const bool heading = line.level == 1 || line.level == 2;
        const QFont font = BodyFont(g_.fontEm, false);
        const bool runs = !heading && FillsGridCached(font);
        p_.save();
        p_.scale(1.0 / kTextUnit, 1.0 / kTextUnit);
        p_.setFont(font);
        p_.setPen(Qt::black);
        const double y = g_.Baseline(row) * kTextUnit;
        int first = -1, last = 0;
        std::vector<std::pair<int, BoxArms>> boxes;
        auto drawRun = [&](int column, const std::string& run) {
            if (runs) {
                p_.drawText(QPointF(g_.ColumnX(column) * kTextUnit, y), Q(cp932::ToUtf8(run)));
                last = column + int(run.size());
                return;
            }
            // One character at a time on its own grid cell: exact columns with any font.
            int c = column;
            for (std::size_t i = 0; i < run.size();) {
                const std::size_t n =
                    cp932::IsLeadByte(static_cast<unsigned char>(run[i])) && i + 1 < run.size() ? 2
                                                                                                : 1;
                const QPointF at(g_.ColumnX(c) * kTextUnit, y);
                const QString ch = Q(cp932::ToUtf8(std::string_view(run).substr(i, n)));
                p_.drawText(at, ch);
                if (heading) EmboldenGlyph(at, font, ch);
                c += int(n);
                i += n;
            }
            last = c;
        };
        const QFont raisedFont = BodyFont(g_.fontEm * kRaisedSize, false);
        ForEachRun(
            line.bytes,
            [&](int column, const std::string& run) {
                if (first < 0) first = column;
                for (const Piece& piece : SplitRaised(run, column)) {
                    if (!piece.raised) {
                        drawRun(piece.column, piece.bytes);
                        continue;
                    }
                    const QPointF at(g_.ColumnX(piece.column) * kTextUnit,
                                     y - kRaisedRise * g_.fontEm * kTextUnit);
                    const QString text = Q(piece.bytes);  // ASCII only
                    p_.setFont(raisedFont);
                    p_.drawText(at, text);
                    if (heading) EmboldenGlyph(at, raisedFont, text);
                    p_.setFont(font);
                    last = piece.column + int(piece.bytes.size());
                }
            },
            [&](int column, BoxArms arms) { boxes.emplace_back(column, arms); });
        p_.restore();
        for (const auto& [column, arms] : boxes) DrawBox(row, column, arms);
        if (line.level == 1 && first >= 0) {
            // A level-1 heading is underlined over its text as well.
            QPen pen(Qt::black, 0.2);
            p_.setPen(pen);
            const double uy = g_.Baseline(row) + 0.18 * g_.fontEm;
            p_.drawLine(QPointF(g_.ColumnX(first), uy), QPointF(g_.ColumnX(last), uy));
        }
    }

    // A title: the line's text without its margin, centred on the text width at up to twice the
    // body size (smaller when it would not fit), its baseline on the row's, emboldened like a
    // heading. It grows into the row above, which the cover leaves blank.
    void DrawLargeLine(const Line& line, int row) {
        std::string_view text = line.bytes;
        while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        if (text.empty()) return;
        const double columns = double(text.size());  // a code page 932 byte is a column
        const double factor = std::min(2.0, kColumnsPerLine / std::max(1.0, columns));
        const QFont font = BodyFont(g_.fontEm * factor, false);
        const QString s = Q(cp932::ToUtf8(text));
        p_.save();
        p_.scale(1.0 / kTextUnit, 1.0 / kTextUnit);
        p_.setFont(font);
        p_.setPen(Qt::black);
        const double centre = (g_.ColumnX(0) + g_.ColumnX(kColumnsPerLine)) / 2.0 * kTextUnit;
        const QFontMetricsF m(font);
        double x = centre - m.horizontalAdvance(s) / 2.0;
        const double y = g_.Baseline(row) * kTextUnit;
        for (const QChar ch : s) {
            const QString c(ch);
            p_.drawText(QPointF(x, y), c);
            EmboldenGlyph(QPointF(x, y), font, c);
            x += m.horizontalAdvance(c);
        }
        p_.restore();
    }

    // Heading emphasis every device shows alike. The body font has no bold face, and neither a
    // bold font request (the raster engine draws large glyphs from their outlines without the
    // synthetic emboldening) nor a hairline stroke of the outline (a PDF viewer widens a stroke
    // thinner than its pixel to one pixel on straight edges only, so kanji turn heavy and the
    // curved strokes of kana and half-width katakana stay thin) gives that. A band of fixed
    // width around each outline, filled as a shape over the (still selectable) text, thickens
    // every stroke by the same amount on screen, paper and in the PDF without moving it.
    void EmboldenGlyph(const QPointF& at, const QFont& font, const QString& ch) {
        QPainterPath outline;
        outline.addText(at, font, ch);
        QPainterPathStroker band;
        band.setWidth(kHeadingEmboldenEm * font.pixelSize());
        band.setJoinStyle(Qt::RoundJoin);
        band.setCapStyle(Qt::RoundCap);
        p_.fillPath(band.createStroke(outline), Qt::black);
    }

    void DrawBox(int row, int column, BoxArms arms) {
        const double x0 = g_.ColumnX(column), x1 = g_.ColumnX(column + 2);
        const double y0 = g_.LineTop(row), y1 = g_.LineTop(row + 1);
        const QPointF c((x0 + x1) / 2.0, (y0 + y1) / 2.0);
        auto arm = [&](unsigned char weight, QPointF end) {
            if (weight == 0) return;
            p_.setPen(QPen(Qt::black, weight == 2 ? 0.45 : 0.18, Qt::SolidLine, Qt::SquareCap));
            p_.drawLine(c, end);
        };
        arm(arms.left, QPointF(x0, c.y()));
        arm(arms.right, QPointF(x1, c.y()));
        arm(arms.up, QPointF(c.x(), y0));
        arm(arms.down, QPointF(c.x(), y1));
    }

    bool FillsGridCached(const QFont& font) {
        if (gridChecked_ < 0) gridChecked_ = FillsGrid(font) ? 1 : 0;
        return gridChecked_ == 1;
    }

    // "- page / pages -" at the foot of every page; the design's title as a running header
    // when the print file names it, so a loose page still says which report it belongs to. A
    // cover has neither: it shows the title itself, and the count of pages still includes it.
    void DrawFooter(int index, bool withHeader) {
        const QString text = QStringLiteral("- %1 / %2 -").arg(index + 1).arg(doc_.PageCount());
        const QFont font = BodyFont(3.0, false);
        p_.save();
        p_.scale(1.0 / kTextUnit, 1.0 / kTextUnit);
        p_.setFont(font);
        p_.setPen(Qt::black);
        const QFontMetricsF metrics(font);
        const double w = metrics.horizontalAdvance(text);
        p_.drawText(QPointF(kPaperWidthMm / 2.0 * kTextUnit - w / 2.0,
                            (kPaperHeightMm - kFooterBaselineFromBottomMm) * kTextUnit),
                    text);
        if (withHeader && !doc_.title.empty()) {
            const QString title = metrics.elidedText(
                QString::fromUtf8(doc_.title.data(), qsizetype(doc_.title.size())), Qt::ElideRight,
                (kPaperWidthMm - 2.0 * kHeaderSideMarginMm) * kTextUnit);
            const double tw = metrics.horizontalAdvance(title);
            p_.drawText(QPointF((kPaperWidthMm - kHeaderSideMarginMm) * kTextUnit - tw,
                                kHeaderBaselineFromTopMm * kTextUnit),
                        title);
        }
        p_.restore();
    }

    void DrawFigure(const Line& line, int row) {
        const double x0 = g_.ColumnX(line.figureColumn) + line.figureOffsetX;
        const double y0 = g_.LineTop(row) + line.figureOffsetY;
        const Figure* fig = line.figure.get();
        if (fig == nullptr || !fig->available) {
            const double w = fig && fig->width > 0 ? fig->width : 128.0;
            const double h = fig && fig->height > 0 ? fig->height : 80.0;
            DrawNote(QRectF(x0, y0, w, h), fig ? fig->problem : std::string("図がありません"));
            return;
        }
        for (const Placement& part : fig->parts) {
            if (!part.figure) continue;
            // Sub-figure coordinates: mm, Y upwards, origin at the placement inside the frame,
            // whose origin is its bottom-left corner.
            const double ox = x0 + part.x;
            const double oy = y0 + fig->height - part.y;
            DrawSubFigure(*part.figure, ox, oy);
        }
        if (!fig->problem.empty()) {
            // Part of the figure could not be read: say so in a corner of the frame.
            DrawNote(QRectF(x0, y0, std::min(fig->width, 90.0), 12.0), fig->problem);
        }
    }

    void DrawSubFigure(const SubFigure& s, double ox, double oy) {
        auto at = [&](const FigPoint& pt) { return QPointF(ox + pt.x, oy - pt.y); };
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing, true);
        for (const FigSegment& seg : s.segments) {
            p_.setPen(PenFor(doc_.styles.Line(seg.style)));
            p_.drawLine(at(s.points[std::size_t(seg.from)]), at(s.points[std::size_t(seg.to)]));
        }
        for (const FigArrow& a : s.arrows)
            DrawArrow(at(s.points[std::size_t(a.at)]), s.points[std::size_t(a.at)].x, a.style);
        for (const FigText& t : s.texts) DrawFigureText(t, at({t.x, t.y}));
        p_.restore();
    }

    // The arrow of the load diagram: a short horizontal arrow whose head touches its point and
    // points at the wall line (X = 0); a point on the wall gets its arrow from the load side.
    void DrawArrow(QPointF tip, double figureX, int style) {
        const double side = figureX < -0.01 ? -1.0 : 1.0;
        const double length = 5.0, headLength = 1.6, headHalf = 0.55;
        QPen pen = PenFor(doc_.styles.Line(style));
        pen.setStyle(Qt::SolidLine);
        p_.setPen(pen);
        p_.drawLine(tip + QPointF(side * headLength * 0.8, 0), tip + QPointF(side * length, 0));
        QPolygonF head;
        head << tip << tip + QPointF(side * headLength, -headHalf)
             << tip + QPointF(side * headLength, headHalf);
        p_.setBrush(Qt::black);
        p_.setPen(Qt::NoPen);
        p_.drawPolygon(head);
        p_.setBrush(Qt::NoBrush);
    }

    void DrawFigureText(const FigText& t, QPointF anchor) {
        const TextStyle st = doc_.styles.Text(t.style);
        const double em = st.sizeTwips * 25.4 / 1440.0;
        QFont f(Q(st.family));
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(std::max(1, int(std::lround(em * kTextUnit))));
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setBold(st.weight >= 600);
        f.setItalic(st.italic != 0);
        p_.save();
        p_.translate(anchor);
        if (t.align == 1) p_.rotate(-90.0);  // running upwards from the anchor
        p_.scale(1.0 / kTextUnit, 1.0 / kTextUnit);
        p_.setFont(f);
        p_.setPen(QColor::fromRgb(QRgb(st.color & 0xFFFFFF)));
        // A figure's text takes the raised runs of the print lines too ("kN/m^2"), set one after
        // the other along its baseline.
        const QFont raised = [&] {
            QFont r = f;
            r.setPixelSize(std::max(1, int(std::lround(em * kRaisedSize * kTextUnit))));
            return r;
        }();
        double x = 0;
        for (const Piece& piece : SplitRaised(t.text, 0, true)) {
            const QString text = Q(piece.bytes);
            const QFont& font = piece.raised ? raised : f;
            p_.setFont(font);
            p_.drawText(QPointF(x, piece.raised ? -kRaisedRise * em * kTextUnit : 0.0), text);
            x += QFontMetricsF(font).horizontalAdvance(text);
        }
        p_.restore();
    }

    void DrawNote(QRectF box, const std::string& problem) {
        const double bottom = kPaperHeightMm - kMarginBottomMm;
        if (box.bottom() > bottom) box.setBottom(std::max(box.top() + 8.0, bottom));
        p_.save();
        QPen pen(Qt::black, 0.25, Qt::DashLine);
        p_.setPen(pen);
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(box);
        p_.scale(1.0 / kTextUnit, 1.0 / kTextUnit);
        QFont f = BodyFont(3.0, false);
        p_.setFont(f);
        p_.setPen(Qt::black);
        const QRectF inner((box.left() + 2.0) * kTextUnit, (box.top() + 1.5) * kTextUnit,
                           (box.width() - 4.0) * kTextUnit, (box.height() - 3.0) * kTextUnit);
        p_.drawText(inner, Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere,
                    QString::fromUtf8("図を表示できません") + QChar(u'\n') + Q(problem));
        p_.restore();
    }

    QPainter& p_;
    const Document& doc_;
    const PageGeometry& g_;
    int gridChecked_ = -1;
};

}  // namespace

double MarginFromText(const std::string& text, double fallback) {
    double v = 0.0;
    if (!ReadNumber(text, v) || !(v >= 1.0) || v > 80.0) return fallback;
    return v;
}

double PageGeometry::Baseline(int line) const {
    // The glyph body of the font (about 0.88 em above the baseline, 0.12 em below) is centred
    // in its line.
    return LineTop(line) + linePitch / 2.0 + 0.38 * fontEm;
}

PageGeometry GeometryFor(const PageSetup& setup) {
    PageGeometry g;
    g.left = setup.marginLeftMm >= 1.0 && setup.marginLeftMm <= 80.0 ? setup.marginLeftMm
                                                                     : kDefaultMarginLeftMm;
    g.top = setup.marginTopMm >= 1.0 && setup.marginTopMm <= 80.0 ? setup.marginTopMm
                                                                  : kDefaultMarginTopMm;
    g.columnPitch = (kPaperWidthMm - g.left - kMarginRightMm) / kColumnsPerLine;
    g.linePitch = (kPaperHeightMm - g.top - kMarginBottomMm) / kLinesPerPage;
    // Two columns make one em; the em never grows past what the line pitch leaves room for.
    g.fontEm = std::min(2.0 * g.columnPitch, 0.92 * g.linePitch);
    return g;
}

void paintPage(QPainter& painter, const Document& doc, int page, const QRectF& pageRectMm,
               const PageSetup& setup) {
    painter.save();
    painter.translate(pageRectMm.topLeft());
    painter.scale(pageRectMm.width() / kPaperWidthMm, pageRectMm.height() / kPaperHeightMm);
    painter.setClipRect(QRectF(0, 0, kPaperWidthMm, kPaperHeightMm), Qt::IntersectClip);
    painter.fillRect(QRectF(0, 0, kPaperWidthMm, kPaperHeightMm), Qt::white);
    if (page >= 0 && page < doc.PageCount()) {
        const PageGeometry g = GeometryFor(setup);
        Painter(painter, doc, g).DrawPage(page);
    }
    painter.restore();
}

void paintFigure(QPainter& painter, const Figure& figure, const StyleTables& styles,
                 const QPointF& topLeftMm) {
    Document doc;
    doc.styles = styles;
    const PageGeometry g;
    painter.save();
    Painter(painter, doc, g).DrawFigureAt(figure, topLeftMm.x(), topLeftMm.y());
    painter.restore();
}

QImage renderPageImage(const Document& doc, int page, double dotsPerInch, const PageSetup& setup) {
    const double scale = dotsPerInch / 25.4;
    QImage img(int(std::lround(kPaperWidthMm * scale)), int(std::lround(kPaperHeightMm * scale)),
               QImage::Format_RGB32);
    img.fill(Qt::white);
    const int dpm = int(std::lround(dotsPerInch / 0.0254));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.scale(scale, scale);
    paintPage(p, doc, page, QRectF(0, 0, kPaperWidthMm, kPaperHeightMm), setup);
    p.end();
    return img;
}

bool paintDocument(QPagedPaintDevice& device, const Document& doc, const PageSetup& setup,
                   int fromPage, int toPage) {
    fromPage = std::max(0, fromPage);
    toPage = std::min(doc.PageCount() - 1, toPage);
    QPainter p;
    if (!p.begin(&device)) return false;
    const double sx = device.width() / kPaperWidthMm;
    const double sy = device.height() / kPaperHeightMm;
    for (int i = fromPage; i <= toPage; ++i) {
        if (i > fromPage && !device.newPage()) {
            p.end();
            return false;
        }
        p.resetTransform();
        p.scale(sx, sy);
        paintPage(p, doc, i, QRectF(0, 0, kPaperWidthMm, kPaperHeightMm), setup);
    }
    return p.end();
}

}  // namespace kuvelt::preview
