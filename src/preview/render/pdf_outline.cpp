#include "preview/render/pdf_outline.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string_view>

namespace kuvelt::preview {

namespace {

bool IsWhite(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}
bool IsDelimiter(char c) {
    return IsWhite(c) || c == '/' || c == '<' || c == '>' || c == '[' || c == ']' || c == '(' ||
           c == ')';
}

struct Ref {
    long num = 0;
    long gen = 0;
};

// A tiny reader of the PDF structure the writer produces: cross-reference tables, the trailer,
// the catalog and the page tree. It never reads outside the buffer.
class PdfReader {
  public:
    explicit PdfReader(const std::string& pdf) : s_(pdf) {}

    bool ReadXref(std::string& error) {
        const std::size_t at = s_.rfind("startxref");
        if (at == std::string::npos) return Fail(error, "startxref がありません");
        std::size_t pos = at + 9;
        long off = 0;
        if (!Number(pos, off) || off <= 0 || std::size_t(off) >= s_.size())
            return Fail(error, "startxref の値が正しくありません");
        lastXref_ = off;
        for (int section = 0; off > 0 && section < 64; ++section) {
            std::size_t p = std::size_t(off);
            if (s_.compare(p, 4, "xref") != 0) return Fail(error, "xref 表ではありません");
            p += 4;
            if (!Subsections(p)) return Fail(error, "xref 表が壊れています");
            SkipWhite(p);
            if (s_.compare(p, 7, "trailer") != 0) return Fail(error, "trailer がありません");
            p += 7;
            const std::string dict = Dict(p);
            if (dict.empty()) return Fail(error, "trailer が壊れています");
            if (section == 0) trailer_ = dict;
            long prev = 0;
            off = DictNumber(dict, "/Prev", prev) && prev > 0 && std::size_t(prev) < s_.size()
                      ? prev
                      : 0;
        }
        return true;
    }

    const std::string& Trailer() const { return trailer_; }
    long LastXref() const { return lastXref_; }

    // The dictionary of object `num`, "" when it cannot be found.
    std::string ObjectDict(long num) const {
        auto it = offsets_.find(num);
        if (it == offsets_.end()) return {};
        std::size_t p = it->second;
        const std::size_t obj = s_.find("obj", p);
        if (obj == std::string::npos || obj - p > 32) return {};
        p = obj + 3;
        return Dict(p);
    }

    static bool DictRef(const std::string& dict, std::string_view key, Ref& out) {
        std::size_t p = FindKey(dict, key);
        if (p == std::string::npos) return false;
        return RefAt(dict, p, out);
    }

    static bool DictNumber(const std::string& dict, std::string_view key, long& out) {
        std::size_t p = FindKey(dict, key);
        if (p == std::string::npos) return false;
        return NumberIn(dict, p, out);
    }

    static std::size_t FindKey(const std::string& dict, std::string_view key) {
        std::size_t p = 0;
        while ((p = dict.find(key, p)) != std::string::npos) {
            const std::size_t end = p + key.size();
            if (end >= dict.size() || IsDelimiter(dict[end])) return end;
            p = end;
        }
        return std::string::npos;
    }

    static bool RefAt(const std::string& s, std::size_t& p, Ref& out) {
        if (!NumberIn(s, p, out.num) || !NumberIn(s, p, out.gen)) return false;
        while (p < s.size() && IsWhite(s[p])) ++p;
        if (p >= s.size() || s[p] != 'R') return false;
        ++p;
        return true;
    }

    static bool NumberIn(const std::string& s, std::size_t& p, long& out) {
        while (p < s.size() && IsWhite(s[p])) ++p;
        const std::size_t start = p;
        while (p < s.size() && p - start < 12 && s[p] >= '0' && s[p] <= '9') ++p;
        if (p == start) return false;
        out = std::strtol(s.substr(start, p - start).c_str(), nullptr, 10);
        return true;
    }

    // Page references in document order, walking the page tree from `pages`.
    bool CollectPages(Ref pages, std::vector<Ref>& out, int depth = 0) const {
        if (depth > 16 || out.size() > 100000) return false;
        const std::string dict = ObjectDict(pages.num);
        std::size_t k = FindKey(dict, "/Kids");
        if (k == std::string::npos) return false;
        while (k < dict.size() && IsWhite(dict[k])) ++k;
        if (k >= dict.size() || dict[k] != '[') return false;
        ++k;
        for (;;) {
            while (k < dict.size() && IsWhite(dict[k])) ++k;
            if (k >= dict.size()) return false;
            if (dict[k] == ']') break;
            Ref kid;
            if (!RefAt(dict, k, kid)) return false;
            const std::string kidDict = ObjectDict(kid.num);
            if (FindKey(kidDict, "/Kids") != std::string::npos) {
                if (!CollectPages(kid, out, depth + 1)) return false;
            } else {
                out.push_back(kid);
            }
        }
        return true;
    }

