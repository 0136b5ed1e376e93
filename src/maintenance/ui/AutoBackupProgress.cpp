#include "maintenance/ui/AutoBackupProgress.h"

#include <QApplication>
#include <QProgressDialog>
#include <memory>

#include "maintenance/AutoBackup.h"

bool writeAutoBackupShowingProgress() {
    // Made at the first file only: a day that has its backup shows nothing.
    std::unique_ptr<QProgressDialog> dialog;
    const auto progress = [&dialog](int written, int files) {
        if (!dialog) {
            dialog = std::make_unique<QProgressDialog>(
                QStringLiteral("正在自动备份今天的账目，请稍候……"), QString(), 0, files,
                QApplication::activeWindow());
            dialog->setObjectName(QStringLiteral("AutoBackupProgress"));
            dialog->setWindowTitle(QStringLiteral("自动备份"));
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->setMinimumDuration(0);
            dialog->setAutoClose(false);
        }
        // A modal dialog paints itself on each value.
        dialog->setValue(written);
    };
    return writeAutoBackup(progress);
}
