#include "db/ShippedDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <utility>

#include "common/Money.h"
#include "db/DbError.h"
#include "db/Migrations.h"
#include "db/TableColumns.h"

// The shipped data lives in a static library, so its resources must be registered by hand.
static void initShippedResources() {
    Q_INIT_RESOURCE(shipped);
}

namespace {

QString readResource(const QString& path) {
    static const bool registered = (initShippedResources(), true);
    (void)registered;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw DbError(DbError::kNotOpen, QStringLiteral("找不到内置数据: ") + path);
    }
    return QString::fromUtf8(file.readAll());
}

// The engine's own words: the driver's addition ("Unable to fetch row") varies with the locale.
DbError errorOf(const QSqlQuery& query) {
    const QSqlError error = query.lastError();
    return DbError(error.nativeErrorCode().toInt(),
                   error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

void exec(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (!query.exec(sql)) {
        throw errorOf(query);
    }
}

QVariant cellValue(const QString& cell, const Column& column, const QString& table) {
    const auto invalid = [&] {
        return DbError(DbError::kInvalidValue,
                       QStringLiteral("%1.%2: %3").arg(table, column.name, cell));
    };
    switch (column.kind) {
        case ColumnKind::Text:
            return cell;
        case ColumnKind::Money: {
            if (cell.isEmpty()) {
                return Money().toDb();
            }
            const auto amount = Money::parse(cell);
            if (!amount) {
                throw invalid();
            }
            return amount->toDb();
        }
        case ColumnKind::Integer: {
            bool ok = true;
            const qlonglong n = cell.isEmpty() ? 0 : cell.toLongLong(&ok);
            if (!ok) {
                throw invalid();
            }
            return n;
        }
        case ColumnKind::Real: {
            bool ok = true;
            const double r = cell.isEmpty() ? 0.0 : cell.toDouble(&ok);
            if (!ok) {
                throw invalid();
            }
            return r;
        }
    }
    return cell;
}

// Rows are tab-separated with a header line of column names; a line starting with "#" and
// holding no tab is a note (the character table has a row for "#").
bool isRowLine(const QString& line) {
    return !line.isEmpty() && !(line.startsWith(u'#') && !line.contains(u'\t'));
}

void loadRows(QSqlDatabase& db, const QString& table) {
    const QString text = readResource(QStringLiteral(":/shipped/rows/%1.tsv").arg(table));
    const QList<Column> tableColumns = readTableColumns(db, table);
    QList<Column> header;
    QSqlQuery insert(db);
    for (const QString& line : text.split(u'\n')) {
        if (!isRowLine(line)) {
            continue;
        }
        const QStringList cells = line.split(u'\t');
        if (header.isEmpty()) {
            QStringList placeholders;
            for (const QString& name : cells) {
                auto it = std::find_if(tableColumns.begin(), tableColumns.end(),
                                       [&](const Column& c) { return c.name == name; });
                if (it == tableColumns.end()) {
                    throw DbError(DbError::kInvalidValue,
                                  QStringLiteral("%1: 没有列 %2").arg(table, name));
                }
                header.append(*it);
                placeholders.append(QStringLiteral("?"));
            }
            QStringList names;
            for (const Column& c : header) {
                names.append(c.name);
            }
            if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(table, names.join(u','), placeholders.join(u',')))) {
                throw errorOf(insert);
            }
            continue;
        }
        if (cells.size() != header.size()) {
            throw DbError(DbError::kInvalidValue,
                          QStringLiteral("%1: 列数不符: %2").arg(table, line));
        }
        for (int i = 0; i < cells.size(); ++i) {
            insert.bindValue(i, cellValue(cells.at(i), header.at(i), table));
        }
        if (!insert.exec()) {
            throw errorOf(insert);
        }
    }
}

// The working chart belongs to the set a first start makes current, the lowest one: the template
// with that set's own values laid over it.
void prepareWorkingChart(QSqlDatabase& db) {
    const QString columns = QStringLiteral(
        "KOCODE, KMCODE, KNBUN, KANNAME, SYORIKBN, TAIKBN, TOCODE, BUNCODE, NOCNG, BUMONSET, "
        "HOJOSET, HOSETNO, SIYOU, PCODE1, PCODE2, PCODE3, KAIPAGE, KISYUZAN, AICODE, DAIBUN, "
        "TYUBUN, SYOBUN, JUN, KISYUMKBN");
    const QString own = QStringLiteral(
        "FROM T_KISYUZAN S WHERE S.CID = (SELECT MIN(CID) FROM T_COMP_MAIN) "
        "AND S.KOCODE = T_KANJO.KOCODE");
    exec(db, QStringLiteral("INSERT INTO T_KANJO (%1) SELECT %1 FROM MT_KANJO").arg(columns));
    exec(db,
         QStringLiteral("UPDATE T_KANJO SET (KMCODE, KANNAME, KISYUZAN, JUN, SIYOU, AICODE, "
                        "HOJOSET, KISYUMKBN) = (SELECT S.KMCODE, S.KANNAME, S.KISYUZAN, S.JUN, "
                        "S.SIYOU, S.AICODE, S.HOJOSET, S.KISYUMKBN %1) WHERE EXISTS (SELECT 1 %1)")
             .arg(own));
    exec(db, QStringLiteral("UPDATE MT_KANJO SET CID = (SELECT MIN(CID) FROM T_COMP_MAIN)"));
}

