#include "report/chapters/zu_forces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "calc/sections.h"
#include "calc/yaita_choice.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "platform/numfmt.h"
#include "platform/vberror.h"
#include "report/chapters/print_job.h"
#include "report/prn.h"
#include "report/prnz.h"

namespace kuvelt::basZuForces {
namespace {

using namespace basResOutPrnZ;

constexpr int32_t kAlignRight = 3;  // the text runs to the right of its anchor
constexpr int32_t kThin = 1, kMedium = 2, kHeavy = 3, kDashed = 4;
// Print lines the frame takes below its figure line (4.15 mm a line).
constexpr int32_t kFigureLines = 52;

// The sub-figures, each drawn in frame coordinates.
enum PartId { kScale, kPlotM, kPlotS, kPlotY, kNotes, kPartCount };
constexpr std::array<const char*, kPartCount> kPartCaptions = {"標高", "曲げﾓｰﾒﾝﾄ", "せん断力",
                                                               "変位", "注記"};

// Clearance of a label from every line and every other label, and the room the glyphs take
// below the baseline (the box of a text is its baseline up one em).
constexpr double kPad = 0.5;
constexpr double kDescent = 0.45;
constexpr double kNoteLines = 5;
// Clearance of a label that stands off the hatching from the nearest hatching line's end.
constexpr double kSoftClear = 1.0;

// A soft line (hatching) gives way to a label: the part under the label is cut out.
struct Seg {
    double x1, y1, x2, y2;
    int32_t style;
    int part;
    bool soft = false;
    bool gone = false;
};
struct Box {
    double x0, y0, x1, y1;
};
struct Label {
    std::string text;
    double x, y;
    int part;
};

bool Overlap(const Box& a, const Box& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

// Whether the segment meets the box (Liang-Barsky clipping).
bool Hits(const Seg& s, const Box& b) {
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    double t0 = 0, t1 = 1;
    auto clip = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double r = q / p;
        if (p < 0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    return clip(-dx, s.x1 - b.x0) && clip(dx, b.x1 - s.x1) && clip(-dy, s.y1 - b.y0) &&
           clip(dy, b.y1 - s.y1);
}

// The drawing in frame coordinates: lines, and labels placed where they touch nothing.
class Scene {
  public:
    Scene(double W, double F) : W_(W), F_(F), cols_(int(W / kCell) + 1), rows_(int(F / kCell) + 1) {
        cells_.resize(std::size_t(cols_) * std::size_t(rows_));
        s_ = FontSizeMm(kTextStyle);
    }
    double W() const { return W_; }
    double F() const { return F_; }
    double em() const { return s_; }

    void Line(double x1, double y1, double x2, double y2, int32_t style, int part,
              bool soft = false) {
        if (!(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2)))
            return;
        segs_.push_back({x1, y1, x2, y2, style, part, soft});
        const Cells c =
            CellsOf({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
        for (int r = c.r0; r <= c.r1; ++r)
            for (int k = c.c0; k <= c.c1; ++k) cells_[Cell(r, k)].push_back(segs_.size() - 1);
    }

    double Width(const std::string& t) const { return TextWidth(kTextStyle, t); }
    Box TextBox(const std::string& t, double x, double y) const {
        return {x, y, x + Width(t), y + s_};
    }

    // Whether a box of text keeps its clearance from everything drawn and inside the frame. A
    // label that must stand off the hatching (`offSoft`) keeps kSoftClear from soft lines too;
    // others may stand on it, the hatching giving way.
    bool Free(const Box& b, bool offSoft = false) const {
        const Box p{b.x0 - kPad, b.y0 - kPad - kDescent, b.x1 + kPad, b.y1 + kPad};
        if (p.x0 < 0 || p.y0 < 0 || p.x1 > W_ || p.y1 > F_) return false;
        for (const Box& o : boxes_)
            if (Overlap(p, o)) return false;
        const Box q{b.x0 - kSoftClear, b.y0 - kPad - kDescent, b.x1 + kSoftClear, b.y1 + kPad};
        const Cells c = CellsOf(offSoft ? q : p);
        for (int r = c.r0; r <= c.r1; ++r)
            for (int k = c.c0; k <= c.c1; ++k)
                for (std::size_t i : cells_[Cell(r, k)]) {
                    const Seg& g = segs_[i];
                    if (g.gone) continue;
                    if (!g.soft && Hits(g, p)) return false;
                    if (g.soft && offSoft && Hits(g, q)) return false;
                }
        return true;
    }

    // A text at a fixed place when that place is free; false (and nothing drawn) otherwise.
    bool Put(const std::string& t, double x, double y, int part) {
        if (t.empty() || !Free(TextBox(t, x, y))) return false;
        Add(t, x, y, part);
        return true;
    }

    // Lines of text as one block near the anchor (ax, ay): the free place closest to it, with a
    // leader from the anchor when the block stands off; places outside [regionLeft,
    // regionRight] (the anchor's own plot) cost more. `strict`: only places inside the region
    // and off the hatching. False when no place within reach is free.
    bool PlaceNear(const std::vector<std::string>& lines, double ax, double ay, int part,
                   double regionLeft, double regionRight, bool strict = false) {
        double w = 0;
        for (const std::string& t : lines) w = std::max(w, Width(t));
        const double gap = 1.0;
        const double h = double(lines.size()) * s_ + double(lines.size() - 1) * gap;
        struct Cand {
            double cost, x, y;
        };
        constexpr double kReach = 50, kStep = 1.0;
        std::vector<Cand> all;
        all.reserve(std::size_t((2 * kReach + w) / kStep + 2) *
                    std::size_t((2 * kReach + h) / kStep + 2));
        for (double y = ay - kReach - h; y <= ay + kReach; y += kStep) {
            for (double x = ax - kReach - w; x <= ax + kReach; x += kStep) {
                if (strict && (x < regionLeft || x + w > regionRight)) continue;
                const double dx = std::max({x - ax, ax - (x + w), 0.0});
                const double dy = std::max({y - ay, ay - (y + h), 0.0});
                const double outside =
                    std::max(regionLeft - x, 0.0) + std::max(x + w - regionRight, 0.0);
                // Near, preferably at the anchor's own level and inside its own plot.
                const double cost =
                    std::sqrt(dx * dx + dy * dy) + 0.3 * std::fabs(y + h / 2 - ay) + 3.0 * outside;
                all.push_back({cost, x, y});
            }
        }
        // Tried in order of cost, band by band (most labels find room in the first).
        auto first = all.begin();
        for (double to : {4.0, 12.0, 30.0, std::numeric_limits<double>::infinity()}) {
            const auto last =
                std::partition(first, all.end(), [&](const Cand& c) { return c.cost <= to; });
            std::sort(first, last, [](const Cand& a, const Cand& b) {
                return a.cost != b.cost ? a.cost < b.cost : a.y != b.y ? a.y < b.y : a.x < b.x;
            });
            for (auto it = first; it != last; ++it) {
                const Cand& c = *it;
                const Box b{c.x, c.y, c.x + w, c.y + h};
                if (!Free(b, strict)) continue;
                // The leader ends short of the block; it must not cross another label.
                const double qx = std::clamp(ax, b.x0, b.x1), qy = std::clamp(ay, b.y0, b.y1);
                const double len = std::hypot(qx - ax, qy - ay);
                std::optional<Seg> leader;
                if (len > 2.0) {
                    const double ux = (ax - qx) / len, uy = (ay - qy) / len;
                    const double off = kPad + kDescent + 0.2;
                    leader = Seg{ax - ux * 1.3, ay - uy * 1.3, qx + ux * off,
                                 qy + uy * off, kThin,         part};
                    bool crosses = false;
                    for (const Box& o : boxes_) {
                        if (Hits(*leader, o)) crosses = true;
                    }
                    if (crosses) continue;
                }
                for (std::size_t i = 0; i < lines.size(); ++i)
                    Add(lines[i], c.x, c.y + h - s_ - double(i) * (s_ + gap), part);
                if (leader) Line(leader->x1, leader->y1, leader->x2, leader->y2, kThin, part);
                return true;
            }
            first = last;
        }
        return false;
    }

    const std::vector<Seg>& Segments() const { return segs_; }
    const std::vector<Label>& Labels() const { return labels_; }

  private:
    static constexpr double kCell = 5.0;

    void Add(const std::string& t, double x, double y, int part) {
        labels_.push_back({t, x, y, part});
        const Box b = TextBox(t, x, y);
        boxes_.push_back(b);
        // Soft (horizontal) lines under the label keep only their parts beside it.
        const Box p{b.x0 - kPad, b.y0 - kPad - kDescent, b.x1 + kPad, b.y1 + kPad};
        const Cells c = CellsOf(p);
        std::vector<std::size_t> cut;
        for (int r = c.r0; r <= c.r1; ++r)
            for (int k = c.c0; k <= c.c1; ++k)
                for (std::size_t i : cells_[Cell(r, k)])
                    if (segs_[i].soft && !segs_[i].gone && Hits(segs_[i], p)) cut.push_back(i);
        std::sort(cut.begin(), cut.end());
        cut.erase(std::unique(cut.begin(), cut.end()), cut.end());
        for (std::size_t i : cut) {
            Seg s = segs_[i];
            segs_[i].gone = true;
            const double lo = std::min(s.x1, s.x2), hi = std::max(s.x1, s.x2);
            if (p.x0 - lo > 0.3) Line(lo, s.y1, p.x0, s.y1, s.style, s.part, true);
            if (hi - p.x1 > 0.3) Line(p.x1, s.y1, hi, s.y1, s.style, s.part, true);
        }
    }

    // The cells of the segment index a box overlaps (clamped to the frame).
    struct Cells {
        int c0, c1, r0, r1;
    };
    Cells CellsOf(const Box& b) const {
        auto col = [&](double x) { return std::clamp(int(std::floor(x / kCell)), 0, cols_ - 1); };
        auto row = [&](double y) { return std::clamp(int(std::floor(y / kCell)), 0, rows_ - 1); };
        return {col(b.x0), col(b.x1), row(b.y0), row(b.y1)};
    }
    std::size_t Cell(int r, int c) const {
        return std::size_t(r) * std::size_t(cols_) + std::size_t(c);
    }

    double W_, F_;
    int cols_, rows_;
    double s_ = 0;
    std::vector<Seg> segs_;
    std::vector<std::vector<std::size_t>> cells_;
    std::vector<Label> labels_;
    std::vector<Box> boxes_;
};

// A number as printed; a value that is not a number shows as a dash.
std::string Fmt(double v, const char* picture) {
    return std::isfinite(v) ? numfmt::FormatNumber(v, picture) : std::string("－");
}

// A level as the report prints it, the datum as ±0.000.
std::string Level(double z) {
    if (std::isfinite(z) && std::fabs(z) < 0.0005) return "±0.000";
    return Fmt(z, "+0.000;-0.000");
}

// A round step near span / parts (1, 2 or 5 times a power of ten).
double NiceStep(double span, double parts) {
    const double raw = span / parts;
    if (!(raw > 0) || !std::isfinite(raw)) return 1.0;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * mag >= raw * 0.999) return f * mag;
    return 10.0 * mag;
}

// The number picture of a step's multiples ("0", "0.0", "0.00" …).
std::string StepPicture(double step) {
    const int decimals = std::clamp(int(-std::floor(std::log10(step) + 1e-9)), 0, 4);
    return decimals == 0 ? std::string("0") : "0." + std::string(std::size_t(decimals), '0');
}

// The indices of a polyline's points that keep it within `tolerance` of every point (Ramer,
// Douglas and Peucker), the ends and the points marked `keep` always among them; in order.
std::vector<std::size_t> Simplified(const std::vector<std::pair<double, double>>& pts,
                                    std::vector<bool> keep, double tolerance) {
    const std::size_t n = pts.size();
    if (n == 0) return {};
    keep.front() = keep.back() = true;
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::size_t from = 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (keep[i]) {
            spans.emplace_back(from, i);
            from = i;
        }
    }
    while (!spans.empty()) {
        const auto [a, b] = spans.back();
        spans.pop_back();
        const double ax = pts[a].first, ay = pts[a].second;
        const double dx = pts[b].first - ax, dy = pts[b].second - ay;
        const double len = std::hypot(dx, dy);
        double worst = 0;
        std::size_t at = a;
        for (std::size_t i = a + 1; i < b; ++i) {
            const double px = pts[i].first - ax, py = pts[i].second - ay;
            const double off = len > 0 ? std::fabs(px * dy - py * dx) / len : std::hypot(px, py);
            if (off > worst) worst = off, at = i;
        }
        if (worst > tolerance) {
            keep[at] = true;
            spans.emplace_back(a, at);
            spans.emplace_back(at, b);
        }
    }
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < n; ++i)
        if (keep[i]) out.push_back(i);
    return out;
}

// The UTF-8 characters of a text, for wrapping notes.
std::vector<std::string> Characters(const std::string& t) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < t.size();) {
        const unsigned char c = static_cast<unsigned char>(t[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        out.push_back(t.substr(i, n));
        i += n;
    }
    return out;
}

// One of the three plots: its column, value range and scale.
struct Plot {
    int part;
    double left, right;        // inner edges, mm
    double colLeft, colRight;  // the column
    double lo, hi;             // values at the edges
    double u;                  // mm per unit
    double X(double v) const { return left + (v - lo) * u; }
};

Plot MakePlot(int part, double left, double right, const std::vector<double>& v, double extra) {
    double lo = 0, hi = 0;
    for (double x : v) {
        if (!std::isfinite(x)) continue;
        lo = std::min(lo, x);
        hi = std::max(hi, x);
    }
    if (std::isfinite(extra)) lo = std::min(lo, extra), hi = std::max(hi, extra);
    if (!(hi - lo > 1e-9)) lo = -1, hi = 1;  // nothing to scale: a unit range about zero
    return {part, left, right, left - 2.5, right + 2.5, lo, hi, (right - left) / (hi - lo)};
}

class Diagram {
  public:
    Diagram(const ForceFigureData& v, double W, double F) : v_(v), d_(v.d), sc_(W, F) {}

    Scene Draw() {
        const double s = sc_.em();
        notesTop_ = 1.0 + kNoteLines * (s + 1.4) - 1.4;
        yAxis_ = notesTop_ + 2 * kPad + kDescent + s + 1.2 + kPad + kDescent + 0.2;
        yTip_ = yAxis_ + 2.0;
        yTitle_ = sc_.F() - 1.5 - s;
        yHead_ = yTitle_ - 4.0;
        if (!d_.z.empty() && d_.head > d_.tip) {
            m_ = (yHead_ - yTip_) / (d_.head - d_.tip);
            DrawScale();
            DrawPlots();
        }
        PlaceFixedLabels();
        if (!d_.z.empty() && d_.head > d_.tip) LabelValues();
        return std::move(sc_);
    }

  private:
    double Y(double z) const { return yTip_ + (z - d_.tip) * m_; }
    bool OnPile(double z) const { return z <= d_.head + 1e-9 && z >= d_.tip - 1e-9; }

    void DrawScale() {
        const double s = sc_.em();
        // The named levels, those that stand at one level joined.
        struct Named {
            double z;
            std::string name;
        };
        std::vector<Named> levels;
        auto name = [&](double z, const char* n) {
            if (!OnPile(z)) return;
            for (Named& l : levels) {
                if (std::fabs(l.z - z) < 0.0005) {
                    l.name += "・";
                    l.name += n;
                    return;
                }
            }
            levels.push_back({z, n});
        };
        name(d_.head, "矢板天端");
        name(v_.ELGL, "地表面");
        name(v_.ELDL, "設計地盤面");
        if (v_.computed) name(*v_.computed, "計算上の仮想地盤面");
        name(d_.ELV, VirtualGroundName().c_str());
        name(d_.tip, "矢板先端");
        std::stable_sort(levels.begin(), levels.end(),
                         [](const Named& a, const Named& b) { return a.z > b.z; });
        double widest = 0;
        for (Named& l : levels) {
            l.name += " " + Level(l.z);
            widest = std::max(widest, sc_.Width(l.name));
        }
        const double labelRight = 1.0 + widest;
        const double tick0 = labelRight + 3.5;
        xPile_ = tick0 + 2.5;
        // Metre ticks right of the pile line: a step that leaves room for their labels.
        // Whole metres, or the next round step (1, 2, 5 × 10^k) that leaves room for the labels;
        // half metres only on a very tall scale.
        double step = NiceStep(3.0 * s / m_, 1.0);
        if (step < 1.0) step = 0.5 * m_ >= 6.0 * s ? 0.5 : 1.0;
        double widestMetre = 0;
        std::vector<double> metres;
        for (double k = std::ceil(d_.tip / step - 1e-9); k * step <= d_.head + 1e-9; k += 1) {
            metres.push_back(k * step);
            widestMetre = std::max(widestMetre, sc_.Width(MetreText(k * step, step)));
            if (metres.size() > 100) break;
        }
        plotsLeft_ = xPile_ + 2.2 + widestMetre + 2.5;

        sc_.Line(xPile_, Y(d_.head), xPile_, Y(d_.tip), kHeavy, kScale);
        for (double z : metres) {
            sc_.Line(xPile_, Y(z), xPile_ + 1.5, Y(z), kThin, kScale);
        }
        // Level labels left of their ticks, pushed down (with a leader) where they would meet.
        double prevY = std::numeric_limits<double>::infinity();
        for (const Named& l : levels) {
            const double want = Y(l.z) - s / 2;
            const double y = std::min(want, prevY - s - 2 * kPad - kDescent - 0.1);
            sc_.Line(tick0, Y(l.z), xPile_, Y(l.z), kThin, kScale);
            if (std::fabs(y - want) > 0.05)
                sc_.Line(labelRight + kPad + 0.2, y + s / 2, tick0, Y(l.z), kThin, kScale);
            pending_.push_back({l.name, labelRight - sc_.Width(l.name), y, kScale});
            prevY = y;
        }
        for (double z : metres)
            metreLabels_.push_back({MetreText(z, step), xPile_ + 2.2, Y(z) - s / 2, kScale});
        const std::string title = "標高(m)";
        pending_.push_back({title, xPile_ - sc_.Width(title) / 2, yTitle_, kScale});
    }

    static std::string MetreText(double z, double step) {
        if (std::fabs(z) < step * 1e-6) return "0";
        return Fmt(z, step < 1 ? "+0.0;-0.0" : "+0;-0");
    }

    void DrawPlots() {
        // The moment plot a little wider: its maximum is annotated inside it.
        const double room = sc_.W() - plotsLeft_;
        const double widths[3] = {0.38 * room, 0.31 * room, 0.31 * room};
        struct Column {
            int part;
            const std::vector<double>* v;
            const char* title;
            double extra;
        };
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const Column cols[3] = {{kPlotM, &d_.M, "曲げﾓｰﾒﾝﾄ M (kN・m/m)", nan},
                                {kPlotS, &d_.S, "せん断力 S (kN/m)", nan},
                                {kPlotY, &d_.y, "変位 y (mm)", nan}};
        double x0 = plotsLeft_;
        for (int i = 0; i < 3; ++i) {
            const double cw = widths[i];
            const Plot p =
                MakePlot(cols[i].part, x0 + 2.5, x0 + cw - 2.5, *cols[i].v, cols[i].extra);
            plots_[i] = p;
            DrawPlot(p, *cols[i].v);
            const std::string t = cols[i].title;
            pending_.push_back({t, x0 + cw / 2 - sc_.Width(t) / 2, yTitle_, p.part});
            x0 += cw;
        }
        const std::size_t at = LmIndex();
        if (at < d_.z.size()) {
            // The maximum moment on the curve at lm (a level of the curve; the printed value
            // and depth differ from it by their rounding only): a small diamond.
            const Plot& p = plots_[0];
            const double x = p.X(d_.M[at]), y = Y(d_.z[at]);
            markX_ = x;
            markY_ = y;
            const double r = 1.0;
            sc_.Line(x - r, y, x, y + r, kMedium, kPlotM);
            sc_.Line(x, y + r, x + r, y, kMedium, kPlotM);
            sc_.Line(x + r, y, x, y - r, kMedium, kPlotM);
            sc_.Line(x, y - r, x - r, y, kMedium, kPlotM);
        }
    }

    void DrawPlot(const Plot& p, const std::vector<double>& v) {
        // A plot without any value (no displacement for a pile that does not reach the ground)
        // keeps its title only; the notes say why.
        if (std::none_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); })) return;
        const double s = sc_.em();
        const double x0 = p.X(0);
        sc_.Line(x0, Y(d_.head), x0, Y(d_.tip), kThin, p.part);
        if (OnPile(d_.ELV)) sc_.Line(p.left, Y(d_.ELV), p.right, Y(d_.ELV), kDashed, p.part);
        // Hatching every 2.5 mm between the axis and the curve.
        for (double y = Y(d_.tip) + 1.25; y < Y(d_.head); y += 2.5) {
            const double z = d_.tip + (y - yTip_) / m_;
            const double val = ValueAt(v, z);
            if (!std::isfinite(val)) continue;
            if (std::fabs(p.X(val) - x0) > 0.6)
                sc_.Line(x0, y, p.X(val), y, kThin, p.part, /*soft=*/true);
        }
        // The curve, broken where it has no value, drawn through the levels it needs to stay
        // within 0.02 mm of every level (the level of the maximum moment always among them).
        const std::size_t lm = LmIndex();
        std::size_t k = 0;
        while (k < d_.z.size()) {
            if (!std::isfinite(v[k])) {
                ++k;
                continue;
            }
            std::vector<std::pair<double, double>> run;
            std::vector<bool> keep;
            for (; k < d_.z.size() && std::isfinite(v[k]); ++k) {
                run.emplace_back(p.X(v[k]), Y(d_.z[k]));
                keep.push_back(k == lm);
            }
            const std::vector<std::size_t> at = Simplified(run, keep, 0.02);
            for (std::size_t i = 1; i < at.size(); ++i) {
                sc_.Line(run[at[i - 1]].first, run[at[i - 1]].second, run[at[i]].first,
                         run[at[i]].second, kMedium, p.part);
            }
        }
        // Value axis under the plot with round ticks.
        sc_.Line(p.left, yAxis_, p.right, yAxis_, kThin, p.part);
        const double step = NiceStep(p.hi - p.lo, 5.0);
        const std::string picture = StepPicture(step);
        for (double k = std::ceil(p.lo / step - 1e-9); k * step <= p.hi + 1e-9 * step; k += 1) {
            const double val = k * step;
            const double x = p.X(val);
            sc_.Line(x, yAxis_, x, yAxis_ - 1.2, kThin, p.part);
            const std::string t = std::fabs(val) < step * 1e-6 ? "0" : Fmt(val, picture.c_str());
            tickLabels_.push_back(
                {t, x - sc_.Width(t) / 2, yAxis_ - 1.2 - kPad - kDescent - 0.1 - s, p.part});
        }
    }

    // The curve's level of the maximum moment (ELV - lm is one of its levels), or past the end.
    std::size_t LmIndex() const {
        if (!d_.lmOnPile) return d_.z.size();
        std::size_t best = d_.z.size();
        for (std::size_t k = 0; k < d_.z.size(); ++k) {
            if (std::fabs(d_.z[k] - (d_.ELV - d_.lm)) < 1e-6 && std::isfinite(d_.M[k])) best = k;
        }
        return best;
    }

    // The value at level z, linear between the curve's levels; NaN outside or undefined.
    double ValueAt(const std::vector<double>& v, double z) const {
        for (std::size_t k = 1; k < d_.z.size(); ++k) {
            if (z <= d_.z[k - 1] && z >= d_.z[k]) {
                const double a = d_.z[k - 1] - d_.z[k];
                const double t = a > 0 ? (d_.z[k - 1] - z) / a : 0.0;
                return v[k - 1] + (v[k] - v[k - 1]) * t;
            }
        }
        return std::numeric_limits<double>::quiet_NaN();
    }

    // The level the loads stand on and lm is measured from, named apart from the computed one
    // where the clayey 0.5 m rule adopts another.
    std::string VirtualGroundName() const {
        return v_.computed ? "採用した仮想地盤面" : "仮想地盤面";
    }

    void PlaceFixedLabels() {
        for (const Label& l : pending_) sc_.Put(l.text, l.x, l.y, l.part);
        std::vector<std::string> notes;
        const std::string vg = VirtualGroundName();
        notes.push_back("使用矢板：" + v_.pile + "（断面№" + std::to_string(v_.sect) +
                        "），矢板全長 Ｌ ＝ " + Fmt(v_.L, "0.00") + " m，" + vg + " ＥＬv ＝ " +
                        Level(d_.ELV) + " m");
        notes.push_back("Ｍ，Ｓ：" + vg +
                        "より上は荷重分布図の荷重による片持ちばり，下はChangの方法"
                        "（弾性床上の半無限長の杭）");
        if (d_.hasY && !d_.y.empty()) {
            // The curve follows each load's own distribution while the check takes the
            // resultant at h0, so the two heads differ by a few per cent; the check decides.
            notes.push_back(
                "ｙ：各荷重の分布による変位（変位量照査時の剛性による参考値で，"
                "照査は δ による）  矢板頭部 ｙ ＝ " +
                Fmt(d_.y.front(), "0.0") + " mm");
        }
        notes.push_back("δ：荷重の合力による矢板頭部の変位量（変位量の照査）  δ ＝ " +
                        Fmt(v_.delta, "0.000") + " m");
        if (!d_.note.empty()) notes.push_back(d_.note);
        if (d_.below && !d_.lmOnPile) {
            notes.push_back("最大曲げﾓｰﾒﾝﾄの位置（" + vg + "下 lm ＝ " + Fmt(v_.lm, "0.000") +
                            " m）が矢板先端より深いため，Mmax の位置は示していません。");
        }
        // Wrapped to the frame's width, from the bottom line up.
        std::vector<std::string> lines;
        const double room = sc_.W() - 2.0 - 2 * kPad;
        for (const std::string& n : notes) {
            std::string line;
            for (const std::string& c : Characters(n)) {
                if (!line.empty() && sc_.Width(line + c) > room) {
                    lines.push_back(line);
                    line = "　";
                }
                line += c;
            }
            lines.push_back(line);
        }
        const double pitch = sc_.em() + 1.4;
        const std::size_t shown = std::min(lines.size(), std::size_t(kNoteLines));
        for (std::size_t i = 0; i < shown; ++i)
            sc_.Put(lines[i], 1.0, 1.0 + double(shown - 1 - i) * pitch, kNotes);
        for (const Label& l : tickLabels_) sc_.Put(l.text, l.x, l.y, l.part);
        for (const Label& l : metreLabels_) sc_.Put(l.text, l.x, l.y, l.part);
    }

    void LabelValues() {
        const Plot& pm = plots_[0];
        const Plot& ps = plots_[1];
        const Plot& py = plots_[2];
        if (LmIndex() < d_.z.size()) {
            // In the moment's own column and off its hatching where there is room, so the value
            // reads at a glance; next to the mark anywhere free where there is none.
            // Where the computed level is drawn apart, the adopted one is named by its symbol,
            // ＥＬv as the notes define it: its long name would not fit the column.
            const std::vector<std::string> mmax = {"Mmax = " + Fmt(v_.Mmax, "0.0") + " kN・m/m，",
                                                   v_.computed ? "ＥＬv下" : "仮想地盤面下",
                                                   "lm = " + Fmt(v_.lm, "0.000") + " m"};
            if (!sc_.PlaceNear(mmax, markX_, markY_, kPlotM, pm.colLeft, pm.colRight, true))
                sc_.PlaceNear(mmax, markX_, markY_, kPlotM, pm.colLeft, pm.colRight);
        }
        std::size_t atELV = d_.z.size();
        for (std::size_t k = 0; k < d_.z.size(); ++k)
            if (std::fabs(d_.z[k] - d_.ELV) < 1e-9) atELV = k;
        if (atELV < d_.z.size() && std::isfinite(d_.S[atELV]) && std::isfinite(d_.M[atELV])) {
            // The shear and moment at ELV are the resultant ΣＰ and its moment ΣＭ of the load
            // table: printed as the table prints them (the moment with the diagram's sign), so a
            // checker finds the same figures in both places.
            const double yv = Y(d_.ELV);
            sc_.PlaceNear({Fmt(v_.P, "0.00")}, ps.X(d_.S[atELV]), yv, kPlotS, ps.colLeft,
                          ps.colRight);
            const std::string m = Fmt(-v_.M, "0.00");
            if (m != "0.00" && m != "-0.00")
                sc_.PlaceNear({m}, pm.X(d_.M[atELV]), yv, kPlotM, pm.colLeft, pm.colRight);
        }
        if (d_.hasY && std::isfinite(d_.y.front()))
            sc_.PlaceNear({Fmt(d_.y.front(), "0.0")}, py.X(d_.y.front()), Y(d_.head), kPlotY,
                          py.colLeft, py.colRight);
        if (d_.below) {
            // The largest shear of the opposite sign in the ground.
            std::size_t at = d_.z.size();
            for (std::size_t k = 0; k < d_.z.size(); ++k) {
                if (d_.z[k] < d_.ELV && std::isfinite(d_.S[k]) && d_.S[k] * v_.P < 0 &&
                    (at == d_.z.size() || std::fabs(d_.S[k]) > std::fabs(d_.S[at])))
                    at = k;
            }
            if (at < d_.z.size() && atELV < d_.z.size() &&
                std::fabs(d_.S[at]) > 0.02 * std::fabs(d_.S[atELV]) && std::fabs(d_.S[at]) >= 0.005)
                sc_.PlaceNear({Fmt(d_.S[at], "0.00")}, ps.X(d_.S[at]), Y(d_.z[at]), kPlotS,
                              ps.colLeft, ps.colRight);
        }
    }

    const ForceFigureData& v_;
    const ForceDistribution& d_;
    Scene sc_;
    double m_ = 1, yTip_ = 0, yHead_ = 0, yAxis_ = 0, yTitle_ = 0, notesTop_ = 0;
    double xPile_ = 0, plotsLeft_ = 0, markX_ = 0, markY_ = 0;
    std::array<Plot, 3> plots_{};
    std::vector<Label> pending_, tickLabels_, metreLabels_;
};