    // The contents between the outermost "<<" and its ">>" starting at or after p.
    std::string Dict(std::size_t& p) const {
        SkipWhite(p);
        if (s_.compare(p, 2, "<<") != 0) return {};
        const std::size_t start = p + 2;
        int depth = 0;
        for (std::size_t i = p; i + 1 < s_.size(); ++i) {
            if (s_[i] == '(') {  // skip literal strings, which may hold brackets
                int nest = 0;
                for (; i < s_.size(); ++i) {
                    if (s_[i] == '\\') {
                        ++i;
                    } else if (s_[i] == '(') {
                        ++nest;
                    } else if (s_[i] == ')' && --nest == 0) {
                        break;
                    }
                }
                continue;
            }
            if (s_[i] == '<' && s_[i + 1] == '<') {
                ++depth;
                ++i;
            } else if (s_[i] == '>' && s_[i + 1] == '>') {
                if (--depth == 0) {
                    p = i + 2;
                    return s_.substr(start, i - start);
                }
                ++i;
            }
        }
        return {};
    }

  private:
    static bool Fail(std::string& error, const char* what) {
        error = what;
        return false;
    }
    void SkipWhite(std::size_t& p) const {
        while (p < s_.size() && IsWhite(s_[p])) ++p;
    }
    bool Number(std::size_t& p, long& out) const { return NumberIn(s_, p, out); }

    bool Subsections(std::size_t& p) {
        for (int guard = 0; guard < 100000; ++guard) {
            SkipWhite(p);
            if (p >= s_.size() || s_[p] < '0' || s_[p] > '9') return true;  // trailer follows
            long first = 0, count = 0;
            if (!Number(p, first) || !Number(p, count) || count < 0 || count > 10000000)
                return false;
            for (long i = 0; i < count; ++i) {
                long off = 0, gen = 0;
                if (!Number(p, off) || !Number(p, gen)) return false;
                SkipWhite(p);
                if (p >= s_.size()) return false;
                const char kind = s_[p++];
                if (kind == 'n' && !offsets_.count(first + i) && off > 0 &&
                    std::size_t(off) < s_.size())
                    offsets_[first + i] = std::size_t(off);
            }
        }
        return false;
    }

    const std::string& s_;
    std::map<long, std::size_t> offsets_;
    std::string trailer_;
    long lastXref_ = 0;
};

// "<FEFF...>": a PDF text string in UTF-16BE.
std::string Utf16Hex(const std::string& utf8) {
    std::string out = "<FEFF";
    char buf[8];
    auto unit = [&](unsigned u) {
        std::snprintf(buf, sizeof buf, "%04X", u & 0xFFFFu);
        out += buf;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned cp = 0xFFFD;
        std::size_t n = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 0x6 && i + 1 < utf8.size()) {
            cp = ((c & 0x1Fu) << 6) | (utf8[i + 1] & 0x3Fu);
            n = 2;
        } else if ((c >> 4) == 0xE && i + 2 < utf8.size()) {
            cp = ((c & 0x0Fu) << 12) | ((utf8[i + 1] & 0x3Fu) << 6) | (utf8[i + 2] & 0x3Fu);
            n = 3;
        } else if ((c >> 3) == 0x1E && i + 3 < utf8.size()) {
            cp = ((c & 0x07u) << 18) | ((utf8[i + 1] & 0x3Fu) << 12) |
                 ((utf8[i + 2] & 0x3Fu) << 6) | (utf8[i + 3] & 0x3Fu);
            n = 4;
        }
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
        i += n;
    }
    return out + ">";
}

// The catalog's entries without /Outlines and /PageMode, which the update replaces.
std::string CatalogWithout(const std::string& dict) {
    std::string out = dict;
    for (std::string_view key : {std::string_view("/Outlines"), std::string_view("/PageMode")}) {
        std::size_t p = PdfReader::FindKey(out, key);
        if (p == std::string::npos) continue;
        const std::size_t start = p - key.size();
        std::size_t q = p;
        Ref r;
        std::size_t probe = q;
        if (PdfReader::RefAt(out, probe, r)) {
            q = probe;
        } else {
            while (q < out.size() && IsWhite(out[q])) ++q;
            if (q < out.size() && out[q] == '/') ++q;
            while (q < out.size() && !IsDelimiter(out[q])) ++q;
        }
        out.erase(start, q - start);
    }
    return out;
}

// `dict` without the entry `key` (its value a name, a number, a reference or a string).
std::string DictWithout(const std::string& dict, std::string_view key) {
    std::string out = dict;
    const std::size_t p = PdfReader::FindKey(out, key);
    if (p == std::string::npos) return out;
    std::size_t q = p;
    while (q < out.size() && IsWhite(out[q])) ++q;
    Ref r;
    std::size_t probe = q;
    if (q < out.size() && out[q] == '(') {
        for (int nest = 0; q < out.size(); ++q) {
            if (out[q] == '\\') {
                ++q;
            } else if (out[q] == '(') {
                ++nest;
            } else if (out[q] == ')' && --nest == 0) {
                ++q;
                break;
            }
        }
    } else if (q < out.size() && out[q] == '<') {
        const std::size_t close = out.find('>', q);
        q = close == std::string::npos ? out.size() : close + 1;
    } else if (PdfReader::RefAt(out, probe, r)) {
        q = probe;
    } else {
        if (q < out.size() && out[q] == '/') ++q;
        while (q < out.size() && !IsDelimiter(out[q])) ++q;
    }
    out.erase(p - key.size(), std::min(q, out.size()) - (p - key.size()));
    return out;
}

// The trailer entries an update carries over besides /Size, /Root, /Info and /Prev.
std::string TrailerId(const std::string& trailer) {
    const std::size_t id = PdfReader::FindKey(trailer, "/ID");
    if (id == std::string::npos) return {};
    const std::size_t close = trailer.find(']', id);
    return close == std::string::npos ? std::string() : " /ID" + trailer.substr(id, close + 1 - id);
}

}  // namespace

