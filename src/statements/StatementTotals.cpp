#include "statements/StatementTotals.h"

#include "common/Money.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "statements/TotalLines.h"

const QString kTrialBalanceName = QStringLiteral("借贷对照表");
const QString kIncomeStatementName = QStringLiteral("损益报表");

namespace {

struct Sums {
    Money maekuri;
    Money krtotal;
    Money kstotal;
    Money zan;
};

// Sums of the four amounts of the lines in table that the keys select; missing lines count 0.
Sums sumsOf(const QString& table, const KeyList& list) {
    QString condition;
    QVariantList params;
    if (list.range) {
        condition = QStringLiteral("KOCODE BETWEEN ? AND ?");
        params = {list.keys.value(0), list.keys.value(1)};
    } else {
        QStringList marks;
        for (const QString& key : list.keys) {
            marks.append(QStringLiteral("?"));
            params.append(key);
        }
        condition = QStringLiteral("KOCODE IN (%1)").arg(marks.join(QStringLiteral(", ")));
    }
    const QList<QVariantList> rows = Database::global().selectAll(
        QStringLiteral("SELECT SUM(MAEKURI), SUM(KRTOTAL), SUM(KSTOTAL), SUM(ZAN) FROM %1 WHERE %2")
            .arg(table, condition),
        params);
    if (rows.isEmpty()) {
        return {};
    }
    const QVariantList& row = rows.first();
    return {Money::fromDb(row.at(0)), Money::fromDb(row.at(1)), Money::fromDb(row.at(2)),
            Money::fromDb(row.at(3))};
}

KeyList range(const char* low, const char* high) {
    return {true, {QString::fromLatin1(low), QString::fromLatin1(high)}};
}

KeyList set(std::initializer_list<const char*> keys) {
    KeyList list;
    for (const char* key : keys) {
        list.keys.append(QString::fromLatin1(key));
    }
    return list;
}

struct Step {
    const char* target;
    const char* dest;
    const char* source;
    bool add;
    KeyList plus;
    KeyList minus;
};

// The income statement's derived lines in their order; the first nine also serve any statement
// that is not the income statement.
const QList<Step>& incomeSteps() {
    static const QList<Step> steps{
        {"192", "T_TOTAL1", "T_TOTAL_MEISAI", false,
         set({"180", "181", "182", "183", "184", "185", "190", "191"}), range("186", "189")},
        {"202", "T_TOTAL_MEISAI", "T_TOTAL_MEISAI", false, range("195", "198"),
         range("199", "201")},
        {"204", "T_TOTAL1", "T_TOTAL_MEISAI", false, range("202", "202"), range("203", "203")},
        {"241", "T_TOTAL1", "T_TOTAL1", false, set({"204", "214", "238", "240"}), {}},
        {"245", "T_TOTAL1", "T_TOTAL1", false, range("241", "241"), {}},
        {"245", "T_TOTAL1", "T_TOTAL_MEISAI", true, range("242", "243"), range("244", "244")},
        {"258", "T_TOTAL_MEISAI", "T_TOTAL_MEISAI", false, range("246", "253"),
         range("254", "257")},
        {"258", "T_TOTAL_MEISAI", "T_TOTAL1", true, range("245", "245"), {}},
        {"260", "T_TOTAL1", "T_TOTAL_MEISAI", false, range("258", "258"), range("259", "259")},
        {"261", "T_TOTAL1", "T_TOTAL1", false, range("192", "192"), range("260", "260")},
        {"311", "T_TOTAL1", "T_TOTAL1", false, range("261", "261"), range("310", "310")},
        {"330", "T_TOTAL1", "T_TOTAL1", false, set({"311", "321"}), range("329", "329")},
        {"346", "T_TOTAL1", "T_TOTAL1", false, set({"330", "341"}), range("345", "345")},
        {"348", "T_TOTAL1", "T_TOTAL1", false, range("346", "346"), {}},
        {"348", "T_TOTAL1", "T_TOTAL_MEISAI", true, {}, range("347", "347")},
        {"353", "T_TOTAL1", "T_TOTAL1", false, range("348", "348"), {}},
        {"353", "T_TOTAL1", "T_TOTAL_MEISAI", true, set({"171", "349", "350"}),
         set({"351", "352", "355", "356"})},
    };
    return steps;
}

}  // namespace

