// The user guide: the README's guide (Markdown), installed beside the programs with its pictures,
// shown in a simple help window at the section of the window that asked. A program run from the
// build tree reads the guide of the source tree. A missing or unreadable guide is reported as a
// message for the caller to show; nothing here shows a message box.
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"

class QTextBrowser;

namespace kuvelt::guide {

// The sections of the guide, as the windows' help contexts (0: none).
enum Topic : int {
    kTopicWorkflow = 1,  // the main window: the workflow as a whole
    kTopicConditions = 10,
    kTopicGround = 11,
    kTopicMaterials = 12,
    kTopicSections = 13,  // the three registration grids
    kTopicChoice = 16,
    kTopicStability = 17,  // boiling and heaving
    kTopicPrint = 19,
    kTopicNumbering = 20,
    kTopicPreview = 30,
};

// Every topic, for the tests that each one is found in the guide.
std::vector<int> Topics();

// How the section of `topic` begins in the guide: the text its heading or list item starts with;
// "" for an unknown topic (the guide then opens at its top).
QString TopicStart(int topic);

// Where the guide is looked for: "<program folder>/README.md", then, for a program in the build
// tree, the source tree's README.md.
std::vector<std::string> GuideCandidates(const std::string& programFolder);
// The first candidate that exists; the first candidate when none does (so the message names
// where the guide belongs).
std::string FindGuide(const std::string& programFolder);

// The message for a guide that cannot be read at `path` (the system's cause when it has one).
Message MissingGuideMessage(const std::string& path, const std::string& reason = {});

// The help window: the guide in a text browser, opened at a section. It belongs to the window that
// asked (a modal input window's help stays usable beside it and closes with it); Esc closes it.
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

    QTextBrowser* browser_ = nullptr;
    std::string file_;
    int pendingTopic_ = 0;
};

// Opens the guide `path` at `topic` in the help window of `parent`'s window (made on first use,
// then reused and raised). nullopt when it is shown, else the message to show.
std::optional<Message> OpenGuide(QWidget* parent, const std::string& path, int topic);

}  // namespace kuvelt::guide
