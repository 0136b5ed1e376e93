#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>
#include <QtGlobal>

#include <compare>
#include <optional>

// An exact currency amount: a signed count of ten-thousandths (4 decimals).
// The database stores that count as INTEGER, so nothing here goes through floating point
// except reading back a REAL that SQLite produced from arithmetic.
class Money {
  public:
    static constexpr qint64 kScale = 10000;

    constexpr Money() = default;

    static constexpr Money fromUnits(qint64 tenThousandths) { return Money(tenThousandths); }
    static constexpr Money fromInt(qint64 whole) { return Money(whole * kScale); }

    // Typed input: blanks around, optional sign, ',' between integer digits, up to 4 decimals
    // (extra decimals round half away from zero). Blank, malformed or out-of-range text gives
    // nullopt.
    static std::optional<Money> parse(QStringView text);

    // Reads a column holding the unit count; NULL and "" count as zero.
    static Money fromDb(const QVariant& v);

    constexpr qint64 units() const { return m_units; }
    QVariant toDb() const;
    QString toSqlLiteral() const;

    // Plain form for backup and CSV files: "1234.5", "-20", "0.0001".
    QString toText() const;
    // Report form, rounded to whole units: "1,234,568".
    QString toDisplay() const;
    // Report form with a fixed number of decimals (clamped to 0..4): "1,234.50".
    QString toDisplay(int decimals) const;
    // Screen form: grouped, to the 分 ("1,234.50", "0.00"), with further decimals only when the
    // amount has them ("0.0049"), so that nothing is hidden and Money::parse reads it back.
    QString toExactDisplay() const;

    constexpr bool isZero() const { return m_units == 0; }
    constexpr int sign() const { return (m_units > 0) - (m_units < 0); }
    constexpr Money abs() const { return Money(m_units < 0 ? -m_units : m_units); }

    constexpr Money operator-() const { return Money(-m_units); }
    constexpr Money& operator+=(Money other) {
        m_units += other.m_units;
        return *this;
    }
    constexpr Money& operator-=(Money other) {
        m_units -= other.m_units;
        return *this;
    }
    friend constexpr Money operator+(Money a, Money b) { return a += b; }
    friend constexpr Money operator-(Money a, Money b) { return a -= b; }

    friend constexpr auto operator<=>(const Money&, const Money&) = default;

  private:
    constexpr explicit Money(qint64 units) : m_units(units) {}

    qint64 m_units = 0;
};
