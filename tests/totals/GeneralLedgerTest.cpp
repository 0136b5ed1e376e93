#include <gtest/gtest.h>

#include <QHash>
#include <map>

#include "common/DateHelpers.h"
#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "support/GeneratedYears.h"
#include "support/LedgerPages.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"
#include "totals/GeneralLedger.h"
#include "totals/MonthFlags.h"

namespace {

const QString kForm = QStringLiteral("prtSoukanjoMotocho");

// The ledger worked out straight from the voucher lines and the opening balances, one account
// at a time: "KANKOCODE|SIDAY|DENNO|DENMENO|JUN|KRKIN|KSKIN|ZAN" in ledger order.
QStringList expectedLedger(const LedgerRange& range) {
    Database& db = Database::global();
    struct Account {
        int sign = 1;
        qint64 balance = 0;
        QStringList rows;
    };
    std::map<QString, Account> accounts;
    for (RecordSet rs = db.query(QStringLiteral(
             "SELECT KOCODE, KMCODE, TAIKBN, KISYUZAN FROM T_KANJO WHERE SYORIKBN = '0' AND "
             "SIYOU = 'Y' AND KMCODE <> '' AND KOCODE NOT IN ('202', '258')"));
         !rs.eof(); rs.moveNext()) {
        const int number = rs.text(QStringLiteral("KMCODE")).toInt();
        if (number < range.firstAccount || number > range.lastAccount) {
            continue;
        }
        const QString kocode = rs.text(QStringLiteral("KOCODE"));
        Account& a = accounts[kocode];
        a.sign = rs.text(QStringLiteral("TAIKBN")) == u"0" ? 1 : -1;
        // Only balance-sheet accounts carry an opening balance into the year.
        a.balance = kocode < u"177" ? rs.money(QStringLiteral("KISYUZAN")).units() : 0;
    }
    const auto text = [](qint64 units) { return Money::fromUnits(units).toText(); };
    for (RecordSet rs = db.query(
             QStringLiteral("SELECT SM.SIDAY, SW.DENNO, SM.DENMENO, SM.DATEYM, SM.KRKOCODE, "
                            "SM.KSKOCODE, SM.KRKIN, SM.KSKIN FROM T_SI_MEISAI SM JOIN T_SIWAKE SW "
                            "ON SW.CID = SM.CID AND SW.DENCODE = SM.DENCODE WHERE SM.CID = ? "
                            "ORDER BY SM.SIDAY, SW.DENNO, SM.DENMENO"),
             {session().CurrentCid});
         !rs.eof(); rs.moveNext()) {
        const QString month = rs.text(QStringLiteral("DATEYM"));
        if (month < range.periodFirst || month > range.last) {
            continue;
        }
        const bool shown = month >= range.first;
        const QString day = rs.text(QStringLiteral("SIDAY")).mid(2).replace(u'/', u'.');
        for (int jun = 0; jun < 2; ++jun) {
            const QString side = jun == 0 ? QStringLiteral("KR") : QStringLiteral("KS");
            const auto found = accounts.find(rs.text(side + QStringLiteral("KOCODE")));
            if (found == accounts.end()) {
                continue;
            }
            Account& a = found->second;
            const qint64 amount = rs.money(side + QStringLiteral("KIN")).units();
            a.balance += (jun == 0 ? amount : -amount) * a.sign;
            if (shown) {
                a.rows.append(QStringList{found->first, day, rs.text(QStringLiteral("DENNO")),
                                          rs.text(QStringLiteral("DENMENO")), QString::number(jun),
                                          text(jun == 0 ? amount : 0), text(jun == 0 ? 0 : amount),
                                          text(a.balance)}
                                  .join(u'|'));
            }
        }
    }
    QStringList all;
    for (auto& [kocode, a] : accounts) {
        qint64 carried = a.balance;
        // Undo the shown rows to get back to the balance before the first month.
        for (const QString& row : a.rows) {
            const QStringList f = row.split(u'|');
            carried -= (Money::parse(f[5])->units() - Money::parse(f[6])->units()) * a.sign;
        }
        if (carried == 0 && a.rows.isEmpty()) {
            continue;
        }
        all.append(QStringList{kocode, QStringLiteral("00.01.01"), QStringLiteral("0"),
                               QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                               QStringLiteral("0"), text(carried)}
                       .join(u'|'));
        all.append(a.rows);
    }
    return all;
}

class GeneralLedgerBooks : public DatabaseTest {
  protected:
    QStringList filled() {
        return rows(QStringLiteral("SELECT KANKOCODE, SIDAY, DENNO, DENMENO, JUN, KRKIN, KSKIN, "
                                   "ZAN FROM T_SKANMT_OUT ORDER BY KANKOCODE, SIDAY, DENNO, "
                                   "DENMENO, JUN"),
                    {}, 5);
    }

