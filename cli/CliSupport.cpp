#include "CliSupport.h"

#include <cstdio>

QString usageText() {
    return QStringLiteral(
        "usage: ombrel-cli --db FILE [--today yyyy/mm/dd] COMMAND\n"
        "commands:\n"
        "  sets    list the account sets: CID, company, period start, period end\n"
        "  generate --set CID --start yyyy/mm/dd --days N --lines-per-day K --seed S\n"
        "          write a generated book into the set (made from set 02 when missing)\n"
        "  totals --set CID --end yyyy/mm [--subsidiary]\n"
        "          run the monthly totals pass of the set through the month\n");
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
        if (flags.contains(name)) {
            values_.insert(name, QString());
        } else if (valued.contains(name) && i + 1 < arguments.size()) {
            values_.insert(name, arguments.at(++i));
        } else {
            badArguments(QStringLiteral("不能识别的参数: ") + name);
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
    if (!date.isValid()) {
        badArguments(option + QStringLiteral(" 需要 yyyy/mm/dd 格式的日期: ") + text);
    }
    return date;
}

qint64 parseNumber(const QString& text, const QString& option, qint64 min, qint64 max) {
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n < min || n > max) {
        badArguments(QStringLiteral("%1 需要 %2 到 %3 之间的整数: %4")
                         .arg(option)
                         .arg(min)
                         .arg(max)
                         .arg(text));
    }
    return n;
}