// The scene's part `part` into the drawing buffer (a polyline's shared ends become one point).
void FillPart(const Scene& sc, int part) {
    ClearDrawing();
    int32_t last = 0;
    double lx = 0, ly = 0;
    for (const Seg& s : sc.Segments()) {
        if (s.part != part || s.gone) continue;
        const int32_t a = (last != 0 && s.x1 == lx && s.y1 == ly) ? last : AddPoint(s.x1, s.y1);
        const int32_t b = AddPoint(s.x2, s.y2);
        AddSegment(a, b, s.style);
        last = b;
        lx = s.x2;
        ly = s.y2;
    }
    for (const Label& l : sc.Labels())
        if (l.part == part) AddText(l.text, kTextStyle, kAlignRight, l.x, l.y);
}

bool PartUsed(const Scene& sc, int part) {
    for (const Seg& s : sc.Segments())
        if (s.part == part && !s.gone) return true;
    for (const Label& l : sc.Labels())
        if (l.part == part) return true;
    return false;
}

Scene MakeScene(const ForceFigureData& v, double W, double F) {
    ClearAll();
    LoadLineStyles(LineStyleFile());
    LoadTextStyles(TextStyleFile());
    if (!(W > 10) || !(F > 40) || !std::isfinite(W) || !std::isfinite(F))
        throw PrintFault(vberr::kDivisionByZero, "断面力図の枠の大きさが正しくありません");
    return Diagram(v, W, F).Draw();
}

}  // namespace

