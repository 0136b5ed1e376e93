#include "maintenance/CsvExchange.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <optional>

#include "common/Clock.h"
#include "common/Messages.h"
#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/RowWriters.h"
#include "maintenance/BackupReader.h"
#include "maintenance/BackupSet.h"
#include "maintenance/ImportedDays.h"
#include "master/CurrentAccountSet.h"
#include "totals/MonthFlags.h"

namespace {

constexpr int kLineFields = 31;
constexpr int kCompanyFields = 27;
const QString kLines = QStringLiteral("T_SI_MEISAI");
const QString kStaging = QStringLiteral("T_SIMEISAI_FUKYU");
const QString kCompany = QStringLiteral("WK_COMPANY");

// Positions (from 1) of the voucher-line fields the import checks.
constexpr int kDencode = 1;
constexpr int kCid = 3;
constexpr int kSiday = 4;
constexpr int kDateym = 5;
constexpr int kAccountFields[] = {7, 18};
constexpr int kAmountFields[] = {14, 15, 25, 26};
constexpr int kNumberFields[] = {12, 13, 23, 24};

QString monthTag(const QString& monthText) {
    return monthText.isEmpty() ? QStringLiteral("00") : monthText;
}

DbError refused(const QString& what) {
    return DbError(DbError::kInvalidValue, what);
}

// A date as written or as a spreadsheet saves it back ("2024/3/5", "2024-03-05"); null when it
// is no day.
QDate readDate(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) {
        return {};
    }
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

// The file of that name in folder, whatever the case of its letters (the files come from
// Windows too); a null string when there is none.
QString findFile(const QString& folder, const QString& name) {
    const QStringList found = QDir(folder).entryList({name}, QDir::Files);
    return found.isEmpty() ? QString() : QDir(folder).filePath(found.first());
}

}  // namespace

QString csvDataFileName(const QString& cid, const QString& monthText) {
    return QStringLiteral("Data") + cid + u'_' + monthTag(monthText) + QStringLiteral(".CSV");
}

QString csvCompanyFileName(const QString& cid, const QString& monthText) {
    return QStringLiteral("Kaisha") + cid + u'_' + monthTag(monthText) + QStringLiteral(".CSV");
}

bool loadCsvMonths(QList<LedgerMonth>& months) {
    months.clear();
    try {
        for (const QVariantList& row : Database::global().selectAll(
                 QStringLiteral("SELECT INYM, OUTYM FROM T_DAY_INPUT WHERE CID = ? ORDER BY INYM"),
                 {session().CurrentCid})) {
            months.append({row.at(1).toString().trimmed(), row.at(0).toString().trimmed()});
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("FormInit"));
        return false;
    }
}

int csvMonthIndex(const QList<LedgerMonth>& months, const QString& month) {
    for (int i = 0; i < months.size(); ++i) {
        if (months.at(i).month == month) {
            return i;
        }
    }
    return -1;
}

// ---- export ----

bool CsvExport::FormInit() {
    selected = -1;
    return loadCsvMonths(months);
}

QString CsvExport::monthCondition() const {
    return QStringLiteral(" WHERE CID = ? AND KRBUKBN IN('00', '') AND SIDAY <> ''") +
           (selected >= 0 ? QStringLiteral(" AND DATEYM = ?") : QString());
}

QVariantList CsvExport::selectionParams() const {
    QVariantList params{session().CurrentCid};
    if (selected >= 0) {
        params.append(months.at(selected).month);
    }
    return params;
}

