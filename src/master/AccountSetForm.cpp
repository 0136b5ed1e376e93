#include "master/AccountSetForm.h"

#include <QSet>
#include <QStringList>

#include "common/Clock.h"
#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/RowWriters.h"
#include "master/CurrentAccountSet.h"

namespace {

const QString kMainMenu = QStringLiteral("MainMenu");
const QString kHousehold = QStringLiteral("01");
const QString kUnsetPeriodStart = QStringLiteral("2000/01/01");
const QString kFirstUserSet = QStringLiteral("51");
constexpr int kFirstUserNumber = 51;
constexpr int kNumberLimit = 100;
constexpr int kMaxRows = 99;

const QString kEndBeforeStart = QStringLiteral("结束日期应该在起始日期之后。");
const QString kEndTooLate = QStringLiteral(
    "结束日期不能大于起始日期+1年后的日期，默认设置结束日期为开始日期一年后的日期。");

QString cidText(int number) {
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

// A prepared set whose period has never been set.
bool isTemplateSet(const QString& cid, const QString& kisyu) {
    return cid < kFirstUserSet && kisyu.trimmed() == kUnsetPeriodStart;
}

}  // namespace

QString AccountSetForm::objectName(Field field) {
    static const QString names[] = {
        QString(),
        QStringLiteral("txtKaisyaName"),
        QStringLiteral("txtKaisyaFurigana"),
        QStringLiteral("txtYubin"),
        QStringLiteral("txtTodohuken"),
        QStringLiteral("txtJyusho1"),
        QStringLiteral("txtJyusho2"),
        QStringLiteral("txtTel"),
        QStringLiteral("txtFax"),
        QStringLiteral("txtDaihyoYakusyoku"),
        QStringLiteral("txtDaihyoName"),
        QStringLiteral("txtKaikeiNendo"),
        QStringLiteral("txtKisyubi"),
        QStringLiteral("txtKimatubi"),
        QStringLiteral("txtSeturituNen"),
        QStringLiteral("txtShihonkin"),
        QStringLiteral("numRate"),
    };
    return names[static_cast<int>(field)];
}

std::array<QString, 4> AccountSetForm::labelCaptions(Owner owner) {
    if (owner == Owner::Hojin) {
        return {QStringLiteral("公司简称"), QStringLiteral("公司全称"), QStringLiteral("法人代表"),
                QStringLiteral("法人职务")};
    }
    return {QStringLiteral("业主姓名"), QStringLiteral("执照名称"), QStringLiteral("真实姓名"),
            QStringLiteral("业务种类")};
}

bool AccountSetForm::refuse(const QString& text, Field field) {
    messages().exclamation(text);
    focusField_ = field;
    return false;
}

void AccountSetForm::Form_Load(const QString& caller) {
    focusField_ = Field::None;
    periodLocked_ = false;
    newSet_ = caller == kMainMenu;
    if (newSet_) {
        kaisha_num_check();
    } else if (set_data_to_form()) {
        readPeriodLock();
    }
}

bool AccountSetForm::readPeriodLock() {
    try {
        // Days with a balance were counted from the current start: the period stays as it is.
        periodLocked_ = !Database::global()
                             .scalar(QStringLiteral("SELECT DENNO FROM T_SIWAKE WHERE CID = ? AND "
                                                    "(YDAYZAN <> 0 OR DAYZAN <> 0)"),
                                     {session().CurrentCid})
                             .isNull();
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
}

bool AccountSetForm::set_data_to_form() {
    const QString cid = session().CurrentCid;
    try {
        RecordSet rs = Database::global().query(
            QStringLiteral("SELECT * FROM T_COMP_MAIN WHERE CID = ?"), {cid});
        if (rs.eof()) {
            clearInputs();
            editPending_ = false;
            return true;
        }
        AccountSetFields f = companyRowFields(rs);
        // A prepared set still carries the placeholder period: propose this calendar year.
        const bool proposed = isTemplateSet(cid, f.txtKisyubi);
        if (proposed) {
            const QString year = QString::number(Clock::today().year());
            f.txtKisyubi = year + QStringLiteral("/01/01");
            f.txtKimatubi = year + QStringLiteral("/12/31");
        }
        fields = f;
        editPending_ = proposed;
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("set_data_to_form"));
        return false;
    }
}

bool AccountSetForm::kaisha_num_check() {
    try {
        const qint64 sets = Database::global()
                                .scalar(QStringLiteral("SELECT COUNT(CID) FROM T_COMP_MAIN"))
                                .toLongLong();
        if (sets >= kMaxRows) {
            messages().exclamation(
                QStringLiteral("账套的注册数在99个以内，超过这个数目就不能注册了。"));
            return false;
        }
        clearInputs();
        editPending_ = false;
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("kaisha_num_check"));
        return false;
    }
}

