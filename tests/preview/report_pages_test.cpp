// The report of every example design as the preview shows it: the contents name, for each
// heading after them, the page the preview puts it on, no heading stands in the last two lines
// of a page or ends one, and no kept group is cut by a full page. The report is written in process
// (the report folder of kuvelt-calc --report) and read as the preview reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "io/design_file.h"
#include "preview/document/document.h"
#include "report/chapters/contents.h"
#include "support/test_support.h"
#include "usecase/report_run.h"

namespace kuvelt::preview {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Examples() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(test::SourceDir() / "examples"))
        if (e.path().extension() == ".kvt") out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

class ExampleReport : public ::testing::TestWithParam<fs::path> {};

TEST_P(ExampleReport, ContentsNameThePagesOfTheHeadingsAndNoHeadingEndsAPage) {
    int32_t code = 0;
    ASSERT_TRUE(ReadData(GetParam().string(), code)) << code;
    test::TempDir dir;
    usecase::PickRequest pick;
    pick.how = usecase::PickRequest::How::Auto;
    pick.yes = true;
    const usecase::ReportRun run = usecase::WriteReportFolder(dir.file("report"), pick);
    ASSERT_EQ(run.outcome, usecase::Outcome::Ok);
    const LoadResult loaded = LoadDocument(dir.file("report/report.prn"), dir.path().string());
    ASSERT_TRUE(loaded.ok);
    const Document& d = loaded.document;

    // The contents: the lines from the "目次" heading up to the next heading.
    const auto contents =
        std::find_if(d.bookmarks.begin(), d.bookmarks.end(),
                     [](const Bookmark& b) { return b.title == print_job::kContentsTitle; });
    ASSERT_NE(contents, d.bookmarks.end());
    std::vector<std::pair<std::string, int>> listed, headings, figures;
    bool captions = false;  // past the title of the list of figures and tables
    const std::regex entry("^ +(\\S.*\\S) \\.{3,} +([0-9]+)$");
    bool done = false;
    for (int p = contents->page; p < d.PageCount() && !done; ++p) {
        const std::vector<Line>& lines = d.pages[std::size_t(p)].lines;
        for (std::size_t i = p == contents->page ? std::size_t(contents->line) + 1 : 0;
             i < lines.size() && !done; ++i) {
            std::smatch m;
            const std::string text = LineText(lines[i]);
            captions = captions || text.find(print_job::kCaptionListTitle) != std::string::npos;
            done = lines[i].level != 0;
            if (!done && std::regex_match(text, m, entry))
                (captions ? figures : listed).emplace_back(m[1], std::stoi(m[2]));
        }
    }
    for (auto b = contents + 1; b != d.bookmarks.end(); ++b)
        headings.emplace_back(b->title, b->page + 1);
    for (const Bookmark& b : d.bookmarks) {
        EXPECT_LE(std::size_t(b.line) + 3, d.pages[std::size_t(b.page)].lines.size())
            << b.title << " stands in the last two lines of page " << b.page + 1;
    }
    // Every kept group (headings of levels 1 to 3 with the lines after them, lists of symbols)
    // stands whole on its page, unless the chapter's page break ends it.
    for (int p = 0; p + 1 < d.PageCount(); ++p) {
        const Page& page = d.pages[std::size_t(p)];
        if (page.endsAtBreak) continue;
        for (std::size_t i = 0; i < page.lines.size(); ++i) {
            EXPECT_LE(i + std::size_t(page.lines[i].keep), page.lines.size())
                << "page " << p + 1 << ": " << LineText(page.lines[i]);
        }
        // Nor does a page end with a heading: its last printed line opens no kept group.
        auto last = std::find_if(page.lines.rbegin(), page.lines.rend(), [](const Line& l) {
            return l.bytes.find_first_not_of(' ') != std::string::npos;
        });
        ASSERT_NE(last, page.lines.rend());
        EXPECT_TRUE(last->keep == 0 && last->level == 0)
            << "page " << p + 1 << " ends with " << LineText(*last);
    }
    EXPECT_GE(headings.size(), 10u);
    EXPECT_EQ(listed, headings);
    // Figures and tables numbered in print order, each listed with the page it prints on.
    ASSERT_GE(figures.size(), 6u);
    for (const char* first : {"図-1 ", "表-1 "}) {
        EXPECT_TRUE(std::any_of(figures.begin(), figures.end(), [&](const auto& f) {
            return f.first.rfind(first, 0) == 0;
        })) << first;
    }
    for (const auto& f : figures) {
        const std::string& caption = f.first;
        const auto page = f.second;
        const std::vector<Line>& lines = d.pages[std::size_t(page - 1)].lines;
        EXPECT_TRUE(std::any_of(
            lines.begin(), lines.end(),
            [&](const Line& l) { return LineText(l).find(caption) != std::string::npos; }))
            << caption << " is not on page " << page;
    }
}

INSTANTIATE_TEST_SUITE_P(Designs, ExampleReport, ::testing::ValuesIn(Examples()),
                         [](const auto& info) {
                             std::string name = info.param.stem().string();
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace kuvelt::preview
