#include "ui/frmMenuMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>

#include "io/design_file.h"
#include "model/design.h"
#include "platform/numfmt.h"
#include "platform/profile.h"
#include "preview/render/page_painter.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/frmAbout.h"
#include "ui/input_window.h"
#include "ui/ui_services.h"
#include "ui/window_position.h"
#include "widgets/user_guide.h"

namespace kuvelt::ui {

namespace {

const char* const kCaptions[] = {
    "設計条件の入力",       "地盤条件の入力",     "材料条件の入力", "コンクリート矢板断面の登録",
    "軽量鋼矢板断面の登録", "鋼矢板断面の登録",   "使用断面の決定", "ボイリングの検討",
    "ヒービングの検討",     "　　計算結果の印刷", "連番条件設定"};
const char* const kTags[] = {"InpJyoken", "InpJiban",  "InpZairyo", "InpSectC",
                             "InpSectLS", "InpSectS",  "InpYaita",  "ResOutAs",
                             "ResOutAc",  "MenuPrint", "InpRenban"};

// Access keys of the buttons (Alt+letter), shown after the caption; F and ? belong to the menus.
const char* const kAccessKeys = "JGMCLSDBHPN";
const char kExitKey = 'X';
const char kCoverKey = 'K';

const char* const kFilter = "入力ﾃﾞｰﾀ(*.kvt)|*.kvt";

// The highlight colour of an enabled button's text; a disabled button keeps the grey text of
// every disabled button, whatever it showed before.
void SetHighlighted(QPushButton* b, bool on) {
    QPalette p = b->palette();
    const QPalette& app = QApplication::palette(b);
    for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::ButtonText,
                   app.color(g, on ? QPalette::Highlight : QPalette::ButtonText));
    }
    p.setColor(QPalette::Disabled, QPalette::ButtonText,
               app.color(QPalette::Disabled, QPalette::ButtonText));
    b->setPalette(p);
}

}  // namespace

const char* frmMenuMain::ButtonCaption(int index) { return kCaptions[index]; }
const char* frmMenuMain::ButtonTag(int index) { return kTags[index]; }

frmMenuMain::frmMenuMain(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Kuvelt"));
    BuildMenus();
    BuildToolBar();
    BuildButtons();
}

