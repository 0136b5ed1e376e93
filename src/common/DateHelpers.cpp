#include "common/DateHelpers.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#include "common/Clock.h"

#include <QMetaType>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == QChar(0x3000);
}

QString twoDigits(qint64 n) {
    return QString::number(n).rightJustified(2, u'0');
}

int daysInMonth(int year, int month) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        case 2:
            return isLeapYear(year) ? 29 : 28;
        default:
            return 30;
    }
}

}  // namespace

QVariant nullToZero(const QVariant& v) {
    if (v.isNull() || !v.isValid())
        return QVariant(0);
    if (v.typeId() == QMetaType::QString && v.toString().isEmpty())
        return QVariant(0);
    return v;
}

QString splitAtBlank(const QString& text, QString& rest) {
    QString trimmed = text.trimmed();
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        if (isBlank(trimmed[i])) {
            rest = trimmed.mid(i + 1).trimmed();
            return trimmed.left(i);
        }
    }
    rest.clear();
    return trimmed;
}

QString monthNormalise(const QString& month) {
    const QString trimmed = month.trimmed();
    if (trimmed.isEmpty())
        return QString();
    const qint64 m = trimmed.toLongLong();  // 0 when not a number
    return twoDigits(qBound(qint64(1), m, qint64(12)));
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

QString dayNormalise(const QString& year, const QString& month, const QString& day) {
    const qint64 d = day.trimmed().toLongLong();
    if (d < 1)
        return twoDigits(1);
    const int last = daysInMonth(year.trimmed().toInt(), month.trimmed().toInt());
    return twoDigits(qMin(d, qint64(last)));
}

QString dateNormalise(const QString& text, int currentYear) {
    QString digits;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits += c;
    }
    if (digits.size() < 5)
        return QString();

    QString year;
    QString month;
    QString day;
    if (digits.size() <= 6) {
        const QString yy = digits.left(2);
        const QString century =
            yy.toInt() > 70 ? QStringLiteral("19") : twoDigits(currentYear / 100);
        year = century + yy;
        month = digits.mid(2, 2);
        day = digits.mid(4, 2);
    } else {
        year = digits.left(4);
        month = digits.mid(4, 2);
        day = digits.mid(6, 2);
    }
    month = monthNormalise(month);
    day = dayNormalise(year, month, day);
    return year + u'/' + month + u'/' + day;
}

QString dateNormalise(const QString& text) {
    return dateNormalise(text, Clock::today().year());
}

QString typedDateNormalise(const QString& text, int currentYear) {
    QString typed = text.trimmed();
    for (QChar& c : typed) {
        // Full-width digits and punctuation, as a Chinese input method types them.
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E) {
            c = QChar(c.unicode() - 0xFEE0);
        }
    }
    static const QRegularExpression separators(QStringLiteral("[/\\-.\\s年月日]+"));
    if (!typed.contains(separators)) {
        return dateNormalise(typed, currentYear);
    }
    const QStringList parts = typed.split(separators, Qt::SkipEmptyParts);
    static const QRegularExpression digitsOnly(QStringLiteral("^[0-9]{1,4}$"));
    if (parts.size() != 3 || !std::all_of(parts.begin(), parts.end(), [](const QString& part) {
            return digitsOnly.match(part).hasMatch();
        })) {
        return QString();
    }
    int year = parts.at(0).toInt();
    if (parts.at(0).size() <= 2) {
        year += year > 70 ? 1900 : currentYear / 100 * 100;
    } else if (parts.at(0).size() != 4) {
        return QString();
    }
    const QDate date(year, parts.at(1).toInt(), parts.at(2).toInt());
    if (!date.isValid() || parts.at(1).size() > 2 || parts.at(2).size() > 2) {
        return QString();
    }
    return date.toString(u"yyyy/MM/dd");
}

QString typedDateNormalise(const QString& text) {
    return typedDateNormalise(text, Clock::today().year());
}

QString formatMonth(const QDate& date) {
    return date.toString(u"yyyy/MM");
}

QString addMonths(const QString& yyyymm, int n) {
    const qsizetype slash = yyyymm.indexOf(u'/');
    if (slash < 0)
        return QString();
    bool yearOk = false;
    bool monthOk = false;
    const int year = yyyymm.left(slash).toInt(&yearOk);
    const int month = yyyymm.mid(slash + 1).toInt(&monthOk);
    if (!yearOk || !monthOk || month < 1 || month > 12)
        return QString();

    const qint64 total = qint64(year) * 12 + (month - 1) + n;
    // Floor division keeps the month right if a key ever goes below year 0.
    qint64 newYear = total / 12;
    qint64 newMonth = total % 12;
    if (newMonth < 0) {
        newMonth += 12;
        --newYear;
    }
    return QString::number(newYear).rightJustified(4, u'0') + u'/' + twoDigits(newMonth + 1);
}
