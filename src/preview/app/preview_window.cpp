#include "preview/app/preview_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QStandardPaths>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/profile.h"
#include "preview/render/pdf_export.h"

namespace kuvelt::preview {

namespace {

constexpr int kGapPx = 16;    // between sheets and around them
constexpr int kMinZoom = 10;  // percent
constexpr int kMaxZoom = 800;
constexpr int kCacheSheets = 8;
const int kZoomSteps[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};
constexpr double kPxPerMmAt100 = 96.0 / 25.4;

QString Q(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}
QString U(const char* utf8) { return QString::fromUtf8(utf8); }

const char* const kWindowSection = "Window";
const char* const kViewSection = "View";

int ReadInt(const std::string& file, const char* section, const char* key, int fallback) {
    const std::string s = CPrivateProfile::GetValueString(file, section, key);
    if (s.empty()) return fallback;
    return CPrivateProfile::GetValueLong(file, section, key);
}

}  // namespace

bool PreviewDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(U("印刷"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    return dialog.exec() == QDialog::Accepted;
}

QString PreviewDialogs::SaveFileName(QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, U("PDF ファイルとして保存"), suggested,
                                        U("PDF ファイル (*.pdf)"));
}

void PreviewDialogs::ShowMessage(QWidget* parent, const Message& m) {
    QMessageBox box(parent);
    box.setWindowTitle(Q(m.title));
    box.setText(Q(m.text));
    switch (m.icon) {
        case MsgIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::None:
            break;
    }
    box.exec();
}

// ---- PageView ---------------------------------------------------------------------------------

PageView::PageView(const Document& doc, const PageSetup& setup, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), setup_(setup) {
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(40);
    Relayout();
}

void PageView::SetZoomMode(ZoomMode mode) {
    mode_ = mode;
    Relayout();
}

void PageView::SetZoomPercent(int percent) {
    percent = std::clamp(percent, kMinZoom, kMaxZoom);
    const int page = CurrentPage();
    customPxPerMm_ = kPxPerMmAt100 * percent / 100.0;
    mode_ = ZoomMode::Custom;
    Relayout();
    ShowPage(page);
}

int PageView::ZoomPercent() const { return int(std::lround(pxPerMm_ / kPxPerMmAt100 * 100.0)); }

void PageView::Relayout() {
    const QSize vp = viewport()->size();
    const double fitWidth = std::max(1.0, (vp.width() - 2.0 * kGapPx) / kPaperWidthMm);
    const double fitPage =
        std::min(fitWidth, std::max(1.0, (vp.height() - 2.0 * kGapPx) / kPaperHeightMm));
    double next = customPxPerMm_;
    if (mode_ == ZoomMode::FitWidth) next = fitWidth;
    if (mode_ == ZoomMode::FitPage) next = fitPage;
    next = std::clamp(next, kPxPerMmAt100 * kMinZoom / 100.0, kPxPerMmAt100 * kMaxZoom / 100.0);
    if (std::abs(next - pxPerMm_) > 1e-9) {
        // Keep the same place of the report in view across the change.
        const double ratio = next / pxPerMm_;
        const int value = verticalScrollBar()->value();
        pxPerMm_ = next;
        cache_.clear();
        const double sheetH = kPaperHeightMm * pxPerMm_ + kGapPx;
        verticalScrollBar()->setRange(
            0, std::max(0, int(doc_.PageCount() * sheetH + kGapPx) - vp.height()));
        verticalScrollBar()->setValue(int(value * ratio));
        emit ZoomChanged();
    }
    const double sheetW = kPaperWidthMm * pxPerMm_;
    const double sheetH = kPaperHeightMm * pxPerMm_ + kGapPx;
    verticalScrollBar()->setRange(
        0, std::max(0, int(doc_.PageCount() * sheetH + kGapPx) - vp.height()));
    verticalScrollBar()->setPageStep(std::max(1, vp.height()));
    horizontalScrollBar()->setRange(0, std::max(0, int(sheetW + 2 * kGapPx) - vp.width()));
    horizontalScrollBar()->setPageStep(std::max(1, vp.width()));
    viewport()->update();
}

QRectF PageView::PageRect(int page) const {
    const double w = kPaperWidthMm * pxPerMm_, h = kPaperHeightMm * pxPerMm_;
    const double contentW = w + 2.0 * kGapPx;
    double x = kGapPx - horizontalScrollBar()->value();
    if (contentW < viewport()->width()) x = (viewport()->width() - w) / 2.0;
    const double y = kGapPx + page * (h + kGapPx) - verticalScrollBar()->value();
    return QRectF(x, y, w, h);
}

int PageView::CurrentPage() const {
    if (doc_.PageCount() == 0) return 0;
    const double sheetH = kPaperHeightMm * pxPerMm_ + kGapPx;
    const double y = verticalScrollBar()->value() + viewport()->height() / 3.0 - kGapPx;
    return std::clamp(int(std::floor(y / sheetH)), 0, doc_.PageCount() - 1);
}

void PageView::ShowPage(int page, double lineTopMm) {
    page = std::clamp(page, 0, std::max(0, doc_.PageCount() - 1));
    const double sheetH = kPaperHeightMm * pxPerMm_ + kGapPx;
    const double offset = lineTopMm > 0 ? std::max(0.0, lineTopMm - 5.0) * pxPerMm_ : 0.0;
    verticalScrollBar()->setValue(int(std::lround(page * sheetH + offset)));
    viewport()->update();
    if (page != lastReportedPage_) {
        lastReportedPage_ = page;
        emit CurrentPageChanged(page);
    }
}

const QImage& PageView::PageImage(int page, QSize size) {
    auto it = cache_.find(page);
    if (it != cache_.end() && it->second.size() == size) return it->second;
    if (cache_.size() >= std::size_t(kCacheSheets)) {
        // Drop the sheet farthest from this one.
        auto far = std::max_element(cache_.begin(), cache_.end(), [&](auto& a, auto& b) {
            return std::abs(a.first - page) < std::abs(b.first - page);
        });
        cache_.erase(far);
    }
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintPage(p, doc_, page, QRectF(0, 0, size.width(), size.height()), setup_);
    p.end();
    return cache_[page] = std::move(img);
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const double dpr = viewport()->devicePixelRatioF();
    for (int i = 0; i < doc_.PageCount(); ++i) {
        const QRectF r = PageRect(i);
        if (r.bottom() < 0) continue;
        if (r.top() > viewport()->height()) break;
        p.fillRect(r.translated(3, 3), QColor(0, 0, 0, 60));  // the sheet's shadow
        const QSize size(int(std::lround(r.width() * dpr)), int(std::lround(r.height() * dpr)));
        QImage img = PageImage(i, size);
        img.setDevicePixelRatio(dpr);
        p.drawImage(r.topLeft(), img);
    }
}

void PageView::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    Relayout();
}

