#include "common/Session.h"
#include "entry/JournalPrint.h"
#include "master/AccountListFill.h"
#include "master/CurrentAccountSet.h"
#include "print/PageBuilder.h"
#include "print/ReportData.h"
#include "print/ReportJobs.h"
#include "statements/SmallBusinessForms.h"
#include "support/GeneratedYears.h"
#include "support/GoldenPages.h"
#include "support/TestDatabase.h"
#include "totals/GeneralLedger.h"
#include "totals/SubsidiaryLedger.h"

namespace {

// The page model of each shipped layout over a small book, kept as text under tests/print/golden.
// OMBREL_UPDATE_GOLDEN=1 rewrites the files after an intended change; review their diff.
class ReportGolden : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        bool ok = false;
        ASSERT_TRUE(ResetCompanyData());
        change_kanjo_data(ok);
        ASSERT_TRUE(ok);
        // A short chart keeps the account list to a page: two classes, one subsidiary flag.
        exec(
            QStringLiteral("UPDATE T_KANJO SET SIYOU = 'N' WHERE KMCODE NOT IN ('101', '111', "
                           "'121', '201', '401', '501', '511')"));
        exec(
            QStringLiteral("UPDATE T_KANJO SET HOJOSET = 'Y', KISYUZAN = 12345678 WHERE KMCODE = "
                           "'111'"));
    }

    static void expectGolden(const QString& layoutName) {
        expectGoldenPages(QStringLiteral("print"), layoutName);
    }
};

// A layout with a typo would only fail when a user prints it.
TEST_F(ReportGolden, EveryShippedLayoutReadsAndPrintsItsEmptyTable) {
    const QStringList names =
        rows(QStringLiteral("SELECT REPNAME FROM MT_REPORT ORDER BY REPNAME"));
    EXPECT_GE(names.size(), 6);
    for (const QString& name : names) {
        const ReportJob job = loadReportJob(name);
        EXPECT_EQ(buildPages(job.layout, job.data).pages.size(), 1) << name.toStdString();
    }
    // The ledgers read each account's side beside their rows.
    exec(
        QStringLiteral("INSERT INTO T_SKANMT_OUT (KANKOCODE, SIDAY, DENNO, KMCODE, ZAN) SELECT "
                       "KOCODE, '00.01.01', '0', KMCODE, 50000 FROM T_KANJO WHERE KMCODE IN "
                       "('101', '201')"));
    const ReportJob ledger = loadReportJob(QStringLiteral("R_KANJYOMOTOTYO"));
    ASSERT_EQ(ledger.data.rows.size(), 2);
    EXPECT_EQ(ledger.data.value(0, QStringLiteral("TAIKBN")).toString(), QStringLiteral("0"));
    EXPECT_EQ(ledger.data.value(1, QStringLiteral("TAIKBN")).toString(), QStringLiteral("1"));

    // A running seed the work table lacks is refused as a malformed layout is.
    exec(QStringLiteral("INSERT INTO MT_REPORT (REPNAME, LAYOUT) VALUES ('R_X', ?)"),
         {QStringLiteral(R"({"source": {"table": "T_SKANMT_OUT"}, "columns": [{"key": "KRKIN", )"
                         R"("total": true, "running_seed": "YKKIN"}]})")});
    try {
        loadReportJob(QStringLiteral("R_X"));
        ADD_FAILURE() << "loaded";
    } catch (const ReportFailure& failure) {
        EXPECT_EQ(failure.number, 2104);
        EXPECT_EQ(failure.description,
                  QStringLiteral("报表“R_X”的格式不对: 累计起点列不明: YKKIN"));
    }
}

