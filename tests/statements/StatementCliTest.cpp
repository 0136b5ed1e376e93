#include <gtest/gtest.h>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

// The monthly statements from the command line: the period's last month by default, another on
// request; the work tables stay filled and balance; wrong months are refused.
TEST(Cli, MonthlyStatementReports) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const auto run = [&](const QString& line) {
        return cli(QStringList{QStringLiteral("--db"), books} + line.split(u' '));
    };
    ASSERT_EQ(run(QStringLiteral("generate --set 51 --start 2024/01/01 --days 200 "
                                 "--lines-per-day 8 --seed 9"))
                  .status,
              0);
    const QString balanced = QStringLiteral(
        "SELECT (SELECT ZAN FROM T_TOTAL1 WHERE KOCODE = '113') = (SELECT ZAN FROM T_TOTAL1 WHERE "
        "KOCODE = '176')");
    const CliRun trial = run(QStringLiteral("report R_TS --set 51 --month 2024/06 --pdf ") +
                             dir.filePath(QStringLiteral("ts.pdf")));
    EXPECT_EQ(trial.status, 0) << trial.err.toStdString();
    EXPECT_TRUE(trial.out.startsWith(u"R_TS: 2 页")) << trial.out.toStdString();
    // Standard error carries the command's own messages only, even without a session folder.
    EXPECT_TRUE(trial.err.isEmpty()) << trial.err.toStdString();
    EXPECT_EQ(valueIn(books, balanced), QStringLiteral("1"));
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT PCODE6 FROM T_PRINTKOMOKU")),
              QStringLiteral("2024年6月度"));

    const CliRun income = run(QStringLiteral("report R_PS --set 51 --xlsx ") +
                              dir.filePath(QStringLiteral("ps.xlsx")));
    EXPECT_EQ(income.status, 0) << income.err.toStdString();
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("ps.xlsx"))).size(), 0);
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT PCODE6 FROM T_PRINTKOMOKU")),
              QStringLiteral("2024年12月度"));

    const struct {
        const char* arguments;
        int status;
        const char* message;
    } refusals[] = {
        {"R_TS --month 2024/13", 2, "2024/13"},
        {"R_PS --month 2026/01", 1, "没有符合条件的数据。"},
        {"R_TS --from 2024/01", 2, "--from"},
        {"R_KANJYOMOTOTYO --month 2024/01", 2, "--month"},
    };
    for (const auto& r : refusals) {
        const CliRun refused = run(
            QStringLiteral("report %1 --set 51 --pdf x.pdf").arg(QString::fromUtf8(r.arguments)));
        EXPECT_EQ(refused.status, r.status) << r.arguments;
        EXPECT_TRUE(refused.err.contains(QString::fromUtf8(r.message)))
            << r.arguments << ": " << refused.err.toStdString();
    }
}

}  // namespace
