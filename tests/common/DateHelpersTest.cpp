#include "common/Clock.h"
#include "common/DateHelpers.h"

#include <gtest/gtest.h>

#include "support/StringLists.h"

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
    QStringList got;
    for (const char* text : {"  1002   银行 存款  ", "201\u3000应付账款", "3\t本年利润", " 101 "}) {
        QString rest = QStringLiteral("stale");
        const QString head = splitAtBlank(s(text), rest);
        got.append(head + u'|' + rest);
    }
    EXPECT_EQ(got, strings({"1002|银行 存款", "201|应付账款", "3|本年利润", "101|"}));
}

TEST(DateMonthDay, ClampsIntoCalendar) {
    QStringList months;
    for (const char* typed : {"  ", "3", "-4", "13", "x"}) {
        months.append(monthNormalise(s(typed)));
    }
    EXPECT_EQ(months, strings({"", "03", "01", "12", "01"}));

    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_FALSE(isLeapYear(2023));

    QStringList days;
    for (const char* ymd :
         {"2023/01/0", "2023/01/5", "2023/12/99", "2023/04/31", "2024/02/30", "1900/2/29"}) {
        const QStringList parts = s(ymd).split(u'/');
        days.append(dayNormalise(parts.at(0), parts.at(1), parts.at(2)));
    }
    EXPECT_EQ(days, strings({"01", "05", "31", "30", "29", "28"}));
}

TEST(DateNormalise, ReadsTypedDates) {
    QStringList read;
    // Full-width digits do not count.
    for (const char* typed : {"2024/02/30", "2023/02/29", "2024-2-30", "2024031599", "70/01/05",
                              "71/01/05", "23022", "2024", "", "２０２４0101"}) {
        read.append(dateNormalise(s(typed), 2026));
    }
    EXPECT_EQ(read, strings({"2024/02/29", "2023/02/28", "2024/12/01", "2024/03/15", "2070/01/05",
                             "1971/01/05", "2023/02/02", "", "", ""}));
    EXPECT_EQ(dateNormalise(s("05/13/40"), 1999), QStringLiteral("1905/12/31"));
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
