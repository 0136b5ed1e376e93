#include "statements/StatutoryBalanceSheet.h"

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "totals/TotalsPass.h"

const QString StatutoryBalanceSheet::kForm = QStringLiteral("prtZichan");
const QString StatutoryBalanceSheet::kTitle = QStringLiteral("资产负债表");
const QString StatutoryBalanceSheet::kLayout = QStringLiteral("R_ZICHAN");

// Lines 36, 38, 39, 41, 77 and 82 are shown but added into no total; line 83 is the balance of
// 141 turned round.
const std::vector<LineStep>& StatutoryBalanceSheet::lineSteps() {
    static const std::vector<LineStep> all = {
        {1, {"BETWEEN '004' AND '005'", "BETWEEN '009' AND '026'"}},
        {2, {"= '056'"}},
        {3, {"= '030'"}},
        {4, {"= '040'"}},
        {5, {"= '041'"}},
        {6, {"= '034'"}},
        {7, {"= '035'"}},
        {8, {"IN('054', '055')"}},
        {9, {"= '095'"}},
        {10, {"= '057'"}},
        {11, {"IN('060', '061')"}},
        {12, {"BETWEEN '045' AND '051'"}},
        {15, {"= '058'"}},
        {16, {"= '042'"}},
        {17, {"= '092'"}},
        {18, {"IN('039', '059')"}},
        {19, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18}},
        {21, {"= '093'"}},
        {22, {"= '094'"}},
        {20, {}, {21, 22}},
        {23, {"= '097'"}},
        {24, {}, {20, 23}},
        {25, {"BETWEEN '070' AND '079'"}},
        {26, {"= '081'"}},
        {27, {}, {25, -26}},
        {28, {"= '098'"}},
        {29, {}, {27, -28}},
        {31, {"= '080'"}},
        {33, {"= '101'"}},
        {34, {}, {29, 30, 31, 32, 33}},
        {35, {"BETWEEN '084' AND '087'"}},
        {36, {"= '086'"}},
        {37, {"IN('096', '105', '106')"}},
        {38, {"= '105'"}},
        {39, {"= '106'"}},
        {40, {"= '100'"}},
        {41, {"= '107'"}},
        {42, {}, {35, 37, 40}},
        {43, {"= '111'"}},
        {44, {}, {19, 24, 34, 42, 43}},
        {45, {"= '124'"}},
        {46, {"= '116'"}},
        {47, {"= '120'"}},
        {48, {"= '130'"}},
        {49, {"= '139'"}},
        {50, {"= '134'"}},
        {51, {"= '136'"}},
        {52, {"= '138'"}},
        {53, {"= '137'"}},
        {54, {"= '132'"}},
        {55, {"= '128'"}},
        {56, {"= '129'"}},
        {57, {"= '133'"}},
        {58, {"= '131'"}},
        {59, {"= '121'"}},
        {60, {"= '125'"}},
        {61, {}, {45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60}},
        {62, {"= '144'"}},
        {65, {"= '150'"}},
        {66, {"= '145'"}},
        {68, {}, {62, 63, 64, 65, 66}},
        {69, {"= '140'"}},
        {70, {}, {61, 68, 69}},
        {77, {"= '164'"}},
        {78, {"= '165'"}},
        {79, {"= '155'"}},
        {72, {}, {73, 74, 75, 78, 79}},
        {80, {"= '158'"}},
        {81, {"IN ('159', '162', '170')"}},
        {82, {"= '356'"}},
        {83, {"= '141'"}, {}, {}, true},
        {84, {"= '353'"}},
        {86, {}, {72, 80, 81, 83, 84, 85}},
        {88, {}, {70, 71, 86}},
    };
    return all;
}

QString StatutoryBalanceSheet::readMe() const {
    return QStringLiteral("年终申报用资产负债表。") + Messages::kCrLf +
           QStringLiteral("按财会年企01表编制，可直接使用本表进行年终申报。");
}

bool StatutoryBalanceSheet::set_hyouji_table(const QString& condition, const QString& beginMonth,
                                             const QString& endMonth, Money& beginTarget,
                                             Money& endTarget) {
    try {
        const QString cid = session().CurrentCid;
        beginTarget += balances_.balance(cid, beginMonth, condition);
        endTarget += balances_.balance(cid, endMonth, condition);
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("set_hyouji_table"));
        return false;
    }
}

bool StatutoryBalanceSheet::computeLines(const QString& beginMonth, const QString& endMonth) {
    balances_.clear();
    begin_ = {};
    end_ = {};
    for (const LineStep& step : lineSteps()) {
        if (!step.lines.empty()) {
            sumLines(step, begin_);
            sumLines(step, end_);
            continue;
        }
        for (const char* condition : step.add) {
            if (!set_hyouji_table(QLatin1String(condition), beginMonth, endMonth,
                                  begin_.at(step.line), end_.at(step.line))) {
                return false;
            }
        }
        if (step.negate) {
            begin_.at(step.line) = -begin_.at(step.line);
            end_.at(step.line) = -end_.at(step.line);
        }
    }
    balances_.clear();
    return true;
}

bool StatutoryBalanceSheet::fillTables() {
    CompanyPeriod period;
    try {
        period = readCompanyPeriod();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("print_data"));
        return false;
    }
    const QString beginMonth = period.kisyu.left(4) + QStringLiteral("/00");
    const QString endMonth = period.kimatu.left(7);
    // The pass says "月次总计出现异常。" (or its step's error) itself.
    if (!msum_tukisime(period.kisyu.left(7), endMonth, kForm)) {
        return false;
    }
    if (!computeLines(beginMonth, endMonth)) {
        return false;
    }
    try {
        return writeStatementTables(begin_, end_) && writeStatementHeader(period);
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("print_data"));
        return false;
    }
}

void StatutoryBalanceSheet::cmdQuestion_Click() {
    messages().help(MsgIcon::Information,
                    QStringLiteral("打印资产负债表。") + Messages::kCrLf +
                        QStringLiteral("用B4纸打印。") + Messages::kCrLf +
                        QStringLiteral("单击“打印预览”就会显示一览表。"),
                    QStringLiteral("statements"));
}
