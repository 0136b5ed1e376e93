#include "statements/ui/MonthStatementScreen.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/ui/FocusKeys.h"

MonthStatementScreen::MonthStatementScreen(MonthStatementKind kind, QWidget* parent)
    : ReportScreen(MonthStatement(kind).form(), MonthStatement(kind).title(), parent),
      logic_(kind) {
    cmbTaisyoNenTuki = new QComboBox(this);
    cmbTaisyoNenTuki->setObjectName(QStringLiteral("cmbTaisyoNenTuki"));
    cmbTaisyoNenTuki->setMinimumWidth(200);
    cmdHyouji = makeButton(QStringLiteral("cmdHyouji"), QStringLiteral("打印预览(R)"));
    cmdInsatu = makeButton(QStringLiteral("cmdInsatu"), QStringLiteral("打印(P)"));
    cmdQuestion = makeButton(QStringLiteral("cmdQuestion"), QStringLiteral("帮助"));
    cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("返回(X)"));

    auto* lists = new QFormLayout;
    lists->addRow(QStringLiteral("对象年月"), cmbTaisyoNenTuki);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdHyouji, cmdInsatu, cmdBack, cmdQuestion}) {
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addStretch();
    layout->addLayout(buttons);
    FocusKeys::install(this, {cmbTaisyoNenTuki});
    setKeyButtons({{Qt::Key_P, cmdInsatu}, {Qt::Key_R, cmdHyouji}, {Qt::Key_X, cmdBack}},
                  {cmbTaisyoNenTuki, cmdHyouji, cmdInsatu, cmdBack, cmdQuestion});

    connect(cmbTaisyoNenTuki, &QComboBox::activated, this,
            [this](int index) { logic_.setMonth(index); });
    connect(cmdHyouji, &QPushButton::clicked, this, [this] { print(0); });
    connect(cmdInsatu, &QPushButton::clicked, this, [this] { print(1); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_.cmdQuestion_Click(); });
    logic_.setBusyHandler(&ReportScreen::showBusy);

    logic_.Form_Load();
    refresh();
    resize(420, 160);
}

void MonthStatementScreen::refresh() {
    const QSignalBlocker block(cmbTaisyoNenTuki);
    if (cmbTaisyoNenTuki->count() != logic_.months().size()) {
        cmbTaisyoNenTuki->clear();
        for (const LedgerMonth& month : logic_.months()) {
            cmbTaisyoNenTuki->addItem(month.text);
        }
    }
    cmbTaisyoNenTuki->setCurrentIndex(logic_.month());
}

void MonthStatementScreen::print(int mode) {
    logic_.print_data(mode);
    // A list that showed no month prints the last one, which it then shows.
    refresh();
}
