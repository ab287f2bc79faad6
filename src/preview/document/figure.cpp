#include "preview/document/figure.h"

namespace kuvelt::preview {

LineStyle StyleTables::Line(int k) const {
    if (k >= 1 && static_cast<std::size_t>(k) <= lines.size()) return lines[k - 1];
    const StyleTables d = DefaultStyles();
    if (k >= 1 && static_cast<std::size_t>(k) <= d.lines.size()) return d.lines[k - 1];
    return LineStyle{};
}

TextStyle StyleTables::Text(int k) const {
    if (k >= 1 && static_cast<std::size_t>(k) <= texts.size()) return texts[k - 1];
    if (!texts.empty()) return texts.back();
    const StyleTables d = DefaultStyles();
    if (k >= 1 && static_cast<std::size_t>(k) <= d.texts.size()) return d.texts[k - 1];
    return d.texts.back();
}

StyleTables DefaultStyles() {
    StyleTables t;
    t.lines = {{0, 13}, {0, 25}, {0, 50}, {1, 13}};
    t.texts = {{400, "IPAGothic", 200, 0, 0, 0}, {400, "IPAGothic", 180, 0, 0, 0}};
    return t;
}

Figure FigureOf(const formats::Composite& composite) {
    Figure fig;
    fig.caption = composite.caption;
    fig.width = composite.frameWidth;
    fig.height = composite.frameHeight;
    for (const formats::Placement& p : composite.subFigures) {
        Placement part;
        part.path = p.path;
        part.x = p.x;
        part.y = p.y;
        fig.parts.push_back(std::move(part));
    }
    return fig;
}

}  // namespace kuvelt::preview
