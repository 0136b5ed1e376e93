#include "master/ChartList.h"

#include <algorithm>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "master/AccountListFill.h"
#include "print/PrintAccessReport.h"

namespace {

// The chart holds "" rather than NULL for an empty text.
QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QString classCode(int itemData) {
    return QStringLiteral("%1").arg(itemData, 3, 10, QLatin1Char('0'));
}

}  // namespace

QList<ClassEntry> ChartList::headingsUnder(const QString& classCode) {
    QList<ClassEntry> entries;
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT KANNAME, KOCODE FROM T_KANJO WHERE SYORIKBN = '2' AND SIYOU = 'Y' "
                       "AND BUNCODE = ? ORDER BY KOCODE"),
        {classCode});
    for (; !rs.eof(); rs.moveNext()) {
        entries.append({rs.text(QStringLiteral("KANNAME")),
                        static_cast<int>(rs.number(QStringLiteral("KOCODE")))});
    }
    return entries;
}

void ChartList::clearGrid() {
    rows_.clear();
    active_ = -1;
}

bool ChartList::Form_Load() {
    try {
        dai_ = headingsUnder(QStringLiteral("000"));
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
}

void ChartList::cmbDaiBunrui_Click(int index) {
    if (index < 0 || index >= dai_.size()) {
        return;
    }
    daiIndex_ = index;
    bigClass_ = classCode(dai_.at(index).itemData);
    middleClass_ = QStringLiteral("0");
    smallClass_ = QStringLiteral("0");
    chu_.clear();
    syo_.clear();
    chuIndex_ = -1;
    syoIndex_ = -1;
    clearGrid();
    try {
        chu_ = headingsUnder(bigClass_);
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmbDaiBunrui_Click"));
        return;
    }
    if (!chu_.isEmpty()) {
        cmbChuBunrui_Click(0);
    }
}

void ChartList::cmbChuBunrui_Click(int index) {
    if (index < 0 || index >= chu_.size()) {
        return;
    }
    chuIndex_ = index;
    middleClass_ = classCode(chu_.at(index).itemData);
    smallClass_ = QStringLiteral("0");
    syo_.clear();
    syoIndex_ = -1;
    clearGrid();
    try {
        syo_ = headingsUnder(middleClass_);
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmbChuBunrui_Click"));
        return;
    }
    if (!syo_.isEmpty()) {
        cmbSyoBunrui_Click(0);
    }
}

void ChartList::cmbSyoBunrui_Click(int index) {
    if (index < 0 || index >= syo_.size()) {
        return;
    }
    syoIndex_ = index;
    smallClass_ = classCode(syo_.at(index).itemData);
    clearGrid();
    set_sheet_data(smallClass_);
}

bool ChartList::set_sheet_data(const QString& classCode) {
    clearGrid();
    try {
        RecordSet rs = Database::global().query(
            QStringLiteral("SELECT KANNAME, KOCODE, KMCODE, TAIKBN, JUN, HOJOSET FROM T_KANJO "
                           "WHERE SYORIKBN = '0' AND BUNCODE = ? AND KMCODE <> '' AND SIYOU = 'Y' "
                           "ORDER BY KMCODE"),
            {classCode});
        for (; !rs.eof(); rs.moveNext()) {
            ChartRow row;
            row.kmcode = rs.text(QStringLiteral("KMCODE"));
            row.kanname = rs.text(QStringLiteral("KANNAME"));
            row.taisyaku = rs.text(QStringLiteral("TAIKBN")) == u"0" ? QStringLiteral("借方")
                                                                     : QStringLiteral("贷方");
            row.kocode = rs.text(QStringLiteral("KOCODE"));
            row.jun = rs.number(QStringLiteral("JUN"));
            row.hojoset = rs.text(QStringLiteral("HOJOSET"));
            rows_.append(row);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("set_sheet_data"));
        return false;
    }
}

int ChartList::gridRowCount() const {
    return std::max(static_cast<int>(rows_.size()), kMinimumGridRows);
}

void ChartList::spdSS_Click(int row) {
    active_ = (row >= 0 && row < rows_.size()) ? row : -1;
}

bool ChartList::save_data(const QString& flag) {
    if (!hasActiveRow()) {
        return false;
    }
    const ChartRow& row = rows_.at(active_);
    const QVariantList values = {textValue(row.kmcode.trimmed()), textValue(row.kanname.trimmed()),
                                 row.jun, textValue(row.hojoset), textValue(flag)};
    try {
        Database& db = Database::global();
        db.execute(QStringLiteral("UPDATE T_KANJO SET KMCODE = ?, KANNAME = ?, JUN = ?, "
                                  "HOJOSET = ?, SIYOU = ? WHERE KOCODE = ?"),
                   QVariantList(values) << row.kocode);
        db.execute(QStringLiteral("UPDATE T_KISYUZAN SET KMCODE = ?, KANNAME = ?, JUN = ?, "
                                  "HOJOSET = ?, SIYOU = ? WHERE CID = ? AND KOCODE = ?"),
                   QVariantList(values) << session().CurrentCid << row.kocode);
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("save_data"));
        return false;
    }
}

void ChartList::cmdDelete_Click() {
    if (!hasActiveRow()) {
        return;
    }
    if (messages().askYesNo(QStringLiteral("清除科目的信息，可以吗？"), MsgAnswer::Yes,
                            MsgIcon::Question, Messages::kTitle) != MsgAnswer::Yes) {
        return;
    }
    ChartRow& row = rows_[active_];
    const ChartRow before = row;
    row.kmcode.clear();
    row.kanname.clear();
    bool saved = false;
    try {
        TransactionGuard transaction;
        saved = save_data(QStringLiteral("N"));
        if (saved) {
            transaction.commit();
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("save_data"));
        saved = false;
    }
    // What the list shows must match the chart when the change did not go through.
    if (!saved) {
        row = before;
    }
}

void ChartList::cmdInsatu_Click() {
    try {
        fillAccountList();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdInsatu_Click"));
        return;
    }
    PrintAccessReport(session().AppFolder + QStringLiteral("Kaikei.mdb"),
                      QStringLiteral("R_KANJO_LISTH"), 1);
}
