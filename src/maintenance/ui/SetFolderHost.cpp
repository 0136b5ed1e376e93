#include "maintenance/ui/SetFolderHost.h"

#include <QApplication>

#include "common/ui/ScreenCaption.h"
#include "print/ui/FileDialog.h"

void SetFolderHost::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void SetFolderHost::showMessageLabel(const QString& text) {
    message_->setText(text);
    message_->setVisible(!text.isEmpty());
    message_->repaint();
}

QString SetFolderHost::chooseBackupFolder() {
    FileDialog dialog(FileDialogUse::Backup, {}, {}, &screen_);
    dialog.exec();
    return dialog.resultText() == u"ok" ? dialog.folder() : QString();
}

void SetFolderHost::focusBack() {
    back_->setFocus();
}

QString SetFolderHost::accountSetText() const {
    return mainWindowCompanyName();
}

void SetFolderHost::refreshCaption() {
    screen_.setWindowTitle(BackupMaintenance::caption(accountSetText()));
}

QLabel* SetFolderHost::makeMessageLabel() {
    auto* label = new QLabel(&screen_);
    label->setObjectName(QStringLiteral("lblMessage"));
    label->hide();
    return label;
}

QPushButton* SetFolderHost::makeButton(const QString& name, const QString& text) {
    auto* button = new QPushButton(text, &screen_);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumWidth(120);
    return button;
}
