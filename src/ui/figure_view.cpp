#include "ui/figure_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "formats/figure_files.h"
#include "formats/style_files.h"
#include "preview/render/page_painter.h"
#include "report/prn.h"

namespace kuvelt::ui {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// Room around the frame, pixels.
constexpr int kMargin = 6;

}  // namespace

preview::StyleTables ProgramFigureStyles() {
    preview::StyleTables t = preview::DefaultStyles();
    const std::string folder = basResOutPrn::ReportDataFolder();
    std::vector<formats::LineStyle> lines;
    if (formats::ReadLineStyles(folder + "/LINE_PRN.DEF", formats::Mode::Tolerant, lines) &&
        !lines.empty()) {
        t.lines = std::move(lines);
        t.lineFileRead = true;
    }
    std::vector<formats::TextStyle> texts;
    if (formats::ReadTextStyles(folder + "/STR_PRN.DEF", formats::Mode::Tolerant, texts) &&
        !texts.empty()) {
        t.texts = std::move(texts);
        t.textFileRead = true;
    }
    return t;
}

FigureView::FigureView(QWidget* parent) : QWidget(parent), styles_(ProgramFigureStyles()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FigureView::setFigure(double widthMm, double heightMm, const std::vector<Part>& parts) {
    figure_ = preview::Figure{};
    note_.clear();
    std::string problems;
    for (const Part& p : parts) {
        preview::Placement place;
        place.x = p.x;
        place.y = p.y;
        formats::SubFigure sub;
        std::string why;
        if (formats::ParseSubFigure(p.bytes, formats::Mode::Tolerant, sub, &why)) {
            place.figure = std::move(sub);
        } else {
            place.problem = why;
            problems += (problems.empty() ? "" : "\n") + why;
        }
        figure_.parts.push_back(std::move(place));
    }
    const bool sized = std::isfinite(widthMm) && std::isfinite(heightMm) && widthMm > 0 &&
                       heightMm > 0 && widthMm <= formats::kMaxFrame &&
                       heightMm <= formats::kMaxFrame;
    figure_.width = sized ? widthMm : 0.0;
    figure_.height = sized ? heightMm : 0.0;
    figure_.available = sized && std::any_of(figure_.parts.begin(), figure_.parts.end(),
                                             [](const auto& p) { return p.figure.has_value(); });
    if (!sized) problems = "図の大きさがありません";
    figure_.problem = problems;
    if (!problems.empty()) note_ = Q(problems);
    ++revision_;
    update();
}

void FigureView::setSubFigure(std::string_view bytes) {
    formats::SubFigure head;
    std::string why;
    if (!formats::ParseSubFigureHeader(bytes, formats::Mode::Tolerant, head, &why)) {
        setNote(Q(why));
        return;
    }
    // The frame is the sub-figure's extents; its origin goes where its minimum corner is.
    setFigure(head.width, head.height, {Part{std::string(bytes), -head.minX, -head.minY}});
}

void FigureView::setNote(const QString& text) {
    figure_ = preview::Figure{};
    note_ = text;
    ++revision_;
    update();
}

void FigureView::clear() { setNote(QString()); }

void FigureView::setStyles(const preview::StyleTables& styles) {
    styles_ = styles;
    update();
}

QRect FigureView::FigureRoom() const {
    QRect room = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (!note_.isEmpty()) {
        const int lines = int(note_.count(QChar(u'\n'))) + 1;
        const int h = std::min(room.height() / 2, lines * fontMetrics().lineSpacing() + 4);
        room.setBottom(room.bottom() - h - 2);
    }
    return room;
}

double FigureView::PixelsPerMm() const {
    const QRect room = FigureRoom();
    if (!figure_.available || room.width() <= 0 || room.height() <= 0) return 0.0;
    return std::min(room.width() / figure_.width, room.height() / figure_.height);
}

double FigureView::TextHeightMm(int k) const { return styles_.Text(k).sizeTwips * 25.4 / 1440.0; }

QSizeF FigureView::FrameForText(int textStyle, double points, QSizeF least) const {
    const double textPx = points * logicalDpiY() / 72.0;
    const double pxPerMm = textPx / std::max(0.1, TextHeightMm(textStyle));
    const QRect room = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    return QSizeF(std::max(least.width(), room.width() / pxPerMm),
                  std::max(least.height(), room.height() / pxPerMm));
}

void FigureView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QRect room = FigureRoom();
    if (!note_.isEmpty()) {
        // The note under the figure (or in its place), as much of it as fits.
        const QRect all = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
        const QRect noteRect(all.left(), room.bottom() + 2, all.width(),
                             all.bottom() - room.bottom() - 2);
        p.setPen(palette().color(QPalette::Disabled, QPalette::WindowText).darker(150));
        p.drawText(noteRect, Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, note_);
    }
    const double scale = PixelsPerMm();  // px per mm
    if (!(scale > 0)) return;
    const double w = figure_.width * scale, h = figure_.height * scale;
    p.translate(room.left() + (room.width() - w) / 2.0, room.top() + (room.height() - h) / 2.0);
    p.scale(scale, scale);
    preview::paintFigure(p, figure_, styles_, QPointF(0, 0));
}

}  // namespace kuvelt::ui
