#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

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
        const int wait = random.bounded(static_cast<int>(span * 13 / 10) + 1);
        SCOPED_TRACE(wait);
        QProcess process;
        process.start(cliPath(), arguments);
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(wait));
        process.kill();
        process.waitForFinished();
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
