#include "preview/app/preview_window.h"

#include <QAbstractListModel>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "io/settings.h"
#include "platform/profile.h"
#include "preview/render/pdf_export.h"
#include "widgets/file_icons.h"
#include "widgets/message_box.h"
#include "widgets/screen_fit.h"
#include "widgets/user_guide.h"

namespace kuvelt::preview {

namespace {

constexpr int kGapPx = 16;    // between sheets and around them
constexpr int kMinZoom = 10;  // percent
constexpr int kMaxZoom = 800;
constexpr int kCacheSheets = 8;
constexpr double kPxPerMmAt100 = 96.0 / 25.4;
constexpr int kThumbnailWidthPx = 110;
constexpr int kThumbnailCache = 300;  // rendered thumbnails kept (a few KB each)

QString Q(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}
QString U(const char* utf8) { return QString::fromUtf8(utf8); }

int ReadInt(const std::string& file, std::string_view section, std::string_view key, int fallback) {
    const std::string s = CPrivateProfile::GetValueString(file, section, key);
    if (s.empty()) return fallback;
    return CPrivateProfile::GetValueLong(file, section, key);
}

// The pages as small pictures for the thumbnail list; a sheet is drawn when the list first shows
// it, so a long report opens as quickly as a short one.
class ThumbnailModel : public QAbstractListModel {
  public:
    ThumbnailModel(const Document& doc, const PageSetup& setup, QObject* parent)
        : QAbstractListModel(parent), doc_(doc), setup_(setup) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : doc_.PageCount();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const int page = index.row();
        if (role == Qt::DisplayRole) return QString::number(page + 1);
        if (role == Qt::ToolTipRole) return U("%1 ページ").arg(page + 1);
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignHCenter | Qt::AlignTop);
        if (role != Qt::DecorationRole) return {};
        auto it = cache_.find(page);
        if (it != cache_.end()) return it->second;
        if (cache_.size() >= std::size_t(kThumbnailCache)) cache_.clear();
        // Drawn at twice the size and scaled down, so the lines read as lines.
        const double dpi = 2.0 * kThumbnailWidthPx / (kPaperWidthMm / 25.4);
        const QImage big = renderPageImage(doc_, page, dpi, setup_);
        QImage small = big.scaledToWidth(kThumbnailWidthPx, Qt::SmoothTransformation);
        QPainter p(&small);
        p.setPen(QColor(120, 120, 120));
        p.drawRect(small.rect().adjusted(0, 0, -1, -1));
        p.end();
        return cache_[page] = QPixmap::fromImage(small);
    }

  private:
    const Document& doc_;
    PageSetup setup_;
    mutable std::map<int, QPixmap> cache_;
};

}  // namespace

QString DocumentName(const Document& doc) {
    if (!doc.title.empty()) return Q(doc.title);
    return U("計算書");
}

QString FileNameFor(const QString& name) {
    QString out;
    for (const QChar c : name) {
        // Characters no file name may hold here or on the systems the file may travel to.
        out += QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20 ? QChar(u'_') : c;
    }
    out = out.trimmed();
    while (out.startsWith(QLatin1Char('.'))) out.remove(0, 1);
    return out.isEmpty() ? U("計算書") : out.left(100);
}

int NextZoomStep(int percent, int direction) {
    if (direction > 0) {
        for (int z : kZoomLadder)
            if (z > percent) return z;
        return kZoomLadder[std::size(kZoomLadder) - 1];
    }
    int next = kZoomLadder[0];
    for (int z : kZoomLadder)
        if (z < percent) next = z;
    return next;
}