bool CsvExport::cmdStart_Click() {
    try {
        if (Database::global()
                .scalar(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI") + monthCondition(),
                        selectionParams())
                .toInt() == 0) {
            messages().information(QStringLiteral("备份的数据不存在。"));
            if (host_) {
                host_->focusBack();
            }
            return false;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdStart_Click"));
        return false;
    }
    const QString setText = host_ ? host_->accountSetText() : QString();
    const QString question = selected >= 0
                                 ? setText + QStringLiteral("  ") + months.at(selected).text +
                                       QStringLiteral("的备份开始。可以吗？")
                                 : setText + QStringLiteral("的备份开始。可以吗？");
    if (messages().askYesNo(question, MsgAnswer::No) != MsgAnswer::Yes) {
        return false;
    }
    QStringList files;
    const QString folder = host_ ? host_->chooseFolder(files) : QString();
    if (folder.isNull()) {
        return false;
    }
    if (host_) {
        host_->setBusy(true);
    }
    const bool done = exportTo(folder);
    if (host_) {
        host_->setBusy(false);
        host_->focusBack();
    }
    return done;
}

bool CsvExport::writeFile(const QString& path, const QString& sql, const QVariantList& params,
                          const QString& table, int fieldCount, int& rows) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw DbError(DbError::kNotOpen, QStringLiteral("不能写入文件: ") + path);
    }
    // With the mark Excel and WPS take the file for UTF-8 and show the Chinese.
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    out.setGenerateByteOrderMark(true);
    Database& db = Database::global();
    const QList<Column> columns = db.columns(table);
    rows = 0;
    for (RecordSet rs = db.query(sql, params); !rs.eof(); rs.moveNext()) {
        try {
            out << backupLine(rs, columns, fieldCount) << "\r\n";
        } catch (const DbError& error) {
            // This routine's name carries a full stop in the message.
            messages().show({MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok, Messages::kTitle,
                             Messages::errorText(error.number(), error.description(),
                                                 QStringLiteral("write_data_to_csv")) +
                                 QStringLiteral("。")});
            return false;
        }
        ++rows;
    }
    out.flush();
    if (out.status() != QTextStream::Ok || !file.flush()) {
        throw DbError(DbError::kNotOpen, QStringLiteral("不能写入文件: ") + path);
    }
    return true;
}

