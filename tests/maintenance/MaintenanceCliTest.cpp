#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

// The maintenance commands on one file holding two generated books of the same shape (sets 51
// and 52), one after the other as a user would run them; set 52 is never touched.
class MaintenanceCli : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* set : {"51", "52"}) {
            run(QStringLiteral("generate --set %2 --start 2024/01/01 --days 30 --lines-per-day 6 "
                               "--seed 3")
                    .arg(QLatin1String(set)));
        }
        run(QStringLiteral("backup --set 52 --to %1/other"));
    }

    // Runs a command line ("%1" is the folder) and checks its exit status.
    CliRun run(const QString& line, int status = 0) {
        const CliRun result =
            cli(QStringList{QStringLiteral("--db"), books, QStringLiteral("--today"),
                            QStringLiteral("2024/05/20")} +
                QString(line).replace(QStringLiteral("%1"), dir.path()).split(u' '));
        EXPECT_EQ(result.status, status) << line.toStdString() << ": " << result.err.toStdString();
        return result;
    }
    QStringList files(const char* name) { return folderFiles(dir.filePath(QLatin1String(name))); }
    void expectOtherSetUnchanged() {
        run(QStringLiteral("backup --set 52 --to %1/other2"));
        EXPECT_EQ(files("other2"), files("other"));
    }

    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
};

// Back up, replace the book, restore, compact: the set comes back exactly as backed up.
TEST_F(MaintenanceCli, BackupRestoreAndCompactionKeepTheSet) {
    EXPECT_TRUE(run(QStringLiteral("backup --set 51 --to %1/first"))
                    .out.startsWith(u"backup set 51: 23 files in "));
    run(
        QStringLiteral("generate --set 51 --start 2024/01/01 --days 12 --lines-per-day 3 "
                       "--seed 9 --replace"));
    run(QStringLiteral("backup --set 51 --to %1/changed"));
    ASSERT_NE(files("changed"), files("first"));

    EXPECT_TRUE(run(QStringLiteral("restore --set 51 --from %1/first"))
                    .out.startsWith(u"restored set 51 from "));
    EXPECT_TRUE(run(QStringLiteral("compact")).out.startsWith(u"compacted "));
    // An existing folder is written over file by file.
    run(QStringLiteral("backup --set 51 --to %1/changed"));
    EXPECT_EQ(files("changed"), files("first"));
    expectOtherSetUnchanged();
    EXPECT_EQ(valueIn(books, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Kaikei.mdb")});
}

// Export for the other edition and import the files back: set 51 comes back; a broken folder
// changes nothing and a failed export leaves its folder as it was.
TEST_F(MaintenanceCli, ConverterExportAndImportAllOrNothing) {
    run(QStringLiteral("backup --set 51 --to %1/before"));
    EXPECT_TRUE(run(QStringLiteral("convert-export --set 51 --to %1/out"))
                    .out.startsWith(u"converter set 51: 23 files in "));

    // A broken description: nothing imported.
    for (const QString& name : QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files)) {
        writeAll(dir.filePath(QStringLiteral("broken/") + name),
                 bytesOf(dir.filePath(QStringLiteral("out/") + name)));
    }
    QFile tekiyo(dir.filePath(QStringLiteral("broken/T_010.txt")));
    ASSERT_TRUE(tekiyo.open(QIODevice::Append));
    tekiyo.write("\"51\",\"1\",\"12x4\"\r\n");
    tekiyo.close();
    run(QStringLiteral("convert-import --set 51 --from %1/broken"), 1);
    run(QStringLiteral("backup --set 51 --to %1/afterBroken"));
    EXPECT_EQ(files("afterBroken"), files("before"));

    EXPECT_TRUE(run(QStringLiteral("convert-import --set 51 --from %1/out"))
                    .out.startsWith(u"imported set 51 from "));
    run(QStringLiteral("backup --set 51 --to %1/after"));
    expectOtherSetUnchanged();
    // Only the month-closing file differs: an import reopens every month.
    const auto withoutClosing = [&](const char* name) {
        QStringList all = files(name);
        all.removeIf([](const QString& file) { return file.startsWith(u"T_011.txt\n"); });
        return all;
    };
    EXPECT_EQ(withoutClosing("after").size(), 22);
    EXPECT_EQ(withoutClosing("after"), withoutClosing("before"));

    // A target that cannot be written: the command fails and the folder stays as it was.
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    QFile(blocked).open(QIODevice::WriteOnly);
    run(QStringLiteral("convert-export --set 51 --to %1/blocked"), 1);
    EXPECT_TRUE(QFileInfo(blocked).isFile());
    run(QStringLiteral("convert-import --set 51 --from %1/missing"), 1);
}

// year-end: all or nothing, with its exit status.
TEST_F(MaintenanceCli, YearEnd) {
    const QString period =
        QStringLiteral("SELECT KISYU || ' ' || KIMATU FROM T_COMP_MAIN WHERE CID = '51'");
    const struct {
        const char* arguments;
        const char* prepare;  // a statement run on the file first
        int status;
        const char* said;  // start of stdout (success) or stderr
        const char* periodAfter;
    } cases[] = {
        {"year-end", "", 2, "缺少参数", "2024/01/01 2024/12/31"},
        {"year-end --set 51 --rate abc", "", 2, "--rate", "2024/01/01 2024/12/31"},
        {"year-end --set 77", "", 1, "", "2024/01/01 2024/12/31"},
        {"year-end --set 51", "UPDATE T_COMP_MAIN SET KANCNG = '1' WHERE CID = '51'", 2,
         "汇率未输入。", "2024/01/01 2024/12/31"},
        {"year-end --set 51 --rate 6.5",
         "CREATE TRIGGER fail BEFORE DELETE ON T_SI_MEISAI BEGIN SELECT RAISE(ABORT, 'full'); END",
         1, "", "2024/01/01 2024/12/31"},
        {"year-end --set 51 --rate 6.5", "DROP TRIGGER fail", 0,
         "year-end set 51: 2024/01/01-2024/12/31 closed, now 2025/01/01-2025/12/31",
         "2025/01/01 2025/12/31"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        if (*c.prepare != 0) {
            ASSERT_EQ(valueIn(books, QString::fromUtf8(c.prepare)), QString());
        }
        const CliRun result = run(QLatin1String(c.arguments), c.status);
        const QString& said = c.status == 0 ? result.out : result.err;
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.said))) << said.toStdString();
        EXPECT_EQ(valueIn(books, period), QLatin1String(c.periodAfter));
    }
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '51'")),
              QStringLiteral("0"));
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT MIN(RATE) || ' ' || MAX(RATE) FROM "
                                            "T_KISYUZAN WHERE CID = '51'")),
              QStringLiteral("6.5 6.5"));
    expectOtherSetUnchanged();
}

}  // namespace
