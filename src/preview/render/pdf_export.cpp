#include "preview/render/pdf_export.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/files.h"
#include "preview/render/pdf_outline.h"

namespace kuvelt::preview {

namespace {

// What every file the preview writes is: the subject of its document information.
constexpr const char* kSubject = "設計計算書";

QString Q(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::vector<OutlineEntry> OutlineOf(const Document& doc, const PageSetup& setup) {
    const PageGeometry g = GeometryFor(setup);
    std::vector<OutlineEntry> out;
    for (const Bookmark& b : doc.bookmarks) {
        // The view starts a little above the heading's line.
        const double topMm = std::max(0.0, g.LineTop(b.line) - 2.0);
        out.push_back({b.level, b.title, b.page, (kPaperHeightMm - topMm) * 72.0 / 25.4});
    }
    return out;
}

}  // namespace

bool exportPdf(const Document& doc, const std::string& path, const PageSetup& setup,
               std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = what;
        return false;
    };
    const std::string part = path + ".part~";
    // The PDF writer only says that it failed; a first open of the file gives the system's cause
    // (a read-only folder, a full disk, no such folder) for the message.
    if (std::FILE* probe = std::fopen(part.c_str(), "wb"); probe != nullptr) {
        std::fclose(probe);
    } else {
        return fail("PDF ファイルを書き込めません: " + path + "\n原因：" +
                    files::SystemErrorText(errno));
    }
    {
        QPdfWriter writer(Q(part));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("Kuvelt"));
        // The design's title names the document; files without one keep their first heading.
        writer.setTitle(!doc.title.empty()      ? Q(doc.title)
                        : doc.bookmarks.empty() ? QString::fromUtf8("計算書")
                                                : Q(doc.bookmarks.front().title));
        if (!paintDocument(writer, doc, setup, 0, doc.PageCount() - 1)) {
            std::remove(part.c_str());
            return fail("PDF ファイルを書き込めません: " + path);
        }
    }
    std::string pdf;
    int32_t readError = 0;
    std::optional<std::string> bytes;
    if (files::ReadAll(part, pdf, readError, std::size_t(1) << 31)) bytes = std::move(pdf);
    if (!bytes || bytes->empty()) {
        std::remove(part.c_str());
        return fail("PDF ファイルを書き込めません: " + path);
    }
    // The outline and the subject are additions to a complete file: without them (a structure
    // the updates cannot follow) the file is still the whole report and is kept.
    const bool outlined = AppendPdfOutline(*bytes, OutlineOf(doc, setup));
    const bool described = SetPdfInfo(*bytes, {{"Subject", kSubject}});
    if (outlined || described) {
        std::FILE* f = std::fopen(part.c_str(), "wb");
        const bool ok =
            f != nullptr && std::fwrite(bytes->data(), 1, bytes->size(), f) == bytes->size();
        if (f != nullptr && std::fclose(f) != 0) {
            std::remove(part.c_str());
            return fail("PDF ファイルを書き込めません: " + path);
        }
        if (!ok) {
            std::remove(part.c_str());
            return fail("PDF ファイルを書き込めません: " + path);
        }
    }
    std::error_code ec;
    std::filesystem::rename(part, path, ec);
    if (ec) {
        std::remove(part.c_str());
        return fail("PDF ファイルを保存できません: " + path + "\n原因：" + ec.message());
    }
    return true;
}

}  // namespace kuvelt::preview