void frmMenuMain::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    auto add = [&](const char* name, const char* text, auto slot) {
        QAction* a = file->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromUtf8(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add("mnuFileNew", "新規作成(&N)", [this] { FileNew(); })->setShortcut(QKeySequence::New);
    add("mnuFileOpen", "ﾌｧｲﾙを開く(&O)...", [this] {
        FileOpen();
    })->setShortcut(QKeySequence::Open);
    add("mnuFileSaveAs", "ﾌｧｲﾙに名前を付けて保存(&A)...", [this] {
        FileSaveAs();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    add("mnuFileSave", "ﾌｧｲﾙの上書き保存(&S)...", [this] {
        FileSave();
    })->setShortcut(QKeySequence::Save);
    file->addSeparator();
    for (int i = 1; i <= 4; ++i) {
        QAction* a = file->addAction(QStringLiteral("&") + QString::number(i));
        a->setObjectName(QStringLiteral("mnuFileHistory") + QString::number(i));
        a->setEnabled(false);
        connect(a, &QAction::triggered, this, [this, i] { FileHistory(i); });
        mnuHistory_[std::size_t(i - 1)] = a;
    }
    file->addSeparator();
    add("mnuFileExit", "ﾌﾟﾛｸﾞﾗﾑ終了(&X)", [this] { close(); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    QAction* structure = view->addAction(QStringLiteral("構造図(&Z)..."));
    structure->setObjectName(QStringLiteral("mnuViewStructure"));
    structure->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    connect(structure, &QAction::triggered, this, [this] { OpenStructureWindow(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
    QAction* guide = help->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)..."));
    guide->setObjectName(QStringLiteral("mnuHelpGuide"));
    guide->setShortcut(QKeySequence::HelpContents);
    connect(guide, &QAction::triggered, this, [this] { ShowHelp(); });
    help->addSeparator();
    QAction* about = help->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    about->setObjectName(QStringLiteral("mnuHelpAbout"));
    connect(about, &QAction::triggered, this, [this] { ShowVersion(); });
}

void frmMenuMain::BuildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("ツールバー"));
    toolBar_->setObjectName(QStringLiteral("tbrMain"));
    toolBar_->setMovable(false);
    struct Item {
        const char* key;
        const char* tip;
        QStyle::StandardPixmap icon;
        void (frmMenuMain::*run)();
    };
    const Item items[] = {
        {"New", "新規作成", QStyle::SP_FileIcon, &frmMenuMain::FileNew},
        {"Open", "ﾌｧｲﾙを開く...", QStyle::SP_DialogOpenButton, &frmMenuMain::FileOpen},
        {"SaveAs", "ﾌｧｲﾙに名前を付けて保存...", QStyle::SP_DriveFDIcon, nullptr},
        {"Save", "ﾌｧｲﾙの上書き保存", QStyle::SP_DialogSaveButton, nullptr},
        {"Printer", "ﾍﾟｰｼﾞの設定", QStyle::SP_FileDialogDetailedView, &frmMenuMain::PageSetup},
    };
    for (const Item& it : items) {
        if (std::string(it.key) == "Printer") toolBar_->addSeparator();
        QAction* a = toolBar_->addAction(style()->standardIcon(it.icon), QString::fromUtf8(it.tip));
        a->setObjectName(QStringLiteral("tbr") + QString::fromUtf8(it.key));
        a->setData(QString::fromUtf8(it.key));
        a->setToolTip(QString::fromUtf8(it.tip));
        const std::string key = it.key;
        // Page setup is on the toolbar only: its key makes it reachable without the mouse.
        if (key == "Printer") a->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
        if (key == "SaveAs") {
            connect(a, &QAction::triggered, this, [this] { FileSaveAs(); });
        } else if (key == "Save") {
            connect(a, &QAction::triggered, this, [this] { FileSave(); });
        } else {
            const auto run = it.run;
            connect(a, &QAction::triggered, this, [this, run] { (this->*run)(); });
        }
    }
}

void frmMenuMain::BuildButtons() {
    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    auto* box = new QGroupBox(QStringLiteral("ﾒｲﾝﾒﾆｭｰ"), central);
    auto* g = new QGridLayout(box);
    g->setHorizontalSpacing(10);
    g->setVerticalSpacing(6);
    int widest = 0;
    for (int i = 0; i < kButtonCount; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(kCaptions[i]) + QStringLiteral("(&") +
                                      QLatin1Char(kAccessKeys[i]) + QLatin1Char(')'),
                                  box);
        b->setObjectName(QStringLiteral("cmdMenu") + QString::number(i));
        b->setProperty("tag", QString::fromUtf8(kTags[i]));
        b->setAutoDefault(false);
        widest = std::max(widest, b->sizeHint().width());
        connect(b, &QPushButton::clicked, this, [this, i] { MenuCommand(i); });
        cmdMenu_[std::size_t(i)] = b;
        // Inputs on the left, calculation and results on the right.
        if (i <= kInpSectS) {
            g->addWidget(b, i, 0);
        } else {
            g->addWidget(b, i - kInpYaita, 1);
        }
    }
    // The cover's texts are input too, below the other inputs; exit keeps the bottom right.
    cmdHyoshi_ = new QPushButton(
        QStringLiteral("表紙の設定(&") + QLatin1Char(kCoverKey) + QLatin1Char(')'), box);
    cmdHyoshi_->setObjectName(QStringLiteral("cmdHyoshi"));
    cmdHyoshi_->setAutoDefault(false);
    connect(cmdHyoshi_, &QPushButton::clicked, this, [this] {
        OpenCoverWindow();
        RefreshMenu();
    });
    g->addWidget(cmdHyoshi_, 6, 0);
    cmdExit_ = new QPushButton(
        QStringLiteral("  ﾌﾟﾛｸﾞﾗﾑ終了(&") + QLatin1Char(kExitKey) + QLatin1Char(')'), box);
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    cmdExit_->setAutoDefault(false);
    connect(cmdExit_, &QPushButton::clicked, this, [this] { close(); });
    g->addWidget(cmdExit_, 6, 1);
    for (QPushButton* b : cmdMenu_) b->setMinimumSize(widest + 24, b->sizeHint().height() + 10);
    for (QPushButton* b : {cmdHyoshi_, cmdExit_}) {
        b->setMinimumSize(widest + 24, b->sizeHint().height() + 10);
    }
    v->addWidget(box);
    setCentralWidget(central);
}

void frmMenuMain::Start(bool determinePaths) {
    setWindowTitle(QStringLiteral("Kuvelt"));
    if (determinePaths) InitPaths();
    adjustSize();
    PlaceWindow(this, std::string(ini::kMenuMain), true);
    ApplyHistory(ReadFileHistory());
    InitData();
    gFileName.clear();
    gModified = false;
    show();
    RefreshMenu();
}

QAction* frmMenuMain::action(const QString& name) const { return findChild<QAction*>(name); }

void frmMenuMain::RefreshMenu() {
    SetHighlighted(cmdMenu_[kInpJyoken], gInpJyoken.InpFlg);
    SetHighlighted(cmdMenu_[kInpJiban], gInpJiban.InpFlg);
    SetHighlighted(cmdMenu_[kInpZairyo], gInpZairyo.InpFlg);
    SetHighlighted(cmdMenu_[kInpSectC], gInpSectC.Count() > 0);
    SetHighlighted(cmdMenu_[kInpSectLS], gInpSectLS.Count() > 0);
    SetHighlighted(cmdMenu_[kInpSectS], gInpSectS.Count() > 0);
    SetHighlighted(cmdHyoshi_, !(gInpHyoshi == CInpHyoshi{}));

    const bool sections = gInpSectC.Count() + gInpSectLS.Count() + gInpSectS.Count() > 0;
    const bool calc = gInpJyoken.InpFlg && gInpJiban.InpFlg && sections;
    cmdMenu_[kInpYaita]->setEnabled(calc);
    if (calc) SetHighlighted(cmdMenu_[kInpYaita], gInpYaita.InpFlg);

    const bool chosen = gInpYaita.InpFlg;
    const bool check = gInpJyoken.Nekiri != 0;
    // The layer directly below the design ground level decides between boiling and heaving.
    const int32_t below = LayerBelowDesignGround(gInpJiban, gInpJyoken).Kind;
    cmdMenu_[kResOutAs]->setEnabled(chosen && below == 0 && check);
    cmdMenu_[kResOutAc]->setEnabled(chosen && below == 1 && check);
    cmdMenu_[kMenuPrint]->setEnabled(chosen);
    // Every confirmed window passes here, so the modified mark follows the flag.
    UpdateTitle();
}

void frmMenuMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) RefreshMenu();
}

void frmMenuMain::Show(const Message& message) { Services().ShowMessage(this, message); }

void frmMenuMain::ShowAll(const std::vector<Message>& messages) {
    for (const Message& m : messages) Show(m);
}

void frmMenuMain::UpdateTitle() { setWindowTitle(Q(WindowTitleFor(gFileName, gModified))); }

bool frmMenuMain::SaveOrDiscard(const std::string& question, const std::string& title) {
    if (!gModified) return true;
    const Message ask{
        0, "現在編集中の入力ﾃﾞｰﾀがあります。" + question + "\n\n編集中のﾌｧｲﾙ名：" + gFileName,
        title, MsgIcon::Information, MsgButtons::YesNoCancel};
    switch (Services().ShowMessage(this, ask)) {
        case MsgAnswer::Yes:
            // The user asked to keep the changes: go on only when they are really saved.
            return FileSave();
        case MsgAnswer::No:
            return true;
        default:
            return false;
    }
}

void frmMenuMain::RememberFolderOf(const std::string& path) {
    // Errors ignored: the folder held the file a moment ago.
    QDir::setCurrent(QFileInfo(Q(path)).absolutePath());
    StoreInitDir();
}

void frmMenuMain::ApplyHistory(const kuvelt::FileHistory& history) {
    for (std::size_t i = 0; i < 4; ++i) {
        if (history.enabled[i]) {
            mnuHistory_[i]->setText(Q(history.captions[i]));
            mnuHistory_[i]->setEnabled(true);
        } else {
            mnuHistory_[i]->setEnabled(false);
        }
    }
}

void frmMenuMain::FileNew() {
    if (!SaveOrDiscard("上書き保存してから入力ﾃﾞｰﾀを初期化しますか？", "新規作成")) return;
    InitData();
    gFileName.clear();
    gModified = false;
    RefreshMenu();
}

// The pre-read check and the read into a fresh design. Only a design read whole replaces the
// current one; on failure the design, its file name, its modified mark and the buttons stay as
// they were, and the message names the file and the cause. The caller does nothing more.
bool frmMenuMain::ReadDesign(const std::string& path) {
    files::Failure failure;
    if (!OpenDesign(path, failure)) {
        Show(ReadFailureMessage(failure, path));
        return false;
    }
    gFileName = path;
    gModified = false;
    ApplyHistory(UpdateFileHistory(path));
    RememberFolderOf(path);
    RefreshMenu();
    return true;
}

void frmMenuMain::FileOpen() {
    if (!SaveOrDiscard("上書き保存してからﾌｧｲﾙを開きますか？", "ﾌｧｲﾙを開く")) return;
    // A remembered folder that may not be listed (it could hang the dialog) is not offered.
    const FileDialogRequest request{"ﾌｧｲﾙを開く...", kFilter, ".kvt",
                                    DialogStartFolder(OpenDialogInitialFolder()), ""};
    if (const auto path = Services().OpenFileName(this, request)) ReadDesign(*path);
}

bool frmMenuMain::FileSaveAs() {
    const FileDialogRequest request{"ﾌｧｲﾙに名前を付けて保存...", kFilter, ".kvt", "", gFileName};
    const auto path = Services().SaveFileName(this, request);
    if (!path) return false;
    files::Failure failure;
    if (!WriteData(*path, failure)) {
        // Nothing is remembered of a folder the design could not be saved in.
        Show(WriteFailureMessage(failure, *path));
        return false;
    }
    gFileName = *path;
    gModified = false;
    ApplyHistory(UpdateFileHistory(*path));
    RememberFolderOf(*path);
    UpdateTitle();
    return true;
}

bool frmMenuMain::FileSave() {
    if (gFileName.empty()) return FileSaveAs();
    files::Failure failure;
    if (!WriteData(gFileName, failure)) {
        Show(WriteFailureMessage(failure, gFileName));
        return false;
    }
    ApplyHistory(UpdateFileHistory(gFileName));
    gModified = false;
    UpdateTitle();
    return true;
}

void frmMenuMain::FileHistory(int item) {
    if (item < 1 || item > 4) return;
    // The path comes from the settings file, not from the menu caption.
    const std::string path = CPrivateProfile::GetValueString(
        gIniFile, ini::kFileName, ini::kFileNameKeys[std::size_t(item - 1)]);
    if (path.empty()) return;
    if (!SaveOrDiscard("上書き保存してからﾌｧｲﾙを開きますか？", "ﾌｧｲﾙを開く")) return;
    // Opened from the list, the file moves to its top like a file chosen in the dialog.
    ReadDesign(path);
}

void frmMenuMain::PageSetup() {
    // The margins the preview prints with: the stored ones, or its own where none is stored;
    // right and bottom are fixed by the report's page.
    const preview::PageSetup printed = preview::ReadPageSetup(gIniFile);
    PageMargins m;
    m.top = int(std::lround(printed.marginTopMm * 100.0));
    m.left = int(std::lround(printed.marginLeftMm * 100.0));
    m.bottom = int(std::lround(preview::kMarginBottomMm * 100.0));
    m.right = int(std::lround(preview::kMarginRightMm * 100.0));
    setEnabled(false);
    if (Services().PageSetup(this, m)) {
        CPrivateProfile::SetValueString(gIniFile, ini::kPrinter, ini::kMarginTop,
                                        numfmt::FormatNumber(m.top / 100.0, "##0"));
        CPrivateProfile::SetValueString(gIniFile, ini::kPrinter, ini::kMarginLeft,
                                        numfmt::FormatNumber(m.left / 100.0, "##0"));
    }
    setEnabled(true);
    raise();
    activateWindow();
}

void frmMenuMain::ShowHelp() { Services().ShowHelp(this, UserGuideFile(), guide::kTopicWorkflow); }

void frmMenuMain::ShowVersion() {
    frmAbout about(this);
    about.exec();
}

bool frmMenuMain::ConfirmExit() {
    return SaveOrDiscard("上書き保存してから終了しますか？", "ｱﾌﾟﾘｹｰｼｮﾝ終了");
}

void frmMenuMain::closeEvent(QCloseEvent* event) {
    if (!ConfirmExit()) {
        event->ignore();
        return;
    }
    StoreWindowPosition(this, std::string(ini::kMenuMain));
    event->accept();
}

int frmMenuMain::RunWindow(InputWindow& window) { return window.RunModal(); }

}  // namespace kuvelt::ui
