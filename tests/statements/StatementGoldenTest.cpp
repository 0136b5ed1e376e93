#include "print/PageBuilder.h"
#include "print/ReportJobs.h"
#include "statements/StatementBook.h"
#include "statements/StatutoryBalanceSheet.h"
#include "statements/StatutoryProfitStatement.h"
#include "support/GoldenText.h"

namespace {

// The page model of a statement as text, kept under tests/statements/golden.
void expectGolden(const QString& layoutName) {
    const ReportJob job = loadReportJob(layoutName);
    expectGoldenText(QStringLiteral("statements"), layoutName,
                     buildPages(job.layout, job.data).toText());
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
