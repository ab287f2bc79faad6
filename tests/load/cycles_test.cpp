// Open - calculate - print, over and over, in the application's main window: each cycle opens a
// design through the Open command (the file dialog answered by the scripted services), runs the
// sheet-pile choice (which calculates; a steel section at its required length is confirmed
// inside the window's real modal loop) and the print menu (every chapter ticked, the combined
// file built, the preview start recorded instead of made, the menu closed). After a warm-up nothing
// may grow: top-level widgets, objects under the application, open file descriptors, files in the
// temporary folder, and the resident memory only within a small bound.
//
// KUVELT_LOAD_CYCLES sets the number of measured cycles (default 150; 1000 for the full load).
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QPixmapCache>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "calc/nekiri.h"
#include "calc/sections.h"
#include "model/design.h"
#include "report/prn.h"
#include "scripted_services.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/frmInpYaita.h"
#include "ui/frmMenuMain.h"
#include "ui/frmMenuPrint.h"
#include "ui/input_window.h"

namespace kuvelt::ui {
// GCC says it builds with the address sanitizer by __SANITIZE_ADDRESS__, clang by __has_feature.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KUVELT_CLANG_ASAN 1
#endif
#endif
#ifndef KUVELT_CLANG_ASAN
#define KUVELT_CLANG_ASAN 0
#endif

namespace {

namespace fs = std::filesystem;
using test::UiTestEnv;

int Cycles() {
    const char* v = std::getenv("KUVELT_LOAD_CYCLES");
    return v && *v ? std::atoi(v) : 150;
}

// KUVELT_LOAD_STEPS=1 opens only, 2 also calculates, 3 (default) also prints: to tell which
// command a growth comes from.
int Steps() {
    const char* v = std::getenv("KUVELT_LOAD_STEPS");
    return v && *v ? std::atoi(v) : 3;
}

// The main window whose modal windows run their real event loop and are driven from inside it,
// as a user would: the choice window takes a steel section, the print menu prints everything.
class CyclingMain : public frmMenuMain {
  public:
    int choices = 0, prints = 0;
    std::vector<std::string> unexpected;

  protected:
    int RunWindow(InputWindow& w) override {
        QTimer::singleShot(0, &w, [this, &w] { Drive(w); });
        return frmMenuMain::RunWindow(w);
    }

  private:
    void Drive(InputWindow& w) {
        if (auto* y = dynamic_cast<frmInpYaita*>(&w)) {
            // The last steel section, a metre longer than it needs: steel piles have no length
            // range, so no question interrupts the cycle.
            ++choices;
            const int32_t sect = gInpSectS.Count();
            y->setKind(2);
            y->numSect->setValue(sect);
            y->numL->setValue(std::ceil(gListS(sect, 4)) + 1.0);
            w.PressOk();
            if (w.isVisible()) w.reject();  // a refused pick must not leave the loop hanging
        } else if (auto* p = dynamic_cast<frmMenuPrint*>(&w)) {
            p->CheckCommand(0);
            if (p->PrintPreview()) ++prints;
            w.reject();
        } else {
            unexpected.push_back(w.windowTitle().toStdString());
            w.reject();
        }
    }
};

struct Usage {
    int topLevelWidgets = 0;
    int objects = 0;
    int fds = 0;
    int tempFiles = 0;
    long rssKiB = 0;
    long heapKiB = 0;  // allocated and not freed, whatever the allocator keeps resident
};

int CountObjects() {
    int n = 1 + int(qApp->findChildren<QObject*>().size());
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->parent() == nullptr) n += 1 + int(w->findChildren<QObject*>().size());
    return n;
}

int CountEntries(const fs::path& dir) {
    int n = 0;
    std::error_code ec;
    for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        ++n;
    return n;
}

long RssKiB() {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

Usage Measure(const fs::path& temp) {
    // Windows closed with deleteLater go now, as they would when the main loop next runs.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    test::Pump();
    // Qt's pixmap cache keeps styled button and frame pixmaps up to its own limit (10 MiB); it
    // fills over the first hundred or so windows and is bounded, so it is left out.
    QPixmapCache::clear();
    // Freed memory goes back to the system, so resident memory counts what is in use.
    malloc_trim(0);
    return Usage{int(QApplication::topLevelWidgets().size()),
                 CountObjects(),
                 CountEntries("/proc/self/fd"),
                 CountEntries(temp),
                 RssKiB(),
                 long(mallinfo2().uordblks / 1024)};
}

class OpenCalculatePrint : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* t = std::getenv("TMPDIR");
        savedTmp_ = t ? t : "";
        // The print job's files go to the temporary folder of the environment: a private one.
        setenv("TMPDIR", temp.path().c_str(), 1);
        basResOutPrn::SetReportDataFolder(kuvelt::test::ProgramDir().string());
        gWorkFolder = env.dir.file("work");
        frmMenuPrint::SetStarter([this](const std::vector<std::string>& argv) {
            lastStart = argv;
            ++starts;
            return true;
        });
        for (const char* name :
             {"sand-channel.kvt", "clay-embankment.kvt", "clay-increasing.kvt", "slope-sand.kvt"}) {
            const std::string to = env.dir.file(name);
            fs::copy_file(kuvelt::test::SourceDir() / "examples" / name, to);
            designs.push_back(to);
        }
        main.Start(false);
        test::ShowActive(&main);
    }
    void TearDown() override {
        frmMenuPrint::SetStarter({});
        basResOutPrn::SetReportDataFolder("");
        if (savedTmp_.empty()) {
            unsetenv("TMPDIR");
        } else {
            setenv("TMPDIR", savedTmp_.c_str(), 1);
        }
    }
    void Cycle(int i) {
        const std::string& path = designs[std::size_t(i) % designs.size()];
        if (gModified) env.services.AnswerMessage(MsgAnswer::No);  // the stored choice may go
        env.services.AnswerOpen(path);
        main.FileOpen();
        ASSERT_EQ(gFileName, path) << "cycle " << i;
        if (Steps() < 2) return;
        main.MenuCommand(frmMenuMain::kInpYaita);
        ASSERT_TRUE(gInpYaita.InpFlg) << "cycle " << i << ": the proposal was not stored";
        if (Steps() < 3) return;
        main.MenuCommand(frmMenuMain::kMenuPrint);
        ASSERT_EQ(starts, i + 1) << "cycle " << i << ": the preview was not started";
        ASSERT_EQ(lastStart.size(), 3u);
        ASSERT_EQ(fs::path(lastStart[2]).parent_path(), temp.path())
            << "cycle " << i << ": the print files are not in the temporary folder watched";
        ASSERT_FALSE(fs::exists(lastStart[2]))
            << "cycle " << i << ": the combined file outlived the print menu";
        env.services.ClearRecord();
    }
    std::string savedTmp_;
    UiTestEnv env;
    kuvelt::test::TempDir temp;
    CyclingMain main;
    std::vector<std::string> designs;
    std::vector<std::string> lastStart;
    int starts = 0;
};

