#include "CliSupport.h"

#include "common/Session.h"
#include "db/Database.h"
#include "master/CurrentAccountSet.h"

#include <QRegularExpression>
#include <cstdio>

namespace {

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2999;

bool matches(const QString& pattern, const QString& text) {
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

void requireYear(int year, const QString& text, const QString& option) {
    if (year < kFirstYear || year > kLastYear) {
        badArguments(QStringLiteral("%1 的年份必须在 %2 到 %3 之间: %4")
                         .arg(option)
                         .arg(kFirstYear)
                         .arg(kLastYear)
                         .arg(text));
    }
}

}  // namespace

QString usageText() {
    return QStringLiteral(
        "usage: ombrel-cli [--db FILE] [--today yyyy/mm/dd] COMMAND\n"
        "  FILE: the database, by default Kaikei.mdb in the data folder that ombrel uses\n"
        "commands:\n"
        "  where   print the database file and the folder of its Data/ and Temp/\n"
        "  sets    list the account sets: CID, company, period start, period end\n"
        "  generate --set CID --start yyyy/mm/dd --days N --lines-per-day K --seed S [--replace]\n"
        "          write a generated book into the set (made from set 02 when missing);\n"
        "          a set that has vouchers is only replaced with --replace\n"
        "  totals --set CID --end yyyy/mm [--subsidiary]\n"
        "          run the monthly totals pass of the set through the month\n"
        "  report LAYOUT --set CID [--from yyyy/mm/dd --to yyyy/mm/dd] (--pdf FILE | --xlsx FILE)\n"
        "          fill the report's work tables as its screen does and write it to a file;\n"
        "          LAYOUT: R_KANJO_LISTH, R_SIWAKE, R_TEKIYO, R_SIWAKE_NIKKI (--from/--to: its "
        "days),\n"
        "          R_KANJYOMOTOTYO, R_HOJOMOTOTYO [--from yyyy/mm] [--to yyyy/mm]\n"
        "          [--first-account N] [--last-account N] (the general or subsidiary ledger of\n"
        "          those months and accounts),\n"
        "          R_TS, R_PS [--month yyyy/mm] (the trial balance or the income statement of\n"
        "          that month, else the period's last),\n"
        "          R_XQY01, R_XQY02 [--month yyyy/mm] (会小企01表 资产负债表 or 会小企02表 利润表\n"
        "          of that month, else the period's last)\n"
        "  year-end --set CID [--rate R]\n"
        "          close the set's fiscal year: keep it as the previous year, carry the closing\n"
        "          balances forward, delete its vouchers and open the next year; R is the next\n"
        "          year's opening exchange rate, required for a set kept in a foreign currency\n"
        "  backup --set CID --to DIR\n"
        "          write the set's 23 backup files into DIR (DIR is left as it was on failure)\n"
        "  restore --set CID --from DIR\n"
        "          replace the set with the backup in DIR (23 files, or the 11 of a year-end)\n"
        "  export-csv --set CID --month yyyy/mm --to DIR\n"
        "          write the month's not yet exported voucher lines and the set's row as\n"
        "          Data<CID>_<month>.CSV and Kaisha<CID>_<month>.CSV into DIR, and mark the lines\n"
        "  import-csv --set CID --month yyyy/mm --from DIR\n"
        "          replace the month's dated voucher lines with those two files from DIR; a\n"
        "          file with any bad line is refused whole\n"
        "  convert-export --set CID --to DIR\n"
        "          write the set for the Japanese edition (23 files, names as character\n"
        "          numbers) into DIR; DIR is left as it was on failure\n"
        "  convert-import --set CID --from DIR [--japanese]\n"
        "          replace the set with one the Japanese edition wrote, all or nothing; text in\n"
        "          Chinese characters, or in the Japanese ones with --japanese\n"
        "  compact\n"
        "          rewrite the database file without its free space\n");
}

void badArguments(const QString& message) {
    throw CliError{message + u'\n' + usageText(), kBadArguments};
}

int reportFailure(const QString& message, int status) {
    QTextStream(stderr) << message << '\n';
    return status;
}

StderrMessages::StderrMessages() {
    Messages::install(this);
}

StderrMessages::~StderrMessages() {
    Messages::install(nullptr);
}

MsgAnswer StderrMessages::show(const MessageRequest& request) {
    QString text = request.text;
    text.replace(Messages::kCrLf, QStringLiteral("\n"));
    QTextStream(stderr) << text << '\n';
    return request.defaultAnswer;
}

CommandOptions::CommandOptions(const QStringList& arguments, const QStringList& valued,
                               const QStringList& flags) {
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& name = arguments.at(i);
        if (!flags.contains(name) && !valued.contains(name)) {
            badArguments(QStringLiteral("不能识别的参数: ") + name);
        }
        if (values_.contains(name)) {
            badArguments(QStringLiteral("参数重复: ") + name);
        }
        if (flags.contains(name)) {
            values_.insert(name, QString());
        } else if (i + 1 < arguments.size()) {
            values_.insert(name, arguments.at(++i));
        } else {
            badArguments(QStringLiteral("缺少参数的值: ") + name);
        }
    }
}

QString CommandOptions::required(const QString& name) const {
    const auto found = values_.constFind(name);
    if (found == values_.constEnd() || found->isEmpty()) {
        badArguments(QStringLiteral("缺少参数: ") + name);
    }
    return *found;
}

QDate parseDay(const QString& text, const QString& option) {
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
    if (!matches(QStringLiteral("[0-9]{4}/[0-9]{2}/[0-9]{2}"), text) || !date.isValid()) {
        badArguments(option + QStringLiteral(" 需要 yyyy/mm/dd 格式的日期: ") + text);
    }
    requireYear(date.year(), text, option);
    return date;
}

QString parseMonth(const QString& text, const QString& option) {
    if (!matches(QStringLiteral("[0-9]{4}/(0[1-9]|1[0-2])"), text)) {
        badArguments(option + QStringLiteral(" 需要 yyyy/mm 格式的月份: ") + text);
    }
    requireYear(text.left(4).toInt(), text, option);
    return text;
}

QString parseSetCode(const QString& text, const QString& option) {
    if (!matches(QStringLiteral("[0-9]{2}"), text) || text == u"00") {
        badArguments(option + QStringLiteral(" 需要 01 到 99 的两位数字账套代码: ") + text);
    }
    return text;
}

qint64 parseNumber(const QString& text, const QString& option, qint64 min, qint64 max) {
    bool ok = matches(QStringLiteral("[0-9]{1,18}"), text);
    const qint64 n = ok ? text.toLongLong(&ok) : 0;
    if (!ok || n < min || n > max) {
        badArguments(QStringLiteral("%1 需要 %2 到 %3 之间的整数: %4")
                         .arg(option)
                         .arg(min)
                         .arg(max)
                         .arg(text));
    }
    return n;
}

void makeCurrent(const QString& cid) {
    Database& db = Database::global();
    if (!db.scalar(QStringLiteral("SELECT CID FROM T_COMP_MAIN WHERE CID = ?"), {cid}).isValid()) {
        throw CliError{QStringLiteral("找不到账套: ") + cid, 1};
    }
    session().CurrentCid = cid;
    bool ok = false;
    if (ResetCompanyData()) {
        change_kanjo_data(ok);
    }
    if (!ok) {
        throw CliError{QStringLiteral("不能切换到账套: ") + cid, 1};
    }
}
