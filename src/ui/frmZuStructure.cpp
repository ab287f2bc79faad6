#include "ui/frmZuStructure.h"

#include <QLabel>
#include <QVBoxLayout>

#include "io/settings.h"
#include "ui/figure_view.h"
#include "usecase/figure_run.h"

namespace kuvelt::ui {

frmZuStructure::frmZuStructure(QWidget* parent)
    : InputWindow(std::string(ini::kZuStructure), QStringLiteral("構造図"), parent) {
    auto* top = new QVBoxLayout(this);
    view_ = new FigureView(this);
    view_->setObjectName(QStringLiteral("figStructure"));
    view_->setMinimumSize(480, 320);
    top->addWidget(view_, 1);
    lblNote_ = new QLabel(this);
    lblNote_->setObjectName(QStringLiteral("lblNote"));
    lblNote_->setWordWrap(true);
    lblNote_->hide();
    top->addWidget(lblNote_);
    top->addLayout(MakeButtonRow(false));
    connect(this, &InputWindow::LoadData, this, &frmZuStructure::Fill);
    resize(720, 520);
}

void frmZuStructure::Fill() {
    const usecase::StructureView v = usecase::StructureFigure();
    if (v.figure.bytes.empty()) {
        view_->setNote(QString::fromStdString(v.note));
    } else {
        view_->setFigure(v.width, v.height, {{v.figure.bytes, v.figure.x, v.figure.y}});
    }
    lblNote_->setText(QString::fromStdString(v.note));
    lblNote_->setVisible(!v.note.empty());
}

}  // namespace kuvelt::ui
