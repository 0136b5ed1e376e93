#include <gtest/gtest.h>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

void execIn(const QString& file, const QString& sql) {
    const QString name = QStringLiteral("form-lines-check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(sql)) << sql.toStdString();
    }
    QSqlDatabase::removeDatabase(name);
}

// Both forms from the command line on a file made before the form lines existed: the table
// arrives with its rows when the file is opened, the PDF holds the form, and a month outside the
// period is refused.
TEST(Cli, SmallBusinessForms) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const auto run = [&](const QString& line) {
        return cli(QStringList{QStringLiteral("--db"), books} + line.split(u' '));
    };
    ASSERT_EQ(run(QStringLiteral("generate --set 51 --start 2024/01/01 --days 90 "
                                 "--lines-per-day 5 --seed 4"))
                  .status,
              0);
    execIn(books, QStringLiteral("DROP TABLE MT_FORMLINE"));

    const QString pdf = dir.filePath(QStringLiteral("xqy01.pdf"));
    const CliRun sheet =
        run(QStringLiteral("report R_XQY01 --set 51 --month 2024/03 --pdf ") + pdf);
    ASSERT_EQ(sheet.status, 0) << sheet.err.toStdString();
    EXPECT_TRUE(sheet.out.startsWith(u"R_XQY01: 1 页")) << sheet.out.toStdString();
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT COUNT(*) FROM MT_FORMLINE")),
              QStringLiteral("85"));
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT PCODE6 FROM T_PRINTKOMOKU")),
              QStringLiteral("2024年3月31日"));
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT KIN30 = KIN53 AND KIN30 <> 0 FROM "
                                            "P_KESANSYO_E")),
              QStringLiteral("1"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished());
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* expected : {"资产负债表", "会小企01表", "2024年3月31日", "单位：元",
                                 "货币资金", "负债和所有者权益总计", "期末余额", "年初余额"}) {
        EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected;
    }

    const CliRun income = run(QStringLiteral("report R_XQY02 --set 51 --xlsx ") +
                              dir.filePath(QStringLiteral("xqy02.xlsx")));
    ASSERT_EQ(income.status, 0) << income.err.toStdString();
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT PCODE6 FROM T_PRINTKOMOKU")),
              QStringLiteral("2024年12月"));

    const CliRun refused = run(QStringLiteral("report R_XQY02 --set 51 --month 2025/01 --pdf ") +
                               dir.filePath(QStringLiteral("no.pdf")));
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("指定的对象年月出现错误。")))
        << refused.err.toStdString();
    EXPECT_EQ(run(QStringLiteral("report R_XQY01 --set 51 --from 2024/01 --pdf x.pdf")).status, 2);
}

}  // namespace
