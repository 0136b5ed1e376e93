#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <memory>

#include <unistd.h>

#include "CliSupport.h"
#include "common/Clock.h"
#include "common/DataFolder.h"
#include "common/Session.h"
#include "db/DataSource.h"
#include "db/Database.h"
#include "db/DbError.h"

namespace {

struct CommandLine {
    QString dbFile;
    QString command;
    QStringList arguments;
};

// The global options may stand anywhere, each once; the first other word is the command.
CommandLine parseCommandLine(const QStringList& args) {
    CommandLine line;
    bool today = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const bool global = arg == u"--db" || arg == u"--today";
        if (global && i + 1 >= args.size()) {
            badArguments(QStringLiteral("缺少参数的值: ") + arg);
        }
        if (arg == u"--db") {
            if (!line.dbFile.isNull()) {
                badArguments(QStringLiteral("参数重复: ") + arg);
            }
            line.dbFile = args.at(++i);
        } else if (arg == u"--today") {
            if (today) {
                badArguments(QStringLiteral("参数重复: ") + arg);
            }
            today = true;
            Clock::setFixedToday(parseDay(args.at(++i), arg));
        } else if (line.command.isEmpty()) {
            line.command = arg;
        } else {
            line.arguments.append(arg);
        }
    }
    if (line.command.isEmpty() || (!line.dbFile.isNull() && line.dbFile.isEmpty())) {
        throw CliError{usageText(), kBadArguments};
    }
    // Without --db the books are the program's own, where the program keeps them.
    if (line.dbFile.isNull()) {
        line.dbFile =
            DataFolder::choose(QCoreApplication::applicationDirPath()) + DataSource::kFileName;
    }
    return line;
}

Command parseCommand(const CommandLine& line) {
    if (line.command == u"sets") {
        return setsCommand(line.arguments);
    }
    if (line.command == u"generate") {
        return generateCommand(line.arguments);
    }
    if (line.command == u"totals") {
        return totalsCommand(line.arguments);
    }
    if (line.command == u"report") {
        return reportCommand(line.arguments);
    }
    if (line.command == u"year-end") {
        return yearEndCommand(line.arguments);
    }
    if (line.command == u"backup") {
        return backupCommand(line.arguments);
    }
    if (line.command == u"restore") {
        return restoreCommand(line.arguments);
    }
    if (line.command == u"export-csv") {
        return exportCsvCommand(line.arguments);
    }
    if (line.command == u"import-csv") {
        return importCsvCommand(line.arguments);
    }
    if (line.command == u"convert-export") {
        return convertExportCommand(line.arguments);
    }
    if (line.command == u"convert-import") {
        return convertImportCommand(line.arguments);
    }
    if (line.command == u"compact") {
        return compactCommand(line.arguments);
    }
    badArguments(QStringLiteral("未知的命令: ") + line.command);
}

// Opens the file (created from the shipped database when missing) and runs the command in one
// transaction (compact outside one: it closes and reopens the connection): a command that fails
// changes nothing, and a file it created is removed again.
int runOnDatabase(const QString& dbFile, const Command& command, bool inTransaction,
                  QTextStream& out) {
    const QFileInfo file(dbFile);
    const QString path = file.absoluteFilePath();
    const bool existed = file.exists();
    session().AppFolder = file.absolutePath() + u'/';
    DataSource::setRegisteredPath(path);
    if (!DataSource::RegisterDataSource(true)) {
        throw CliError{QStringLiteral("不能创建数据库文件: ") + dbFile, 1};
    }
    QString report;
    try {
        DataSource::open();
        QTextStream buffered(&report);
        int status = 0;
        if (inTransaction) {
            TransactionGuard transaction;
            status = command(buffered);
            transaction.commit();
        } else {
            status = command(buffered);
        }
        DataSource::close();
        out << report;
        return status;
    } catch (...) {
        try {
            DataSource::close();
        } catch (const DbError&) {
            // The command's own failure is the one to report.
        }
        if (!existed) {
            QFile::remove(path);
        }
        throw;
    }
}

// Names the database file and the folder its Data/ and Temp/ live in; opens nothing.
int printWhere(const QString& dbFile, const QStringList& arguments, QTextStream& out) {
    if (!arguments.isEmpty()) {
        badArguments(QStringLiteral("where 没有参数: ") + arguments.join(u' '));
    }
    const QFileInfo file(dbFile);
    out << QStringLiteral("数据库: ") << file.absoluteFilePath() << u'\n'
        << QStringLiteral("数据文件夹: ") << file.absolutePath() << u'\n';
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Reports are painted with fonts, which need a GUI application but never a display.
    const bool painting = std::any_of(argv + 1, argv + argc,
                                      [](const char* arg) { return qstrcmp(arg, "report") == 0; });
    if (painting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Run from a script or a service there is no session folder; Qt would make one itself and
    // say so on standard error, where only the command's own messages belong.
    if (painting && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime =
            QDir::tempPath() + QStringLiteral("/ombrel-runtime-%1").arg(::getuid());
        if (QDir().mkpath(runtime) &&
            QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner)) {
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        }
    }
    const std::unique_ptr<QCoreApplication> application(
        painting ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication& app = *application;
    // The user's data folder is named after the program, shared with the desktop program.
    QCoreApplication::setApplicationName(QStringLiteral("Ombrel"));
    StderrMessages messages;
    QTextStream out(stdout);
    try {
        const CommandLine line = parseCommandLine(app.arguments().mid(1));
        if (line.command == u"where") {
            return printWhere(line.dbFile, line.arguments, out);
        }
        // Every argument is checked before the file is opened or created.
        const Command command = parseCommand(line);
        return runOnDatabase(line.dbFile, command, line.command != u"compact", out);
    } catch (const CliError& error) {
        return reportFailure(error.message, error.status);
    } catch (const DbError& error) {
        return reportFailure(QString::number(error.number()) + u' ' + error.description(), 1);
    }
}
