#include "statements/ui/StatementScreen.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/Messages.h"

StatementScreen::StatementScreen(std::unique_ptr<StatutoryStatement> logic, QWidget* parent)
    : ReportScreen(logic->form(), logic->title(), parent), logic_(std::move(logic)) {
    lblReadMe = new QLabel(logic_->readMe().replace(Messages::kCrLf, QStringLiteral("\n")), this);
    lblReadMe->setObjectName(QStringLiteral("lblReadMe"));
    lblReadMe->setWordWrap(true);
    cmdHyouji = makeButton(QStringLiteral("cmdHyouji"), QStringLiteral("打印预览(R)"));
    cmdInsatu = makeButton(QStringLiteral("cmdInsatu"), QStringLiteral("打印(P)"));
    cmdQuestion = makeButton(QStringLiteral("cmdQuestion"), QStringLiteral("帮助"));
    cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("返回(X)"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdHyouji, cmdInsatu, cmdQuestion, cmdBack}) {
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblReadMe);
    layout->addStretch();
    layout->addLayout(buttons);
    setKeyButtons({{Qt::Key_P, cmdInsatu}, {Qt::Key_R, cmdHyouji}, {Qt::Key_X, cmdBack}},
                  {cmdHyouji, cmdInsatu, cmdQuestion, cmdBack});

    const auto busy = [this](int mode) {
        ReportScreen::showBusy(true);
        logic_->print_data(mode);
        ReportScreen::showBusy(false);
    };
    connect(cmdHyouji, &QPushButton::clicked, this, [busy] { busy(0); });
    connect(cmdInsatu, &QPushButton::clicked, this, [busy] { busy(1); });
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_->cmdQuestion_Click(); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    resize(480, 180);
}
