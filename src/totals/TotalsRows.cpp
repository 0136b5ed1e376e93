#include <QStringList>

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

// Opening-month rows are written with a plain insert whose failure means the row exists; every
// other row with an upsert. Each statement text depends only on the table and the columns, so
// the connection keeps one prepared statement per use.

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

namespace {

QString onConflict(const QString& keys, unsigned columns, Merge merge) {
    if (columns == kNoAmounts) {
        return QStringLiteral(" ON CONFLICT (%1) DO NOTHING").arg(keys);
    }
    const bool add = merge == Merge::Add;
    QStringList sets;
    const auto set = [&](unsigned column, const char* name, const char* addTo) {
        if (columns & column) {
            sets.append(QStringLiteral("%1 = %2excluded.%1")
                            .arg(QLatin1String(name),
                                 add ? QLatin1String(addTo) + QStringLiteral(" + ") : QString()));
        }
    };
    set(kKrTotal, "KRTOTAL", "KRTOTAL");
    set(kKsTotal, "KSTOTAL", "KSTOTAL");
    set(kKrRui, "KRRUI", "KRTOTAL");
    set(kKsRui, "KSRUI", "KSTOTAL");
    return QStringLiteral(" ON CONFLICT (%1) DO UPDATE SET %2").arg(keys, sets.join(u", "));
}

}  // namespace

void upsertTukikanRow(const TukikanRow& row, unsigned columns, Merge merge) {
    Database::global().execute(
        QStringLiteral("INSERT INTO T_TUKIKAN VALUES(?, ?, ?, ?, ?, ?, ?)") +
            onConflict(QStringLiteral("CID, KANKOCODE, DATEYM"), columns, merge),
        {text(row.cid), text(row.kankocode), text(row.dateym), row.krtotal.toDb(),
         row.kstotal.toDb(), row.krrui.toDb(), row.ksrui.toDb()});
}

void upsertTukihojoRow(const TukihojoRow& row, unsigned columns) {
    Database::global().execute(
        QStringLiteral("INSERT INTO T_TUKIHOJO VALUES(?, ?, ?, ?, ?, ?, ?, ?)") +
            onConflict(QStringLiteral("CID, KANKOCODE, HOCODE, DATEYM"), columns, Merge::Replace),
        {text(row.cid), text(row.kankocode), text(row.hocode), text(row.dateym), row.krtotal.toDb(),
         row.kstotal.toDb(), row.krrui.toDb(), row.ksrui.toDb()});
}
