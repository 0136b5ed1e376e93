#include <gtest/gtest.h>

#include "DailyEntryFixture.h"
#include "support/StringLists.h"
#include "totals/DayBalances.h"

namespace {

class Vouchers : public DailyEntryFixture {};

TEST_F(Vouchers, DaysAreCreatedOnceUpToTodayCarryingTheLastBalance) {
    EXPECT_EQ(get_siwake_MaxNo(), 0);
    ASSERT_TRUE(make_new_siwake_data());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '01'")), 20);
    EXPECT_EQ(rows(QStringLiteral("SELECT DENCODE, DENNO, DENDAY, SYORIDAY, KESSAN, YDAYZAN, "
                                  "DAYZAN, RATE FROM T_SIWAKE WHERE CID = '01' AND DENCODE IN "
                                  "('00001', '00009', '00010', '00020') ORDER BY DENCODE"),
                   {}, 5),
              strings({"00001|00001|2024/05/01|2024/05/20|0|1000|1000|0",
                       "00009|00009|2024/05/09|2024/05/20|0|1000|1000|0",
                       "00010|00010|2024/05/10|2024/05/20|0|1000|1000|0",
                       "00020|00020|2024/05/20|2024/05/20|0|1000|1000|0"}));
    EXPECT_EQ(session().MinDencode + u'-' + session().MaxDencode, QStringLiteral("00001-00020"));
    EXPECT_EQ(get_siwake_MaxNo(), 20);

    // A second opening the same day creates nothing.
    ASSERT_TRUE(make_new_siwake_data());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '01'")), 20);

    // Days later, the new days carry the last voucher's closing balance, not the opening one.
    exec(QStringLiteral("UPDATE T_SIWAKE SET DAYZAN = ? WHERE CID = '01' AND DENCODE = '00020'"),
         {Money::fromInt(1234).toDb()});
    Clock::setFixedToday(QDate(2024, 5, 23));
    ASSERT_TRUE(make_new_siwake_data());
    EXPECT_EQ(
        rows(QStringLiteral("SELECT DENCODE, DENDAY, SYORIDAY, YDAYZAN, DAYZAN FROM "
                            "T_SIWAKE WHERE CID = '01' AND DENCODE > '00020' ORDER BY "
                            "DENCODE"),
             {}, 3),
        strings({"00021|2024/05/21|2024/05/23|1234|1234", "00022|2024/05/22|2024/05/23|1234|1234",
                 "00023|2024/05/23|2024/05/23|1234|1234"}));
    EXPECT_EQ(session().MaxDencode, QStringLiteral("00023"));
}

TEST_F(Vouchers, TheLastInputDayCapsCreation) {
    exec(QStringLiteral("UPDATE WK_COMPANY SET SIINLDAY = '2024/05/10'"));
    ASSERT_TRUE(make_new_siwake_data());
    EXPECT_EQ(value(QStringLiteral("SELECT MAX(DENDAY) FROM T_SIWAKE WHERE CID = '01'")),
              QStringLiteral("2024/05/10"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE")), 10);

    // A book already past the target day gets nothing more.
    exec(QStringLiteral("UPDATE WK_COMPANY SET SIINLDAY = '2024/05/05'"));
    ASSERT_TRUE(make_new_siwake_data());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE")), 10);
}

TEST_F(Vouchers, LookupsAndTheCarryForward) {
    ASSERT_TRUE(make_new_siwake_data());
    Voucher voucher;
    ASSERT_EQ(get_siwake_data(QStringLiteral("DENDAY"), QStringLiteral("2024/05/10"), voucher),
              VoucherLookup::Found);
    EXPECT_EQ(voucher.DENCODE + u'|' + voucher.DENNO + u'|' + voucher.YDAYZAN.toText(),
              QStringLiteral("00010|00010|1000"));
    EXPECT_EQ(get_siwake_data(QStringLiteral("DENCODE"), QStringLiteral("00099"), voucher),
              VoucherLookup::Missing);
    EXPECT_TRUE(voucher.DENCODE.isEmpty());
    EXPECT_EQ(voucher.DAYZAN, Money());
    EXPECT_EQ(get_siwake_meisai_MaxNo(QStringLiteral("00010")), 0);

    // Day 10 closes 100 higher: days 11..20 follow, days 1..10 keep their brought-forward.
    exec(QStringLiteral("UPDATE T_SIWAKE SET DAYZAN = ? WHERE CID = '01' AND DENCODE = '00010'"),
         {Money::fromInt(1100).toDb()});
    ASSERT_TRUE(update_next_zandaka(QStringLiteral("2024/05/10")));
    const QStringList balances = chain();
    EXPECT_EQ(balances.mid(8, 3) + balances.mid(19),
              strings({"1000/1000", "1000/1100", "1100/1100", "1100/1100"}));
    // Today has no later day; a day without a voucher shifts nothing.
    ASSERT_TRUE(update_next_zandaka(QStringLiteral("2024/05/20")));
    // With the clock set back, the days after "today" still follow a change.
    Clock::setFixedToday(QDate(2024, 5, 12));
    exec(QStringLiteral("UPDATE T_SIWAKE SET DAYZAN = ? WHERE CID = '01' AND DENCODE = '00012'"),
         {Money::fromInt(1105).toDb()});
    ASSERT_TRUE(update_next_zandaka(QStringLiteral("2024/05/12")));
    EXPECT_EQ(chain().at(19), QStringLiteral("1105/1105"));
    exec(QStringLiteral("UPDATE T_SIWAKE SET DAYZAN = ? WHERE CID = '01' AND DENCODE = '00012'"),
         {Money::fromInt(1100).toDb()});
    ASSERT_TRUE(update_next_zandaka(QStringLiteral("2024/05/12")));
    ASSERT_TRUE(UpdateSiwakeZandaka(QStringLiteral("2024/06/01"), Money::fromInt(5),
                                    QStringLiteral("InpKantanSiwake")));
    EXPECT_EQ(chain(), balances);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Vouchers, AFailedLookupIsReportedAndShiftsNoLaterDay) {
    ASSERT_TRUE(make_new_siwake_data());
    exec(QStringLiteral("UPDATE T_SIWAKE SET DAYZAN = ? WHERE CID = '01' AND DENCODE = '00010'"),
         {Money::fromInt(1100).toDb()});
    // Reading day 10 fails (its closing balance overflows), while every other day reads and
    // updates as before.
    exec(QStringLiteral("ALTER TABLE T_SIWAKE RENAME TO T_SIWAKE_ROWS"));
    exec(QStringLiteral(
        "CREATE VIEW T_SIWAKE AS SELECT CID, DENCODE, DENNO, DENDAY, SYORIDAY, KESSAN, YDAYZAN, "
        "CASE WHEN DENDAY = '2024/05/10' THEN abs(-9223372036854775807 - 1) ELSE DAYZAN END "
        "AS DAYZAN, RATE FROM T_SIWAKE_ROWS"));
    exec(
        QStringLiteral("CREATE TRIGGER T_SIWAKE_UPDATE INSTEAD OF UPDATE ON T_SIWAKE BEGIN "
                       "UPDATE T_SIWAKE_ROWS SET YDAYZAN = NEW.YDAYZAN, DAYZAN = NEW.DAYZAN "
                       "WHERE CID = OLD.CID AND DENCODE = OLD.DENCODE; END"));
    const QString stored =
        QStringLiteral("SELECT YDAYZAN, DAYZAN FROM T_SIWAKE_ROWS ORDER BY DENCODE");
    const QStringList before = rows(stored, {}, 0);

    Voucher voucher;
    EXPECT_EQ(get_siwake_data(QStringLiteral("DENDAY"), QStringLiteral("2024/05/10"), voucher),
              VoucherLookup::Failed);
    EXPECT_TRUE(voucher.DENCODE.isEmpty());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.last().text.endsWith(u"(get_siwake_data)"))
        << messages.last().text.toStdString();
    EXPECT_FALSE(update_next_zandaka(QStringLiteral("2024/05/10")));
    EXPECT_EQ(rows(stored, {}, 0), before);
}

}  // namespace
