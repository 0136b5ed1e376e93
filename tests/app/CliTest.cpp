#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

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
    // A second run opens the same file; nothing but the file is left beside it.
    EXPECT_EQ(cli({QStringLiteral("--db"), file, QStringLiteral("sets")}).out, first.out);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Kaikei.mdb")});
}

// Without --db the tool works on the books the program uses: beside it in a build folder, or
// where OMBREL_DATA_DIR says. "where" names them without opening or creating anything.
TEST(Cli, WhereNamesTheBooksTheProgramUses) {
    QTemporaryDir dir;
    const QString own = dir.filePath(QStringLiteral("own"));
    QProcessEnvironment plain = QProcessEnvironment::systemEnvironment();
    plain.remove(QStringLiteral("OMBREL_DATA_DIR"));
    QProcessEnvironment overridden = plain;
    overridden.insert(QStringLiteral("OMBREL_DATA_DIR"), own);
    const QString buildFolder = QFileInfo(cliPath()).absolutePath();
    const QString given = dir.filePath(QStringLiteral("given/Kaikei.mdb"));
    const struct {
        QStringList arguments;
        const QProcessEnvironment& environment;
        QString folder;
    } cases[] = {
        {{QStringLiteral("where")}, plain, buildFolder},
        {{QStringLiteral("where")}, overridden, own},
        {{QStringLiteral("--db"), given, QStringLiteral("where")},
         overridden,
         dir.filePath(QStringLiteral("given"))},
    };
    for (const auto& c : cases) {
        const CliRun run = cli(c.arguments, c.environment);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, QStringLiteral("数据库: %1/Kaikei.mdb\n数据文件夹: %1\n").arg(c.folder));
    }
    EXPECT_FALSE(QFileInfo::exists(given));
    EXPECT_FALSE(QFileInfo::exists(own + QStringLiteral("/Kaikei.mdb")));
    EXPECT_EQ(cli({QStringLiteral("where"), QStringLiteral("extra")}, overridden).status, 2);

    const CliRun sets = cli({QStringLiteral("sets")}, overridden);
    EXPECT_EQ(sets.status, 0) << sets.err.toStdString();
    EXPECT_EQ(sets.out.count(u'\n'), 13);
    EXPECT_TRUE(QFileInfo(own + QStringLiteral("/Kaikei.mdb")).isFile());
}

