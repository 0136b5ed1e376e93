#include "maintenance/ui/runNenjiUpdate.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>

#include "common/Messages.h"
#include "common/ui/FocusKeys.h"
#include "common/ui/Screens.h"
#include "master/ui/InpKaisyaJoho.h"

runNenjiUpdate::runNenjiUpdate(QWidget* parent) : QWidget(parent), logic_(QString(), this) {
    setObjectName(QStringLiteral("runNenjiUpdate"));
    lblReadMe = new QLabel(this);
    lblReadMe->setObjectName(QStringLiteral("lblReadMe"));
    lblReadMe->setWordWrap(true);
    lblKisyubi = new QLabel(this);
    lblKisyubi->setObjectName(QStringLiteral("lblKisyubi"));
    numRate = new QDoubleSpinBox(this);
    numRate->setObjectName(QStringLiteral("numRate"));
    numRate->setDecimals(4);
    numRate->setRange(0.0, 99999.9999);
    lblMessage = new QLabel(QStringLiteral("年 底 结 转 处 理 中 ！！"), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setVisible(false);

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    cmdJikkou = button("cmdJikkou", QStringLiteral("年底结转"));
    cmdPerYear = button("cmdPerYear", QStringLiteral("转到上一年度"));
    cmdNowYear = button("cmdNowYear", QStringLiteral("返回本年度"));
    cmdSyokika = button("cmdSyokika", QStringLiteral("数据初始化"));
    cmdBack = button("cmdBack", QStringLiteral("返回"));

    form_ = new QFormLayout;
    auto* form = form_;
    form->addRow(QStringLiteral("下一年度期首日:"), lblKisyubi);
    form->addRow(QStringLiteral("期首日汇率:"), numRate);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdJikkou, cmdPerYear, cmdNowYear, cmdSyokika, cmdBack}) {
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblReadMe);
    layout->addLayout(form);
    layout->addWidget(lblMessage);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(cmdJikkou, &QPushButton::clicked, this, [this] {
        logic_.rate = numRate->value();
        run(&YearEndUpdate::cmdJikkou_Click);
    });
    connect(cmdPerYear, &QPushButton::clicked, this,
            [this] { run(&YearEndUpdate::cmdPerYear_Click); });
    connect(cmdNowYear, &QPushButton::clicked, this,
            [this] { run(&YearEndUpdate::cmdNowYear_Click); });
    connect(cmdSyokika, &QPushButton::clicked, this,
            [this] { run(&YearEndUpdate::cmdSyokika_Click); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    FocusKeys::install(this, {numRate, cmdJikkou, cmdPerYear, cmdNowYear, cmdSyokika, cmdBack});
    resize(560, 220);
}

void runNenjiUpdate::run(bool (YearEndUpdate::*routine)()) {
    (logic_.*routine)();
    refresh();
    cmdBack->setFocus();
}

void runNenjiUpdate::refresh() {
    lblReadMe->setText(QString(logic_.lblReadMe).replace(Messages::kCrLf, QStringLiteral("\n")));
    lblKisyubi->setText(logic_.lblKisyubi);
    // The caption goes with the box: a set without foreign currency has neither.
    form_->setRowVisible(numRate, logic_.rateShown);
    cmdJikkou->setEnabled(logic_.cmdJikkouEnabled);
    cmdPerYear->setEnabled(logic_.cmdPerYearEnabled);
    cmdNowYear->setEnabled(logic_.cmdNowYearEnabled);
    setWindowTitle(logic_.caption);
}

void runNenjiUpdate::showEvent(QShowEvent* event) {
    // Each showing is a fresh load: the current set may have changed.
    logic_ = YearEndUpdate(MainWindowAccountSets().currentAccountSetText(), this);
    logic_.Form_Load();
    refresh();
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QWidget::showEvent(event);
}

void runNenjiUpdate::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    Screens::showForm(QStringLiteral("SaveUpdateMenu"));
}

void runNenjiUpdate::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void runNenjiUpdate::showMessageLabel(bool shown) {
    lblMessage->setVisible(shown);
    lblMessage->repaint();
}
