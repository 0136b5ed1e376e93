#include "entry/ui/prtSiwakeNikki.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/ui/FocusKeys.h"
#include "common/ui/Screens.h"

namespace {

const QString kEntryForm = QStringLiteral("InpKantanSiwake");

QComboBox* makeDayList(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setMinimumWidth(160);
    return box;
}

}  // namespace

prtSiwakeNikki::prtSiwakeNikki(QWidget* parent)
    : ReportScreen(JournalPrint::kForm, JournalPrint::kTitle, parent) {
    cmbTaisyoHizuke1 = makeDayList(this, QStringLiteral("cmbTaisyoHizuke1"));
    cmbTaisyoHizuke2 = makeDayList(this, QStringLiteral("cmbTaisyoHizuke2"));
    cmdHyouji = makeButton(QStringLiteral("cmdHyouji"), QStringLiteral("打印预览(R)"));
    cmdInsatu = makeButton(QStringLiteral("cmdInsatu"), QStringLiteral("打印(P)"));
    cmdSyusei = makeButton(QStringLiteral("cmdSyusei"), QStringLiteral("修改(E)"));
    cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("返回(X)"));
    cmdQuestion = makeButton(QStringLiteral("cmdQuestion"), QStringLiteral("帮助"));

    auto* lists = new QFormLayout;
    lists->addRow(QStringLiteral("开始日期"), cmbTaisyoHizuke1);
    lists->addRow(QStringLiteral("结束日期"), cmbTaisyoHizuke2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdHyouji, cmdInsatu, cmdSyusei, cmdBack, cmdQuestion}) {
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addStretch();
    layout->addLayout(buttons);
    FocusKeys::install(this, {cmbTaisyoHizuke1, cmbTaisyoHizuke2});
    setKeyButtons({{Qt::Key_E, cmdSyusei},
                   {Qt::Key_P, cmdInsatu},
                   {Qt::Key_X, cmdBack},
                   {Qt::Key_R, cmdHyouji}},
                  {cmbTaisyoHizuke1, cmbTaisyoHizuke2, cmdHyouji, cmdInsatu, cmdSyusei, cmdBack,
                   cmdQuestion});

    connect(cmbTaisyoHizuke1, &QComboBox::activated, this,
            [this](int index) { logic_.setFirstIndex(index); });
    connect(cmbTaisyoHizuke2, &QComboBox::activated, this,
            [this](int index) { logic_.setLastIndex(index); });
    connect(cmdHyouji, &QPushButton::clicked, this, [this] { print(0); });
    connect(cmdInsatu, &QPushButton::clicked, this, [this] { print(1); });
    connect(cmdSyusei, &QPushButton::clicked, this, &prtSiwakeNikki::correct);
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_.cmdQuestion_Click(); });
    logic_.setBusyHandler(&ReportScreen::showBusy);

    logic_.Form_Load();
    refresh();
    resize(520, 200);
}

void prtSiwakeNikki::refresh() {
    for (QComboBox* box : {cmbTaisyoHizuke1, cmbTaisyoHizuke2}) {
        const QSignalBlocker block(box);
        if (box->count() != logic_.days().size()) {
            box->clear();
            for (const JournalDay& day : logic_.days()) {
                box->addItem(day.text, day.denno);
            }
        }
    }
    const QSignalBlocker block1(cmbTaisyoHizuke1);
    const QSignalBlocker block2(cmbTaisyoHizuke2);
    cmbTaisyoHizuke1->setCurrentIndex(logic_.firstIndex());
    cmbTaisyoHizuke2->setCurrentIndex(logic_.lastIndex());
}

void prtSiwakeNikki::print(int mode) {
    logic_.PrintShiwakeDen(mode);
    // The range check picks the first and last day of a list that showed none.
    refresh();
}

void prtSiwakeNikki::correct() {
    const bool ok = logic_.cmdSyusei_Click();
    refresh();
    if (ok) {
        Screens::open(kEntryForm, this);
    }
}
