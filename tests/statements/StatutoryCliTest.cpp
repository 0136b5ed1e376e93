#include <gtest/gtest.h>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

// The year-end statements from the command line: the whole period of the set to PDF or Excel,
// with the work tables left filled; ranges are refused.
TEST(Cli, StatutoryStatementReports) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const auto run = [&](const QString& line) {
        return cli(QStringList{QStringLiteral("--db"), books} + line.split(u' '));
    };
    ASSERT_EQ(run(QStringLiteral("generate --set 51 --start 2024/01/01 --days 90 "
                                 "--lines-per-day 5 --seed 9"))
                  .status,
              0);
    const CliRun sheet = run(QStringLiteral("report R_ZICHAN --set 51 --pdf ") +
                             dir.filePath(QStringLiteral("zichan.pdf")));
    EXPECT_EQ(sheet.status, 0) << sheet.err.toStdString();
    EXPECT_TRUE(sheet.out.startsWith(u"R_ZICHAN: 1 页")) << sheet.out.toStdString();
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT KIN44 = KIN88 AND KIN44 <> 0 FROM "
                                            "P_KESANSYO_E")),
              QStringLiteral("1"));
    const CliRun profit = run(QStringLiteral("report R_LIRUN --set 51 --xlsx ") +
                              dir.filePath(QStringLiteral("lirun.xlsx")));
    EXPECT_EQ(profit.status, 0) << profit.err.toStdString();
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("lirun.xlsx"))).size(), 0);
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT KIN65 = 0 AND KIN63 <> 0 FROM P_KESANSYO_E")),
              QStringLiteral("1"));
    for (const char* option : {"--from 2024/01", "--to 2024/03", "--first-account 101"}) {
        for (const char* layout : {"R_ZICHAN", "R_LIRUN"}) {
            const CliRun refused = run(QStringLiteral("report %1 --set 51 --pdf x.pdf %2")
                                           .arg(QLatin1String(layout), QLatin1String(option)));
            EXPECT_EQ(refused.status, 2) << layout << " " << option;
        }
    }
}

}  // namespace