bool SetPdfInfo(std::string& pdf, const std::vector<std::pair<std::string, std::string>>& entries,
                std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = what;
        return false;
    };
    if (entries.empty()) return true;
    PdfReader reader(pdf);
    std::string why;
    if (!reader.ReadXref(why)) return fail(why);
    Ref root;
    long size = 0;
    if (!PdfReader::DictRef(reader.Trailer(), "/Root", root) ||
        !PdfReader::DictNumber(reader.Trailer(), "/Size", size) || size <= 0)
        return fail("trailer に /Root または /Size がありません");
    Ref info{size, 0};
    std::string dict;
    if (PdfReader::DictRef(reader.Trailer(), "/Info", info)) {
        dict = reader.ObjectDict(info.num);
        if (dict.empty()) return fail("文書情報が読めません");
    }
    const bool added = info.num == size;
    for (const auto& [key, value] : entries) {
        const std::string name = "/" + key;
        dict = DictWithout(dict, name);
        if (!dict.empty() && dict.back() != '\n') dict += '\n';
        dict += name + " " + Utf16Hex(value) + "\n";
    }
    std::string out;
    if (pdf.empty() || pdf.back() != '\n') out += '\n';
    const std::size_t objAt = pdf.size() + out.size();
    out += std::to_string(info.num) + " " + std::to_string(info.gen) + " obj\n<<" + dict +
           ">>\nendobj\n";
    const std::size_t xrefAt = pdf.size() + out.size();
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu %05ld n \n", objAt, info.gen);
    out += "xref\n0 1\n0000000000 65535 f \n" + std::to_string(info.num) + " 1\n" + entry;
    out += "trailer\n<< /Size " + std::to_string(added ? size + 1 : size) + " /Root " +
           std::to_string(root.num) + " " + std::to_string(root.gen) + " R /Info " +
           std::to_string(info.num) + " " + std::to_string(info.gen) + " R" +
           TrailerId(reader.Trailer()) + " /Prev " + std::to_string(reader.LastXref()) +
           " >>\nstartxref\n" + std::to_string(xrefAt) + "\n%%EOF\n";
    pdf += out;
    return true;
}

