#include "master/CurrentAccountSet.h"
#include "statements/MonthStatement.h"
#include "statements/StatementTotals.h"
#include "support/GoldenPages.h"
#include "support/SetSnapshot.h"
#include "totals/TotalsBook.h"

namespace {

void expectGoldenText(const QString& name, const QString& actual) {
    expectGoldenText(QStringLiteral("statements"), name, actual);
}

// The household book of the ledger tests with a trading and a profit-and-loss year around it:
// a sales return, purchases and closing stock, taxes, interest and an appropriation.
class MonthStatements : public TotalsBook {
  protected:
    void SetUp() override {
        TotalsBook::SetUp();
        // The period's months and the company row, as making the set current gives them.
        ASSERT_TRUE(ResetCompanyData());
        ASSERT_TRUE(SetDayInputData(QStringLiteral("2024/04"), QStringLiteral("2025/03")));
        standardBook();
        line("2024/08/05", "186", "", "004", "", "300");
        line("2024/08/10", "247", "", "009", "", "900");
        line("2024/09/30", "049", "", "259", "", "400");
        line("2024/10/15", "347", "", "004", "", "60");
        line("2024/11/20", "301", "", "004", "", "120");
        line("2024/12/05", "004", "", "314", "", "15");
        line("2025/03/31", "355", "", "159", "", "100");
    }

    QString tables() {
        QStringList all;
        for (const char* table : {"T_TOTAL_MEISAI", "T_TOTAL1"}) {
            all << QString::fromLatin1(table)
                << rows(QStringLiteral("SELECT CID, KOCODE, KMCODE, PCODE1, PCODE2, PCODE3, "
                                       "KAIPAGE, KMNAME, MAEKURI, KRTOTAL, KSTOTAL, ZAN FROM %1 "
                                       "ORDER BY KAIPAGE, PCODE1, PCODE2, KOCODE")
                            .arg(QString::fromLatin1(table)),
                        {}, 8);
        }
        return all.join(u'\n');
    }

    QString zanOf(const char* table, const char* kocode) {
        return rows(QStringLiteral("SELECT ZAN FROM %1 WHERE KOCODE = ?").arg(QLatin1String(table)),
                    {QLatin1String(kocode)}, 0)
            .value(0);
    }
};

// Work tables and printed pages for September (mid-year, stock closed) and March (year end).
TEST_F(MonthStatements, WorkTablesAndPagesOfBothStatements) {
    const SetSnapshot other(QStringLiteral("02"));
    for (const MonthStatementKind kind :
         {MonthStatementKind::TrialBalance, MonthStatementKind::IncomeStatement}) {
        for (const char* month : {"2024/09", "2025/03"}) {
            MonthStatement statement(kind);
            ASSERT_TRUE(statement.fillFor(QLatin1String(month)))
                << messages.texts().join(u';').toStdString();
            const QString name =
                statement.layout() + u'_' + QString::fromLatin1(month).remove(u'/');
            expectGoldenText(name, tables());
            expectGoldenPages(QStringLiteral("statements"), statement.layout(),
                              name + QStringLiteral("_pages"));
        }
    }
    EXPECT_TRUE(other.unchanged());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u';').toStdString();
}

// The statements agree with each other and with the engine in every month: assets equal
// liabilities and equity once the year's profit is added, and the income statement arrives at
// the same 本年利润 and 未分配利润.
TEST_F(MonthStatements, TheStatementsAgreeInEveryMonth) {
    MonthStatement months(MonthStatementKind::TrialBalance);
    ASSERT_TRUE(months.Form_Load());
    ASSERT_EQ(months.months().size(), 12);
    for (const LedgerMonth& month : months.months()) {
        SCOPED_TRACE(month.month.toStdString());
        ASSERT_TRUE(MonthStatement(MonthStatementKind::TrialBalance).fillFor(month.month));
        EXPECT_EQ(zanOf("T_TOTAL1", "113"), zanOf("T_TOTAL1", "176"));
        const QString profit = zanOf("T_TOTAL_MEISAI", "348");
        const QString retained = zanOf("T_TOTAL_MEISAI", "353");
        ASSERT_TRUE(MonthStatement(MonthStatementKind::IncomeStatement).fillFor(month.month));
        // The engine's profit has the appropriations already taken off; the statement's 本年利润
        // is before them.
        const Money appropriations = Money::fromUnits(
            value(QStringLiteral("SELECT COALESCE(SUM(ZAN), 0) FROM T_TOTAL_MEISAI WHERE KOCODE "
                                 "IN ('351', '352', '355', '356')"))
                .toLongLong());
        EXPECT_EQ(zanOf("T_TOTAL1", "348").toStdString(),
                  (Money::parse(profit).value() + appropriations).toText().toStdString());
        EXPECT_EQ(zanOf("T_TOTAL1", "353").toStdString(), retained.toStdString());
    }
}

