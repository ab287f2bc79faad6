#include "ui/common/user_guide.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
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
    const char* start;
};

// The captions the guide's sections begin with: the window's own name, so a reader finds the
// section the window asked for by its title.
const TopicText kTopics[] = {
    {kTopicWorkflow, "The workflow through the windows"},
    {kTopicConditions, "設計条件の入力"},
    {kTopicGround, "地盤条件の入力"},
    {kTopicMaterials, "材料条件の入力"},
    {kTopicSections, "コンクリート矢板・軽量鋼矢板・鋼矢板断面の登録"},
    {kTopicChoice, "使用断面の決定"},
    {kTopicStability, "ボイリングの検討"},
    {kTopicPrint, "計算結果の印刷"},
    {kTopicNumbering, "連番条件設定"},
    {kTopicPreview, "The preview"},
};

// The first block of the guide whose text starts with the section's caption.
QTextBlock FindSection(const QTextDocument& doc, const QString& start) {
    if (start.isEmpty()) return {};
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.text().trimmed().startsWith(start)) return b;
    }
    return {};
}

}  // namespace

std::vector<int> Topics() {
    std::vector<int> out;
    for (const TopicText& t : kTopics) out.push_back(t.topic);
    return out;
}

QString TopicStart(int topic) {
    for (const TopicText& t : kTopics) {
        if (t.topic == topic) return QString::fromUtf8(t.start);
    }
    return {};
}

std::vector<std::string> GuideCandidates(const std::string& programFolder) {
    std::vector<std::string> out{paths::Join(programFolder, "README.md")};
    // Only a program in this build's own folder reads the source tree: an installed program
    // never depends on where it was built.
    const QString here = QFileInfo(Q(programFolder)).canonicalFilePath();
    const QString build = QFileInfo(QStringLiteral(KUVELT_BUILD_BIN_DIR)).canonicalFilePath();
    if (!here.isEmpty() && here == build) {
        out.push_back(paths::Join(KUVELT_SOURCE_DIR, "README.md"));
    }
    return out;
}

std::string FindGuide(const std::string& programFolder) {
    const std::vector<std::string> candidates = GuideCandidates(programFolder);
    for (const std::string& c : candidates) {
        if (QFileInfo(Q(c)).isFile()) return c;
    }
    return candidates.front();
}

Message MissingGuideMessage(const std::string& path, const std::string& reason) {
    std::string text = "ﾍﾙﾌﾟ（使い方の説明）を表示できません。\n\nﾌｧｲﾙ名：" + path;
    text += "\n原因：" + (reason.empty() ? std::string("ﾌｧｲﾙが見つかりません") : reason);
    text +=
        "\n\nKuvelt をｲﾝｽﾄｰﾙし直すと，説明のﾌｧｲﾙ（README.md）がﾌﾟﾛｸﾞﾗﾑと同じﾌｫﾙﾀﾞに置かれます。";
    return Message{0, text, "ﾍﾙﾌﾟ", MsgIcon::Exclamation, MsgButtons::Ok};
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("使い方 - Kuvelt"));
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(browser_);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(820, 760);
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
    // The source's folder resolves the guide's pictures (docs/images/...).
    browser_->setSource(QUrl::fromLocalFile(Q(path)), QTextDocument::MarkdownResource);
    file_ = path;
    return true;
}

bool HelpWindow::ShowTopic(int topic) {
    const QTextBlock block = FindSection(*browser_->document(), TopicStart(topic));
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
