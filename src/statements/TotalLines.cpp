#include "statements/TotalLines.h"

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"

namespace {

const QString kChartLine = QStringLiteral(
    "SELECT KOCODE, KMCODE, KANNAME, SYORIKBN, TAIKBN, PCODE1, PCODE2, PCODE3, KAIPAGE FROM "
    "T_KANJO WHERE ");

QString text(const QVariant& value) {
    return value.toString().trimmed();
}

// A zero line carrying the account's print positions; the name and number stay empty.
TotalLine positionLine(const QVariantList& chartRow) {
    TotalLine line;
    line.cid = session().CurrentCid;
    line.kocode = text(chartRow.at(0));
    line.pcode1 = text(chartRow.at(5));
    line.pcode2 = text(chartRow.at(6));
    line.pcode3 = text(chartRow.at(7));
    line.kaipage = text(chartRow.at(8));
    return line;
}

QString lineName(MonthStatementKind kind, const QString& kbn, const QString& kocode,
                 const QString& name) {
    if (kbn != u"1") {
        return name;
    }
    if (kind == MonthStatementKind::TrialBalance) {
        if (kocode == u"348") {
            return u'(' + name + u')';
        }
        if (kocode == u"353") {
            return name;
        }
    }
    return QStringLiteral("【") + name + QStringLiteral("】");
}

}  // namespace

bool WriteTotalMeisaiTable(const QString& table, const TotalLine& line) {
    try {
        Database::global().execute(
            QStringLiteral("INSERT INTO %1 VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)").arg(table),
            {line.cid.trimmed(), line.kocode.trimmed(), line.kmcode.trimmed(),
             line.pcode1.trimmed(), line.pcode2.trimmed(), line.pcode3.trimmed(),
             line.kaipage.trimmed(), line.kmname.trimmed(), line.maekuri.toDb(),
             line.krtotal.toDb(), line.kstotal.toDb(), line.zan.toDb()});
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("WriteTotalMeisaiTable"));
        return false;
    }
}

bool set_data_to_query1(MonthStatementKind kind, const QString& table, const QString& low,
                        const QString& high, const QString& kbn, const QString& month) {
    QList<QVariantList> rows;
    try {
        rows = Database::global().selectAll(
            QStringLiteral(
                "SELECT T.KANKOCODE, T.DATEYM, T.KRTOTAL, T.KSTOTAL, T.KRRUI, T.KSRUI, K.KMCODE, "
                "K.KANNAME, K.TAIKBN, K.PCODE1, K.PCODE2, K.PCODE3, K.KAIPAGE FROM T_TUKIKAN T, "
                "T_KANJO K WHERE T.CID = ? AND T.KANKOCODE = K.KOCODE AND T.KANKOCODE BETWEEN ? "
                "AND ? AND T.DATEYM = ? AND K.SYORIKBN = ? ORDER BY T.KANKOCODE"),
            {session().CurrentCid, low, high, month, kbn});
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("set_data_to_query1"));
        return false;
    }
    if (rows.isEmpty()) {
        if (kind == MonthStatementKind::IncomeStatement && low == u"171") {
            return true;
        }
        messages().exclamation(QStringLiteral("没有符合条件的数据。"));
        return false;
    }
    for (const QVariantList& row : rows) {
        const Money krTotal = Money::fromDb(row.at(2));
        const Money ksTotal = Money::fromDb(row.at(3));
        const Money krRui = Money::fromDb(row.at(4));
        const Money ksRui = Money::fromDb(row.at(5));
        const bool debitSided = text(row.at(8)) == u"0";
        TotalLine line;
        line.cid = session().CurrentCid;
        line.kocode = text(row.at(0));
        line.kmcode = text(row.at(6));
        line.pcode1 = text(row.at(9));
        line.pcode2 = text(row.at(10));
        line.pcode3 = text(row.at(11));
        line.kaipage = text(row.at(12));
        line.kmname = lineName(kind, kbn, line.kocode, text(row.at(7)));
        line.krtotal = krTotal;
        line.kstotal = ksTotal;
        const Money before = (krRui - krTotal) - (ksRui - ksTotal);
        line.maekuri = debitSided ? before : -before;
        line.zan = debitSided ? krRui - ksRui : ksRui - krRui;
        if (!WriteTotalMeisaiTable(table, line)) {
            return false;
        }
    }
    return true;
}

bool set_data_to_query2(MonthStatementKind kind) {
    static const QStringList trialBalanceKeys{
        QStringLiteral("028"), QStringLiteral("067"), QStringLiteral("068"), QStringLiteral("082"),
        QStringLiteral("090"), QStringLiteral("102"), QStringLiteral("103"), QStringLiteral("113"),
        QStringLiteral("152"), QStringLiteral("174"), QStringLiteral("175"), QStringLiteral("176")};
    static const QStringList incomeKeys{
        QStringLiteral("178"), QStringLiteral("192"), QStringLiteral("193"), QStringLiteral("245"),
        QStringLiteral("260"), QStringLiteral("261"), QStringLiteral("310"), QStringLiteral("311"),
        QStringLiteral("312"), QStringLiteral("321"), QStringLiteral("329"), QStringLiteral("330"),
        QStringLiteral("341"), QStringLiteral("345"), QStringLiteral("346"), QStringLiteral("348"),
        QStringLiteral("353")};
    try {
        Database& db = Database::global();
        QList<QVariantList> rows;
        if (kind == MonthStatementKind::TrialBalance) {
            rows =
                db.selectAll(kChartLine + QStringLiteral("KOCODE IN ('") +
                             trialBalanceKeys.join(QStringLiteral("', '")) + QStringLiteral("')"));
        } else {
            for (const QString& key : incomeKeys) {
                rows +=
                    db.selectAll(kChartLine + QStringLiteral("KOCODE = ? ORDER BY KOCODE"), {key});
            }
        }
        for (const QVariantList& row : rows) {
            if (!WriteTotalMeisaiTable(QStringLiteral("T_TOTAL_MEISAI"), positionLine(row))) {
                return false;
            }
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("set_data_to_query2"));
        return false;
    }
}

bool addChartLine(const QString& table, const QString& kocode) {
    Database& db = Database::global();
    if (!db.scalar(QStringLiteral("SELECT KOCODE FROM %1 WHERE KOCODE = ?").arg(table), {kocode})
             .isNull()) {
        return true;
    }
    const QList<QVariantList> chart =
        db.selectAll(kChartLine + QStringLiteral("KOCODE = ?"), {kocode});
    if (chart.isEmpty()) {
        return true;
    }
    TotalLine line = positionLine(chart.first());
    line.kmcode = text(chart.first().at(1));
    line.kmname = text(chart.first().at(2));
    return WriteTotalMeisaiTable(table, line);
}
