#include "session/MainMenuLogic.h"

#include "common/Messages.h"
#include "common/Session.h"
#include "db/DataSource.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "entry/VoucherRange.h"
#include "master/CurrentAccountSet.h"
#include "session/PasswordLogic.h"
#include "totals/MonthFlags.h"

namespace {

const QString kUnsetPeriodStart = QStringLiteral("2000/01/01");
const QString kFirstUserSet = QStringLiteral("51");

QString cidText(int itemData) {
    return QStringLiteral("%1").arg(itemData, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString MainMenuLogic::readMeText() {
    return QStringList{
        QStringLiteral("☆用户须知"),
        QStringLiteral("   在单击“日间结算”之前，请确认已经完成以下操作。"),
        QString(),
        QStringLiteral("◎账套登录之前"),
        QStringLiteral("   请在“选择账套登录”列表里，选择贵公司最接近的业务种类。"),
        QStringLiteral("   （在此需要花费一点时间，请稍等。）"),
        QStringLiteral("   选择后，进行数据录入处理。"),
        QString(),
        QStringLiteral("   在没有找到相近业务种类的情况下，请选择“新建账套”进行登录。"),
        QString(),
        QStringLiteral("◎账套登录之后"),
        QStringLiteral("   上述准备工作完成后，在“选择账套登录”列表中选择登录过的账套。"),
        QStringLiteral("   单击“日间结算”进行每日的数据录入处理。"),
        QString(),
        QStringLiteral("建议用户将显示器分辨率设置为800x600。")}
        .join(Messages::kCrLf);
}

bool MainMenuLogic::openDatabase() {
    bool created = false;
    bool picked = false;
    for (;;) {
        try {
            DataSource::open();
            return true;
        } catch (const DbError& error) {
            if (error.number() == DbError::kInUse) {
                messages().exclamation(error.description());
                session().RunState = 1;
                return false;
            }
            if (error.number() == DbError::kUnrecognized ||
                error.number() == DbError::kNewerVersion ||
                error.number() == DbError::kUpgradeFailed) {
                // The file is there but cannot be used: say why; creating one is no answer.
                messages().exclamation(error.description());
                created = true;
            }
        }
        if (!created) {
            created = true;
            DataSource::RegisterDataSource(true);
            continue;
        }
        if (!picked) {
            picked = true;
            if (DataSource::RegisterDataSource(false,
                                               [this] { return host_.pickDatabaseFile(); })) {
                continue;
            }
        }
        messages().exclamation(QStringLiteral("数据库连接出现错误，系统无法启动。"));
        session().RunState = 1;
        return false;
    }
}

void MainMenuLogic::load() {
    session().RunState = 0;
    host_.showProgress(10, QStringLiteral("开始装载数据库数据。"));
    if (!openDatabase()) {
        host_.hideProgress();
        bookButtonsEnabled_ = false;
        return;
    }
    set_start();
}

void MainMenuLogic::set_start() {
    Session& s = session();
    host_.showProgress(20, QStringLiteral("装载基础设置数据。"));
    s.CurrentCid = Session::kNoAccountSetMarker;
    loading_ = true;
    s.CurrentYearLoaded = true;
    entries_.clear();
    selected_ = -1;
    Database& db = Database::global();
    passwordPresent_ = true;
    try {
        passwordPresent_ = !PasswordLogic::storedPassword().isEmpty();
    } catch (const DbError&) {
        // Reported below when the rest of the start fails too; asked for all the same.
    }
    try {
        TransactionGuard transaction(db);
        const QVariant remembered = db.scalar(QStringLiteral("SELECT CID FROM WK_COMPANY"));
        if (!remembered.isNull()) {
            s.CurrentCid = remembered.toString();
        }
        struct Row {
            QString cid, kisyu, kimatu, label;
        };
        QList<Row> rows;
        RecordSet rs = db.query(QStringLiteral("SELECT * FROM T_COMP_MAIN ORDER BY CID"));
        for (; !rs.eof(); rs.moveNext()) {
            const QString kisyu = rs.text(QStringLiteral("KISYU"));
            rows.append({rs.text(QStringLiteral("CID")), kisyu, rs.text(QStringLiteral("KIMATU")),
                         periodLabelFor(rs.text(QStringLiteral("GKBN")),
                                        rs.text(QStringLiteral("NENDOSU")), kisyu)});
            entries_.append({rs.text(QStringLiteral("COMPANY")), rows.last().cid.toInt()});
        }
        rs.close();
        if (rows.isEmpty()) {
            bookButtonsEnabled_ = false;
        } else {
            // The set used last time; the lowest when there is none or it has been deleted.
            const auto isCurrent = [&](const Row& r) { return r.cid == s.CurrentCid; };
            selected_ =
                static_cast<int>(std::find_if(rows.begin(), rows.end(), isCurrent) - rows.begin());
            if (selected_ == rows.size()) {
                selected_ = 0;
            }
            const Row& current = rows.at(selected_);
            s.CurrentCid = current.cid;
            s.PeriodLabel = current.label;
            db.execute(QStringLiteral("DELETE FROM WK_COMPANY"));
            db.execute(
                QStringLiteral("INSERT INTO WK_COMPANY SELECT * FROM T_COMP_MAIN WHERE CID = ?"),
                {s.CurrentCid});
            companyName_ = entries_.at(selected_).text;
            loading_ = false;
            host_.showProgress(50, QStringLiteral("装载日期输入数据。"));
            if (!SetDayInputData(current.kisyu.left(7), current.kimatu.left(7)) ||
                !SetTukisimeData(current.kisyu.left(7), current.kimatu.left(7))) {
                throw DbError(DbError::kInvalidValue, QStringLiteral("装载日期输入数据失败。"));
            }
        }
        transaction.commit();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("set_start"));
        s.RunState = 2;
        bookButtonsEnabled_ = false;
    }
    loading_ = false;
    host_.showProgress(100, QString());
    host_.hideProgress();
}

bool MainMenuLogic::loginRequired() const {
    return session().RunState != 1 && passwordPresent_;
}

void MainMenuLogic::cmbKaikeiData_Click(int index) {
    if (loading_ || index < 0 || index >= entries_.size()) {
        return;
    }
    Session& s = session();
    const QString newCid = cidText(entries_.at(index).itemData);
    if (newCid == s.CurrentCid) {
        return;
    }
    const QString oldCid = s.CurrentCid;
    const QString oldName = companyName_;
    const QString oldLabel = s.PeriodLabel;
    s.CurrentCid = newCid;
    companyName_ = entries_.at(index).text;
    selected_ = index;
    host_.setBusy(true);
    bool switched = false;
    try {
        TransactionGuard transaction;
        if (ResetCompanyData()) {
            change_kanjo_data(switched);
        }
        if (switched) {
            transaction.commit();
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmbKaikeiData_Click"));
        switched = false;
    }
    if (!switched) {
        // The transaction was rolled back: the previous set stays current.
        s.CurrentCid = oldCid;
        s.PeriodLabel = oldLabel;
        companyName_ = oldName;
        host_.setBusy(false);
        return;
    }
    try {
        const QString kisyu =
            Database::global().scalar(QStringLiteral("SELECT KISYU FROM WK_COMPANY")).toString();
        if (s.CurrentCid < kFirstUserSet && kisyu.trimmed() == kUnsetPeriodStart) {
            // A prepared set chosen for the first time: company and period come first.
            s.CallerForm = QStringLiteral("SyokiSetMenu");
            host_.openScreen(QStringLiteral("InpKaisyaJoho"));
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmbKaikeiData_Click"));
    }
    host_.setBusy(false);
}

void MainMenuLogic::addEntry(const QString& text, int itemData) {
    auto at = std::find_if(entries_.begin(), entries_.end(),
                           [itemData](const AccountSetEntry& e) { return e.itemData > itemData; });
    const auto index = static_cast<int>(at - entries_.begin());
    entries_.insert(index, {text, itemData});
    if (selected_ >= index) {
        ++selected_;
    }
    cmbKaikeiData_Click(index);
    // Only a set that is now current opens the books.
    if (session().CurrentCid == cidText(itemData)) {
        bookButtonsEnabled_ = true;
    }
}

void MainMenuLogic::removeEntry(int itemData) {
    entries_.removeIf([itemData](const AccountSetEntry& e) { return e.itemData == itemData; });
    selected_ = -1;
    if (entries_.isEmpty()) {
        session().CurrentCid = Session::kNoAccountSetMarker;
        companyName_.clear();
        bookButtonsEnabled_ = false;
        return;
    }
    cmbKaikeiData_Click(0);
}

bool MainMenuLogic::periodGuard(Guarded button) {
    static const QString routines[] = {QStringLiteral("cmdInOutsyori_Click"),
                                       QStringLiteral("cmdKantanInp_Click"),
                                       QStringLiteral("cmdSave_Click")};
    static const QString advice[] = {
        QStringLiteral("请在基础设置菜单的账套选项中重新设定后再选择账簿管理。"),
        QStringLiteral("请在基础设置菜单的账套选项中重新设定后再选择日间结算。"),
        QStringLiteral("请在基础设置菜单的账套选项中重新设定后再选择数据处理。")};
    const auto which = static_cast<int>(button);
    try {
        const QVariant kisyu =
            Database::global().scalar(QStringLiteral("SELECT KISYU FROM WK_COMPANY"));
        if (kisyu.toString() == kUnsetPeriodStart) {
            messages().exclamation(QStringLiteral("账套的会计期间没有被正确设定。") +
                                   Messages::kCrLf + advice[which]);
            return false;
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, routines[which]);
        return false;
    }
}

void MainMenuLogic::cmdNewKaisyaJoho_Click() {
    session().CallerForm = QStringLiteral("MainMenu");
    host_.openScreen(QStringLiteral("InpKaisyaJoho"));
}

void MainMenuLogic::cmdSyokiSet_Click() {
    host_.openScreen(QStringLiteral("SyokiSetMenu"));
}

void MainMenuLogic::cmdInOutsyori_Click() {
    if (periodGuard(Guarded::InOut)) {
        host_.openScreen(QStringLiteral("InOutMenu"));
    }
}

void MainMenuLogic::cmdKantanInp_Click() {
    if (periodGuard(Guarded::KantanInp) && GetMinMaxSiwakeDenCode()) {
        session().CallerForm = QStringLiteral("MainMenu");
        host_.openScreen(QStringLiteral("InpKantanSiwake"));
    }
}

void MainMenuLogic::cmdSave_Click() {
    if (periodGuard(Guarded::Save)) {
        host_.openScreen(QStringLiteral("SaveUpdateMenu"));
    }
}

void MainMenuLogic::Form_Unload() {
    Session& s = session();
    Database& db = Database::global();
    try {
        if (s.RunState == 0) {
            if (!s.CurrentYearLoaded) {
                host_.setBusy(true);
                host_.showMessageLabel(QStringLiteral("本 年 度 数 据 自 动 恢 复 中 ！！"));
                RecordSet rs = db.query(QStringLiteral("SELECT KISYU, KIMATU FROM WK_COMPANY"));
                const QString first =
                    rs.eof() ? QString() : rs.text(QStringLiteral("KISYU")).left(7);
                const QString last =
                    rs.eof() ? QString() : rs.text(QStringLiteral("KIMATU")).left(7);
                rs.close();
                host_.resetNowYearData(first, last);
                host_.showMessageLabel(QString());
                host_.setBusy(false);
            }
            if (messages().askYesNo(QStringLiteral("系统自动进行数据备份，要执行吗?"),
                                    MsgAnswer::No) == MsgAnswer::Yes) {
                host_.dataBackUp();
            }
        }
    } catch (const DbError& error) {
        host_.setBusy(false);
        reportError(error, QStringLiteral("Form_Unload"));
    }
    if (s.RunState != 1) {
        try {
            DataSource::close();
        } catch (const DbError& error) {
            reportError(error, QStringLiteral("Form_Unload"));
        }
    }
}
