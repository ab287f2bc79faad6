#include "preview/app/text_search.h"

#include <QHash>
#include <algorithm>

#include "platform/cp932.h"

namespace kuvelt::preview {

namespace {

// One character in its searchable form: compatibility-decomposed (full-width Ａ -> A, ｶﾞ and ガ
// -> カ + voiced mark) and case-folded. Characters repeat a lot in a report, so the forms are
// kept.
const QString& Folded(QChar c) {
    static QHash<char16_t, QString> forms;
    auto it = forms.constFind(c.unicode());
    if (it != forms.constEnd()) return *it;
    QString f = c.unicode() < 0x80
                    ? QString(c.toLower())
                    : QString(c).normalized(QString::NormalizationForm_KD).toCaseFolded();
    return *forms.insert(c.unicode(), f);
}

// A text in searchable form, with the index of the original character of each folded one.
struct FoldedText {
    QString text;
    std::vector<int> origin;
};

FoldedText Fold(const QString& s) {
    FoldedText out;
    out.text.reserve(s.size());
    out.origin.reserve(std::size_t(s.size()));
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QString& f = Folded(s[i]);
        out.text += f;
        out.origin.insert(out.origin.end(), std::size_t(f.size()), int(i));
    }
    return out;
}

// Column where each character of the line starts (one more entry: the end), from the code page
// 932 bytes the line is printed from: a lead byte and its trail byte are two columns.
std::vector<int> CharColumns(const std::string& bytes, const QString& text) {
    std::vector<int> cols;
    cols.reserve(std::size_t(text.size()) + 1);
    int col = 0;
    for (std::size_t b = 0; b < bytes.size();) {
        cols.push_back(col);
        const int w =
            cp932::IsLeadByte(static_cast<unsigned char>(bytes[b])) && b + 1 < bytes.size() ? 2 : 1;
        col += w;
        b += std::size_t(w);
    }
    cols.push_back(col);
    if (cols.size() == std::size_t(text.size()) + 1) return cols;
    // Bytes that did not decode one to one: count by the character's usual width instead.
    cols.clear();
    col = 0;
    for (QChar c : text) {
        cols.push_back(col);
        const char16_t u = c.unicode();
        col += u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F) ? 1 : 2;
    }
    cols.push_back(col);
    return cols;
}

}  // namespace

std::vector<TextMatch> FindText(const Document& doc, const QString& query) {
    std::vector<TextMatch> out;
    if (query.trimmed().isEmpty()) return out;
    const QString needle = Fold(query).text;
    for (int p = 0; p < doc.PageCount(); ++p) {
        const Page& page = doc.pages[std::size_t(p)];
        for (int l = 0; l < int(page.lines.size()); ++l) {
            const Line& line = page.lines[std::size_t(l)];
            if (line.kind != LineKind::Text || line.bytes.empty()) continue;
            const std::string utf8 = LineText(line);
            const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
            const FoldedText hay = Fold(text);
            std::vector<int> cols;
            for (qsizetype k = hay.text.indexOf(needle); k >= 0;) {
                const qsizetype end = k + needle.size();  // one past the last folded character
                const int first = hay.origin[std::size_t(k)];
                const int last = hay.origin[std::size_t(end - 1)];
                // A match must take whole characters: カ is not found inside ガ, nor in ｶﾞ
                // (whose voiced mark is a character of its own).
                const bool splitsStart = k > 0 && hay.origin[std::size_t(k - 1)] == first;
                const bool splitsEnd =
                    end < hay.text.size() && (hay.origin[std::size_t(end)] == last ||
                                              (hay.text[end].isMark() && !needle.back().isMark()));
                if (splitsStart || splitsEnd) {
                    k = hay.text.indexOf(needle, k + 1);
                    continue;
                }
                if (cols.empty()) cols = CharColumns(line.bytes, text);
                out.push_back({p, l, cols[std::size_t(first)],
                               cols[std::size_t(last) + 1] - cols[std::size_t(first)]});
                k = hay.text.indexOf(needle, end);
            }
        }
    }
    return out;
}

int FirstMatchFrom(const std::vector<TextMatch>& matches, int page) {
    if (matches.empty()) return -1;
    const auto it = std::find_if(matches.begin(), matches.end(),
                                 [page](const TextMatch& m) { return m.page >= page; });
    return it == matches.end() ? 0 : int(it - matches.begin());
}

}  // namespace kuvelt::preview
