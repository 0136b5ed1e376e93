#include "entry/ui/prtSiwakeNikki.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/ui/FocusKeys.h"
#include "common/ui/ScreenCaption.h"
#include "common/ui/Screens.h"

namespace {

const QString kMenuForm = QStringLiteral("InOutMenu");
const QString kEntryForm = QStringLiteral("InpKantanSiwake");

QComboBox* makeDayList(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setMinimumWidth(160);
    return box;
}

}  // namespace

prtSiwakeNikki::prtSiwakeNikki(QWidget* parent) : QWidget(parent) {
    setObjectName(JournalPrint::kForm);
    setWindowTitle(JournalPrint::kTitle);
    // Each opening from the menu starts from a fresh load, as the closed form is unloaded.
    setAttribute(Qt::WA_DeleteOnClose);

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
    // The form sees the keys before its controls do.
    for (QWidget* control :
         std::initializer_list<QWidget*>{cmbTaisyoHizuke1, cmbTaisyoHizuke2, cmdHyouji, cmdInsatu,
                                         cmdSyusei, cmdBack, cmdQuestion}) {
        control->installEventFilter(this);
    }

    connect(cmbTaisyoHizuke1, &QComboBox::activated, this,
            [this](int index) { logic_.setFirstIndex(index); });
    connect(cmbTaisyoHizuke2, &QComboBox::activated, this,
            [this](int index) { logic_.setLastIndex(index); });
    connect(cmdHyouji, &QPushButton::clicked, this, [this] { print(0); });
    connect(cmdInsatu, &QPushButton::clicked, this, [this] { print(1); });
    connect(cmdSyusei, &QPushButton::clicked, this, &prtSiwakeNikki::correct);
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_.cmdQuestion_Click(); });
    logic_.setBusyHandler([](bool busy) {
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    });

    logic_.Form_Load();
    refresh();
    resize(520, 200);
}

QPushButton* prtSiwakeNikki::makeButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setMinimumHeight(30);
    return button;
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

bool prtSiwakeNikki::pressButtonOfKey(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    const std::pair<int, QPushButton*> keys[] = {{Qt::Key_E, cmdSyusei},
                                                 {Qt::Key_P, cmdInsatu},
                                                 {Qt::Key_X, cmdBack},
                                                 {Qt::Key_R, cmdHyouji}};
    for (const auto& [key, button] : keys) {
        if (event->key() == key) {
            button->click();
            return true;
        }
    }
    return false;
}

bool prtSiwakeNikki::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && pressButtonOfKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void prtSiwakeNikki::keyPressEvent(QKeyEvent* event) {
    if (!pressButtonOfKey(event)) {
        QWidget::keyPressEvent(event);
    }
}

void prtSiwakeNikki::showEvent(QShowEvent* event) {
    setWindowTitle(screenCaption(JournalPrint::kTitle));
    if (!centred_) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    QWidget::showEvent(event);
}

void prtSiwakeNikki::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(kMenuForm);
}
