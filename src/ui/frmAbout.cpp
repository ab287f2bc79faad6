#include "ui/frmAbout.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/numfmt.h"
#include "ui/fields.h"
#include "ui/ui_services.h"

#ifndef KUVELT_VERSION_MAJOR
#define KUVELT_VERSION_MAJOR 1
#define KUVELT_VERSION_MINOR 0
#define KUVELT_VERSION_PATCH 0
#endif

namespace kuvelt::ui {

namespace {
constexpr int kReleaseYear = 2026;
constexpr int kReleaseMonth = 12;
constexpr int kReleaseDay = 9;
}  // namespace

std::string VersionLine(int major, int minor, int revision, int year, int month, int day) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
           numfmt::FormatNumber(revision, "000") + "(" + numfmt::FormatNumber(year, "0000") + "/" +
           numfmt::FormatNumber(month, "00") + "/" + numfmt::FormatNumber(day, "00") + ")";
}

std::string CurrentVersionLine() {
    return VersionLine(KUVELT_VERSION_MAJOR, KUVELT_VERSION_MINOR, KUVELT_VERSION_PATCH,
                       kReleaseYear, kReleaseMonth, kReleaseDay);
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    auto* v = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    head->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    auto* title = new QLabel(QStringLiteral("Kuvelt"), this);
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 1.5);
    f.setBold(true);
    title->setFont(f);
    texts->addWidget(title);
    texts->addWidget(new QLabel(QStringLiteral("自立式矢板水路壁の設計計算"), this));
    auto* version = new QLabel(Q(CurrentVersionLine()), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    texts->addWidget(version);
    head->addLayout(texts, 1);
    v->addLayout(head);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    v->addWidget(line);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* sys = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    sys->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(sys, &QPushButton::clicked, this, &frmAbout::PressSystemInfo);
    buttons->addWidget(ok);
    buttons->addWidget(sys);
    v->addLayout(buttons);
    setMinimumWidth(360);
}

void frmAbout::PressSystemInfo() {
    if (!Services().StartSystemInformation()) {
        Services().ShowMessage(this, Message{0, "現時点ではｼｽﾃﾑ情報を使用できません", "ﾊﾞｰｼﾞｮﾝ情報",
                                             MsgIcon::Information, MsgButtons::Ok});
    }
}

}  // namespace kuvelt::ui
