#include "support/SetSnapshot.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <iterator>

#include "db/Database.h"

namespace {

struct SetTable {
    QString name;
    QStringList columns;
};

QSqlQuery run(const QString& sql, const QVariantList& params = {}) {
    QSqlQuery query(Database::global().connection());
    query.setForwardOnly(true);
    const bool ok = query.prepare(sql) && [&] {
        for (int i = 0; i < params.size(); ++i) {
            query.bindValue(i, params.at(i));
        }
        return query.exec();
    }();
    EXPECT_TRUE(ok) << sql.toStdString() << ": " << query.lastError().text().toStdString();
    return query;
}

QList<SetTable> setTables() {
    QList<SetTable> tables;
    for (QSqlQuery names = run(QStringLiteral(
             "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'WK\\_%' "
             "ESCAPE '\\' AND name NOT LIKE 'MT\\_%' ESCAPE '\\' AND name NOT LIKE 'sqlite%' "
             "ORDER BY name"));
         names.next();) {
        SetTable table{names.value(0).toString(), {}};
        for (QSqlQuery info =
                 run(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table.name});
             info.next();) {
            table.columns.append(info.value(0).toString());
        }
        if (table.columns.contains(QStringLiteral("CID"), Qt::CaseInsensitive)) {
            tables.append(table);
        }
    }
    return tables;
}

}  // namespace

SetSnapshot::SetSnapshot(const QString& cid) : cid_(cid) {
    for (const SetTable& table : setTables()) {
        QStringList literals;
        for (const QString& column : table.columns) {
            literals.append(QStringLiteral("quote(%1)").arg(column));
        }
        for (QSqlQuery query = run(QStringLiteral("SELECT %1 FROM %2 WHERE CID = ?")
                                       .arg(literals.join(u','), table.name),
                                   {cid});
             query.next();) {
            QStringList row{table.name};
            for (int i = 0; i < table.columns.size(); ++i) {
                row.append(query.value(i).toString());
            }
            rows_.append(row.join(u'|'));
        }
    }
    rows_.sort();
}

qsizetype SetSnapshot::count(const QString& table) const {
    const QString prefix = table + u'|';
    return std::count_if(rows_.cbegin(), rows_.cend(),
                         [&](const QString& row) { return row.startsWith(prefix); });
}

::testing::AssertionResult SetSnapshot::unchanged() const {
    const QStringList now = SetSnapshot(cid_).rows();
    if (now == rows_) {
        return ::testing::AssertionSuccess();
    }
    QStringList gone;
    QStringList added;
    std::set_difference(rows_.cbegin(), rows_.cend(), now.cbegin(), now.cend(),
                        std::back_inserter(gone));
    std::set_difference(now.cbegin(), now.cend(), rows_.cbegin(), rows_.cend(),
                        std::back_inserter(added));
    return ::testing::AssertionFailure()
           << "set " << cid_.toStdString() << " changed:\n  gone: "
           << gone.mid(0, 10).join(QStringLiteral("\n  gone: ")).toStdString()
           << "\n  new:  " << added.mid(0, 10).join(QStringLiteral("\n  new:  ")).toStdString();
}

void SetSnapshot::copySet(const QString& from, const QString& to) {
    for (const SetTable& table : setTables()) {
        QStringList values;
        for (const QString& column : table.columns) {
            values.append(column.compare(u"CID", Qt::CaseInsensitive) == 0 ? QStringLiteral("?")
                                                                           : column);
        }
        run(QStringLiteral("DELETE FROM %1 WHERE CID = ?").arg(table.name), {to});
        run(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %1 WHERE CID = ?")
                .arg(table.name, table.columns.join(u','), values.join(u',')),
            {to, from});
    }
}

void SetSnapshot::copySetFromFile(const QString& file, const QString& cid) {
    run(QStringLiteral("ATTACH DATABASE ? AS other"), {file});
    for (const SetTable& table : setTables()) {
        run(QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM other.%1 WHERE CID = ?")
                .arg(table.name, table.columns.join(u',')),
            {cid});
    }
    run(QStringLiteral("DETACH DATABASE other"));
}

void SetSnapshot::copyToYearTables(const QString& cid) {
    Database& db = Database::global();
    for (const char* table :
         {"COMP_MAIN", "SIWAKE", "SI_MEISAI", "DAY_TORAN", "KISYUZAN", "HOJOKAMOKU", "TUKISIME"}) {
        db.execute(QStringLiteral("INSERT INTO BT_%1 SELECT * FROM T_%1 WHERE CID = ?")
                       .arg(QLatin1String(table)),
                   {cid});
    }
    db.execute(QStringLiteral("INSERT INTO BT_KANJO SELECT ?, * FROM T_KANJO"), {cid});
}
