#include "maintenance/BackupMaintenance.h"

#include <QDir>
#include <QLocale>

#include "common/Messages.h"
#include "common/Session.h"
#include "maintenance/BackupRestore.h"
#include "maintenance/BackupSet.h"
#include "maintenance/Compaction.h"

QString BackupMaintenance::readMeText() {
    return QStringLiteral("当天的业务完成后，一定要对数据进行备份。");
}

QString BackupMaintenance::questionText() {
    return QStringLiteral("单击“开始备份”，对每日的数据进行备份处理。") + Messages::kCrLf +
           QStringLiteral("单击“开始恢复”，在数据被破坏的情况下进行恢复处理。");
}

QString BackupMaintenance::caption(const QString& accountSetText) {
    return accountSetText + QStringLiteral(" — ") + session().PeriodLabel;
}

void BackupMaintenance::done() {
    host_.setBusy(false);
    host_.showMessageLabel(QString());
}

bool BackupMaintenance::cmdBackUp_Click() {
    const QString folder = host_.chooseBackupFolder();
    if (folder.isNull()) {
        return true;
    }
    host_.setBusy(true);
    host_.showMessageLabel(QStringLiteral("数 据 备 份 中 ！！"));
    const bool written = DataBackUp(QDir::cleanPath(folder) + u'/');
    done();
    return written;
}

bool BackupMaintenance::cmdLoalBack_Click() {
    const QString folder = host_.chooseBackupFolder();
    return !folder.isNull() && restoreFrom(folder);
}

bool BackupMaintenance::restoreFrom(const QString& folder) {
    host_.setBusy(true);
    host_.showMessageLabel(QStringLiteral("数 据 恢 复 中 ！！"));
    const bool restored = restoreBackupSet(QDir::cleanPath(folder) + u'/',
                                           host_.accountSetText()) == RestoreOutcome::Restored;
    done();
    if (restored) {
        host_.refreshCaption();
    }
    host_.focusBack();
    return restored;
}

bool BackupMaintenance::cmdCompack_Click() {
    const QString question = QStringLiteral("压缩数据库。") + Messages::kCrLf +
                             QStringLiteral("在压缩之前请先进行数据备份。") + Messages::kCrLf +
                             QStringLiteral("是否完成数据备份？");
    if (messages().askYesNo(question) != MsgAnswer::Yes) {
        return false;
    }
    host_.setBusy(true);
    host_.showMessageLabel(QStringLiteral("正在压缩数据库 ！！"));
    const bool compacted = compactDatabase();
    if (compacted) {
        messages().information(QStringLiteral("数据库压缩处理正常结束。"));
    }
    done();
    host_.focusBack();
    return compacted;
}

void BackupMaintenance::cmdQuestion_Click() {
    messages().help(MsgIcon::None, questionText(), QStringLiteral("backup"));
}

void BackupMaintenance::refreshAutoBackups() {
    autoBackups_ = autoBackups(session().CurrentCid);
}

QString BackupMaintenance::autoBackupText(const AutoBackupEntry& entry) {
    constexpr qint64 kilobyte = 1024;
    return entry.day.toString(QStringLiteral("yyyy/MM/dd")) + QStringLiteral("    ") +
           QLocale(QLocale::Chinese, QLocale::China)
               .toString((entry.bytes + kilobyte - 1) / kilobyte) +
           QStringLiteral(" KB");
}

bool BackupMaintenance::cmdAutoRestore_Click(int index) {
    if (index < 0 || index >= autoBackups_.size()) {
        return false;
    }
    const AutoBackupEntry entry = autoBackups_.at(index);
    const QString question =
        QStringLiteral("用 %1 的自动备份恢复%2的数据。")
            .arg(entry.day.toString(QStringLiteral("yyyy/MM/dd")), host_.accountSetText()) +
        Messages::kCrLf + QStringLiteral("现在的数据将被替换，可以吗?");
    if (messages().askYesNo(question, MsgAnswer::No, MsgIcon::Exclamation) != MsgAnswer::Yes) {
        return false;
    }
    return restoreFrom(entry.folder);
}

bool BackupMaintenance::numKeep_Change(int count) {
    const bool stored = setAutoBackupKeepCount(count);
    refreshAutoBackups();
    return stored;
}