bool CsvExport::exportTo(const QString& folder, int* lines) {
    const QString cid = session().CurrentCid;
    const QString text = selected >= 0 ? months.at(selected).text : QString();
    const QString where = monthCondition();
    try {
        Database& db = Database::global();
        if (db.scalar(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI") + where, selectionParams())
                .toInt() == 0) {
            messages().information(QStringLiteral("备份的数据不存在。"));
            return false;
        }
        if (!QDir().mkpath(folder)) {
            throw DbError(DbError::kNotOpen, QStringLiteral("不能创建文件夹: ") + folder);
        }
        int written = 0;
        int companyRows = 0;
        if (!writeFile(QDir(folder).filePath(csvDataFileName(cid, text)),
                       QStringLiteral("SELECT * FROM T_SI_MEISAI") + where +
                           QStringLiteral(" ORDER BY DENCODE, DENMENO"),
                       selectionParams(), kLines, kLineFields, written) ||
            !writeFile(QDir(folder).filePath(csvCompanyFileName(cid, text)),
                       QStringLiteral("SELECT * FROM WK_COMPANY"), {}, kCompany, kCompanyFields,
                       companyRows)) {
            return false;
        }
        db.execute(QStringLiteral("UPDATE T_SI_MEISAI SET KRBUKBN = '01'") + where,
                   selectionParams());
        if (lines) {
            *lines = written;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdStart_Click"));
        return false;
    }
    messages().information(QStringLiteral("数据备份成功！"));
    return true;
}

// ---- import ----

bool CsvImport::FormInit() {
    selected = -1;
    return loadCsvMonths(months);
}

QString CsvImport::monthText() const {
    return selected >= 0 ? months.at(selected).text : QString();
}

bool CsvImport::cmdStr_Click() {
    messages().exclamation(QStringLiteral("请指定恢复数据的路径。"));
    QStringList files;
    const QString folder = host_ ? host_->chooseFolder(files) : QString();
    if (folder.isNull()) {
        return false;
    }
    if (files.size() != 2) {
        messages().exclamation(QStringLiteral("没有找到符合条件的数据，中止恢复处理。"));
        return false;
    }
    if (host_) {
        host_->setBusy(true);
    }
    const bool done = importFrom(folder);
    if (host_) {
        host_->setBusy(false);
        host_->focusBack();
    }
    return done;
}

void CsvImport::checkLine(QStringList& fields, const QString& at) const {
    const QString cid = fields.at(kCid - 1).trimmed();
    if (cid != session().CurrentCid) {
        throw refused(at + QStringLiteral("这一行属于账套 %1，不属于现在的账套 %2。")
                               .arg(cid, session().CurrentCid));
    }
    const QString sidayText = fields.at(kSiday - 1).trimmed();
    const QDate day = readDate(sidayText);
    if (!day.isValid()) {
        throw refused(at + QStringLiteral("日期“%1”不是有效的日期。").arg(sidayText));
    }
    const QString siday = day.toString(QStringLiteral("yyyy/MM/dd"));
    if (siday < periodStart_ || siday > periodEnd_) {
        throw refused(at + QStringLiteral("日期 %1 不在会计期间 %2 至 %3 内。")
                               .arg(siday, periodStart_, periodEnd_));
    }
    const QDate month = readDate(fields.at(kDateym - 1).trimmed() + QStringLiteral("/01"));
    if (!month.isValid() || month.year() != day.year() || month.month() != day.month()) {
        throw refused(at + QStringLiteral("月份“%1”与日期 %2 不一致。")
                               .arg(fields.at(kDateym - 1).trimmed(), siday));
    }
    if (selected >= 0 && siday.left(7) != months.at(selected).month) {
        throw refused(
            at +
            QStringLiteral("日期 %1 不属于所选的月份 %2。").arg(siday, months.at(selected).text));
    }
    fields[kSiday - 1] = siday;
    fields[kDateym - 1] = siday.left(7);
    for (const int position : kAccountFields) {
        const QString kocode = fields.at(position - 1).trimmed();
        if (!accounts_.contains(kocode)) {
            throw refused(
                at + QStringLiteral("第 %1 个字段的科目“%2”不存在。").arg(position).arg(kocode));
        }
    }
    // Commas only as thousands separators: "12,5" is a decimal comma, not 125.
    static const QRegularExpression amount(
        QStringLiteral("^-?(\\d+|\\d{1,3}(,\\d{3})+)(\\.\\d+)?$"));
    for (const int position : kAmountFields) {
        const QString text = fields.at(position - 1).trimmed();
        if (!amount.match(text).hasMatch() || !Money::parse(text)) {
            throw refused(at + QStringLiteral("第 %1 个字段的金额“%2”不是数字。")
                                   .arg(position)
                                   .arg(fields.at(position - 1)));
        }
    }
    for (const int position : kNumberFields) {
        const QString text = fields.at(position - 1).trimmed();
        bool ok = text.isEmpty();
        if (!ok) {
            text.toDouble(&ok);
        }
        if (!ok) {
            throw refused(at +
                          QStringLiteral("第 %1 个字段“%2”不是数字。").arg(position).arg(text));
        }
    }
}

void CsvImport::readFile(const QString& file, int fieldCount, const QString& table) {
    const QString name = QFileInfo(file).fileName();
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        throw DbError(DbError::kNotOpen, QStringLiteral("不能读取文件: ") + file);
    }
    const QByteArray bytes = in.readAll();
    in.close();
    const auto inFile = [&name](const DbError& error) {
        return DbError(error.number(), name + u' ' + error.description());
    };
    QString text;
    try {
        text = decodeBackupText(bytes);
    } catch (const DbError& error) {
        throw inFile(error);
    }
    BackupFieldReader reader(std::move(text), true);
    Database& db = Database::global();
    QStringList fields;
    int rows = 0;
    for (;;) {
        try {
            if (!reader.nextRow(fields, fieldCount)) {
                break;
            }
        } catch (const DbError& error) {
            throw inFile(error);
        }
        const QString at = QStringLiteral("%1 第 %2 行：").arg(name).arg(reader.rowLine());
        if (fields.size() != fieldCount) {
            throw refused(
                at +
                QStringLiteral("有 %1 个字段，应为 %2 个。").arg(fields.size()).arg(fieldCount));
        }
        ++rows;
        if (fieldCount == kCompanyFields) {
            if (rows > 1) {
                throw refused(at + QStringLiteral("账套文件只能有一行。"));
            }
            if (fields.at(0).trimmed() != session().CurrentCid) {
                throw refused(at + QStringLiteral("这是账套 %1 的文件，不属于现在的账套 %2。")
                                       .arg(fields.at(0).trimmed(), session().CurrentCid));
            }
            if (!WriteCompanyTable(fields, table)) {
                throw DbError(db.lastErrorNumber(), at + db.lastErrorText());
            }
        } else {
            checkLine(fields, at);
            if (!WriteSiMeisaiTable(fields, table)) {
                throw DbError(db.lastErrorNumber(), at + db.lastErrorText());
            }
        }
    }
    if (rows == 0) {
        messages().exclamation(QStringLiteral("File is NULL"), QStringLiteral("Warning"));
        throw refused(name + QStringLiteral(" 是空文件。"));
    }
}

bool CsvImport::RWdata(const QString& file, int fieldCount, const QString& table) {
    try {
        readFile(file, fieldCount, table);
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("RWdata"));
        return false;
    }
}

