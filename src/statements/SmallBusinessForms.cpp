#include "statements/SmallBusinessForms.h"

#include <QDate>
#include <QStringList>
#include <algorithm>
#include <optional>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "print/PrintAccessReport.h"
#include "statements/FormMapping.h"
#include "statements/StatementLines.h"
#include "totals/MonthFlags.h"
#include "totals/TotalsPass.h"

const QString SmallBusinessForms::kForm = QStringLiteral("prtXiaoQiye");
const QString SmallBusinessForms::kTitle = QStringLiteral("小企业会计报表");

namespace {

const QString kNoData = QStringLiteral("没有符合条件的数据。");

QString codeOf(SmallBusinessForm form) {
    return form == SmallBusinessForm::BalanceSheet ? QStringLiteral("XQY01")
                                                   : QStringLiteral("XQY02");
}

bool writeColumn(Database& db, const QString& table, const std::vector<Money>& values) {
    StatementColumn column{};
    for (size_t line = 1; line < values.size() && line < column.size(); ++line) {
        column[line] = values[line];
    }
    db.execute(QStringLiteral("DELETE FROM ") + table);
    return WriteKesansyoTable(table, column);
}

// The date the form is made up to: the month's last day for the balance sheet, the month for
// the income statement.
QString dateText(SmallBusinessForm form, const QString& month) {
    const QDate first =
        QDate::fromString(month + QStringLiteral("/01"), QStringLiteral("yyyy/MM/dd"));
    if (form == SmallBusinessForm::IncomeStatement) {
        return QStringLiteral("%1年%2月").arg(first.year()).arg(first.month());
    }
    const QDate last = first.addMonths(1).addDays(-1);
    return QStringLiteral("%1年%2月%3日").arg(last.year()).arg(last.month()).arg(last.day());
}

}  // namespace

bool fillSmallBusinessForm(SmallBusinessForm form, const QString& periodFirst,
                           const QString& month) {
    Database& db = Database::global();
    try {
        QString problem;
        const std::optional<FormMapping> mapping = FormMapping::load(codeOf(form), &problem);
        if (!mapping) {
            messages().exclamation(
                QStringLiteral("报表行设置（MT_FORMLINE）有错误，不能编制报表。") +
                Messages::kCrLf + problem);
            return false;
        }
        const MonthBalances atMonth = MonthBalances::read(session().CurrentCid, month);
        const std::vector<Money> first = mapping->evaluate(atMonth.cumulative);
        const std::vector<Money> second =
            form == SmallBusinessForm::BalanceSheet
                ? mapping->evaluate(
                      MonthBalances::read(session().CurrentCid, openingMonth(periodFirst))
                          .cumulative)
                : mapping->evaluate(atMonth.turnover);
        // A book without a balance or a line up to the month has nothing to state.
        const auto zero = [](const std::vector<Money>& values) {
            return std::all_of(values.begin(), values.end(),
                               [](Money value) { return value.isZero(); });
        };
        if (zero(first) && zero(second)) {
            messages().exclamation(kNoData);
            return false;
        }
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        if (!writeColumn(db, QStringLiteral("P_KESANSYO_E"), first) ||
            !writeColumn(db, QStringLiteral("P_KESANSYO_S"), second)) {
            return false;
        }
        if (transaction) {
            transaction->commit();
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("fillSmallBusinessForm"));
        return false;
    }
}

QString SmallBusinessForms::layoutOf(SmallBusinessForm form) {
    return QStringLiteral("R_") + codeOf(form);
}

QString SmallBusinessForms::captionOf(SmallBusinessForm form) {
    return form == SmallBusinessForm::BalanceSheet ? QStringLiteral("会小企01表 资产负债表")
                                                   : QStringLiteral("会小企02表 利润表");
}

bool SmallBusinessForms::Form_Load() {
    session().CallerForm = kForm;
    return load();
}

bool SmallBusinessForms::load() {
    try {
        months_ = loadPeriodMonths();
        periodFirst_ = Database::global()
                           .scalar(QStringLiteral("SELECT KISYU FROM WK_COMPANY"))
                           .toString()
                           .trimmed()
                           .left(7);
        month_ = int(months_.size()) - 1;
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
}

bool SmallBusinessForms::fill() {
    if (months_.isEmpty()) {
        messages().exclamation(kNoData);
        return false;
    }
    if (month_ < 0 || month_ >= months_.size()) {
        month_ = int(months_.size()) - 1;
    }
    const LedgerMonth& chosen = months_.at(month_);
    if (busy_) {
        busy_(true);
    }
    // The pass says "月次总计出现异常。" (or its step's error) itself.
    bool filled = msum_tukisime(periodFirst_, chosen.month, kForm);
    if (filled) {
        filled = fillSmallBusinessForm(form_, periodFirst_, chosen.month);
    }
    if (busy_) {
        busy_(false);
    }
    if (!filled) {
        return false;
    }
    QStringList header(10);
    header[6] = dateText(form_, chosen.month);
    return WritePrintKomokuTable(header, QStringLiteral("T_PRINTKOMOKU"));
}

bool SmallBusinessForms::print_data(int mode) {
    return fill() && PrintAccessReport(session().AppFolder + QStringLiteral("Kaikei.mdb"),
                                       layoutOf(form_), mode);
}

void SmallBusinessForms::cmdQuestion_Click() {
    messages().help(
        MsgIcon::Information,
        QStringLiteral("按小企业会计准则打印会小企01表（资产负债表）或会小企02表（利润表）。") +
            Messages::kCrLf + QStringLiteral("用A4纸打印。") + Messages::kCrLf +
            QStringLiteral("选择报表和月份，单击“打印预览”就会显示报表。"),
        QStringLiteral("statements"));
}

bool SmallBusinessForms::fillFor(SmallBusinessForm form, const QString& month) {
    if (!load()) {
        return false;
    }
    form_ = form;
    if (!month.isEmpty()) {
        month_ = -2;
        for (int i = 0; i < months_.size(); ++i) {
            if (months_.at(i).month == month) {
                month_ = i;
            }
        }
        if (month_ == -2) {
            messages().exclamation(QStringLiteral("指定的对象年月出现错误。") + Messages::kCrLf +
                                   QStringLiteral("请重新选择一次。"));
            return false;
        }
    }
    return fill();
}
