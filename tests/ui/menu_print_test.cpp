// The print menu: generation when it opens, the stored ticks, the three selection buttons, item 4
// disabled (its stored tick kept) without the stability check, the combined file with one and with
// two chapters, the preview started from an argument list, and every temporary file deleted
// when the menu closes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <filesystem>

#include "calc/calc_main.h"
#include "calc/yaita_choice.h"
#include "io/design_file.h"
#include "io/settings.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "platform/profile.h"
#include "report/chapters/contents.h"
#include "report/chapters/print_job.h"
#include "report/prn.h"
#include "scripted_services.h"
#include "ui/frmMenuMain.h"
#include "ui/frmMenuPrint.h"
#include "ui/window_factory.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;
namespace fs = std::filesystem;

class MenuPrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        basResOutPrn::SetReportDataFolder(kuvelt::test::ProgramDir().string());
        basResOutPrn::SetReportTempFolder(temp.path().string());
        gWorkFolder = env.dir.file("work");
        int32_t err = 0;
        ASSERT_TRUE(
            ReadData((kuvelt::test::SourceDir() / "examples" / "sand-channel.kvt").string(), err));
        ASSERT_TRUE(CalcMain());
        StoreChoice(PileKind::Steel, 5, 0, 0, 13.0);
        frmMenuPrint::SetStarter([this](const std::vector<std::string>& argv) {
            started.push_back(argv);
            return startWorks;
        });
    }
    void TearDown() override {
        frmMenuPrint::SetStarter({});
        basResOutPrn::SetReportDataFolder("");
        basResOutPrn::SetReportTempFolder("");
    }
    void Open() {
        ASSERT_TRUE(CalcNekiriAntei());
        w = CreateMenuWindow(frmMenuMain::kMenuPrint, nullptr);
        menu = static_cast<frmMenuPrint*>(w.get());
        w->Prepare();
    }
    void Tick(std::initializer_list<int> items) {
        menu->CheckCommand(1);
        for (int i : items) menu->chkPrintItem[std::size_t(i)]->setChecked(true);
    }
    // The combined file after the line that names the design for the preview.
    std::string Combined() const {
        return kuvelt::test::ReadBytesAfter(print_job::CombinedFile(),
                                            "?TI;" + cp932::FromUtf8(gInpJyoken.Title) + "\r\n");
    }
    // A chapter file as the combined file holds it: the optional blocks of the parts unticked
    // in the menu left out, the marks of every block dropped.
    std::string Chapter(int item) const {
        print_job::PartTicks parts{};
        for (std::size_t i = 0; i < parts.size(); ++i) parts[i] = menu->chkPart[i]->isChecked();
        std::string out;
        for (const std::string& line : print_job::FilterOptionalBlocks(
                 cp932::SplitCrLf(kuvelt::test::ReadBytes(print_job::ChapterFile(item))), parts))
            out += line + "\r\n";
        return out;
    }
    std::vector<std::string> ChapterLines(int item) {
        return cp932::SplitCrLf(kuvelt::test::ReadBytes(print_job::ChapterFile(item)));
    }
    std::vector<fs::path> TempFiles() {
        std::vector<fs::path> out;
        for (const auto& e : fs::directory_iterator(temp.path())) out.push_back(e.path());
        return out;
    }
    UiTestEnv env;
    kuvelt::test::TempDir temp;
    std::unique_ptr<InputWindow> w;
    frmMenuPrint* menu = nullptr;
    std::vector<std::vector<std::string>> started;
    bool startWorks = true;
};

TEST_F(MenuPrintTest, OneChapterGivesExactlyItsFileWithoutPageBreak) {
    Open();
    EXPECT_TRUE(env.services.messages().empty());
    Tick({2});
    ASSERT_TRUE(menu->PrintPreview());
    const std::string combined = Combined();
    EXPECT_EQ(combined, print_job::NumberCaptions(Chapter(2)));
    EXPECT_NE(combined.front(), '\x0C');
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0],
              (std::vector<std::string>{frmMenuPrint::PreviewProgram(), "/INI=" + gWorkFolder,
                                        print_job::CombinedFile()}));
    EXPECT_EQ(frmMenuPrint::PreviewProgram(), gProgramFolder + "/Preview");
    EXPECT_EQ(w->UsrTag, QString()) << "the menu stays open";
}

TEST_F(MenuPrintTest, TwoChaptersAreJoinedByAFormFeed) {
    Open();
    Tick({0, 3});
    ASSERT_TRUE(menu->PrintPreview());
    // The untick-all command unticked the figures too: their blocks leave the chapters.
    auto printed = [&](int item) {
        std::string out;
        for (const std::string& line :
             print_job::FilterOptionalBlocks(ChapterLines(item), menu->partTicks())) {
            out += line + "\r\n";
        }
        return out;
    };
    const std::string first = printed(0);
    const std::string fourth = printed(3);
    const std::string combined = Combined();
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(fourth.empty());
    EXPECT_EQ(combined, print_job::NumberCaptions(first + "\x0C" + fourth));
    // The print button rebuilds the file: one chapter afterwards leaves no trace of the other.
    Tick({3});
    ASSERT_TRUE(menu->PrintPreview());
    EXPECT_EQ(Combined(), print_job::NumberCaptions(fourth));
    EXPECT_EQ(started.size(), 2u);
}

