#include "totals/ui/prtSoukanjoHojoMotocho.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/ui/FocusKeys.h"
#include "common/ui/Screens.h"
#include "totals/ui/InpSoukanjoMotchoH.h"

prtSoukanjoHojoMotocho::prtSoukanjoHojoMotocho(QWidget* parent)
    : ReportScreen(SubsidiaryLedger::kForm, SubsidiaryLedger::kTitle, parent) {
    cmbTaisyoNenTuki1 = makeList(QStringLiteral("cmbTaisyoNenTuki1"));
    cmbTaisyoNenTuki2 = makeList(QStringLiteral("cmbTaisyoNenTuki2"));
    cmbTaisyoKamoku1 = makeList(QStringLiteral("cmbTaisyoKamoku1"));
    cmbTaisyoKamoku2 = makeList(QStringLiteral("cmbTaisyoKamoku2"));
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
    lists->addRow(QStringLiteral("结束科目"), cmbTaisyoKamoku2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdHyouji, cmdInsatu, cmdDataHyoji, cmdBack, cmdQuestion, Command1}) {
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
            [this](int index) { logic_.setFirstMonth(index); });
    connect(cmbTaisyoNenTuki2, &QComboBox::activated, this,
            [this](int index) { logic_.setLastMonth(index); });
    connect(cmbTaisyoKamoku1, &QComboBox::activated, this,
            [this](int index) { logic_.setFirstAccount(index); });
    connect(cmbTaisyoKamoku2, &QComboBox::activated, this,
            [this](int index) { logic_.setLastAccount(index); });
    connect(cmdHyouji, &QPushButton::clicked, this, [this] { print(0); });
    connect(cmdInsatu, &QPushButton::clicked, this, [this] { print(1); });
    connect(cmdDataHyoji, &QPushButton::clicked, this, &prtSoukanjoHojoMotocho::openCorrection);
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_.cmdQuestion_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { logic_.Command1_Click(); });
    logic_.setBusyHandler(&ReportScreen::showBusy);

    logic_.Form_Load();
    refresh();
    resize(600, 260);
}

QComboBox* prtSoukanjoHojoMotocho::makeList(const QString& name) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setMinimumWidth(200);
    return box;
}

void prtSoukanjoHojoMotocho::refresh() {
    const auto show = [](QComboBox* box, const QStringList& texts, int index) {
        const QSignalBlocker block(box);
        if (box->count() != texts.size()) {
            box->clear();
            box->addItems(texts);
        }
        box->setCurrentIndex(index);
    };
    QStringList months;
    for (const LedgerMonth& m : logic_.months()) {
        months.append(m.text);
    }
    QStringList accounts;
    for (const LedgerAccount& a : logic_.accounts()) {
        accounts.append(a.text);
    }
    show(cmbTaisyoNenTuki1, months, logic_.firstMonth());
    show(cmbTaisyoNenTuki2, months, logic_.lastMonth());
    show(cmbTaisyoKamoku1, accounts, logic_.firstAccount());
    show(cmbTaisyoKamoku2, accounts, logic_.lastAccount());
    cmdDataHyoji->setEnabled(logic_.dataHyojiEnabled());
}

void prtSoukanjoHojoMotocho::print(int mode) {
    logic_.print_data(mode);
    // The check picks the first and last entries of lists that showed none.
    refresh();
}

void prtSoukanjoHojoMotocho::openCorrection() {
    const bool ok = logic_.cmdDataHyoji_Click();
    refresh();
    if (ok) {
        const auto& months = logic_.months();
        InpSoukanjoMotchoH::openFrom(
            this, {logic_.accounts().at(logic_.firstAccount()).text,
                   months.at(logic_.firstMonth()).text, months.at(logic_.lastMonth()).text});
    }
}
