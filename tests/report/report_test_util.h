// Shared set-up of the report writer tests: a private temporary folder for the print and
// figure files, numbering switched off, margins zero, all files deleted afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/cp932.h"
#include "report/numbering.h"
#include "report/prn.h"
#include "support/test_support.h"

namespace kuvelt::test {

// Code page 932 bytes of a UTF-8 literal (the form the files hold).
inline std::string Sj(std::string_view utf8) { return cp932::FromUtf8(utf8); }

class ReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace p = basResOutPrn;
        p::SetReportTempFolder(tmp.path().string());
        p::SetReportDataFolder(tmp.path().string());
        p::ResetPrintJob();
        p::NumberMethod = 0;
        p::LevelStyles.fill(0);
        p::LevelMargins.fill(0);
        p::LevelCounters.fill(0);
        p::CurrentLevel = 1;
    }
    void TearDown() override {
        basResOutPrn::DeleteAllReportFiles();
        basResOutPrn::SetReportTempFolder("");
        basResOutPrn::SetReportDataFolder("");
    }

    // A new print file, made current and opened for appending.
    std::string OpenNewPrintFile() {
        basResOutPrn::CurrentPrintFile = basResOutPrn::NewPrintFile();
        basResOutPrn::OpenPrintFile();
        basResOutPrn::LineCount = 0;
        return basResOutPrn::CurrentPrintFile;
    }
    // Closes the print file and returns its bytes.
    std::string CloseAndRead() {
        basResOutPrn::ClosePrintFile();
        return ReadBytes(basResOutPrn::CurrentPrintFile);
    }

    TempDir tmp;
};

}  // namespace kuvelt::test
