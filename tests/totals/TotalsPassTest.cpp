#include <gtest/gtest.h>

#include "common/Clock.h"
#include "support/GeneratedYears.h"
#include "support/SetSnapshot.h"
#include "support/StringLists.h"
#include "totals/TotalsBook.h"
#include "totals/TotalsPass.h"

namespace {

const QString kApril = QStringLiteral("2024/04");
const QString kJuly = QStringLiteral("2024/07");

class TotalsPass : public TotalsBook {
  protected:
    void SetUp() override {
        TotalsBook::SetUp();
        standardBook();
    }
};

// Hand-computed from the book: April profit 3000 - 800.5 = 2199.5 less May wages 1200 gives
// 999.5 through June; July adds 2500 of sales.
const QStringList kJulyRows = rowsOf(
    "004|2024/00|1000|0|1000|0 004|2024/04|3000|1000.5|4000|1000.5 "
    "004|2024/07|2500|100|6500|1100.5 "
    "009|2024/00|5000|0|5000|0 009|2024/05|500|1200|5500|1200 009|2024/07|0|1000|5500|2200 "
    "028|2024/00|6000|0|6000|0 028|2024/06|3500|2200.5|0|0 "
    "028|2024/07|2500|1100|12000|3300.5 "
    "034|2024/00|2000|0|2000|0 034|2024/04|200|0|2200|0 034|2024/05|0|500|2200|500 "
    "034|2024/07|100|0|2300|500 "
    "067|2024/00|2000|0|2000|0 067|2024/06|200|500|0|0 067|2024/07|100|0|2300|500 "
    "068|2024/00|8000|0|8000|0 068|2024/06|3700|2700.5|0|0 "
    "068|2024/07|2600|1100|14300|3800.5 "
    "103|2024/00|0|0|0|0 "
    "113|2024/00|8000|0|8000|0 113|2024/06|3700|2700.5|0|0 "
    "113|2024/07|2600|1100|14300|3800.5 "
    "124|2024/00|0|3000|0|3000 124|2024/07|1000|0|1000|3000 "
    "152|2024/00|0|3000|0|3000 152|2024/07|1000|0|1000|3000 "
    "165|2024/00|0|4000|0|4000 165|2024/07|0|0|0|4000 "
    "171|2024/00|0|1000|0|1000 171|2024/07|0|0|0|1000 "
    "174|2024/00|0|1000|0|1000 174|2024/07|0|0|0|1000 "
    "175|2024/00|0|5000|0|5000 175|2024/07|0|0|0|5000 "
    "176|2024/00|0|8000|0|8000 176|2024/07|1000|0|1000|8000 "
    "180|2024/00|0|0|0|0 180|2024/04|0|3000|0|3000 180|2024/07|0|2500|0|5500 "
    "192|2024/06|0|3000|0|0 192|2024/07|0|2500|0|5500 "
    "263|2024/00|0|0|0|0 263|2024/04|800.5|0|800.5|0 263|2024/05|1200|0|2000.5|0 "
    "263|2024/07|0|0|2000.5|0 "
    "310|2024/06|2000.5|0|0|0 310|2024/07|0|0|2000.5|0 "
    "348|2024/06|0|999.5|0|0 348|2024/07|0|2500|0|3499.5 "
    "353|2024/00|0|1000|0|1000 353|2024/06|0|999.5|0|999.5 353|2024/07|0|2500|0|4499.5");

// Monthly subsidiary turnover; the July line without a subsidiary code is not counted.
const QStringList kSubsidiaryMonths =
    strings({"034|001|2024/00|1500|0|1500|0", "034|001|2024/04|200|0|1700|0",
             "034|002|2024/00|500|0|500|0", "034|002|2024/05|0|500|500|500"});

TEST_F(TotalsPass, FirstPassBuildsOpeningMonthlyCollapsedAndEndRows) {
    Clock::setFixedToday(QDate(2024, 6, 1));
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    EXPECT_TRUE(messages.shown.isEmpty());
    // Total accounts keep only the opening month, the collapsed month before the end (June,
    // which has no lines of its own) and the end month; zero rows after the opening month are
    // gone (103 in June and July, 175 and 176 in June), but not those of 152, 348 and 353.
    EXPECT_EQ(tukikan(), kJulyRows);
    // Balance check: assets 14300 - 3800.5 = 176's 7000 + the year's profit 3499.5.
    // Without the subsidiary step only the monthly subsidiary rows exist, marked stale.
    EXPECT_EQ(tukihojo(), kSubsidiaryMonths);
    const QStringList marked = flags();
    ASSERT_EQ(marked.size(), 13);
    EXPECT_EQ(marked.mid(0, 6), rowsOf("2024/00|1|0|2024/06/01 "
                                       "2024/04|1|0|2024/06/01 "
                                       "2024/05|1|0|2024/06/01 "
                                       "2024/06|1|0|2024/06/01 "
                                       "2024/07|1|0|2024/06/01 "
                                       "2024/08|0|0|2024/05/20"));
    EXPECT_EQ(lastEndMonth(), kJuly);
}

TEST_F(TotalsPass, SubsidiaryStepRunsOnlyForTheSubsidiaryLedger) {
    // The caller the screen passes decides, whatever the session holds.
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, QStringLiteral("prtSoukanjoHojoMotocho")));
    const QStringList withEndRows =
        kSubsidiaryMonths + strings({"034|001|2024/07|0|0|1700|0", "034|002|2024/07|0|0|500|500"});
    QStringList expected = withEndRows;
    expected.sort();
    EXPECT_EQ(tukihojo(), expected);
    EXPECT_EQ(tukikan(), kJulyRows);
    EXPECT_EQ(flags().mid(4, 2), rowsOf("2024/07|1|1|2024/05/20 2024/08|0|0|2024/05/20"));

    // Another report of the same month with nothing stale returns at once...
    session().CallerForm = QStringLiteral("prtTaisyakuTaisyo");
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    EXPECT_EQ(flags().at(0), QStringLiteral("2024/00|1|1|2024/05/20"));
    EXPECT_EQ(tukihojo(), expected);

    // ...but when it recomputes, the subsidiary cumulative totals become stale and July's are
    // gone with July's rows.
    ASSERT_TRUE(UpdateTukiSimebi(TotalsKind::Accounts, MonthState::Stale, kJuly, kJuly));
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    EXPECT_EQ(flags().at(0), QStringLiteral("2024/00|1|0|2024/05/20"));
    EXPECT_EQ(tukihojo(), kSubsidiaryMonths);
    EXPECT_EQ(tukikan(), kJulyRows);
}

