#include "statements/StatementLines.h"

#include <QVariantList>

#include "db/Database.h"
#include "db/ErrorReport.h"

bool WriteKesansyoTable(const QString& table, const StatementColumn& values) {
    Database& db = Database::global();
    try {
        // The table must be one the file holds; its name then cannot carry anything else.
        const qsizetype columns = db.columns(table).size();
        if (columns != kStatementLines) {
            throw DbError(DbError::kInvalidValue, QStringLiteral("%1 需要 %2 个值，实际为 %3 个。")
                                                      .arg(table)
                                                      .arg(columns)
                                                      .arg(kStatementLines));
        }
        QVariantList params;
        params.reserve(kStatementLines);
        for (int line = 1; line <= kStatementLines; ++line) {
            params.append(values.at(line).toDb());
        }
        const QString placeholders = QStringLiteral("?, ").repeated(kStatementLines - 1) + u'?';
        db.execute(QStringLiteral("INSERT INTO %1 VALUES(%2)").arg(table, placeholders), params);
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("WriteKesansyoTable"));
        return false;
    }
}
