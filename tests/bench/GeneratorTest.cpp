#include <gtest/gtest.h>

#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "generator/BookGenerator.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

class Generator : public DatabaseTest {
  protected:
    bool generate(const QString& cid, quint32 seed, int days = 40, int lines = 30) {
        QString error;
        const bool ok = generateBook({cid, QDate(2024, 1, 30), days, lines, seed}, &error);
        EXPECT_TRUE(ok || !error.isEmpty());
        lastError = error;
        return ok;
    }
    // Every line of a set without its CID, in voucher order.
    QStringList lines(const QString& cid) {
        return rows(QStringLiteral("SELECT DENCODE, DENMENO, SIDAY, DATEYM, SISYU, KRKOCODE, "
                                   "KRHOKOCODE, KRKIN, KSKOCODE, KSHOKOCODE, KSKIN, TEKIYO "
                                   "FROM T_SI_MEISAI WHERE CID = ? ORDER BY DENCODE, DENMENO"),
                    {cid});
    }
    Money money(const QString& sql, const QVariantList& params = {}) {
        return Money::fromDb(Database::global().scalar(sql, params));
    }

    QString lastError;
};

TEST_F(Generator, TheSameSeedGivesTheSameBook) {
    ASSERT_TRUE(generate(QStringLiteral("51"), 7)) << lastError.toStdString();
    ASSERT_TRUE(generate(QStringLiteral("52"), 7)) << lastError.toStdString();
    ASSERT_TRUE(generate(QStringLiteral("53"), 8)) << lastError.toStdString();
    const QStringList first = lines(QStringLiteral("51"));
    ASSERT_EQ(first.size(), 40 * 30);
    EXPECT_EQ(lines(QStringLiteral("52")), first);
    EXPECT_NE(lines(QStringLiteral("53")), first);
    const QString vouchers = QStringLiteral(
        "SELECT DENCODE, DENDAY, YDAYZAN, DAYZAN FROM T_SIWAKE WHERE CID = ? ORDER BY DENCODE");
    EXPECT_EQ(rows(vouchers, {QStringLiteral("52")}), rows(vouchers, {QStringLiteral("51")}));
    const QString subsidiaries = QStringLiteral(
        "SELECT KANKOCODE, HOKOCODE, HOCODE, HONAME, KISYUZAN FROM T_HOJOKAMOKU WHERE CID = ? "
        "ORDER BY KANKOCODE, HOKOCODE");
    EXPECT_EQ(rows(subsidiaries, {QStringLiteral("52")}),
              rows(subsidiaries, {QStringLiteral("51")}));
}

