#include "statements/ui/MonthStatementScreen.h"

#include <QFormLayout>
#include <QVBoxLayout>

#include "common/ui/FocusKeys.h"

MonthStatementScreen::MonthStatementScreen(MonthStatementKind kind, QWidget* parent)
    : ReportScreen(MonthStatement(kind).form(), MonthStatement(kind).title(), parent),
      logic_(kind) {
    cmbTaisyoNenTuki = new QComboBox(this);
    cmbTaisyoNenTuki->setObjectName(QStringLiteral("cmbTaisyoNenTuki"));
    cmbTaisyoNenTuki->setMinimumWidth(200);
    auto* lists = new QFormLayout;
    lists->addRow(QStringLiteral("对象年月"), cmbTaisyoNenTuki);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addStretch();
    layout->addLayout(makeStatementButtons(
        [this](int mode) {
            logic_.print_data(mode);
            // A list that showed no month prints the last one, which it then shows.
            showEntries(cmbTaisyoNenTuki, logic_.months(), logic_.month());
        },
        [this] { logic_.cmdQuestion_Click(); }, {cmbTaisyoNenTuki}));
    FocusKeys::install(this, {cmbTaisyoNenTuki});
    connect(cmbTaisyoNenTuki, &QComboBox::activated, this,
            [this](int index) { logic_.setMonth(index); });
    logic_.setBusyHandler(&ReportScreen::showBusy);

    logic_.Form_Load();
    showEntries(cmbTaisyoNenTuki, logic_.months(), logic_.month());
    resize(420, 160);
}
