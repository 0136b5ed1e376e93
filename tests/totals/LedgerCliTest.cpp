#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

// The general ledger from the command line: the whole year by default, a range of months and
// accounts on request, the work table left filled; wrong ranges are refused.
TEST(Cli, GeneralLedgerReport) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const auto run = [&](const QString& line) {
        return cli(QStringList{QStringLiteral("--db"), books} + line.split(u' '));
    };
    ASSERT_EQ(run(QStringLiteral("generate --set 51 --start 2024/01/01 --days 60 "
                                 "--lines-per-day 5 --seed 4"))
                  .status,
              0);
    const CliRun year = run(QStringLiteral("report R_KANJYOMOTOTYO --set 51 --pdf ") +
                            dir.filePath(QStringLiteral("year.pdf")));
    EXPECT_EQ(year.status, 0) << year.err.toStdString();
    EXPECT_TRUE(year.out.startsWith(u"R_KANJYOMOTOTYO: ")) << year.out.toStdString();
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT MIN(SIDAY) || ' ' || MAX(SIDAY) FROM "
                                            "T_SKANMT_OUT")),
              QStringLiteral("00.01.01 24.02.29"));

    const CliRun cash = run(QStringLiteral("report R_KANJYOMOTOTYO --set 51 --from 2024/02 --to "
                                           "2024/02 --first-account 101 --last-account 101 "
                                           "--xlsx ") +
                            dir.filePath(QStringLiteral("cash.xlsx")));
    EXPECT_EQ(cash.status, 0) << cash.err.toStdString();
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT group_concat(DISTINCT KANKOCODE) || ' ' || "
                                            "MIN(SIDAY) || ' ' || MAX(SIDAY) FROM T_SKANMT_OUT")),
              QStringLiteral("004 00.01.01 24.02.29"));
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT PCODE6 || PCODE7 FROM T_PRINTKOMOKU")),
              QStringLiteral("2024年2月2024年2月"));

    const struct {
        const char* arguments;
        int status;
        const char* message;
    } refusals[] = {
        {"--from 2024/13", 2, "2024/13"},
        {"--first-account x", 2, "x"},
        {"--from 2024/03 --to 2024/02", 1, "指定的对象年月出现错误。"},
        {"--from 2025/01", 1, "指定的对象年月出现错误。"},
        {"--first-account 201 --last-account 101", 1, "科目的指定出现错误。"},
    };
    for (const auto& r : refusals) {
        const CliRun refused = run(QStringLiteral("report R_KANJYOMOTOTYO --set 51 --pdf x.pdf ") +
                                   QString::fromUtf8(r.arguments));
        EXPECT_EQ(refused.status, r.status) << r.arguments;
        EXPECT_TRUE(refused.err.contains(QString::fromUtf8(r.message)))
            << r.arguments << ": " << refused.err.toStdString();
    }
    const CliRun journal =
        run(QStringLiteral("report R_SIWAKE_NIKKI --set 51 --first-account 1 "
                           "--pdf x.pdf"));
    EXPECT_EQ(journal.status, 2);
}

}  // namespace