void PageView::scrollContentsBy(int, int) {
    viewport()->update();
    const int page = CurrentPage();
    if (page != lastReportedPage_) {
        lastReportedPage_ = page;
        emit CurrentPageChanged(page);
    }
}

void PageView::wheelEvent(QWheelEvent* e) {
    if (e->modifiers() & Qt::ControlModifier) {
        const int steps = e->angleDelta().y() / 120;
        if (steps != 0) SetZoomPercent(int(ZoomPercent() * std::pow(1.15, steps)));
        e->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(e);
}

// ---- PreviewWindow ----------------------------------------------------------------------------

PreviewWindow::PreviewWindow(Document doc, std::string workFolder, PageSetup setup,
                             PreviewDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      doc_(std::move(doc)),
      workFolder_(std::move(workFolder)),
      setup_(setup),
      dialogs_(dialogs) {
    setWindowTitle(U("印刷プレビュー"));
    view_ = new PageView(doc_, setup_, this);
    setCentralWidget(view_);
    BuildActions();
    BuildBookmarks();
    connect(view_, &PageView::CurrentPageChanged, this, &PreviewWindow::UpdatePageControls);
    connect(view_, &PageView::ZoomChanged, this, [this] {
        if (zoomBox_ != nullptr) {
            const QSignalBlocker block(zoomBox_);
            zoomBox_->setEditText(QStringLiteral("%1%").arg(view_->ZoomPercent()));
        }
    });
    RestoreSettings();
    zoomBox_->setEditText(QStringLiteral("%1%").arg(view_->ZoomPercent()));
    UpdatePageControls(0);
    if (doc_.truncated)
        statusBar()->showMessage(U("印刷ファイルが大きすぎるため、一部だけを表示しています。"));
}

PreviewWindow::~PreviewWindow() = default;

std::string PreviewWindow::SettingsFile() const {
    return workFolder_.empty() ? std::string() : workFolder_ + "/Preview.ini";
}

void PreviewWindow::BuildActions() {
    QToolBar* bar = addToolBar(U("操作"));
    bar->setObjectName(QStringLiteral("tools"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const char* text, const QKeySequence& key, auto slot) {
        QAction* a = bar->addAction(U(text));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add("印刷(&P)...", QKeySequence(Qt::CTRL | Qt::Key_P), [this] { Print(); });
    add("PDF保存(&S)...", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { SavePdf(); });
    bar->addSeparator();
    add("先頭", QKeySequence(Qt::Key_Home), [this] { GoToPage(0); });
    add("前へ", QKeySequence(Qt::Key_PageUp), [this] { GoToPage(view_->CurrentPage() - 1); });
    pageBox_ = new QSpinBox(bar);
    pageBox_->setRange(1, std::max(1, doc_.PageCount()));
    pageBox_->setKeyboardTracking(false);
    pageBox_->setAccessibleName(U("ページ番号"));
    bar->addWidget(pageBox_);
    pageCount_ = new QLabel(QStringLiteral(" / %1 ").arg(doc_.PageCount()), bar);
    bar->addWidget(pageCount_);
    connect(pageBox_, &QSpinBox::valueChanged, this, [this](int v) { GoToPage(v - 1); });
    add("次へ", QKeySequence(Qt::Key_PageDown), [this] { GoToPage(view_->CurrentPage() + 1); });
    add("最後", QKeySequence(Qt::Key_End), [this] { GoToPage(doc_.PageCount() - 1); });
    bar->addSeparator();
    add("幅に合わせる", QKeySequence(Qt::CTRL | Qt::Key_2),
        [this] { view_->SetZoomMode(ZoomMode::FitWidth); });
    add("ページ全体", QKeySequence(Qt::CTRL | Qt::Key_1),
        [this] { view_->SetZoomMode(ZoomMode::FitPage); });
    add("縮小", QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { ZoomStep(-1); });
    zoomBox_ = new QComboBox(bar);
    zoomBox_->setEditable(true);
    zoomBox_->setInsertPolicy(QComboBox::NoInsert);
    zoomBox_->setAccessibleName(U("倍率"));
    for (int z : kZoomSteps) zoomBox_->addItem(QStringLiteral("%1%").arg(z), z);
    bar->addWidget(zoomBox_);
    connect(zoomBox_, &QComboBox::textActivated, this, [this](const QString& t) {
        QString s = t.trimmed();
        if (s.endsWith(QLatin1Char('%'))) s.chop(1);
        bool ok = false;
        const int v = s.toInt(&ok);
        if (ok && v > 0) view_->SetZoomPercent(v);
    });
    add("拡大", QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { ZoomStep(+1); });
    bar->addSeparator();
    add("閉じる(&C)", QKeySequence(Qt::Key_Escape), [this] { close(); });
}

void PreviewWindow::BuildBookmarks() {
    auto* dock = new QDockWidget(U("見出し"), this);
    dock->setObjectName(QStringLiteral("bookmarks"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    bookmarks_ = new QTreeWidget(dock);
    bookmarks_->setHeaderHidden(true);
    bookmarks_->setColumnCount(2);
    bookmarks_->header()->setStretchLastSection(false);
    bookmarks_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    bookmarks_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    QTreeWidgetItem* lastTop = nullptr;
    for (std::size_t i = 0; i < doc_.bookmarks.size(); ++i) {
        const Bookmark& b = doc_.bookmarks[i];
        QStringList cols{Q(b.title), QString::number(b.page + 1)};
        QTreeWidgetItem* item = b.level >= 2 && lastTop != nullptr
                                    ? new QTreeWidgetItem(lastTop, cols)
                                    : new QTreeWidgetItem(bookmarks_, cols);
        if (b.level < 2 || lastTop == nullptr) lastTop = item;
        item->setData(0, Qt::UserRole, int(i));
        item->setTextAlignment(1, Qt::AlignRight);
    }
    bookmarks_->expandAll();
    connect(bookmarks_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const int i = item->data(0, Qt::UserRole).toInt();
        const Bookmark& b = doc_.bookmarks[std::size_t(i)];
        view_->ShowPage(b.page, GeometryFor(setup_).LineTop(b.line));
    });
    connect(bookmarks_, &QTreeWidget::itemActivated, bookmarks_, &QTreeWidget::itemClicked);
    dock->setWidget(bookmarks_);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    if (doc_.bookmarks.empty()) dock->hide();
}

void PreviewWindow::GoToPage(int page) {
    view_->ShowPage(std::clamp(page, 0, std::max(0, doc_.PageCount() - 1)));
}

void PreviewWindow::UpdatePageControls(int page) {
    if (pageBox_ == nullptr) return;
    const QSignalBlocker block(pageBox_);
    pageBox_->setValue(page + 1);
}

void PreviewWindow::ZoomStep(int direction) {
    const int now = view_->ZoomPercent();
    int next = now;
    if (direction > 0) {
        next = kZoomSteps[std::size(kZoomSteps) - 1];
        for (int z : kZoomSteps)
            if (z > now) {
                next = z;
                break;
            }
    } else {
        next = kZoomSteps[0];
        for (int z : kZoomSteps)
            if (z < now) next = z;
    }
    view_->SetZoomPercent(next);
}

bool PreviewWindow::printTo(QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    int from = 0, to = doc_.PageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage() - 1;
        to = std::max(from, printer.toPage() - 1);
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = view_->CurrentPage();
    }
    if (from > doc_.PageCount() - 1) return false;
    return paintDocument(printer, doc_, setup_, from, to);
}

void PreviewWindow::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFromTo(1, std::max(1, doc_.PageCount()));
    printer.setDocName(doc_.bookmarks.empty() ? U("計算書") : Q(doc_.bookmarks.front().title));
    if (!dialogs_.ChoosePrinter(this, printer)) return;
    if (!printTo(printer)) {
        Message m;
        m.text = "印刷できませんでした。";
        m.title = "印刷プレビュー";
        m.icon = MsgIcon::Error;
        dialogs_.ShowMessage(this, m);
    }
}

void PreviewWindow::SavePdf() {
    // Beside the design with its name; a design never saved goes to the documents folder (the
    // print file itself lives in a temporary folder nobody should save into).
    QString suggested =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + U("/計算書.pdf");
    if (!doc_.designFile.empty()) {
        const QFileInfo src(Q(doc_.designFile));
        suggested =
            src.absolutePath() + QLatin1Char('/') + src.completeBaseName() + QStringLiteral(".pdf");
    }
    QString path = dialogs_.SaveFileName(this, suggested);
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    std::string error;
    const QByteArray file = path.toUtf8();
    if (!exportPdf(doc_, std::string(file.constData(), std::size_t(file.size())), setup_, &error)) {
        Message m;
        m.text = error;
        m.title = "印刷プレビュー";
        m.icon = MsgIcon::Error;
        dialogs_.ShowMessage(this, m);
        return;
    }
    statusBar()->showMessage(U("保存しました: ") + path, 5000);
}

void PreviewWindow::RestoreSettings() {
    const std::string file = SettingsFile();
    resize(900, 1000);
    if (file.empty()) return;
    const int w = ReadInt(file, kWindowSection, "Width", 0);
    const int h = ReadInt(file, kWindowSection, "Height", 0);
    const int x = ReadInt(file, kWindowSection, "Left", -100000);
    const int y = ReadInt(file, kWindowSection, "Top", -100000);
    if (w >= 300 && h >= 200 && w <= 20000 && h <= 20000) resize(w, h);
    // A stored place off every screen (a monitor since removed) is not used.
    if (x > -100000 && y > -100000) {
        for (QScreen* s : QGuiApplication::screens()) {
            if (s->availableGeometry().contains(QPoint(x + 40, y + 20))) {
                move(x, y);
                break;
            }
        }
    }
    if (ReadInt(file, kWindowSection, "Maximized", 0) == 1) setWindowState(Qt::WindowMaximized);
    const int mode = ReadInt(file, kViewSection, "ZoomMode", 0);
    const int zoom = ReadInt(file, kViewSection, "Zoom", 100);
    if (mode == int(ZoomMode::Custom)) {
        view_->SetZoomPercent(zoom);
    } else {
        view_->SetZoomMode(mode == int(ZoomMode::FitPage) ? ZoomMode::FitPage : ZoomMode::FitWidth);
    }
}

void PreviewWindow::StoreSettings() {
    const std::string file = SettingsFile();
    if (file.empty()) return;
    const QRect g = normalGeometry();
    auto put = [&](const char* section, const char* key, int v) {
        CPrivateProfile::SetValueString(file, section, key, std::to_string(v));
    };
    put(kWindowSection, "Left", g.x());
    put(kWindowSection, "Top", g.y());
    put(kWindowSection, "Width", g.width());
    put(kWindowSection, "Height", g.height());
    put(kWindowSection, "Maximized", isMaximized() ? 1 : 0);
    put(kViewSection, "ZoomMode", int(view_->Mode()));
    put(kViewSection, "Zoom", view_->ZoomPercent());
}

void PreviewWindow::closeEvent(QCloseEvent* e) {
    StoreSettings();
    QMainWindow::closeEvent(e);
}

int RunPreviewWindow(QApplication& app, const LoadResult& loaded, const std::string& workFolder,
                     const PageSetup& setup) {
    PreviewDialogs dialogs;
    if (!loaded.ok) {
        dialogs.ShowMessage(nullptr, loaded.message);
        return 1;
    }
    PreviewWindow window(loaded.document, workFolder, setup, dialogs);
    window.show();
    return app.exec();
}

}  // namespace kuvelt::preview