TEST_F(MenuPrintTest, NoTickBeepsAndSaysSo) {
    Open();
    Tick({});
    env.services.AnswerMessage(MsgAnswer::Ok);
    EXPECT_FALSE(menu->PrintPreview());
    EXPECT_EQ(env.services.beeps, 1);
    const Message none{0, "印刷項目はひとつ以上選択して下さい。", "検討結果の印刷",
                       MsgIcon::Information, MsgButtons::Ok};
    EXPECT_EQ(env.services.messages(), std::vector<Message>{none});
    EXPECT_TRUE(started.empty());
}

TEST_F(MenuPrintTest, PreviewThatCannotStartIsReported) {
    startWorks = false;
    Open();
    Tick({1});
    env.services.AnswerMessage(MsgAnswer::Ok);
    EXPECT_FALSE(menu->PrintPreview());
    EXPECT_EQ(env.services.messages(),
              std::vector<Message>{PreviewStartMessage(frmMenuPrint::PreviewProgram())});
}

TEST_F(MenuPrintTest, StoredTicksAreRestoredAndWrittenBackAndFilesDeleted) {
    for (const char* k : {"0", "2", "4"}) {
        CPrivateProfile::SetValueString(gIniFile, "MenuPrint", k, "1");
    }
    for (const char* k : {"1", "3"}) CPrivateProfile::SetValueString(gIniFile, "MenuPrint", k, "0");
    Open();
    EXPECT_TRUE(menu->chkPrintItem[4]->isEnabled()) << "sandy ground with the boiling check";
    EXPECT_EQ(menu->ticks(), (print_job::Ticks{true, false, true, false, true}));
    EXPECT_FALSE(TempFiles().empty());
    menu->chkPrintItem[1]->setChecked(true);
    menu->chkPrintItem[0]->setChecked(false);
    w->reject();
    const char* expected[] = {"0", "1", "1", "0", "1"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "MenuPrint", std::to_string(i)),
                  expected[i])
            << i;
    }
    EXPECT_TRUE(TempFiles().empty()) << "every print and figure file is deleted on close";
    EXPECT_NE(CPrivateProfile::GetValueString(gIniFile, "MenuPrint", "Top"), "");
}

// Without the stability check item 4 is unticked and disabled; that untick is the program's and
// is not stored, so the next design that has the check prints its chapter again.
TEST_F(MenuPrintTest, WithoutTheStabilityCheckItemFourIsDisabledAndItsTickKept) {
    CPrivateProfile::SetValueString(gIniFile, "MenuPrint", "4", "1");
    gInpJyoken.Nekiri = 0;
    Open();
    QCheckBox* item4 = menu->chkPrintItem[4];
    EXPECT_FALSE(item4->isEnabled());
    EXPECT_FALSE(item4->isChecked());
    menu->CheckCommand(0);
    EXPECT_EQ(menu->ticks(), (print_job::Ticks{true, true, true, true, false}));
    menu->CheckCommand(2);
    EXPECT_EQ(menu->ticks(), (print_job::Ticks{false, false, false, false, false}))
        << "inverting leaves a disabled item unticked";
    menu->CheckCommand(2);
    EXPECT_FALSE(item4->isChecked());
    w->reject();
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "MenuPrint", "4"), "1");
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "MenuPrint", "0"), "1");
    gInpJyoken.Nekiri = 1;
    Open();
    EXPECT_TRUE(menu->chkPrintItem[4]->isChecked()) << "the design with the check prints it";
}

// On first use every chapter and every part is ticked: the whole report.
TEST_F(MenuPrintTest, FirstUseTicksEverything) {
    Open();
    EXPECT_EQ(menu->ticks(), (print_job::Ticks{true, true, true, true, true}));
    for (QCheckBox* part : menu->chkPart) EXPECT_TRUE(part->isChecked());
}

TEST_F(MenuPrintTest, FailedChaptersAreReportedAndStillOpenTheMenu) {
    // A format file without any chapter section makes every chapter fail.
    kuvelt::test::TempDir data;
    kuvelt::test::WriteBytes(data.file("Kuvelt.FMT"), "");
    for (const char* f : {"LINE_PRN.DEF", "STR_PRN.DEF"}) {
        fs::copy_file(kuvelt::test::SourceDir() / "data" / f, data.path() / f);
    }
    basResOutPrn::SetReportDataFolder(data.path().string());
    env.services.AnswerMessage(MsgAnswer::Ok);
    Open();
    const std::vector<Message> shown = env.services.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Kuvelt");
    EXPECT_EQ(shown[0].icon, MsgIcon::Error);
    EXPECT_EQ(shown[0].text.rfind(
                  "\n･『設計条件』の印刷ﾌｧｲﾙ生成ｴﾗｰ\n･『外力の計算』の印刷ﾌｧｲﾙ生成ｴﾗｰ", 0),
              0u)
        << shown[0].text;
    Tick({0});
    EXPECT_TRUE(menu->PrintPreview()) << "a failed chapter can still be printed";
}

}  // namespace
}  // namespace kuvelt::ui
