#include "entry/JournalPrint.h"

#include <QStringList>
#include <optional>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "print/PrintAccessReport.h"

const QString JournalPrint::kForm = QStringLiteral("prtSiwakeNikki");
const QString JournalPrint::kTitle = QStringLiteral("日记账");
const QString JournalPrint::kLayout = QStringLiteral("R_SIWAKE_NIKKI");

namespace {

const QString kWorkTable = QStringLiteral("T_SIALL_OUT");
const QString kNoAccountName = QStringLiteral("没有科目");

QString voucherNumber(int denno) {
    return QStringLiteral("%1").arg(denno, 5, 10, QLatin1Char('0'));
}

// One side of a line: account code, subsidiary code, their names, then BUKBN, TKBN and TKOCODE
// as stored and the two amounts (null as 0). "000" is no account; a key the chart no longer
// holds prints as itself, named "没有科目". The chart is joined, not asked once per line.
QString sideColumns(const QString& side, const QString& chart, const QString& subsidiaries) {
    return QStringLiteral(
               "CASE WHEN SM.%1KOCODE = '000' THEN '' WHEN %2.KOCODE IS NULL THEN "
               "COALESCE(SM.%1KOCODE, '') ELSE COALESCE(%2.KMCODE, '') END, "
               "CASE WHEN COALESCE(SM.%1HOKOCODE, '') = '' THEN '' ELSE COALESCE(%3.HOCODE, '') "
               "END, "
               "CASE WHEN SM.%1KOCODE = '000' THEN '' WHEN %2.KOCODE IS NULL THEN '%4' ELSE "
               "COALESCE(%2.KANNAME, '') END, "
               "CASE WHEN COALESCE(SM.%1HOKOCODE, '') = '' THEN '' ELSE COALESCE(%3.HONAME, '') "
               "END, "
               "SM.%1BUKBN, SM.%1TKBN, SM.%1TKOCODE, COALESCE(SM.%1TKIN, 0), COALESCE(SM.%1KIN, 0)")
        .arg(side, chart, subsidiaries, kNoAccountName);
}

QString sideJoins(const QString& side, const QString& chart, const QString& subsidiaries) {
    return QStringLiteral(
               " LEFT JOIN T_KANJO %2 ON %2.KOCODE = SM.%1KOCODE LEFT JOIN T_HOJOKAMOKU %3 ON "
               "%3.CID = SM.CID AND %3.KANKOCODE = SM.%1KOCODE AND %3.HOKOCODE = SM.%1HOKOCODE")
        .arg(side, chart, subsidiaries);
}

}  // namespace

bool JournalPrint::Form_Load() {
    // Like every report screen, it names itself as the caller while it is loaded.
    session().CallerForm = kForm;
    return loadDays();
}

