#include "common/Clock.h"

#include <atomic>
#include <limits>

namespace {

// Julian day of the pinned date; atomic because worker threads may ask for today too.
constexpr qint64 kNotFixed = std::numeric_limits<qint64>::min();
std::atomic<qint64> fixedDay{kNotFixed};

}  // namespace

QDate Clock::today() {
    const qint64 day = fixedDay.load(std::memory_order_relaxed);
    return day == kNotFixed ? QDate::currentDate() : QDate::fromJulianDay(day);
}

QString Clock::todayText() {
    return today().toString(u"yyyy/MM/dd");
}

void Clock::setFixedToday(const QDate& d) {
    fixedDay.store(d.isValid() ? d.toJulianDay() : kNotFixed, std::memory_order_relaxed);
}

void Clock::clearFixedToday() {
    fixedDay.store(kNotFixed, std::memory_order_relaxed);
}