void AccountSetForm::clearInputs() {
    const Fields defaults;
    const Period period = fields.period;
    const Owner owner = fields.owner;
    const RateUse rateUse = fields.rateUse;
    fields = defaults;
    // Options are not input boxes: they keep their choice.
    fields.period = period;
    fields.owner = owner;
    fields.rateUse = rateUse;
}

void AccountSetForm::setOwner(Owner owner) {
    fields.owner = owner;
    editPending_ = true;
}

void AccountSetForm::txtKisyubi_LostFocus() {
    focusField_ = Field::None;
    const QDate start = accountSetDate(fields.txtKisyubi);
    if (!start.isValid()) {
        messages().exclamation(QStringLiteral("起始日期必须输入。"));
        return;
    }
    const QDate fullEnd = fullYearEnd(start);
    if (fields.period == Period::Tujo) {
        messages().information(QStringLiteral("显示结束日期。"));
        fields.txtKimatubi = fullEnd.toString(u"yyyy/MM/dd");
    } else if (!fields.txtKimatubi.trimmed().isEmpty()) {
        const QDate end = accountSetDate(fields.txtKimatubi);
        if (!end.isValid() || end < start) {
            messages().exclamation(kEndBeforeStart);
            fields.txtKimatubi = fullEnd.toString(u"yyyy/MM/dd");
        } else if (end > fullEnd) {
            messages().exclamation(kEndTooLate);
            fields.txtKimatubi = fullEnd.toString(u"yyyy/MM/dd");
        }
    }
    editPending_ = true;
}

bool AccountSetForm::validate() {
    focusField_ = Field::None;
    const Fields& f = fields;
    if (f.txtKaisyaName.trimmed().isEmpty()) {
        return refuse(f.owner == Owner::Hojin ? QStringLiteral("公司略称未输入。")
                                              : QStringLiteral("业主姓名未输入。"),
                      Field::txtKaisyaName);
    }
    if (f.txtKaikeiNendo.trimmed().isEmpty()) {
        return refuse(QStringLiteral("会计年度未输入"), Field::txtKaikeiNendo);
    }
    const QDate start = accountSetDate(f.txtKisyubi);
    if (!start.isValid()) {
        return refuse(QStringLiteral("年度起始日期未输入。"), Field::txtKisyubi);
    }
    const QDate end = accountSetDate(f.txtKimatubi);
    if (!end.isValid()) {
        return refuse(QStringLiteral("年度结束日期未输入。"), Field::txtKimatubi);
    }
    const QDate fullEnd = fullYearEnd(start);
    if (f.period == Period::Tujo && end != fullEnd) {
        return refuse(QStringLiteral("选择了通常时，起始日期应与结束日期相呼应。"),
                      Field::txtKimatubi);
    }
    if (f.period == Period::Kichu && end < start) {
        return refuse(kEndBeforeStart, Field::txtKimatubi);
    }
    if (f.period == Period::Kichu && end > fullEnd) {
        return refuse(kEndTooLate, Field::txtKimatubi);
    }
    if (f.rateUse == RateUse::Yes && f.numRate == 0) {
        return refuse(QStringLiteral("汇率未输入。"), Field::numRate);
    }
    return true;
}

bool AccountSetForm::cmdTouroku_Click() {
    if (!validate()) {
        return false;
    }
    return newSet_ ? createAccountSet() : update_data();
}

int AccountSetForm::nextAccountSetNumber() const {
    // By number, not by place in the list: a deleted prepared set shifts the places.
    QSet<int> used;
    for (const AccountSetEntry& entry : list_.accountSets()) {
        used.insert(entry.itemData);
    }
    int candidate = kFirstUserNumber;
    while (candidate < kNumberLimit && used.contains(candidate)) {
        ++candidate;
    }
    return candidate;
}

