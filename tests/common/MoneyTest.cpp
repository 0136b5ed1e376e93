#include "common/Money.h"
#include "common/TypedAmount.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

#include "support/RecordingMessages.h"

namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();

Money units(qint64 n) {
    return Money::fromUnits(n);
}
std::optional<Money> parse(const char* text) {
    return Money::parse(QString::fromUtf8(text));
}

}  // namespace

// Readable failure messages instead of a byte dump.
static void PrintTo(const Money& m, std::ostream* os) {
    *os << m.toText().toStdString();
}

TEST(MoneyParse, FormsRoundingAndRejects) {
    EXPECT_EQ(parse("1,234.5"), units(12345000));
    EXPECT_EQ(parse("  -20  "), Money::fromInt(-20));
    EXPECT_EQ(parse("+7"), Money::fromInt(7));
    EXPECT_EQ(parse(".5"), units(5000));
    EXPECT_EQ(parse("5."), Money::fromInt(5));
    EXPECT_EQ(parse("-0"), Money());
    EXPECT_EQ(Money::parse(u"\u3000"
                           u"12\t"),
              Money::fromInt(12));
    EXPECT_EQ(parse("922337203685477.5807"), units(kMax));

    // Beyond 4 decimals the magnitude rounds, so halves go away from zero on both sides.
    EXPECT_EQ(parse("0.00005"), units(1));
    EXPECT_EQ(parse("0.00004999"), units(0));
    EXPECT_EQ(parse("-1.23455"), units(-12346));
    EXPECT_EQ(parse("9.99995"), Money::fromInt(10));

    for (const char* bad :
         {"", "   ", "-", ".", "abc", "12a", "1.2.3", "1 000", "--1", "- 1", ",1", "1,", "1,,2",
          "1,.5", "1.2,3", "1e5", "１２", "922337203685477.5808", "99999999999999999999"}) {
        EXPECT_EQ(parse(bad), std::nullopt) << bad;
    }
}

TEST(MoneyDb, ReadsAndWritesUnitCounts) {
    EXPECT_EQ(Money::fromDb(QVariant()), Money());
    EXPECT_EQ(Money::fromDb(QVariant(QMetaType(QMetaType::LongLong))), Money());
    EXPECT_EQ(Money::fromDb(QString()), Money());
    EXPECT_EQ(Money::fromDb(int(-7)), units(-7));
    // Column text is a unit count, never currency: "12" is 0.0012.
    EXPECT_EQ(Money::fromDb(QStringLiteral("12")), units(12));
    EXPECT_EQ(Money::fromDb(QVariant(-12344.5)), units(-12345));
    EXPECT_EQ(Money::fromDb(QVariant(2.9999999)), units(3));

    const Money m = units(-98765432109);
    EXPECT_EQ(m.toDb().typeId(), QMetaType::LongLong);
    EXPECT_EQ(Money::fromDb(m.toDb()), m);
    EXPECT_EQ(units(12345000).toSqlLiteral(), QStringLiteral("12345000"));
}

TEST(MoneyText, PlainFormAndRoundTrip) {
    QStringList texts;
    for (qint64 n :
         {qint64(12345000), qint64(-200000), qint64(0), qint64(1), qint64(-5000), qint64(10010)}) {
        texts.append(units(n).toText());
    }
    EXPECT_EQ(texts.join(u' '), QStringLiteral("1234.5 -20 0 0.0001 -0.5 1.001"));

    for (qint64 n :
         {qint64(0), qint64(-1), qint64(9999), qint64(-10000), qint64(-100000001), kMax, -kMax}) {
        EXPECT_EQ(Money::parse(units(n).toText()), units(n)) << n;
    }
    EXPECT_EQ(units(-kMax - 1).toText(), QStringLiteral("-922337203685477.5808"));
}

TEST(MoneyDisplay, RoundsAndGroups) {
    QStringList whole;
    for (qint64 n : {qint64(12345675000), qint64(-12344000), qint64(-12345000), qint64(-4000),
                     qint64(9990000), qint64(9995000), qint64(-1000000000), -kMax - 1}) {
        whole.append(units(n).toDisplay());
    }
    EXPECT_EQ(whole.join(u' '), QStringLiteral("1,234,568 -1,234 -1,235 0 999 1,000 -100,000 "
                                               "-922,337,203,685,478"));

    EXPECT_EQ(units(12345000).toDisplay(2), QStringLiteral("1,234.50"));
    EXPECT_EQ(units(-12350).toDisplay(2), QStringLiteral("-1.24"));
    EXPECT_EQ(units(-49).toDisplay(2), QStringLiteral("0.00"));
    // Screen form: to the 分, more decimals only when the amount has them; it parses back.
    QStringList exact;
    for (qint64 n : {qint64(12345000), qint64(4000), qint64(-1), qint64(1230), qint64(0)}) {
        exact.append(units(n).toExactDisplay());
    }
    EXPECT_EQ(exact.join(u' '), QStringLiteral("1,234.50 0.40 -0.0001 0.123 0.00"));
    EXPECT_EQ(Money::parse(units(98765432109).toExactDisplay()), units(98765432109));
    EXPECT_EQ(units(-1).toDisplay(4), QStringLiteral("-0.0001"));
    EXPECT_EQ(units(99999999).toDisplay(3), QStringLiteral("10,000.000"));
}

TEST(MoneyArithmetic, SignsAndOrdering) {
    Money a = Money::fromInt(10);
    const Money b = units(2500);
    EXPECT_EQ(b - a, units(-97500));
    a -= b;
    a += b + b;
    EXPECT_EQ(a, units(102500));
    EXPECT_LT(-a, b);
    EXPECT_GT(a, b);
    EXPECT_EQ((-b).abs(), b);
    EXPECT_EQ((-b).sign(), -1);
    EXPECT_EQ(Money().sign(), 0);
    EXPECT_TRUE(Money().isZero());
}

// What a user types into an amount cell: to the 分 at most; a refusal says why and keeps the
// amount.
TEST(TypedAmount, TakesAmountsToTheCentAndRefusesTheRest) {
    constexpr qint64 kRefused = 777;  // the amount before, kept on a refusal
    const struct {
        const char* typed;
        qint64 units;
    } cases[] = {{"", 0},
                 {" 12 ", 120000},
                 {"1,234.5", 12345000},
                 {"0.40", 4000},
                 {"1.230", 12300},
                 {"-0.01", -100},
                 {"1.239", kRefused},
                 {"0.001", kRefused},
                 {"1.2300001", kRefused},
                 {"abc", kRefused},
                 {"1..2", kRefused}};
    for (const auto& c : cases) {
        RecordingMessages messages;
        Money amount = units(kRefused);
        const bool taken = readTypedAmount(QString::fromUtf8(c.typed), amount);
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(taken, c.units != kRefused);
        EXPECT_EQ(amount, units(c.units));
        EXPECT_EQ(messages.shown.size(), taken ? 0 : 1);
    }
}
