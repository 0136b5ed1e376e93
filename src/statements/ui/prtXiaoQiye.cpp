#include "statements/ui/prtXiaoQiye.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/ui/FocusKeys.h"

prtXiaoQiye::prtXiaoQiye(QWidget* parent)
    : ReportScreen(SmallBusinessForms::kForm, SmallBusinessForms::kTitle, parent) {
    cmbForm = new QComboBox(this);
    cmbForm->setObjectName(QStringLiteral("cmbForm"));
    for (const SmallBusinessForm form :
         {SmallBusinessForm::BalanceSheet, SmallBusinessForm::IncomeStatement}) {
        cmbForm->addItem(SmallBusinessForms::captionOf(form), int(form));
    }
    cmbTaisyoNenTuki = new QComboBox(this);
    cmbTaisyoNenTuki->setObjectName(QStringLiteral("cmbTaisyoNenTuki"));
    cmbTaisyoNenTuki->setMinimumWidth(200);
    cmdHyouji = makeButton(QStringLiteral("cmdHyouji"), QStringLiteral("打印预览(R)"));
    cmdInsatu = makeButton(QStringLiteral("cmdInsatu"), QStringLiteral("打印(P)"));
    cmdQuestion = makeButton(QStringLiteral("cmdQuestion"), QStringLiteral("帮助"));
    cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("返回(X)"));

    auto* lists = new QFormLayout;
    lists->addRow(QStringLiteral("报表"), cmbForm);
    lists->addRow(QStringLiteral("年月"), cmbTaisyoNenTuki);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdHyouji, cmdInsatu, cmdQuestion, cmdBack}) {
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addStretch();
    layout->addLayout(buttons);
    FocusKeys::install(this, {cmbForm, cmbTaisyoNenTuki});
    setKeyButtons({{Qt::Key_P, cmdInsatu}, {Qt::Key_R, cmdHyouji}, {Qt::Key_X, cmdBack}},
                  {cmbForm, cmbTaisyoNenTuki, cmdHyouji, cmdInsatu, cmdQuestion, cmdBack});

    connect(cmbForm, &QComboBox::activated, this, [this](int index) {
        logic_.setForm(SmallBusinessForm(cmbForm->itemData(index).toInt()));
    });
    connect(cmbTaisyoNenTuki, &QComboBox::activated, this,
            [this](int index) { logic_.setMonth(index); });
    connect(cmdHyouji, &QPushButton::clicked, this, [this] {
        logic_.cmdHyouji_Click();
        refresh();
    });
    connect(cmdInsatu, &QPushButton::clicked, this, [this] {
        logic_.cmdInsatu_Click();
        refresh();
    });
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_.cmdQuestion_Click(); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    logic_.setBusyHandler(&ReportScreen::showBusy);

    logic_.Form_Load();
    refresh();
    resize(460, 200);
}

void prtXiaoQiye::refresh() {
    const QSignalBlocker blockForm(cmbForm);
    cmbForm->setCurrentIndex(cmbForm->findData(int(logic_.form())));
    const QSignalBlocker blockMonth(cmbTaisyoNenTuki);
    if (cmbTaisyoNenTuki->count() != logic_.months().size()) {
        cmbTaisyoNenTuki->clear();
        for (const LedgerMonth& month : logic_.months()) {
            cmbTaisyoNenTuki->addItem(month.text);
        }
    }
    cmbTaisyoNenTuki->setCurrentIndex(logic_.month());
}
