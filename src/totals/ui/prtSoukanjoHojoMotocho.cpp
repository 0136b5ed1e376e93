#include "totals/ui/prtSoukanjoHojoMotocho.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/Messages.h"
#include "common/ui/FocusKeys.h"
#include "common/ui/ScreenCaption.h"
#include "common/ui/Screens.h"

namespace {

const QString kMenuForm = QStringLiteral("InOutMenu");
const QString kCorrectionForm = QStringLiteral("InpSoukanjoMotchoH");

}  // namespace

prtSoukanjoHojoMotocho::prtSoukanjoHojoMotocho(QWidget* parent) : QWidget(parent) {
    setObjectName(SubsidiaryLedger::kForm);
    setWindowTitle(SubsidiaryLedger::kTitle);
    // Each opening from the menu starts from a fresh load, as the closed form is unloaded.
    setAttribute(Qt::WA_DeleteOnClose);

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
    // The form sees the keys before its controls do.
    for (QWidget* control : std::initializer_list<QWidget*>{
             cmbTaisyoNenTuki1, cmbTaisyoNenTuki2, cmbTaisyoKamoku1, cmbTaisyoKamoku2, cmdHyouji,
             cmdInsatu, cmdDataHyoji, cmdBack, cmdQuestion, Command1}) {
        control->installEventFilter(this);
    }

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
    logic_.setBusyHandler([](bool busy) {
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    });

    logic_.Form_Load();
    refresh();
    resize(600, 260);
}

QPushButton* prtSoukanjoHojoMotocho::makeButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setMinimumHeight(30);
    return button;
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
    for (const SubsidiaryLedger::MonthItem& m : logic_.months()) {
        months.append(m.text);
    }
    QStringList accounts;
    for (const SubsidiaryLedger::AccountItem& a : logic_.accounts()) {
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
    if (ok && !Screens::open(kCorrectionForm, this)) {
        messages().information(QStringLiteral("该功能尚未提供。"));
    }
}

bool prtSoukanjoHojoMotocho::pressButtonOfKey(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    const std::pair<int, QPushButton*> keys[] = {{Qt::Key_D, cmdDataHyoji},
                                                 {Qt::Key_P, cmdInsatu},
                                                 {Qt::Key_R, cmdHyouji},
                                                 {Qt::Key_X, cmdBack}};
    for (const auto& [key, button] : keys) {
        if (event->key() == key) {
            button->click();
            return true;
        }
    }
    return false;
}

bool prtSoukanjoHojoMotocho::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && pressButtonOfKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void prtSoukanjoHojoMotocho::keyPressEvent(QKeyEvent* event) {
    if (!pressButtonOfKey(event)) {
        QWidget::keyPressEvent(event);
    }
}

void prtSoukanjoHojoMotocho::showEvent(QShowEvent* event) {
    setWindowTitle(screenCaption(SubsidiaryLedger::kTitle));
    if (!centred_) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    QWidget::showEvent(event);
}

void prtSoukanjoHojoMotocho::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(kMenuForm);
}