TEST_F(Generator, WritesAConsistentBookAndMakesTheSetCurrent) {
    ASSERT_TRUE(generate(QStringLiteral("51"), 11)) << lastError.toStdString();
    const QVariantList cid = {QStringLiteral("51")};

    // The set, made current as the main window does.
    EXPECT_EQ(session().CurrentCid, QStringLiteral("51"));
    EXPECT_EQ(rows(QStringLiteral("SELECT COMPANY, NOMAL, KISYU, KIMATU, PKISYU, PKIMATU, KISYUM, "
                                  "SIINLDAY, AICODE, GKBN FROM WK_COMPANY")),
              QStringList{QStringLiteral("生成的账套 51|0|2024/01/30|2025/01/29|2024年01月30日|"
                                         "2025年01月29日|2024/01|2025/04/29|004|1")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE CID = '51'")),
              count(QStringLiteral("SELECT COUNT(*) FROM MT_KANJO")));

    // One voucher a day, numbered in day order, saved, and chained through the cash balance.
    const QStringList vouchers =
        rows(QStringLiteral("SELECT DENCODE, DENNO, DENDAY, KESSAN, YDAYZAN, DAYZAN, "
                            "SYORIDAY FROM T_SIWAKE WHERE CID = ? ORDER BY DENCODE"),
             cid);
    ASSERT_EQ(vouchers.size(), 40);
    Money previous = money(
        QStringLiteral("SELECT KISYUZAN FROM T_KISYUZAN WHERE CID = '51' AND KOCODE = '004'"));
    const Money opening = previous;
    for (int i = 0; i < vouchers.size(); ++i) {
        const QStringList v = vouchers.at(i).split(u'|');
        const QString code = QStringLiteral("%1").arg(i + 1, 5, 10, QLatin1Char('0'));
        EXPECT_EQ(QStringList({v.at(0), v.at(1), v.at(2), v.at(3), v.at(6)}).join(u'|'),
                  code + u'|' + code + u'|' +
                      QDate(2024, 1, 30).addDays(i).toString(QStringLiteral("yyyy/MM/dd")) +
                      QStringLiteral("|1|2024/05/20"));
        const Money brought = Money::fromUnits(v.at(4).toLongLong());
        const Money closing = Money::fromUnits(v.at(5).toLongLong());
        EXPECT_EQ(brought, previous) << code.toStdString();
        // The day's closing balance moves by the day's cash lines.
        const Money in = money(QStringLiteral("SELECT SUM(KRKIN) FROM T_SI_MEISAI WHERE CID = "
                                              "'51' AND DENCODE = ? AND KRKOCODE = '004'"),
                               {code});
        const Money out = money(QStringLiteral("SELECT SUM(KSKIN) FROM T_SI_MEISAI WHERE CID = "
                                               "'51' AND DENCODE = ? AND KSKOCODE = '004'"),
                                {code});
        EXPECT_EQ(closing - brought, in - out) << code.toStdString();
        previous = closing;
    }
    EXPECT_NE(previous, opening);  // cash moved over the period

    // Every voucher balances, with all its lines numbered from 001 and cents in the amounts.
    EXPECT_EQ(rows(QStringLiteral("SELECT DENCODE FROM T_SI_MEISAI WHERE CID = '51' GROUP BY "
                                  "DENCODE HAVING SUM(KRKIN) <> SUM(KSKIN) OR COUNT(*) <> 30 OR "
                                  "MIN(DENMENO) <> '001' OR MAX(DENMENO) <> '030'")),
              QStringList{});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '51' AND "
                                   "NOT (KRKIN = KSKIN AND KRKIN = KRTKIN AND KSKIN = KSTKIN AND "
                                   "KRKIN > 0 AND SIDAY LIKE DATEYM || '/%')")),
              0);
    EXPECT_GT(count(QStringLiteral(
                  "SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '51' AND KRKIN % 10000 <> 0")),
              0);

    // The fixed columns of both kinds; counter accounts mirror the other side.
    EXPECT_EQ(rows(QStringLiteral(
                  "SELECT DISTINCT SISYU, KRBUKBN, KRTKBN, KRTKOCODE, KRTRITU, KRTKINNO, KSBUKBN, "
                  "KSTKBN, KSTKOCODE, KSTRITU, KSTKINNO, TECODE, ptcode FROM T_SI_MEISAI "
                  "WHERE CID = '51' ORDER BY SISYU")),
              strings({"0|00|1|000|1|0|00|1|000|1|0||", "1|00|5|000|0|0|00|5|000|0|0||"}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '51' AND NOT "
                                   "(KRAICODE = KSKOCODE AND KRAIHOCODE = KSHOKOCODE AND "
                                   "KSAICODE = KRKOCODE AND KSAIHOCODE = KRHOKOCODE)")),
              0);
    // Simple lines have cash on one side and an income or expense account on the other, each
    // account once a day, income rows numbered before expense rows and both before transfers.
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '51' AND SISYU = '0' AND NOT ("
                  "KRHOKOCODE = '' AND KSHOKOCODE = '' AND ((KRKOCODE = '004' AND KSKOCODE IN "
                  "(SELECT KOCODE FROM T_KANJO WHERE TAIKBN = '1' AND KOCODE BETWEEN '180' AND "
                  "'191')) OR (KSKOCODE = '004' AND KRKOCODE IN (SELECT KOCODE FROM T_KANJO "
                  "WHERE TAIKBN = '0' AND (KOCODE = '247' OR KOCODE BETWEEN '263' AND "
                  "'309')))))")),
              0);
    EXPECT_EQ(rows(QStringLiteral("SELECT DENCODE FROM T_SI_MEISAI WHERE CID = '51' AND "
                                  "SISYU = '0' GROUP BY DENCODE, KRKOCODE, KSKOCODE "
                                  "HAVING COUNT(*) > 1")),
              QStringList{});
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM T_SI_MEISAI A, T_SI_MEISAI B WHERE A.CID = '51' AND "
                  "B.CID = '51' AND A.DENCODE = B.DENCODE AND A.DENMENO < B.DENMENO AND "
                  "(A.SISYU > B.SISYU OR (A.SISYU = '0' AND B.SISYU = '0' AND "
                  "A.KSKOCODE = '004' AND B.KRKOCODE = '004'))")),
              0);
    // Transfers only between the named balance-sheet pairs, subsidiaries exactly on 034 and 120.
    EXPECT_EQ(rows(QStringLiteral("SELECT DISTINCT KRKOCODE, KRHOKOCODE <> '', KSKOCODE, "
                                  "KSHOKOCODE <> '' FROM T_SI_MEISAI WHERE CID = '51' AND "
                                  "SISYU = '1' ORDER BY KRKOCODE, KSKOCODE")),
              strings({"009|0|004|0", "009|0|034|1", "034|1|180|0", "120|1|009|0", "247|0|120|1"}));
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM T_SI_MEISAI M WHERE M.CID = '51' AND M.KRHOKOCODE <> '' "
                  "AND NOT EXISTS (SELECT * FROM T_HOJOKAMOKU H WHERE H.CID = '51' AND "
                  "H.KANKOCODE = M.KRKOCODE AND H.HOKOCODE = M.KRHOKOCODE)")),
              0);

    // The simple grids' daily amounts: every grid account stored for every day, and what was
    // stored is exactly the simple lines.
    const Money simple = money(
        QStringLiteral("SELECT SUM(KRKIN) FROM T_SI_MEISAI WHERE CID = '51' AND SISYU = '0'"));
    QString allDays;
    for (int d = 1; d <= 31; ++d) {
        allDays += QStringLiteral("%1KIN%2").arg(d == 1 ? QString() : QStringLiteral(" + ")).arg(d);
    }
    EXPECT_EQ(
        money(QStringLiteral("SELECT SUM(%1) FROM T_DAY_TORAN WHERE CID = '51'").arg(allDays)),
        simple);
    // Day 7 is 2024/02/05; its first line is an income line.
    const QStringList first = rows(QStringLiteral(
        "SELECT M.KSKOCODE, K.KMCODE, M.KRKIN FROM T_SI_MEISAI M, T_KANJO K WHERE M.CID = '51' "
        "AND M.DENCODE = '00007' AND M.DENMENO = '001' AND K.KOCODE = M.KSKOCODE"));
    ASSERT_EQ(first.size(), 1);
    const QStringList income = first.first().split(u'|');
    EXPECT_EQ(
        rows(QStringLiteral("SELECT KMCODE, KIN5, KIN4 FROM T_DAY_TORAN WHERE CID = '51' "
                            "AND KOCODE = ? AND DATEYM = '2024/02'"),
             {income.at(0)}),
        QStringList{
            income.at(1) + u'|' + income.at(2) + u'|' +
            value(QStringLiteral("SELECT COALESCE(SUM(KRKIN), 0) FROM T_SI_MEISAI WHERE CID = '51' "
                                 "AND SIDAY = '2024/02/04' AND SISYU = '0' AND KSKOCODE = ?"),
                  {income.at(0)})});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_DAY_TORAN WHERE CID = '51'")),
              3 * count(QStringLiteral("SELECT COUNT(*) FROM T_KANJO WHERE SIYOU = 'Y' AND "
                                       "JUN <> 0 AND SYORIKBN = '0' AND ((DAIBUN = '1' AND "
                                       "TAIKBN = '1' AND KOCODE BETWEEN '180' AND '191') OR "
                                       "(DAIBUN IN ('2', '3') AND TAIKBN = '0' AND (KOCODE = "
                                       "'247' OR KOCODE BETWEEN '263' AND '309')))")));
}

