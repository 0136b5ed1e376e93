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

// Every refusal exits non-zero with a message naming the problem, and leaves the books as they
// were: an existing file byte for byte, a missing one not created.
TEST(Cli, RefusalsChangeNothing) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const QStringList generate51 = {QStringLiteral("generate"),   QStringLiteral("--set"),
                                    QStringLiteral("51"),         QStringLiteral("--start"),
                                    QStringLiteral("2024/01/01"), QStringLiteral("--days"),
                                    QStringLiteral("20"),         QStringLiteral("--lines-per-day"),
                                    QStringLiteral("5"),          QStringLiteral("--seed"),
                                    QStringLiteral("7")};
    const CliRun made = cli(QStringList{QStringLiteral("--db"), books} + generate51);
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    const auto totals = [](const char* set, const char* end) {
        return QStringList{QStringLiteral("totals"), QStringLiteral("--set"),
                           QString::fromUtf8(set), QStringLiteral("--end"), QString::fromUtf8(end)};
    };
    const auto generateWith = [&](int at, const QString& value) {
        QStringList arguments = generate51;
        arguments[at] = value;
        return arguments;
    };
    constexpr int bad = 2;
    constexpr int failed = 1;
    const struct {
        QStringList arguments;  // after --db FILE
        int status;
        QString message;
        bool onMissingFile;  // also refused when the file does not exist yet
    } cases[] = {
        {{QStringLiteral("frobnicate")}, bad, QStringLiteral("frobnicate"), true},
        {{QStringLiteral("sets"), QStringLiteral("extra")}, bad, QStringLiteral("extra"), true},
        {{QStringLiteral("--db"), books, QStringLiteral("sets")},
         bad,
         QStringLiteral("参数重复: --db"),
         true},
        {{QStringLiteral("--today"), QStringLiteral("2024/02/30"), QStringLiteral("sets")},
         bad,
         QStringLiteral("2024/02/30"),
         true},
        {{QStringLiteral("--today"), QStringLiteral("2024/03/01"), QStringLiteral("--today"),
          QStringLiteral("2024/03/02"), QStringLiteral("sets")},
         bad,
         QStringLiteral("参数重复: --today"),
         true},
        {totals("5\uFF11", "2024/02"), bad, QStringLiteral("5\uFF11"), true},
        {totals("1", "2024/02"), bad, QStringLiteral("--set"), true},
        {totals("00", "2024/02"), bad, QStringLiteral("--set"), true},
        {totals("51", "2024/13"), bad, QStringLiteral("2024/13"), true},
        {totals("51", "2024/2"), bad, QStringLiteral("2024/2"), true},
        {totals("51", "1899/12"), bad, QStringLiteral("1899/12"), true},
        {totals("51", "2024/02") + QStringList{QStringLiteral("--set"), QStringLiteral("52")}, bad,
         QStringLiteral("参数重复: --set"), true},
        {totals("51", "2024/02") + QStringList{QStringLiteral("--fast")}, bad,
         QStringLiteral("--fast"), true},
        {generateWith(4, QStringLiteral("3000/01/01")), bad, QStringLiteral("3000/01/01"), true},
        {generateWith(4, QStringLiteral("2024-01-01")), bad, QStringLiteral("2024-01-01"), true},
        {generateWith(6, QStringLiteral("many")), bad, QStringLiteral("many"), true},
        {generate51.mid(0, 9), bad, QStringLiteral("--seed"), true},
        // Refused on what the file holds; whatever the command did before is rolled back.
        {totals("77", "2024/02"), failed, QStringLiteral("77"), true},
        {totals("03", "2000/02"), failed, QStringLiteral("账套的会计期间没有被正确设定。"), true},
        {totals("51", "2025/01"), bad, QStringLiteral("2025/01"), false},
        {generate51, failed, QStringLiteral("--replace"), false},
    };
    const QString missing = dir.filePath(QStringLiteral("missing.mdb"));
    for (const auto& c : cases) {
        const std::string label = c.arguments.join(u' ').toStdString();
        const QByteArray before = bytesOf(books);
        const CliRun run = cli(QStringList{QStringLiteral("--db"), books} + c.arguments);
        EXPECT_EQ(run.status, c.status) << label << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << label << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << label;
        EXPECT_TRUE(bytesOf(books) == before) << label;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
                  QStringList{QStringLiteral("Kaikei.mdb")})
            << label;
        if (c.onMissingFile) {
            const CliRun refused = cli(QStringList{QStringLiteral("--db"), missing} + c.arguments);
            EXPECT_EQ(refused.status, c.status) << label;
            EXPECT_FALSE(QFileInfo::exists(missing)) << label;
        }
    }

    // With --replace the set's book is written again.
    const CliRun replaced = cli(QStringList{QStringLiteral("--db"), books} + generate51 +
                                QStringList{QStringLiteral("--replace")});
    EXPECT_EQ(replaced.status, 0) << replaced.err.toStdString();
    EXPECT_TRUE(replaced.out.contains(u"100 lines")) << replaced.out.toStdString();
}

}  // namespace
