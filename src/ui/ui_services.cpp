#include "ui/ui_services.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMarginsF>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "ui/fields.h"

namespace kuvelt::ui {

namespace {

UiServices* gOverride = nullptr;

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Error:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Runs a file dialog configured like the classic common dialog: one filter entry selected,
// the default extension appended to a bare name.
std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogRequest& r,
                                         QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, Q(r.title));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilters(Q(QtFilterFromPairs(r.filter)).split(QStringLiteral(";;")));
    QString ext = Q(r.defaultExt);
    if (ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    dialog.setDirectory(r.initialFolder.empty() ? QDir::currentPath() : Q(r.initialFolder));
    if (!r.initialName.empty()) dialog.selectFile(Q(r.initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    // The working folder follows the chosen file, so "InitDir" remembers where the user was.
    QDir::setCurrent(QFileInfo(chosen).absolutePath());
    return std::string(chosen.toUtf8().constData());
}

}  // namespace

UiServices& Services() {
    static QtUiServices qt;
    return gOverride ? *gOverride : qt;
}

void SetServices(UiServices* services) { gOverride = services; }

std::string QtFilterFromPairs(const std::string& filter) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    if (entries.isEmpty()) entries << QStringLiteral("* (*)");
    return entries.join(QStringLiteral(";;")).toUtf8().toStdString();
}

MsgAnswer QtUiServices::ShowMessage(QWidget* parent, const Message& m) {
    QMessageBox box(ToQtIcon(m.icon), Q(m.title), Q(m.text), QMessageBox::NoButton, parent);
    switch (m.buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
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

}  // namespace kuvelt::ui
