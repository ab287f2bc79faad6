#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>

#include "platform/cp932.h"
#include "preview/app/preview_window.h"
#include "preview/document/document.h"
#include "preview/render/pdf_export.h"
#include "sample_report.h"
#include "support/test_support.h"

namespace {

using namespace kuvelt::preview;

double PeakRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;  // kB on Linux
}

// A 30-page report with its diagram files in a private folder.
struct Report {
    kuvelt::test::TempDir dir;
    std::string printFile;
    Report() {
        const test::DiagramFiles f = test::WriteLoadDiagram(dir.path().string());
        test::WriteStyleFiles(dir.path().string());
        printFile = dir.file("report.prn");
        kuvelt::test::WriteBytes(printFile, test::ReportBytes(f.composite, 30));
    }
};

void BM_Report30PagesToPdf(benchmark::State& state) {
    Report r;
    for (auto _ : state) {
        const LoadResult loaded = LoadDocument(r.printFile, r.dir.path().string());
        std::string error;
        if (!loaded.ok || !exportPdf(loaded.document, r.dir.file("out.pdf"), {}, &error))
            state.SkipWithError("export failed");
    }
    state.counters["peak_rss_MB"] = PeakRssMb();
}
BENCHMARK(BM_Report30PagesToPdf)->Unit(benchmark::kMillisecond);

void BM_RenderPageImage100dpi(benchmark::State& state) {
    Report r;
    const LoadResult loaded = LoadDocument(r.printFile, r.dir.path().string());
    int page = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderPageImage(loaded.document, page, 100.0));
        page = (page + 1) % 2;  // the figure page and a full text page
    }
}
BENCHMARK(BM_RenderPageImage100dpi)->Unit(benchmark::kMillisecond);

void BM_OpenWindow30Pages(benchmark::State& state) {
    Report r;
    PreviewDialogs dialogs;
    for (auto _ : state) {
        // What the program does from the command line to the first painted view.
        const LoadResult loaded = LoadDocument(r.printFile, r.dir.path().string());
        PreviewWindow w(loaded.document, r.dir.path().string(), PageSetup{}, dialogs);
        w.show();
        QApplication::processEvents();
        w.repaint();
    }
    state.counters["peak_rss_MB"] = PeakRssMb();
}
BENCHMARK(BM_OpenWindow30Pages)->Unit(benchmark::kMillisecond);

// A print file of 100,000 text lines (about 1,700 pages) read into pages.
void BM_ParseHundredThousandLines(benchmark::State& state) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i) bytes += "      本文の行 " + std::to_string(i) + "\r\n";
    bytes = kuvelt::cp932::FromUtf8(bytes);
    for (auto _ : state) benchmark::DoNotOptimize(ParsePrintFile(bytes, LoadContext{}));
}
BENCHMARK(BM_ParseHundredThousandLines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
