// Placing the labels of a report figure clear of its lines and of each other, and the check that
// a written sub-figure keeps to that. A label is a text of one of the report's text styles
// (room from basResOutPrnZ::TextWidth and FontSizeMm, so the text styles must be loaded) that
// belongs to an anchor point: it is tried at the sides of the point the caller prefers, then
// at the others, then a little further away, and last at a distance with a leader line back to
// the point. Coordinates are the figure's mm, X right, Y up.
//
// The box of a text is what the preview paints: for alignment 3 (running right) from the anchor
// X to X + width and from a descent below the baseline (the anchor Y) to one em above it; for
// alignment 1 (running up) the same box turned a quarter left about the anchor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/figure_files.h"

namespace kuvelt::figure_labels {

struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x0 <= x1, y0 <= y1
};
struct Line {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The part of the em below the baseline that glyphs reach.
inline constexpr double kDescent = 0.2;
// Room kept between a placed label and any line or other label, mm.
inline constexpr double kClearance = 0.5;
// The arrow the preview draws at an arrow record's point: a horizontal stroke of this length
// whose head touches the point, on the side away from the wall line (X = 0); head half-height.
inline constexpr double kArrowLength = 5.0;
inline constexpr double kArrowHalfHeight = 0.55;

Box TextBox(double width, double em, int32_t align, double x, double y);
// The same for a text of a loaded text style.
Box TextBox(std::string_view text, int32_t style, int32_t align, double x, double y);
Box ArrowBox(double x, double y);

// Whether a segment passes through the inside of a box, and whether two boxes share inside;
// touching edges (within 0.01 mm) do not count.
bool Crosses(const Box& b, const Line& l);
bool Overlap(const Box& a, const Box& b);

// Where a label stands against its anchor point.
enum class Side {
    kRight,       // to the right, centred on the point's level
    kLeft,        // to the left, centred
    kAbove,       // above, centred on the point's X
    kBelow,       // below, centred
    kAboveRight,  // above the point's level, starting at the point
    kAboveLeft,   // above the level, ending at the point
    kBelowRight,
    kBelowLeft,
    kCentre,  // centred on the point (a label inside an area); tried only at the point itself
};

struct Wanted {
    std::string text;  // UTF-8
    int32_t style = 2;
    double x = 0;  // the anchor point the label belongs to
    double y = 0;
    std::vector<Side> sides;  // in order of preference; the others are tried after them
    bool leader = true;       // may stand away from the point with a leader line
};

// A convex area a label names (a numbered piece of a diagram), its corners in order; empty for
// a label that names a point. The label stands inside it, the free place nearest to its point;
// where the area is too thin for it, beside it, outside every other named area, with a leader
// from the point (which then lies inside the area).
using Area = std::vector<std::pair<double, double>>;

struct Placed {
    double x = 0;  // anchor of the text (alignment 3)
    double y = 0;
    Box box;
    bool clear = true;    // no line or label crossed (false: the best that could be done)
    bool leader = false;  // a leader line joins the label to its point
    Line leaderLine;
};

// Greedy placement, label by label in the order given: each placed label (and its leader) is an
// obstacle for the ones after it.
class Placer {
  public:
    void AddLine(const Line& l) { lines_.push_back(l); }
    void AddBox(const Box& b) { boxes_.push_back(b); }
    // Labels must stay inside this box (when set).
    void SetBounds(const Box& b) {
        bounds_ = b;
        hasBounds_ = true;
    }
    // Every segment, arrow and text of the drawing buffer of basResOutPrnZ as an obstacle.
    void TakeDrawing();
    Placed Place(const Wanted& w, const Area& area = {});
    // Inside the area only; nothing (and nothing taken) where the label does not fit there.
    std::optional<Placed> PlaceInside(const Wanted& w, const Area& area);
    // An area a label names: the labels of the other areas keep out of it.
    void AddArea(const Area& a) { areas_.push_back(a); }

  private:
    bool Free(const Box& b) const;
    bool InOtherArea(const Box& b, const Area& own) const;
    std::optional<Box> InsideArea(const Wanted& w, const Area& area, double width, double h) const;
    std::optional<std::pair<Box, Line>> BesideArea(const Wanted& w, const Area& area, double width,
                                                   double h) const;
    bool LeaderFree(const Line& l, bool strict = false) const;
    std::vector<Line> lines_;
    std::vector<Box> boxes_;
    Box bounds_;
    bool hasBounds_ = false;
    std::vector<Area> areas_;
};

// Whether a point lies inside a convex polygon (on its edge counts as inside).
bool InsideConvex(const Area& poly, double x, double y);

// Places the labels against everything already in the drawing buffer and adds them to it
// (texts of alignment 3; leader lines as segments of `leaderStyle`). `areas`, where given,
// holds the area of each wanted label, all of them known from the start. Returns the placements.
std::vector<Placed> PlaceInDrawing(const std::vector<Wanted>& wanted, int32_t leaderStyle = 1,
                                   const Box* bounds = nullptr,
                                   const std::vector<Area>* areas = nullptr);

// ---- Checking a written figure ---------------------------------------------------------------
struct Clash {
    int text = 0;   // index of the text in the figure
    int other = 0;  // index of the segment, arrow or other text
    enum Kind { kLine, kArrow, kLabel } kind = kLine;
    std::string what;  // for a failure message
};
// Every text box of the figure that a segment, an arrow or another text box enters.
std::vector<Clash> Overlaps(const formats::SubFigure& f);
// The sub-figures of a composite as one figure in the frame's coordinates (points, segments,
// arrows and texts moved by each placement), so that labels are checked against the lines of
// the neighbouring sub-figures too. `parts` are the sub-figures in the composite's order.
formats::SubFigure Merge(const formats::Composite& c, const std::vector<formats::SubFigure>& parts);

}  // namespace kuvelt::figure_labels
