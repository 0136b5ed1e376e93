#include "common/Clock.h"
#include "common/DateHelpers.h"

#include <gtest/gtest.h>

namespace {

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

TEST(HelpersNullToZero, OnlyEmptyBecomesZero) {
    EXPECT_EQ(nullToZero(QVariant()), QVariant(0));
    EXPECT_EQ(nullToZero(QVariant(QMetaType(QMetaType::QString))).typeId(), QMetaType::Int);
    EXPECT_EQ(nullToZero(QStringLiteral("")).typeId(), QMetaType::Int);
    EXPECT_EQ(nullToZero(QStringLiteral("0")).typeId(), QMetaType::QString);
    EXPECT_EQ(nullToZero(qlonglong(42)), QVariant(qlonglong(42)));
}

TEST(HelpersSplitAtBlank, SplitsAtFirstBlank) {
    QString rest = QStringLiteral("stale");
    EXPECT_EQ(splitAtBlank(s("  1002   银行 存款  "), rest), QStringLiteral("1002"));
    EXPECT_EQ(rest, s("银行 存款"));
    EXPECT_EQ(splitAtBlank(s("201\u3000应付账款"), rest), QStringLiteral("201"));
    EXPECT_EQ(rest, s("应付账款"));
    EXPECT_EQ(splitAtBlank(s("3\t本年利润"), rest), QStringLiteral("3"));
    EXPECT_EQ(rest, s("本年利润"));
    EXPECT_EQ(splitAtBlank(s(" 101 "), rest), QStringLiteral("101"));
    EXPECT_EQ(rest, QString());
}

TEST(DateMonthDay, ClampsIntoCalendar) {
    EXPECT_EQ(monthNormalise(QStringLiteral("  ")), QString());
    EXPECT_EQ(monthNormalise(QStringLiteral("3")), QStringLiteral("03"));
    EXPECT_EQ(monthNormalise(QStringLiteral("-4")), QStringLiteral("01"));
    EXPECT_EQ(monthNormalise(QStringLiteral("13")), QStringLiteral("12"));
    EXPECT_EQ(monthNormalise(QStringLiteral("x")), QStringLiteral("01"));

    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_FALSE(isLeapYear(2023));

    const auto day = [](const char* y, const char* m, const char* d) {
        return dayNormalise(s(y), s(m), s(d));
    };
    EXPECT_EQ(day("2023", "01", "0"), QStringLiteral("01"));
    EXPECT_EQ(day("2023", "01", "5"), QStringLiteral("05"));
    EXPECT_EQ(day("2023", "12", "99"), QStringLiteral("31"));
    EXPECT_EQ(day("2023", "04", "31"), QStringLiteral("30"));
    EXPECT_EQ(day("2024", "02", "30"), QStringLiteral("29"));
    EXPECT_EQ(day("1900", "2", "29"), QStringLiteral("28"));
}

TEST(DateNormalise, ReadsTypedDates) {
    const auto norm = [](const char* text, int now = 2026) { return dateNormalise(s(text), now); };
    EXPECT_EQ(norm("2024/02/30"), QStringLiteral("2024/02/29"));
    EXPECT_EQ(norm("2023/02/29"), QStringLiteral("2023/02/28"));
    EXPECT_EQ(norm("2024-2-30"), QStringLiteral("2024/12/01"));
    EXPECT_EQ(norm("2024031599"), QStringLiteral("2024/03/15"));
    EXPECT_EQ(norm("70/01/05"), QStringLiteral("2070/01/05"));
    EXPECT_EQ(norm("71/01/05"), QStringLiteral("1971/01/05"));
    EXPECT_EQ(norm("23022"), QStringLiteral("2023/02/02"));
    EXPECT_EQ(norm("05/13/40", 1999), QStringLiteral("1905/12/31"));
    EXPECT_EQ(norm("2024"), QString());
    EXPECT_EQ(norm(""), QString());
    EXPECT_EQ(norm("２０２４0101"), QString());  // full-width digits do not count
}

// A date typed on a screen never lands on another day: with separators it is read as typed.
TEST(DateNormalise, ScreenDatesWithSeparatorsAreReadAsTyped) {
    const std::pair<const char*, const char*> cases[] = {{"2026/3/15", "2026/03/15"},
                                                         {"2026-3-5", "2026/03/05"},
                                                         {"2026.12.31", "2026/12/31"},
                                                         {"2026年3月15日", "2026/03/15"},
                                                         {"２０２６／３／１５", "2026/03/15"},
                                                         {" 26/3/15 ", "2026/03/15"},
                                                         {"99/1/2", "1999/01/02"},
                                                         {"2024/02/29", "2024/02/29"},
                                                         {"2026/02/30", ""},
                                                         {"2026/13/01", ""},
                                                         {"2026/0/10", ""},
                                                         {"2026/3", ""},
                                                         {"2026/3/15/1", ""},
                                                         {"2026/3/1x", ""},
                                                         {"20260/3/15", ""},
                                                         {"260315", "2026/03/15"},
                                                         {"20260315", "2026/03/15"},
                                                         {"20260230", "2026/02/28"},
                                                         {"", ""}};
    for (const auto& [typed, expected] : cases) {
        EXPECT_EQ(typedDateNormalise(QString::fromUtf8(typed), 2026), QString::fromUtf8(expected))
            << typed;
    }
}

class DateClock : public ::testing::Test {
  protected:
    void TearDown() override { Clock::clearFixedToday(); }
};

TEST_F(DateClock, FixedTodayDrivesDefaults) {
    Clock::setFixedToday(QDate(2105, 7, 4));
    EXPECT_EQ(Clock::today(), QDate(2105, 7, 4));
    EXPECT_EQ(Clock::todayText(), QStringLiteral("2105/07/04"));
    EXPECT_EQ(dateNormalise(QStringLiteral("050101")), QStringLiteral("2105/01/01"));

    Clock::clearFixedToday();
    const QDate before = QDate::currentDate();
    const QDate today = Clock::today();
    EXPECT_TRUE(today == before || today == QDate::currentDate());
}

TEST(DateMonths, FormatAndShift) {
    EXPECT_EQ(formatMonth(QDate(2024, 3, 31)), QStringLiteral("2024/03"));
    EXPECT_EQ(addMonths(QStringLiteral("2024/12"), 1), QStringLiteral("2025/01"));
    EXPECT_EQ(addMonths(QStringLiteral("2024/01"), -1), QStringLiteral("2023/12"));
    EXPECT_EQ(addMonths(QStringLiteral("2024/05"), -17), QStringLiteral("2022/12"));
    EXPECT_EQ(addMonths(QStringLiteral("2024/13"), 1), QString());
}
