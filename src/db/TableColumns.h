#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// What a column holds, from its declared type in the schema.
enum class ColumnKind { Text, Integer, Real, Money };

struct Column {
    QString name;
    ColumnKind kind = ColumnKind::Text;
};

// The columns of a table in table order; empty when the table does not exist.
QList<Column> readTableColumns(const QSqlDatabase& db, const QString& table);
