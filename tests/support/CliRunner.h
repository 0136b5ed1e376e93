#pragma once

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs ombrel-cli: the path CTest gives in CLI, else the binary beside the test runner's folder.
inline QString cliPath() {
    const QString fromEnvironment = qEnvironmentVariable("CLI");
    return fromEnvironment.isEmpty()
               ? QCoreApplication::applicationDirPath() + QStringLiteral("/../ombrel-cli")
               : fromEnvironment;
}

struct CliRun {
    int status;
    QString out;
    QString err;
};

inline CliRun cli(const QStringList& arguments, const QProcessEnvironment& environment =
                                                    QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(cliPath(), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The tool on one database file, with the rest of the command line split at its spaces.
inline CliRun cliOn(const QString& books, const QString& line) {
    return cli(QStringList{QStringLiteral("--db"), books} + line.split(u' ', Qt::SkipEmptyParts));
}
