#include "statements/StatutoryStatement.h"

#include <QDate>
#include <optional>

#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "print/PrintAccessReport.h"

void sumLines(const LineStep& step, StatementColumn& column) {
    Money sum;
    for (const int line : step.lines) {
        sum += line < 0 ? -column.at(-line) : column.at(line);
    }
    column.at(step.line) = sum;
}

CompanyPeriod readCompanyPeriod() {
    const QList<QVariantList> rows =
        Database::global().selectAll(QStringLiteral("SELECT KISYU, KIMATU FROM WK_COMPANY"));
    if (rows.isEmpty()) {
        return {};
    }
    return {rows.first().at(0).toString().trimmed(), rows.first().at(1).toString().trimmed()};
}

bool writeStatementHeader(const CompanyPeriod& period) {
    QStringList header(10);
    const QDate end = QDate::fromString(period.kimatu, QStringLiteral("yyyy/MM/dd"));
    header[1] = end.isValid()
                    ? QStringLiteral("%1年%2月%3日").arg(end.year()).arg(end.month()).arg(end.day())
                    : period.kimatu;
    header[2] = period.kisyu.left(4) + QStringLiteral("年度");
    return WritePrintKomokuTable(header, QStringLiteral("T_PRINTKOMOKU"));
}

bool StatutoryStatement::fill() {
    Database& db = Database::global();
    try {
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        if (!fillTables()) {
            return false;
        }
        if (transaction) {
            transaction->commit();
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("print_data"));
        return false;
    }
}

bool StatutoryStatement::print_data(int mode) {
    return fill() &&
           PrintAccessReport(session().AppFolder + QStringLiteral("Kaikei.mdb"), layout(), mode);
}

bool writeStatementTables(const StatementColumn& first, const StatementColumn& second) {
    Database& db = Database::global();
    std::optional<TransactionGuard> transaction;
    if (!db.inTransaction()) {
        transaction.emplace(db);
    }
    db.execute(QStringLiteral("DELETE FROM P_KESANSYO_S"));
    db.execute(QStringLiteral("DELETE FROM P_KESANSYO_E"));
    if (!WriteKesansyoTable(QStringLiteral("P_KESANSYO_S"), first) ||
        !WriteKesansyoTable(QStringLiteral("P_KESANSYO_E"), second)) {
        return false;
    }
    if (transaction) {
        transaction->commit();
    }
    return true;
}
