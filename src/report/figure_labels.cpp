#include "report/figure_labels.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "report/prnz.h"

namespace kuvelt::figure_labels {
namespace {

constexpr double kTouch = 0.01;  // edges this close count as touching, not crossing

Box Inflate(const Box& b, double d) { return {b.x0 - d, b.y0 - d, b.x1 + d, b.y1 + d}; }

bool Inside(const Box& outer, const Box& b) {
    return b.x0 >= outer.x0 - kTouch && b.x1 <= outer.x1 + kTouch && b.y0 >= outer.y0 - kTouch &&
           b.y1 <= outer.y1 + kTouch;
}

// The box of a label of width w and em s standing at `side` of (x, y), `d` away from it.
Box BoxAt(Side side, double x, double y, double w, double s, double d) {
    const double dn = kDescent * s;  // the box reaches this far below the baseline
    const double h = s + dn;
    switch (side) {
        case Side::kRight:
            return {x + d, y - h / 2, x + d + w, y + h / 2};
        case Side::kLeft:
            return {x - d - w, y - h / 2, x - d, y + h / 2};
        case Side::kAbove:
            return {x - w / 2, y + d, x + w / 2, y + d + h};
        case Side::kBelow:
            return {x - w / 2, y - d - h, x + w / 2, y - d};
        case Side::kAboveRight:
            return {x + d, y + d, x + d + w, y + d + h};
        case Side::kAboveLeft:
            return {x - d - w, y + d, x - d, y + d + h};
        case Side::kBelowRight:
            return {x + d, y - d - h, x + d + w, y - d};
        case Side::kBelowLeft:
            return {x - d - w, y - d - h, x - d, y - d};
        case Side::kCentre:
            return {x - w / 2, y - h / 2, x + w / 2, y + h / 2};
    }
    return {};
}

constexpr std::array<Side, 8> kAllSides = {Side::kAboveRight, Side::kRight,    Side::kBelowRight,
                                           Side::kAbove,      Side::kBelow,    Side::kAboveLeft,
                                           Side::kLeft,       Side::kBelowLeft};

// The point of the box nearest to (x, y), pulled 0.2 mm out of the box so the leader ends at it
// without entering it.
std::pair<double, double> NearestOutside(const Box& b, double x, double y) {
    const Box o = Inflate(b, 0.2);
    return {std::clamp(x, o.x0, o.x1), std::clamp(y, o.y0, o.y1)};
}

}  // namespace

Box TextBox(double width, double em, int32_t align, double x, double y) {
    const double dn = kDescent * em;
    if (align == 1) return {x - em, y, x + dn, y + width};
    return {x, y - dn, x + width, y + em};
}

Box TextBox(std::string_view text, int32_t style, int32_t align, double x, double y) {
    return TextBox(basResOutPrnZ::TextWidth(style, text), basResOutPrnZ::FontSizeMm(style), align,
                   x, y);
}

Box ArrowBox(double x, double y) {
    const double side = x < -0.01 ? -1.0 : 1.0;
    return {std::min(x, x + side * kArrowLength), y - kArrowHalfHeight,
            std::max(x, x + side * kArrowLength), y + kArrowHalfHeight};
}

bool Overlap(const Box& a, const Box& b) {
    return a.x0 < b.x1 - kTouch && b.x0 < a.x1 - kTouch && a.y0 < b.y1 - kTouch &&
           b.y0 < a.y1 - kTouch;
}

bool Crosses(const Box& box, const Line& l) {
    // Liang-Barsky clipping against the box shrunk by the touching tolerance.
    const Box b{box.x0 + kTouch, box.y0 + kTouch, box.x1 - kTouch, box.y1 - kTouch};
    if (b.x0 >= b.x1 || b.y0 >= b.y1) return false;
    const double dx = l.x1 - l.x0, dy = l.y1 - l.y0;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {l.x0 - b.x0, b.x1 - l.x0, l.y0 - b.y0, b.y1 - l.y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] <= 0) return false;  // parallel to this edge and outside (or on) it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    return true;
}

