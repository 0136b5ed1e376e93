#include "maintenance/BackupRestore.h"

#include <QDir>
#include <QFile>
#include <optional>

#include "common/DateHelpers.h"
#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "maintenance/BackupReader.h"
#include "totals/MonthFlags.h"

namespace {

constexpr int kFullSet = 23;
constexpr int kYearEndSet = 11;
constexpr int kAccountSetFields = 27;

}  // namespace

QList<BackupEntry> backupEntries() {
    QList<BackupEntry> entries;
    RecordSet list = Database::global().query(
        QStringLiteral("SELECT SEQNO, TEXTNAME, FLPNO, KEISIKI FROM T_BACKUP ORDER BY SEQNO"));
    for (; !list.eof(); list.moveNext()) {
        entries.append({static_cast<int>(list.number(QStringLiteral("SEQNO"))),
                        list.text(QStringLiteral("TEXTNAME")).trimmed(),
                        static_cast<int>(list.number(QStringLiteral("FLPNO"))),
                        list.text(QStringLiteral("KEISIKI")).trimmed()});
    }
    return entries;
}

bool reopenRestoredPeriod(const RestoredPeriod& period) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    // Every month of the restored period is stale: the totals are rebuilt on next use.
    const QString from = openingMonth(dateNormalise(period.start).left(7));
    const QString to = dateNormalise(period.end).left(7);
    if (!UpdateTukiSimebi(TotalsKind::Accounts, MonthState::Stale, from, to) ||
        !UpdateTukiSimebi(TotalsKind::Subsidiaries, MonthState::Stale, from, to)) {
        return false;
    }
    db.execute(QStringLiteral("DELETE FROM T_TUKIKAN  WHERE CID = ?"), {cid});
    db.execute(QStringLiteral("DELETE FROM T_TUKIHOJO WHERE CID = ?"), {cid});
    return true;
}

namespace {

// Deletes the set's rows of every table in the backup and writes the files back; false after a
// failure already reported.
bool restoreTables(const QString& folder, int fileCount) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    std::optional<RestoredPeriod> period;
    for (const BackupEntry& entry : backupEntries()) {
        if (fileCount == kYearEndSet &&
            entry.table.compare(u"BT_KANJO", Qt::CaseInsensitive) == 0) {
            break;
        }
        // The table name comes from the shipped list; columns() refuses one the file lacks.
        db.columns(entry.table);
        if (entry.seqNo > 1) {
            db.execute(QStringLiteral("DELETE FROM %1 WHERE CID = ?").arg(entry.table), {cid});
        } else {
            db.execute(QStringLiteral("DELETE FROM %1").arg(entry.table));
        }
        RestoredPeriod read;
        if (!write_data_to_table(QDir(folder).filePath(entry.textName + QStringLiteral(".txt")),
                                 entry.table, entry.seqNo, entry.fieldCount, &read)) {
            return false;
        }
        if (read.found) {
            period = read;
        }
    }
    if (!period) {
        throw DbError(DbError::kInvalidValue,
                      QStringLiteral("备份中没有账套 %1 的账套信息 (T_002.txt)。").arg(cid));
    }
    return reopenRestoredPeriod(*period);
}

}  // namespace

QStringList backupFileNames() {
    QStringList names;
    for (int i = 1; i <= kFullSet; ++i) {
        names.append(QStringLiteral("T_%1.txt").arg(i, 3, 10, QLatin1Char('0')));
    }
    return names;
}

int countBackupFiles(const QString& folder) {
    const QDir dir(folder);
    int found = 0;
    for (const QString& name : backupFileNames()) {
        found += QFileInfo(dir.filePath(name)).isFile() ? 1 : 0;
    }
    return found;
}

SetCheck check_company(const QString& folder) {
    try {
        QFile file(QDir(folder).filePath(QStringLiteral("T_002.txt")));
        if (!file.open(QIODevice::ReadOnly)) {
            throw DbError(DbError::kNotOpen, QStringLiteral("不能读取文件: ") + file.fileName());
        }
        BackupFieldReader reader(decodeBackupText(file.readAll()));
        QStringList fields;
        if (!reader.nextRow(fields, kAccountSetFields)) {
            return SetCheck::Other;
        }
        return fields.first().trimmed() == session().CurrentCid ? SetCheck::Same : SetCheck::Other;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("check_company"));
        return SetCheck::Failed;
    }
}

RestoreOutcome restoreBackupSet(const QString& folder, const QString& accountSetText) {
    const int fileCount = countBackupFiles(folder);
    if (fileCount != kYearEndSet && fileCount != kFullSet) {
        messages().exclamation(QStringLiteral("没找到符合条件的数据，中止数据恢复处理。"));
        return RestoreOutcome::NotABackup;
    }
    switch (check_company(folder)) {
        case SetCheck::Same:
            break;
        case SetCheck::Other:
            messages().exclamation(QStringLiteral("要恢复的数据不是现在使用中的") + accountSetText +
                                   QStringLiteral("的数据，\n\n中止数据恢复处理。"));
            return RestoreOutcome::OtherSet;
        case SetCheck::Failed:
            return RestoreOutcome::Failed;
    }
    Database& db = Database::global();
    try {
        std::optional<TransactionGuard> own;
        if (!db.inTransaction()) {
            own.emplace(db);
        }
        if (!restoreTables(folder, fileCount)) {
            return RestoreOutcome::Failed;
        }
        if (own) {
            own->commit();
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdLoalBack_Click"));
        return RestoreOutcome::Failed;
    }
    messages().information(QStringLiteral("数据恢复成功！"));
    session().CurrentYearLoaded = true;
    return RestoreOutcome::Restored;
}
