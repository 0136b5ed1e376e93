#pragma once

#include <QDate>
#include <QString>

// The one place the program asks for today's date, so tests can pin it.
class Clock {
  public:
    // Local date, unless a fixed date has been set.
    static QDate today();
    // today() as "yyyy/MM/dd".
    static QString todayText();
    // An invalid date has the same effect as clearFixedToday().
    static void setFixedToday(const QDate& d);
    static void clearFixedToday();
};