std::optional<ForceFigureData> FigureDataFor(const Results& results, PileKind kind, int32_t sect,
                                             double L) {
    const auto in = DistributionInputFor(results, kind, sect, L);
    if (!in) return std::nullopt;
    // The tables the input came from hold the section's rows.
    const ChangRow& chang = *results.sections.Chang(kind, sect);
    const DispRow& disp = *results.sections.Disp(kind, sect);
    ForceFigureData v;
    v.d = ComputeDistribution(*in);
    v.pile = std::string(KindCaption(kind)) + " " + SectionName(kind, sect);
    v.sect = sect;
    v.L = L;
    v.Mmax = chang.mmax;
    // The depth as printed (to 1 mm), so the mark stands where the report says.
    v.lm = chang.lm;
    numfmt::ParseNumber(numfmt::FormatNumber(v.lm, "0.000"), v.lm);
    v.delta = disp.delta;
    v.P = in->P;
    v.M = results.pressure->M();
    v.ELGL = gInpJyoken.ELGL;
    v.ELDL = gInpJyoken.ELDL;
    v.computed = results.ComputedVirtualGroundApart();
    return v;
}

ForceFigure BuildForceFigure(const ForceFigureData& v, double W, double F) {
    const Scene sc = MakeScene(v, W, F);
    ForceFigure fig{W, F, {}};
    for (int p = 0; p < kPartCount; ++p) {
        if (!PartUsed(sc, p)) continue;
        FillPart(sc, p);
        fig.parts.push_back({BuildFigureFile("断面力図", kPartCaptions[std::size_t(p)]), 0, 0});
    }
    return fig;
}

