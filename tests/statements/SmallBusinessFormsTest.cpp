#include <QSet>

#include "common/Session.h"
#include "statements/FormMapping.h"
#include "statements/SmallBusinessForms.h"
#include "support/GeneratedYears.h"
#include "support/RecordingReportOutput.h"
#include "support/SetSnapshot.h"
#include "totals/MonthFlags.h"
#include "totals/TotalsBook.h"
#include "totals/TotalsPass.h"

namespace {

Money kin(const QString& table, int line) {
    return Money::fromDb(
        Database::global().scalar(QStringLiteral("SELECT KIN%1 FROM %2").arg(line).arg(table)));
}

QString text(Money amount) {
    return amount.toText();
}

// The small household book of the totals tests with contra accounts, a sales return, interest,
// taxes and an appropriation; set 02 is a copy of it that no fill of set 01 may touch.
class SmallBusinessBook : public TotalsBook {
  protected:
    void SetUp() override {
        TotalsBook::SetUp();
        for (const auto& [kocode, balance] : {std::pair{"004", "1000"},
                                              {"009", "5000"},
                                              {"034", "2000"},
                                              {"046", "600"},
                                              {"070", "3000"},
                                              {"081", "500"},
                                              {"124", "3000"},
                                              {"165", "4000"},
                                              {"141", "200"},
                                              {"171", "4300"}}) {
            opening(kocode, balance);
        }
        line("2024/04/10", "004", "", "180", "", "3000");
        line("2024/04/25", "263", "", "004", "", "800.5");
        line("2024/04/28", "034", "", "004", "", "200");
        line("2024/05/06", "009", "", "034", "", "500");
        line("2024/05/20", "186", "", "004", "", "100");
        line("2024/06/30", "278", "", "081", "", "150");
        line("2024/07/01", "124", "", "009", "", "1000");
        line("2024/07/10", "004", "", "180", "", "2500");
        line("2024/07/12", "283", "", "009", "", "30");
        line("2024/07/13", "009", "", "314", "", "12.34");
        line("2024/07/20", "347", "", "138", "", "75");
        line("2024/07/25", "301", "", "138", "", "200");
        line("2024/07/31", "355", "", "159", "", "100");
        line("2024/07/31", "282", "", "004", "", "40");
        line("2024/08/05", "004", "", "180", "", "999");
        SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
    }

    bool fillJuly(SmallBusinessForm form) {
        return msum_tukisime(QStringLiteral("2024/04"), QStringLiteral("2024/07"),
                             SmallBusinessForms::kForm) &&
               fillSmallBusinessForm(form, QStringLiteral("2024/04"), QStringLiteral("2024/07"));
    }

    struct Expected {
        int line;
        const char* first;   // P_KESANSYO_E
        const char* second;  // P_KESANSYO_S
    };

