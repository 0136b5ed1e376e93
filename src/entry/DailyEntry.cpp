#include "entry/DailyEntry.h"

#include <QDate>

#include "common/DateHelpers.h"
#include "common/Messages.h"
#include "common/Session.h"
#include "common/TypedAmount.h"
#include "db/Database.h"
#include "db/ErrorReport.h"

namespace {

const QString kErrorTitle = QStringLiteral("错误");

// Snapshot and comparison text of an amount cell.
QString snapshotAmount(Money amount) {
    return amount.isZero() ? QString() : amount.toText();
}

}  // namespace

const QList<SimpleEntryRow>& DailyEntry::rows(EntryGrid grid) const {
    return grid == EntryGrid::Income ? income_ : expense_;
}

void DailyEntry::setNumRate(double rate) {
    rate_ = rate;
}

bool DailyEntry::Form_Load(const QString& caller) {
    loaded_ = false;
    dirty_ = false;
    Database& db = Database::global();
    try {
        RecordSet company = db.query(
            QStringLiteral("SELECT KISYU, KIMATU, SIINLDAY, AICODE, KANCNG FROM WK_COMPANY"));
        if (!company.eof()) {
            kisyu_ = company.text(QStringLiteral("KISYU"));
            kimatu_ = company.text(QStringLiteral("KIMATU"));
            lastInputDay_ = company.text(QStringLiteral("SIINLDAY"));
            cashKocode_ = company.text(QStringLiteral("AICODE"));
            rateVisible_ = company.text(QStringLiteral("KANCNG")) == u"1";
        }
        company.close();

        TransactionGuard transaction(db);
        if ((caller == u"InOutMenu" || caller == u"MainMenu") && !make_new_siwake_data()) {
            return false;
        }
        Voucher newest;
        if (get_siwake_data(QStringLiteral("DENCODE"), session().MaxDencode, newest) !=
            VoucherLookup::Found) {
            return false;
        }
        showVoucher(newest);
        if (!set_start_spread() || !set_day_gokei()) {
            return false;
        }
        transaction.commit();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
    loaded_ = true;
    sayReadOnly();
    return true;
}

bool DailyEntry::sayReadOnly() const {
    if (readOnly_) {
        messages().exclamation(QStringLiteral("此日的汇总分类数据有%1行，超过本画面可编辑的128行。")
                                   .arg(transfer_.size()) +
                               Messages::kCrLf +
                               QStringLiteral("本画面只能查看此日的数据，不能修改或删除。"));
    }
    return readOnly_;
}

void DailyEntry::showVoucher(const Voucher& voucher) {
    voucher_ = voucher;
    dateBox_ = voucher.DENDAY;
    previousBalance_ = voucher.YDAYZAN;
    rate_ = voucher.RATE;
}

bool DailyEntry::set_day_gokei() {
    totals_ = dayTotals(chart_, cashKocode_, previousBalance_, income_, expense_, transfer_);
    return true;
}

bool DailyEntry::setSimpleAmount(EntryGrid grid, int row, const QString& text) {
    QList<SimpleEntryRow>& rows = grid == EntryGrid::Income ? income_ : expense_;
    Money amount;
    if (readOnly_ || row < 0 || row >= rows.size() || !readTypedAmount(text, amount)) {
        return false;
    }
    rows[row].amount = amount;
    dirty_ = true;
    return set_day_gokei();
}

void DailyEntry::setSimpleDescription(EntryGrid grid, int row, const QString& text) {
    QList<SimpleEntryRow>& rows = grid == EntryGrid::Income ? income_ : expense_;
    if (!readOnly_ && row >= 0 && row < rows.size()) {
        rows[row].description = text;
        dirty_ = true;
    }
}

void DailyEntry::setAccountCell(TransferEntryRow& row, bool debit, const QString& text) {
    QString name;
    const QString number = splitAtBlank(text, name);
    const QStringList subsidiaries = chart_.subsidiaryList(text);
    const QString kocode =
        text.trimmed().isEmpty() ? QString() : chart_.return_KanjoKoCode(number, name);
    const QString firstSubsidiary = subsidiaries.isEmpty() ? QString() : subsidiaries.first();
    if (debit) {
        row.debit = text;
        row.debitSubList = subsidiaries;
        row.debitSub = firstSubsidiary;
        row.debitKocode = kocode;
    } else {
        row.credit = text;
        row.creditSubList = subsidiaries;
        row.creditSub = firstSubsidiary;
        row.creditKocode = kocode;
    }
}

bool DailyEntry::applyPattern(int row, const QString& text) {
    QString name;
    const QString code = splitAtBlank(text, name);
    QString debitNumber;
    QString creditNumber;
    QString description;
    bool found = false;
    try {
        for (RecordSet rs = Database::global().query(
                 QStringLiteral("SELECT KRCODE, KSCODE, TENAME FROM T_SI_PATTERN WHERE CID = ?"),
                 {session().CurrentCid});
             !rs.eof() && !found; rs.moveNext()) {
            debitNumber = rs.text(QStringLiteral("KRCODE"));
            creditNumber = rs.text(QStringLiteral("KSCODE"));
            description = rs.text(QStringLiteral("TENAME"));
            found = debitNumber + creditNumber == code;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("spdSS3_Change"));
        return false;
    }
    if (!found) {
        return true;
    }
    TransferEntryRow& target = transfer_[row];
    QString accountName;
    if (!chart_.nameOfNumber(debitNumber, accountName)) {
        messages().exclamation(QStringLiteral("借方科目名称未被录入。"), kErrorTitle);
        target.pattern.clear();
        return false;
    }
    setAccountCell(target, true, debitNumber + u' ' + accountName);
    if (!chart_.nameOfNumber(creditNumber, accountName)) {
        messages().exclamation(QStringLiteral("贷方科目名称未被录入。"), kErrorTitle);
        target.pattern.clear();
        return false;
    }
    setAccountCell(target, false, creditNumber + u' ' + accountName);
    target.description = description;
    return true;
}

bool DailyEntry::setTransferCell(int row, int column, const QString& text) {
    if (readOnly_ || row < 0 || row >= transfer_.size()) {
        return false;
    }
    TransferEntryRow& target = transfer_[row];
    bool accepted = true;
    switch (column) {
        case kPatternColumn:
            target.pattern = text;
            accepted = text.isEmpty() || applyPattern(row, text);
            break;
        case kDebitColumn:
        case kCreditColumn:
            setAccountCell(target, column == kDebitColumn, text);
            break;
        case kDebitSubColumn:
            target.debitSub = text;
            break;
        case kCreditSubColumn:
            target.creditSub = text;
            break;
        case kAmountColumn: {
            Money amount;
            if (!readTypedAmount(text, amount)) {
                return false;
            }
            target.amount = amount;
            break;
        }
        case kDescriptionColumn:
            target.description = text;
            break;
        default:
            return false;
    }
    dirty_ = true;
    set_day_gokei();
    return accepted;
}

bool DailyEntry::add_spread_row() {
    if (readOnly_) {
        return false;
    }
    if (transfer_.size() >= kMaxTransferRows) {
        messages().exclamation(QStringLiteral("每日最多可录入128行汇总分类数据。"));
        return false;
    }
    transfer_.append(TransferEntryRow());
    return true;
}

bool DailyEntry::deleteTransferRow(int row) {
    if (readOnly_ || row < 0 || row >= transfer_.size()) {
        return false;
    }
    if (messages().askYesNo(QStringLiteral("可以删除被选择的行吗？"), MsgAnswer::Yes,
                            MsgIcon::Question, QStringLiteral("确认")) != MsgAnswer::Yes) {
        return false;
    }
    transfer_.removeAt(row);
    while (transfer_.size() < 2) {
        transfer_.append(TransferEntryRow());
    }
    dirty_ = true;
    return set_day_gokei();
}

QStringList DailyEntry::snapshotTexts() const {
    QStringList texts;
    for (const QList<SimpleEntryRow>* grid : {&income_, &expense_}) {
        for (const SimpleEntryRow& row : *grid) {
            texts << snapshotAmount(row.amount) << row.description;
        }
    }
    for (const TransferEntryRow& row : transfer_) {
        texts << row.pattern << row.debit << row.credit << row.debitSub << row.creditSub
              << snapshotAmount(row.amount) << row.description;
    }
    return texts;
}

void DailyEntry::takeSnapshot() {
    snapshot_ = snapshotTexts();
}

bool DailyEntry::check_henko() const {
    // Blank rows added after loading hold nothing the snapshot lacks.
    QStringList now = snapshotTexts();
    while (now.size() > snapshot_.size() && now.last().isEmpty()) {
        now.removeLast();
    }
    QStringList then = snapshot_;
    while (then.size() > now.size() && then.last().isEmpty()) {
        then.removeLast();
    }
    return now != then;
}

bool DailyEntry::checkDateText() const {
    const QString date = dateBox_.trimmed();
    if (date.isEmpty()) {
        messages().plain(QStringLiteral("请输入日期。"));
        return false;
    }
    if (!QDate::fromString(date, QStringLiteral("yyyy/MM/dd")).isValid()) {
        messages().exclamation(QStringLiteral("请正确输入凭证日期。"));
        return false;
    }
    return true;
}

bool DailyEntry::check_SyoriNen() {
    if (!checkDateText()) {
        return false;
    }
    const QString date = dateBox_.trimmed();
    if (date < kisyu_ || (!lastInputDay_.isEmpty() && date > lastInputDay_)) {
        messages().exclamation(QStringLiteral("超过凭证日期的输入范围。"));
        return false;
    }
    return true;
}

bool DailyEntry::cmdBack_Click() {
    if (check_henko() && dirty_ &&
        messages().askYesNo(QStringLiteral("编辑过程中的数据并未被录入，立即结束可以吗？"),
                            MsgAnswer::No) != MsgAnswer::Yes) {
        return false;
    }
    return true;
}

QString DailyEntry::returnForm(const QString& caller) const {
    if (caller == u"MainMenu" || caller == u"InpSoukanjoMotchoH") {
        return caller;
    }
    return QStringLiteral("InOutMenu");
}
