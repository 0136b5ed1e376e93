#include "db/TableColumns.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace {

ColumnKind kindOf(const QString& declaredType) {
    const QString type = declaredType.toUpper();
    if (type.startsWith(u"MONEY")) {
        return ColumnKind::Money;
    }
    if (type.startsWith(u"INTEGER")) {
        return ColumnKind::Integer;
    }
    if (type.startsWith(u"REAL")) {
        return ColumnKind::Real;
    }
    return ColumnKind::Text;
}

}  // namespace

QList<Column> readTableColumns(const QSqlDatabase& db, const QString& table) {
    QList<Column> columns;
    // PRAGMA arguments cannot be bound: accept plain identifiers only.
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!identifier.match(table).hasMatch()) {
        return columns;
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table))) {
        return columns;
    }
    while (query.next()) {
        columns.append({query.value(1).toString(), kindOf(query.value(2).toString())});
    }
    return columns;
}
