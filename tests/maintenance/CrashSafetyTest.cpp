#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

// Starts ombrel-cli with the arguments and kills it after a random wait of less than span ms.
void killAfterRandomWait(const QStringList& arguments, QRandomGenerator& random, int span) {
    QProcess child;
    child.start(cliPath(), arguments);
    ASSERT_TRUE(child.waitForStarted());
    QThread::msleep(static_cast<unsigned long>(random.bounded(span)));
    child.kill();
    child.waitForFinished();
}

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
        killAfterRandomWait(restore, random, whole + 20);

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

// What set 51 holds, in a few numbers that every step of the carry forward changes, and set 52.
QString digest(const QString& file) {
    return valueIn(
        file,
        QStringLiteral("SELECT (SELECT KISYU || ' ' || NENDOSU FROM T_COMP_MAIN WHERE CID = '51')"
                       " || ' ' || (SELECT COUNT(*) || '/' || TOTAL(KRKIN) FROM T_SI_MEISAI WHERE "
                       "CID = '51') || ' ' || (SELECT COUNT(*) FROM BT_SI_MEISAI WHERE CID = '51')"
                       " || ' ' || (SELECT TOTAL(KISYUZAN) || '/' || TOTAL(ABS(KISYUZAN)) FROM "
                       "T_KISYUZAN WHERE CID = '51') || ' ' || (SELECT COUNT(*) FROM T_DAY_TORAN "
                       "WHERE CID = '51') || ' ' || (SELECT COUNT(*) FROM P_KESANSYO WHERE CID = "
                       "'51') || ' ' || (SELECT COUNT(*) || '/' || TOTAL(KRKIN) FROM T_SI_MEISAI "
                       "WHERE CID = '52')"));
}

void putBack(const QString& kept, const QString& file) {
    for (const char* suffix : {"", "-wal", "-shm", ".lock"}) {
        QFile::remove(file + QLatin1String(suffix));
    }
    ASSERT_TRUE(QFile::copy(kept, file));
}

// year-end killed at 30 moments: each time the file is sound and the set is entirely as before
// or entirely as after.
TEST(Cli, YearEndKilledMidway) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const QString kept = dir.filePath(QStringLiteral("kept.mdb"));
    for (const char* set : {"52", "51"}) {
        ASSERT_EQ(
            cli({QStringLiteral("--db"), file, QStringLiteral("generate"), QStringLiteral("--set"),
                 QLatin1String(set), QStringLiteral("--start"), QStringLiteral("2024/01/01"),
                 QStringLiteral("--days"), QStringLiteral("366"), QStringLiteral("--lines-per-day"),
                 QStringLiteral("30"), QStringLiteral("--seed"), QStringLiteral("3")})
                .status,
            0);
    }
    ASSERT_TRUE(QFile::copy(file, kept));
    const QString before = digest(file);
    const QStringList arguments{QStringLiteral("--db"), file, QStringLiteral("year-end"),
                                QStringLiteral("--set"), QStringLiteral("51")};
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(cli(arguments).status, 0);
    const qint64 span = timer.elapsed();
    const QString after = digest(file);
    ASSERT_NE(after, before);

    QRandomGenerator random(20240101u);
    int sawBefore = 0;
    int sawAfter = 0;
    for (int round = 0; round < 30; ++round) {
        putBack(kept, file);
        SCOPED_TRACE(round);
        killAfterRandomWait(arguments, random, static_cast<int>(span * 13 / 10) + 1);
        EXPECT_EQ(valueIn(file, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        const QString now = digest(file);
        EXPECT_TRUE(now == before || now == after) << now.toStdString();
        sawBefore += now == before ? 1 : 0;
        sawAfter += now == after ? 1 : 0;
    }
    // Both outcomes were met: the kills fell before, inside and after the commit.
    EXPECT_GT(sawBefore, 0) << sawAfter;
    EXPECT_GT(sawAfter, 0) << sawBefore;
}

}  // namespace
