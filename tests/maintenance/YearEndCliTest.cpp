#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

// year-end from the command line: all or nothing, with its exit status; a second set stays.
TEST(Cli, YearEnd) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const auto run = [&](const QString& line) {
        return cli(QStringList{QStringLiteral("--db"), books} + line.split(u' '));
    };
    for (const char* set : {"52", "51"}) {
        ASSERT_EQ(run(QStringLiteral("generate --set %1 --start 2024/01/01 --days 60 "
                                     "--lines-per-day 3 --seed 5")
                          .arg(QLatin1String(set)))
                      .status,
                  0);
    }
    const QString other =
        QStringLiteral("SELECT COUNT(*) || ' ' || SUM(KRKIN) FROM T_SI_MEISAI WHERE CID = '52'");
    const QString otherBefore = valueIn(books, other);
    const QString period = QStringLiteral(
        "SELECT KISYU || ' ' || KIMATU FROM T_COMP_MAIN WHERE "
        "CID = '51'");

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
        const CliRun result = run(QLatin1String(c.arguments));
        EXPECT_EQ(result.status, c.status) << result.err.toStdString();
        const QString& said = c.status == 0 ? result.out : result.err;
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.said))) << said.toStdString();
        EXPECT_EQ(valueIn(books, period), QLatin1String(c.periodAfter));
        EXPECT_EQ(valueIn(books, other), otherBefore);
    }
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '51'")),
              QStringLiteral("0"));
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT MIN(RATE) || ' ' || MAX(RATE) FROM "
                                            "T_KISYUZAN WHERE CID = '51'")),
              QStringLiteral("6.5 6.5"));
}

}  // namespace
