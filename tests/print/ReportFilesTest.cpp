#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

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
TEST(ReportFiles, PdfAndWorkbookReadBack) {
    QTemporaryDir dir;
    const QString books = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const QString pdf = dir.filePath(QStringLiteral("科目.pdf"));
    const QString xlsx = dir.filePath(QStringLiteral("科目.xlsx"));
    const QStringList report = {QStringLiteral("--db"),   books,
                                QStringLiteral("report"), QStringLiteral("R_KANJO_LISTH"),
                                QStringLiteral("--set"),  QStringLiteral("01")};
    const CliRun printed = cli(report + QStringList{QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(printed.status, 0) << printed.err.toStdString();
    const QString pages = printed.out.section(u' ', 1, 1);
    EXPECT_TRUE(printed.out.startsWith(u"R_KANJO_LISTH: ")) << printed.out.toStdString();
    EXPECT_GT(pages.toInt(), 1);
    // The work table stays filled for a later look.
    EXPECT_EQ(valueIn(books, QStringLiteral("SELECT COUNT(*) FROM WK_KANJO_PRINT")),
              printed.out.section(u' ', 3, 3));

    // pdftotext drops the narrow blanks between Chinese characters ("第1页/共6页").
    const QString text =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const QString& expected :
         {QStringLiteral("会计科目一览表"), QStringLiteral("编制单位：家计簿"),
          QStringLiteral("外币银行存款"), QStringLiteral("0.00"),
          QStringLiteral("第1页/共%1页").arg(pages)}) {
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    }
    EXPECT_TRUE(run(QStringLiteral("pdffonts"), {pdf}).contains(u"WenQuanYiMicroHei"));

    const CliRun exported = cli(report + QStringList{QStringLiteral("--xlsx"), xlsx});
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    const auto part = [&](const char* name) {
        return run(QStringLiteral("unzip"), {QStringLiteral("-p"), xlsx, QString::fromUtf8(name)});
    };
    const QString strings = part("xl/sharedStrings.xml");
    EXPECT_TRUE(strings.contains(u"<t>期初余额</t>"));
    EXPECT_TRUE(strings.contains(u"<t>现金</t>"));
    EXPECT_TRUE(part("xl/styles.xml").contains(u"formatCode=\"#,##0.00\""));
    // Amounts are number cells (no t="s"), codes are text.
    const QString sheet = part("xl/worksheets/sheet1.xml");
    EXPECT_TRUE(
        sheet.contains(QRegularExpression(QStringLiteral("<c r=\"E5\" s=\"\\d+\"><v>0</v>"))))
        << sheet.left(2000).toStdString();
}

}  // namespace
