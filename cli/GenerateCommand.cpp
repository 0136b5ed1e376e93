#include <QElapsedTimer>

#include "CliSupport.h"
#include "db/Database.h"
#include "generator/BookGenerator.h"

// generate --set CID --start yyyy/mm/dd --days N --lines-per-day K --seed S
int generateCommand(const QStringList& arguments, QTextStream& out) {
    const CommandOptions options(
        arguments,
        {QStringLiteral("--set"), QStringLiteral("--start"), QStringLiteral("--days"),
         QStringLiteral("--lines-per-day"), QStringLiteral("--seed")},
        {});
    BookSpec book;
    book.cid = options.required(QStringLiteral("--set"));
    book.start = parseDay(options.required(QStringLiteral("--start")), QStringLiteral("--start"));
    book.days = static_cast<int>(
        parseNumber(options.required(QStringLiteral("--days")), QStringLiteral("--days"), 1, 366));
    book.linesPerDay =
        static_cast<int>(parseNumber(options.required(QStringLiteral("--lines-per-day")),
                                     QStringLiteral("--lines-per-day"), 1, 999));
    book.seed = static_cast<quint32>(parseNumber(options.required(QStringLiteral("--seed")),
                                                 QStringLiteral("--seed"), 0, 0xFFFFFFFFLL));
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!generateBook(book, &error)) {
        throw CliError{QStringLiteral("生成账簿失败: ") + error, 1};
    }
    const qint64 elapsed = timer.elapsed();
    const qint64 lines =
        Database::global()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = ?"), {book.cid})
            .toLongLong();
    out << QStringLiteral("generated set %1: %2 vouchers, %3 lines, %4 ms\n")
               .arg(book.cid)
               .arg(book.days)
               .arg(lines)
               .arg(elapsed);
    return 0;
}
