#include "maintenance/ui/runBackUp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QScreen>

#include "common/Session.h"
#include "common/ui/FocusKeys.h"
#include "common/ui/ScreenCaption.h"
#include "common/ui/Screens.h"
#include "print/ui/FileDialog.h"

runBackUp::runBackUp(QWidget* parent) : QWidget(parent), logic_(*this) {
    setObjectName(QStringLiteral("runBackUp"));

    lblReadMe = new QLabel(BackupMaintenance::readMeText(), this);
    lblReadMe->setObjectName(QStringLiteral("lblReadMe"));
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->hide();
    const auto button = [this](const QString& name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setMinimumWidth(120);
        return b;
    };
    cmdBackUp = button(QStringLiteral("cmdBackUp"), QStringLiteral("开始备份"));
    cmdLoalBack = button(QStringLiteral("cmdLoalBack"), QStringLiteral("开始恢复"));
    cmdCompack = button(QStringLiteral("cmdCompack"), QStringLiteral("压缩数据库"));
    cmdQuestion = button(QStringLiteral("cmdQuestion"), QStringLiteral("帮助"));
    cmdBack = button(QStringLiteral("cmdBack"), QStringLiteral("返回"));
    FocusKeys::install(this, {cmdBackUp, cmdLoalBack, cmdCompack, cmdQuestion, cmdBack});

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblReadMe, 0, 0, 1, 3);
    grid->addWidget(cmdBackUp, 1, 0);
    grid->addWidget(cmdLoalBack, 1, 1);
    grid->addWidget(cmdCompack, 1, 2);
    grid->addWidget(lblMessage, 2, 0, 1, 3);
    grid->addWidget(cmdQuestion, 3, 1);
    grid->addWidget(cmdBack, 3, 2);

    connect(cmdBackUp, &QPushButton::clicked, this, [this] { logic_.cmdBackUp_Click(); });
    connect(cmdLoalBack, &QPushButton::clicked, this, [this] { logic_.cmdLoalBack_Click(); });
    connect(cmdCompack, &QPushButton::clicked, this, [this] { logic_.cmdCompack_Click(); });
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_.cmdQuestion_Click(); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
}

void runBackUp::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (const QScreen* where = screen()) {
        move(where->availableGeometry().center() - rect().center());
    }
    refreshCaption();
}

void runBackUp::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(QStringLiteral("SaveUpdateMenu"));
}

void runBackUp::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void runBackUp::showMessageLabel(const QString& text) {
    lblMessage->setText(text);
    lblMessage->setVisible(!text.isEmpty());
    lblMessage->repaint();
}

QString runBackUp::chooseBackupFolder() {
    FileDialog dialog(FileDialogUse::Backup, {}, {}, this);
    dialog.exec();
    return dialog.resultText() == u"ok" ? dialog.folder() : QString();
}

void runBackUp::focusBack() {
    cmdBack->setFocus();
}

QString runBackUp::accountSetText() const {
    return mainWindowCompanyName();
}

void runBackUp::refreshCaption() {
    setWindowTitle(BackupMaintenance::caption(accountSetText()));
}
