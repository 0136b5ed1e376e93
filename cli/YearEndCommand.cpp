#include <QElapsedTimer>
#include <QRegularExpression>

#include "CliSupport.h"
#include "db/Database.h"
#include "maintenance/YearEndUpdate.h"

namespace {

// An exchange rate: a plain decimal number above 0 with at most 4 decimals.
double parseRate(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^[0-9]{1,5}(\\.[0-9]{1,4})?$"));
    const double rate = text.toDouble();
    if (!form.match(text).hasMatch() || rate <= 0.0) {
        badArguments(QStringLiteral("--rate 必须是大于 0 的数 (最多 4 位小数): ") + text);
    }
    return rate;
}

}  // namespace

// year-end --set CID [--rate R]: the carry forward of the year-end screen, without its questions.
Command yearEndCommand(const QStringList& arguments) {
    const CommandOptions options(arguments, {QStringLiteral("--set"), QStringLiteral("--rate")},
                                 {});
    const QString cid =
        parseSetCode(options.required(QStringLiteral("--set")), QStringLiteral("--set"));
    const double rate = options.has(QStringLiteral("--rate"))
                            ? parseRate(options.required(QStringLiteral("--rate")))
                            : 0.0;
    return [cid, rate](QTextStream& out) {
        makeCurrent(cid);
        const QString company =
            Database::global().scalar(QStringLiteral("SELECT COMPANY FROM WK_COMPANY")).toString();
        YearEndUpdate update(company);
        if (!update.Form_Load()) {
            throw CliError{QStringLiteral("不能读取账套 %1 的会计期间。").arg(cid), 1};
        }
        if (update.periodStart == u"2000/01/01") {
            throw CliError{QStringLiteral("账套的会计期间没有被正确设定。"), 1};
        }
        update.rate = rate;
        if (update.rateMissing()) {
            throw CliError{QStringLiteral("汇率未输入。 (--rate)"), kBadArguments};
        }
        const QString closed = update.periodStart + u'-' + update.periodEnd;
        QElapsedTimer timer;
        timer.start();
        if (!update.carryForward()) {
            throw CliError{QStringLiteral("年底结转失败，账套 %1 没有改变。").arg(cid), 1};
        }
        out << QStringLiteral("year-end set %1: %2 closed, now %3-%4, %5 ms\n")
                   .arg(cid, closed, update.periodStart, update.periodEnd)
                   .arg(timer.elapsed());
        return 0;
    };
}
