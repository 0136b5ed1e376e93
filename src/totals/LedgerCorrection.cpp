#include "totals/LedgerCorrection.h"

#include <QStringList>
#include <algorithm>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"

const QString LedgerCorrection::kForm = QStringLiteral("InpSoukanjoMotchoH");
const QString LedgerCorrection::kSubsidiaryForm = QStringLiteral("prtSoukanjoHojoMotocho");

namespace {

QString joined(const QString& code, const QString& separator, const QString& name) {
    return (code.trimmed() + separator + name.trimmed()).trimmed();
}

}  // namespace

bool LedgerCorrection::Form_Load(const LedgerHeadings& headings) {
    caller_ = session().CallerForm;
    koumoku_ = headings.account;
    kikan_ = headings.firstMonth + QStringLiteral(" ～ ") + headings.lastMonth;
    rows_.clear();
    opened_ = false;
    Database& db = Database::global();
    try {
        RecordSet company = db.query(QStringLiteral("SELECT KISYU, KIMATU FROM WK_COMPANY"));
        if (!company.eof()) {
            periodFirst_ = company.text(QStringLiteral("KISYU"));
            periodLast_ = company.text(QStringLiteral("KIMATU"));
        }
        company.close();
        const QString table =
            subsidiary() ? QStringLiteral("T_SKANSUBMT_OUT") : QStringLiteral("T_SKANMT_OUT");
        // Carried-forward lines are not listed.
        for (RecordSet rs = db.query(QStringLiteral("SELECT * FROM %1 WHERE DENNO <> '0' AND "
                                                    "DENMENO <> '0' ORDER BY SIDAY, DENMENO")
                                         .arg(table));
             !rs.eof(); rs.moveNext()) {
            LedgerCorrectionRow row;
            row.siday = rs.text(QStringLiteral("SIDAY"));
            row.denno = rs.text(QStringLiteral("DENNO"));
            if (subsidiary()) {
                row.account = rs.text(QStringLiteral("KMNAME")).trimmed() + u'/' +
                              rs.text(QStringLiteral("AINAME")).trimmed();
                row.subsidiary = joined(rs.text(QStringLiteral("HOCODE")), QStringLiteral(" "),
                                        rs.text(QStringLiteral("HONAME")));
            } else {
                row.account = joined(rs.text(QStringLiteral("AICODE")), QStringLiteral("  "),
                                     rs.text(QStringLiteral("AINAME")));
                row.subsidiary = joined(rs.text(QStringLiteral("AIHOCODE")), QStringLiteral(" "),
                                        rs.text(QStringLiteral("AIHONAME")));
            }
            row.tekiyo = rs.text(QStringLiteral("TEKIYO"));
            row.krkin = rs.money(QStringLiteral("KRKIN"));
            row.kskin = rs.money(QStringLiteral("KSKIN"));
            rows_.append(row);
        }
        if (subsidiary() && !rows_.isEmpty()) {
            koumoku_ = rows_.first().subsidiary;
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
}

QString LedgerCorrection::title() const {
    return subsidiary() ? QStringLiteral("辅助账打印预览") : QStringLiteral("总账打印预览");
}

QStringList LedgerCorrection::headings() const {
    return {QStringLiteral("日期"),
            QStringLiteral("凭证号"),
            subsidiary() ? QStringLiteral("科目/对方科目") : QStringLiteral("对方科目"),
            QStringLiteral("辅助科目"),
            QStringLiteral("摘要"),
            QStringLiteral("借方金额"),
            QStringLiteral("贷方金额")};
}

int LedgerCorrection::gridRows() const {
    return std::max<int>(kMinimumRows, int(rows_.size()));
}

QString LedgerCorrection::voucherDay(const QString& siday) const {
    // The two-digit year is the period's year that ends in it (a period may cross New Year).
    const QString yy = siday.left(2);
    QString year = QStringLiteral("20") + yy;
    for (const QString& bound : {periodFirst_, periodLast_}) {
        if (bound.size() >= 4 && bound.mid(2, 2) == yy) {
            year = bound.left(4);
        }
    }
    return year + u'/' + siday.mid(3, 2) + u'/' + siday.mid(6, 2);
}

bool LedgerCorrection::cmdsyusei_Click(int row) {
    const QString number =
        row >= 0 && row < rows_.size() ? rows_.at(row).denno.trimmed() : QString();
    if (number.isEmpty()) {
        messages().exclamation(QStringLiteral("被选择的行没有数据。"));
        return false;
    }
    try {
        RecordSet rs = Database::global().query(
            QStringLiteral(
                "SELECT DENCODE, DENNO FROM T_SIWAKE WHERE CID = ? AND DENNO = ? AND DENDAY = ?"),
            {session().CurrentCid,
             QStringLiteral("%1").arg(number.toInt(), 5, 10, QLatin1Char('0')),
             voucherDay(rows_.at(row).siday)});
        if (rs.eof()) {
            messages().exclamation(QStringLiteral("被选择的行没有数据。"));
            return false;
        }
        Session& s = session();
        if (!opened_) {
            savedMaxDencode_ = s.MaxDencode;
        }
        opened_ = true;
        s.MaxDencode = rs.text(QStringLiteral("DENCODE"));
        s.CallerForm = kForm;
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdsyusei_Click"));
        return false;
    }
}

void LedgerCorrection::returned() {
    if (opened_) {
        session().MaxDencode = savedMaxDencode_;
        opened_ = false;
    }
}

QString LedgerCorrection::close() {
    returned();
    session().CallerForm = caller_;
    return caller_;
}

void LedgerCorrection::cmdQuestion_Click() {
    messages().help(MsgIcon::None,
                    QStringLiteral("在修改数据的时候") + Messages::kCrLf +
                        QStringLiteral("选择想要修改的数据后单击“确定”。"),
                    QStringLiteral("journal-ledgers"));
}