void Placer::TakeDrawing() {
    using namespace basResOutPrnZ;
    auto point = [](int32_t k) -> const ZPoint* {
        return k >= 1 && k <= PointCount ? &Points[static_cast<std::size_t>(k)] : nullptr;
    };
    for (int32_t i = 1; i <= SegmentCount; ++i) {
        const ZSegment& s = Segments[static_cast<std::size_t>(i)];
        const ZPoint* a = point(s.StartPoint);
        const ZPoint* b = point(s.EndPoint);
        if (a && b) AddLine({a->X, a->Y, b->X, b->Y});
    }
    for (int32_t i = 1; i <= ArrowCount; ++i) {
        if (const ZPoint* a = point(Arrows[static_cast<std::size_t>(i)].Point)) {
            AddBox(ArrowBox(a->X, a->Y));
        }
    }
    for (int32_t i = 1; i <= TextCount; ++i) {
        const ZText& t = Texts[static_cast<std::size_t>(i)];
        AddBox(TextBox(t.Text, t.Style, t.Align, t.X, t.Y));
    }
}

bool Placer::Free(const Box& b) const {
    if (hasBounds_ && !Inside(bounds_, b)) return false;
    const Box room = Inflate(b, kClearance);
    for (const Line& l : lines_) {
        if (Crosses(room, l)) return false;
    }
    for (const Box& o : boxes_) {
        if (Overlap(room, o)) return false;
    }
    return true;
}

bool InsideConvex(const Area& poly, double x, double y) {
    int sign = 0;
    const std::size_t n = poly.size();
    for (std::size_t j = 0; j < n; ++j) {
        const auto& [ax, ay] = poly[j];
        const auto& [bx, by] = poly[(j + 1) % n];
        if (std::hypot(bx - ax, by - ay) < 1e-9) continue;  // a repeated corner
        const double c = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
        if (std::fabs(c) < 1e-9) continue;
        const int s = c > 0 ? 1 : -1;
        if (sign != 0 && s != sign) return false;
        sign = s;
    }
    return n >= 3;
}

bool Placer::InOtherArea(const Box& b, const Area& own) const {
    const double cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2;
    for (const auto& a : areas_) {
        if (a != own && InsideConvex(a, cx, cy)) return true;
    }
    return false;
}

std::optional<Box> Placer::InsideArea(const Wanted& w, const Area& area, double width,
                                      double h) const {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const auto& [x, y] : area) {
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    // A quarter-millimetre grid (at most about 200 × 200 places) over the area's extent.
    const double step = std::max({0.25, (x1 - x0) / 200, (y1 - y0) / 200});
    std::optional<Box> best;
    double bestDist = 0;
    for (double by = y0; by + h <= y1; by += step) {
        for (double bx = x0; bx + width <= x1; bx += step) {
            const Box b{bx, by, bx + width, by + h};
            const double dist = std::hypot(bx + width / 2 - w.x, by + h / 2 - w.y);
            if (best && dist >= bestDist) continue;
            const Box r = Inflate(b, kClearance);
            if (!InsideConvex(area, r.x0, r.y0) || !InsideConvex(area, r.x1, r.y0) ||
                !InsideConvex(area, r.x0, r.y1) || !InsideConvex(area, r.x1, r.y1) || !Free(b))
                continue;
            best = b;
            bestDist = dist;
        }
    }
    return best;
}

