#include "sample_report.h"

#include <array>
#include <cstdio>

#include "platform/cp932.h"
#include "support/test_support.h"

namespace kuvelt::preview::test {

namespace {

std::string Num(double v, const char* fmt) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

// A small figure writer in the file format of the report (sub-figure file).
struct SubFigureText {
    std::vector<std::pair<double, double>> points;
    std::vector<std::array<int, 3>> segments;
    std::vector<std::array<int, 3>> arrows;
    struct T {
        std::string text;
        double x, y;
        int style, align;
    };
    std::vector<T> texts;

    int Point(double x, double y) {
        points.emplace_back(x, y);
        return int(points.size());
    }
    void Segment(int a, int b, int style) { segments.push_back({a, b, style}); }

    std::string Bytes(const std::string& caption2, double minX, double minY, double maxX,
                      double maxY) const {
        std::vector<std::string> l;
        l.push_back("土圧の計算");
        l.push_back(caption2);
        std::string ext = Num(maxX - minX, "%.2f") + ", " + Num(maxY - minY, "%.2f") + ", " +
                          Num(minX, "%.2f") + ", ";
        while (ext.size() < 28) ext += ' ';
        ext += Num(minY, "%.2f") + ", " + Num(maxX, "%.2f") + ", " + Num(maxY, "%.2f");
        l.push_back(ext);
        l.push_back("座標情報");
        for (std::size_t k = 0; k < points.size(); ++k)
            l.push_back(std::to_string(k + 1) + ", " + Num(points[k].first, "%.6f") + ", " +
                        Num(points[k].second, "%.6f"));
        l.push_back("END");
        if (!segments.empty()) {
            l.push_back("線分情報");
            for (std::size_t k = 0; k < segments.size(); ++k)
                l.push_back(std::to_string(k + 1) + ", " + std::to_string(segments[k][0]) + ", " +
                            std::to_string(segments[k][1]) + ", " + std::to_string(segments[k][2]));
            l.push_back("END");
        }
        if (!arrows.empty()) {
            l.push_back("矢印(1)");
            for (std::size_t k = 0; k < arrows.size(); ++k)
                l.push_back(std::to_string(k + 1) + ", " + std::to_string(arrows[k][0]) + ", " +
                            std::to_string(arrows[k][1]) + ", " + std::to_string(arrows[k][2]));
            l.push_back("END");
        }
        if (!texts.empty()) {
            l.push_back("文字情報");
            for (const T& t : texts) {
                l.push_back(t.text);
                l.push_back(Num(t.x, "%.6f") + ", " + Num(t.y, "%.6f") + ", " +
                            std::to_string(t.style) + ", " + std::to_string(t.align));
            }
            l.push_back("END");
        }
        return PrintBytes(l);
    }
};

constexpr double kTextMm = 160 * 25.4 / 1440;  // text style 2

double Width(const std::string& asciiText) { return asciiText.size() * kTextMm / 2; }

}  // namespace

std::string PrintBytes(const std::vector<std::string>& utf8Lines) {
    std::string out;
    for (const std::string& l : utf8Lines) out += cp932::FromUtf8(l) + "\r\n";
    return out;
}

void WriteStyleFiles(const std::string& folder) {
    kuvelt::test::WriteBytes(
        folder + "/LINE_PRN.DEF",
        PrintBytes({"線種,種類,太さ(0.01mm),備考", "1, 0, 13, 外形線", "2, 0, 25, 中線",
                    "3, 0, 50, 壁体", "4, 1, 13, 区分線", "END,0,0,"}));
    kuvelt::test::WriteBytes(
        folder + "/STR_PRN.DEF",
        PrintBytes({"書体,太さ,書体名,大きさ(twip),色,斜体,予備,備考",
                    "1, 400, \"IPAGothic\", 200, 0, 0, 0, 見出し",
                    "2, 400, \"IPAGothic\", 160, 0, 0, 0, 図中文字", "END,0,,0,0,0,0,"}));
}

DiagramFiles WriteLoadDiagram(const std::string& folder) {
    DiagramFiles f{folder + "/~MT0001.tmp", folder + "/~MT0002.tmp", folder + "/~MT0003.tmp"};
    // Level scale: ground surface +4.00, design ground level +0.00, m = 10 mm per m.
    SubFigureText a;
    const int p2 = (a.Point(0, 0), a.Point(0, 40));
    const int p3 = a.Point(0, 0);
    const int p4 = a.Point(0, 40);
    const int p5 = a.Point(0, 0);
    a.Segment(p2, p3, 3);
    a.Segment(p2, p4, 3);
    a.Segment(p4, p5, 3);
    a.Segment(a.Point(-45, 0), a.Point(0, 0), 1);
    a.Segment(a.Point(-45, 40), a.Point(-1, 40), 1);
    for (int g = 0; g < 3; ++g) {  // ground symbols on the design ground level
        const double b = -35 + 4 * g;
        a.Segment(a.Point(b, 0), a.Point(b - 2, -3), 1);
        a.Segment(a.Point(b + 1, 0), a.Point(b - 1, -3), 1);
    }
    a.texts.push_back({"+4.00", -10 - Width("+4.00"), 40, 2, 3});
    a.texts.push_back({"+0.00", -10 - Width("+0.00"), 0, 2, 3});
    kuvelt::test::WriteBytes(f.levelScale, a.Bytes("標高", -45, -3, 0, 40 + kTextMm));

    // Pressure diagram: two layers, 0 -> 20 kN/m2 over 4.0 m and 20 -> 53 kN/m2 over 3.5 m,
    // u = 1 mm per kN/m2.
    SubFigureText b;
    b.Segment(b.Point(0, 40), b.Point(0, -35), 3);
    struct L {
        double eu, el, pu, pl;
    } layers[] = {{4.0, 0.0, 0.0, 20.0}, {0.0, -3.5, 20.0, 53.0}};
    const double xT = 63, xR = 83;
    double prevPl = -1;
    for (const L& l : layers) {
        const int A = b.Point(0, 10 * l.eu), B = b.Point(l.pu, 10 * l.eu);
        const int C = b.Point(l.pl, 10 * l.el), D = b.Point(0, 10 * l.el);
        b.Segment(A, B, 1);
        b.Segment(B, C, 1);
        b.Segment(C, D, 1);
        b.Segment(B, D, 4);
        if (l.pu != prevPl) {
            const std::string t = Num(l.pu, "%.2f");
            b.texts.push_back({t, l.pu - Width(t) - 1, 10 * l.eu - kTextMm, 2, 3});
        }
        if (l.pu > 0.09) b.arrows.push_back({A, 7, 1});
        const std::string t = Num(l.pl, "%.2f");
        b.texts.push_back({t, l.pl + 1, 10 * l.el, 2, 3});
        b.arrows.push_back({D, 7, 1});
        b.Segment(b.Point(xT, 10 * l.eu), b.Point(xR, 10 * l.eu), 1);
        const std::string e = Num(l.eu, "%+.3f");
        b.texts.push_back({e, xR - Width(e) - 1, 10 * l.eu, 2, 3});
        prevPl = l.pl;
    }
    b.Segment(b.Point(xT, -35), b.Point(xR, -35), 1);
    b.texts.push_back({"-3.500", xR - Width("-3.500") - 1, -35, 2, 3});
    b.texts.push_back({"①", 20.0 / 3 - kTextMm / 2, 40 - 40.0 * 2 / 3 - kTextMm / 2, 2, 3});
    b.texts.push_back({"②", 12 - kTextMm / 2, -12 - kTextMm / 2, 2, 3});
    b.texts.push_back({"③", 28 - kTextMm / 2, -24 - kTextMm / 2, 2, 3});
    b.texts.push_back({"土圧 (kN/m2)", 5, 45, 2, 3});
    kuvelt::test::WriteBytes(f.pressure, b.Bytes("土圧分布図", 0, -35, 83, 45 + kTextMm));

    const double h1 = 43 + kTextMm;
    const std::string y1 = " " + Num(80 - h1 - (-3), "%g") + " ";
    std::string line2 = " 128 ";
    line2.resize(14, ' ');
    line2 += " 80 ";
    std::string place1 = " 45 ", place2 = " 45 ";
    place1.resize(14, ' ');
    place2.resize(14, ' ');
    kuvelt::test::WriteBytes(f.composite,
                             PrintBytes({"荷重分布図", line2, f.levelScale, place1 + y1, f.pressure,
                                         place2 + y1, "END"}));
    return f;
}

std::string ReportBytes(const std::string& figurePath, int pages) {
    std::vector<std::string> l;
    int section = 4;
    for (int p = 0; p < pages; ++p) {
        std::vector<std::string> page;
        if (p == 0) {
            page.push_back("  ?R14. 矢板の設計");
            page.push_back("");
            page.push_back("    ?R24.1 最大曲げモーメントの算定");
            page.push_back("");
            page.push_back("      仮想地盤面より上の荷重を１つの合力に置き換える。");
            page.push_back("");
            page.push_back("        荷重分布図");
            page.push_back("    ?FG;000;000;" + figurePath);
            for (int i = 0; i < 27; ++i) page.push_back("");
            page.push_back("      ┌────┬────────┬────────┬────────┐");
            page.push_back("      │  番号  │  荷重 P (kN)   │  作用高 y (m)  │M = P・y (kN・m)│");
            page.push_back("      ├────┼────────┼────────┼────────┤");
            page.push_back("      │   ①   │          40.00 │          1.333 │          53.33 │");
            page.push_back("      │   ②   │          35.00 │          1.750 │          61.25 │");
            page.push_back("      │   ③   │          57.75 │          1.167 │          67.38 │");
            page.push_back("      └────┴────────┴────────┴────────┘");
            page.push_back("      ΣP = 132.75 kN   ΣM = 181.96 kN・m   h0 = ΣM / ΣP = 1.371 m");
        } else {
            page.push_back("    ?R2" + std::to_string(section) + "." + std::to_string(p + 1) +
                           " 断面の照査 (その" + std::to_string(p) + ")");
            page.push_back("");
            for (int i = 0; i < 58; ++i) {
                page.push_back("      鋼矢板 SP-" + std::to_string(i % 5 + 2) +
                               "型   σ = M / Z = " + std::to_string(100 + i) +
                               ".00 N/mm2 ≦ σa = 180.00 N/mm2   OK");
            }
        }
        // The page break byte, then the next page's first line on the same physical line.
        if (p > 0) page.front() = "\x0C" + page.front();
        l.insert(l.end(), page.begin(), page.end());
    }
    return PrintBytes(l);
}

}  // namespace kuvelt::preview::test
