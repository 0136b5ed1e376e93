#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

// export-csv and import-csv: a month goes out and comes back; a bad request or a missing file
// is refused and leaves both sets as they were.
TEST(CsvCli, ExportAndImportAreAllOrNothing) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const auto run = [&](const QString& line, int status) {
        const CliRun result =
            cli(QStringList{QStringLiteral("--db"), books, QStringLiteral("--today"),
                            QStringLiteral("2024/05/20")} +
                QString(line).replace(QStringLiteral("%1"), dir.path()).split(u' '));
        EXPECT_EQ(result.status, status) << line.toStdString() << ": " << result.err.toStdString();
        return result.status == 0 ? result.out : result.err;
    };
    for (const char* set : {"51", "52"}) {
        run(QStringLiteral("generate --set %1 --start 2024/01/01 --days 40 --lines-per-day 4 "
                           "--seed 3")
                .arg(QLatin1String(set)),
            0);
    }
    const QString lines = QStringLiteral(
        "SELECT COUNT(*) || '/' || SUM(KRKIN) || '/' || "
        "SUM(KRBUKBN = '01') FROM T_SI_MEISAI WHERE CID = '%1'");
    const QString other = valueIn(books, lines.arg(QStringLiteral("52")));
    const QString before = valueIn(books, lines.arg(QStringLiteral("51")));
    EXPECT_TRUE(run(QStringLiteral("export-csv --set 51 --month 2024/01 --to %1/out"), 0)
                    .startsWith(u"export-csv set 51 2024/01: 124 lines into "));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("out/Data51_2024年1月.CSV"))));
    const QString exported = valueIn(books, lines.arg(QStringLiteral("51")));

    struct Case {
        const char* line;
        int status;
        const char* says;
    };
    const Case refused[] = {
        {"import-csv --set 51 --month 2024/13 --from %1/out", 2, "--month"},
        {"import-csv --set 51 --month 2025/01 --from %1/out", 2, "不在账套 51 的会计期间内"},
        {"import-csv --set 51 --month 2024/02 --from %1/out", 1, "没有找到符合条件的数据"},
        {"import-csv --set 52 --month 2024/01 --from %1/out", 1, "没有找到符合条件的数据"},
        {"export-csv --set 51 --month 2024/01 --to %1/again", 1, "备份的数据不存在。"},
        {"import-csv --set 51 --month 2024/01", 2, "--from"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.line);
        EXPECT_TRUE(run(QString::fromUtf8(c.line), c.status).contains(QString::fromUtf8(c.says)));
        EXPECT_EQ(valueIn(books, lines.arg(QStringLiteral("51"))), exported);
    }
    EXPECT_TRUE(run(QStringLiteral("import-csv --set 51 --month 2024/01 --from %1/out"), 0)
                    .startsWith(u"import-csv set 51 2024/01: 124 lines from "));
    // The imported lines are not yet exported from this copy.
    EXPECT_EQ(valueIn(books, lines.arg(QStringLiteral("51"))), before);
    EXPECT_EQ(valueIn(books, lines.arg(QStringLiteral("52"))), other);
}

}  // namespace
