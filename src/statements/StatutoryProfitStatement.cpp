#include "statements/StatutoryProfitStatement.h"

#include <QDate>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "totals/TotalsPass.h"

const QString StatutoryProfitStatement::kForm = QStringLiteral("prtLirun");
const QString StatutoryProfitStatement::kTitle = QStringLiteral("利润及利润分配表");
const QString StatutoryProfitStatement::kLayout = QStringLiteral("R_LIRUN");

// Lines 26-29 are shown and summed into 25, lines 33-36 into 32.
const std::vector<LineStep>& StatutoryProfitStatement::lineSteps() {
    static const std::vector<LineStep> all = {
        {1, {"BETWEEN '180' AND '185' OR K.KOCODE IN('190', '191', '320')"}},
        {4, {"BETWEEN '186' AND '187'"}},
        {5, {}, {1, -4}},
        {8, {"= '347'"}},
        {14, {}, {5, -6, -8, -9, -10, 11, 12, 13}},
        {16,
         {"IN('195', '196', '199', '239', '242', '244', '259')", "BETWEEN '203' AND '213'",
          "BETWEEN '215' AND '226'", "BETWEEN '229' AND '237'", "BETWEEN '246' AND '255'"}},
        {17, {"BETWEEN '263' AND '282'", "BETWEEN '284' AND '300'", "BETWEEN '302' AND '309'"}},
        {18, {"= '283'"}, {}, {"= '314'"}},
        {20, {}, {14, 15, -16, -17, -18, -19}},
        {26, {"= '333'"}},
        {27, {"= '315'"}},
        {28, {"= '316'"}},
        {29, {"= '317'"}},
        {25, {}, {26, 27, 28, 29}},
        {30, {"IN('334', '340')"}},
        {33, {"= '343'"}},
        {34, {"= '344'"}},
        {35, {"= '324'"}},
        {36, {"= '327'"}},
        {32, {}, {33, 34, 35, 36}},
        {37, {"IN('223', '328')"}},
        {39, {}, {20, 21, 22, 23, 25, 30, -32, -37}},
        {40, {"= '301'"}},
        {43, {}, {39, -40, -41, 42}},
        {44, {"= '171'"}},
        {47, {}, {43, 44, 45, 46}},
        {48, {"= '355'"}},
        {49, {"= '356'"}},
        {56, {"= '349'"}},
        {57, {}, {47, -48, -49, -50, -51, -52, -53, -54, -55, -56}},
        {58, {"= '351'"}},
        {59, {"= '352'"}},
        {63, {}, {57, -58, -59, -60, -61, -62}},
    };
    return all;
}

namespace {

constexpr int kSavedLines = 64;

// " KIN1, KIN2, ..., KIN64" as the previous-year copy names the saved lines.
QString savedColumns() {
    QString list;
    for (int line = 1; line <= kSavedLines; ++line) {
        list += QStringLiteral(" KIN%1%2").arg(line).arg(line < kSavedLines ? u"," : u"");
    }
    return list;
}

}  // namespace

QString StatutoryProfitStatement::readMe() const {
    return QStringLiteral("年终申报用利润及利润分配表。") + Messages::kCrLf +
           QStringLiteral("按财会年企02表编制，可直接使用本表进行年终申报。");
}

bool StatutoryProfitStatement::search_table(const QString& condition, const QString& month,
                                            Money& target) {
    try {
        target += balances_.balance(session().CurrentCid, month, condition);
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("search_table"));
        return false;
    }
}

bool StatutoryProfitStatement::set_hyouji_table(const QString& month) {
    balances_.clear();
    lines_ = {};
    for (const LineStep& step : lineSteps()) {
        if (!step.lines.empty()) {
            sumLines(step, lines_);
            continue;
        }
        for (const char* condition : step.add) {
            if (!search_table(QLatin1String(condition), month, lines_.at(step.line))) {
                return false;
            }
        }
        for (const char* condition : step.subtract) {
            Money taken;
            if (!search_table(QLatin1String(condition), month, taken)) {
                return false;
            }
            lines_.at(step.line) -= taken;
        }
    }
    balances_.clear();
    // A loss to be made good from later years' profits, shown as a positive amount.
    lines_.at(64) = lines_.at(63).sign() < 0 ? -lines_.at(63) : Money();
    try {
        return writeStatementTables(StatementColumn{}, lines_);
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("set_hyouji_table"));
        return false;
    }
}

bool StatutoryProfitStatement::fillTables() {
    Database& db = Database::global();
    try {
        const CompanyPeriod period = readCompanyPeriod();
        // The pass says "月次总计出现异常。" (or its step's error) itself.
        if (!msum_tukisime(period.kisyu.left(7), period.kimatu.left(7), kForm)) {
            return false;
        }
        if (!set_hyouji_table(period.kimatu.left(7))) {
            return false;
        }
        const QDate start = QDate::fromString(period.kisyu, QStringLiteral("yyyy/MM/dd"));
        const QString previousEnd = start.addDays(-1).toString(QStringLiteral("yyyy/MM/dd"));
        const QString cid = session().CurrentCid;
        if (!db.scalar(QStringLiteral("SELECT CID FROM P_KESANSYO WHERE CID = ? AND DATEYMD = ?"),
                       {cid, previousEnd})
                 .isNull()) {
            const QString columns = savedColumns();
            db.execute(QStringLiteral("DELETE FROM P_KESANSYO_S"));
            // The date decides only whether the copy runs; the set holds one saved year.
            db.execute(QStringLiteral("INSERT INTO P_KESANSYO_S(%1 ) SELECT%1 FROM P_KESANSYO "
                                      "WHERE CID = ?")
                           .arg(columns),
                       {cid});
        }
        return writeStatementHeader(period);
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("print_data"));
        return false;
    }
}

void StatutoryProfitStatement::cmdQuestion_Click() {
    messages().help(MsgIcon::Information,
                    QStringLiteral("打印利润及利润分配表。") + Messages::kCrLf +
                        QStringLiteral("用B4纸打印。") + Messages::kCrLf +
                        QStringLiteral("单击“打印预览”就会显示一览表。"),
                    QStringLiteral("statements"));
}
