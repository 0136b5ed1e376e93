#include <QElapsedTimer>

#include "CliSupport.h"
#include "db/Database.h"
#include "generator/BookGenerator.h"

// generate --set CID --start yyyy/mm/dd --days N --lines-per-day K --seed S [--replace]
Command generateCommand(const QStringList& arguments) {
    const CommandOptions options(
        arguments,
        {QStringLiteral("--set"), QStringLiteral("--start"), QStringLiteral("--days"),
         QStringLiteral("--lines-per-day"), QStringLiteral("--seed")},
        {QStringLiteral("--replace")});
    BookSpec book;
    book.cid = parseSetCode(options.required(QStringLiteral("--set")), QStringLiteral("--set"));
    book.start = parseDay(options.required(QStringLiteral("--start")), QStringLiteral("--start"));
    book.days = static_cast<int>(
        parseNumber(options.required(QStringLiteral("--days")), QStringLiteral("--days"), 1, 366));
    book.linesPerDay =
        static_cast<int>(parseNumber(options.required(QStringLiteral("--lines-per-day")),
                                     QStringLiteral("--lines-per-day"), 1, 999));
    book.seed = static_cast<quint32>(parseNumber(options.required(QStringLiteral("--seed")),
                                                 QStringLiteral("--seed"), 0, 0xFFFFFFFFLL));
    const bool replace = options.has(QStringLiteral("--replace"));
    return [book, replace](QTextStream& out) {
        Database& db = Database::global();
        const qint64 vouchers =
            db.scalar(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = ?"), {book.cid})
                .toLongLong();
        if (vouchers > 0 && !replace) {
            throw CliError{QStringLiteral("账套 %1 已经有 %2 张凭证，不覆盖；要替换请加 --replace")
                               .arg(book.cid)
                               .arg(vouchers),
                           1};
        }
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!generateBook(book, &error)) {
            throw CliError{QStringLiteral("生成账簿失败: ") + error, 1};
        }
        const qint64 elapsed = timer.elapsed();
        const qint64 lines =
            db.scalar(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = ?"), {book.cid})
                .toLongLong();
        out << QStringLiteral("generated set %1: %2 vouchers, %3 lines, %4 ms\n")
                   .arg(book.cid)
                   .arg(book.days)
                   .arg(lines)
                   .arg(elapsed);
        return 0;
    };
}
