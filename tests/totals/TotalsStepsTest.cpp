#include <gtest/gtest.h>

#include "support/StringLists.h"
#include "totals/TotalsBook.h"
#include "totals/TotalsInternal.h"
#include "totals/TotalsPass.h"

namespace {

const QString kOpening = QStringLiteral("2024/00");
const QString kApril = QStringLiteral("2024/04");
const QString kJuly = QStringLiteral("2024/07");

class TotalsSteps : public TotalsBook {
  protected:
    void row(const char* kocode, const char* month, const char* kr, const char* ks,
             const char* krrui = "0", const char* ksrui = "0") {
        exec(QStringLiteral("INSERT INTO T_TUKIKAN VALUES('01', ?, ?, ?, ?, ?, ?)"),
             {QLatin1String(kocode), QLatin1String(month), amount(kr), amount(ks), amount(krrui),
              amount(ksrui)});
    }
};

TEST_F(TotalsSteps, ProfitKeepsTheLastNetOf176ForAMonthWithoutItsRow) {
    row("113", "2024/00", "8000", "0", "8000", "0");
    row("176", "2024/00", "0", "8000", "0", "8000");
    row("171", "2024/00", "0", "1000", "0", "1000");
    row("353", "2024/00", "0", "0", "0", "0");
    // June: 176 has no row, so the opening month's 8000 still counts as its net.
    row("113", "2024/06", "3700", "2700.5");
    row("113", "2024/07", "2600", "1100");
    row("176", "2024/07", "1000", "0");
    row("348", "2024/07", "5", "5", "7", "7");
    ASSERT_TRUE(msum_misyobunrieki(kOpening, kJuly));
    EXPECT_EQ(
        tukikan(QStringLiteral("KANKOCODE IN ('171', '348', '353')")),
        rowsOf(
            "171|2024/00|0|1000|0|1000 "
            "348|2024/06|7000.5|0|0|0 348|2024/07|0|2500|7|7 "
            "353|2024/00|0|1000|0|1000 353|2024/06|7000.5|0|7000.5|0 353|2024/07|0|2500|0|2500"));
}

TEST_F(TotalsSteps, BothSidesOfAMonthShareOneRow) {
    subsidiary("001", "0");
    line("2024/04/01", "034", "001", "004", "", "200");
    line("2024/04/02", "009", "", "034", "001", "50");
    line("2024/04/03", "034", "", "004", "", "10");
    SubsidiaryTurnover debit;
    SubsidiaryTurnover credit;
    ASSERT_TRUE(msum_to_tukikanjo(kOpening, kApril, Side::Debit, debit));
    ASSERT_TRUE(msum_to_tukikanjo(kOpening, kApril, Side::Credit, credit));
    ASSERT_TRUE(msum_to_tukihojo(kOpening, kApril, Side::Debit, debit));
    ASSERT_TRUE(msum_to_tukihojo(kOpening, kApril, Side::Credit, credit));
    EXPECT_EQ(tukikan(), rowsOf("004|2024/00|0|0|0|0 004|2024/04|0|210|0|0 "
                                "009|2024/00|0|0|0|0 009|2024/04|50|0|0|0 "
                                "034|2024/00|0|0|0|0 034|2024/04|210|50|0|0"));
    // The line without a subsidiary code counts for the account only.
    EXPECT_EQ(tukihojo(), strings({"034|001|2024/00|0|0|0|0", "034|001|2024/04|200|50|0|0"}));
    // A second run of one side overwrites its column and leaves the other alone.
    ASSERT_TRUE(msum_to_tukikanjo(kOpening, kApril, Side::Debit, debit));
    EXPECT_EQ(tukikan(QStringLiteral("KANKOCODE = '034' AND DATEYM = '2024/04'")),
              strings({"034|2024/04|210|50|0|0"}));
}

TEST_F(TotalsSteps, OpeningRollUpTakesEachTotalAsItStandsInCodeOrder) {
    standardOpenings();
    ASSERT_TRUE(msum_new_tukidata(kOpening));
    // 068 is reached twice (from 028, then 067): its cumulative amounts follow its new turnover.
    EXPECT_EQ(tukikan(QStringLiteral("KANKOCODE IN ('028', '068', '103', '113', '175', '176')")),
              rowsOf("028|2024/00|6000|0|6000|0 "
                     "068|2024/00|8000|0|8000|0 "
                     "103|2024/00|0|0|0|0 "
                     "113|2024/00|8000|0|8000|0 "
                     "175|2024/00|0|5000|0|5000 "
                     "176|2024/00|0|8000|0|8000"));
    // Without any posting row in the months asked for, the roll-up writes nothing.
    ASSERT_TRUE(msum_syukei(kApril, kJuly));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKIKAN WHERE DATEYM > '2024/00'")), 0);
}

TEST_F(TotalsSteps, OnlyRowsWhoseFourAmountsAreAllZeroArePurged) {
    opening("004", "1000");
    opening("165", "1000");
    // 020 moves by 600 in April although each of its rows adds up to 0.
    line("2024/04/02", "020", "", "165", "", "300");
    line("2024/04/03", "165", "", "020", "", "-300");
    // 009 takes 100 in April and a refund of -50 on its credit side in May: May's row adds up to
    // 0 but holds a balance of 150.
    line("2024/04/10", "009", "", "180", "", "100");
    line("2024/05/10", "180", "", "009", "", "-50");
    // 124's rows are truly zero and go, in both months.
    line("2024/04/04", "124", "", "004", "", "300");
    line("2024/04/05", "124", "", "004", "", "-300");
    ASSERT_TRUE(msum_tukisime(kApril, QStringLiteral("2024/05"), session().CallerForm));
    EXPECT_EQ(tukikan(QStringLiteral("KANKOCODE IN ('009', '020', '124') AND DATEYM > '2024/00'")),
              rowsOf("009|2024/04|100|0|100|0 009|2024/05|0|-50|100|-50 "
                     "020|2024/04|300|-300|300|-300 020|2024/05|0|0|300|-300"));
    // The exempt accounts keep their zero rows.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKIKAN WHERE KANKOCODE IN ('152', "
                                   "'348', '353') AND DATEYM = '2024/05'")),
              3);
}