std::string DrawForceDiagram(const Results& results, double W, double F) {
    const std::optional<PileKind> kind = KindOfChoice(gInpYaita.Yaita);
    const auto v = kind ? FigureDataFor(results, *kind, gInpYaita.Sect, gInpYaita.L) : std::nullopt;
    if (!v) throw PrintFault(vberr::kSubscript, "断面力図の使用矢板がありません");
    const Scene sc = MakeScene(*v, W, F);
    for (int p = 0; p < kPartCount; ++p) {
        if (!PartUsed(sc, p)) continue;
        FillPart(sc, p);
        const std::string path = basResOutPrn::NewFigureFile();
        AddSubFigure(path, 0, 0);
        WriteFigureFile(path, "断面力図", kPartCaptions[std::size_t(p)]);
    }
    const std::string path = basResOutPrn::NewFigureFile();
    WriteCompositeFile(path, "断面力図", W, F);
    return path;
}

void PrintForceFigure(const Results& results) {
    using namespace basResOutPrn;
    const std::string path = DrawForceDiagram(results);
    OpenPrintFile();
    struct Closer {
        ~Closer() { ClosePrintFile(); }
    } closer;
    PrintOptionalBlockBegin(print_job::kForceFigure);
    PrintPageBreak();
    PrintFormatLine(3, "断面力図");
    PrintFigureCaption("断面力図");
    PrintFigureLine(path);
    PrintBlankLines(kFigureLines);
    PrintOptionalBlockEnd();
}

}  // namespace kuvelt::basZuForces