bool AccountSetForm::createAccountSet() {
    const int number = nextAccountSetNumber();
    if (number >= kNumberLimit) {
        messages().exclamation(QStringLiteral("账套的注册数在99个以内，超过后不能注册。"));
        return false;
    }
    const QString cid = cidText(number);
    const QStringList row = companyRowValues(fields, cid);
    if (!WriteCompanyTable(row, QStringLiteral("T_COMP_MAIN"))) {
        const Database& db = Database::global();
        messages().error(db.lastErrorNumber(), db.lastErrorText(),
                         QStringLiteral("cmdTouroku_Click"));
        return false;
    }
    // The main window makes the new set current and gives it its own copy of the chart.
    list_.addAccountSet(fields.txtKaisyaName.trimmed(), number);
    newSet_ = false;
    set_data_to_form();
    editPending_ = false;
    return true;
}

bool AccountSetForm::update_data() {
    try {
        updateCompanyRow(fields, session().CurrentCid);
        editPending_ = false;
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("update_data"));
        return false;
    }
}

void AccountSetForm::cmdCancel_Click() {
    focusField_ = Field::None;
    clearInputs();
    editPending_ = false;
    if (!newSet_) {
        set_data_to_form();
    }
}

void AccountSetForm::cmdQuestion1_Click() {
    messages().help(MsgIcon::Information,
                    QStringLiteral("通常:会计期满一年时。") + Messages::kCrLf +
                        QStringLiteral("期中:会计期不满一年（重新设立法人或新建公司）时。"),
                    QStringLiteral("account-sets"));
}

AccountSetForm::DeleteResult AccountSetForm::cmdDelete_Click() {
    const QString cid = session().CurrentCid;
    if (newSet_) {
        return DeleteResult::NotDeleted;
    }
    if (cid == kHousehold) {
        messages().exclamation(QStringLiteral("家计簿不能删除。"));
        return DeleteResult::NotDeleted;
    }
    if (messages().askOkCancel(QStringLiteral("删除账套，结束编辑。可以吗？"), MsgAnswer::Cancel,
                               MsgIcon::Exclamation) != MsgAnswer::Ok) {
        return DeleteResult::NotDeleted;
    }
    Database& db = Database::global();
    try {
        TransactionGuard transaction(db);
        deleteAccountSetRows(cid);
        transaction.commit();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdDelete_Click"));
        return DeleteResult::NotDeleted;
    }
    // The main window drops the entry and makes its first set current.
    list_.removeAccountSet(cid.toInt());
    try {
        const QString next = session().CurrentCid;
        const QString kisyu =
            db.scalar(QStringLiteral("SELECT KISYU FROM T_COMP_MAIN WHERE CID = ?"), {next})
                .toString();
        if (!isTemplateSet(next, kisyu)) {
            return DeleteResult::Closed;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdDelete_Click"));
        return DeleteResult::Closed;
    }
    // Its period has to be set before it can be used.
    periodLocked_ = false;
    if (set_data_to_form()) {
        readPeriodLock();
    }
    return DeleteResult::Reloaded;
}

bool AccountSetForm::unload_form() {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        RecordSet current = db.query(QStringLiteral("SELECT * FROM WK_COMPANY"));
        const bool inSession = !current.eof();
        const QString sessionStart = inSession ? current.text(QStringLiteral("KISYU")) : QString();
        current.close();
        RecordSet stored =
            db.query(QStringLiteral("SELECT * FROM T_COMP_MAIN WHERE CID = ?"), {cid});
        const bool isStored = !stored.eof();
        const QString storedStart = isStored ? stored.text(QStringLiteral("KISYU")) : QString();
        stored.close();

        TransactionGuard transaction(db);
        if (inSession && isStored && sessionStart.trimmed() != storedStart.trimmed()) {
            // The days were numbered from the old start; the entry screen builds them again.
            // Their lines and day amounts go with them, or they would attach to the new days
            // that take the same codes and dates.
            db.execute(QStringLiteral("DELETE FROM T_SIWAKE WHERE CID = ?"), {cid});
            db.execute(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = ?"), {cid});
            db.execute(QStringLiteral("DELETE FROM T_DAY_TORAN WHERE CID = ?"), {cid});
        }
        if (!ResetCompanyData()) {
            return false;
        }
        transaction.commit();
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("unload_form"));
        return false;
    }
}