TEST_F(TotalsSteps, AFailingStepReportsOnceAndLeavesNothingBehind) {
    standardBook();
    exec(QStringLiteral("DROP TABLE T_SI_MEISAI"));
    EXPECT_FALSE(msum_tukisime(kApril, kJuly, session().CallerForm));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.last().text.endsWith(u"(msum_to_tukikanjo)"));
    EXPECT_TRUE(messages.last().text.contains(u"\r\n"));
    // The opening month had been built before the failure; all of it is rolled back.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKIKAN")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKISIME WHERE CID = '01' AND "
                                   "SYORIFLG = '1'")),
              0);
    EXPECT_EQ(lastEndMonth(), kOpening);
}

TEST_F(TotalsSteps, AFailureOfThePassItselfShowsItsOwnMessage) {
    standardBook();
    exec(QStringLiteral("DROP TABLE T_TUKIHOJO"));
    EXPECT_FALSE(msum_tukisime(kApril, kJuly, session().CallerForm));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("月次总计出现异常。"));
    EXPECT_EQ(messages.last().title, QStringLiteral("Ombrel"));
    EXPECT_EQ(messages.last().buttons, MsgButtons::Ok);
    EXPECT_EQ(messages.last().icon, MsgIcon::None);
    EXPECT_FALSE(Database::global().inTransaction());

    exec(QStringLiteral("DROP TABLE T_TUKISIME"));
    EXPECT_FALSE(msum_tukisime(kApril, kJuly, session().CallerForm));
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.last().text.endsWith(u"(msum_check_tukisime)"));
}

TEST_F(TotalsSteps, RunsInsideTheCallersTransaction) {
    standardBook();
    {
        TransactionGuard transaction;
        ASSERT_TRUE(msum_tukisime(kApril, kJuly, session().CallerForm));
        EXPECT_TRUE(Database::global().inTransaction());
        transaction.commit();
    }
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(lastEndMonth(), kJuly);
    {
        // The caller's rollback takes the pass with it.
        TransactionGuard transaction;
        ASSERT_TRUE(msum_tukisime(kApril, kApril, session().CallerForm));
    }
    EXPECT_EQ(lastEndMonth(), kJuly);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKIKAN WHERE KANKOCODE = '113' AND "
                                   "DATEYM = '2024/07'")),
              1);
}

}  // namespace
