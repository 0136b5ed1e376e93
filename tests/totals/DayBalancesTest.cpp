#include <gtest/gtest.h>

#include "common/Session.h"
#include "db/RowWriters.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"
#include "totals/DayBalances.h"

namespace {

const QString kDaily = QStringLiteral("InpKantanSiwake");

class DayBalances : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        // Left behind by the opening-balance screen: only the caller named in the call counts.
        session().CallerForm = kOpeningBalanceForm;
        // Five days of set 01 and one day of set 02, each day carrying the previous balance.
        const QStringList days =
            strings({"2024/01/01", "2024/01/02", "2024/01/03", "2024/01/04", "2024/01/05"});
        for (int i = 0; i < days.size(); ++i) {
            const QString code = QStringLiteral("0000%1").arg(i + 1);
            write(QStringLiteral("01"), code, days.at(i), QString::number(10 * i),
                  QString::number(10 * (i + 1)));
        }
        write(QStringLiteral("02"), QStringLiteral("00001"), QStringLiteral("2024/01/03"),
              QStringLiteral("5"), QStringLiteral("6"));
    }

    void write(const QString& cid, const QString& code, const QString& day, const QString& brought,
               const QString& closing) {
        ASSERT_TRUE(WriteSiwakeTable({cid, code, code, day, QStringLiteral("2024/01/01"),
                                      QStringLiteral("0"), brought, closing, QStringLiteral("0")},
                                     QStringLiteral("T_SIWAKE")));
    }

    // "YDAYZAN/DAYZAN" per day in whole units.
    QStringList chain(const QString& cid = QStringLiteral("01")) {
        QStringList out;
        for (const QString& row :
             rows(QStringLiteral("SELECT YDAYZAN, DAYZAN FROM T_SIWAKE WHERE CID = ? "
                                 "ORDER BY DENCODE"),
                  {cid})) {
            const QStringList parts = row.split(u'|');
            out.append(QString::number(parts.at(0).toLongLong() / Money::kScale) + u'/' +
                       QString::number(parts.at(1).toLongLong() / Money::kScale));
        }
        return out;
    }
};

TEST_F(DayBalances, AShiftMovesTheDayAndEveryLaterDayOnly) {
    ASSERT_EQ(chain(), strings({"0/10", "10/20", "20/30", "30/40", "40/50"}));
    ASSERT_TRUE(UpdateSiwakeZandaka(QStringLiteral("2024/01/03"), Money::fromInt(100), kDaily));
    EXPECT_EQ(chain(), strings({"0/10", "10/20", "120/130", "130/140", "140/150"}));
    EXPECT_EQ(chain(QStringLiteral("02")), strings({"5/6"}));

    // Negative and fractional shifts stay exact.
    ASSERT_TRUE(
        UpdateSiwakeZandaka(QStringLiteral("2024/01/05"), Money::fromUnits(-25000), kDaily));
    EXPECT_EQ(rows(QStringLiteral("SELECT YDAYZAN, DAYZAN FROM T_SIWAKE WHERE CID = '01' "
                                  "AND DENCODE = '00005'")),
              strings({"1375000|1475000"}));

    // A day without a voucher changes nothing, even when later days exist.
    const QStringList before = chain();
    EXPECT_TRUE(UpdateSiwakeZandaka(QStringLiteral("2023/12/31"), Money::fromInt(100), kDaily));
    EXPECT_TRUE(UpdateSiwakeZandaka(QStringLiteral("2024/01/06"), Money::fromInt(100), kDaily));
    EXPECT_EQ(chain(), before);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(DayBalances, FromTheOpeningBalanceScreenTheAmountIsTheNewOpening) {
    // The first day was brought forward with 0: a new opening of 1000 moves every day by 1000.
    ASSERT_TRUE(UpdateSiwakeZandaka(QStringLiteral("2024/01/01"), Money::fromInt(1000),
                                    kOpeningBalanceForm));
    EXPECT_EQ(chain(), strings({"1000/1010", "1010/1020", "1020/1030", "1030/1040", "1040/1050"}));
    // The same opening again moves nothing; from a later day, that day's brought-forward
    // balance is the base.
    ASSERT_TRUE(UpdateSiwakeZandaka(QStringLiteral("2024/01/01"), Money::fromInt(1000),
                                    kOpeningBalanceForm));
    ASSERT_TRUE(UpdateSiwakeZandaka(QStringLiteral("2024/01/04"), Money::fromInt(1000),
                                    kOpeningBalanceForm));
    EXPECT_EQ(chain(), strings({"1000/1010", "1010/1020", "1020/1030", "1000/1010", "1010/1020"}));
    EXPECT_EQ(chain(QStringLiteral("02")), strings({"5/6"}));
}

TEST_F(DayBalances, TheCashOpeningBalanceAndRate) {
    Money amount = Money::fromInt(9);
    double rate = 9.0;
    ASSERT_TRUE(get_Kisyuzan(amount, rate));
    EXPECT_EQ(amount, Money());
    EXPECT_EQ(rate, 0.0);
    exec(
        QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = 12345, RATE = 6.75 WHERE CID = '01' "
                       "AND KOCODE = '004'"));
    exec(
        QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = 1, RATE = 1 WHERE CID = '01' "
                       "AND KOCODE = '009'"));
    ASSERT_TRUE(get_Kisyuzan(amount, rate));
    EXPECT_EQ(amount, Money::fromUnits(12345));
    EXPECT_EQ(rate, 6.75);

    // A set without a cash row reads both as 0.
    session().CurrentCid = QStringLiteral("77");
    ASSERT_TRUE(get_Kisyuzan(amount, rate));
    EXPECT_EQ(amount, Money());
    EXPECT_EQ(rate, 0.0);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(DayBalances, ErrorsAreReportedWithTheRoutineName) {
    exec(QStringLiteral("DROP TABLE T_KISYUZAN"));
    Money amount;
    double rate = 0.0;
    EXPECT_FALSE(get_Kisyuzan(amount, rate));
    EXPECT_TRUE(messages.last().text.endsWith(u"(get_Kisyuzan)"));
    exec(
        QStringLiteral("CREATE TRIGGER frozen BEFORE UPDATE ON T_SIWAKE "
                       "BEGIN SELECT RAISE(ABORT, 'frozen'); END"));
    EXPECT_FALSE(UpdateSiwakeZandaka(QStringLiteral("2024/01/02"), Money::fromInt(1), kDaily));
    EXPECT_TRUE(messages.last().text.endsWith(u"(UpdateSiwakeZandaka)"));
}

}  // namespace
