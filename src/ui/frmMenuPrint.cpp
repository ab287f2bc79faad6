#include "ui/frmMenuPrint.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "io/settings.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/frmMenuMain.h"
#include "ui/ui_services.h"
#include "usecase/report_run.h"

namespace kuvelt::ui {

namespace {

frmMenuPrint::Starter& CurrentStarter() {
    static frmMenuPrint::Starter s;
    return s;
}

const char* const kItemCaptions[print_job::kItems] = {"設計条件", "外力の計算", "仮想地盤面の算定",
                                                      "矢板の設計", "根切り底面の安定検討"};
const std::string kSection(ini::kMenuPrint);
static_assert(ini::kPrintItemKeys.size() == print_job::kItems);
static_assert(ini::kPrintPartKeys.size() == print_job::kParts);

}  // namespace

Message PreviewStartMessage(const std::string& program) {
    return Message{0, "印刷ﾌﾟﾚﾋﾞｭｰを起動できません。\n" + program, print_job::kMenuCaption,
                   MsgIcon::Error, MsgButtons::Ok};
}

void frmMenuPrint::SetStarter(Starter starter) { CurrentStarter() = std::move(starter); }

std::string frmMenuPrint::PreviewProgram() { return paths::Join(gProgramFolder, "Preview"); }

frmMenuPrint::frmMenuPrint(QWidget* parent)
    : InputWindow(kSection, Q(print_job::kMenuCaption), parent) {
    auto* top = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    auto* frame = new QGroupBox(QStringLiteral("印刷項目指定"), this);
    auto* fv = new QVBoxLayout(frame);
    for (int i = 0; i < print_job::kItems; ++i) {
        auto* c = new QCheckBox(QString::fromUtf8(kItemCaptions[i]), frame);
        c->setObjectName(QStringLiteral("chkPrintItem") + QString::number(i));
        fv->addWidget(c);
        chkPrintItem[std::size_t(i)] = c;
    }
    fv->addStretch(1);
    body->addWidget(frame, 1);
    auto* partFrame = new QGroupBox(QStringLiteral("付属項目"), this);
    auto* pv = new QVBoxLayout(partFrame);
    for (int i = 0; i < print_job::kParts; ++i) {
        auto* c =
            new QCheckBox(QString::fromUtf8(print_job::kPartCaptions[std::size_t(i)]), partFrame);
        c->setObjectName(QStringLiteral("chkPart") + QString::number(i));
        pv->addWidget(c);
        chkPart[std::size_t(i)] = c;
    }
    pv->addStretch(1);
    body->addWidget(partFrame, 1);

    auto* checks = new QVBoxLayout;
    const char* const commands[] = {"全項目選択", "全項目選択解除", "全項目選択反転"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(commands[i]), this);
        b->setObjectName(QStringLiteral("cmdCheck") + QString::number(i));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { CheckCommand(i); });
        checks->addWidget(b);
        cmdCheck[std::size_t(i)] = b;
    }
    checks->addStretch(1);
    body->addLayout(checks);
    top->addLayout(body, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    cmdPreview = new QPushButton(QStringLiteral("印刷(&P)"), this);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    cmdPreview->setDefault(true);
    cmdClose = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    for (QPushButton* b : {cmdPreview, cmdClose}) {
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("閉じる(C)")) + 40);
        row->addWidget(b);
    }
    top->addLayout(row);
    connect(cmdPreview, &QPushButton::clicked, this, [this] { PrintPreview(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &InputWindow::LoadData, this, &frmMenuPrint::OpenMenu);
    setMinimumWidth(360);
}

frmMenuPrint::~frmMenuPrint() {
    // A menu destroyed without closing still must not leave temporary files behind.
    if (open_) {
        print_job::CloseReport();
        open_ = false;
    }
}

void frmMenuPrint::OpenMenu() {
    // A chapter or part never stored is ticked: the whole report unless the user leaves some out.
    for (int i = 0; i < print_job::kItems; ++i) {
        chkPrintItem[std::size_t(i)]->setChecked(
            CPrivateProfile::GetValueString(gIniFile, kSection,
                                            ini::kPrintItemKeys[std::size_t(i)]) != "0");
        chkPrintItem[std::size_t(i)]->setEnabled(true);
    }
    for (std::size_t i = 0; i < chkPart.size(); ++i) {
        chkPart[i]->setChecked(
            CPrivateProfile::GetValueString(gIniFile, kSection, ini::kPrintPartKeys[i]) != "0");
    }
    // The chapters are written from a fresh calculation of the design as it is now.
    const usecase::PrintRun run = usecase::PrepareReport();
    generation_ = run.generation;
    open_ = true;
    if (!run.calc.calculated && !run.calc.messages.empty()) {
        const std::vector<Message>& m = run.calc.messages;
        Services().ShowMessage(this, FailureMessage({m.begin(), m.end() - 1}, m.back()));
    }
    if (generation_.failure) Services().ShowMessage(this, *generation_.failure);
    if (!generation_.stabilityEnabled) {
        QCheckBox* item4 = chkPrintItem[print_job::kItems - 1];
        item4->setChecked(false);
        item4->setEnabled(false);
    }
}

print_job::Ticks frmMenuPrint::ticks() const {
    print_job::Ticks t{};
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = chkPrintItem[i]->isChecked();
    return t;
}

print_job::PartTicks frmMenuPrint::partTicks() const {
    print_job::PartTicks t{};
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = chkPart[i]->isChecked();
    return t;
}

print_job::Ticks frmMenuPrint::enabledItems() const {
    print_job::Ticks t{};
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = chkPrintItem[i]->isEnabled();
    return t;
}

void frmMenuPrint::CheckCommand(int index) {
    const print_job::Ticks t = print_job::ApplyCheckCommand(index, ticks(), enabledItems());
    for (std::size_t i = 0; i < t.size(); ++i) chkPrintItem[i]->setChecked(t[i]);
    // The parts are always available: the commands tick, untick or invert them alike.
    print_job::PartTicks parts = partTicks();
    for (bool& p : parts) p = index == 0 || (index == 2 && !p);
    for (std::size_t i = 0; i < parts.size(); ++i) chkPart[i]->setChecked(parts[i]);
}

bool frmMenuPrint::PrintPreview() {
    const print_job::Ticks t = ticks();
    bool any = false;
    for (bool b : t) any = any || b;
    const usecase::CombinedReport combined = usecase::CombineReport(t, partTicks(), gFileName);
    if (combined.refusal) {
        if (!any) Services().Beep();
        Services().ShowMessage(this, *combined.refusal);
        return false;
    }
    const std::vector<std::string> argv =
        print_job::PreviewArguments(PreviewProgram(), gWorkFolder, combined.file);
    // The preview runs on its own. A preview that cannot be started is said so: otherwise the
    // print button would seem to do nothing at all.
    const bool started = CurrentStarter() ? CurrentStarter()(argv) : process::Start(argv, false);
    if (!started) {
        Services().ShowMessage(this, PreviewStartMessage(argv.front()));
        return false;
    }
    return true;
}

void frmMenuPrint::CloseMenu() {
    // Only the user's ticks are kept: a chapter the program disabled (no stability check for this
    // design) keeps the tick stored for the next design that has one.
    const print_job::Ticks t = ticks();
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (!chkPrintItem[i]->isEnabled()) continue;
        CPrivateProfile::SetValueString(gIniFile, kSection, ini::kPrintItemKeys[i],
                                        t[i] ? "1" : "0");
    }
    const print_job::PartTicks parts = partTicks();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        CPrivateProfile::SetValueString(gIniFile, kSection, ini::kPrintPartKeys[i],
                                        parts[i] ? "1" : "0");
    }
    if (open_) {
        print_job::CloseReport();
        open_ = false;
    }
}

void frmMenuPrint::done(int result) {
    CloseMenu();
    InputWindow::done(result);
}

}  // namespace kuvelt::ui
