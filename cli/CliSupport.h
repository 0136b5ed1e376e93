#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

#include "common/Messages.h"

// A failure that ends the run: the message goes to stderr and status becomes the exit code.
struct CliError {
    QString message;
    int status = 1;
};

// Exit code of a command line that cannot be understood.
constexpr int kBadArguments = 2;

QString usageText();

// Ends the run with the message and the usage text, exit code kBadArguments.
[[noreturn]] void badArguments(const QString& message);

// Writes a message to stderr and returns status.
int reportFailure(const QString& message, int status);

// Shows every message box of the routines as text on stderr and takes the default answer, so
// that what a routine reports is visible. Installs itself for its lifetime.
class StderrMessages : public Messages {
  public:
    StderrMessages();
    ~StderrMessages() override;
    MsgAnswer show(const MessageRequest& request) override;
};

// The arguments of one command: "--name value" options and bare "--flag"s, each at most once;
// anything else is a bad argument.
class CommandOptions {
  public:
    CommandOptions(const QStringList& arguments, const QStringList& valued,
                   const QStringList& flags);

    QString required(const QString& name) const;
    bool has(const QString& name) const { return values_.contains(name); }

  private:
    QHash<QString, QString> values_;
};

// Parsers of option values; anything else is a bad argument naming the option. Only ASCII
// digits count, and years run from 1900 to 2999.
// "yyyy/mm/dd", a day that exists.
QDate parseDay(const QString& text, const QString& option);
// "yyyy/mm".
QString parseMonth(const QString& text, const QString& option);
// An account set code "01" to "99".
QString parseSetCode(const QString& text, const QString& option);
// A whole number from min to max.
qint64 parseNumber(const QString& text, const QString& option, qint64 min, qint64 max);

// A command whose arguments have been checked, to run on the open database inside one
// transaction; it writes its report to out and returns the exit code, or throws CliError.
using Command = std::function<int(QTextStream& out)>;

// Makes the set current as the main window's account-set switch does, inside the command's
// transaction; an unknown set is a CliError.
void makeCurrent(const QString& cid);

Command setsCommand(const QStringList& arguments);
Command generateCommand(const QStringList& arguments);
Command totalsCommand(const QStringList& arguments);
Command reportCommand(const QStringList& arguments);
Command yearEndCommand(const QStringList& arguments);
Command backupCommand(const QStringList& arguments);
Command restoreCommand(const QStringList& arguments);
Command exportCsvCommand(const QStringList& arguments);
Command importCsvCommand(const QStringList& arguments);
Command convertExportCommand(const QStringList& arguments);
Command convertImportCommand(const QStringList& arguments);
// Runs with the file open but outside any transaction: it closes and reopens the connection.
Command compactCommand(const QStringList& arguments);
