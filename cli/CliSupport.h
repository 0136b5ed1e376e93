#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextStream>

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

// The arguments of one command: "--name value" options and bare "--flag"s; anything else is
// a bad argument.
class CommandOptions {
  public:
    CommandOptions(const QStringList& arguments, const QStringList& valued,
                   const QStringList& flags);

    QString required(const QString& name) const;
    bool has(const QString& name) const { return values_.contains(name); }

  private:
    QHash<QString, QString> values_;
};

// "yyyy/mm/dd" → date; anything else is a bad argument naming the option.
QDate parseDay(const QString& text, const QString& option);
// A whole number from min to max; anything else is a bad argument naming the option.
qint64 parseNumber(const QString& text, const QString& option, qint64 min, qint64 max);

// The commands; each returns the exit code or throws CliError.
int listSets(QTextStream& out);
int generateCommand(const QStringList& arguments, QTextStream& out);
int totalsCommand(const QStringList& arguments, QTextStream& out);