bool CsvImport::SetNewRec(const QString& date, QString& code) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        const QVariant found =
            db.scalar(QStringLiteral("SELECT DENCODE FROM T_SIWAKE WHERE DENDAY = ? AND CID = ?"),
                      {date, cid});
        if (!found.isNull()) {
            code = found.toString();
            return true;
        }
        // A day the target has not reached yet gets its voucher, and so does every day between
        // its last voucher and that day, as the daily screen makes them one per day.
        const QVariant lastDay =
            db.scalar(QStringLiteral("SELECT MAX(DENDAY) FROM T_SIWAKE WHERE CID = ?"), {cid});
        const QVariant maxCode =
            db.scalar(QStringLiteral("SELECT MAX(DENCODE) FROM T_SIWAKE WHERE CID = ?"), {cid});
        int next = maxCode.isNull() ? 0 : maxCode.toString().toInt();
        QDate day = QDate::fromString(date, QStringLiteral("yyyy/MM/dd"));
        const QDate last = QDate::fromString(lastDay.toString(), QStringLiteral("yyyy/MM/dd"));
        if (last.isValid() && last < day) {
            day = last.addDays(1);
        }
        for (;; day = day.addDays(1)) {
            code = QStringLiteral("%1").arg(++next, 5, 10, QLatin1Char('0'));
            const QString text = day.toString(QStringLiteral("yyyy/MM/dd"));
            if (!WriteSiwakeTable({cid, code, code, text, Clock::todayText(), QStringLiteral("0"),
                                   QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")},
                                  QStringLiteral("T_SIWAKE"))) {
                throw DbError(db.lastErrorNumber(), db.lastErrorText());
            }
            if (text >= date) {
                return true;
            }
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("SetNewRec"));
        return false;
    }
}

