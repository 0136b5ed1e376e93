#include <gtest/gtest.h>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "common/Money.h"
#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"
#include "support/QtPrinters.h"

namespace {

QString output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

void execIn(const QString& file, const QString& sql) {
    const QString name = QStringLiteral("report-cli-change");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(sql)) << sql.toStdString();
    }
    QSqlDatabase::removeDatabase(name);
}

// The reports from the command line on one generated quarter of a calendar year, in a file made
// before the form lines and versions existed (the table arrives with its rows when the file is
// opened): the period's last month by default, another month or range on request, the work tables
// left filled and balanced; wrong arguments refused with their status and what was wrong.
TEST(Cli, Reports) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const auto run = [&](const QString& line) { return cliOn(books, line); };
    ASSERT_EQ(run(QStringLiteral("generate --set 51 --start 2024/01/01 --days 90 "
                                 "--lines-per-day 5 --seed 4"))
                  .status,
              0);
    execIn(books, QStringLiteral("DROP TABLE MT_FORMLINE"));
    execIn(books, QStringLiteral("PRAGMA user_version = 0"));

    const struct {
        const char* arguments;  // after "report", the output file's name last
        const char* out;        // how standard output begins
        const char* check;      // a query of the file afterwards, and its answer
        const char* answer;
    } reports[] = {
        {"R_XQY01 --set 51 --month 2024/03 --pdf xqy01.pdf", "R_XQY01: 1 页",
         "SELECT (SELECT COUNT(*) FROM MT_FORMLINE) || ' ' || PCODE6 || ' ' || (SELECT KIN30 = "
         "KIN53 AND KIN30 <> 0 FROM P_KESANSYO_E) FROM T_PRINTKOMOKU",
         "85 2024年3月31日 1"},
        {"R_XQY02 --set 51 --xlsx xqy02.xlsx", "R_XQY02: ", "SELECT PCODE6 FROM T_PRINTKOMOKU",
         "2024年12月"},
        {"R_TS --set 51 --month 2024/03 --pdf ts.pdf", "R_TS: 2 页",
         "SELECT PCODE6 || ' ' || ((SELECT ZAN FROM T_TOTAL1 WHERE KOCODE = '113') = (SELECT ZAN "
         "FROM T_TOTAL1 WHERE KOCODE = '176')) FROM T_PRINTKOMOKU",
         "2024年3月度 1"},
        {"R_PS --set 51 --xlsx ps.xlsx", "R_PS: ", "SELECT PCODE6 FROM T_PRINTKOMOKU",
         "2024年12月度"},
        {"R_ZICHAN --set 51 --pdf zichan.pdf", "R_ZICHAN: 1 页",
         "SELECT KIN44 = KIN88 AND KIN44 <> 0 FROM P_KESANSYO_E", "1"},
        {"R_LIRUN --set 51 --xlsx lirun.xlsx",
         "R_LIRUN: ", "SELECT KIN65 = 0 AND KIN63 <> 0 FROM P_KESANSYO_E", "1"},
        {"R_KANJYOMOTOTYO --set 51 --pdf year.pdf", "R_KANJYOMOTOTYO: ",
         "SELECT MIN(SIDAY) || ' ' || MAX(SIDAY) FROM T_SKANMT_OUT", "00.01.01 24.03.30"},
        {"R_KANJYOMOTOTYO --set 51 --from 2024/02 --to 2024/02 --first-account 101 "
         "--last-account 101 --xlsx cash.xlsx",
         "R_KANJYOMOTOTYO: ",
         "SELECT group_concat(DISTINCT KANKOCODE) || ' ' || MIN(SIDAY) || ' ' || MAX(SIDAY) || ' "
         "' || (SELECT PCODE6 || PCODE7 FROM T_PRINTKOMOKU) FROM T_SKANMT_OUT",
         "004 00.01.01 24.02.29 2024年2月2024年2月"},
    };
    for (const auto& r : reports) {
        SCOPED_TRACE(r.arguments);
        const QString arguments = QString::fromUtf8(r.arguments);
        const QString file = dir.filePath(arguments.section(u' ', -1));
        const CliRun done =
            run(QStringLiteral("report ") + arguments.section(u' ', 0, -2) + u' ' + file);
        ASSERT_EQ(done.status, 0) << done.err.toStdString();
        EXPECT_TRUE(done.out.startsWith(QString::fromUtf8(r.out))) << done.out.toStdString();
        // Standard error carries the command's own messages only, even without a session folder.
        EXPECT_TRUE(done.err.isEmpty()) << done.err.toStdString();
        EXPECT_GT(QFileInfo(file).size(), 0);
        EXPECT_EQ(valueIn(books, QString::fromUtf8(r.check)), QString::fromUtf8(r.answer));
    }

    const QString page = output(QStringLiteral("pdftotext"),
                                {QStringLiteral("-layout"),
                                 dir.filePath(QStringLiteral("xqy01.pdf")), QStringLiteral("-")});
    for (const char* expected : {"资产负债表", "会小企01表", "2024年3月31日", "单位：元",
                                 "货币资金", "负债和所有者权益总计", "期末余额", "年初余额"}) {
        EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected;
    }

    // The journal writes the same pages as the preview: a PDF whose text layer reads back in
    // Chinese, and a workbook with numbers as numbers.
    const QString pdf = dir.filePath(QStringLiteral("日记账.pdf"));
    const QString xlsx = dir.filePath(QStringLiteral("日记账.xlsx"));
    const QString journal =
        QStringLiteral("report R_SIWAKE_NIKKI --set 51 --from 2024/01/02 --to 2024/01/31 ");
    const CliRun printed = run(journal + QStringLiteral("--pdf ") + pdf);
    ASSERT_EQ(printed.status, 0) << printed.err.toStdString();
    // "R_SIWAKE_NIKKI: 5 页, 150 行 -> FILE"; the work table stays filled for a later look.
    const QString pages = printed.out.section(u' ', 1, 1);
    EXPECT_GT(pages.toInt(), 1) << printed.out.toStdString();
    EXPECT_EQ(printed.out.section(u' ', 3, 3), QStringLiteral("150"));
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT COUNT(*) FROM T_SIALL_OUT")),
              QStringLiteral("150"));
    const Money total =
        Money::fromDb(valueIn(books, QStringLiteral("SELECT SUM(KRKIN) FROM T_SIALL_OUT")));
    // pdftotext drops the narrow blanks between Chinese characters ("第1页/共3页").
    const QString text = output(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")})
                             .remove(QRegularExpression(QStringLiteral("\\s")));
    for (const QString& expected :
         {QStringLiteral("日记账"), QStringLiteral("2024/01/02～2024/01/31"),
          QStringLiteral("101现金"), QStringLiteral("过次页"), QStringLiteral("承前页"),
          QStringLiteral("合计") + total.toExactDisplay(),
          QStringLiteral("第1页/共%1页").arg(pages), QStringLiteral("第%1页/共%1页").arg(pages)}) {
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    }
    EXPECT_TRUE(output(QStringLiteral("pdffonts"), {pdf}).contains(u"WenQuanYiMicroHei"));
    ASSERT_EQ(run(journal + QStringLiteral("--xlsx ") + xlsx).status, 0);
    const auto part = [&](const char* name) {
        return output(QStringLiteral("unzip"),
                      {QStringLiteral("-p"), xlsx, QString::fromUtf8(name)});
    };
    const QString strings = part("xl/sharedStrings.xml");
    EXPECT_TRUE(strings.contains(u"<t>借方金额</t>"));
    EXPECT_TRUE(strings.contains(u"<t>101 现金</t>"));
    EXPECT_TRUE(part("xl/styles.xml").contains(u"formatCode=\"#,##0.00\""));
    // Amounts are number cells (no t="s"); the last row holds the totals.
    const QString sheet = part("xl/worksheets/sheet1.xml");
    EXPECT_TRUE(QRegularExpression(QStringLiteral("<c r=\"F(\\d+)\" s=\"\\d+\"><v>([0-9.]+)</v>"))
                    .match(sheet)
                    .hasMatch())
        << sheet.left(3000).toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("><v>%1</v>").arg(total.toText())))
        << total.toText().toStdString();

    const struct {
        const char* arguments;
        int status;
        const char* message;  // part of standard error
    } refusals[] = {
        {"R_TS --month 2024/13", 2, "2024/13"},
        {"R_PS --month 2026/01", 1, "没有符合条件的数据。"},
        {"R_TS --from 2024/01", 2, "--from"},
        {"R_XQY02 --month 2025/01", 1, "指定的对象年月出现错误。"},
        {"R_XQY01 --from 2024/01", 2, ""},
        {"R_ZICHAN --from 2024/01", 2, ""},
        {"R_ZICHAN --to 2024/03", 2, ""},
        {"R_ZICHAN --first-account 101", 2, ""},
        {"R_LIRUN --from 2024/01", 2, ""},
        {"R_LIRUN --to 2024/03", 2, ""},
        {"R_LIRUN --first-account 101", 2, ""},
        {"R_KANJYOMOTOTYO --month 2024/01", 2, "--month"},
        {"R_KANJYOMOTOTYO --from 2024/13", 2, "2024/13"},
        {"R_KANJYOMOTOTYO --first-account x", 2, "x"},
        {"R_KANJYOMOTOTYO --from 2024/03 --to 2024/02", 1, "指定的对象年月出现错误。"},
        {"R_KANJYOMOTOTYO --from 2025/01", 1, "指定的对象年月出现错误。"},
        {"R_KANJYOMOTOTYO --first-account 201 --last-account 101", 1, "科目的指定出现错误。"},
        {"R_HOJOMOTOTYO --from 2024/03/01", 2, ""},
        {"R_HOJOMOTOTYO --first-account 12x", 2, ""},
        {"R_SIWAKE_NIKKI --first-account 1", 2, ""},
        {"R_TEKIYO --first-account 1", 2, ""},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.arguments);
        const CliRun refused =
            run(QStringLiteral("report %1 --set 51 --pdf ").arg(QString::fromUtf8(r.arguments)) +
                dir.filePath(QStringLiteral("no.pdf")));
        EXPECT_EQ(refused.status, r.status);
        EXPECT_TRUE(refused.err.contains(QString::fromUtf8(r.message)))
            << refused.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("no.pdf"))));
}

}  // namespace