std::optional<std::pair<Box, Line>> Placer::BesideArea(const Wanted& w, const Area& area,
                                                       double width, double h) const {
    double cx = 0, cy = 0;
    for (const auto& [x, y] : area) cx += x / double(area.size()), cy += y / double(area.size());
    // How far a ray from (px, py) along (dx, dy) runs inside the area.
    auto exit = [&](double px, double py, double dx, double dy) {
        double t = 1e300;
        for (std::size_t j = 0; j < area.size(); ++j) {
            const auto& [ax, ay] = area[j];
            const auto& [qx, qy] = area[(j + 1) % area.size()];
            const double ex = qx - ax, ey = qy - ay, den = dx * ey - dy * ex;
            if (std::fabs(den) < 1e-12) continue;
            const double s = ((ax - px) * ey - (ay - py) * ex) / den;
            const double u = ((ax - px) * dy - (ay - py) * dx) / den;
            if (s > 1e-6 && u >= -1e-9 && u <= 1 + 1e-9) t = std::min(t, s);
        }
        return t;
    };
    // The point of the area's outline nearest to (x, y), taken in square to that side halfway
    // across the area there, so that the leader plainly ends inside it.
    auto start = [&](double x, double y) {
        double bx = cx, by = cy, nx = 0, ny = 0, best = 1e300;
        for (std::size_t j = 0; j < area.size(); ++j) {
            const auto& [ax, ay] = area[j];
            const auto& [qx, qy] = area[(j + 1) % area.size()];
            const double dx = qx - ax, dy = qy - ay, len = dx * dx + dy * dy;
            if (len < 1e-12) continue;
            const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / len, 0.0, 1.0);
            const double px = ax + t * dx, py = ay + t * dy, d = std::hypot(x - px, y - py);
            if (d >= best) continue;
            best = d, bx = px, by = py;
            // The side's normal towards the area's middle.
            const double r = std::sqrt(len);
            nx = -dy / r, ny = dx / r;
            if (nx * (cx - px) + ny * (cy - py) < 0) nx = -nx, ny = -ny;
        }
        const double across = exit(bx, by, nx, ny);
        if (!(across < 1e299)) return std::pair{cx, cy};
        return std::pair{bx + across / 2 * nx, by + across / 2 * ny};
    };
    // A leader that passes through another named area would point into it.
    auto throughOther = [&](const Line& l) {
        for (const Area& a : areas_) {
            if (a == area) continue;
            for (int k = 1; k < 10; ++k) {
                const double t = k / 10.0;
                if (InsideConvex(a, l.x0 + t * (l.x1 - l.x0), l.y0 + t * (l.y1 - l.y0)))
                    return true;
            }
        }
        return false;
    };
    const Box room = hasBounds_ ? bounds_ : Box{w.x - 40 - width, w.y - 40, w.x + 40, w.y + 40};
    const double step = std::max(0.5, std::max(room.x1 - room.x0, room.y1 - room.y0) / 200);
    std::optional<std::pair<Box, Line>> best;
    double bestLength = 0;
    for (double y0 = room.y0; y0 + h <= room.y1; y0 += step) {
        for (double x0 = room.x0; x0 + width <= room.x1; x0 += step) {
            const Box b{x0, y0, x0 + width, y0 + h};
            const auto [sx, sy] = start(x0 + width / 2, y0 + h / 2);
            const auto [ex, ey] = NearestOutside(b, sx, sy);
            const double length = std::hypot(ex - sx, ey - sy);
            if (best && length >= bestLength) continue;
            const Line leader{sx, sy, ex, ey};
            if (InsideConvex(area, x0 + width / 2, y0 + h / 2) || !Free(b) ||
                InOtherArea(b, area) || !LeaderFree(leader, true) || throughOther(leader))
                continue;
            best = {b, leader};
            bestLength = length;
        }
    }
    return best;
}

bool Placer::LeaderFree(const Line& l, bool strict) const {
    // A box the point itself stands in (the arrow at a load's point) does not stop its leader,
    // unless the leader may start anywhere in an area (`strict`).
    const Box start{l.x0, l.y0, l.x0, l.y0};
    for (const Box& o : boxes_) {
        if (Crosses(o, l) && (strict || !Overlap(Inflate(start, 2 * kTouch), o))) return false;
    }
    return true;
}

std::optional<Placed> Placer::PlaceInside(const Wanted& w, const Area& area) {
    const double em = basResOutPrnZ::FontSizeMm(w.style);
    const std::optional<Box> b =
        InsideArea(w, area, basResOutPrnZ::TextWidth(w.style, w.text), em * (1 + kDescent));
    if (!b) return std::nullopt;
    boxes_.push_back(*b);
    Placed p;
    p.box = *b;
    p.x = b->x0;
    p.y = b->y0 + kDescent * em;
    return p;
}

