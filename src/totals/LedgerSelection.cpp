#include "totals/LedgerSelection.h"

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"

namespace {

const QString kWrongMonths = QStringLiteral("指定的对象年月出现错误。") + Messages::kCrLf +
                             QStringLiteral("请重新选择一次。");

}  // namespace

const QString LedgerSelection::kPostingAccounts = QStringLiteral(
    "KOCODE <> '202' AND KOCODE <> '258' AND KOCODE NOT BETWEEN '355' AND '362' AND KMCODE <> '' "
    "AND SYORIKBN = '0' AND SIYOU = 'Y'");

void LedgerSelection::loadLists(const QString& accountsSql, const QVariantList& params) {
    accounts_.clear();
    firstMonth_ = lastMonth_ = firstAccount_ = lastAccount_ = -1;
    months_ = loadPeriodMonths();
    Database& db = Database::global();
    for (const QVariantList& row : db.selectAll(accountsSql, params)) {
        const QString number = row.at(1).toString().trimmed();
        accounts_.append(
            {number + u' ' + row.at(2).toString().trimmed(), number.toInt(), row.at(0).toString()});
    }
}

bool LedgerSelection::checkLists(const QString& accountMessage) const {
    if (months_.isEmpty() || accounts_.isEmpty()) {
        messages().exclamation(QStringLiteral("没有符合条件的数据。"));
        return false;
    }
    const auto pick = [](int& index, qsizetype size, int fallback) {
        if (index < 0 || index >= size) {
            index = fallback;
        }
    };
    pick(firstMonth_, months_.size(), 0);
    pick(lastMonth_, months_.size(), int(months_.size()) - 1);
    pick(firstAccount_, accounts_.size(), 0);
    pick(lastAccount_, accounts_.size(), int(accounts_.size()) - 1);
    if (singleAccount_) {
        lastAccount_ = firstAccount_;
    }
    if (months_.at(firstMonth_).month > months_.at(lastMonth_).month) {
        messages().exclamation(kWrongMonths);
        return false;
    }
    if (accounts_.at(firstAccount_).number > accounts_.at(lastAccount_).number) {
        messages().exclamation(accountMessage);
        return false;
    }
    return true;
}

bool LedgerSelection::chooseFor(const QString& fromMonth, const QString& toMonth, int firstNumber,
                                int lastNumber, const QString& accountMessage) {
    const auto monthIndex = [this](const QString& month, int fallback) {
        for (int i = 0; i < months_.size(); ++i) {
            if (months_.at(i).month == month) {
                return i;
            }
        }
        return month.isEmpty() ? fallback : -2;
    };
    firstMonth_ = monthIndex(fromMonth, 0);
    lastMonth_ = monthIndex(toMonth, int(months_.size()) - 1);
    if (firstMonth_ == -2 || lastMonth_ == -2) {
        messages().exclamation(kWrongMonths);
        return false;
    }
    firstAccount_ = lastAccount_ = -1;
    for (int i = 0; i < accounts_.size(); ++i) {
        const int number = accounts_.at(i).number;
        if (firstAccount_ < 0 && (firstNumber == 0 || number >= firstNumber)) {
            firstAccount_ = i;
        }
        if (lastNumber == 0 || number <= lastNumber) {
            lastAccount_ = i;
        }
    }
    if (firstAccount_ < 0 || lastAccount_ < 0) {
        messages().exclamation(accountMessage);
        return false;
    }
    singleAccount_ = false;
    return true;
}

QStringList LedgerSelection::headerSlots() const {
    QStringList header(10);
    header[4] = QStringLiteral("《税法》");
    header[6] = months_.at(firstMonth_).text;
    header[7] = months_.at(lastMonth_).text;
    return header;
}
