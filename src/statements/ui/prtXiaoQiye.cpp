#include "statements/ui/prtXiaoQiye.h"

#include <QFormLayout>
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
    auto* lists = new QFormLayout;
    lists->addRow(QStringLiteral("报表"), cmbForm);
    lists->addRow(QStringLiteral("年月"), cmbTaisyoNenTuki);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addStretch();
    layout->addLayout(makeStatementButtons(
        [this](int mode) {
            logic_.print_data(mode);
            refresh();
        },
        [this] { logic_.cmdQuestion_Click(); }, {cmbForm, cmbTaisyoNenTuki}));
    FocusKeys::install(this, {cmbForm, cmbTaisyoNenTuki});

    connect(cmbForm, &QComboBox::activated, this, [this](int index) {
        logic_.setForm(SmallBusinessForm(cmbForm->itemData(index).toInt()));
    });
    connect(cmbTaisyoNenTuki, &QComboBox::activated, this,
            [this](int index) { logic_.setMonth(index); });
    logic_.setBusyHandler(&ReportScreen::showBusy);

    logic_.Form_Load();
    refresh();
    resize(460, 200);
}

void prtXiaoQiye::refresh() {
    const QSignalBlocker blockForm(cmbForm);
    cmbForm->setCurrentIndex(cmbForm->findData(int(logic_.form())));
    showEntries(cmbTaisyoNenTuki, logic_.months(), logic_.month());
}
