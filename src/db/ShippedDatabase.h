#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;

// The database file the program ships: its schema and shipped rows are compiled in as resources.
namespace ShippedDatabase {

// Writes a new database file of the current version (see Migrations) with every table and the
// shipped rows. The file appears complete or not at all: it is built under a temporary name and
// renamed. Throws DbError.
void create(const QString& filePath);

// The statements of the shipped schema, one per entry.
QStringList schemaStatements();

// The three additions below complete a file made before versions (see Migrations); each keeps
// what the file holds, so running one twice adds nothing. Run them inside a transaction.

// Adds each shipped report layout the file does not hold yet (a file made before the layout
// existed). Layouts the file already holds are kept as they are. Throws DbError.
void addMissingReportLayouts(QSqlDatabase& db);

// Writes the shipped documents of these layouts over the file's own (or adds them), for layouts
// whose printing changed with the tables they read. Throws DbError.
void replaceReportLayouts(QSqlDatabase& db, const QStringList& names);

// Adds the form-line table with its shipped rows to a file made before it existed; a file that
// holds the table keeps its rows as they are. Throws DbError.
void addMissingFormLines(QSqlDatabase& db);

// Appends each shipped character row whose Chinese character the file's table lacks (a file
// made before the row existed), after the rows it holds, which keep their order. Throws DbError.
void addMissingCharacters(QSqlDatabase& db);

// The tables that come with shipped rows, in loading order.
QStringList tablesWithRows();

}  // namespace ShippedDatabase
