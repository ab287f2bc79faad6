#include "preview/render/pdf_export.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "formats/pdf_file.h"
#include "platform/files.h"
#include "platform/vberror.h"
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
    auto fail = [&](const files::Failure& failure) {
        if (error) *error = formats::PdfWriteFailureMessage(failure, path).text;
        return false;
    };
    // The inputs of the document are never written over, however the target is named; a target
    // that cannot take the file is refused before the pages are drawn.
    files::ReplaceGuard guard;
    for (const std::string& input : {doc.sourcePath, doc.designFile})
        if (!input.empty()) guard.inputs.push_back(input);
    guard.whole = formats::PdfIsComplete;
    files::Failure failure;
    if (!files::CheckReplaceable(path, failure, guard)) return fail(failure);

    // The file is made in memory and put in place whole: nothing half-written is ever seen at
    // the target, and no name beside it is shared with another writer.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("Kuvelt"));
        // The design's title names the document; files without one keep their first heading.
        writer.setTitle(!doc.title.empty()      ? Q(doc.title)
                        : doc.bookmarks.empty() ? QString::fromUtf8("計算書")
                                                : Q(doc.bookmarks.front().title));
        if (!paintDocument(writer, doc, setup, 0, doc.PageCount() - 1))
            return fail({vberr::kDeviceIO, "PDF を作成できません"});
    }
    std::string bytes(buffer.data().constData(), std::size_t(buffer.data().size()));
    // The outline and the subject are additions to a complete file: without them (a structure
    // the updates cannot follow) the file is still the whole report and is kept.
    AppendPdfOutline(bytes, OutlineOf(doc, setup));
    SetPdfInfo(bytes, {{"Subject", kSubject}});
    if (!files::ReplaceFile(path, bytes, failure, guard)) return fail(failure);
    return true;
}

}  // namespace kuvelt::preview
