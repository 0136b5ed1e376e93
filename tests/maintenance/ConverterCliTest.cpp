#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

// Export for the other edition and import the files back: set 51 comes back, set 52 (the same
// book) is never touched; a broken folder changes nothing and a failed export leaves its folder
// as it was.
TEST(ConverterCli, ExportAndImportAllOrNothing) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const auto run = [&](const QString& line, int status = 0) {
        const CliRun result =
            cli(QStringList{QStringLiteral("--db"), books, QStringLiteral("--today"),
                            QStringLiteral("2024/05/20")} +
                QString(line).replace(QStringLiteral("%1"), dir.path()).split(u' '));
        EXPECT_EQ(result.status, status) << line.toStdString() << ": " << result.err.toStdString();
        return result.out;
    };
    for (const char* set : {"51", "52"}) {
        run(QStringLiteral("generate --set %2 --start 2024/01/01 --days 20 --lines-per-day 5 "
                           "--seed 3")
                .arg(QLatin1String(set)));
    }
    run(QStringLiteral("backup --set 51 --to %1/before"));
    run(QStringLiteral("backup --set 52 --to %1/other"));
    EXPECT_TRUE(run(QStringLiteral("convert-export --set 51 --to %1/out"))
                    .startsWith(u"converter set 51: 23 files in "));

    // A broken description: nothing imported.
    QDir(dir.path()).mkpath(QStringLiteral("broken"));
    for (const QString& name : QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files)) {
        QFile::copy(dir.filePath(QStringLiteral("out/") + name),
                    dir.filePath(QStringLiteral("broken/") + name));
    }
    QFile tekiyo(dir.filePath(QStringLiteral("broken/T_010.txt")));
    ASSERT_TRUE(tekiyo.open(QIODevice::Append));
    tekiyo.write("\"51\",\"1\",\"12x4\"\r\n");
    tekiyo.close();
    run(QStringLiteral("convert-import --set 51 --from %1/broken"), 1);
    run(QStringLiteral("backup --set 51 --to %1/afterBroken"));
    EXPECT_EQ(folderFiles(dir.filePath(QStringLiteral("afterBroken"))),
              folderFiles(dir.filePath(QStringLiteral("before"))));

    EXPECT_TRUE(run(QStringLiteral("convert-import --set 51 --from %1/out"))
                    .startsWith(u"imported set 51 from "));
    run(QStringLiteral("backup --set 51 --to %1/after"));
    run(QStringLiteral("backup --set 52 --to %1/other2"));
    // Only the month-closing file differs: an import reopens every month.
    const auto withoutClosing = [&](const char* name) {
        QStringList files = folderFiles(dir.filePath(QLatin1String(name)));
        files.removeIf([](const QString& file) { return file.startsWith(u"T_011.txt\n"); });
        return files;
    };
    EXPECT_EQ(withoutClosing("after").size(), 22);
    EXPECT_EQ(withoutClosing("after"), withoutClosing("before"));
    EXPECT_EQ(folderFiles(dir.filePath(QStringLiteral("other2"))),
              folderFiles(dir.filePath(QStringLiteral("other"))));

    // A target that cannot be written: the command fails and the folder stays as it was.
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    QFile(blocked).open(QIODevice::WriteOnly);
    run(QStringLiteral("convert-export --set 51 --to %1/blocked"), 1);
    EXPECT_TRUE(QFileInfo(blocked).isFile());
    run(QStringLiteral("convert-import --set 51 --from %1/missing"), 1);
}

}  // namespace
