#include "common/ui/ReportScreen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>

#include "common/ui/ScreenCaption.h"
#include "common/ui/Screens.h"

ReportScreen::ReportScreen(const QString& form, const QString& title, QWidget* parent)
    : QWidget(parent), title_(title) {
    setObjectName(form);
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
}

void ReportScreen::showBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

QPushButton* ReportScreen::makeButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setMinimumHeight(30);
    return button;
}

QHBoxLayout* ReportScreen::makeStatementButtons(const std::function<void(int)>& print,
                                                const std::function<void()>& help,
                                                const QList<QWidget*>& controls) {
    QPushButton* cmdHyouji = makeButton(QStringLiteral("cmdHyouji"), QStringLiteral("打印预览(R)"));
    QPushButton* cmdInsatu = makeButton(QStringLiteral("cmdInsatu"), QStringLiteral("打印(P)"));
    QPushButton* cmdQuestion = makeButton(QStringLiteral("cmdQuestion"), QStringLiteral("帮助"));
    QPushButton* cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("返回(X)"));
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {cmdHyouji, cmdInsatu, cmdQuestion, cmdBack}) {
        row->addWidget(b);
    }
    setKeyButtons({{Qt::Key_P, cmdInsatu}, {Qt::Key_R, cmdHyouji}, {Qt::Key_X, cmdBack}},
                  controls + QList<QWidget*>{cmdHyouji, cmdInsatu, cmdQuestion, cmdBack});
    connect(cmdHyouji, &QPushButton::clicked, this, [print] { print(0); });
    connect(cmdInsatu, &QPushButton::clicked, this, [print] { print(1); });
    connect(cmdQuestion, &QPushButton::clicked, this, help);
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    return row;
}

void ReportScreen::setKeyButtons(std::vector<std::pair<int, QPushButton*>> keys,
                                 const QList<QWidget*>& controls) {
    keys_ = std::move(keys);
    for (QWidget* control : controls) {
        control->installEventFilter(this);
    }
}

bool ReportScreen::pressButtonOfKey(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    for (const auto& [key, button] : keys_) {
        if (event->key() == key) {
            button->click();
            return true;
        }
    }
    return false;
}

bool ReportScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && pressButtonOfKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ReportScreen::keyPressEvent(QKeyEvent* event) {
    if (!pressButtonOfKey(event)) {
        QWidget::keyPressEvent(event);
    }
}

void ReportScreen::showEvent(QShowEvent* event) {
    setWindowTitle(screenCaption(title_));
    if (!centred_) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    QWidget::showEvent(event);
}

void ReportScreen::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(QStringLiteral("InOutMenu"));
}
