#include "common/Session.h"
#include "db/Database.h"
#include "totals/TotalsInternal.h"

namespace {

// A null text would be bound as NULL; the tables hold "" for an empty text.
QVariant text(const QString& value) {
    const QString trimmed = value.trimmed();
    return trimmed.isNull() ? QVariant(QStringLiteral("")) : QVariant(trimmed);
}

}  // namespace

// The totals tables are written row by row with a plain insert whose failure (the row exists)
// tells the caller to update instead; the statement text only depends on the table name, so each
// table keeps one prepared statement.

bool WriteTukikanRow(const TukikanRow& row, const QString& table) {
    return Database::global().tryExecute(
        QStringLiteral("INSERT INTO %1 VALUES(?, ?, ?, ?, ?, ?, ?)").arg(table),
        {text(row.cid), text(row.kankocode), text(row.dateym), row.krtotal.toDb(),
         row.kstotal.toDb(), row.krrui.toDb(), row.ksrui.toDb()});
}

bool WriteTukihojoRow(const TukihojoRow& row, const QString& table) {
    return Database::global().tryExecute(
        QStringLiteral("INSERT INTO %1 VALUES(?, ?, ?, ?, ?, ?, ?, ?)").arg(table),
        {text(row.cid), text(row.kankocode), text(row.hocode), text(row.dateym), row.krtotal.toDb(),
         row.kstotal.toDb(), row.krrui.toDb(), row.ksrui.toDb()});
}

QString subsidiaryKey(const QString& kankocode, const QString& hocode) {
    return kankocode + u'\t' + hocode;
}

QSet<QString> accountsWithRow(const QString& month) {
    QSet<QString> found;
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT KANKOCODE FROM T_TUKIKAN WHERE CID = ? AND DATEYM = ?"),
        {session().CurrentCid, month});
    for (; !rs.eof(); rs.moveNext()) {
        found.insert(rs.text(QStringLiteral("KANKOCODE")));
    }
    return found;
}

QSet<QString> subsidiariesWithRow(const QString& month) {
    QSet<QString> found;
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT KANKOCODE, HOCODE FROM T_TUKIHOJO WHERE CID = ? AND DATEYM = ?"),
        {session().CurrentCid, month});
    for (; !rs.eof(); rs.moveNext()) {
        found.insert(
            subsidiaryKey(rs.text(QStringLiteral("KANKOCODE")), rs.text(QStringLiteral("HOCODE"))));
    }
    return found;
}