bool CsvImport::importFrom(const QString& folder, int* lines) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    const QString text = monthText();
    const QString month = selected >= 0 ? months.at(selected).month : QString();
    const QString dataFile = findFile(folder, csvDataFileName(cid, text));
    const QString companyFile = findFile(folder, csvCompanyFileName(cid, text));
    if (dataFile.isNull() || companyFile.isNull()) {
        messages().exclamation(QStringLiteral("没有找到符合条件的数据，中止恢复处理。"));
        return false;
    }
    QString failedFile;
    int imported = 0;
    try {
        // The command line holds its own transaction around the whole run.
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        RecordSet period = db.query(QStringLiteral("SELECT KISYU, KIMATU FROM WK_COMPANY"));
        periodStart_ = period.eof() ? QString() : period.text(QStringLiteral("KISYU")).trimmed();
        periodEnd_ = period.eof() ? QString() : period.text(QStringLiteral("KIMATU")).trimmed();
        period.close();
        accounts_.clear();
        for (const QVariantList& row : db.selectAll(QStringLiteral("SELECT KOCODE FROM T_KANJO"))) {
            accounts_.insert(row.at(0).toString().trimmed());
        }

        db.execute(QStringLiteral("DELETE FROM WK_COMPANY"));
        failedFile = companyFile;
        if (!RWdata(companyFile, kCompanyFields, kCompany)) {
            throw DbError(DbError::kInvalidValue, QString());
        }
        db.execute(QStringLiteral("DELETE FROM T_SIMEISAI_FUKYU"));
        failedFile = dataFile;
        if (!RWdata(dataFile, kLineFields, kStaging)) {
            throw DbError(DbError::kInvalidValue, QString());
        }
        failedFile.clear();

        // The months whose lines are replaced, and the first and last month the lines touch.
        QString from = month;
        QString to = month;
        if (month.isEmpty()) {
            const QList<QVariantList> span = db.selectAll(
                QStringLiteral("SELECT MIN(DATEYM), MAX(DATEYM) FROM (SELECT DATEYM FROM "
                               "T_SI_MEISAI WHERE CID = ? AND SIDAY <> '' UNION ALL SELECT "
                               "DATEYM FROM T_SIMEISAI_FUKYU)"),
                {cid});
            from = span.at(0).at(0).toString();
            to = span.at(0).at(1).toString();
            db.execute(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = ? AND SIDAY <> ''"),
                       {cid});
        } else {
            db.execute(QStringLiteral(
                           "DELETE FROM T_SI_MEISAI WHERE CID = ? AND SIDAY <> '' AND DATEYM = ?"),
                       {cid, month});
        }

        const QList<Column>& columns = db.columns(kStaging);
        QString previous;
        QString code;
        bool first = true;
        for (RecordSet rs = db.query(
                 QStringLiteral("SELECT * FROM T_SIMEISAI_FUKYU ORDER BY DENCODE, DENMENO"));
             !rs.eof(); rs.moveNext()) {
            QStringList fields;
            for (int i = 0; i < kLineFields; ++i) {
                fields.append(fieldText(rs.valueAt(i), columns.at(i).kind));
            }
            if (first || fields.at(kDencode - 1) != previous) {
                first = false;
                previous = fields.at(kDencode - 1);
                if (!SetNewRec(fields.at(kSiday - 1), code)) {
                    throw DbError(DbError::kInvalidValue, QString());
                }
            }
            fields[kDencode - 1] = code;
            if (!WriteSiMeisaiTable(fields, kLines)) {
                throw DbError(db.lastErrorNumber(), db.lastErrorText());
            }
            ++imported;
        }
        if (!ResetCompanyData()) {
            throw DbError(DbError::kInvalidValue, QString());
        }
        if (!from.isEmpty()) {
            rebuildDayAmounts(from, to);
            if (!MarkMonthsStale(from, to)) {
                throw DbError(DbError::kInvalidValue, QString());
            }
        }
        if (transaction) {
            transaction->commit();
        }
    } catch (const DbError& error) {
        // A routine that failed has shown its own message; this one says what it meant.
        const QString what = failedFile.isEmpty()
                                 ? QStringLiteral("数据没有恢复，账套没有改变。")
                                 : QFileInfo(failedFile).fileName() +
                                       QStringLiteral(" 被拒绝，数据没有恢复，账套没有改变。");
        reportError(
            DbError(error.number(),
                    error.description().isEmpty() ? what : error.description() + u' ' + what),
            QStringLiteral("cmdStr_Click"));
        return false;
    }
    if (lines) {
        *lines = imported;
    }
    messages().information(QStringLiteral("数据恢复成功！"));
    return true;
}
