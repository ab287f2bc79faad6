// The preview window "印刷プレビュー": the report's pages one under the other, zoom (fit width,
// fit page, a fixed ladder of steps), page navigation, a side panel with the heading bookmarks
// (following the page shown) and page thumbnails, a find bar that highlights the matches on the
// sheets, printing through the platform print dialog, saving as PDF and the user guide on F1.
// Dialogs and message boxes go through PreviewDialogs so tests can answer them; printTo() paints
// on any printer without a dialog. Window geometry and zoom are kept in
// "<work folder>/Preview.ini".
#pragma once

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "platform/message.h"
#include "preview/app/text_search.h"
#include "preview/document/document.h"
#include "preview/render/page_painter.h"

class QPrinter;
class QLineEdit;
class QListView;
class QTabWidget;
class QActionGroup;
class QSpinBox;
class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class QAction;
class QMenu;

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

// The report's name for a print job and a PDF: the design's title (its "?TI;" line), else
// "計算書". FileNameFor makes a name a file name (no folder separators or characters other
// systems refuse, at most 100 characters).
QString DocumentName(const Document& doc);
QString FileNameFor(const QString& name);

// The zoom ladder in percent, and the step after `percent` upwards (direction > 0) or downwards;
// a zoom between steps (a fitted one) goes to the nearest step in that direction.
inline constexpr int kZoomLadder[] = {25, 33, 50, 67, 75, 100, 125, 150, 200, 300, 400};
int NextZoomStep(int percent, int direction);

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
    // The place of the report at `fraction` of the view's height: page and mm from its top.
    struct Place {
        int page = 0;
        double mm = 0.0;
    };
    Place PlaceAt(double fraction) const;

    // Search matches drawn on the sheets; `current` (an index into them, -1 for none) stands out.
    void SetMatches(std::vector<TextMatch> matches, int current);
    // Scrolls just enough to show the match whole.
    void Reveal(const TextMatch& match);
    // The match's frame in viewport pixels.
    QRectF MatchRect(const TextMatch& match) const;

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
    std::vector<TextMatch> matches_;
    int currentMatch_ = -1;
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

    // The find bar: opened (focus in its field) by Ctrl+F; F3 / Shift+F3 go to the next or
    // previous match, wrapping at the ends; Esc in the field closes the bar and the highlights.
    void OpenFindBar();
    void CloseFindBar();
    void FindNext() { FindStep(+1); }
    void FindPrevious() { FindStep(-1); }
    // The user guide at the preview's section (F1); a missing guide is reported.
    void ShowHelp();
    void SetGuideFile(std::string path) { guideFile_ = std::move(path); }

    const Document& document() const { return doc_; }
    PageView* view() const { return view_; }
    QTreeWidget* bookmarks() const { return bookmarks_; }
    QListView* thumbnails() const { return thumbnails_; }
    QTabWidget* sidePanel() const { return sideTabs_; }
    QWidget* findBar() const { return findBar_; }
    QLineEdit* findField() const { return findEdit_; }
    QLabel* findStatus() const { return findStatus_; }
    const std::vector<TextMatch>& matches() const { return matches_; }
    int currentMatch() const { return currentMatch_; }
    std::string SettingsFile() const;

  protected:
    void closeEvent(QCloseEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildActions();
    void BuildMenus();
    void BuildFindBar();
    void BuildSidePanel();
    void BuildBookmarks();
    void BuildThumbnails();
    void RestoreSettings();
    void StoreSettings();
    void UpdatePageControls(int page);
    void ZoomStep(int direction);
    void UpdateZoomControls();
    // The heading and the thumbnail of the place shown are marked in the side panel.
    void FollowPlace();
    void Search(const QString& text);
    void FindStep(int direction);
    void ShowMatch();

    Document doc_;
    std::string workFolder_;
    PageSetup setup_;
    PreviewDialogs& dialogs_;
    PageView* view_ = nullptr;
    QSpinBox* pageBox_ = nullptr;
    QLabel* pageCount_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QActionGroup* zoomLadder_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QTabWidget* sideTabs_ = nullptr;
    QTreeWidget* bookmarks_ = nullptr;
    std::vector<QTreeWidgetItem*> bookmarkItems_;  // by bookmark index
    int bookmarkScroll_ = -1;                      // scroll position a click on a heading went to
    QListView* thumbnails_ = nullptr;
    QWidget* findBar_ = nullptr;
    QLineEdit* findEdit_ = nullptr;
    QLabel* findStatus_ = nullptr;
    std::vector<TextMatch> matches_;
    int currentMatch_ = -1;
    std::string guideFile_;
};

// Shows the window for a loaded document (or the load failure) and runs the event loop.
int RunPreviewWindow(QApplication& app, const LoadResult& loaded, const std::string& workFolder,
                     const PageSetup& setup);

}  // namespace kuvelt::preview