TEST_F(TotalsPass, NothingStaleRecomputesNothingButMaySettleSubsidiaries) {
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    // Rows the pass would rebuild if it ran: a changed line and an overwritten total.
    exec(QStringLiteral("UPDATE T_SI_MEISAI SET KRKIN = KRKIN * 2, KSKIN = KSKIN * 2"));
    exec(
        QStringLiteral("UPDATE T_TUKIKAN SET KRRUI = 1 WHERE KANKOCODE = '113' AND "
                       "DATEYM = '2024/07'"));
    QStringList before = tukikan();
    Clock::setFixedToday(QDate(2024, 6, 1));
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    EXPECT_EQ(tukikan(), before);
    EXPECT_EQ(tukihojo(), kSubsidiaryMonths);
    EXPECT_EQ(flags().at(4), QStringLiteral("2024/07|1|0|2024/05/20"));

    // The subsidiary ledger finds its cumulative totals stale: it fills them without touching
    // the account totals.
    session().CallerForm = QStringLiteral("prtSoukanjoHojoMotocho");
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    EXPECT_EQ(tukikan(), before);
    EXPECT_EQ(tukihojo().size(), kSubsidiaryMonths.size() + 2);
    EXPECT_EQ(flags().mid(4, 2), rowsOf("2024/07|1|1|2024/06/01 2024/08|0|0|2024/05/20"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(TotalsPass, OnlyStaleMonthsAreRecomputed) {
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    // May's wages drop from 1200 to 1000; April changes too, but nobody marks April.
    exec(QStringLiteral("UPDATE T_SI_MEISAI SET KRKIN = ?, KSKIN = ? WHERE DATEYM = '2024/05' "
                        "AND KRKOCODE = '263'"),
         {amount("1000"), amount("1000")});
    exec(QStringLiteral("UPDATE T_SI_MEISAI SET KRKIN = ?, KSKIN = ? WHERE DATEYM = '2024/04' "
                        "AND KRKOCODE = '263'"),
         {amount("1"), amount("1")});
    const QString may = QStringLiteral("2024/05");
    ASSERT_TRUE(MarkMonthsStale(may, may));
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    // April's wages stay 800.5; May's rows, the collapsed June and the end month follow May.
    EXPECT_EQ(
        tukikan(QStringLiteral("KANKOCODE IN ('113', '263', '348', '353') AND DATEYM <> "
                               "'2024/00'")),
        rowsOf("113|2024/06|3700|2500.5|0|0 113|2024/07|2600|1100|14300|3600.5 "
               "263|2024/04|800.5|0|800.5|0 263|2024/05|1000|0|1800.5|0 263|2024/07|0|0|1800.5|0 "
               "348|2024/06|0|1199.5|0|0 348|2024/07|0|2500|0|3699.5 "
               "353|2024/06|0|1199.5|0|1199.5 353|2024/07|0|2500|0|4699.5"));
    EXPECT_EQ(lastEndMonth(), kJuly);
}

TEST_F(TotalsPass, AnotherEndMonthRecomputesEverythingThroughIt) {
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    // June has no lines: its end rows carry only cumulative amounts; the collapsed month is May
    // (176's zero row there is purged). July is outside this pass: its posting rows stay as they
    // were, its total rows are gone.
    const QString june = QStringLiteral("2024/06");
    ASSERT_TRUE(msum_tukisime(kApril, june, session().CallerForm));
    EXPECT_EQ(
        tukikan(QStringLiteral("KANKOCODE IN ('004', '113', '176', '263', '348', '353') AND "
                               "DATEYM > '2024/00'")),
        // 004 and 263 in July: outside the pass.
        rowsOf("004|2024/04|3000|1000.5|4000|1000.5 004|2024/06|0|0|4000|1000.5 "
               "004|2024/07|2500|100|6500|1100.5 "
               "113|2024/05|3700|2700.5|0|0 113|2024/06|0|0|11700|2700.5 176|2024/06|0|0|0|8000 "
               "263|2024/04|800.5|0|800.5|0 263|2024/05|1200|0|2000.5|0 263|2024/06|0|0|2000.5|0 "
               "263|2024/07|0|0|2000.5|0 "
               "348|2024/05|0|999.5|0|0 348|2024/06|0|0|0|999.5 "
               "353|2024/05|0|999.5|0|999.5 353|2024/06|0|0|0|1999.5"));
    EXPECT_EQ(lastEndMonth(), june);

    // Back to July: everything through July again, with the same result as the first time.
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    EXPECT_EQ(tukikan(), kJulyRows);
    EXPECT_EQ(tukihojo(), kSubsidiaryMonths);
}

TEST_F(TotalsPass, EndMonthEqualToStartMonthWritesNoCollapsedRow) {
    ASSERT_TRUE(msum_tukisime(kApril, kApril, session().CallerForm));
    EXPECT_EQ(tukikan(QStringLiteral("KANKOCODE IN ('028', '103', '113', '176', '348', '353')")),
              rowsOf("028|2024/00|6000|0|6000|0 028|2024/04|3000|1000.5|9000|1000.5 "
                     "103|2024/00|0|0|0|0 "
                     "113|2024/00|8000|0|8000|0 113|2024/04|3200|1000.5|11200|1000.5 "
                     "176|2024/00|0|8000|0|8000 176|2024/04|0|0|0|8000 "
                     "348|2024/04|0|2199.5|0|2199.5 "
                     "353|2024/00|0|1000|0|1000 353|2024/04|0|2199.5|0|3199.5"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKIKAN WHERE DATEYM > '2024/04'")), 0);
    EXPECT_EQ(flags().mid(1, 2), rowsOf("2024/04|1|0|2024/05/20 2024/05|0|0|2024/05/20"));
}

TEST_F(TotalsPass, PeriodAcrossTheCalendarYear) {
    const QString january = QStringLiteral("2025/01");
    ASSERT_TRUE(msum_tukisime(kApril, january, session().CallerForm));
    // The collapsed month is December; January's loss of 50 is a debit profit row.
    EXPECT_EQ(tukikan(QStringLiteral("KANKOCODE IN ('113', '348', '353') AND DATEYM > '2024/00'")),
              rowsOf("113|2024/12|6300|3800.5|0|0 113|2025/01|0|50|14300|3850.5 "
                     "348|2024/12|0|3499.5|0|0 348|2025/01|50|0|50|3499.5 "
                     "353|2024/12|0|3499.5|0|3499.5 353|2025/01|50|0|50|4499.5"));
    EXPECT_EQ(flags().mid(10, 2), rowsOf("2025/01|1|0|2024/05/20 2025/02|0|0|2024/05/20"));
    EXPECT_EQ(lastEndMonth(), january);
}

TEST_F(TotalsPass, AnotherSetWithTheSameBookKeepsEveryRow) {
    session().CallerForm = QStringLiteral("prtSoukanjoHojoMotocho");
    ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
    SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
    const SetSnapshot other(QStringLiteral("02"));
    ASSERT_GT(other.count(QStringLiteral("T_TUKIKAN")), 0);
    ASSERT_GT(other.count(QStringLiteral("T_TUKIHOJO")), 0);
    // Every month of set 01 recomputed, with a line more, to another end month.
    exec(
        QStringLiteral("UPDATE T_SI_MEISAI SET KRKIN = KRKIN + 10000, KSKIN = KSKIN + 10000 "
                       "WHERE CID = '01'"));
    exec(QStringLiteral("UPDATE T_TUKISIME SET SYORIFLG = '0', SYORIFLGH = '0' WHERE CID = '01'"));
    ASSERT_TRUE(msum_tukisime(kApril, QStringLiteral("2024/08"), session().CallerForm));
    EXPECT_NE(tukikan(), kJulyRows);
    EXPECT_TRUE(other.unchanged());
}

// The turnover rows of a generated book, whose transfer lines name subsidiaries on both sides,
// against the voucher lines summed per side in the plainest way.
using GeneratedBookTotals = DatabaseTest;

TEST_F(GeneratedBookTotals, MonthlyTurnoverMatchesTheVoucherLines) {
    generateYear(QStringLiteral("51"), QDate(2024, 1, 1), 75, 40, 5);
    session().CallerForm = QStringLiteral("prtSoukanjoHojoMotocho");
    ASSERT_TRUE(
        msum_tukisime(QStringLiteral("2024/01"), QStringLiteral("2024/03"), session().CallerForm));

    const QString sides = QStringLiteral(
        "SELECT KRKOCODE AS CODE, KRHOKOCODE AS SUB, DATEYM, KRKIN AS KR, 0 AS KS FROM "
        "T_SI_MEISAI WHERE CID = '51' UNION ALL SELECT KSKOCODE, KSHOKOCODE, DATEYM, 0, KSKIN "
        "FROM T_SI_MEISAI WHERE CID = '51'");
    const QStringList accounts =
        rows(QStringLiteral("SELECT CODE, DATEYM, SUM(KR), SUM(KS) FROM (%1) GROUP BY CODE, "
                            "DATEYM ORDER BY CODE, DATEYM")
                 .arg(sides),
             {}, 2);
    const QStringList subsidiaries =
        rows(QStringLiteral("SELECT CODE, SUB, DATEYM, SUM(KR), SUM(KS) FROM (%1) WHERE SUB <> "
                            "'' GROUP BY CODE, SUB, DATEYM ORDER BY CODE, SUB, DATEYM")
                 .arg(sides),
             {}, 3);
    ASSERT_GT(accounts.size(), 30);
    ASSERT_EQ(subsidiaries.size(), 2 * 3 * 3);  // receivables and payables, 3 each, 3 months

    const QString used = QStringLiteral(
        "KANKOCODE IN (SELECT KRKOCODE FROM T_SI_MEISAI UNION SELECT KSKOCODE FROM T_SI_MEISAI) "
        "AND DATEYM > '2024/00' AND (KRTOTAL <> 0 OR KSTOTAL <> 0)");
    EXPECT_EQ(rows(QStringLiteral("SELECT KANKOCODE, DATEYM, KRTOTAL, KSTOTAL FROM T_TUKIKAN "
                                  "WHERE CID = '51' AND %1 ORDER BY KANKOCODE, DATEYM")
                       .arg(used),
                   {}, 2),
              accounts);
    EXPECT_EQ(rows(QStringLiteral("SELECT KANKOCODE, HOCODE, DATEYM, KRTOTAL, KSTOTAL FROM "
                                  "T_TUKIHOJO WHERE CID = '51' AND %1 ORDER BY KANKOCODE, "
                                  "HOCODE, DATEYM")
                       .arg(used),
                   {}, 3),
              subsidiaries);
}

}  // namespace
