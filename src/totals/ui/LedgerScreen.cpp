#include "totals/ui/LedgerScreen.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/ui/FocusKeys.h"
#include "totals/ui/InpSoukanjoMotchoH.h"

namespace {

QComboBox* makeList(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setMinimumWidth(200);
    return box;
}

}  // namespace

LedgerScreen::LedgerScreen(const QString& form, const QString& title,
                           std::unique_ptr<LedgerSelection> logic, QWidget* parent)
    : ReportScreen(form, title, parent), logic_(std::move(logic)) {
    cmbTaisyoNenTuki1 = makeList(this, QStringLiteral("cmbTaisyoNenTuki1"));
    cmbTaisyoNenTuki2 = makeList(this, QStringLiteral("cmbTaisyoNenTuki2"));
    cmbTaisyoKamoku1 = makeList(this, QStringLiteral("cmbTaisyoKamoku1"));
    cmbTaisyoKamoku2 = makeList(this, QStringLiteral("cmbTaisyoKamoku2"));
    cmdHyouji = makeButton(QStringLiteral("cmdHyouji"), QStringLiteral("打印预览(R)"));
    cmdInsatu = makeButton(QStringLiteral("cmdInsatu"), QStringLiteral("打印(P)"));
    cmdDataHyoji = makeButton(QStringLiteral("cmdDataHyoji"), QStringLiteral("账目预览(D)"));
    cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("返回(X)"));
    cmdQuestion = makeButton(QStringLiteral("cmdQuestion"), QStringLiteral("帮助"));
    Command1 = makeButton(QStringLiteral("Command1"), QStringLiteral("修改说明"));

    auto* lists = new QFormLayout;
    lists->addRow(QStringLiteral("开始年月"), cmbTaisyoNenTuki1);
    lists->addRow(QStringLiteral("结束年月"), cmbTaisyoNenTuki2);
    lists->addRow(QStringLiteral("开始科目"), cmbTaisyoKamoku1);
    auto* lastAccount = new QHBoxLayout;
    lastAccount->addWidget(cmbTaisyoKamoku2, 1);
    lastAccount->addWidget(Command1);
    lists->addRow(QStringLiteral("结束科目"), lastAccount);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdHyouji, cmdInsatu, cmdDataHyoji, cmdBack, cmdQuestion}) {
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addStretch();
    layout->addLayout(buttons);
    FocusKeys::install(this,
                       {cmbTaisyoNenTuki1, cmbTaisyoNenTuki2, cmbTaisyoKamoku1, cmbTaisyoKamoku2});
    setKeyButtons({{Qt::Key_D, cmdDataHyoji},
                   {Qt::Key_P, cmdInsatu},
                   {Qt::Key_R, cmdHyouji},
                   {Qt::Key_X, cmdBack}},
                  {cmbTaisyoNenTuki1, cmbTaisyoNenTuki2, cmbTaisyoKamoku1, cmbTaisyoKamoku2,
                   cmdHyouji, cmdInsatu, cmdDataHyoji, cmdBack, cmdQuestion, Command1});

    connect(cmbTaisyoNenTuki1, &QComboBox::activated, this,
            [this](int index) { logic_->setFirstMonth(index); });
    connect(cmbTaisyoNenTuki2, &QComboBox::activated, this,
            [this](int index) { logic_->setLastMonth(index); });
    connect(cmbTaisyoKamoku1, &QComboBox::activated, this,
            [this](int index) { logic_->setFirstAccount(index); });
    connect(cmbTaisyoKamoku2, &QComboBox::activated, this,
            [this](int index) { logic_->setLastAccount(index); });
    connect(cmdHyouji, &QPushButton::clicked, this, [this] { print(0); });
    connect(cmdInsatu, &QPushButton::clicked, this, [this] { print(1); });
    connect(cmdDataHyoji, &QPushButton::clicked, this, &LedgerScreen::correct);
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_->cmdQuestion_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { logic_->Command1_Click(); });
    logic_->setBusyHandler(&ReportScreen::showBusy);

    logic_->Form_Load();
    refresh();
    resize(560, 260);
}

void LedgerScreen::refresh() {
    showEntries(cmbTaisyoNenTuki1, logic_->months(), logic_->firstMonth());
    showEntries(cmbTaisyoNenTuki2, logic_->months(), logic_->lastMonth());
    showEntries(cmbTaisyoKamoku1, logic_->accounts(), logic_->firstAccount());
    showEntries(cmbTaisyoKamoku2, logic_->accounts(), logic_->lastAccount());
    cmdDataHyoji->setEnabled(logic_->dataHyojiEnabled());
}

void LedgerScreen::print(int mode) {
    logic_->print_data(mode);
    // The check picks the first and last entry of a list that showed none.
    refresh();
}

void LedgerScreen::correct() {
    const bool ok = logic_->cmdDataHyoji_Click();
    refresh();
    if (ok) {
        const QList<LedgerMonth>& months = logic_->months();
        InpSoukanjoMotchoH::openFrom(
            this, {logic_->accounts().at(logic_->firstAccount()).text,
                   months.at(logic_->firstMonth()).text, months.at(logic_->lastMonth()).text});
    }
}
