#include "print/PrintAccessReport.h"

#include "common/Messages.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "print/ReportJobs.h"
#include "print/ReportOutput.h"

namespace {

const QString kCr = QStringLiteral("\r");

}  // namespace

void showReportFailure(const ReportFailure& failure) {
    switch (failure.number) {
        case ReportFailure::kNoPrinter:
            messages().plain(QStringLiteral("没有安装打印机。") + kCr +
                             QStringLiteral("请安装打印机。"));
            return;
        case ReportFailure::kFileNotFound:
            messages().plain(QStringLiteral("找不到文件。") + kCr +
                             QStringLiteral("请确认可能使用的文件名。"));
            return;
        case ReportFailure::kCancelled:
            return;
        default:
            messages().plain(QStringLiteral("No:") + QString::number(failure.number) + kCr +
                             failure.description);
    }
}

bool PrintAccessReport(const QString& databaseName, const QString& layoutName, int mode) {
    if (databaseName.trimmed().isEmpty()) {
        messages().plain(QStringLiteral("请指定数据记录名称。"));
    }
    if (layoutName.trimmed().isEmpty()) {
        messages().plain(QStringLiteral("请指定报表名称"));
    }
    if (mode != 0 && mode != 1) {
        messages().plain(QStringLiteral("方法错误。"));
        return true;
    }
    try {
        const ReportJob job = loadReportJob(layoutName.trimmed());
        return mode == 0 ? reportOutput().preview(job) : reportOutput().print(job);
    } catch (const ReportFailure& failure) {
        showReportFailure(failure);
    } catch (const DbError& error) {
        showReportFailure(ReportFailure{error.number(), error.description()});
    }
    return false;
}

bool WritePrintKomokuTable(const QStringList& slotTexts, const QString& table) {
    try {
        Database& db = Database::global();
        db.execute(QStringLiteral("DELETE FROM ") + table);
        QVariantList values;
        QStringList marks;
        for (int i = 1; i <= 9; ++i) {
            values.append(slotTexts.value(i).trimmed());
            marks.append(QStringLiteral("?"));
        }
        db.execute(QStringLiteral("INSERT INTO %1 VALUES(%2)")
                       .arg(table, marks.join(QStringLiteral(", "))),
                   values);
        return true;
    } catch (const DbError& error) {
        messages().error(error.number(), error.description(),
                         QStringLiteral("WritePrintKomokuTable"));
        return false;
    }
}

QString& currentPrinterName() {
    static QString name;
    return name;
}
