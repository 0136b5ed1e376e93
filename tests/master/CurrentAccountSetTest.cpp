#include <gtest/gtest.h>

#include "common/Session.h"
#include "master/CurrentAccountSet.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"
#include "totals/MonthFlags.h"

namespace {

class MonthList : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("51");
    }
    QStringList months() {
        return rows(
            QStringLiteral("SELECT INYM, OUTYM FROM T_DAY_INPUT WHERE CID = '51' "
                           "ORDER BY INYM"));
    }
};

TEST_F(MonthList, AtMostTwelveMonthsAcrossTheYearEnd) {
    ASSERT_TRUE(SetDayInputData(QStringLiteral("2024/10"), QStringLiteral("2025/12")));
    const QStringList built = months();
    ASSERT_EQ(built.size(), 12);
    EXPECT_EQ(built.first(), QStringLiteral("2024/10|2024年10月"));
    EXPECT_EQ(built.at(3), QStringLiteral("2025/01|2025年1月"));
    EXPECT_EQ(built.last(), QStringLiteral("2025/09|2025年9月"));
}

TEST_F(MonthList, KeptWhenItAlreadyStartsWithTheFirstMonth) {
    ASSERT_TRUE(SetDayInputData(QStringLiteral("2024/04"), QStringLiteral("2024/06")));
    exec(QStringLiteral("UPDATE T_DAY_INPUT SET OUTYM = 'kept'"));
    ASSERT_TRUE(SetDayInputData(QStringLiteral("2024/04"), QStringLiteral("2025/03")));
    EXPECT_EQ(months().size(), 3);
    EXPECT_EQ(value(QStringLiteral("SELECT DISTINCT OUTYM FROM T_DAY_INPUT")),
              QStringLiteral("kept"));
    // Another first month rebuilds it.
    ASSERT_TRUE(SetDayInputData(QStringLiteral("2024/05"), QStringLiteral("2024/05")));
    EXPECT_EQ(months(), QStringList{QStringLiteral("2024/05|2024年5月")});
}

// Corporations count periods, others name the year (both also seen through the main window).
TEST(PeriodCaption, WithoutAKindTheYearIsNamed) {
    EXPECT_EQ(periodLabelFor(QString(), QStringLiteral("1"), QStringLiteral("2023/10/01")),
              QStringLiteral("2023年度"));
}

TEST_F(MonthList, AnotherSetKeepsItsMonthsFlagsAndChart) {
    bool ok = false;
    const auto build = [&](const QString& first, const QString& last) {
        ASSERT_TRUE(SetDayInputData(first, last));
        ASSERT_TRUE(SetTukisimeData(first, last));
        change_kanjo_data(ok);
        ASSERT_TRUE(ok);
    };
    build(QStringLiteral("2024/04"), QStringLiteral("2025/03"));
    SetSnapshot::copySet(QStringLiteral("51"), QStringLiteral("52"));
    const SetSnapshot other(QStringLiteral("52"));
    ASSERT_EQ(other.count(QStringLiteral("T_DAY_INPUT")), 12);
    ASSERT_GT(other.count(QStringLiteral("T_KISYUZAN")), 0);
    // Set 51 rebuilt from another first month, its chart overlaid again.
    build(QStringLiteral("2024/05"), QStringLiteral("2025/04"));
    EXPECT_EQ(months().first(), QStringLiteral("2024/05|2024年5月"));
    EXPECT_TRUE(other.unchanged());
}

}  // namespace
