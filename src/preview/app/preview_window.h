// The preview window "印刷プレビュー": the report's pages one under the other, zoom (fit width,
// fit page, steps), page navigation, the heading bookmarks in a side list, printing through the
// platform print dialog and saving as PDF. Dialogs and message boxes go through PreviewDialogs so
// tests can answer them; printTo() paints on any printer without a dialog. Window geometry and
// zoom are kept in "<work folder>/Preview.ini".
#pragma once

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "platform/message.h"
#include "preview/document/document.h"
#include "preview/render/page_painter.h"

class QPrinter;
class QSpinBox;
class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class QAction;

namespace kuvelt::preview {

// The dialogs the window needs; the default shows the platform's dialogs.
class PreviewDialogs {
  public:
    virtual ~PreviewDialogs() = default;
    // Shows the print dialog for `printer`; true when the user chose to print.
    virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer);
    // The file to save to, or "" when cancelled.
    virtual QString SaveFileName(QWidget* parent, const QString& suggested);
    virtual void ShowMessage(QWidget* parent, const Message& message);
};

enum class ZoomMode { FitWidth = 0, FitPage = 1, Custom = 2 };

// The pages, continuous from top to bottom with a gap between sheets.
class PageView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    PageView(const Document& doc, const PageSetup& setup, QWidget* parent = nullptr);

    void SetZoomMode(ZoomMode mode);
    void SetZoomPercent(int percent);  // switches to Custom
    ZoomMode Mode() const { return mode_; }
    int ZoomPercent() const;  // the effective zoom (100 % = true size at 96 dpi)
    int CurrentPage() const;  // 0-based: the page at the top third of the view
    void ShowPage(int page, double lineTopMm = 0.0);
    double PixelsPerMm() const { return pxPerMm_; }

  signals:
    void CurrentPageChanged(int page);
    void ZoomChanged();

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent*) override;

  private:
    void Relayout();
    QRectF PageRect(int page) const;  // in viewport pixels
    const QImage& PageImage(int page, QSize size);

    const Document& doc_;
    PageSetup setup_;
    ZoomMode mode_ = ZoomMode::FitWidth;
    double customPxPerMm_ = 96.0 / 25.4;
    double pxPerMm_ = 96.0 / 25.4;
    int lastReportedPage_ = -1;
    std::map<int, QImage> cache_;  // rendered sheets at the current zoom
};

class PreviewWindow : public QMainWindow {
    Q_OBJECT
  public:
    PreviewWindow(Document doc, std::string workFolder, PageSetup setup, PreviewDialogs& dialogs,
                  QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // Paints the pages the printer's range selects (all when it selects none); false on failure.
    bool printTo(QPrinter& printer);
    // The print dialog, then printTo; failures are reported through the dialogs.
    void Print();
    // The save dialog, then the PDF export; failures are reported through the dialogs.
    void SavePdf();
    void GoToPage(int page);  // 0-based, clamped

    const Document& document() const { return doc_; }
    PageView* view() const { return view_; }
    QTreeWidget* bookmarks() const { return bookmarks_; }
    std::string SettingsFile() const;

  protected:
    void closeEvent(QCloseEvent*) override;

  private:
    void BuildActions();
    void BuildBookmarks();
    void RestoreSettings();
    void StoreSettings();
    void UpdatePageControls(int page);
    void ZoomStep(int direction);

    Document doc_;
    std::string workFolder_;
    PageSetup setup_;
    PreviewDialogs& dialogs_;
    PageView* view_ = nullptr;
    QSpinBox* pageBox_ = nullptr;
    QLabel* pageCount_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QTreeWidget* bookmarks_ = nullptr;
};

// Shows the window for a loaded document (or the load failure) and runs the event loop.
int RunPreviewWindow(QApplication& app, const LoadResult& loaded, const std::string& workFolder,
                     const PageSetup& setup);

}  // namespace kuvelt::preview
