// kuvelt-calc --pdf: a design becomes its report as a PDF in one step, through the preview
// program of the program folder; failures leave no PDF behind and say why.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace kuvelt {
namespace {

// Runs ./kuvelt-calc (the tests run in the build's bin folder) without a shell; exit status.
int RunCalc(const std::vector<std::string>& args) {
    return test::RunProgram("./kuvelt-calc", args).status;
}

TEST(CliPdf, ExampleReportBecomesAPdf) {
    test::TempDir dir;
    const std::string pdf = dir.file("sand channel.pdf");  // a blank in the name stays whole
    ASSERT_EQ(RunCalc({"--pdf", pdf, (test::SourceDir() / "examples/sand-channel.kvt").string()}),
              0);
    const std::string bytes = test::ReadBytes(pdf);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    // No report files of the run are left in the temporary folder.
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(e.path().filename(), "sand channel.pdf");
    }
}

// The PDF as a reader sees it, page by page through pdftotext: the contents give each heading
// the page whose text shows it, and every page says "n / N" in its footer.
TEST(CliPdf, ContentsPageNumbersAreThoseThePdfPrintsTheHeadingsOn) {
    test::TempDir dir;
    const std::string pdf = dir.file("report.pdf");
    ASSERT_EQ(RunCalc({"--pdf", pdf, (test::SourceDir() / "examples/sand-channel.kvt").string(),
                       "--pick", "auto"}),
              0);
    const test::ProgramRun info = test::RunProgram("/usr/bin/pdfinfo", {pdf});
    ASSERT_EQ(info.status, 0) << info.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info.out, m, std::regex("Pages: +([0-9]+)")));
    const int pages = std::stoi(m[1]);
    std::vector<std::vector<std::string>> text(std::size_t(pages) + 1);  // trimmed lines, 1-based
    for (int p = 1; p <= pages; ++p) {
        const std::string n = std::to_string(p);
        const test::ProgramRun t =
            test::RunProgram("/usr/bin/pdftotext", {"-layout", "-f", n, "-l", n, pdf, "-"});
        std::istringstream lines(t.out);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t a = line.find_first_not_of(' ');
            if (a != std::string::npos) text[std::size_t(p)].push_back(line.substr(a));
        }
        const std::string footer = "- " + n + " / " + std::to_string(pages) + " -";
        EXPECT_NE(std::find(text[std::size_t(p)].begin(), text[std::size_t(p)].end(), footer),
                  text[std::size_t(p)].end())
            << footer;
    }
    int contents = 0;
    for (int p = 1; p <= pages && contents == 0; ++p)
        for (const std::string& l : text[std::size_t(p)])
            if (l == "目次") contents = p;
    ASSERT_GT(contents, 0);
    const std::regex entry("^(\\S.*\\S) \\.{3,} +([0-9]+)$");
    int entries = 0;
    for (const std::string& l : text[std::size_t(contents)]) {
        if (!std::regex_match(l, m, entry)) continue;
        ++entries;
        const int page = std::stoi(m[2]);
        ASSERT_TRUE(page > contents && page <= pages) << l;
        const std::vector<std::string>& on = text[std::size_t(page)];
        EXPECT_NE(std::find(on.begin(), on.end(), m[1].str()), on.end())
            << m[1] << " is not on page " << page;
    }
    EXPECT_GE(entries, 15);
}

TEST(CliPdf, RefusedDesignWritesNoPdf) {
    test::TempDir dir;
    test::WriteBytes(dir.file("bad.kvt"), "not a design\r\n");
    EXPECT_EQ(RunCalc({"--pdf", dir.file("out.pdf"), dir.file("bad.kvt")}), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdf")));
    EXPECT_EQ(RunCalc({"--pdf", dir.file("out.pdf")}), 64);
}

}  // namespace
}  // namespace kuvelt
