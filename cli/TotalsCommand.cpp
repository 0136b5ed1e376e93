#include <QElapsedTimer>

#include "CliSupport.h"
#include "common/Session.h"
#include "db/Database.h"
#include "totals/TotalsPass.h"

namespace {

qint64 rowsOfSet(const QString& table, const QString& cid) {
    return Database::global()
        .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE CID = ?").arg(table), {cid})
        .toLongLong();
}

}  // namespace

// totals --set CID --end yyyy/mm [--subsidiary]: the pass a ledger print runs before printing.
Command totalsCommand(const QStringList& arguments) {
    const CommandOptions options(arguments, {QStringLiteral("--set"), QStringLiteral("--end")},
                                 {QStringLiteral("--subsidiary")});
    const QString cid =
        parseSetCode(options.required(QStringLiteral("--set")), QStringLiteral("--set"));
    const QString end =
        parseMonth(options.required(QStringLiteral("--end")), QStringLiteral("--end"));
    const bool subsidiary = options.has(QStringLiteral("--subsidiary"));
    return [cid, end, subsidiary](QTextStream& out) {
        makeCurrent(cid);
        RecordSet company =
            Database::global().query(QStringLiteral("SELECT KISYU, KIMATU FROM WK_COMPANY"));
        const QString kisyu = company.text(QStringLiteral("KISYU")).trimmed();
        const QString kimatu = company.text(QStringLiteral("KIMATU")).trimmed();
        company.close();
        if (kisyu == u"2000/01/01") {
            throw CliError{QStringLiteral("账套的会计期间没有被正确设定。"), 1};
        }
        const QString start = kisyu.left(7);
        if (end < start || end > kimatu.left(7)) {
            throw CliError{QStringLiteral("--end 必须在会计期间 %1 到 %2 之内: %3")
                               .arg(start, kimatu.left(7), end),
                           kBadArguments};
        }
        // The ledger whose totals are wanted decides whether the subsidiary step runs.
        const QString caller = subsidiary ? QStringLiteral("prtSoukanjoHojoMotocho")
                                          : QStringLiteral("prtSoukanjoMotocho");
        QElapsedTimer timer;
        timer.start();
        if (!msum_tukisime(start, end, caller)) {
            throw CliError{QStringLiteral("月次总计失败: %1..%2").arg(start, end), 1};
        }
        const qint64 elapsed = timer.elapsed();
        out << QStringLiteral(
                   "totals set %1 %2..%3%4: T_TUKIKAN %5 rows, T_TUKIHOJO %6 rows, %7 ms\n")
                   .arg(cid, start, end, subsidiary ? QStringLiteral(" (subsidiary)") : QString())
                   .arg(rowsOfSet(QStringLiteral("T_TUKIKAN"), cid))
                   .arg(rowsOfSet(QStringLiteral("T_TUKIHOJO"), cid))
                   .arg(elapsed);
        return 0;
    };
}
