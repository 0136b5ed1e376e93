#include "common/Money.h"

#include <algorithm>

#include <QMetaType>
#include <QtGlobal>
#include <QtNumeric>

#include <cmath>

namespace {

constexpr int kDecimals = 4;

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
qint64 digitValue(QChar c) {
    return c.unicode() - u'0';
}

// Works on the magnitude so INT64_MIN never needs negating.
quint64 magnitude(qint64 units) {
    return units < 0 ? quint64(0) - quint64(units) : quint64(units);
}

QString groupThousands(quint64 whole) {
    const QString digits = QString::number(whole);
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const qsizetype lead = digits.size() % 3;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i != 0 && (i - lead) % 3 == 0)
            out += u',';
        out += digits[i];
    }
    return out;
}

Money fromIntegerText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return Money();
    bool ok = false;
    const qint64 units = trimmed.toLongLong(&ok);
    if (ok)
        return Money::fromUnits(units);
    // A REAL that came back as text ("12.0"); anything else is a fault upstream.
    const double d = trimmed.toDouble(&ok);
    if (ok && std::isfinite(d) && std::fabs(d) < 9.2e18)
        return Money::fromUnits(std::llround(d));
    qWarning("Money::fromDb: not an amount: %s", qPrintable(trimmed));
    return Money();
}

}  // namespace

std::optional<Money> Money::parse(QStringView text) {
    const QStringView s = text.trimmed();
    const qsizetype n = s.size();
    qsizetype i = 0;

    bool negative = false;
    if (i < n && (s[i] == u'-' || s[i] == u'+')) {
        negative = s[i] == u'-';
        ++i;
    }

    // Separators only between digits: "1,234" but not ",1", "1,", "1,,2" or "1,.5".
    qint64 whole = 0;
    int wholeDigits = 0;
    bool afterComma = false;
    for (; i < n && (isAsciiDigit(s[i]) || s[i] == u','); ++i) {
        if (s[i] == u',') {
            if (wholeDigits == 0 || afterComma)
                return std::nullopt;
            afterComma = true;
            continue;
        }
        if (qMulOverflow(whole, qint64(10), &whole) ||
            qAddOverflow(whole, digitValue(s[i]), &whole))
            return std::nullopt;
        ++wholeDigits;
        afterComma = false;
    }
    if (afterComma)
        return std::nullopt;

    qint64 fraction = 0;
    int fractionDigits = 0;
    bool roundUp = false;
    if (i < n && s[i] == u'.') {
        for (++i; i < n && isAsciiDigit(s[i]); ++i) {
            if (fractionDigits < kDecimals)
                fraction = fraction * 10 + digitValue(s[i]);
            else if (fractionDigits == kDecimals)
                roundUp = digitValue(s[i]) >= 5;  // the magnitude rounds, so half goes away from 0
            ++fractionDigits;
        }
    }
    if (i != n || (wholeDigits == 0 && fractionDigits == 0))
        return std::nullopt;
    for (int k = fractionDigits; k < kDecimals; ++k)
        fraction *= 10;

    qint64 units = 0;
    if (qMulOverflow(whole, kScale, &units) || qAddOverflow(units, fraction + roundUp, &units))
        return std::nullopt;
    return Money(negative ? -units : units);
}

Money Money::fromDb(const QVariant& v) {
    if (v.isNull() || !v.isValid())
        return Money();
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float: {
            // SQLite hands back REAL after some arithmetic; the value is still a unit count.
            const double d = v.toDouble();
            if (std::isfinite(d) && std::fabs(d) < 9.2e18)
                return Money(std::llround(d));
            qWarning("Money::fromDb: amount out of range");
            return Money();
        }
        case QMetaType::QString:
        case QMetaType::QByteArray:
            return fromIntegerText(v.toString());
        default: {
            bool ok = false;
            const qint64 units = v.toLongLong(&ok);
            return ok ? Money(units) : fromIntegerText(v.toString());
        }
    }
}

QVariant Money::toDb() const {
    return QVariant(qlonglong(m_units));
}

QString Money::toSqlLiteral() const {
    return QString::number(m_units);
}

QString Money::toText() const {
    const quint64 mag = magnitude(m_units);
    QString out = QString::number(mag / kScale);
    if (quint64 fraction = mag % kScale; fraction != 0) {
        int width = kDecimals;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --width;
        }
        out += u'.' + QString::number(fraction).rightJustified(width, u'0');
    }
    return m_units < 0 ? u'-' + out : out;
}

QString Money::toDisplay() const {
    return toDisplay(0);
}

QString Money::toExactDisplay() const {
    int decimals = 0;  // counted below the 分; two are always shown
    for (qint64 rest = m_units % kScale; rest != 0; rest = (rest * 10) % kScale) {
        ++decimals;
    }
    return toDisplay(std::max(decimals, 2));
}

QString Money::toDisplay(int decimals) const {
    decimals = qBound(0, decimals, kDecimals);
    quint64 drop = 1;  // 10^(4 - decimals)
    for (int k = decimals; k < kDecimals; ++k)
        drop *= 10;
    const quint64 keep = quint64(kScale) / drop;  // 10^decimals

    // Rounding the magnitude sends halves away from zero on both sides.
    const quint64 rounded = (magnitude(m_units) + drop / 2) / drop;
    QString out = groupThousands(rounded / keep);
    if (decimals > 0)
        out += u'.' + QString::number(rounded % keep).rightJustified(decimals, u'0');
    // Something that rounds to zero is shown without a sign.
    return (m_units < 0 && rounded != 0) ? u'-' + out : out;
}