Placed Placer::Place(const Wanted& w, const Area& area) {
    const double width = basResOutPrnZ::TextWidth(w.style, w.text);
    const double em = basResOutPrnZ::FontSizeMm(w.style);
    std::vector<Side> order = w.sides;
    for (Side s : kAllSides) {
        if (std::find(order.begin(), order.end(), s) == order.end()) order.push_back(s);
    }
    const std::size_t preferred = std::max<std::size_t>(w.sides.size(), 1);
    auto result = [&](const Box& b, bool clear) {
        Placed p;
        p.box = b;
        p.x = b.x0;
        p.y = b.y0 + kDescent * em;
        p.clear = clear;
        boxes_.push_back(b);
        return p;
    };
    // A named area's label inside it where it fits, else beside it with the shortest leader.
    if (!area.empty()) {
        const double h = em * (1 + kDescent);
        if (const std::optional<Box> b = InsideArea(w, area, width, h)) return result(*b, true);
        if (w.leader) {
            if (const auto beside = BesideArea(w, area, width, h)) {
                Placed p = result(beside->first, true);
                p.leader = true;
                p.leaderLine = beside->second;
                lines_.push_back(beside->second);
                return p;
            }
        }
    }
    // Next to the point: the preferred sides first, each a little further out before giving up
    // on it, then every side.
    const double nearSteps[] = {0.6, 1.2, 2.0};
    for (std::size_t k = 0; k < order.size() && area.empty(); ++k) {
        for (double d : nearSteps) {
            if ((k >= preferred || order[k] == Side::kCentre) && d > nearSteps[0]) break;
            const Box b = BoxAt(order[k], w.x, w.y, width, em, d);
            if (Free(b)) return result(b, true);
        }
    }
    for (std::size_t k = preferred; k < order.size() && area.empty(); ++k) {
        if (order[k] == Side::kCentre) continue;
        for (double d : {1.2, 2.0}) {
            const Box b = BoxAt(order[k], w.x, w.y, width, em, d);
            if (Free(b)) return result(b, true);
        }
    }
    if (w.leader) {
        // Away from the point with a leader line: rings of growing distance, the preferred sides
        // first on every ring.
        for (double d = 3.0; d <= 24.0; d += 1.5) {
            for (Side s : order) {
                const Box b = BoxAt(s, w.x, w.y, width, em, d);
                if (!Free(b) || (!area.empty() && InOtherArea(b, area))) continue;
                const auto [ex, ey] = NearestOutside(b, w.x, w.y);
                const Line leader{w.x, w.y, ex, ey};
                if (!LeaderFree(leader)) continue;
                Placed p = result(b, true);
                p.leader = true;
                p.leaderLine = leader;
                lines_.push_back(leader);
                return p;
            }
        }
    }
    if (w.leader) {
        // Last, the free place nearest to the point anywhere around it (inside the bounds).
        const Box room = hasBounds_ ? bounds_ : Box{w.x - 40 - width, w.y - 40, w.x + 40, w.y + 40};
        const double h = em * (1 + kDescent);
        bool found = false;
        double best = 0;
        Box bestBox;
        Line bestLeader;
        // At most about 100 × 100 places, however large the area.
        const double dy = std::max(0.5, (room.y1 - room.y0) / 100);
        const double dx = std::max(1.0, (room.x1 - room.x0) / 100);
        for (double y0 = room.y0; y0 + h <= room.y1; y0 += dy) {
            for (double x0 = room.x0; x0 + width <= room.x1; x0 += dx) {
                const Box b{x0, y0, x0 + width, y0 + h};
                const auto [ex, ey] = NearestOutside(b, w.x, w.y);
                const double dist = std::hypot(ex - w.x, ey - w.y);
                if (found && dist >= best) continue;
                if (!Free(b) || (!area.empty() && InOtherArea(b, area))) continue;
                const Line leader{w.x, w.y, ex, ey};
                if (!LeaderFree(leader)) continue;
                found = true;
                best = dist;
                bestBox = b;
                bestLeader = leader;
            }
        }
        if (found) {
            Placed p = result(bestBox, true);
            p.leader = true;
            p.leaderLine = bestLeader;
            lines_.push_back(bestLeader);
            return p;
        }
    }
    return result(BoxAt(order.front(), w.x, w.y, width, em, nearSteps[0]), false);
}

std::vector<Placed> PlaceInDrawing(const std::vector<Wanted>& wanted, int32_t leaderStyle,
                                   const Box* bounds, const std::vector<Area>* areas) {
    using namespace basResOutPrnZ;
    Placer placer;
    placer.TakeDrawing();
    if (bounds) placer.SetBounds(*bounds);
    if (areas) {
        for (const Area& a : *areas) {
            if (!a.empty()) placer.AddArea(a);
        }
    }
    auto areaOf = [&](std::size_t i) { return areas && i < areas->size() ? (*areas)[i] : Area{}; };
    std::vector<Placed> out(wanted.size());
    std::vector<bool> done(wanted.size(), false);
    auto add = [&](std::size_t i, const Placed& p) {
        if (p.leader) {
            const int32_t a = AddPoint(p.leaderLine.x0, p.leaderLine.y0);
            const int32_t b = AddPoint(p.leaderLine.x1, p.leaderLine.y1);
            AddSegment(a, b, leaderStyle);
        }
        AddText(wanted[i].text, wanted[i].style, 3, p.x, p.y);
        out[i] = p;
        done[i] = true;
    };
    // The labels that fit inside their areas first, then the labels of points, then the rest
    // beside their areas: a thin area's label takes what room the points leave.
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (areaOf(i).empty()) continue;
        if (const std::optional<Placed> p = placer.PlaceInside(wanted[i], areaOf(i))) add(i, *p);
    }
    for (const bool named : {false, true}) {
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            if (!done[i] && areaOf(i).empty() != named) add(i, placer.Place(wanted[i], areaOf(i)));
        }
    }
    return out;
}