void build(QSqlDatabase& db) {
    exec(db, QStringLiteral("BEGIN"));
    for (const QString& statement : ShippedDatabase::schemaStatements()) {
        exec(db, statement);
    }
    for (const QString& table : ShippedDatabase::tablesWithRows()) {
        loadRows(db, table);
    }
    prepareWorkingChart(db);
    ShippedDatabase::addMissingReportLayouts(db);
    // Pragmas take no bound values; both are our own numbers.
    exec(db, QStringLiteral("PRAGMA user_version = %1").arg(Migrations::kCurrentVersion));
    exec(db, QStringLiteral("PRAGMA application_id = %1").arg(Migrations::kApplicationId));
    exec(db, QStringLiteral("COMMIT"));
}

}  // namespace

namespace ShippedDatabase {

QStringList schemaStatements() {
    QStringList statements;
    QString current;
    for (const QString& line : readResource(QStringLiteral(":/shipped/schema.sql")).split(u'\n')) {
        if (line.trimmed().startsWith(u"--")) {
            continue;
        }
        current += line + u'\n';
        if (line.trimmed().endsWith(u';')) {
            statements.append(current.trimmed());
            current.clear();
        }
    }
    return statements;
}

QStringList tablesWithRows() {
    return {QStringLiteral("T_BACKUP"),    QStringLiteral("T_TUKISIMECHECK"),
            QStringLiteral("T_COMP_MAIN"), QStringLiteral("MT_KANJO"),
            QStringLiteral("T_KISYUZAN"),  QStringLiteral("T_MOJICHG"),
            QStringLiteral("MT_FORMLINE")};
}

void addMissingReportLayouts(QSqlDatabase& db) {
    static const bool registered = (initShippedResources(), true);
    (void)registered;
    const QDir folder(QStringLiteral(":/shipped/reports"));
    for (const QString& file : folder.entryList({QStringLiteral("*.json")}, QDir::Files)) {
        QSqlQuery insert(db);
        insert.prepare(
            QStringLiteral("INSERT INTO MT_REPORT (REPNAME, LAYOUT) SELECT ?, ? "
                           "WHERE NOT EXISTS (SELECT 1 FROM MT_REPORT WHERE REPNAME = ?)"));
        const QString name = QFileInfo(file).completeBaseName();
        insert.addBindValue(name);
        insert.addBindValue(readResource(folder.filePath(file)));
        insert.addBindValue(name);
        if (!insert.exec()) {
            throw errorOf(insert);
        }
    }
}

void replaceReportLayouts(QSqlDatabase& db, const QStringList& names) {
    static const bool registered = (initShippedResources(), true);
    (void)registered;
    for (const QString& name : names) {
        QSqlQuery write(db);
        write.prepare(
            QStringLiteral("INSERT INTO MT_REPORT (REPNAME, LAYOUT) VALUES (?, ?) ON "
                           "CONFLICT (REPNAME) DO UPDATE SET LAYOUT = excluded.LAYOUT"));
        write.addBindValue(name);
        write.addBindValue(readResource(QStringLiteral(":/shipped/reports/%1.json").arg(name)));
        if (!write.exec()) {
            throw errorOf(write);
        }
    }
}

void addMissingFormLines(QSqlDatabase& db) {
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral(
            "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'MT_FORMLINE'"))) {
        throw errorOf(probe);
    }
    if (probe.next() && probe.value(0).toLongLong() > 0) {
        return;
    }
    probe.finish();
    for (const QString& statement : schemaStatements()) {
        if (statement.contains(QStringLiteral(" MT_FORMLINE "))) {
            exec(db, statement);
        }
    }
    loadRows(db, QStringLiteral("MT_FORMLINE"));
}

void addMissingCharacters(QSqlDatabase& db) {
    QSet<QString> held;
    QSqlQuery read(db);
    if (!read.exec(QStringLiteral("SELECT CHINESE FROM T_MOJICHG"))) {
        throw errorOf(read);
    }
    while (read.next()) {
        held.insert(read.value(0).toString());
    }
    read.finish();
    QList<QStringList> missing;
    bool header = true;
    const QString text = readResource(QStringLiteral(":/shipped/rows/T_MOJICHG.tsv"));
    for (const QString& line : text.split(u'\n')) {
        if (!isRowLine(line)) {
            continue;
        }
        const QStringList cells = line.split(u'\t');
        if (std::exchange(header, false)) {
            if (cells != QStringList{QStringLiteral("JAPANESE"), QStringLiteral("CHINESE")}) {
                throw DbError(DbError::kInvalidValue, QStringLiteral("T_MOJICHG: 列不符"));
            }
            continue;
        }
        if (cells.size() == 2 && !held.contains(cells.at(1))) {
            missing.append(cells);
            held.insert(cells.at(1));
        }
    }
    if (missing.isEmpty()) {
        return;
    }
    // Appended in shipped order: the characters the file holds keep their numbers.
    QSqlQuery insert(db);
    if (!insert.prepare(
            QStringLiteral("INSERT INTO T_MOJICHG (JAPANESE, CHINESE) VALUES (?, ?)"))) {
        throw errorOf(insert);
    }
    for (const QStringList& cells : missing) {
        insert.bindValue(0, cells.at(0));
        insert.bindValue(1, cells.at(1));
        if (!insert.exec()) {
            throw errorOf(insert);
        }
    }
}

void create(const QString& filePath) {
    const QString partial = filePath + QStringLiteral(".partial");
    QFile::remove(partial);
    const QString name = QStringLiteral("ombrel-create-") + QUuid::createUuid().toString();
    try {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(partial);
            if (!db.open()) {
                throw DbError(db.lastError().nativeErrorCode().toInt(), db.lastError().text());
            }
            build(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    } catch (...) {
        QSqlDatabase::removeDatabase(name);
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, filePath)) {
        QFile::remove(partial);
        throw DbError(DbError::kNotOpen, QStringLiteral("不能创建数据库文件: ") + filePath);
    }
}

}  // namespace ShippedDatabase