TEST_F(Generator, OpeningBalancesBalanceAndSubsidiariesAddUp) {
    ASSERT_TRUE(generate(QStringLiteral("51"), 3, 5, 10)) << lastError.toStdString();
    // The opening-balance screen's totals, on the working chart and on the set's own rows.
    const QString side = QStringLiteral(
        "SELECT SUM(KISYUZAN) FROM %1 WHERE KMCODE <> '' AND KOCODE NOT IN('202', '258', "
        "'362') AND SYORIKBN = '0' AND TAIKBN = '%2' AND SIYOU = 'Y'");
    const Money debit = money(side.arg(QStringLiteral("T_KANJO"), QStringLiteral("0")));
    EXPECT_GT(debit, Money());
    EXPECT_EQ(money(side.arg(QStringLiteral("T_KANJO"), QStringLiteral("1"))), debit);
    EXPECT_EQ(rows(QStringLiteral("SELECT KOCODE, KISYUZAN, HOJOSET FROM T_KISYUZAN WHERE "
                                  "CID = '51' AND KISYUZAN <> 0 ORDER BY KOCODE")),
              rows(QStringLiteral("SELECT KOCODE, KISYUZAN, HOJOSET FROM T_KANJO WHERE "
                                  "KISYUZAN <> 0 ORDER BY KOCODE")));
    // The opening-balance screen's subsidiary check finds nothing to complain about.
    EXPECT_EQ(rows(QStringLiteral(
                  "SELECT K.KOCODE, COUNT(*), K.HOJOSET, K.KISYUZAN = SUM(H.KISYUZAN) FROM "
                  "T_KANJO K, T_HOJOKAMOKU H WHERE H.CID = '51' AND K.KOCODE = H.KANKOCODE "
                  "GROUP BY K.KOCODE, K.KISYUZAN ORDER BY K.KOCODE")),
              strings({"034|3|Y|1", "120|3|Y|1"}));
    // Every month of the period, the opening month included, is left stale for the pass.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKISIME WHERE CID = '51'")), 13);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKISIME WHERE CID = '51' AND "
                                   "(SYORIFLG <> '0' OR SYORIFLGH <> '0')")),
              0);
}