std::vector<Clash> Overlaps(const formats::SubFigure& f) {
    std::vector<Clash> out;
    std::vector<Box> boxes;
    for (const formats::Text& t : f.texts)
        boxes.push_back(TextBox(t.text, t.style, t.align, t.x, t.y));
    auto at = [&](int32_t index) -> const formats::Point* {
        return index >= 0 && static_cast<std::size_t>(index) < f.points.size()
                   ? &f.points[static_cast<std::size_t>(index)]
                   : nullptr;
    };
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const int ti = static_cast<int>(i);
        const std::string& text = f.texts[i].text;
        for (std::size_t j = 0; j < f.segments.size(); ++j) {
            const formats::Segment& s = f.segments[j];
            const formats::Point* a = at(s.from);
            const formats::Point* b = at(s.to);
            if (!a || !b) continue;
            if (Crosses(boxes[i], {a->x, a->y, b->x, b->y})) {
                out.push_back({ti, static_cast<int>(j), Clash::kLine,
                               "\"" + text + "\" crosses segment " + std::to_string(s.number)});
            }
        }
        for (std::size_t j = 0; j < f.arrows.size(); ++j) {
            const formats::Point* a = at(f.arrows[j].at);
            if (a && Overlap(boxes[i], ArrowBox(a->x, a->y))) {
                out.push_back(
                    {ti, static_cast<int>(j), Clash::kArrow,
                     "\"" + text + "\" meets arrow " + std::to_string(f.arrows[j].number)});
            }
        }
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            if (Overlap(boxes[i], boxes[j])) {
                out.push_back({ti, static_cast<int>(j), Clash::kLabel,
                               "\"" + text + "\" overlaps \"" + f.texts[j].text + "\""});
            }
        }
    }
    return out;
}

formats::SubFigure Merge(const formats::Composite& c,
                         const std::vector<formats::SubFigure>& parts) {
    formats::SubFigure m;
    const std::size_t n = std::min(parts.size(), c.subFigures.size());
    for (std::size_t k = 0; k < n; ++k) {
        const formats::SubFigure& f = parts[k];
        const double ox = c.subFigures[k].x, oy = c.subFigures[k].y;
        const int32_t base = static_cast<int32_t>(m.points.size());
        for (const formats::Point& p : f.points) m.points.push_back({p.x + ox, p.y + oy, p.number});
        auto add = [&](double x0, double y0, double x1, double y1, int32_t style) {
            const int32_t a = static_cast<int32_t>(m.points.size());
            m.points.push_back({x0, y0, a + 1});
            m.points.push_back({x1, y1, a + 2});
            m.segments.push_back(
                {static_cast<int32_t>(m.segments.size()) + 1, a + 1, a + 2, style, a, a + 1});
        };
        for (const formats::Segment& s : f.segments) {
            if (s.from < 0 || s.to < 0) continue;
            formats::Segment t = s;
            t.number = static_cast<int32_t>(m.segments.size()) + 1;
            t.from = s.from + base;
            t.to = s.to + base;
            m.segments.push_back(t);
        }
        // An arrow's side depends on its own sub-figure's wall line: moved, it is its strokes.
        for (const formats::Arrow& a : f.arrows) {
            if (a.at < 0 || static_cast<std::size_t>(a.at) >= f.points.size()) continue;
            const formats::Point& p = f.points[static_cast<std::size_t>(a.at)];
            const Box b = ArrowBox(p.x, p.y);
            add(b.x0 + ox, p.y + oy, b.x1 + ox, p.y + oy, a.style);
            add(b.x0 + ox, b.y0 + oy, b.x1 + ox, b.y0 + oy, a.style);
            add(b.x0 + ox, b.y1 + oy, b.x1 + ox, b.y1 + oy, a.style);
        }
        for (const formats::Text& t : f.texts) {
            formats::Text u = t;
            u.x += ox;
            u.y += oy;
            m.texts.push_back(u);
        }
    }
    return m;
}

}  // namespace kuvelt::figure_labels
