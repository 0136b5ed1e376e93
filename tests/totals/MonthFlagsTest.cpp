#include <gtest/gtest.h>

#include "common/Clock.h"
#include "common/Session.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"
#include "totals/MonthFlags.h"

namespace {

class MonthFlags : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("51");
    }
    QStringList flags() {
        return rows(
            QStringLiteral("SELECT DATEYM, SYORIFLG, SYORIFLGH, SYORIDAY FROM T_TUKISIME "
                           "WHERE CID = '51' ORDER BY DATEYM"));
    }
};

TEST_F(MonthFlags, BuildsTheOpeningMonthAndAtMostTwelveMonths) {
    ASSERT_TRUE(SetTukisimeData(QStringLiteral("2024/04"), QStringLiteral("2025/06")));
    const QStringList built = flags();
    ASSERT_EQ(built.size(), 13);
    EXPECT_EQ(built.first(), QStringLiteral("2024/00|0|0|2024/05/20"));
    EXPECT_EQ(built.at(1), QStringLiteral("2024/04|0|0|2024/05/20"));
    EXPECT_EQ(built.last(), QStringLiteral("2025/03|0|0|2024/05/20"));
    EXPECT_EQ(rows(QStringLiteral("SELECT DATEYM FROM T_TUKISIMECHECK WHERE CID = '51'")),
              strings({"2024/00"}));
    // The password rows are never touched.
    EXPECT_EQ(
        count(QStringLiteral("SELECT COUNT(*) FROM T_TUKISIMECHECK WHERE CID IN ('P1','P2')")), 2);

    // A short period stops at its last month; a rebuild replaces everything.
    ASSERT_TRUE(SetTukisimeData(QStringLiteral("2024/11"), QStringLiteral("2025/01")));
    EXPECT_EQ(flags(), strings({"2024/00|0|0|2024/05/20", "2024/11|0|0|2024/05/20",
                                "2024/12|0|0|2024/05/20", "2025/01|0|0|2024/05/20"}));
}

TEST_F(MonthFlags, MarkingSetsOneKindOverARange) {
    ASSERT_TRUE(SetTukisimeData(QStringLiteral("2024/01"), QStringLiteral("2024/12")));
    Clock::setFixedToday(QDate(2024, 6, 2));
    ASSERT_TRUE(UpdateTukiSimebi(TotalsKind::Accounts, MonthState::Computed,
                                 QStringLiteral("2024/00"), QStringLiteral("2024/02")));
    ASSERT_TRUE(UpdateTukiSimebi(TotalsKind::Subsidiaries, MonthState::Computed,
                                 QStringLiteral("2024/02"), QStringLiteral("2024/03")));
    const QStringList marked = flags();
    EXPECT_EQ(marked.mid(0, 5),
              strings({"2024/00|1|0|2024/06/02", "2024/01|1|0|2024/06/02", "2024/02|1|1|2024/06/02",
                       "2024/03|0|1|2024/06/02", "2024/04|0|0|2024/05/20"}));
    // Other sets are left alone.
    session().CurrentCid = QStringLiteral("52");
    ASSERT_TRUE(UpdateTukiSimebi(TotalsKind::Accounts, MonthState::Stale, QStringLiteral("2024/00"),
                                 QStringLiteral("2024/12")));
    EXPECT_EQ(flags(), marked);

    // A change marks both kinds stale.
    session().CurrentCid = QStringLiteral("51");
    ASSERT_TRUE(MarkMonthsStale(QStringLiteral("2024/02"), QStringLiteral("2024/02")));
    EXPECT_EQ(flags().mid(1, 3), strings({"2024/01|1|0|2024/06/02", "2024/02|0|0|2024/06/02",
                                          "2024/03|0|1|2024/06/02"}));
}

TEST_F(MonthFlags, FailureIsReportedWithTheRoutineName) {
    exec(QStringLiteral("DROP TABLE T_TUKISIME"));
    EXPECT_FALSE(SetTukisimeData(QStringLiteral("2024/01"), QStringLiteral("2024/12")));
    EXPECT_TRUE(messages.last().text.endsWith(u"(SetTukisimeData)"));
    EXPECT_TRUE(messages.last().text.startsWith(u"1\r\n"));
    EXPECT_FALSE(UpdateTukiSimebi(TotalsKind::Subsidiaries, MonthState::Stale,
                                  QStringLiteral("2024/01"), QStringLiteral("2024/01")));
    EXPECT_TRUE(messages.last().text.endsWith(u"(UpdateTukiSimebi)"));
}

}  // namespace
