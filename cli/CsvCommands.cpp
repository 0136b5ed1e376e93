#include <QFileInfo>

#include "CliSupport.h"
#include "db/Database.h"
#include "maintenance/CsvExchange.h"

namespace {

struct CsvArguments {
    QString cid;
    QString month;
    QString folder;
};

CsvArguments csvArguments(const QStringList& arguments, const QString& folderOption) {
    const CommandOptions options(
        arguments, {QStringLiteral("--set"), QStringLiteral("--month"), folderOption}, {});
    return {parseSetCode(options.required(QStringLiteral("--set")), QStringLiteral("--set")),
            parseMonth(options.required(QStringLiteral("--month")), QStringLiteral("--month")),
            QFileInfo(options.required(folderOption)).absoluteFilePath()};
}

// The entry of the month in the set's month list, as the screens choose it.
template <typename Screen>
void chooseMonth(Screen& screen, const CsvArguments& args) {
    if (!screen.FormInit()) {
        throw CliError{QStringLiteral("不能读取账套 %1 的月份。").arg(args.cid), 1};
    }
    screen.selected = csvMonthIndex(screen.months, args.month);
    if (screen.selected < 0) {
        throw CliError{
            QStringLiteral("月份 %1 不在账套 %2 的会计期间内。").arg(args.month, args.cid),
            kBadArguments};
    }
}

}  // namespace

// export-csv --set CID --month yyyy/mm --to DIR: the month's not-yet-exported lines.
Command exportCsvCommand(const QStringList& arguments) {
    const CsvArguments args = csvArguments(arguments, QStringLiteral("--to"));
    return [args](QTextStream& out) {
        makeCurrent(args.cid);
        CsvExport csv;
        chooseMonth(csv, args);
        int lines = 0;
        if (!csv.exportTo(args.folder, &lines)) {
            throw CliError{QStringLiteral("导出失败，账套 %1 没有改变。").arg(args.cid), 1};
        }
        out << QStringLiteral("export-csv set %1 %2: %3 lines into %4\n")
                   .arg(args.cid, args.month)
                   .arg(lines)
                   .arg(args.folder);
        return 0;
    };
}

// import-csv --set CID --month yyyy/mm --from DIR: replaces the month's dated lines.
Command importCsvCommand(const QStringList& arguments) {
    const CsvArguments args = csvArguments(arguments, QStringLiteral("--from"));
    return [args](QTextStream& out) {
        makeCurrent(args.cid);
        CsvImport csv;
        chooseMonth(csv, args);
        int lines = 0;
        if (!csv.importFrom(args.folder, &lines)) {
            throw CliError{QStringLiteral("导入失败，账套 %1 没有改变。").arg(args.cid), 1};
        }
        out << QStringLiteral("import-csv set %1 %2: %3 lines from %4\n")
                   .arg(args.cid, args.month)
                   .arg(lines)
                   .arg(args.folder);
        return 0;
    };
}
