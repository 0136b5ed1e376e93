#include "maintenance/BackupSet.h"

#include <QDir>
#include <QSaveFile>
#include <QTextStream>

#include "common/Messages.h"
#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"

namespace {

constexpr int kFirstYearCopy = 12;

}  // namespace

QString fieldText(const QVariant& value, ColumnKind kind) {
    if (value.isNull()) {
        return QString();
    }
    if (kind == ColumnKind::Money) {
        return Money::fromDb(value).toText();
    }
    if (value.typeId() == QMetaType::Double) {
        return QString::number(value.toDouble(), 'g', 15);
    }
    return value.toString();
}

namespace {

// Folder names come from company names; keep them to one folder level.
QString folderSafe(QString name) {
    for (QChar& c : name) {
        if (c == u'/' || c == u'\\' || c == QChar::Null) {
            c = u'_';
        }
    }
    return name.trimmed().isEmpty() ? QStringLiteral("_") : name.trimmed();
}

}  // namespace

bool writeSetFile(const QString& path, const QString& table, int seqNo, const QString& order,
                  const SetLineWriter& writeLine) {
    Database& db = Database::global();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw DbError(DbError::kNotOpen, QStringLiteral("不能写入文件: ") + path);
    }
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    // Table names come from the shipped list and are checked against the schema.
    const QList<Column> columns = db.columns(table);
    RecordSet rs =
        seqNo > 1 ? db.query(QStringLiteral("SELECT * FROM %1 WHERE CID = ?%2").arg(table, order),
                             {session().CurrentCid})
                  : db.query(QStringLiteral("SELECT * FROM %1").arg(table));
    for (; !rs.eof(); rs.moveNext()) {
        if (!writeLine(rs, columns, out)) {
            file.cancelWriting();
            return false;
        }
    }
    out.flush();
    if (!file.commit()) {
        throw DbError(DbError::kNotOpen, QStringLiteral("不能写入文件: ") + path);
    }
    return true;
}

QString backupField(const QString& text) {
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString defaultBackupFolder(const QString& accountSetText) {
    return session().AppFolder + QStringLiteral("Data/") + folderSafe(accountSetText) + u'/';
}

QString temporaryBackupFolder(const QString& accountSetText) {
    return session().AppFolder + QStringLiteral("Temp/") + folderSafe(accountSetText) + u'/';
}

QString backupLine(const RecordSet& row, const QList<Column>& columns, int fieldCount) {
    if (fieldCount < 1 || fieldCount > columns.size()) {
        throw DbError(
            DbError::kInvalidValue,
            QStringLiteral("字段数 %1 超出了表的列数 %2。").arg(fieldCount).arg(columns.size()));
    }
    QString line;
    for (int i = 0; i < fieldCount; ++i) {
        if (i > 0) {
            line += u',';
        }
        line += backupField(fieldText(row.valueAt(i), columns.at(i).kind));
    }
    return line;
}

bool write_data_to_text(const RecordSet& row, const QList<Column>& columns, int fieldCount,
                        QTextStream& file) {
    try {
        file << backupLine(row, columns, fieldCount) << "\r\n";
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("write_data_to_text"));
        return false;
    }
}

bool DataBackUp(const QString& folder, BackupUse use, const BackupProgress& progress) {
    try {
        if (!QDir().mkpath(folder)) {
            throw DbError(DbError::kNotOpen, QStringLiteral("不能创建文件夹: ") + folder);
        }
        const int files = use == BackupUse::YearEnd
                              ? kFirstYearCopy - 1
                              : Database::global()
                                    .scalar(QStringLiteral("SELECT COUNT(*) FROM T_BACKUP"))
                                    .toInt();
        int written = 0;
        if (progress) {
            progress(written, files);
        }
        RecordSet list = Database::global().query(
            QStringLiteral("SELECT SEQNO, TEXTNAME, FLPNO, KEISIKI FROM T_BACKUP ORDER BY SEQNO"));
        for (; !list.eof(); list.moveNext()) {
            const int seqNo = static_cast<int>(list.number(QStringLiteral("SEQNO")));
            if (seqNo == kFirstYearCopy && use == BackupUse::YearEnd) {
                break;
            }
            const QString path = QDir(folder).filePath(list.text(QStringLiteral("TEXTNAME")) +
                                                       QStringLiteral(".txt"));
            const int fieldCount = static_cast<int>(list.number(QStringLiteral("FLPNO")));
            const auto line = [fieldCount](const RecordSet& row, const QList<Column>& columns,
                                           QTextStream& out) {
                return write_data_to_text(row, columns, fieldCount, out);
            };
            if (!writeSetFile(path, list.text(QStringLiteral("KEISIKI")), seqNo, QString(), line)) {
                return false;
            }
            if (progress) {
                progress(++written, files);
            }
        }
        if (use == BackupUse::Full) {
            messages().information(QStringLiteral("数据备份成功！"));
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("DataBackUp"));
        return false;
    }
}
