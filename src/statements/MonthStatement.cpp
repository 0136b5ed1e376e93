#include "statements/MonthStatement.h"

#include <optional>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "print/PrintAccessReport.h"
#include "statements/StatementTotals.h"
#include "totals/TotalsPass.h"

namespace {

const QString kMeisai = QStringLiteral("T_TOTAL_MEISAI");
const QString kTotal1 = QStringLiteral("T_TOTAL1");

bool trial(MonthStatementKind kind) {
    return kind == MonthStatementKind::TrialBalance;
}

}  // namespace

QString MonthStatement::form() const {
    return trial(kind_) ? QStringLiteral("prtTaisyakuTaisyo") : QStringLiteral("prtSonekiKeisan");
}

QString MonthStatement::title() const {
    return trial(kind_) ? kTrialBalanceName : kIncomeStatementName;
}

QString MonthStatement::layout() const {
    return trial(kind_) ? QStringLiteral("R_TS") : QStringLiteral("R_PS");
}

bool MonthStatement::Form_Load() {
    session().CallerForm = form();
    month_ = -1;
    try {
        months_ = loadPeriodMonths();
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
}

bool MonthStatement::fillTrialBalance(const QString& month) {
    const MonthStatementKind kind = kind_;
    Database& db = Database::global();
    db.execute(QStringLiteral("DELETE FROM T_TOTAL_MEISAI"));
    if (!set_data_to_query1(kind, kMeisai, QStringLiteral("004"), QStringLiteral("176"),
                            QStringLiteral("0"), month) ||
        !set_data_to_query1(kind, kMeisai, QStringLiteral("348"), QStringLiteral("348"),
                            QStringLiteral("1"), month) ||
        !set_data_to_query1(kind, kMeisai, QStringLiteral("353"), QStringLiteral("353"),
                            QStringLiteral("1"), month) ||
        !set_data_to_query2(kind)) {
        return false;
    }
    db.execute(QStringLiteral("DELETE FROM T_TOTAL1"));
    if (!set_data_to_query1(kind, kTotal1, QStringLiteral("004"), QStringLiteral("176"),
                            QStringLiteral("1"), month) ||
        !statementTotals(kTrialBalanceName)) {
        return false;
    }
    // The profit lines print with the equity; 171 is inside 353.
    db.execute(
        QStringLiteral("UPDATE T_TOTAL_MEISAI SET KAIPAGE = '2', PCODE1 = '1480', PCODE2 "
                       "= '2171' WHERE KOCODE = '353'"));
    db.execute(
        QStringLiteral("UPDATE T_TOTAL_MEISAI SET KAIPAGE = '2', PCODE1 = '1480', PCODE2 "
                       "= '2172' WHERE KOCODE = '348'"));
    db.execute(QStringLiteral("DELETE FROM T_TOTAL_MEISAI WHERE KOCODE = '171'"));
    return true;
}

bool MonthStatement::fillIncomeStatement(const QString& month) {
    const MonthStatementKind kind = kind_;
    Database& db = Database::global();
    db.execute(QStringLiteral("DELETE FROM T_TOTAL_MEISAI"));
    if (!set_data_to_query1(kind, kMeisai, QStringLiteral("180"), QStringLiteral("356"),
                            QStringLiteral("0"), month) ||
        !set_data_to_query1(kind, kMeisai, QStringLiteral("171"), QStringLiteral("171"),
                            QStringLiteral("0"), month) ||
        !set_data_to_query2(kind)) {
        return false;
    }
    db.execute(QStringLiteral("DELETE FROM T_TOTAL1"));
    if (!set_data_to_query1(kind, kTotal1, QStringLiteral("180"), QStringLiteral("353"),
                            QStringLiteral("1"), month) ||
        !statementTotals(kIncomeStatementName) || !update_data()) {
        return false;
    }
    // The manufacturing-cost section and the sinks 202 and 258 are worked, not printed; 171
    // prints among the appropriations.
    for (const char* statement :
         {"DELETE FROM T_TOTAL_MEISAI WHERE KOCODE BETWEEN '195' AND '244'",
          "DELETE FROM T_TOTAL1 WHERE KOCODE BETWEEN '195' AND '244'",
          "UPDATE T_TOTAL_MEISAI SET KAIPAGE = '3', PCODE1 = '1975' WHERE KOCODE = '171'",
          "DELETE FROM T_TOTAL_MEISAI WHERE MAEKURI = 0 AND KRTOTAL = 0 AND KSTOTAL = 0 AND ZAN = "
          "0 AND KMNAME <> ''",
          "DELETE FROM T_TOTAL_MEISAI WHERE KOCODE IN ('202', '258')",
          "DELETE FROM T_TOTAL1 WHERE KOCODE IN ('202', '258')"}) {
        db.execute(QString::fromLatin1(statement));
    }
    return true;
}

bool MonthStatement::fill() {
    if (months_.isEmpty()) {
        messages().exclamation(QStringLiteral("没有符合条件的数据。"));
        return false;
    }
    if (month_ < 0 || month_ >= months_.size()) {
        month_ = int(months_.size()) - 1;
    }
    const QString month = months_.at(month_).month;
    if (busy_) {
        busy_(true);
    }
    bool filled = false;
    Database& db = Database::global();
    try {
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        filled = msum_tukisime(months_.first().month, month, form()) &&
                 (trial(kind_) ? fillTrialBalance(month) : fillIncomeStatement(month));
        if (filled && transaction) {
            transaction->commit();
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("print_data"));
        filled = false;
    }
    if (busy_) {
        busy_(false);
    }
    if (!filled) {
        return false;
    }
    QStringList slotTexts(10);
    slotTexts[6] = months_.at(month_).text + QStringLiteral("度");
    return WritePrintKomokuTable(slotTexts, QStringLiteral("T_PRINTKOMOKU"));
}

bool MonthStatement::print_data(int mode) {
    return fill() &&
           PrintAccessReport(session().AppFolder + QStringLiteral("Kaikei.mdb"), layout(), mode);
}

void MonthStatement::cmdQuestion_Click() const {
    messages().help(MsgIcon::Information,
                    QStringLiteral("打印") + title() + QStringLiteral("。") + Messages::kCrLf +
                        QStringLiteral("用A4纸打印。") + Messages::kCrLf +
                        QStringLiteral("在下拉框中选择日期，单击“打印预览”就会显示一览表。"),
                    QStringLiteral("statements"));
}

bool MonthStatement::fillFor(const QString& month) {
    if (!Form_Load()) {
        return false;
    }
    if (!month.isEmpty()) {
        month_ = -1;
        for (int i = 0; i < months_.size(); ++i) {
            if (months_.at(i).month == month) {
                month_ = i;
            }
        }
        if (month_ < 0) {
            messages().exclamation(QStringLiteral("没有符合条件的数据。"));
            return false;
        }
    }
    return fill();
}