    // Fills every range and compares each row with the lines, and for a range after the period's
    // first month the printed month totals too: 本年累计 must count the months before it. The
    // other set must not change.
    void expectRanges(const QString& periodFirst, const QList<std::pair<int, int>>& ranges) {
        const SetSnapshot untouched(kOtherGeneratedSet);
        for (const auto& [from, to] : ranges) {
            const LedgerRange range{periodFirst, addMonths(periodFirst, from),
                                    addMonths(periodFirst, to), 1, 999999};
            SCOPED_TRACE((range.first + u'-' + range.last).toStdString());
            ASSERT_TRUE(PrintSokanjo(range, kForm));
            const QStringList expected = expectedLedger(range);
            EXPECT_GT(expected.size(), 20);
            EXPECT_TRUE(sameRows(filled(), expected));
            if (from > 0) {
                const QStringList totals = expectedMonthTotals(
                    false, session().CurrentCid, periodFirst, range.first, range.last);
                EXPECT_GT(totals.size(), 10);
                EXPECT_TRUE(sameRows(printedMonthTotals(GeneralLedger::kLayout), totals));
            }
        }
        EXPECT_TRUE(untouched.unchanged());
    }
};

// Generated years on two sets sharing voucher codes, days and accounts: every row's amount and
// running balance equal what the lines and opening balances give, for the whole year, inner
// ranges, single months at both ends and after an edit of an earlier month.
TEST_F(GeneralLedgerBooks, EveryRowMatchesTheVoucherLinesForEveryRange) {
    const QList<std::pair<int, int>> calendar = {{0, 11}, {2, 4}, {6, 6}, {11, 11}, {0, 0}};
    for (const quint32 seed : {3U, 17U, 29U}) {
        SCOPED_TRACE(seed);
        generateTwoSets(QStringLiteral("51"), QDate(2024, 1, 1), 366, 6, seed);
        expectRanges(QStringLiteral("2024/01"), calendar);

        // A January change must reach the carried-forward balance of a later range.
        exec(
            QStringLiteral("UPDATE T_SI_MEISAI SET KRKIN = KRKIN + 1234500, KSKIN = KSKIN + "
                           "1234500 WHERE CID = '51' AND DENCODE = (SELECT MIN(DENCODE) FROM "
                           "T_SI_MEISAI WHERE CID = '51' AND DATEYM = '2024/01')"));
        ASSERT_TRUE(MarkMonthsStale(QStringLiteral("2024/01"), QStringLiteral("2024/01")));
        expectRanges(QStringLiteral("2024/01"), {{2, 4}, {0, 11}});
    }
}

TEST_F(GeneralLedgerBooks, PeriodFromAprilToMarch) {
    generateTwoSets(QStringLiteral("51"), QDate(2024, 4, 1), 365, 6, 7);
    expectRanges(QStringLiteral("2024/04"), {{0, 11}, {7, 10}, {9, 9}, {11, 11}});
}

}  // namespace