    void expectColumns(const QList<Expected>& expected) {
        QSet<int> named;
        for (const Expected& e : expected) {
            SCOPED_TRACE(e.line);
            named.insert(e.line);
            EXPECT_EQ(text(kin(QStringLiteral("P_KESANSYO_E"), e.line)), QLatin1String(e.first));
            EXPECT_EQ(text(kin(QStringLiteral("P_KESANSYO_S"), e.line)), QLatin1String(e.second));
        }
        for (int line = 1; line <= FormMapping::kMaxLines; ++line) {
            if (!named.contains(line)) {
                EXPECT_TRUE(kin(QStringLiteral("P_KESANSYO_E"), line).isZero()) << line;
                EXPECT_TRUE(kin(QStringLiteral("P_KESANSYO_S"), line).isZero()) << line;
            }
        }
    }
};

// Every line of both forms at July: August's sale stays out, contra accounts (081, 141, 186,
// 314) are taken off, the balance sheet's 未分配利润 carries the brought-forward profit and the
// year's profit after the appropriation, and the income statement stops before it.
TEST_F(SmallBusinessBook, GoldenValuesOfBothForms) {
    SetSnapshot other(QStringLiteral("02"));
    ASSERT_GT(other.count(QStringLiteral("T_SI_MEISAI")), 0);

    ASSERT_TRUE(fillJuly(SmallBusinessForm::BalanceSheet));
    expectColumns({{1, "9841.84", "6000"},
                   {4, "1700", "2000"},
                   {9, "600", "600"},
                   {10, "600", "600"},
                   {15, "12141.84", "8600"},
                   {18, "3000", "3000"},
                   {19, "650", "500"},
                   {20, "2350", "2500"},
                   {29, "2350", "2500"},
                   {30, "14491.84", "11100"},
                   {31, "2000", "3000"},
                   {36, "275", "0"},
                   {41, "2275", "3000"},
                   {47, "2275", "3000"},
                   {48, "3800", "3800"},
                   {50, "100", "0"},
                   {51, "8316.84", "4300"},
                   {52, "12216.84", "8100"},
                   {53, "14491.84", "11100"}});

    ASSERT_TRUE(fillJuly(SmallBusinessForm::IncomeStatement));
    expectColumns({{1, "5400", "2500"},
                   {3, "75", "75"},
                   {11, "40", "40"},
                   {13, "40", "40"},
                   {14, "950.5", "0"},
                   {18, "17.66", "17.66"},
                   {21, "4316.84", "2367.34"},
                   {30, "4316.84", "2367.34"},
                   {31, "200", "200"},
                   {32, "4116.84", "2167.34"}});
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(other.unchanged());
}

// A mapping row that would print wrong figures is refused before anything is written.
TEST(FormMappingParse, MalformedRowsAreRefused) {
    const QStringList chart{QStringLiteral("004"), QStringLiteral("009"), QStringLiteral("028"),
                            QStringLiteral("353")};
    const QStringList posting{QStringLiteral("004"), QStringLiteral("009")};
    const struct {
        FormLineRow row;
        const char* error;  // empty: accepted
    } cases[] = {
        {{3, QStringLiteral("004-009, -353"), QStringLiteral("+1 - 2")}, ""},
        {{3, QStringLiteral("04"), {}}, "X 第3行：科目“04”的写法错误。"},
        {{3, QStringLiteral("004-"), {}}, "X 第3行：科目“004-”的写法错误。"},
        {{3, QStringLiteral("004-005-009"), {}}, "X 第3行：科目“004-005-009”的写法错误。"},
        {{3, QStringLiteral("005"), {}}, "X 第3行：科目“005”不在科目表中。"},
        {{3, QStringLiteral("009-004"), {}}, "X 第3行：科目范围“009-004”的首尾颠倒。"},
        {{3, {}, QStringLiteral("+3")}, "X 第3行：公式“+3”只能引用本表前面的行，没有第3行。"},
        {{3, {}, QStringLiteral("+1+4")}, "X 第3行：公式“+1+4”只能引用本表前面的行，没有第4行。"},
        {{3, {}, QStringLiteral("1+2")}, "X 第3行：公式“1+2”的写法错误。"},
        {{3, {}, QStringLiteral("+1*2")}, "X 第3行：公式“+1*2”的写法错误。"},
        {{2, {}, {}}, "X 第2行：行号重复。"},
        {{89, {}, {}}, "X 第89行：行号应在 1 到 88 之间。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        QString error;
        const auto mapping = FormMapping::parse(
            QStringLiteral("X"), {{1, QStringLiteral("004"), {}}, {2, {}, {}}, c.row}, chart,
            posting, &error);
        EXPECT_EQ(mapping.has_value(), *c.error == 0);
        EXPECT_EQ(error, QString::fromUtf8(c.error));
    }
    // Ranges take posting accounts only, a named key any account; formulas see lower lines.
    const auto mapping = FormMapping::parse(
        QStringLiteral("X"),
        {{1, QStringLiteral("004-353"), {}}, {2, QStringLiteral("028,-353"), QStringLiteral("-1")}},
        chart, posting, nullptr);
    ASSERT_TRUE(mapping);
    const std::vector<Money> values =
        mapping->evaluate({{QStringLiteral("004"), Money::fromInt(1)},
                           {QStringLiteral("009"), Money::fromInt(10)},
                           {QStringLiteral("028"), Money::fromInt(100)},
                           {QStringLiteral("353"), Money::fromInt(1000)}});
    EXPECT_EQ(values[1], Money::fromInt(11));
    EXPECT_EQ(values[2], Money::fromInt(100 - 1000 - 11));
}

// A broken shipped row stops the fill with a message naming it; the work tables keep what they
// held.
TEST_F(SmallBusinessBook, BrokenMappingInTheFileIsRefused) {
    exec(QStringLiteral("INSERT INTO P_KESANSYO_E (KIN1) VALUES (7)"));
    const struct {
        SmallBusinessForm form;
        const char* change;
        const char* problem;
    } cases[] = {
        {SmallBusinessForm::BalanceSheet,
         "UPDATE MT_FORMLINE SET FORMULA = '+15+30' WHERE FORM = 'XQY01' AND LINE = 29",
         "XQY01 第29行：公式“+15+30”只能引用本表前面的行，没有第30行。"},
        {SmallBusinessForm::IncomeStatement,
         "UPDATE MT_FORMLINE SET ACCOUNTS = '180,1800' WHERE FORM = 'XQY02' AND LINE = 1",
         "XQY02 第1行：科目“1800”的写法错误。"},
        {SmallBusinessForm::IncomeStatement, "DELETE FROM MT_FORMLINE WHERE FORM = 'XQY02'",
         "XQY02 没有设置任何行。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        messages.shown.clear();
        exec(QString::fromUtf8(c.change));
        EXPECT_FALSE(fillJuly(c.form));
        EXPECT_EQ(messages.texts(),
                  QStringList{QStringLiteral("报表行设置（MT_FORMLINE）有错误，不能编制报表。") +
                              Messages::kCrLf + QString::fromUtf8(c.problem)});
        EXPECT_EQ(value(QStringLiteral("SELECT KIN1 FROM P_KESANSYO_E")), QStringLiteral("7"));
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM P_KESANSYO_S")), 0);
    }
}

// Every posting account of the shipped chart reaches the forms' totals exactly once, with the
// sign that its side gives: the balance sheet's 资产总计 − 负债和所有者权益总计 counts each
// balance-sheet account's debit balance once (the brought-forward profit 171 through 353), and
// 净利润 each profit-and-loss account's credit balance once, except the appropriations that come
// after it and the clearing account.
TEST_F(DatabaseTest, ShippedMappingCoversTheChartOnce) {
    QStringList chart;
    QStringList posting;
    QHash<QString, int> direction;  // +1 debit-sided
    for (const QVariantList& row : Database::global().selectAll(
             QStringLiteral("SELECT KOCODE, SYORIKBN, TAIKBN FROM MT_KANJO ORDER BY KOCODE"))) {
        const QString key = row.at(0).toString();
        chart.append(key);
        if (row.at(1).toString() == u"0") {
            posting.append(key);
        }
        direction.insert(key, row.at(2).toString() == u"0" ? 1 : -1);
    }
    const auto load = [&](const QString& form) {
        QList<FormLineRow> rows;
        for (const QVariantList& row : Database::global().selectAll(
                 QStringLiteral("SELECT LINE, ACCOUNTS, FORMULA FROM MT_FORMLINE WHERE FORM = ?"),
                 {form})) {
            rows.append({row.at(0).toInt(), row.at(1).toString(), row.at(2).toString()});
        }
        QString error;
        auto mapping = FormMapping::parse(form, rows, chart, posting, &error);
        EXPECT_TRUE(mapping) << error.toStdString();
        return mapping.value_or(FormMapping());
    };
    const FormMapping balanceSheet = load(QStringLiteral("XQY01"));
    const FormMapping income = load(QStringLiteral("XQY02"));
    QHash<QString, int> assetsLessClaims = balanceSheet.weights(30);
    for (auto [key, weight] : balanceSheet.weights(53).asKeyValueRange()) {
        assetsLessClaims[key] -= weight;
    }
    const QHash<QString, int> profit = income.weights(32);
    const QSet<QString> afterProfit{QStringLiteral("351"), QStringLiteral("352"),
                                    QStringLiteral("355"), QStringLiteral("356")};
    for (const QString& key : posting + QStringList{QStringLiteral("353")}) {
        SCOPED_TRACE(key.toStdString());
        const bool sheet = key < u"177" || key == u"353";
        const int debitWeight = direction.value(key) * assetsLessClaims.value(key);
        const int creditWeight = -direction.value(key) * profit.value(key);
        if (key == u"171" || key == u"999" || afterProfit.contains(key)) {
            EXPECT_EQ(debitWeight, 0);
            EXPECT_EQ(creditWeight, 0);
        } else if (sheet) {
            EXPECT_EQ(debitWeight, 1);
            EXPECT_EQ(profit.value(key), 0);
        } else {
            EXPECT_EQ(creditWeight, 1);
            EXPECT_EQ(assetsLessClaims.value(key), 0);
        }
    }
    // A total account named by a line would count its children twice; only the engine's profit
    // account 353 is one.
    for (const QString& key : chart) {
        if (!posting.contains(key) && key != u"353") {
            EXPECT_EQ(assetsLessClaims.value(key), 0) << key.toStdString();
            EXPECT_EQ(profit.value(key), 0) << key.toStdString();
        }
    }
}

// Generated years (two seeds, set 52 a second book that must stay as it was): both columns of
// the balance sheet balance in every month tried, 净利润 so far is the engine's profit before
// the appropriations, and a month's own column is the difference of two months so far.
TEST_F(DatabaseTest, GeneratedYearsBalance) {
    session().CurrentCid = QStringLiteral("51");
    for (const quint32 seed : {5U, 23U}) {
        SCOPED_TRACE(seed);
        generateTwoSets(QStringLiteral("51"), QDate(2024, 1, 1), 366, 6, seed);
        const SetSnapshot other(kOtherGeneratedSet);
        Money profitBefore;
        for (const char* month : {"2024/05", "2024/06", "2024/12"}) {
            SCOPED_TRACE(month);
            const QString m = QLatin1String(month);
            ASSERT_TRUE(msum_tukisime(QStringLiteral("2024/01"), m, SmallBusinessForms::kForm));
            ASSERT_TRUE(fillSmallBusinessForm(SmallBusinessForm::BalanceSheet,
                                              QStringLiteral("2024/01"), m));
            for (const char* table : {"P_KESANSYO_E", "P_KESANSYO_S"}) {
                EXPECT_FALSE(kin(QLatin1String(table), 30).isZero());
                EXPECT_EQ(kin(QLatin1String(table), 30), kin(QLatin1String(table), 53)) << table;
            }
            ASSERT_TRUE(fillSmallBusinessForm(SmallBusinessForm::IncomeStatement,
                                              QStringLiteral("2024/01"), m));
            const MonthBalances balances = MonthBalances::read(session().CurrentCid, m);
            Money engine = balances.cumulative.value(QStringLiteral("348"));
            for (const char* key : {"351", "352", "355", "356"}) {
                engine += balances.cumulative.value(QLatin1String(key));
            }
            const Money profit = kin(QStringLiteral("P_KESANSYO_E"), 32);
            EXPECT_FALSE(profit.isZero());
            EXPECT_EQ(profit, engine);
            if (m == u"2024/06") {
                EXPECT_EQ(kin(QStringLiteral("P_KESANSYO_S"), 32), profit - profitBefore);
            }
            profitBefore = profit;
        }
        EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
        EXPECT_TRUE(other.unchanged());
    }
}

}  // namespace