bool JournalPrint::loadDays() {
    days_.clear();
    firstIndex_ = -1;
    lastIndex_ = -1;
    try {
        for (RecordSet rs = Database::global().query(
                 QStringLiteral("SELECT DENDAY, DENNO FROM T_SIWAKE WHERE CID = ? ORDER BY DENDAY"),
                 {session().CurrentCid});
             !rs.eof(); rs.moveNext()) {
            days_.append({rs.text(QStringLiteral("DENDAY")),
                          static_cast<int>(rs.number(QStringLiteral("DENNO")))});
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
}

bool JournalPrint::InputCheck() {
    if (days_.isEmpty()) {
        messages().exclamation(QStringLiteral("凭证类别不存在。"));
        return false;
    }
    if (firstIndex_ < 0 || firstIndex_ >= days_.size()) {
        firstIndex_ = 0;
    }
    if (lastIndex_ < 0 || lastIndex_ >= days_.size()) {
        lastIndex_ = int(days_.size()) - 1;
    }
    fromNumber_ = voucherNumber(days_.at(firstIndex_).denno);
    toNumber_ = voucherNumber(days_.at(lastIndex_).denno);
    fromDay_ = days_.at(firstIndex_).text;
    toDay_ = days_.at(lastIndex_).text;
    if (fromDay_ > toDay_ || fromNumber_ > toNumber_) {
        messages().exclamation(QStringLiteral("凭证编号或者凭证日期指定错误。") + Messages::kCrLf +
                               QStringLiteral("请重新选择一次。"));
        return false;
    }
    try {
        const QVariant any = Database::global().scalar(
            QStringLiteral("SELECT DENNO FROM T_SIWAKE E, T_SI_MEISAI I WHERE E.CID = ? AND "
                           "E.CID = I.CID AND E.DENCODE = I.DENCODE AND E.DENNO BETWEEN ? AND ? "
                           "AND E.DENDAY BETWEEN ? AND ? LIMIT 1"),
            {session().CurrentCid, fromNumber_, toNumber_, fromDay_, toDay_});
        if (any.isNull()) {
            messages().exclamation(QStringLiteral("没有符合条件的数据。"));
            return false;
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("InputCheck"));
        return false;
    }
}

bool JournalPrint::fillWorkTables() {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        // A caller that holds a transaction (the command-line tool) keeps the fill in it.
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        db.execute(QStringLiteral("DELETE FROM ") + kWorkTable);
        // "2024/05/01" prints as "24.05.01".
        db.execute(
            QStringLiteral(
                "INSERT INTO T_SIALL_OUT (CID, SIDAY, DENNO, DENMENO, SISYU, KRKMCODE, KRHOCODE, "
                "KRKANNAME, KRHONAME, KRBUKBN, KRTKBN, KRTKOCODE, KRTKIN, KRKIN, KSKMCODE, "
                "KSHOCODE, KSKANNAME, KSHONAME, KSBUKBN, KSTKBN, KSTKOCODE, KSTKIN, KSKIN, TEKIYO) "
                "SELECT SI.CID, CASE WHEN length(SM.SIDAY) = 10 THEN "
                "replace(substr(SM.SIDAY, 3), '/', '.') ELSE SM.SIDAY END, SI.DENNO, SM.DENMENO, "
                "SM.SISYU, %1, %2, SM.TEKIYO FROM T_SIWAKE SI JOIN T_SI_MEISAI SM ON SM.CID = "
                "SI.CID AND SM.DENCODE = SI.DENCODE%3%4 WHERE SI.CID = ? AND SI.DENNO BETWEEN ? "
                "AND ? AND SI.DENDAY BETWEEN ? AND ? ORDER BY SM.DENCODE, SM.DENMENO")
                .arg(sideColumns(QStringLiteral("KR"), QStringLiteral("KR"), QStringLiteral("HR")),
                     sideColumns(QStringLiteral("KS"), QStringLiteral("KS"), QStringLiteral("HS")),
                     sideJoins(QStringLiteral("KR"), QStringLiteral("KR"), QStringLiteral("HR")),
                     sideJoins(QStringLiteral("KS"), QStringLiteral("KS"), QStringLiteral("HS"))),
            {cid, fromNumber_, toNumber_, fromDay_, toDay_});
        QStringList header(10);
        header[6] = fromDay_;
        header[7] = toDay_;
        header[8] = QString::number(fromNumber_.toInt());
        header[9] = QString::number(toNumber_.toInt());
        if (!WritePrintKomokuTable(header, QStringLiteral("T_PRINTKOMOKU"))) {
            return false;
        }
        if (transaction) {
            transaction->commit();
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("PrintShiwakeDen"));
        return false;
    }
}

bool JournalPrint::PrintShiwakeDen(int mode) {
    if (!InputCheck()) {
        return false;
    }
    if (busy_) {
        busy_(true);
    }
    const bool filled = fillWorkTables();
    if (busy_) {
        busy_(false);
    }
    return filled &&
           PrintAccessReport(session().AppFolder + QStringLiteral("Kaikei.mdb"), kLayout, mode);
}

bool JournalPrint::cmdSyusei_Click() {
    if (!InputCheck()) {
        return false;
    }
    Session& s = session();
    s.MinDencode = fromNumber_;
    s.MaxDencode = toNumber_;
    s.CallerForm = kForm;
    return true;
}

void JournalPrint::cmdQuestion_Click() {
    messages().help(MsgIcon::Information,
                    QStringLiteral("把录入的交易内容作为日记账打印出来。") + Messages::kCrLf +
                        QStringLiteral("用A4纸打印。") + Messages::kCrLf +
                        QStringLiteral("在下拉框中选择日期，单击“打印预览”就会显示日记账一览表。"),
                    QStringLiteral("journal-ledgers"));
}

bool JournalPrint::fillForDays(const QString& fromDay, const QString& toDay) {
    if (!loadDays()) {
        return false;
    }
    if (!days_.isEmpty()) {
        int first = -1;
        int last = -1;
        for (int i = 0; i < days_.size(); ++i) {
            const QString& day = days_.at(i).text;
            if (first < 0 && (fromDay.isEmpty() || day >= fromDay)) {
                first = i;
            }
            if (toDay.isEmpty() || day <= toDay) {
                last = i;
            }
        }
        if (first < 0 || last < 0) {
            messages().exclamation(QStringLiteral("没有符合条件的数据。"));
            return false;
        }
        firstIndex_ = first;
        lastIndex_ = last;
    }
    return InputCheck() && fillWorkTables();
}
