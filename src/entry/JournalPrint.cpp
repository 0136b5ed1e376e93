#include "entry/JournalPrint.h"

#include <QHash>
#include <QStringList>
#include <optional>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/RowWriters.h"
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

// "2024/05/01" as "24.05.01".
QString shortDay(const QString& day) {
    if (day.size() != 10) {
        return day;
    }
    QString text = day.mid(2);
    text.replace(u'/', u'.');
    return text;
}

// Stored as "" rather than NULL, as every text of the program's tables.
const QString kEmpty = QStringLiteral("");

struct CodeAndName {
    QString code = kEmpty;
    QString name = kEmpty;
};

// The chart read once per fill, so that a year's lines do not cost a query each.
class ChartNames {
  public:
    explicit ChartNames(Database& db, const QString& cid) {
        for (RecordSet rs = db.query(QStringLiteral("SELECT KOCODE, KMCODE, KANNAME FROM T_KANJO"));
             !rs.eof(); rs.moveNext()) {
            accounts_.insert(rs.valueAt(0).toString(),
                             {rs.valueAt(1).toString(), rs.valueAt(2).toString()});
        }
        for (RecordSet rs = db.query(QStringLiteral("SELECT KANKOCODE, HOKOCODE, HOCODE, HONAME "
                                                    "FROM T_HOJOKAMOKU WHERE CID = ?"),
                                     {cid});
             !rs.eof(); rs.moveNext()) {
            subsidiaries_.insert(subsidiaryKey(rs.valueAt(0).toString(), rs.valueAt(1).toString()),
                                 {rs.valueAt(2).toString(), rs.valueAt(3).toString()});
        }
    }

    // "000" is no account; a key the chart no longer holds prints as itself.
    CodeAndName account(const QString& kocode) const {
        if (kocode == u"000") {
            return {};
        }
        const auto found = accounts_.constFind(kocode);
        return found == accounts_.cend() ? CodeAndName{kocode, kNoAccountName} : *found;
    }

    CodeAndName subsidiary(const QString& kocode, const QString& hokocode) const {
        if (hokocode.isEmpty()) {
            return {};
        }
        return subsidiaries_.value(subsidiaryKey(kocode, hokocode));
    }

  private:
    static QString subsidiaryKey(const QString& kocode, const QString& hokocode) {
        return kocode + u'\x1f' + hokocode;
    }

    QHash<QString, CodeAndName> accounts_;
    QHash<QString, CodeAndName> subsidiaries_;
};

// Columns of the line query: the line, then each side's KOCODE, HOKOCODE, BUKBN, TKBN,
// TKOCODE, TKIN and KIN, then the description.
enum LineColumn {
    kSiday,
    kDenno,
    kDenmeno,
    kSisyu,
    kDebit,
    kCredit = kDebit + 7,
    kTekiyo = kCredit + 7
};

QString text(const RecordSet& rs, int column) {
    return rs.valueAt(column).toString();
}

// Null reads as 0; the amount keeps its column form.
QVariant amount(const RecordSet& rs, int column) {
    return Money::fromDb(rs.valueAt(column)).toDb();
}

// One side of a line into the nine work-table columns from first on: account code, subsidiary
// code, their names, then BUKBN, TKBN, TKOCODE, TKIN and KIN as stored.
void putSide(QVariantList& row, int first, const RecordSet& line, int side,
             const ChartNames& chart) {
    const QString kocode = text(line, side);
    const CodeAndName account = chart.account(kocode);
    const CodeAndName subsidiary = chart.subsidiary(kocode, text(line, side + 1));
    row[first] = account.code;
    row[first + 1] = subsidiary.code;
    row[first + 2] = account.name;
    row[first + 3] = subsidiary.name;
    for (int i = 2; i <= 4; ++i) {
        row[first + 2 + i] = line.valueAt(side + i);
    }
    row[first + 7] = amount(line, side + 5);
    row[first + 8] = amount(line, side + 6);
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
        const ChartNames chart(db, cid);
        // A caller that holds a transaction (the command-line tool) keeps the fill in it.
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        RecordSet lines = db.query(
            QStringLiteral(
                "SELECT SM.SIDAY, SI.DENNO, SM.DENMENO, SM.SISYU, SM.KRKOCODE, SM.KRHOKOCODE, "
                "SM.KRBUKBN, SM.KRTKBN, SM.KRTKOCODE, SM.KRTKIN, SM.KRKIN, SM.KSKOCODE, "
                "SM.KSHOKOCODE, SM.KSBUKBN, SM.KSTKBN, SM.KSTKOCODE, SM.KSTKIN, SM.KSKIN, "
                "SM.TEKIYO FROM T_SI_MEISAI SM, T_SIWAKE SI WHERE SI.CID = ? AND SM.CID = ? AND "
                "SI.DENNO BETWEEN ? AND ? AND SI.DENDAY BETWEEN ? AND ? AND SM.DENCODE = "
                "SI.DENCODE ORDER BY SM.DENCODE, SM.DENMENO"),
            {cid, cid, fromNumber_, toNumber_, fromDay_, toDay_});
        db.execute(QStringLiteral("DELETE FROM ") + kWorkTable);
        QVariantList row(24);
        row[0] = cid;
        for (; !lines.eof(); lines.moveNext()) {
            row[1] = shortDay(text(lines, kSiday));
            row[2] = lines.valueAt(kDenno);
            row[3] = lines.valueAt(kDenmeno);
            row[4] = lines.valueAt(kSisyu);
            putSide(row, 5, lines, kDebit, chart);
            putSide(row, 14, lines, kCredit, chart);
            row[23] = lines.valueAt(kTekiyo);
            if (!WriteSiallOutTable(row)) {
                messages().error(db.lastErrorNumber(), db.lastErrorText(),
                                 QStringLiteral("PrintShiwakeDen"));
                return false;
            }
        }
        lines.close();
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
    messages().information(
        QStringLiteral("把录入的交易内容作为日记账打印出来。") + Messages::kCrLf +
        QStringLiteral("用A4纸打印。") + Messages::kCrLf +
        QStringLiteral("在下拉框中选择日期，单击“打印预览”就会显示日记账一览表。"));
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