bool AppendPdfOutline(std::string& pdf, const std::vector<OutlineEntry>& entries,
                      std::string* error) {
    std::string why;
    auto fail = [&](const std::string& what) {
        if (error) *error = what;
        return false;
    };
    if (entries.empty()) return true;
    PdfReader reader(pdf);
    if (!reader.ReadXref(why)) return fail(why);
    Ref root;
    long size = 0;
    if (!PdfReader::DictRef(reader.Trailer(), "/Root", root) ||
        !PdfReader::DictNumber(reader.Trailer(), "/Size", size) || size <= 0)
        return fail("trailer に /Root または /Size がありません");
    const std::string catalog = reader.ObjectDict(root.num);
    Ref pagesRef;
    if (catalog.empty() || !PdfReader::DictRef(catalog, "/Pages", pagesRef))
        return fail("カタログが読めません");
    std::vector<Ref> pages;
    if (!reader.CollectPages(pagesRef, pages) || pages.empty())
        return fail("ページの木が読めません");

    // Tree: level-1 entries at the top, level-2 entries under the latest level-1 entry (at
    // the top when none came before).
    const long n = long(entries.size());
    const long outlineRoot = size;
    auto objOf = [&](long i) { return size + 1 + i; };
    std::vector<long> parent(entries.size(), -1);  // -1: the outline root
    long lastTop = -1;
    for (long i = 0; i < n; ++i) {
        if (entries[std::size_t(i)].level >= 2 && lastTop >= 0) {
            parent[std::size_t(i)] = lastTop;
        } else {
            lastTop = i;
        }
    }
    std::vector<std::vector<long>> children(entries.size());
    std::vector<long> topLevel;
    for (long i = 0; i < n; ++i) {
        if (parent[std::size_t(i)] < 0) {
            topLevel.push_back(i);
        } else {
            children[std::size_t(parent[std::size_t(i)])].push_back(i);
        }
    }

    std::string out;
    std::vector<std::pair<long, std::size_t>> written;  // object number, offset
    const std::size_t base = pdf.size();
    if (pdf.empty() || pdf.back() != '\n') out += '\n';
    auto begin = [&](long num, long gen) {
        written.emplace_back(num, base + out.size());
        out += std::to_string(num) + " " + std::to_string(gen) + " obj\n";
    };
    auto ref = [](long num) { return std::to_string(num) + " 0 R"; };

    begin(root.num, root.gen);
    out += "<<" + CatalogWithout(catalog) + " /Outlines " + ref(outlineRoot) +
           " /PageMode /UseOutlines >>\nendobj\n";
    begin(outlineRoot, 0);
    out += "<< /Type /Outlines /First " + ref(objOf(topLevel.front())) + " /Last " +
           ref(objOf(topLevel.back())) + " /Count " + std::to_string(n) + " >>\nendobj\n";
    char num[64];
    for (long i = 0; i < n; ++i) {
        const OutlineEntry& e = entries[std::size_t(i)];
        const std::vector<long>& siblings =
            parent[std::size_t(i)] < 0 ? topLevel : children[std::size_t(parent[std::size_t(i)])];
        std::size_t at = 0;
        while (siblings[at] != i) ++at;
        const std::size_t page = std::size_t(std::max(0, std::min(e.page, int(pages.size()) - 1)));
        std::snprintf(num, sizeof num, "%.2f", e.topPt);
        begin(objOf(i), 0);
        out += "<< /Title " + Utf16Hex(e.title) + " /Parent " +
               ref(parent[std::size_t(i)] < 0 ? outlineRoot : objOf(parent[std::size_t(i)]));
        if (at > 0) out += " /Prev " + ref(objOf(siblings[at - 1]));
        if (at + 1 < siblings.size()) out += " /Next " + ref(objOf(siblings[at + 1]));
        const std::vector<long>& kids = children[std::size_t(i)];
        if (!kids.empty()) {
            out += " /First " + ref(objOf(kids.front())) + " /Last " + ref(objOf(kids.back())) +
                   " /Count " + std::to_string(kids.size());
        }
        out += " /Dest [" + std::to_string(pages[page].num) + " " +
               std::to_string(pages[page].gen) + " R /XYZ null " + num + " null] >>\nendobj\n";
    }

    const std::size_t xrefAt = base + out.size();
    char entry[32];
    out += "xref\n0 1\n0000000000 65535 f \n";
    auto xrefEntry = [&](std::size_t off, long gen) {
        std::snprintf(entry, sizeof entry, "%010zu %05ld n \n", off, gen);
        out += entry;
    };
    out += std::to_string(root.num) + " 1\n";
    xrefEntry(written[0].second, root.gen);
    out += std::to_string(outlineRoot) + " " + std::to_string(n + 1) + "\n";
    for (std::size_t i = 1; i < written.size(); ++i) xrefEntry(written[i].second, 0);
    out += "trailer\n<< /Size " + std::to_string(size + 1 + n) + " /Root " +
           std::to_string(root.num) + " " + std::to_string(root.gen) + " R";
    Ref info;
    if (PdfReader::DictRef(reader.Trailer(), "/Info", info))
        out += " /Info " + std::to_string(info.num) + " " + std::to_string(info.gen) + " R";
    out += TrailerId(reader.Trailer());
    out += " /Prev " + std::to_string(reader.LastXref()) + " >>\nstartxref\n" +
           std::to_string(xrefAt) + "\n%%EOF\n";
    pdf += out;
    return true;
}

}  // namespace kuvelt::preview
