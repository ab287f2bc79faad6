#include "widgets/user_guide.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/paths.h"

namespace kuvelt::guide {

namespace {

QString Q(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

struct TopicText {
    int topic;
    const char* anchor;
};

// The sections in the guide's order; each window's section is named by its anchor.
const TopicText kTopics[] = {
    {kTopicWorkflow, "workflow"},   {kTopicConditions, "conditions"},
    {kTopicGround, "ground"},       {kTopicMaterials, "materials"},
    {kTopicSections, "sections"},   {kTopicCover, "cover"},
    {kTopicStructure, "structure"}, {kTopicChoice, "choice"},
    {kTopicStability, "stability"}, {kTopicPrint, "print"},
    {kTopicPreview, "preview"},     {kTopicNumbering, "numbering"},
};

// The guide's browser: a picture wider than the page is shown smoothly scaled down to it (a click
// on the picture shows it whole, see HelpWindow::Follow).
class GuideBrowser : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        QVariant loaded = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource) return loaded;
        QImage picture = QImage::fromData(loaded.toByteArray());
        if (picture.isNull()) return loaded;
        if (picture.width() > kGuidePictureWidth) {
            picture = picture.scaledToWidth(kGuidePictureWidth, Qt::SmoothTransformation);
        }
        return picture;
    }
};

// The block holding the anchor `name` (an <a name> of the guide's HTML).
QTextBlock FindAnchor(const QTextDocument& doc, const QString& name) {
    if (name.isEmpty()) return {};
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name)) return b;
        }
    }
    return {};
}

}  // namespace

std::vector<int> Topics() {
    std::vector<int> out;
    for (const TopicText& t : kTopics) out.push_back(t.topic);
    return out;
}

QString TopicAnchor(int topic) {
    for (const TopicText& t : kTopics) {
        if (t.topic == topic) return QString::fromUtf8(t.anchor);
    }
    return {};
}

std::string FindGuide(const std::string& programFolder) {
    return paths::Join(paths::Join(programFolder, "guide"), "index.html");
}

Message MissingGuideMessage(const std::string& path, const std::string& reason) {
    std::string text = "ﾍﾙﾌﾟ（使い方の説明）を表示できません。\n\nﾌｧｲﾙ名：" + path;
    text += "\n原因：" + (reason.empty() ? std::string("ﾌｧｲﾙが見つかりません") : reason);
    text +=
        "\n\nKuvelt をｲﾝｽﾄｰﾙし直すと，使い方の説明（guide/index.html）がﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞに"
        "置かれます。";
    return Message{0, text, "ﾍﾙﾌﾟ", MsgIcon::Exclamation, MsgButtons::Ok};
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("使い方 - Kuvelt"));
    browser_ = new GuideBrowser(this);
    // Links are followed here: inside the guide with the history, a picture in a window of its
    // own, anything else by the desktop.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::Follow);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const char* name, const char* text, QKeySequence key) {
        QAction* a = bar->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromUtf8(name));
        a->setShortcut(key);
        a->setToolTip(QString::fromUtf8(text) + QStringLiteral(" (") +
                      key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        return a;
    };
    QAction* back = add("actBack", "戻る", QKeySequence(Qt::ALT | Qt::Key_Left));
    QAction* forward = add("actForward", "進む", QKeySequence(Qt::ALT | Qt::Key_Right));
    QAction* home = add("actContents", "目次", QKeySequence(Qt::ALT | Qt::Key_Home));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(home, &QAction::triggered, this, [this] {
        pendingTopic_ = 0;
        browser_->setTextCursor(QTextCursor(browser_->document()));
        ScrollToPending();
    });
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bar);
    column->addWidget(browser_);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    // Room for a picture of the guide's page width; within a small screen with its title bar.
    const QSize wanted(kGuidePictureWidth + 100, 760);
    resize(screen() ? wanted.boundedTo(screen()->availableSize() * 0.9) : wanted);
}

bool HelpWindow::Load(const std::string& path, std::string* reason) {
    QFile f(Q(path));
    const QFileInfo info(f);
    std::string why;
    if (!info.exists()) {
        why = "ﾌｧｲﾙが見つかりません";
    } else if (!info.isFile()) {
        why = "通常のﾌｧｲﾙではありません";
    } else if (!f.open(QIODevice::ReadOnly)) {
        why = f.errorString().toStdString();
    }
    if (!why.empty()) {
        if (reason) *reason = why;
        return false;
    }
    if (path == file_) return true;
    // The guide's folder resolves its pictures (images/...).
    browser_->setSource(QUrl::fromLocalFile(Q(path)), QTextDocument::HtmlResource);
    browser_->clearHistory();
    file_ = path;
    return true;
}

void HelpWindow::Follow(const QUrl& link) {
    const QUrl target = browser_->source().resolved(link);
    if (!target.isLocalFile()) {
        QDesktopServices::openUrl(target);
        return;
    }
    if (!target.path().endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        browser_->setSource(target);
        return;
    }
    auto* view = new QScrollArea(this);
    view->setWindowFlag(Qt::Window);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setObjectName(QStringLiteral("helpPicture"));
    view->setWindowTitle(target.fileName() + QStringLiteral(" - 使い方 - Kuvelt"));
    auto* picture = new QLabel(view);
    picture->setPixmap(QPixmap(target.toLocalFile()));
    view->setWidget(picture);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), view);
    connect(close, &QShortcut::activated, view, &QWidget::close);
    const QSize room = screen() ? screen()->availableSize() * 0.9 : QSize(1280, 720);
    view->resize(picture->sizeHint().boundedTo(room) + QSize(4, 4));
    view->show();
}

bool HelpWindow::ShowTopic(int topic) {
    const QTextBlock block = FindAnchor(*browser_->document(), TopicAnchor(topic));
    QTextCursor cursor(browser_->document());
    if (block.isValid()) cursor.setPosition(block.position());
    browser_->setTextCursor(cursor);
    pendingTopic_ = block.isValid() ? topic : 0;
    ScrollToPending();
    return block.isValid();
}

void HelpWindow::ScrollToPending() {
    QScrollBar* bar = browser_->verticalScrollBar();
    if (pendingTopic_ == 0) {
        bar->setValue(0);
        return;
    }
    const QTextBlock block = browser_->textCursor().block();
    // The section's first line at the top of the window.
    const QRectF r = browser_->document()->documentLayout()->blockBoundingRect(block);
    bar->setValue(int(r.top()));
}

void HelpWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The layout takes the window's width only now; the section moves with it.
    QTimer::singleShot(0, this, &HelpWindow::ScrollToPending);
}

std::optional<Message> OpenGuide(QWidget* parent, const std::string& path, int topic) {
    QWidget* owner = parent ? parent->window() : nullptr;
    HelpWindow* help =
        owner ? owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    const bool made = help == nullptr;
    if (made) help = new HelpWindow(owner);
    std::string reason;
    if (path.empty() || !help->Load(path, &reason)) {
        if (made) delete help;
        return MissingGuideMessage(path, reason);
    }
    if (!owner) help->setAttribute(Qt::WA_DeleteOnClose);
    help->ShowTopic(topic);
    help->show();
    help->raise();
    help->activateWindow();
    return std::nullopt;
}

}  // namespace kuvelt::guide