bool PreviewDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(U("印刷"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    return dialog.exec() == QDialog::Accepted;
}

QString PreviewDialogs::SaveFileName(QWidget* parent, const QString& suggested) {
    // The application's own file dialog, its listing in Japanese and safe from special files.
    widgets::ListingOnlyIconProvider icons;
    QFileDialog dialog(parent, U("PDF保存"));  // as the command that opens it
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontUseCustomDirectoryIcons);
    dialog.setIconProvider(&icons);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(U("PDF ファイル (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void PreviewDialogs::ShowMessage(QWidget* parent, const Message& m) {
    widgets::MakeMessageBox(parent, m)->exec();
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

PageView::Place PageView::PlaceAt(double fraction) const {
    Place at;
    if (doc_.PageCount() == 0) return at;
    const double sheetH = kPaperHeightMm * pxPerMm_ + kGapPx;
    const double y = verticalScrollBar()->value() + viewport()->height() * fraction - kGapPx;
    at.page = std::clamp(int(std::floor(y / sheetH)), 0, doc_.PageCount() - 1);
    at.mm = std::max(0.0, (y - at.page * sheetH) / pxPerMm_);
    return at;
}

void PageView::SetMatches(std::vector<TextMatch> matches, int current) {
    matches_ = std::move(matches);
    currentMatch_ = current;
    viewport()->update();
}

QRectF PageView::MatchRect(const TextMatch& m) const {
    const PageGeometry g = GeometryFor(setup_);
    const QRectF sheet = PageRect(m.page);
    // A little wider than the glyphs, so a frame around one character is still seen.
    return QRectF(sheet.left() + (g.ColumnX(m.column) - 0.3) * pxPerMm_,
                  sheet.top() + g.LineTop(m.line) * pxPerMm_,
                  (m.columns * g.columnPitch + 0.6) * pxPerMm_, g.linePitch * pxPerMm_);
}

void PageView::Reveal(const TextMatch& m) {
    const QRectF r = MatchRect(m);
    const int margin = int(std::lround(3 * GeometryFor(setup_).linePitch * pxPerMm_));
    if (r.top() < 0 || r.bottom() > viewport()->height()) {
        // The match's line a third down the view, where the eye looks first.
        verticalScrollBar()->setValue(verticalScrollBar()->value() + int(r.top()) -
                                      std::max(margin, viewport()->height() / 3));
    }
    if (r.left() < 0 || r.right() > viewport()->width()) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + int(r.left()) - margin);
    }
    viewport()->update();
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
        // The search matches on this sheet: yellow under the text (multiplied, so the text stays
        // black), the current one orange and framed.
        auto first = std::lower_bound(matches_.begin(), matches_.end(), i,
                                      [](const TextMatch& m, int page) { return m.page < page; });
        for (auto it = first; it != matches_.end() && it->page == i; ++it) {
            const bool current = int(it - matches_.begin()) == currentMatch_;
            const QRectF box = MatchRect(*it);
            p.setCompositionMode(QPainter::CompositionMode_Multiply);
            p.fillRect(box, current ? QColor(255, 165, 40) : QColor(255, 240, 90));
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (current) {
                p.setPen(QPen(QColor(200, 90, 0), 2));
                p.drawRect(box);
            }
        }
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
        // The wheel climbs the same ladder as the zoom keys.
        const int steps = e->angleDelta().y() / 120;
        int zoom = ZoomPercent();
        for (int i = 0; i < std::abs(steps); ++i) zoom = NextZoomStep(zoom, steps);
        if (steps != 0) SetZoomPercent(zoom);
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
      dialogs_(dialogs),
      guideFile_(guide::FindGuide(QCoreApplication::applicationDirPath().toStdString())) {
    setWindowTitle(U("印刷プレビュー"));
    view_ = new PageView(doc_, setup_, this);
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(view_, 1);
    setCentralWidget(central);
    BuildActions();
    BuildFindBar();
    column->addWidget(findBar_);
    BuildMenus();
    BuildSidePanel();
    connect(view_, &PageView::CurrentPageChanged, this, &PreviewWindow::UpdatePageControls);
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &PreviewWindow::FollowPlace);
    connect(view_, &PageView::ZoomChanged, this, &PreviewWindow::UpdateZoomControls);
    RestoreSettings();
    UpdateZoomControls();
    UpdatePageControls(0);
    FollowPlace();
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
    // Every command is an action of the window (its keys work wherever the focus is) and, with
    // its keys shown, an item of the menus; the toolbar holds the frequent ones.
    auto make = [&](const char* name, const char* text, QList<QKeySequence> keys, auto slot) {
        auto* a = new QAction(U(text), this);
        a->setObjectName(QString::fromUtf8(name));
        // A standard key that is one of the others already (ZoomOut is Ctrl+-) once only: the
        // same key twice makes it ambiguous, and it then does nothing at all.
        QList<QKeySequence> unique;
        for (const QKeySequence& k : keys) {
            if (!k.isEmpty() && !unique.contains(k)) unique << k;
        }
        a->setShortcuts(unique);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto add = [&](const char* name, const char* text, QList<QKeySequence> keys, auto slot) {
        QAction* a = make(name, text, std::move(keys), slot);
        bar->addAction(a);
        return a;
    };
    add("actPrint", "印刷(&P)...", {QKeySequence(Qt::CTRL | Qt::Key_P)}, [this] { Print(); });
    add("actPdf", "PDF保存(&S)...", {QKeySequence(Qt::CTRL | Qt::Key_S)}, [this] { SavePdf(); });
    bar->addSeparator();
    add("actFirst", "先頭", {QKeySequence(Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_Home)},
        [this] { GoToPage(0); });
    add("actPrevious", "前へ", {QKeySequence(Qt::Key_PageUp)},
        [this] { GoToPage(view_->CurrentPage() - 1); });
    pageBox_ = new QSpinBox(bar);
    pageBox_->setRange(1, std::max(1, doc_.PageCount()));
    pageBox_->setKeyboardTracking(false);
    pageBox_->setAccessibleName(U("ページ番号"));
    bar->addWidget(pageBox_);
    pageCount_ = new QLabel(QStringLiteral(" / %1 ").arg(doc_.PageCount()), bar);
    bar->addWidget(pageCount_);
    connect(pageBox_, &QSpinBox::valueChanged, this, [this](int v) { GoToPage(v - 1); });
    add("actNext", "次へ", {QKeySequence(Qt::Key_PageDown)},
        [this] { GoToPage(view_->CurrentPage() + 1); });
    add("actLast", "最後", {QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_End)},
        [this] { GoToPage(doc_.PageCount() - 1); });
    bar->addSeparator();
    add("actFitWidth", "幅に合わせる", {QKeySequence(Qt::CTRL | Qt::Key_2)},
        [this] { view_->SetZoomMode(ZoomMode::FitWidth); });
    add("actFitPage", "ページ全体", {QKeySequence(Qt::CTRL | Qt::Key_1)},
        [this] { view_->SetZoomMode(ZoomMode::FitPage); });
    add("actZoomOut", "縮小", {QKeySequence(Qt::CTRL | Qt::Key_Minus), QKeySequence::ZoomOut},
        [this] { ZoomStep(-1); });
    zoomBox_ = new QComboBox(bar);
    zoomBox_->setEditable(true);
    zoomBox_->setInsertPolicy(QComboBox::NoInsert);
    zoomBox_->setAccessibleName(U("倍率"));
    for (int z : kZoomLadder) zoomBox_->addItem(QStringLiteral("%1%").arg(z), z);
    bar->addWidget(zoomBox_);
    connect(zoomBox_, &QComboBox::textActivated, this, [this](const QString& t) {
        QString s = t.trimmed();
        if (s.endsWith(QLatin1Char('%'))) s.chop(1);
        bool ok = false;
        const int v = s.toInt(&ok);
        if (ok && v > 0) view_->SetZoomPercent(v);
    });
    // Ctrl+= as well: on most keyboards + is the shifted = key.
    add("actZoomIn", "拡大",
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
         QKeySequence::ZoomIn},
        [this] { ZoomStep(+1); });
    bar->addSeparator();
    // No access key: Alt+F is the File menu's.
    add("actFind", "検索...", {QKeySequence(Qt::CTRL | Qt::Key_F)}, [this] { OpenFindBar(); });
    bar->addSeparator();
    add("actClose", "閉じる(&C)", {QKeySequence(Qt::Key_Escape)}, [this] { close(); });
    make("actFindNext", "次を検索", {QKeySequence(Qt::Key_F3)}, [this] { FindNext(); });
    make("actFindPrevious", "前を検索", {QKeySequence(Qt::SHIFT | Qt::Key_F3)},
         [this] { FindPrevious(); });
    make("actHelp", "ヘルプ(&H)...", {QKeySequence(Qt::Key_F1)}, [this] { ShowHelp(); });
}

