#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/QtPrinters.h"

namespace {

TEST(Cli, SetsCreatesTheShippedDatabaseAndListsTheSets) {
    ASSERT_TRUE(QFileInfo(cliPath()).isExecutable()) << cliPath().toStdString();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("new/../Kaikei.mdb"));
    const CliRun first = cli({QStringLiteral("--db"), file, QStringLiteral("sets")});
    EXPECT_EQ(first.status, 0) << first.err.toStdString();
    const QStringList lines = first.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines.first(), QStringLiteral("01\t家计簿\t2000/01/01\t2000/12/31"));
    EXPECT_TRUE(lines.last().startsWith(u"13\t"));
    // A second run opens the same file.
    EXPECT_EQ(cli({QStringLiteral("--db"), file, QStringLiteral("sets")}).out, first.out);
}

TEST(Cli, FailuresExitNonZeroWithAMessage) {
    QTemporaryDir dir;
    const CliRun unknown = cli({QStringLiteral("--db"), dir.filePath(QStringLiteral("k.mdb")),
                                QStringLiteral("frobnicate")});
    EXPECT_NE(unknown.status, 0);
    EXPECT_TRUE(unknown.err.contains(u"frobnicate"));
    const CliRun noDb = cli({QStringLiteral("sets")});
    EXPECT_NE(noDb.status, 0);
    EXPECT_TRUE(noDb.err.contains(u"usage"));
    const CliRun unwritable =
        cli({QStringLiteral("--db"), dir.filePath(QStringLiteral("no/such/folder/k.mdb")),
             QStringLiteral("sets")});
    EXPECT_NE(unwritable.status, 0);
    EXPECT_FALSE(unwritable.err.isEmpty());
}

}  // namespace
