#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

// A restore killed at any moment leaves a sound file holding the set entirely as it was or
// entirely restored.
TEST(RestoreCrash, KilledRestoreLeavesTheSetBeforeOrAfter) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const QStringList db{QStringLiteral("--db"), books, QStringLiteral("--today"),
                         QStringLiteral("2024/05/20")};
    const auto run = [&](const QString& line) {
        const CliRun result =
            cli(db + QString(line).replace(QStringLiteral("%1"), dir.path()).split(u' '));
        EXPECT_EQ(result.status, 0) << line.toStdString() << ": " << result.err.toStdString();
    };
    run(
        QStringLiteral("generate --set 51 --start 2024/01/01 --days 150 --lines-per-day 25 "
                       "--seed 5"));
    run(QStringLiteral("backup --set 51 --to %1/after"));
    run(
        QStringLiteral("generate --set 51 --start 2024/01/01 --days 150 --lines-per-day 20 "
                       "--seed 6 --replace"));
    run(QStringLiteral("backup --set 51 --to %1/before"));
    const QStringList before = folderFiles(dir.filePath(QStringLiteral("before")));
    const QStringList after = folderFiles(dir.filePath(QStringLiteral("after")));
    ASSERT_NE(before, after);

    const QStringList restore =
        db + QStringList{QStringLiteral("restore"), QStringLiteral("--set"), QStringLiteral("51"),
                         QStringLiteral("--from"), dir.filePath(QStringLiteral("after"))};
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(cli(restore).status, 0);
    const int whole = static_cast<int>(timer.elapsed());
    run(QStringLiteral("restore --set 51 --from %1/before"));

    QRandomGenerator random(20241206);
    int seenBefore = 0;
    int seenAfter = 0;
    for (int attempt = 0; attempt < 30; ++attempt) {
        SCOPED_TRACE(attempt);
        QProcess child;
        child.start(cliPath(), restore);
        ASSERT_TRUE(child.waitForStarted());
        QThread::msleep(random.bounded(whole + 20));
        child.kill();
        child.waitForFinished();

        EXPECT_EQ(valueIn(books, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        EXPECT_EQ(valueIn(books,
                          QStringLiteral("SELECT COUNT(*) FROM (SELECT YDAYZAN, LAG(DAYZAN) OVER "
                                         "(ORDER BY DENDAY, DENCODE) AS PREV FROM T_SIWAKE WHERE "
                                         "CID = '51') WHERE PREV IS NOT NULL AND PREV <> YDAYZAN")),
                  QStringLiteral("0"));
        const QString check = QStringLiteral("check") + QString::number(attempt);
        run(QStringLiteral("backup --set 51 --to %1/") + check);
        const QStringList now = folderFiles(dir.filePath(check));
        EXPECT_TRUE(now == before || now == after);
        if (now == after) {
            ++seenAfter;
            run(QStringLiteral("restore --set 51 --from %1/before"));
        } else {
            ++seenBefore;
        }
    }
    // Both outcomes occur, so the kills did land inside the restore.
    EXPECT_GT(seenBefore, 0);
    EXPECT_GT(seenAfter, 0);
}

}  // namespace
