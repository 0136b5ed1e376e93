#include "print/render/XlsxExport.h"

#include <xlsxwriter.h>

#include <QFile>

#include "common/Money.h"

namespace {

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

// The header texts of the first page, without page numbers, one per line.
QStringList headerTexts(const ReportJob& job) {
    QStringList texts;
    const auto addBand = [&](const QList<BandLine>& band) {
        for (const BandLine& line : band) {
            QStringList parts;
            for (const BandItem& item : line) {
                if (item.text.contains(QStringLiteral("{page"))) {
                    continue;
                }
                const QString text = job.data.resolve(item.text, 0);
                if (!text.trimmed().isEmpty()) {
                    parts.append(text.trimmed());
                }
            }
            if (!parts.isEmpty()) {
                texts.append(parts.join(QStringLiteral("  ")));
            }
        }
    };
    addBand(job.layout.reportHeader);
    addBand(job.layout.pageHeader);
    return texts;
}

bool isMoney(CellFormat format) {
    return format == CellFormat::Money || format == CellFormat::MoneyBlankZero ||
           format == CellFormat::MoneyAbs;
}

double excelNumber(Money amount) {
    // A spreadsheet cell holds a double; ten-thousandths are exact enough in one.
    return static_cast<double>(amount.units()) / Money::kScale;
}

}  // namespace

void writeXlsx(const ReportJob& job, const QString& filePath) {
    const QByteArray path = QFile::encodeName(filePath);
    lxw_workbook* workbook = workbook_new(path.constData());
    if (!workbook) {
        throw ReportFailure{ReportFailure::kFileNotFound,
                            QStringLiteral("不能写入文件: ") + filePath};
    }
    const QByteArray sheetName =
        utf8(job.layout.title.isEmpty() ? job.layout.name : job.layout.title);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.left(31).constData());
    lxw_format* money = workbook_add_format(workbook);
    format_set_num_format(money, "#,##0.00");
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format* boldMoney = workbook_add_format(workbook);
    format_set_bold(boldMoney);
    format_set_num_format(boldMoney, "#,##0.00");

    const ReportLayout& layout = job.layout;
    const ReportData& data = job.data;
    lxw_row_t row = 0;
    for (const QString& text : headerTexts(job)) {
        worksheet_write_string(sheet, row, 0, utf8(text).constData(), row == 0 ? bold : nullptr);
        ++row;
    }
    if (row > 0) {
        ++row;
    }
    QList<int> keyIndex;
    for (int c = 0; c < layout.columns.size(); ++c) {
        const LayoutColumn& column = layout.columns.at(c);
        keyIndex.append(column.key.isEmpty() ? -1 : data.column(column.key));
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), column.widthMm / 2.2, nullptr);
        worksheet_write_string(sheet, row, lxw_col_t(c), utf8(column.heading).constData(), bold);
    }
    ++row;
    QList<Money> totals(layout.columns.size());
    bool anyTotal = false;
    for (int r = 0; r < data.rows.size(); ++r, ++row) {
        for (int c = 0; c < layout.columns.size(); ++c) {
            const LayoutColumn& column = layout.columns.at(c);
            const QVariant value =
                keyIndex.at(c) >= 0 ? data.rows.at(r).at(keyIndex.at(c)) : QVariant();
            if (column.text.isEmpty() && isMoney(column.format)) {
                const Money stored = Money::fromDb(value);
                const Money amount = column.format == CellFormat::MoneyAbs ? stored.abs() : stored;
                totals[c] += amount;
                anyTotal = anyTotal || column.total;
                worksheet_write_number(sheet, row, lxw_col_t(c), excelNumber(amount), money);
                continue;
            }
            const QString text = column.text.isEmpty()
                                     ? column.show(value, data.value(r, column.side))
                                     : data.resolve(column.text, r).trimmed();
            if (!text.isEmpty()) {
                worksheet_write_string(sheet, row, lxw_col_t(c), utf8(text).constData(), nullptr);
            }
        }
    }
    if (anyTotal) {
        worksheet_write_string(sheet, row, 0, "合计", bold);
        for (int c = 0; c < layout.columns.size(); ++c) {
            if (layout.columns.at(c).total) {
                worksheet_write_number(sheet, row, lxw_col_t(c), excelNumber(totals.at(c)),
                                       boldMoney);
            }
        }
    }
    if (workbook_close(workbook) != LXW_NO_ERROR) {
        QFile::remove(filePath);
        throw ReportFailure{ReportFailure::kFileNotFound,
                            QStringLiteral("不能写入文件: ") + filePath};
    }
}
