#include "master/AccountDetail.h"

#include <optional>

#include "common/Messages.h"
#include "common/Session.h"
#include "common/TypedAmount.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/RowWriters.h"
#include "totals/MonthFlags.h"

namespace {

// A number takes at most 3 bytes, a name at most 15 (full-width) characters.
constexpr int kNumberBytes = 3;
constexpr int kNameCharacters = 15;

QString accountName(const QString& kocode) {
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT KANNAME FROM T_KANJO WHERE KOCODE = ?"), {kocode});
    return rs.eof() ? QString() : rs.text(QStringLiteral("KANNAME"));
}

QString kindLabelFor(const QString& syorikbn) {
    if (syorikbn == u"0") {
        return QStringLiteral("类    别");
    }
    if (syorikbn == u"1") {
        return QStringLiteral("现金存款");
    }
    if (syorikbn == u"2") {
        return QStringLiteral("现金合计");
    }
    return QString();
}

QString rowKey(int row) {
    return QStringLiteral("%1").arg(row + 1, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString AccountDetail::guidanceText() {
    return QStringList{QStringLiteral("科目编号在3个字节以内，科目名称在全角15个字以内。"),
                       QStringLiteral("注意：科目编号不能重复。"),
                       QString(),
                       QStringLiteral("上面的表示栏中，显示的是当前科目的属性。"),
                       QStringLiteral("选择“辅助科目设定”，可对辅助科目进行设定。"),
                       QStringLiteral("在列表中双击辅助科目，可对辅助科目进行修改。")}
        .join(Messages::kCrLf);
}

bool AccountDetail::Form_Load() {
    try {
        loadAccount();
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
}

void AccountDetail::loadAccount() {
    rowEditMode_ = false;
    active_ = 0;
    txtHK_Code.clear();
    txtHK_Name.clear();
    txtHK_Zandaka.clear();
    kocode_ = list_.hasActiveRow() ? list_.activeChartRow().kocode : QString();

    Database& db = Database::global();
    RecordSet rs = db.query(
        QStringLiteral("SELECT KMCODE, KANNAME, JUN, KISYUZAN, SYORIKBN, TOCODE, BUNCODE, SIYOU, "
                       "HOJOSET FROM T_KANJO WHERE KOCODE = ?"),
        {kocode_});
    const bool found = !rs.eof();
    const auto text = [&](const char* column) {
        return found ? rs.text(QLatin1String(column)).trimmed() : QString();
    };
    txtKamokuCode = text("KMCODE");
    txtKamokuName = text("KANNAME");
    txtNarabijyun = QString::number(found ? rs.number(QStringLiteral("JUN")) : 0);
    kisyuZandaka_ = found ? rs.money(QStringLiteral("KISYUZAN")) : Money();
    const QString syorikbn = text("SYORIKBN");
    const QString tocode = text("TOCODE");
    const QString buncode = text("BUNCODE");
    const QString siyou = text("SIYOU");
    const QString hojoset = text("HOJOSET");
    rs.close();

    useLabel_ = siyou == u"Y" ? QStringLiteral("使用中") : QStringLiteral("未使用");
    kindLabel_ = kindLabelFor(syorikbn);
    bunName_ = accountName(buncode);
    toName_ = accountName(tocode);
    // Income and expense accounts of daily entry take no subsidiary accounts.
    hojoAllowed_ = !(txtKamokuCode >= u"500" && txtKamokuCode <= u"800");

    rows_ = QList<SubsidiaryRow>(kSubsidiaryRows);
    QList<bool> stored(kSubsidiaryRows, false);
    RecordSet sub = db.query(QStringLiteral("SELECT * FROM T_HOJOKAMOKU WHERE KANKOCODE = ? AND "
                                            "CID = ? ORDER BY HOKOCODE"),
                             {kocode_, session().CurrentCid});
    for (; !sub.eof(); sub.moveNext()) {
        const int row = static_cast<int>(sub.number(QStringLiteral("HOKOCODE"))) - 1;
        if (row < 0 || row >= kSubsidiaryRows) {
            continue;
        }
        rows_[row] = {sub.text(QStringLiteral("HOCODE")), sub.text(QStringLiteral("HONAME")),
                      sub.money(QStringLiteral("KISYUZAN")), rowKey(row)};
        stored[row] = true;
    }
    for (int row = 0; row < kSubsidiaryRows; ++row) {
        if (!stored.at(row)) {
            rows_[row] = {txtKamokuCode + QString::number(row + 1), QString(), Money(),
                          rowKey(row)};
        }
    }

    ticked_ = hojoset == u"Y";
    deleteEnabled_ = ticked_;
}

void AccountDetail::chkHojokamoku_Click(bool ticked) {
    if (!hojoControlsEnabled()) {
        return;
    }
    ticked_ = ticked;
    deleteEnabled_ = ticked;
}

void AccountDetail::cmdHojokamoku_Click() {
    chkHojokamoku_Click(!ticked_);
}

void AccountDetail::spdSS_Click(int row) {
    if (!gridEnabled() || row < 0 || row >= rows_.size()) {
        return;
    }
    active_ = row;
    deleteEnabled_ = true;
}

void AccountDetail::spdSS_DblClick(int row) {
    if (!gridEnabled() || row < 0 || row >= rows_.size()) {
        return;
    }
    active_ = row;
    const SubsidiaryRow& r = rows_.at(row);
    txtHK_Code = r.hocode;
    txtHK_Name = r.honame;
    txtHK_Zandaka = r.kisyuzan.toText();
    setRowEditMode(true);
    host_.setFocusTo(QStringLiteral("txtHK_Code"));
}

void AccountDetail::setRowEditMode(bool on) {
    rowEditMode_ = on;
    if (!on) {
        txtHK_Code.clear();
        txtHK_Name.clear();
        txtHK_Zandaka.clear();
    }
}

void AccountDetail::refuse(const QString& text, const QString& control) {
    messages().exclamation(text);
    host_.setFocusTo(control);
}

void AccountDetail::cmdSyusei_Click() {
    if (!rowEditMode_) {
        return;
    }
    if (txtHK_Code.trimmed().isEmpty()) {
        refuse(QStringLiteral("请在输入辅助科目代码后单击“确定”。"), QStringLiteral("txtHK_Code"));
        return;
    }
    if (txtHK_Name.trimmed().isEmpty()) {
        refuse(QStringLiteral("请在输入辅助科目名后单击“确定”。"), QStringLiteral("txtHK_Name"));
        return;
    }
    const QString amountText = txtHK_Zandaka.trimmed();
    const auto amount =
        amountText.isEmpty() ? std::optional<Money>(Money()) : Money::parse(amountText);
    if (!amount) {
        refuse(QStringLiteral("请输入正确的期初余额。"), QStringLiteral("txtHK_Zandaka"));
        return;
    }
    if (!typedToTheCent(amountText)) {
        refuse(belowTheCentText(amountText), QStringLiteral("txtHK_Zandaka"));
        return;
    }
    SubsidiaryRow& row = rows_[active_];
    row.hocode = txtHK_Code.trimmed();
    row.honame = txtHK_Name.trimmed();
    row.kisyuzan = *amount;
    setRowEditMode(false);
}

void AccountDetail::cmdDelete_Click() {
    if (!deleteEnabled() || active_ < 0 || active_ >= rows_.size()) {
        return;
    }
    rows_[active_].honame.clear();
    rows_[active_].kisyuzan = Money();
}

void AccountDetail::cmdCancel_Click() {
    if (rowEditMode_) {
        setRowEditMode(false);
        return;
    }
    Form_Load();
}

void AccountDetail::cmdTouroku_Click() {
    bool ok = true;
    check_input(true, ok);
}

bool AccountDetail::Form_Unload() {
    if (kocode_.isEmpty() || !list_.hasActiveRow()) {
        return true;  // no account was loaded: nothing to check or save
    }
    // Closing the window in the middle of a row edit drops that edit.
    setRowEditMode(false);
    bool ok = true;
    check_input(true, ok);
    if (!ok) {
        return false;
    }
    return update_kanjo_data();
}

bool AccountDetail::checkLengths() {
    if (txtKamokuCode.trimmed().toUtf8().size() > kNumberBytes) {
        refuse(QStringLiteral("科目编号必须在3个字节以内。"), QStringLiteral("txtKamokuCode"));
        return false;
    }
    if (txtKamokuName.trimmed().toUcs4().size() > kNameCharacters) {
        refuse(QStringLiteral("科目名称必须在15个字以内。"), QStringLiteral("txtKamokuName"));
        return false;
    }
    return true;
}

void AccountDetail::check_input(bool flag, bool& ok) {
    ok = true;
    try {
        const QString number = txtKamokuCode.trimmed();
        if (flag) {
            if (!checkLengths()) {
                ok = false;
                return;
            }
            // The monthly and the statutory profit statements count these keys differently
            // (or not at all), so an account on one of them would unbalance a statement.
            static const QStringList conflicting{QStringLiteral("107"), QStringLiteral("164"),
                                                 QStringLiteral("223"), QStringLiteral("349"),
                                                 QStringLiteral("350")};
            if (!number.isEmpty() && conflicting.contains(kocode_)) {
                refuse(
                    QStringLiteral("这个科目（内部编号%1）在各报表中的计算方法互相矛盾，使用它会使"
                                   "报表不平衡，不能使用。请删除科目编号。")
                        .arg(kocode_),
                    QStringLiteral("txtKamokuCode"));
                ok = false;
                return;
            }
            if (!number.isEmpty()) {
                RecordSet rs = Database::global().query(
                    QStringLiteral("SELECT KOCODE FROM T_KANJO WHERE KMCODE = ?"), {number});
                for (; !rs.eof(); rs.moveNext()) {
                    if (rs.text(QStringLiteral("KOCODE")) != kocode_) {
                        refuse(QStringLiteral("科目名称重复。"), QStringLiteral("txtKamokuCode"));
                        ok = false;
                        return;
                    }
                }
            }
        }
        if (ticked_) {
            Money sum;
            for (const SubsidiaryRow& row : rows_) {
                sum += row.kisyuzan;
            }
            if (sum != kisyuZandaka_) {
                messages().exclamation(txtKamokuName.trimmed() +
                                       QStringLiteral("的期初余额和辅助科目的期初余额不一致。") +
                                       Messages::kCrLf + Messages::kCrLf +
                                       QStringLiteral("辅助科目的期初余额总计是￥") +
                                       sum.toExactDisplay());
                ok = false;
            }
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("check_input"));
        ok = false;
    }
}

void AccountDetail::writeSubsidiaryRows() {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    db.execute(QStringLiteral("DELETE FROM T_HOJOKAMOKU WHERE CID = ? AND KANKOCODE = ?"),
               {cid, kocode_});
    for (const SubsidiaryRow& row : rows_) {
        if (row.honame.trimmed().isEmpty()) {
            continue;
        }
        if (!WriteHojoKamokuTable(
                {cid, kocode_, row.hokocode, row.hocode, row.honame, row.kisyuzan.toText()},
                QStringLiteral("T_HOJOKAMOKU"))) {
            throw DbError(db.lastErrorNumber(), db.lastErrorText());
        }
    }
}

bool AccountDetail::update_kanjo_data() {
    if (!list_.hasActiveRow()) {
        return false;
    }
    ChartRow& row = list_.activeChartRow();
    const ChartRow before = row;
    try {
        const QString order = txtNarabijyun.trimmed();
        bool isNumber = true;
        const qint64 jun = order.isEmpty() ? 0 : order.toLongLong(&isNumber);
        if (!isNumber) {
            throw DbError(DbError::kInvalidValue, QStringLiteral("顺序“%1”不是数字。").arg(order));
        }
        row.kmcode = txtKamokuCode.trimmed();
        row.kanname = txtKamokuName.trimmed();
        row.jun = jun;
        row.hojoset = ticked_ ? QStringLiteral("Y") : QStringLiteral("N");

        TransactionGuard transaction;
        if (!list_.save_data(QStringLiteral("Y"))) {
            row = before;
            return false;
        }
        writeSubsidiaryRows();
        RecordSet period =
            Database::global().query(QStringLiteral("SELECT KISYU, KIMATU FROM WK_COMPANY"));
        if (!period.eof()) {
            const QString from = openingMonth(period.text(QStringLiteral("KISYU")).left(7));
            const QString to = period.text(QStringLiteral("KIMATU")).left(7);
            period.close();
            if (!MarkMonthsStale(from, to)) {
                row = before;
                return false;
            }
        }
        transaction.commit();
        return true;
    } catch (const DbError& error) {
        row = before;
        reportError(error, QStringLiteral("update_kanjo_data"));
        return false;
    }
}
