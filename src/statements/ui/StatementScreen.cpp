#include "statements/ui/StatementScreen.h"

#include <QVBoxLayout>

#include "common/Messages.h"

StatementScreen::StatementScreen(std::unique_ptr<StatutoryStatement> logic, QWidget* parent)
    : ReportScreen(logic->form(), logic->title(), parent), logic_(std::move(logic)) {
    lblReadMe = new QLabel(logic_->readMe().replace(Messages::kCrLf, QStringLiteral("\n")), this);
    lblReadMe->setObjectName(QStringLiteral("lblReadMe"));
    lblReadMe->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblReadMe);
    layout->addStretch();
    layout->addLayout(makeStatementButtons(
        [this](int mode) {
            ReportScreen::showBusy(true);
            logic_->print_data(mode);
            ReportScreen::showBusy(false);
        },
        [this] { logic_->cmdQuestion_Click(); }, {}));
    resize(480, 180);
}
