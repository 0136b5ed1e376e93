#include "maintenance/ui/CsvScreen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "common/Session.h"
#include "common/ui/FocusKeys.h"
#include "common/ui/ScreenCaption.h"
#include "common/ui/Screens.h"
#include "print/ui/FileDialog.h"

CsvScreen::CsvScreen(const QString& name, const QString& startName, const QString& readMe,
                     FileDialogUse use, QWidget* parent)
    : QWidget(parent), use_(use) {
    setObjectName(name);
    lblReadMe = new QLabel(readMe, this);
    lblReadMe->setObjectName(QStringLiteral("lblReadMe"));
    lblReadMe->setWordWrap(true);
    lblMessage = new QLabel(QStringLiteral("正在处理，请稍候……"), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->hide();
    cmbTuki = new QComboBox(this);
    cmbTuki->setObjectName(QStringLiteral("cmbTuki"));
    cmdStart = new QPushButton(QStringLiteral("开始"), this);
    cmdStart->setObjectName(startName);
    cmdStart->setAutoDefault(false);
    cmdBack = new QPushButton(QStringLiteral("返回"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setAutoDefault(false);
    FocusKeys::install(this, {cmbTuki, cmdStart, cmdBack});

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblReadMe, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("月份："), this), 1, 0);
    grid->addWidget(cmbTuki, 1, 1, 1, 2);
    grid->addWidget(lblMessage, 2, 0, 1, 3);
    grid->addWidget(cmdStart, 3, 1);
    grid->addWidget(cmdBack, 3, 2);

    connect(cmbTuki, &QComboBox::currentIndexChanged, this, [this](int index) { choose(index); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
}

void CsvScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (const QScreen* where = screen()) {
        move(where->availableGeometry().center() - rect().center());
    }
    setWindowTitle(accountSetText() + QStringLiteral(" — ") + session().PeriodLabel);
    const bool loaded = formInit();
    {
        const QSignalBlocker quiet(cmbTuki);
        cmbTuki->clear();
        for (const LedgerMonth& month : monthList()) {
            cmbTuki->addItem(month.text);
        }
        cmbTuki->setCurrentIndex(-1);
    }
    choose(-1);
    if (!loaded) {
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void CsvScreen::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(QStringLiteral("SaveUpdateMenu"));
}

void CsvScreen::setBusy(bool busy) {
    lblMessage->setVisible(busy);
    lblMessage->repaint();
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

QString CsvScreen::chooseFolder(QStringList& files) {
    FileDialog dialog(use_, cmbTuki->currentIndex() >= 0 ? cmbTuki->currentText() : QString(), {},
                      this);
    dialog.exec();
    if (dialog.resultText() != u"ok") {
        return QString();
    }
    files = dialog.logic().files();
    return dialog.folder();
}

void CsvScreen::focusBack() {
    cmdBack->setFocus();
}

QString CsvScreen::accountSetText() const {
    return mainWindowCompanyName();
}