TEST_F(OpenCalculatePrint, RepeatedCyclesLeaveNothingBehind) {
    constexpr int kWarmUp = 20;
    for (int i = 0; i < kWarmUp; ++i) {
        Cycle(i);
        if (HasFatalFailure()) return;
    }
    const Usage before = Measure(temp.path());
    const int cycles = Cycles();
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = kWarmUp; i < kWarmUp + cycles; ++i) {
        Cycle(i);
        if (HasFatalFailure()) return;
        if (std::getenv("KUVELT_LOAD_TRACE") && (i - kWarmUp) % 100 == 99) {
            const Usage u = Measure(temp.path());
            std::cout << (i - kWarmUp + 1) << " cycles: RSS " << u.rssKiB << " KiB, heap "
                      << u.heapKiB << " KiB, objects " << u.objects << "\n";
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const Usage after = Measure(temp.path());

    EXPECT_TRUE(main.unexpected.empty()) << main.unexpected.front();
    EXPECT_EQ(main.choices, Steps() >= 2 ? kWarmUp + cycles : 0);
    EXPECT_EQ(main.prints, Steps() >= 3 ? kWarmUp + cycles : 0);
    EXPECT_TRUE(env.services.messages().empty());
    EXPECT_EQ(after.topLevelWidgets, before.topLevelWidgets);
    EXPECT_EQ(after.objects, before.objects);
    // A leak keeps descriptors; Qt closes some of its own once they have been idle for half a
    // minute (a run that long, under load, ends with fewer), which is no leak.
    EXPECT_LE(after.fds, before.fds);
    EXPECT_EQ(after.tempFiles, 0);
    EXPECT_EQ(before.tempFiles, 0);
#if defined(__SANITIZE_ADDRESS__) || KUVELT_CLANG_ASAN
    // The address sanitizer keeps freed memory in quarantine and has its own allocator: neither
    // the resident memory nor the allocator's figures say anything; its leak check does.
#else
    EXPECT_LE(after.rssKiB - before.rssKiB, 4 * 1024) << "resident memory grew";
    // A window, a document or a report left behind costs tens of KiB a cycle; the allocator's
    // own bookkeeping a few hundred bytes.
    EXPECT_LE(after.heapKiB - before.heapKiB, 256 + cycles) << "allocated memory grew";
#endif

    const std::string figures =
        "widgets " + std::to_string(before.topLevelWidgets) + "->" +
        std::to_string(after.topLevelWidgets) + ", objects " + std::to_string(before.objects) +
        "->" + std::to_string(after.objects) + ", fds " + std::to_string(before.fds) + "->" +
        std::to_string(after.fds) + ", temp files " + std::to_string(before.tempFiles) + "->" +
        std::to_string(after.tempFiles) + ", RSS KiB " + std::to_string(before.rssKiB) + "->" +
        std::to_string(after.rssKiB) + ", heap KiB " + std::to_string(before.heapKiB) + "->" +
        std::to_string(after.heapKiB) + ", " + std::to_string(seconds / cycles) + " s per cycle";
    RecordProperty("figures", figures);
    std::cout << cycles << " cycles: " << figures << "\n";
}

}  // namespace
}  // namespace kuvelt::ui
