#include "scripted_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "io/design_file.h"
#include "io/settings.h"
#include "model/design.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/input_window.h"

namespace kuvelt::ui::test {

namespace {
const char* KindName(Call::Kind k) {
    switch (k) {
        case Call::MessageBox:
            return "message box";
        case Call::OpenDialog:
            return "open dialog";
        case Call::SaveDialog:
            return "save dialog";
        case Call::PageSetupDialog:
            return "page-setup dialog";
        case Call::SystemInfo:
            return "system information";
        case Call::Help:
            return "help";
    }
    return "?";
}
}  // namespace

ScriptedUiServices::ScriptedUiServices() { SetServices(this); }

ScriptedUiServices::~ScriptedUiServices() {
    SetServices(nullptr);
    if (!answers_.empty()) {
        ADD_FAILURE() << answers_.size() << " scripted answer(s) never asked for, first: a "
                      << KindName(answers_.front().kind);
    }
}

void ScriptedUiServices::AnswerMessage(MsgAnswer answer) {
    answers_.push_back({Call::MessageBox, answer, std::nullopt, std::nullopt});
}
void ScriptedUiServices::AnswerOpen(std::optional<std::string> path) {
    answers_.push_back({Call::OpenDialog, MsgAnswer::Ok, std::move(path), std::nullopt});
}
void ScriptedUiServices::AnswerSave(std::optional<std::string> path) {
    answers_.push_back({Call::SaveDialog, MsgAnswer::Ok, std::move(path), std::nullopt});
}
void ScriptedUiServices::AnswerPageSetup(std::optional<PageMargins> margins) {
    answers_.push_back({Call::PageSetupDialog, MsgAnswer::Ok, std::nullopt, margins});
}

bool ScriptedUiServices::Take(Call::Kind kind, const std::string& what, Answer& out) {
    if (answers_.empty() || answers_.front().kind != kind) {
        ADD_FAILURE() << "unexpected " << KindName(kind) << ": " << what
                      << (answers_.empty() ? " (no answer queued)"
                                           : std::string(" (next answer is for a ") +
                                                 KindName(answers_.front().kind) + ")");
        return false;
    }
    out = answers_.front();
    answers_.pop_front();
    return true;
}

MsgAnswer ScriptedUiServices::ShowMessage(QWidget* parent, const Message& message) {
    calls.push_back({Call::MessageBox, message, {}, {}});
    Answer a;
    if (!Take(Call::MessageBox, "[" + message.title + "] " + message.text, a)) {
        return message.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
    if (realBoxes) {
        // A real modal box, closed by Return as soon as it is up: the window loses the
        // activation and the focus to it and gets them back as it would from a user.
        QTimer closer;
        closer.setInterval(20);
        QObject::connect(&closer, &QTimer::timeout, [&closer] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || !box->inherits("QMessageBox")) return;
            closer.stop();
            QTest::keyClick(box, Qt::Key_Return);
        });
        closer.start();
        QtUiServices().ShowMessage(parent, message);
    }
    return a.msg;
}

std::optional<std::string> ScriptedUiServices::OpenFileName(QWidget*,
                                                            const FileDialogRequest& request) {
    calls.push_back({Call::OpenDialog, {}, request, {}});
    Answer a;
    if (!Take(Call::OpenDialog, request.title, a)) return std::nullopt;
    return a.path;
}

std::optional<std::string> ScriptedUiServices::SaveFileName(QWidget*,
                                                            const FileDialogRequest& request) {
    calls.push_back({Call::SaveDialog, {}, request, {}});
    Answer a;
    if (!Take(Call::SaveDialog, request.title, a)) return std::nullopt;
    return a.path;
}

bool ScriptedUiServices::PageSetup(QWidget*, PageMargins& margins) {
    calls.push_back({Call::PageSetupDialog, {}, {}, margins});
    Answer a;
    if (!Take(Call::PageSetupDialog, "page setup", a) || !a.margins) return false;
    margins = *a.margins;
    return true;
}

bool ScriptedUiServices::StartSystemInformation() {
    calls.push_back({Call::SystemInfo, {}, {}, {}});
    return systemInfoAvailable;
}

void ScriptedUiServices::ShowHelp(QWidget*, const std::string& guideFile, int topic) {
    Call c{Call::Help, {}, {}, {}};
    c.request.initialName = guideFile;
    c.topic = topic;
    calls.push_back(c);
}

std::vector<Message> ScriptedUiServices::messages() const {
    std::vector<Message> out;
    for (const Call& c : calls) {
        if (c.kind == Call::MessageBox) out.push_back(c.message);
    }
    return out;
}

UiTestEnv::UiTestEnv()
    : savedIni_(gIniFile),
      savedProgram_(gProgramFolder),
      savedCwd_(QDir::currentPath().toStdString()) {
    gIniFile = dir.file("Kuvelt.INI");
    gProgramFolder = dir.path().string();
    InitData();
    gFileName.clear();
    gModified = false;
}

UiTestEnv::~UiTestEnv() {
    gIniFile = savedIni_;
    gProgramFolder = savedProgram_;
    QDir::setCurrent(QString::fromStdString(savedCwd_));
}

std::string UiTestEnv::ini() const { return gIniFile; }

void ShowActive(QWidget* window) {
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    Pump();
}

int RunFileDialogProbe(const std::string& folder) {
    QtUiServices qt;
    int closed = 0;
    QTimer closer;
    QElapsedTimer shown;
    closer.setInterval(100);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        if (!shown.isValid()) shown.start();
        if (shown.elapsed() < 1500) return;  // the listing thread fills the model meanwhile
        if (auto* model = dialog->findChild<QFileSystemModel*>()) {
            const QModelIndex root = model->index(Q(folder));
            for (int i = 0; i < model->rowCount(root); ++i) {
                std::printf("%s\n", U8(model->index(i, 0, root).data().toString()).c_str());
            }
        }
        std::fflush(stdout);
        shown.invalidate();
        dialog->reject();
        ++closed;
    });
    closer.start();
    const FileDialogRequest request{"probe", "入力ﾃﾞｰﾀ(*.kvt)|*.kvt", ".kvt", folder, ""};
    const bool cancelled = !qt.OpenFileName(nullptr, request) && !qt.SaveFileName(nullptr, request);
    return cancelled && closed == 2 ? 0 : 1;
}

int DrivenMain::RunWindow(InputWindow& w) {
    if (!drive && strict) {
        ADD_FAILURE() << "unexpected window " << w.windowTitle().toStdString();
        titles.push_back(U8(w.windowTitle()));
        topics.push_back(w.UsrHelpContextID);
        return QDialog::Rejected;
    }
    if (prepare) w.Prepare();
    titles.push_back(U8(w.windowTitle()));
    topics.push_back(w.UsrHelpContextID);
    if (drive) return drive(w);
    if (prepare) w.reject();
    return QDialog::Rejected;
}

int PressOk(InputWindow& w) {
    w.PressOk();
    return w.result();
}

void LoadExample(const char* name) {
    int32_t err = 0;
    ASSERT_TRUE(ReadData((kuvelt::test::SourceDir() / "examples" / name).string(), err)) << err;
    gInpJyoken.InpFlg = gInpJiban.InpFlg = true;
}

void Pump() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

}  // namespace kuvelt::ui::test
