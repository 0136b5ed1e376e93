#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "print/PageBuilder.h"
#include "print/ReportJobs.h"
#include "statements/StatementBook.h"
#include "statements/StatutoryBalanceSheet.h"
#include "statements/StatutoryProfitStatement.h"

namespace {

// The page model of each statement over the small book, kept as text under
// tests/statements/golden; OMBREL_UPDATE_GOLDEN=1 rewrites the files after an intended change.
void expectGolden(const QString& layoutName) {
    const ReportJob job = loadReportJob(layoutName);
    const QString actual = buildPages(job.layout, job.data).toText();
    const QString path =
        QStringLiteral(OMBREL_TESTS_DIR "/statements/golden/%1.txt").arg(layoutName);
    QFile file(path);
    if (qEnvironmentVariableIntValue("OMBREL_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(actual.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n');
    const QStringList lines = actual.split(u'\n');
    for (int i = 0; i < std::max(expected.size(), lines.size()); ++i) {
        ASSERT_EQ(lines.value(i), expected.value(i))
            << layoutName.toStdString() << " line " << i + 1;
    }
}

// Both forms on one B4 page each: the header, every numbered line with its caption, the amounts
// of the book (the profit statement beside a saved previous year).
TEST_F(StatementBook, PageModels) {
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET COMPANY = '示例商贸有限公司' WHERE CID = '01'"));
    ASSERT_TRUE(ResetCompanyData());
    ASSERT_TRUE(StatutoryBalanceSheet().fill());
    expectGolden(StatutoryBalanceSheet::kLayout);
    exec(
        QStringLiteral("INSERT INTO P_KESANSYO (CID, KIN1, KIN5, KIN63, DATEYMD) VALUES ('01', "
                       "25000000, 24000000, -1234500, '2024/03/31')"));
    ASSERT_TRUE(StatutoryProfitStatement().fill());
    expectGolden(StatutoryProfitStatement::kLayout);
}

}  // namespace
