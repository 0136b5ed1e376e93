#include <gtest/gtest.h>

#include <functional>

#include "common/Session.h"
#include "db/Database.h"
#include "statements/AccountBalances.h"
#include "statements/MonthStatement.h"
#include "statements/SmallBusinessForms.h"
#include "statements/StatementBook.h"
#include "statements/StatutoryBalanceSheet.h"
#include "statements/StatutoryProfitStatement.h"
#include "support/GeneratedYears.h"
#include "support/GoldenPages.h"
#include "support/SetSnapshot.h"
#include "totals/MonthFlags.h"

namespace {

// Both columns of the balance sheet of the small book, as the work tables hold them, while a
// copy of the book on set 02 stays as it was.
TEST_F(StatementBook, BalanceSheetWorkTables) {
    SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
    const SetSnapshot other(QStringLiteral("02"));
    StatutoryBalanceSheet sheet;
    ASSERT_TRUE(sheet.fill());
    EXPECT_TRUE(messages.shown.isEmpty());
    // 36 (086), 38 (105) are shown beside their totals 35 and 37, 82 (356) beside equity; 83 is
    // 141 turned round.
    expectLines(
        workTable(QStringLiteral("P_KESANSYO_S")),
        {{1, "6000"},   {6, "2000"},   {19, "8000"}, {25, "10000"}, {26, "2000"}, {27, "8000"},
         {29, "8000"},  {34, "8000"},  {35, "3000"}, {36, "3000"},  {37, "500"},  {38, "500"},
         {42, "3500"},  {44, "19500"}, {45, "3000"}, {61, "3000"},  {70, "3000"}, {72, "14000"},
         {78, "14000"}, {83, "-400"},  {84, "2900"}, {86, "16500"}, {88, "19500"}},
        "beginning");
    expectLines(workTable(QStringLiteral("P_KESANSYO_E")),
                {{1, "7669.5"},  {6, "2000"},  {19, "9669.5"}, {25, "10000"},   {26, "2500"},
                 {27, "7500"},   {29, "7500"}, {34, "7500"},   {35, "3000"},    {36, "3000"},
                 {37, "500"},    {38, "500"},  {42, "3500"},   {44, "20669.5"}, {45, "3000"},
                 {52, "240"},    {61, "3240"}, {70, "3240"},   {72, "14000"},   {78, "14000"},
                 {81, "140"},    {82, "40"},   {83, "-500"},   {84, "3789.5"},  {86, "17429.5"},
                 {88, "20669.5"}},
                "end");
    EXPECT_EQ(value(QStringLiteral("SELECT PCODE1 || ' ' || PCODE2 FROM T_PRINTKOMOKU")),
              QStringLiteral("2025年3月31日 2024年度"));
    EXPECT_TRUE(other.unchanged());
}

// This year's lines of the profit statement; the previous-year column is all zero without a
// saved statement.
TEST_F(StatementBook, ProfitStatementWorkTables) {
    SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
    const SetSnapshot other(QStringLiteral("02"));
    StatutoryProfitStatement statement;
    ASSERT_TRUE(statement.fill());
    EXPECT_TRUE(messages.shown.isEmpty());
    expectLines(workTable(QStringLiteral("P_KESANSYO_S")), {}, "previous year");
    expectLines(workTable(QStringLiteral("P_KESANSYO_E")),
                {{1, "3000"},    {4, "100"},     {5, "2900"},    {8, "90"},   {14, "2810"},
                 {17, "1700.5"}, {18, "30"},     {20, "1079.5"}, {25, "300"}, {26, "300"},
                 {32, "200"},    {36, "200"},    {39, "1179.5"}, {40, "150"}, {43, "1029.5"},
                 {44, "2900"},   {47, "3929.5"}, {48, "100"},    {49, "40"},  {57, "3789.5"},
                 {63, "3789.5"}},
                "this year");
    EXPECT_TRUE(other.unchanged());
}

// Both forms on one B4 page each: the header, every numbered line with its caption, the amounts
// of the book (the profit statement beside a saved previous year).
TEST_F(StatementBook, PageModels) {
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET COMPANY = '示例商贸有限公司' WHERE CID = '01'"));
    ASSERT_TRUE(ResetCompanyData());
    ASSERT_TRUE(StatutoryBalanceSheet().fill());
    expectGoldenPages(QStringLiteral("statements"), StatutoryBalanceSheet::kLayout);
    exec(
        QStringLiteral("INSERT INTO P_KESANSYO (CID, KIN1, KIN5, KIN63, DATEYMD) VALUES ('01', "
                       "25000000, 24000000, -1234500, '2024/03/31')"));
    ASSERT_TRUE(StatutoryProfitStatement().fill());
    expectGoldenPages(QStringLiteral("statements"), StatutoryProfitStatement::kLayout);
}

// Line 64 carries a loss of line 63 forward as a positive amount and is 0 otherwise.
TEST_F(StatementBook, LineSixtyFourHoldsTheLoss) {
    const struct {
        const char* extraCost;
        const char* line63;
        const char* line64;
    } cases[] = {
        {"10000", "-6210.5", "6210.5"},
        {"3789.5", "0", "0"},
        {"3789.51", "-0.01", "0.01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extraCost);
        // Each case replaces the previous extra cost.
        exec(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = '01' AND DENCODE = '99999'"));
        writeJournalLine(QStringLiteral("01"), 99999, QStringLiteral("2025/03/20"),
                         QStringLiteral("309"), QString(), QStringLiteral("009"), QString(),
                         QLatin1String(c.extraCost));
        ASSERT_TRUE(MarkMonthsStale(QStringLiteral("2025/03"), QStringLiteral("2025/03")));
        StatutoryProfitStatement statement;
        ASSERT_TRUE(statement.fill());
        const StatementColumn lines = workTable(QStringLiteral("P_KESANSYO_E"));
        EXPECT_EQ(lines.at(63).toText(), QLatin1String(c.line63));
        EXPECT_EQ(lines.at(64).toText(), QLatin1String(c.line64));
        StatutoryBalanceSheet sheet;
        ASSERT_TRUE(sheet.fill());
        EXPECT_EQ(workTable(QStringLiteral("P_KESANSYO_E")).at(84).toText(),
                  QLatin1String(c.line63));
    }
}

// The previous-year column is the set's saved statement when one is saved for the day before
// the period starts; the date decides only whether the copy runs.
TEST_F(StatementBook, PreviousYearColumnComesFromTheSavedStatement) {
    const struct {
        const char* saved;  // CID:DATEYMD:KIN1 rows
        const char* kin1;
    } cases[] = {
        {"", "0"},
        {"01:2024/03/31:111.25", "111.25"},
        {"01:2023/03/31:111.25", "0"},
        {"02:2024/03/31:111.25", "0"},
        {"02:2024/03/31:5 01:2024/03/31:7", "7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        exec(QStringLiteral("DELETE FROM P_KESANSYO"));
        for (const QString& row : QString::fromUtf8(c.saved).split(u' ', Qt::SkipEmptyParts)) {
            const QStringList f = row.split(u':');
            exec(QStringLiteral("INSERT INTO P_KESANSYO (CID, KIN1, KIN64, DATEYMD) VALUES (?, ?, "
                                "?, ?)"),
                 {f[0], amount(f[2].toLatin1().constData()), amount("64"), f[1]});
        }
        StatutoryProfitStatement statement;
        ASSERT_TRUE(statement.fill());
        const StatementColumn previous = workTable(QStringLiteral("P_KESANSYO_S"));
        EXPECT_EQ(previous.at(1).toText(), QLatin1String(c.kin1));
        EXPECT_EQ(previous.at(64).toText(),
                  QLatin1String(c.kin1) == u"0" ? QStringLiteral("0") : QStringLiteral("64"));
        EXPECT_EQ(workTable(QStringLiteral("P_KESANSYO_E")).at(63).toText(),
                  QStringLiteral("3789.5"));
    }
}

// Every message of the two screens: help texts, the totals pass, and each routine's standard
// error report when a table it needs is broken (the table is put back after each case).
TEST_F(StatementBook, EveryMessageOfTheStatements) {
    const QString kEnd = QStringLiteral("2025/03");
    const struct {
        const char* name;
        const char* broken;       // table dropped for the case, or ""
        const char* replacement;  // what stands in its place, or ""
        std::function<bool()> run;
        const char* text;  // the whole text, or the routine that reports
        MsgIcon icon;
    } cases[] = {
        {"balance sheet help", "", "",
         [] {
             StatutoryBalanceSheet().cmdQuestion_Click();
             return true;
         },
         "打印资产负债表。\r\n用B4纸打印。\r\n单击“打印预览”就会显示一览表。",
         MsgIcon::Information},
        {"profit statement help", "", "",
         [] {
             StatutoryProfitStatement().cmdQuestion_Click();
             return true;
         },
         "打印利润及利润分配表。\r\n用B4纸打印。\r\n单击“打印预览”就会显示一览表。",
         MsgIcon::Information},
        {"balance sheet totals pass", "T_TUKIHOJO", "",
         [] { return StatutoryBalanceSheet().print_data(0); }, "月次总计出现异常。", MsgIcon::None},
        {"profit statement totals pass", "T_TUKIHOJO", "",
         [] { return StatutoryProfitStatement().print_data(0); }, "月次总计出现异常。",
         MsgIcon::None},
        {"balance sheet period", "WK_COMPANY", "",
         [] { return StatutoryBalanceSheet().print_data(0); }, "(print_data)", MsgIcon::Critical},
        {"profit statement saved year", "P_KESANSYO", "",
         [] { return StatutoryProfitStatement().print_data(0); }, "(print_data)",
         MsgIcon::Critical},
        {"balance sheet balances", "T_TUKIKAN", "",
         [kEnd] {
             Money begin;
             Money end;
             return StatutoryBalanceSheet().set_hyouji_table(
                 QStringLiteral("= '004'"), QStringLiteral("2024/00"), kEnd, begin, end);
         },
         "(set_hyouji_table)", MsgIcon::Critical},
        {"profit statement balances", "T_TUKIKAN", "",
         [kEnd] {
             Money target;
             return StatutoryProfitStatement().search_table(QStringLiteral("= '180'"), kEnd,
                                                            target);
         },
         "(search_table)", MsgIcon::Critical},
        {"profit statement work tables", "P_KESANSYO_E", "",
         [] { return StatutoryProfitStatement().print_data(0); }, "(set_hyouji_table)",
         MsgIcon::Critical},
        {"row writer", "P_KESANSYO_S", "CREATE TABLE P_KESANSYO_S (KIN1 INTEGER)",
         [] { return StatutoryBalanceSheet().print_data(0); }, "(WriteKesansyoTable)",
         MsgIcon::Critical},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString table = QString::fromUtf8(c.broken);
        // The table and its indexes, to put back afterwards.
        const QStringList create = rows(QStringLiteral("SELECT sql FROM sqlite_master WHERE "
                                                       "tbl_name = ? AND sql IS NOT NULL ORDER "
                                                       "BY type = 'index'"),
                                        {table});
        if (!table.isEmpty()) {
            exec(QStringLiteral("DROP TABLE ") + table);
            if (*c.replacement != '\0') {
                exec(QString::fromUtf8(c.replacement));
            }
        }
        messages.shown.clear();
        EXPECT_EQ(c.run(), table.isEmpty());
        ASSERT_FALSE(messages.shown.isEmpty());
        const MessageRequest& shown = messages.last();
        const QString text = QString::fromUtf8(c.text);
        if (text.startsWith(u'(')) {
            EXPECT_TRUE(shown.text.endsWith(text)) << shown.text.toStdString();
            EXPECT_TRUE(shown.text.contains(u"\r\n")) << shown.text.toStdString();
        } else {
            EXPECT_EQ(shown.text, text);
        }
        EXPECT_EQ(shown.icon, c.icon) << shown.text.toStdString();
        EXPECT_EQ(shown.title, QStringLiteral("Ombrel"));
        EXPECT_EQ(shown.buttons, MsgButtons::Ok);
        if (!table.isEmpty()) {
            exec(QStringLiteral("DROP TABLE IF EXISTS ") + table);
            for (const QString& sql : create) {
                exec(sql);
            }
            ASSERT_TRUE(ResetCompanyData());
        }
    }
}

// The balances of every condition of both statements, taken from one read of the month, equal
// the statement's own query for that condition. Every chart key gets a row with its own amount,
// so that a key taken by a wrong range moves the sum.
TEST_F(StatementBook, ConditionBalancesEqualTheirQueries) {
    const QString month = QStringLiteral("2099/01");
    exec(QStringLiteral("INSERT INTO T_TUKIKAN (CID, KANKOCODE, DATEYM, KRRUI, KSRUI) SELECT '01', "
                        "KOCODE, ?, CAST(KOCODE AS INTEGER) * 10000, (1000 - CAST(KOCODE AS "
                        "INTEGER)) * 30000 FROM T_KANJO"),
         {month});
    // The same keys of another set and another month must not count.
    exec(QStringLiteral("INSERT INTO T_TUKIKAN (CID, KANKOCODE, DATEYM, KRRUI, KSRUI) SELECT '02', "
                        "KOCODE, ?, 7770000, 0 FROM T_KANJO"),
         {month});
    std::vector<const char*> conditions;
    for (const auto* steps :
         {&StatutoryBalanceSheet::lineSteps(), &StatutoryProfitStatement::lineSteps()}) {
        for (const LineStep& step : *steps) {
            conditions.insert(conditions.end(), step.add.begin(), step.add.end());
            conditions.insert(conditions.end(), step.subtract.begin(), step.subtract.end());
        }
    }
    EXPECT_EQ(conditions.size(), 91U);
    BalanceCache cache;
    for (const char* condition : conditions) {
        SCOPED_TRACE(condition);
        qint64 expected = 0;
        for (const QVariantList& row : Database::global().selectAll(
                 QStringLiteral("SELECT T.KRRUI, T.KSRUI, K.TAIKBN FROM T_TUKIKAN T, T_KANJO K "
                                "WHERE K.KOCODE = T.KANKOCODE AND T.CID = ? AND T.DATEYM = ? AND "
                                "(K.KOCODE ") +
                     QLatin1String(condition) + u')',
                 {QStringLiteral("01"), month})) {
            const qint64 debit = row.at(0).toLongLong();
            const qint64 credit = row.at(1).toLongLong();
            expected += row.at(2).toString() == u"0" ? debit - credit : credit - debit;
        }
        EXPECT_EQ(cache.balance(QStringLiteral("01"), month, QLatin1String(condition)).units(),
                  expected);
    }
    // Text outside the conditions' form is refused rather than read some other way.
    for (const char* wrong : {"", "= 056", "BETWEEN '1' AND", "IN('1', '2'", "= '1' OR '2'",
                              "= '1' OR K.KMCODE = '2'", "= '1'; DELETE FROM T_KANJO", "< '5'"}) {
        EXPECT_THROW(AccountCondition::parse(QLatin1String(wrong)), DbError) << wrong;
    }
}

// Generated years on a new set and on the prepared household (01) and manufacturing (06) sets
// with opening balances: the balance sheet balances in both columns and its unappropriated profit
// is the profit statement's line 63, the trial balance's and the income statement's 353 and the
// small-business balance sheet's 未分配利润; assets equal liabilities and equity in the trial
// balance and the small-business balance sheet; the net profit (line 43) is the income
// statement's 本年利润 and the small-business 净利润. A set sharing codes, days and accounts
// stays unchanged.
class StatementYears : public DatabaseTest {};

TEST_F(StatementYears, EveryStatementAgrees) {
    const struct {
        const char* cid;
        quint32 seed;
        int days;
    } books[] = {{"51", 3, 300}, {"51", 17, 365}, {"51", 29, 90}, {"01", 5, 365}, {"06", 7, 365}};
    for (const auto& book : books) {
        SCOPED_TRACE(std::string(book.cid) + " " + std::to_string(book.seed));
        generateTwoSets(QLatin1String(book.cid), QDate(2024, 4, 1), book.days, 6, book.seed);
        const SetSnapshot other(kOtherGeneratedSet);
        StatutoryBalanceSheet sheet;
        ASSERT_TRUE(sheet.fill());
        StatutoryProfitStatement statement;
        ASSERT_TRUE(statement.fill());
        EXPECT_NE(sheet.beginning().at(44), Money());
        EXPECT_EQ(sheet.beginning().at(44), sheet.beginning().at(88));
        EXPECT_NE(sheet.ending().at(44), sheet.beginning().at(44));
        EXPECT_EQ(sheet.ending().at(44), sheet.ending().at(88));
        EXPECT_NE(statement.thisYear().at(63), Money());
        EXPECT_EQ(statement.thisYear().at(63), sheet.ending().at(84));

        // The monthly statements and the small-business forms of the year's last month.
        const auto amount = [this](const QString& sql) {
            return Money::fromUnits(value(sql).toLongLong());
        };
        const auto line = [&](const char* table, const char* kocode) {
            return amount(QStringLiteral("SELECT ZAN FROM %1 WHERE KOCODE = '%2'")
                              .arg(QLatin1String(table), QLatin1String(kocode)));
        };
        const auto kin = [&](const char* table, int n) {
            return amount(QStringLiteral("SELECT KIN%1 FROM %2").arg(n).arg(QLatin1String(table)));
        };
        const QString last = QStringLiteral("2025/03");
        ASSERT_TRUE(MonthStatement(MonthStatementKind::TrialBalance).fillFor(last));
        EXPECT_EQ(line("T_TOTAL1", "113"), line("T_TOTAL1", "176"));
        EXPECT_EQ(line("T_TOTAL_MEISAI", "353"), sheet.ending().at(84));
        ASSERT_TRUE(MonthStatement(MonthStatementKind::IncomeStatement).fillFor(last));
        EXPECT_EQ(line("T_TOTAL1", "353"), statement.thisYear().at(63));
        EXPECT_EQ(line("T_TOTAL1", "348"), statement.thisYear().at(43));
        ASSERT_TRUE(fillSmallBusinessForm(SmallBusinessForm::BalanceSheet,
                                          QStringLiteral("2024/04"), last));
        for (const char* table : {"P_KESANSYO_S", "P_KESANSYO_E"}) {
            EXPECT_EQ(kin(table, 30), kin(table, 53)) << table;
        }
        EXPECT_EQ(kin("P_KESANSYO_E", 51), sheet.ending().at(84));
        EXPECT_EQ(kin("P_KESANSYO_S", 51), sheet.beginning().at(84));
        ASSERT_TRUE(fillSmallBusinessForm(SmallBusinessForm::IncomeStatement,
                                          QStringLiteral("2024/04"), last));
        EXPECT_EQ(kin("P_KESANSYO_E", 32), statement.thisYear().at(43));
        EXPECT_TRUE(other.unchanged());
    }
}

}  // namespace
