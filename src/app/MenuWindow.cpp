#include "app/MenuWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QVBoxLayout>

#include "common/Messages.h"
#include "common/Session.h"
#include "common/ui/GuidanceLabel.h"
#include "common/ui/ScreenCaption.h"
#include "common/ui/Screens.h"

namespace {

const QString kMainMenu = QStringLiteral("MainMenu");
const QString kSeparator = QStringLiteral(" — ");

}  // namespace

MenuWindow::MenuWindow(const QString& form, const QString& title, const QStringList& readMe,
                       const QList<MenuButton>& buttons)
    : title_(title) {
    setObjectName(form);
    setWindowTitle(title);

    auto* column = new QVBoxLayout;
    for (const MenuButton& b : buttons) {
        auto* button = new QPushButton(b.caption, this);
        button->setObjectName(b.name);
        button->setToolTip(b.toolTip);
        button->setMinimumHeight(34);
        button->setStyleSheet(QStringLiteral("text-align: left; padding-left: 12px;"));
        // The size hint leaves out the left padding: long captions would be cut.
        button->setMinimumWidth(button->sizeHint().width() + 12);
        connect(button, &QPushButton::clicked, this, [this, b] { openTarget(b); });
        column->addWidget(button);
    }
    column->addStretch();
    cmdBack = new QPushButton(QStringLiteral("返回主界面(X)"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setToolTip(QStringLiteral("返回软件主界面。"));
    cmdBack->setMinimumHeight(34);
    cmdBack->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    column->addWidget(cmdBack);

    lblReadMe = makeGuidanceLabel(readMe.join(u'\n'), this);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(column);
    layout->addWidget(lblReadMe, 1);
    resize(640, 420);
}

QString MenuWindow::captionText() const {
    return title_ + kSeparator + session().PeriodLabel + kSeparator + mainWindowCompanyName();
}

void MenuWindow::showEvent(QShowEvent* event) {
    setWindowTitle(captionText());
    QWidget::showEvent(event);
}

void MenuWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(kMainMenu);
}

void MenuWindow::openTarget(const MenuButton& button) {
    if (!button.callerForm.isEmpty()) {
        session().CallerForm = button.callerForm;
    }
    if (!Screens::open(button.form, this)) {
        messages().information(QStringLiteral("该功能尚未提供。"));
    }
}