bool ksum_sonekikesansyo(const QString& dest, const QString& source, const QString& target,
                         const KeyList& plus, const KeyList& minus, bool add) {
    try {
        if (!addChartLine(dest, target)) {
            return false;
        }
        Sums line;
        if (!plus.keys.isEmpty()) {
            line = sumsOf(source, plus);
        }
        if (!minus.keys.isEmpty()) {
            const Sums less = sumsOf(source, minus);
            line.krtotal -= less.krtotal;
            line.kstotal -= less.kstotal;
            // The balances of a minus list are taken off by their magnitude: returns and closing
            // stock are debit-sided accounts credited, and the brought-forward column must fall
            // by them just as the end column does.
            line.maekuri -= less.maekuri.abs();
            line.zan -= less.zan.abs();
        }
        Database& db = Database::global();
        db.execute(add ? QStringLiteral("UPDATE %1 SET MAEKURI = MAEKURI + ?, KRTOTAL = KRTOTAL + "
                                        "?, KSTOTAL = KSTOTAL + ?, ZAN = ZAN + ? WHERE KOCODE = ?")
                             .arg(dest)
                       : QStringLiteral("UPDATE %1 SET MAEKURI = ?, KRTOTAL = ?, KSTOTAL = ?, ZAN "
                                        "= ? WHERE KOCODE = ?")
                             .arg(dest),
                   {line.maekuri.toDb(), line.krtotal.toDb(), line.kstotal.toDb(), line.zan.toDb(),
                    target});
        if (source == u"T_TOTAL_MEISAI" && target == u"353") {
            // The month's movement of 353 is what took its balance from the brought-forward
            // amount to the end: credit when it grew, debit when it fell.
            const QList<QVariantList> rows = db.selectAll(
                QStringLiteral("SELECT ZAN, MAEKURI FROM T_TOTAL1 WHERE KOCODE = '353'"));
            if (!rows.isEmpty()) {
                const Money movement =
                    Money::fromDb(rows.first().at(0)) - Money::fromDb(rows.first().at(1));
                const bool fell = movement.sign() < 0;
                db.execute(
                    QStringLiteral("UPDATE T_TOTAL1 SET KRTOTAL = ?, KSTOTAL = ? WHERE "
                                   "KOCODE = '353'"),
                    {(fell ? -movement : Money()).toDb(), (fell ? Money() : movement).toDb()});
            }
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("ksum_sonekikesansyo"));
        return false;
    }
}

bool ksum_taisyakutaisyohyo() {
    try {
        const Sums profit = sumsOf(QStringLiteral("T_TOTAL_MEISAI"), set({"348", "999"}));
        for (const char* key : {"174", "175", "176"}) {
            Database::global().execute(
                QStringLiteral("UPDATE T_TOTAL1 SET MAEKURI = MAEKURI + ?, KRTOTAL = KRTOTAL + ?, "
                               "KSTOTAL = KSTOTAL + ?, ZAN = ZAN + ? WHERE KOCODE = ?"),
                {profit.maekuri.toDb(), profit.krtotal.toDb(), profit.kstotal.toDb(),
                 profit.zan.toDb(), QString::fromLatin1(key)});
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("ksum_taisyakutaisyohyo"));
        return false;
    }
}

bool statementTotals(const QString& statementName) {
    if (statementName == kTrialBalanceName) {
        return ksum_taisyakutaisyohyo();
    }
    const QList<Step>& steps = incomeSteps();
    const qsizetype count = statementName == kIncomeStatementName ? steps.size() : 9;
    for (qsizetype i = 0; i < count; ++i) {
        const Step& step = steps.at(i);
        if (!ksum_sonekikesansyo(QString::fromLatin1(step.dest), QString::fromLatin1(step.source),
                                 QString::fromLatin1(step.target), step.plus, step.minus,
                                 step.add)) {
            return false;
        }
    }
    return true;
}

bool update_data() {
    try {
        Database& db = Database::global();
        const QList<QVariantList> rows = db.selectAll(
            QStringLiteral("SELECT KOCODE, KRTOTAL, KSTOTAL FROM T_TOTAL1 WHERE KOCODE IN ('192', "
                           "'245', '260', '261', '311', '330', '346', '348', '353')"));
        for (const QVariantList& row : rows) {
            const Money debit = Money::fromDb(row.at(1)).abs();
            const Money credit = Money::fromDb(row.at(2)).abs();
            const bool creditSide = debit.units() < credit.units();
            db.execute(
                QStringLiteral("UPDATE T_TOTAL1 SET KRTOTAL = ?, KSTOTAL = ? WHERE KOCODE = ?"),
                {(creditSide ? Money() : debit - credit).toDb(),
                 (creditSide ? credit - debit : Money()).toDb(), row.at(0)});
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("update_data"));
        return false;
    }
}