// Every refusal exits non-zero with a message naming the problem, and leaves the books as they
// were: an existing file byte for byte, a missing one not created.
TEST(Cli, RefusalsChangeNothing) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    // Arguments after --db FILE, split at blanks; BOOKS stands for the books' path.
    const auto words = [&](const char* line) {
        QStringList arguments = QString::fromUtf8(line).split(u' ');
        arguments.replaceInStrings(QStringLiteral("BOOKS"), books);
        return arguments;
    };
    const char* generate51 =
        "generate --set 51 --start 2024/01/01 --days 20 --lines-per-day 5 --seed 7";
    const CliRun made = cli(QStringList{QStringLiteral("--db"), books} + words(generate51));
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    // Backups to restore from, in BOOKS.d: set 51's, set 52's, ten files of 51's, a broken one.
    const QString backups = books + QStringLiteral(".d/");
    for (const char* line :
         {"generate --set 52 --start 2024/01/01 --days 5 --lines-per-day 2 --seed 8",
          "backup --set 51 --to BOOKS.d/set51", "backup --set 51 --to BOOKS.d/ten",
          "backup --set 51 --to BOOKS.d/broken", "backup --set 52 --to BOOKS.d/set52"}) {
        const CliRun run = cli(QStringList{QStringLiteral("--db"), books} + words(line));
        ASSERT_EQ(run.status, 0) << line << ": " << run.err.toStdString();
    }
    for (int n = 11; n <= 23; ++n) {
        QFile::remove(backups + QStringLiteral("ten/T_%1.txt").arg(n, 3, 10, QLatin1Char('0')));
    }
    QFile broken(backups + QStringLiteral("broken/T_004.txt"));
    ASSERT_TRUE(broken.resize(broken.size() - 5));
    constexpr int bad = 2;
    constexpr int failed = 1;
    const struct {
        const char* arguments;
        int status;
        const char* message;
        bool onMissingFile;  // also refused when the file does not exist yet
    } cases[] = {
        {"frobnicate", bad, "frobnicate", true},
        {"sets extra", bad, "extra", true},
        {"--db BOOKS sets", bad, "参数重复: --db", true},
        {"--today 2024/02/30 sets", bad, "2024/02/30", true},
        {"--today 2024/03/01 --today 2024/03/02 sets", bad, "参数重复: --today", true},
        {"totals --set 5\uFF11 --end 2024/02", bad, "5\uFF11", true},
        {"totals --set 1 --end 2024/02", bad, "--set", true},
        {"totals --set 00 --end 2024/02", bad, "--set", true},
        {"totals --set 51 --end 2024/13", bad, "2024/13", true},
        {"totals --set 51 --end 2024/2", bad, "2024/2", true},
        {"totals --set 51 --end 1899/12", bad, "1899/12", true},
        {"totals --set 51 --end 2024/02 --set 52", bad, "参数重复: --set", true},
        {"totals --set 51 --end 2024/02 --fast", bad, "--fast", true},
        {"generate --set 51 --start 3000/01/01 --days 20 --lines-per-day 5 --seed 7", bad,
         "3000/01/01", true},
        {"generate --set 51 --start 2024-01-01 --days 20 --lines-per-day 5 --seed 7", bad,
         "2024-01-01", true},
        {"generate --set 51 --start 2024/01/01 --days many --lines-per-day 5 --seed 7", bad, "many",
         true},
        {"generate --set 51 --start 2024/01/01 --days 20 --lines-per-day 5", bad, "--seed", true},
        {"report", bad, "缺少报表名称", true},
        {"report R_NOPE --set 51 --pdf BOOKS.pdf", bad, "未知的报表: R_NOPE", true},
        {"report R_TEKIYO --set 51", bad, "--pdf", true},
        {"report R_TEKIYO --set 51 --pdf BOOKS.pdf --xlsx BOOKS.xlsx", bad, "--pdf", true},
        {"report R_TEKIYO --set 51 --from 2024/01/01 --pdf BOOKS.pdf", bad, "--from", true},
        // Refused on what the file holds; whatever the command did before is rolled back.
        {"totals --set 77 --end 2024/02", failed, "77", true},
        {"totals --set 03 --end 2000/02", failed, "账套的会计期间没有被正确设定。", true},
        {"totals --set 51 --end 2025/01", bad, "2025/01", false},
        {generate51, failed, "--replace", false},
        {"report R_TEKIYO --set 77 --pdf BOOKS.pdf", failed, "77", true},
        {"report R_TEKIYO --set 51 --xlsx BOOKS/none.xlsx", failed, "不能写入文件", false},
        {"backup --set 51", bad, "--to", true},
        {"restore --set 51 --to BOOKS.d/set51", bad, "--to", true},
        {"compact --set 51", bad, "--set", true},
        {"backup --set 77 --to BOOKS.d/new", failed, "77", true},
        {"backup --set 51 --to BOOKS", failed, "不是文件夹", false},
        {"restore --set 51 --from BOOKS.d/none", failed, "找不到文件夹", true},
        {"restore --set 51 --from BOOKS.d/ten", failed, "没找到符合条件的数据", false},
        {"restore --set 51 --from BOOKS.d/set52", failed, "不是现在使用中的", false},
        {"restore --set 51 --from BOOKS.d/broken", failed, "(write_data_to_table)", false},
    };
    const QString missing = dir.filePath(QStringLiteral("missing.mdb"));
    for (const auto& c : cases) {
        const QStringList arguments = words(c.arguments);
        const std::string label = c.arguments;
        const QByteArray before = bytesOf(books);
        const CliRun run = cli(QStringList{QStringLiteral("--db"), books} + arguments);
        EXPECT_EQ(run.status, c.status) << label << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message)))
            << label << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << label;
        EXPECT_TRUE(bytesOf(books) == before) << label;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
                  QStringList{QStringLiteral("Kaikei.mdb")})
            << label;
        EXPECT_EQ(QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden),
                  (QStringList{QStringLiteral("broken"), QStringLiteral("set51"),
                               QStringLiteral("set52"), QStringLiteral("ten")}))
            << label;
        if (c.onMissingFile) {
            const CliRun refused = cli(QStringList{QStringLiteral("--db"), missing} + arguments);
            EXPECT_EQ(refused.status, c.status) << label;
            EXPECT_FALSE(QFileInfo::exists(missing)) << label;
        }
    }

    // With --replace the set's book is written again.
    const CliRun replaced = cli(QStringList{QStringLiteral("--db"), books} + words(generate51) +
                                QStringList{QStringLiteral("--replace")});
    EXPECT_EQ(replaced.status, 0) << replaced.err.toStdString();
    EXPECT_TRUE(replaced.out.contains(u"100 lines")) << replaced.out.toStdString();
}

}  // namespace