TEST_F(Generator, RegeneratingReplacesTheBookAndFailuresLeaveNothing) {
    ASSERT_TRUE(generate(QStringLiteral("51"), 1, 10, 20));
    exec(
        QStringLiteral("INSERT INTO T_TUKIKAN (CID, KANKOCODE, DATEYM) VALUES ('51', '004', "
                       "'2024/01')"));
    ASSERT_TRUE(generate(QStringLiteral("51"), 2, 4, 5));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '51'")), 4);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '51'")), 20);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_HOJOKAMOKU WHERE CID = '51'")), 6);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKIKAN WHERE CID = '51'")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN WHERE CID = '51'")), 1);

    // Bad requests change nothing and say why.
    session().CurrentCid = QStringLiteral("01");
    EXPECT_FALSE(generate(QStringLiteral("5"), 1));
    EXPECT_TRUE(lastError.contains(u"5"));
    EXPECT_FALSE(generate(QStringLiteral("54"), 1, 0));
    EXPECT_FALSE(generate(QStringLiteral("54"), 1, 367));
    EXPECT_FALSE(generate(QStringLiteral("54"), 1, 10, 1000));
    EXPECT_EQ(session().CurrentCid, QStringLiteral("01"));
    EXPECT_FALSE(Database::global().inTransaction());

    // A failure half way rolls back its own transaction and restores the current set.
    exec(
        QStringLiteral("CREATE TRIGGER no_lines BEFORE INSERT ON T_SI_MEISAI WHEN "
                       "NEW.DENCODE = '00003' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_FALSE(generate(QStringLiteral("54"), 1, 10, 5));
    EXPECT_TRUE(lastError.contains(u"refused")) << lastError.toStdString();
    EXPECT_EQ(session().CurrentCid, QStringLiteral("01"));
    EXPECT_FALSE(Database::global().inTransaction());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN WHERE CID = '54'")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '54'")), 0);
    exec(QStringLiteral("DROP TRIGGER no_lines"));

    // Inside a caller's transaction the caller decides.
    Database::global().beginTransaction();
    EXPECT_TRUE(generate(QStringLiteral("55"), 1, 3, 4)) << lastError.toStdString();
    EXPECT_TRUE(Database::global().inTransaction());
    Database::global().rollback();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN WHERE CID = '55'")), 0);
}

}  // namespace
