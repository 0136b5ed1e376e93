#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

// Back up, replace the book, restore, compact: the set comes back exactly as backed up, the
// other set is never touched.
TEST(BackupCli, BackupRestoreAndCompactionKeepTheSet) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const auto run = [&](const QString& line) {
        const CliRun result =
            cli(QStringList{QStringLiteral("--db"), books, QStringLiteral("--today"),
                            QStringLiteral("2024/05/20")} +
                QString(line).replace(QStringLiteral("%1"), dir.path()).split(u' '));
        EXPECT_EQ(result.status, 0) << line.toStdString() << ": " << result.err.toStdString();
        return result.out;
    };
    run(
        QStringLiteral("generate --set 51 --start 2024/01/01 --days 30 --lines-per-day 6 "
                       "--seed 3"));
    run(
        QStringLiteral("generate --set 52 --start 2024/01/01 --days 30 --lines-per-day 6 "
                       "--seed 3"));
    EXPECT_TRUE(run(QStringLiteral("backup --set 51 --to %1/first"))
                    .startsWith(u"backup set 51: 23 files in "));
    run(QStringLiteral("backup --set 52 --to %1/other"));
    run(
        QStringLiteral("generate --set 51 --start 2024/01/01 --days 12 --lines-per-day 3 "
                       "--seed 9 --replace"));
    run(QStringLiteral("backup --set 51 --to %1/changed"));
    ASSERT_NE(folderFiles(dir.filePath(QStringLiteral("changed"))),
              folderFiles(dir.filePath(QStringLiteral("first"))));

    EXPECT_TRUE(run(QStringLiteral("restore --set 51 --from %1/first"))
                    .startsWith(u"restored set 51 from "));
    EXPECT_TRUE(run(QStringLiteral("compact")).startsWith(u"compacted "));
    // An existing folder is written over file by file.
    run(QStringLiteral("backup --set 51 --to %1/changed"));
    run(QStringLiteral("backup --set 52 --to %1/other2"));
    EXPECT_EQ(folderFiles(dir.filePath(QStringLiteral("changed"))),
              folderFiles(dir.filePath(QStringLiteral("first"))));
    EXPECT_EQ(folderFiles(dir.filePath(QStringLiteral("other2"))),
              folderFiles(dir.filePath(QStringLiteral("other"))));
    EXPECT_EQ(valueIn(books, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Kaikei.mdb")});
}

}  // namespace