// Statements read two work tables as one, leave out rows, name fallbacks, and print fixed forms
// from one-row tables.
TEST_F(ReportGolden, UnionsSkipsFallbacksAndForms) {
    exec(
        QStringLiteral("INSERT INTO T_TOTAL_MEISAI (KOCODE, KMNAME, PCODE1, ZAN) VALUES ('004', "
                       "'现金', '1', 100), ('028', '', '2', 0), ('178', '', '0', 0)"));
    exec(
        QStringLiteral("INSERT INTO T_TOTAL1 (KOCODE, KMNAME, PCODE1, ZAN) VALUES ('028', "
                       "'【货币资金合计】', '3', 100)"));
    QString error;
    const std::optional<ReportLayout> statement = ReportLayout::parse(
        QStringLiteral("X"), R"({"source": {"table": "T_TOTAL_MEISAI", "union": ["T_TOTAL1"],
            "order": "PCODE1", "skip": [["KMNAME=", "SYORIKBN!=2"]],
            "lookups": [{"table": "T_KANJO", "key": "KOCODE", "on": "KOCODE",
                         "columns": ["KANNAME", "SYORIKBN"]}]},
            "columns": [{"text": "{KMNAME|KANNAME}"}, {"key": "ZAN", "format": "money"}]})",
        &error);
    ASSERT_TRUE(statement) << error.toStdString();
    const ReportData rows = readReportData(*statement);
    QStringList printed;
    for (int r = 0; r < rows.rows.size(); ++r) {
        printed << rows.resolve(QStringLiteral("{KMNAME|KANNAME} {ZAN}"), r);
    }
    EXPECT_EQ(printed.join(u';'), QStringLiteral("营业收入 0;现金 100;【货币资金合计】 100"));

    exec(QStringLiteral("INSERT INTO P_KESANSYO_E (KIN1, KIN2, KIN88) VALUES (10000, 0, 880000)"));
    const std::optional<ReportLayout> form = ReportLayout::parse(
        QStringLiteral("X"), R"({"source": {"form": {"tables": ["P_KESANSYO_S", "P_KESANSYO_E"],
            "blocks": [{"caption": "A", "line": "AL", "values": ["AS", "AE"],
                        "lines": [["资产：", 0], ["货币资金", 1], ["短期投资", 2]]},
                       {"caption": "B", "line": "BL", "values": ["BS", "BE"],
                        "lines": [["负债和所有者权益总计", 88]]}]}},
            "columns": [{"key": "A"}, {"key": "AL"}, {"key": "AS"}, {"key": "AE"},
                        {"key": "B"}, {"key": "BL"}, {"key": "BE"}]})",
        &error);
    ASSERT_TRUE(form) << error.toStdString();
    const ReportData lines = readReportData(*form);
    printed.clear();
    for (int r = 0; r < lines.rows.size(); ++r) {
        printed << lines.resolve(QStringLiteral("{A}|{AL}|{AS}|{AE}|{B}|{BL}|{BS}|{BE}"), r);
    }
    // The beginning table has no row: its amounts are 0; caption rows have none.
    EXPECT_EQ(printed.join(u';'),
              QStringLiteral("资产：||||负债和所有者权益总计|88|0|880000;货币资金|1|0|10000||||;"
                             "短期投资|2|0|0||||"));
}

TEST_F(ReportGolden, AccountList) {
    fillAccountList();
    expectGolden(QStringLiteral("R_KANJO_LISTH"));
}

TEST_F(ReportGolden, PatternAndDescriptionLists) {
    exec(
        QStringLiteral("INSERT INTO WK_SI_PATTERN VALUES ('01', '501', '101', '房租', "
                       "'付五月房租', '1', ''), ('01', '101', '401', '工资', '', '1', '')"));
    exec(
        QStringLiteral("INSERT INTO WK_TEKIYO VALUES ('01', '001', '营业收入'), ('01', '003', "
                       "'银行利息（活期）'), ('01', '002', '手续费')"));
    expectGolden(QStringLiteral("R_SIWAKE"));
    expectGolden(QStringLiteral("R_TEKIYO"));
}

TEST_F(ReportGolden, Journal) {
    generateYear(QStringLiteral("51"), QDate(2024, 1, 1), 3, 10, 5);
    ASSERT_TRUE(JournalPrint().fillForDays(QString(), QString()));
    expectGolden(QStringLiteral("R_SIWAKE_NIKKI"));
}

// A page per account, the carried-forward line first, the running balance in the last column;
// cash runs over two pages (过次页/承前页).
TEST_F(ReportGolden, GeneralLedger) {
    generateYear(QStringLiteral("51"), QDate(2024, 1, 1), 40, 20, 5);
    ASSERT_TRUE(
        GeneralLedger().fillFor(QStringLiteral("2024/02"), QStringLiteral("2024/02"), 101, 111));
    expectGolden(QStringLiteral("R_KANJYOMOTOTYO"));
}

// A page per subsidiary account of the payables, headed by the account and the subsidiary: its
// carried-forward line, month totals and totals so far, lines carried across pages.
TEST_F(ReportGolden, SubsidiaryLedger) {
    generateYear(QStringLiteral("51"), QDate(2024, 1, 1), 75, 6, 5);
    SubsidiaryLedger ledger;
    ASSERT_TRUE(ledger.Form_Load());
    ledger.setFirstMonth(1);
    ledger.setLastMonth(2);
    ledger.setFirstAccount(1);
    ASSERT_TRUE(ledger.cmdHyouji_Click());
    expectGolden(QStringLiteral("R_HOJOMOTOTYO"));
}

// The small-business forms of a generated quarter's last month: the balance sheet's two blocks
// side by side, the income statement's 32 lines, the month in the header.
TEST_F(ReportGolden, SmallBusinessForms) {
    generateYear(QStringLiteral("51"), QDate(2024, 1, 1), 90, 5, 5);
    for (const SmallBusinessForm form :
         {SmallBusinessForm::BalanceSheet, SmallBusinessForm::IncomeStatement}) {
        ASSERT_TRUE(SmallBusinessForms().fillFor(form, QStringLiteral("2024/03")));
        expectGolden(SmallBusinessForms::layoutOf(form));
    }
}

}  // namespace