// The derived-line rules on hand-made lines: a minus list's balance counts by its magnitude, the
// 353 line's turnover is its month's movement, and the result lines show turnover on one side.
TEST_F(MonthStatements, DerivedLineRules) {
    const auto put = [this](const char* table, const char* kocode, const char* maekuri,
                            const char* krtotal, const char* kstotal, const char* zan) {
        exec(QStringLiteral("INSERT INTO %1 (CID, KOCODE, KMNAME, MAEKURI, KRTOTAL, KSTOTAL, ZAN) "
                            "VALUES ('01', ?, 'x', ?, ?, ?, ?)")
                 .arg(QLatin1String(table)),
             {QLatin1String(kocode), amount(maekuri), amount(krtotal), amount(kstotal),
              amount(zan)});
    };
    const struct {
        const char* minusZan;
        const char* expected;
    } magnitudes[] = {{"100", "900"}, {"-100", "900"}, {"0", "1000"}};
    for (const auto& c : magnitudes) {
        exec(QStringLiteral("DELETE FROM T_TOTAL_MEISAI"));
        exec(QStringLiteral("DELETE FROM T_TOTAL1"));
        put("T_TOTAL_MEISAI", "180", "0", "0", "1000", "1000");
        put("T_TOTAL_MEISAI", "186", "0", "0", "0", c.minusZan);
        ASSERT_TRUE(
            ksum_sonekikesansyo(QStringLiteral("T_TOTAL1"), QStringLiteral("T_TOTAL_MEISAI"),
                                QStringLiteral("192"), {false, {QStringLiteral("180")}},
                                {true, {QStringLiteral("186"), QStringLiteral("189")}}, false));
        EXPECT_EQ(zanOf("T_TOTAL1", "192"), QLatin1String(c.expected)) << c.minusZan;
    }
    // 353: brought forward M, balance Z after the appropriations; the movement Z - M, whatever
    // the signs, never an amount spliced into the statement text.
    const struct {
        const char* maekuri;
        const char* zan;
        const char* turnover;  // KRTOTAL|KSTOTAL after netting
    } movements[] = {
        {"20", "50", "0|30"}, {"80", "50", "30|0"}, {"20", "-10", "30|0"}, {"-100", "-40", "0|60"}};
    for (const auto& c : movements) {
        exec(QStringLiteral("DELETE FROM T_TOTAL_MEISAI"));
        exec(QStringLiteral("DELETE FROM T_TOTAL1"));
        put("T_TOTAL1", "353", c.maekuri, "0", "0", c.zan);
        ASSERT_TRUE(ksum_sonekikesansyo(QStringLiteral("T_TOTAL1"),
                                        QStringLiteral("T_TOTAL_MEISAI"), QStringLiteral("353"), {},
                                        {}, true));
        ASSERT_TRUE(update_data());
        EXPECT_EQ(rows(QStringLiteral("SELECT KRTOTAL, KSTOTAL FROM T_TOTAL1 WHERE KOCODE = '353'"),
                       {}, 0)
                      .value(0),
                  QLatin1String(c.turnover))
            << c.maekuri << " -> " << c.zan;
    }
    // Netting: the larger side keeps the difference.
    exec(QStringLiteral("DELETE FROM T_TOTAL1"));
    put("T_TOTAL1", "192", "0", "-30", "100", "0");
    put("T_TOTAL1", "260", "0", "100", "-30", "0");
    put("T_TOTAL1", "204", "0", "100", "-30", "0");  // not a result line: left alone
    ASSERT_TRUE(update_data());
    EXPECT_EQ(rows(QStringLiteral("SELECT KOCODE, KRTOTAL, KSTOTAL FROM T_TOTAL1 ORDER BY KOCODE"),
                   {}, 1),
              (QStringList{QStringLiteral("192|0|70"), QStringLiteral("204|100|-30"),
                           QStringLiteral("260|70|0")}));
}

// What each screen says, and a refused fill changes nothing.
TEST_F(MonthStatements, MessagesAndRefusals) {
    const QString noData = QStringLiteral("没有符合条件的数据。");
    const QString help = QStringLiteral(
        "打印%1。\r\n用A4纸打印。\r\n在下拉框中选择日期，单击“打印预览”就会显示一览表。");
    ASSERT_TRUE(
        MonthStatement(MonthStatementKind::TrialBalance).fillFor(QStringLiteral("2024/09")));
    const QString before = tables();
    const struct {
        MonthStatementKind kind;
        const char* change;  // made before the fill and undone after it
        const char* undo;
        const char* month;
    } cases[] = {
        // A month outside the period.
        {MonthStatementKind::TrialBalance, "", "", "2026/01"},
        {MonthStatementKind::IncomeStatement, "", "", "2026/01"},
        // 348 is read as a total account: a chart that lost it has no profit line.
        {MonthStatementKind::TrialBalance, "UPDATE T_KANJO SET SYORIKBN = '0' WHERE KOCODE = '348'",
         "UPDATE T_KANJO SET SYORIKBN = '1' WHERE KOCODE = '348'", "2024/09"},
        // No profit-and-loss posting account at all.
        {MonthStatementKind::IncomeStatement,
         "UPDATE T_KANJO SET SYORIKBN = '9' WHERE SYORIKBN = '0' AND KOCODE BETWEEN '180' AND "
         "'356'",
         "UPDATE T_KANJO SET SYORIKBN = '0' WHERE SYORIKBN = '9'", "2024/09"},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        if (*c.change) {
            exec(QString::fromLatin1(c.change));
        }
        EXPECT_FALSE(MonthStatement(c.kind).fillFor(QLatin1String(c.month))) << c.change;
        if (*c.undo) {
            exec(QString::fromLatin1(c.undo));
        }
        EXPECT_EQ(messages.texts(), QStringList{noData}) << c.change;
        EXPECT_EQ(tables(), before) << c.change;
    }
    for (const MonthStatementKind kind :
         {MonthStatementKind::TrialBalance, MonthStatementKind::IncomeStatement}) {
        messages.shown.clear();
        MonthStatement statement(kind);
        statement.cmdQuestion_Click();
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.last().text, help.arg(statement.title()));
        EXPECT_EQ(messages.last().icon, MsgIcon::Information);
    }
}

}  // namespace
