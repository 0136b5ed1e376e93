#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include "CliSupport.h"
#include "common/Clock.h"
#include "common/Session.h"
#include "db/DataSource.h"
#include "db/DbError.h"

namespace {

struct CommandLine {
    QString dbFile;
    QString command;
    QStringList arguments;
};

// The global options may stand anywhere; the first other word is the command.
CommandLine parseCommandLine(const QStringList& args) {
    CommandLine line;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == u"--db" && i + 1 < args.size()) {
            line.dbFile = args.at(++i);
        } else if (arg == u"--today" && i + 1 < args.size()) {
            Clock::setFixedToday(parseDay(args.at(++i), arg));
        } else if (line.command.isEmpty()) {
            line.command = arg;
        } else {
            line.arguments.append(arg);
        }
    }
    if (line.dbFile.isEmpty() || line.command.isEmpty()) {
        throw CliError{usageText(), kBadArguments};
    }
    return line;
}

// Creates the shipped database when the file is missing, then opens it.
void openDatabase(const QString& dbFile) {
    const QFileInfo file(dbFile);
    session().AppFolder = file.absolutePath() + u'/';
    DataSource::setRegisteredPath(file.absoluteFilePath());
    if (!DataSource::RegisterDataSource(true)) {
        throw CliError{QStringLiteral("不能创建数据库文件: ") + dbFile, 1};
    }
    DataSource::open();
}

int runCommand(const CommandLine& line, QTextStream& out) {
    if (line.command == u"sets" && line.arguments.isEmpty()) {
        return listSets(out);
    }
    if (line.command == u"generate") {
        return generateCommand(line.arguments, out);
    }
    if (line.command == u"totals") {
        return totalsCommand(line.arguments, out);
    }
    badArguments(QStringLiteral("未知的命令: ") +
                 (QStringList{line.command} + line.arguments).join(u' '));
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    StderrMessages messages;
    QTextStream out(stdout);
    try {
        const CommandLine line = parseCommandLine(app.arguments().mid(1));
        openDatabase(line.dbFile);
        return runCommand(line, out);
    } catch (const CliError& error) {
        return reportFailure(error.message, error.status);
    } catch (const DbError& error) {
        return reportFailure(QString::number(error.number()) + u' ' + error.description(), 1);
    }
}
