#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "common/Money.h"
#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"
#include "support/QtPrinters.h"

namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The command-line report writes the same pages as the preview: a PDF whose text layer reads
// back in Chinese, and a workbook with numbers as numbers.
TEST(ReportFiles, JournalPdfAndWorkbookReadBack) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const QString pdf = dir.filePath(QStringLiteral("日记账.pdf"));
    const QString xlsx = dir.filePath(QStringLiteral("日记账.xlsx"));
    const QStringList db = {QStringLiteral("--db"), books};
    ASSERT_EQ(cli(db + QStringLiteral("generate --set 51 --start 2024/01/01 --days 9 "
                                      "--lines-per-day 12 --seed 4")
                           .split(u' '))
                  .status,
              0);
    const QStringList report =
        db + QStringLiteral("report R_SIWAKE_NIKKI --set 51 --from 2024/01/02 --to 2024/01/08")
                 .split(u' ');
    const CliRun printed = cli(report + QStringList{QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(printed.status, 0) << printed.err.toStdString();
    // "R_SIWAKE_NIKKI: 3 页, 84 行 -> FILE"; the work table stays filled for a later look.
    const QString pages = printed.out.section(u' ', 1, 1);
    EXPECT_GT(pages.toInt(), 1) << printed.out.toStdString();
    EXPECT_EQ(printed.out.section(u' ', 3, 3), QStringLiteral("84"));
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT COUNT(*) FROM T_SIALL_OUT")),
              QStringLiteral("84"));
    const Money total =
        Money::fromDb(valueIn(books, QStringLiteral("SELECT SUM(KRKIN) FROM T_SIALL_OUT")));

    // pdftotext drops the narrow blanks between Chinese characters ("第1页/共3页").
    const QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")})
                             .remove(QRegularExpression(QStringLiteral("\\s")));
    for (const QString& expected :
         {QStringLiteral("日记账"), QStringLiteral("2024/01/02～2024/01/08"),
          QStringLiteral("101现金"), QStringLiteral("过次页"), QStringLiteral("承前页"),
          QStringLiteral("合计") + total.toExactDisplay(),
          QStringLiteral("第1页/共%1页").arg(pages), QStringLiteral("第%1页/共%1页").arg(pages)}) {
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    }
    EXPECT_TRUE(run(QStringLiteral("pdffonts"), {pdf}).contains(u"WenQuanYiMicroHei"));

    const CliRun exported = cli(report + QStringList{QStringLiteral("--xlsx"), xlsx});
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    const auto part = [&](const char* name) {
        return run(QStringLiteral("unzip"), {QStringLiteral("-p"), xlsx, QString::fromUtf8(name)});
    };
    const QString strings = part("xl/sharedStrings.xml");
    EXPECT_TRUE(strings.contains(u"<t>借方金额</t>"));
    EXPECT_TRUE(strings.contains(u"<t>101 现金</t>"));
    EXPECT_TRUE(part("xl/styles.xml").contains(u"formatCode=\"#,##0.00\""));
    // Amounts are number cells (no t="s"); the last row holds the totals.
    const QString sheet = part("xl/worksheets/sheet1.xml");
    const QRegularExpressionMatch debit =
        QRegularExpression(QStringLiteral("<c r=\"F(\\d+)\" s=\"\\d+\"><v>([0-9.]+)</v>"))
            .match(sheet);
    EXPECT_TRUE(debit.hasMatch()) << sheet.left(3000).toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("><v>%1</v>").arg(total.toText())))
        << total.toText().toStdString();
}

}  // namespace
