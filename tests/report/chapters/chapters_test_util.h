// Designs for the chapter tests: each sets up the current design, runs the calculation as the
// print command does and picks a sheet pile, so the chapters see a complete result store.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "calc/results.h"
#include "support/test_support.h"

namespace kuvelt::test {

// Each test's print job in a private temporary folder: every print and figure file deleted after
// it, and the temporary and data folders back to their defaults.
class PrintJobFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    TempDir tmp;
};

struct ReportDesign {
    std::string name;
    std::function<void()> setup;  // after InitData
    int yaita = 2;                // 0 concrete, 1 light steel, 2 steel
    int sect = 1;
};

// The designs that reach every branch of the chapters.
const std::vector<ReportDesign>& ReportDesigns();

// Four layers, sand and clay in turn, the second's top at the groundwater and the third's at the
// design ground level (levels at which the ground layer table splits anyway), the channel water
// above the design ground level and wall friction other than 15°: sand decides the stability
// check.
ReportDesign LayeredDesign();
// The results of LayeredDesign() as a calculation of layered ground gives them: each piece with
// its layer's soil, the friction angles and the channel water taken.
Results LayeredResults();

// InitData, setup, CalcMain (must succeed), the pick with L = required length + 0.5,
// CalcNekiriAntei. Returns false (with a gtest failure) when the calculation fails.
bool Prepare(const ReportDesign& d);

// Every example design of the source tree in turn, read and calculated (CalcMain) with a fresh
// result store; `body` gets its file name. A design that does not read or calculate is a failure
// and is skipped. Returns how many examples ran.
int ForEachExample(const std::function<void(const std::string& name)>& body);

// A chapter file as UTF-8 text.
std::string ReadUtf8(const std::string& path);
// A chapter file as the combined file holds it: the marks of its optional blocks (figures a
// user may leave out) removed, the blocks kept.
std::string WithoutOptionalMarks(const std::string& bytes);
// Number of page breaks in a file.
int PageBreaks(const std::string& bytes);
// Whether `text` holds `part`, and how often.
bool Has(const std::string& text, const std::string& part);
int Count(const std::string& text, const std::string& part);
// Runs one report writer on `results` (by default what the result store holds now) into a fresh
// print file of the current job and returns its UTF-8 text; a gtest failure when it does not end
// as `expectOk` says.
using Writer = bool (*)(const Results&, std::string*);
std::string RunWriter(Writer writer, const Results& results, bool expectOk = true);
std::string RunWriter(Writer writer, bool expectOk = true);
// The picture rendering used by the format file (for expected texts).
std::string Pic(double v, const char* picture);
void PrintTo(const ReportDesign& d, std::ostream* os);

}  // namespace kuvelt::test
