#include "ui/ui_services.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMarginsF>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "io/settings.h"
#include "platform/paths.h"
#include "ui/fields.h"
#include "widgets/file_icons.h"
#include "widgets/message_box.h"
#include "widgets/user_guide.h"

namespace kuvelt::ui {

namespace {

UiServices* gOverride = nullptr;

// Runs a file dialog configured like the classic common dialog: one filter entry selected,
// the default extension appended to a bare name. It is Qt's own dialog, so the listing goes
// through the icon provider above; it starts only in a listable folder and its remembered
// history keeps only such folders.
std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogRequest& r,
                                         QFileDialog::AcceptMode mode) {
    widgets::ListingOnlyIconProvider icons;
    QFileDialog dialog(parent, Q(r.title));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks |
                      QFileDialog::DontUseCustomDirectoryIcons);
    dialog.setIconProvider(&icons);
    QStringList history;
    for (const QString& folder : dialog.history()) {
        if (IsListableFolder(U8(folder))) history << folder;
    }
    dialog.setHistory(history);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(Q(QtFilterFromPairs(r.filter)).split(QStringLiteral(";;")));
    QString ext = Q(r.defaultExt);
    if (ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    dialog.setDirectory(Q(DialogStartFolder(r.initialFolder)));
    if (!r.initialName.empty()) {
        // A full path would move the dialog to its folder: offer only the name when that folder
        // may not be listed.
        const QFileInfo name(Q(r.initialName));
        const bool foreign = name.isAbsolute() && !IsListableFolder(U8(name.absolutePath()));
        dialog.selectFile(foreign ? name.fileName() : Q(r.initialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return U8(dialog.selectedFiles().constFirst());
}

}  // namespace

UiServices& Services() {
    static QtUiServices qt;
    return gOverride ? *gOverride : qt;
}

void SetServices(UiServices* services) { gOverride = services; }

bool IsListableFolder(const std::string& folder) {
    if (folder.empty()) return false;
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(folder, ec);
    if (ec) return false;
    const auto under = [&real](const std::filesystem::path& root) {
        return std::mismatch(root.begin(), root.end(), real.begin(), real.end()).first ==
               root.end();
    };
    if (under("/proc") || under("/sys") || under("/dev")) return false;
    struct stat st {};
    if (::stat(real.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return ::access(real.c_str(), R_OK | X_OK) == 0;
}

std::string DialogStartFolder(const std::string& wanted) {
    const std::string folder = wanted.empty() ? U8(QDir::currentPath()) : wanted;
    if (IsListableFolder(folder)) return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (IsListableFolder(U8(documents))) return U8(documents);
    return U8(QDir::homePath());
}

std::string QtFilterFromPairs(const std::string& filter) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A description that names its patterns already ("入力ﾃﾞｰﾀ(*.kvt)") is shown as it is.
        const QString named = QLatin1Char('(') + patterns + QLatin1Char(')');
        entries << (parts[i].endsWith(named) ? parts[i] : parts[i] + QLatin1Char(' ') + named);
    }
    if (entries.isEmpty()) entries << QStringLiteral("* (*)");
    return entries.join(QStringLiteral(";;")).toUtf8().toStdString();
}

MsgAnswer QtUiServices::ShowMessage(QWidget* parent, const Message& m) {
    const std::unique_ptr<QMessageBox> box = widgets::MakeMessageBox(parent, m);
    const int pressed = box->exec();
    // Without a window manager nobody hands the activation back to the window the box belonged
    // to, and its keys and shortcuts would go nowhere.
    if (parent && parent->isVisible()) parent->window()->activateWindow();
    switch (pressed) {
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            break;
    }
    return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

std::optional<std::string> QtUiServices::OpenFileName(QWidget* parent,
                                                      const FileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtUiServices::SaveFileName(QWidget* parent,
                                                      const FileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

bool QtUiServices::PageSetup(QWidget* parent, PageMargins& margins) {
    QPrinter printer;
    printer.setPageMargins(QMarginsF(margins.left / 100.0, margins.top / 100.0,
                                     margins.right / 100.0, margins.bottom / 100.0),
                           QPageLayout::Millimeter);
    QPageSetupDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("ﾍﾟｰｼﾞの設定"));  // as the toolbar button says
    if (dialog.exec() != QDialog::Accepted) return false;
    const QMarginsF m = printer.pageLayout().margins(QPageLayout::Millimeter);
    margins.top = int(m.top() * 100.0 + 0.5);
    margins.left = int(m.left() * 100.0 + 0.5);
    margins.bottom = int(m.bottom() * 100.0 + 0.5);
    margins.right = int(m.right() * 100.0 + 0.5);
    return true;
}

void QtUiServices::Beep() { QApplication::beep(); }

std::vector<std::string> QtUiServices::SystemInformationPrograms() {
    return {"hardinfo2",
            "hardinfo",
            "kinfocenter",
            "gnome-system-monitor",
            "plasma-systemmonitor",
            "mate-system-monitor",
            "xfce4-taskmanager"};
}

bool QtUiServices::StartSystemInformation() {
    for (const std::string& name : SystemInformationPrograms()) {
        const QString path = QStandardPaths::findExecutable(Q(name));
        if (!path.isEmpty() && QProcess::startDetached(path, {})) return true;
    }
    return false;
}

void UiServices::ShowHelp(QWidget* parent, const std::string& guideFile, int topic) {
    if (const std::optional<Message> failure = guide::OpenGuide(parent, guideFile, topic)) {
        ShowMessage(parent, *failure);
    }
}

std::string UserGuideFile() {
    return guide::FindGuide(gProgramFolder.empty() ? paths::ProgramFolder() : gProgramFolder);
}

}  // namespace kuvelt::ui
