// The user guide: the Japanese guide (HTML, built from docs/guide with the field tables of the
// program's own ranges), installed in "guide" beside the programs with its pictures and shown in
// a help window at the section of the window that asked. The build tree's program folder holds it
// the same way. A missing or unreadable guide is reported as a message for the caller to show;
// nothing here shows a message box.
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"

class QTextBrowser;
class QUrl;

namespace kuvelt::guide {

// Pictures of the guide wider than this (pixels) are shown scaled down to it: the page of the help
// window as it opens.
inline constexpr int kGuidePictureWidth = 720;

// The sections of the guide, as the windows' help contexts (0: none).
enum Topic : int {
    kTopicWorkflow = 1,  // the main window: the workflow as a whole
    kTopicConditions = 10,
    kTopicGround = 11,
    kTopicMaterials = 12,
    kTopicSections = 13,  // the three registration grids
    kTopicCover = 14,
    kTopicStructure = 15,
    kTopicChoice = 16,
    kTopicStability = 17,  // boiling and heaving
    kTopicPrint = 19,
    kTopicNumbering = 20,
    kTopicPreview = 30,
};

// Every topic in the order of the guide's sections, for the tests that each one is found there.
std::vector<int> Topics();

// The anchor of the section of `topic` in the guide ("conditions"); "" for an unknown topic (the
// guide then opens at its top).
QString TopicAnchor(int topic);

// The guide of the programs in `programFolder`: "<programFolder>/guide/index.html" (named even when
// it is missing, so the message says where it belongs).
std::string FindGuide(const std::string& programFolder);

// The message for a guide that cannot be read at `path` (the system's cause when it has one).
Message MissingGuideMessage(const std::string& path, const std::string& reason = {});

// The help window: the guide in a text browser, opened at a section, with 戻る / 進む through the
// links followed and 目次 for the top. It belongs to the window that asked (a modal input window's
// help stays usable beside it and closes with it); Esc closes it.
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Loads the guide (when it is another file than the one shown); false when it cannot be read.
    bool Load(const std::string& path, std::string* reason = nullptr);
    // Scrolls to the section; false when the guide has none for the topic (left at the top).
    bool ShowTopic(int topic);
    QTextBrowser* browser() const { return browser_; }
    const std::string& file() const { return file_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ScrollToPending();
    // A clicked link: a section of the guide (kept in the history for 戻る), a picture shown
    // whole in a window of its own, or an address the desktop opens.
    void Follow(const QUrl& link);

    QTextBrowser* browser_ = nullptr;
    std::string file_;
    int pendingTopic_ = 0;
};

// Opens the guide `path` at `topic` in the help window of `parent`'s window (made on first use,
// then reused and raised). nullopt when it is shown, else the message to show.
std::optional<Message> OpenGuide(QWidget* parent, const std::string& path, int topic);

}  // namespace kuvelt::guide