void PreviewWindow::BuildMenus() {
    auto act = [this](const char* name) { return findChild<QAction*>(QString::fromUtf8(name)); };
    QMenu* file = menuBar()->addMenu(U("ファイル(&F)"));
    file->addAction(act("actPrint"));
    file->addAction(act("actPdf"));
    file->addSeparator();
    file->addAction(act("actClose"));

    QMenu* view = menuBar()->addMenu(U("表示(&V)"));
    viewMenu_ = view;
    view->addAction(act("actZoomIn"));
    view->addAction(act("actZoomOut"));
    QMenu* ladder = view->addMenu(U("倍率(&Z)"));
    zoomLadder_ = new QActionGroup(this);
    for (int z : kZoomLadder) {
        QAction* a = ladder->addAction(QStringLiteral("%1%").arg(z));
        a->setCheckable(true);
        a->setData(z);
        zoomLadder_->addAction(a);
        connect(a, &QAction::triggered, this, [this, z] { view_->SetZoomPercent(z); });
    }
    view->addAction(act("actFitWidth"));
    view->addAction(act("actFitPage"));
    view->addSeparator();
    view->addAction(act("actFirst"));
    view->addAction(act("actPrevious"));
    view->addAction(act("actNext"));
    view->addAction(act("actLast"));

    QMenu* find = menuBar()->addMenu(U("検索(&E)"));
    find->addAction(act("actFind"));
    find->addAction(act("actFindNext"));
    find->addAction(act("actFindPrevious"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
    help->addAction(act("actHelp"));
}

void PreviewWindow::BuildFindBar() {
    findBar_ = new QWidget(this);
    findBar_->setObjectName(QStringLiteral("findBar"));
    auto* row = new QHBoxLayout(findBar_);
    row->setContentsMargins(6, 3, 6, 3);
    auto* label = new QLabel(U("検索(&N):"), findBar_);
    findEdit_ = new QLineEdit(findBar_);
    findEdit_->setObjectName(QStringLiteral("findField"));
    findEdit_->setPlaceholderText(U("探す文字 (Enter: 次、Shift+Enter: 前)"));
    findEdit_->setClearButtonEnabled(true);
    findEdit_->installEventFilter(this);
    label->setBuddy(findEdit_);
    auto button = [&](const char* text, const char* tip, auto slot) {
        auto* b = new QToolButton(findBar_);
        b->setText(U(text));
        b->setToolTip(U(tip));
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QToolButton::clicked, this, slot);
        row->addWidget(b);
        return b;
    };
    row->addWidget(label);
    row->addWidget(findEdit_, 1);
    button("▲ 前", "前を検索 (Shift+F3)", [this] { FindPrevious(); });
    button("▼ 次", "次を検索 (F3)", [this] { FindNext(); });
    findStatus_ = new QLabel(findBar_);
    findStatus_->setObjectName(QStringLiteral("findStatus"));
    findStatus_->setMinimumWidth(findStatus_->fontMetrics().horizontalAdvance(U("見つかりません")) +
                                 8);
    row->addWidget(findStatus_);
    button("×", "検索を閉じる (Esc)", [this] { CloseFindBar(); });
    connect(findEdit_, &QLineEdit::textChanged, this, &PreviewWindow::Search);
    findBar_->hide();
}

void PreviewWindow::BuildSidePanel() {
    auto* dock = new QDockWidget(U("目次"), this);
    dock->setObjectName(QStringLiteral("bookmarks"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    sideTabs_ = new QTabWidget(dock);
    sideTabs_->setDocumentMode(true);
    BuildBookmarks();
    BuildThumbnails();
    sideTabs_->addTab(bookmarks_, U("見出し"));
    sideTabs_->addTab(thumbnails_, U("サムネイル"));
    if (doc_.bookmarks.empty()) {
        // A report without headings still has its pages.
        sideTabs_->setTabEnabled(0, false);
        sideTabs_->setCurrentIndex(1);
    }
    dock->setWidget(sideTabs_);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    // The panel can be closed; the View menu (and its key) brings it back.
    QAction* shown = dock->toggleViewAction();
    shown->setObjectName(QStringLiteral("actSidePanel"));
    shown->setText(U("目次とサムネイル(&B)"));
    shown->setShortcut(QKeySequence(Qt::Key_F9));
    shown->setShortcutContext(Qt::WindowShortcut);
    addAction(shown);
    viewMenu_->addSeparator();
    viewMenu_->addAction(shown);
}

void PreviewWindow::BuildBookmarks() {
    bookmarks_ = new QTreeWidget(this);
    bookmarks_->setObjectName(QStringLiteral("headings"));
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
        bookmarkItems_.push_back(item);
    }
    bookmarks_->expandAll();
    connect(bookmarks_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const int i = item->data(0, Qt::UserRole).toInt();
        const Bookmark& b = doc_.bookmarks[std::size_t(i)];
        view_->ShowPage(b.page, GeometryFor(setup_).LineTop(b.line));
        // The heading chosen stays marked even when the next one is in view as well.
        bookmarkScroll_ = view_->verticalScrollBar()->value();
        bookmarks_->setCurrentItem(item);
    });
    connect(bookmarks_, &QTreeWidget::itemActivated, bookmarks_, &QTreeWidget::itemClicked);
}

void PreviewWindow::BuildThumbnails() {
    thumbnails_ = new QListView(this);
    thumbnails_->setObjectName(QStringLiteral("thumbnails"));
    thumbnails_->setModel(new ThumbnailModel(doc_, setup_, thumbnails_));
    thumbnails_->setViewMode(QListView::IconMode);
    thumbnails_->setFlow(QListView::TopToBottom);
    thumbnails_->setWrapping(false);
    thumbnails_->setMovement(QListView::Static);
    thumbnails_->setResizeMode(QListView::Adjust);
    thumbnails_->setUniformItemSizes(true);
    thumbnails_->setSpacing(6);
    thumbnails_->setIconSize(QSize(
        kThumbnailWidthPx, int(std::lround(kThumbnailWidthPx * kPaperHeightMm / kPaperWidthMm))));
    thumbnails_->setSelectionMode(QAbstractItemView::SingleSelection);
    thumbnails_->setMinimumWidth(kThumbnailWidthPx + 40);
    connect(thumbnails_, &QListView::clicked, this,
            [this](const QModelIndex& index) { GoToPage(index.row()); });
    connect(thumbnails_, &QListView::activated, this,
            [this](const QModelIndex& index) { GoToPage(index.row()); });
}

void PreviewWindow::GoToPage(int page) {
    view_->ShowPage(std::clamp(page, 0, std::max(0, doc_.PageCount() - 1)));
}

void PreviewWindow::UpdatePageControls(int page) {
    if (pageBox_ == nullptr) return;
    const QSignalBlocker block(pageBox_);
    pageBox_->setValue(page + 1);
}

void PreviewWindow::FollowPlace() {
    if (thumbnails_ != nullptr && doc_.PageCount() > 0) {
        const QModelIndex index = thumbnails_->model()->index(view_->CurrentPage(), 0);
        if (thumbnails_->currentIndex() != index) {
            thumbnails_->setCurrentIndex(index);
            thumbnails_->scrollTo(index);
        }
    }
    if (bookmarkItems_.empty()) return;
    if (view_->verticalScrollBar()->value() == bookmarkScroll_) return;
    bookmarkScroll_ = -1;
    // The heading of the text at the upper quarter of the view: the last one that begins above.
    const PageView::Place at = view_->PlaceAt(0.25);
    const PageGeometry g = GeometryFor(setup_);
    int shown = -1;
    for (std::size_t i = 0; i < doc_.bookmarks.size(); ++i) {
        const Bookmark& b = doc_.bookmarks[i];
        if (b.page > at.page || (b.page == at.page && g.LineTop(b.line) > at.mm)) break;
        shown = int(i);
    }
    if (shown < 0) {
        bookmarks_->setCurrentItem(nullptr);
        bookmarks_->clearSelection();
        return;
    }
    QTreeWidgetItem* item = bookmarkItems_[std::size_t(shown)];
    if (bookmarks_->currentItem() != item) {
        bookmarks_->setCurrentItem(item);
        bookmarks_->scrollToItem(item);
    }
}

void PreviewWindow::ZoomStep(int direction) {
    view_->SetZoomPercent(NextZoomStep(view_->ZoomPercent(), direction));
}

void PreviewWindow::UpdateZoomControls() {
    const int zoom = view_->ZoomPercent();
    if (zoomBox_ != nullptr) {
        const QSignalBlocker block(zoomBox_);
        zoomBox_->setEditText(QStringLiteral("%1%").arg(zoom));
    }
    if (zoomLadder_ == nullptr) return;
    // A fitted zoom between two steps checks none of them.
    const bool custom = view_->Mode() == ZoomMode::Custom;
    for (QAction* a : zoomLadder_->actions()) a->setChecked(custom && a->data().toInt() == zoom);
}

// ---- Search -----------------------------------------------------------------------------------

void PreviewWindow::OpenFindBar() {
    findBar_->show();
    findEdit_->setFocus(Qt::ShortcutFocusReason);
    findEdit_->selectAll();
    // Back to a search that was closed: its matches show again.
    if (matches_.empty() && !findEdit_->text().isEmpty()) Search(findEdit_->text());
}

void PreviewWindow::CloseFindBar() {
    findBar_->hide();
    matches_.clear();
    currentMatch_ = -1;
    view_->SetMatches({}, -1);
    findStatus_->clear();
    view_->setFocus(Qt::OtherFocusReason);
}

void PreviewWindow::Search(const QString& text) {
    matches_ = FindText(doc_, text);
    currentMatch_ = FirstMatchFrom(matches_, view_->CurrentPage());
    ShowMatch();
}

void PreviewWindow::FindStep(int direction) {
    if (findBar_->isHidden() || findEdit_->text().trimmed().isEmpty()) {
        OpenFindBar();
        return;
    }
    if (matches_.empty()) {
        ShowMatch();  // says again that there is none
        return;
    }
    const int n = int(matches_.size());
    int next = currentMatch_ + direction;
    QString wrapped;
    if (next >= n) {
        next = 0;
        wrapped = U("最後まで検索しました。先頭から続けます。");
    } else if (next < 0) {
        next = n - 1;
        wrapped = U("先頭まで検索しました。最後から続けます。");
    }
    currentMatch_ = next;
    ShowMatch();
    if (!wrapped.isEmpty()) statusBar()->showMessage(wrapped, 4000);
}

void PreviewWindow::ShowMatch() {
    view_->SetMatches(matches_, currentMatch_);
    const QString text = findEdit_->text();
    if (text.trimmed().isEmpty()) {
        findStatus_->clear();
        findEdit_->setStyleSheet(QString());
        statusBar()->clearMessage();
        return;
    }
    if (matches_.empty()) {
        findStatus_->setText(U("見つかりません"));
        // The field turns pink, as a reader expects of a search that fails.
        findEdit_->setStyleSheet(QStringLiteral("QLineEdit { background: #ffd6d6; }"));
        statusBar()->showMessage(U("「%1」は見つかりません。").arg(text));
        return;
    }
    findEdit_->setStyleSheet(QString());
    findStatus_->setText(U("%1 / %2 件").arg(currentMatch_ + 1).arg(matches_.size()));
    statusBar()->clearMessage();
    const TextMatch& m = matches_[std::size_t(currentMatch_)];
    view_->Reveal(m);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == findEdit_) {
        if (event->type() == QEvent::ShortcutOverride) {
            // Esc in the field closes the bar, not the window.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape) {
                event->accept();
                return true;
            }
        } else if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape) {
                CloseFindBar();
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                FindStep(key->modifiers() & Qt::ShiftModifier ? -1 : +1);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void PreviewWindow::ShowHelp() {
    if (const std::optional<Message> failure =
            guide::OpenGuide(this, guideFile_, guide::kTopicPreview)) {
        dialogs_.ShowMessage(this, *failure);
    }
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
    printer.setDocName(DocumentName(doc_));
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
    // Beside the design with its name; a design never saved goes to the documents folder under
    // its title (the print file itself lives in a temporary folder nobody should save into).
    QString suggested = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                        QLatin1Char('/') + FileNameFor(DocumentName(doc_)) + QStringLiteral(".pdf");
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
    // An A4 page at a readable size, or the size the user left; never more than the screen has
    // room for.
    QSize size(900, 1000);
    QPoint at(-1, -1);
    bool placed = false;
    if (!file.empty()) {
        const int w = ReadInt(file, ini::kPreviewWindow, ini::kWidth, 0);
        const int h = ReadInt(file, ini::kPreviewWindow, ini::kHeight, 0);
        if (w >= 300 && h >= 200 && w <= 20000 && h <= 20000) size = QSize(w, h);
        const int x = ReadInt(file, ini::kPreviewWindow, ini::kLeft, -100000);
        const int y = ReadInt(file, ini::kPreviewWindow, ini::kTop, -100000);
        // "Left" and "Top" are the frame's corner; a place off every screen (a monitor since
        // removed) is not used.
        if (x > -100000 && y > -100000 && QGuiApplication::screenAt(QPoint(x + 40, y + 20))) {
            at = QPoint(x, y);
            placed = true;
        }
    }
    QScreen* screen = placed ? QGuiApplication::screenAt(at + QPoint(40, 20)) : this->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QMargins frame = widgets::FrameMargins(this);
    if (screen) {
        const QRect free = screen->availableGeometry();
        if (!placed) {
            at = free.topLeft() + QPoint(std::max(0, (free.width() - size.width()) / 2), 0);
        }
        const QRect fit = widgets::FitRect(QRect(at, size.grownBy(frame)), free);
        at = fit.topLeft();
        size = fit.size().shrunkBy(frame);
    }
    resize(size);
    move(at);
    if (file.empty()) return;
    if (ReadInt(file, ini::kPreviewWindow, ini::kMaximized, 0) == 1)
        setWindowState(Qt::WindowMaximized);
    const int mode = ReadInt(file, ini::kPreviewView, ini::kZoomMode, 0);
    const int zoom = ReadInt(file, ini::kPreviewView, ini::kZoom, 100);
    if (mode == int(ZoomMode::Custom)) {
        view_->SetZoomPercent(zoom);
    } else {
        view_->SetZoomMode(mode == int(ZoomMode::FitPage) ? ZoomMode::FitPage : ZoomMode::FitWidth);
    }
}

void PreviewWindow::StoreSettings() {
    const std::string file = SettingsFile();
    if (file.empty()) return;
    // The frame's corner, as move() takes it: the window opens where it was, not a title bar
    // lower each time.
    const QRect g = normalGeometry();
    const QMargins frame = widgets::FrameMargins(this);
    auto put = [&](std::string_view section, std::string_view key, int v) {
        CPrivateProfile::SetValueString(file, section, key, std::to_string(v));
    };
    put(ini::kPreviewWindow, ini::kLeft, g.x() - frame.left());
    put(ini::kPreviewWindow, ini::kTop, g.y() - frame.top());
    put(ini::kPreviewWindow, ini::kWidth, g.width());
    put(ini::kPreviewWindow, ini::kHeight, g.height());
    put(ini::kPreviewWindow, ini::kMaximized, isMaximized() ? 1 : 0);
    put(ini::kPreviewView, ini::kZoomMode, int(view_->Mode()));
    put(ini::kPreviewView, ini::kZoom, view_->ZoomPercent());
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
