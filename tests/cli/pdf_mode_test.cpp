// kuvelt-calc --pdf: a design becomes its report as a PDF in one step, through the preview
// program of the program folder; failures leave no PDF behind and say why.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
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

TEST(CliPdf, RefusedDesignWritesNoPdf) {
    test::TempDir dir;
    test::WriteBytes(dir.file("bad.kvt"), "not a design\r\n");
    EXPECT_EQ(RunCalc({"--pdf", dir.file("out.pdf"), dir.file("bad.kvt")}), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdf")));
    EXPECT_EQ(RunCalc({"--pdf", dir.file("out.pdf")}), 64);
}

}  // namespace
}  // namespace kuvelt
