#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include "common/Messages.h"
#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/RowWriters.h"
#include "maintenance/BackupReader.h"
#include "maintenance/BackupRestore.h"
#include "maintenance/Converter.h"

namespace {

constexpr int kFullSet = 23;
constexpr int kMaxFields = 66;
constexpr int kAccountSetFields = 27;
constexpr int kRateSwitch = 18;
constexpr int kRateField = 11;
constexpr int kPeriodStartName = 20;
constexpr int kPeriodEndName = 21;

DbError formatError(const QString& what) {
    return DbError(DbError::kInvalidValue, what);
}

// The rows of a set file; failures name the file.
class SetFile {
  public:
    explicit SetFile(const QString& path) : name_(QFileInfo(path).fileName()) {
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly)) {
            throw DbError(DbError::kNotOpen, QStringLiteral("不能读取文件: ") + path);
        }
        try {
            reader_.emplace(decodeBackupText(in.readAll()));
        } catch (const DbError& error) {
            throw named(error);
        }
    }

    bool next(QStringList& fields, int fieldCount) {
        try {
            if (!reader_->nextRow(fields, fieldCount)) {
                return false;
            }
        } catch (const DbError& error) {
            throw named(error);
        }
        if (fields.size() != fieldCount) {
            throw atRow(
                QStringLiteral("有 %1 个字段，应为 %2 个。").arg(fields.size()).arg(fieldCount));
        }
        return true;
    }

    DbError atRow(const QString& what) const {
        return formatError(QStringLiteral("%1 第 %2 行：").arg(name_).arg(reader_->rowLine()) +
                           what);
    }

  private:
    DbError named(const DbError& error) const {
        return DbError(error.number(), name_ + u' ' + error.description());
    }

    QString name_;
    std::optional<BackupFieldReader> reader_;
};

// The first row of a set file, or an empty list for an empty file.
QStringList firstRow(const QString& folder, const QString& name, int fieldCount) {
    SetFile file(QDir(folder).filePath(name));
    QStringList fields;
    file.next(fields, fieldCount);
    return fields;
}

int columnIndex(const QList<Column>& columns, const QString& name) {
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    throw formatError(QStringLiteral("表中没有列 %1。").arg(name));
}

Money amountOf(const SetFile& file, const QString& text, const QString& what) {
    if (text.trimmed().isEmpty()) {
        return Money();
    }
    const std::optional<Money> amount = Money::parse(text.trimmed());
    if (!amount) {
        throw file.atRow(QStringLiteral("%1“%2”不是数字。").arg(what, text));
    }
    return *amount;
}

// A date's digits as "yyyy年mm月dd日"; anything without eight digits is left empty.
QString periodName(const QString& text) {
    QString digits;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            digits += c;
        }
    }
    if (digits.size() != 8) {
        return QString();
    }
    return digits.left(4) + u'年' + digits.mid(4, 2) + u'月' + digits.mid(6, 2) + u'日';
}

// What a whole import shares between its files.
struct ImportContext {
    QString folder;
    QString side;  // the characters imported text is written in
    bool convertBalances = false;
    qint64 storedRateUnits = 0;  // the exported RATE as stored, in ten-thousandths
    RestoredPeriod period;
};

Money converted(Money balance, const ImportContext& context) {
    if (!context.convertBalances) {
        return balance;
    }
    // balance × (stored ÷ 100) ÷ 100, rounded half away from zero to the ten-thousandth.
    // 128-bit: a large balance times a rate overflows 64 bits before the division.
    __extension__ using Wide = __int128;
    const Wide product = static_cast<Wide>(balance.units()) * context.storedRateUnits;
    constexpr Wide kDivisor = 100'000'000;
    const Wide half = kDivisor / 2;
    const Wide units = product >= 0 ? (product + half) / kDivisor : (product - half) / kDivisor;
    return Money::fromUnits(static_cast<qint64>(units));
}

void updateAccount(const SetFile& file, const QStringList& fields, const QList<Column>& columns,
                   const BackupEntry& entry, const ImportContext& context) {
    // Never null: the columns refuse NULL where the file has an empty field.
    const auto field = [&](const char* name) {
        const QString value = fields.at(columnIndex(columns, QString::fromLatin1(name))).trimmed();
        return value.isNull() ? QStringLiteral("") : value;
    };
    const Money balance =
        converted(amountOf(file, field("KISYUZAN"), QStringLiteral("期初余额")), context);
    bool ok = true;
    const QString junText = field("JUN");
    const qint64 jun = junText.isEmpty() ? 0 : junText.toLongLong(&ok);
    if (!ok) {
        throw file.atRow(QStringLiteral("顺序“%1”不是整数。").arg(junText));
    }
    QVariantList values{field("KMCODE"),   field("HOJOSET"), field("SIYOU"),
                        balance.toDb(),    field("AICODE"),  jun,
                        field("KISYUMKBN")};
    const bool live = entry.seqNo == 1 || entry.seqNo == 8;
    const bool chart = entry.seqNo == 1 || entry.seqNo == 12;
    QString sql = QStringLiteral(
                      "UPDATE %1 SET KMCODE = ?, HOJOSET = ?, SIYOU = ?, KISYUZAN = ?, "
                      "AICODE = ?, JUN = ?, KISYUMKBN = ?")
                      .arg(entry.table);
    if (!chart) {
        sql += QStringLiteral(", RATE = ?");
        values.append(static_cast<double>(context.storedRateUnits) / 1'000'000.0);
    }
    if (live && chart) {
        sql += QStringLiteral(" WHERE KOCODE = ?");
    } else {
        sql += QStringLiteral(" WHERE CID = ? AND KOCODE = ?");
        values.append(session().CurrentCid);
    }
    values.append(field("KOCODE"));
    Database::global().execute(sql, values);
}

// converter_data: one file of the set into the live tables.
void convertFile(const BackupEntry& entry, ImportContext& context) {
    if (entry.fieldCount < 1 || entry.fieldCount > kMaxFields) {
        throw formatError(QStringLiteral("%1 的字段数 %2 不在 1 到 %3 之间。")
                              .arg(entry.textName)
                              .arg(entry.fieldCount)
                              .arg(kMaxFields));
    }
    Database& db = Database::global();
    const QList<Column>& columns = db.columns(entry.table);
    const RowWriter writer = rowWriterForSeqNo(entry.seqNo);
    if (!writer || columns.size() < entry.fieldCount) {
        throw formatError(QStringLiteral("%1 不能写入表 %2。").arg(entry.textName, entry.table));
    }
    const ConverterColumns rules = converterColumns(entry.seqNo, entry.fieldCount);
    const QString cid = session().CurrentCid;
    const int cidAt = entry.seqNo > 1 ? columnIndex(columns, QStringLiteral("CID")) : -1;
    SetFile file(QDir(context.folder).filePath(entry.textName + QStringLiteral(".txt")));
    QStringList fields;
    while (file.next(fields, entry.fieldCount)) {
        if (cidAt >= 0 && fields.at(cidAt).trimmed() != cid) {
            throw file.atRow(QStringLiteral("这一行属于账套 %1，不属于现在的账套 %2。")
                                 .arg(fields.at(cidAt).trimmed(), cid));
        }
        for (const int position : rules.transcoded) {
            try {
                fields[position - 1] =
                    CharacterTable::decode(fields.at(position - 1), context.side);
            } catch (const DbError& error) {
                throw file.atRow(QStringLiteral("第 %1 个字段：").arg(position) +
                                 error.description());
            }
        }
        switch (entry.seqNo) {
            case 1:
            case 8:
            case 12:
            case 19:
                updateAccount(file, fields, columns, entry, context);
                continue;
            case 2:
            case 13:
                fields[kPeriodStartName - 1] = periodName(fields.at(kPeriodStartName - 1));
                fields[kPeriodEndName - 1] = periodName(fields.at(kPeriodEndName - 1));
                break;
            default:
                break;
        }
        if (!writer(fields, entry.table)) {
            throw DbError(db.lastErrorNumber(), file.atRow(db.lastErrorText()).description());
        }
        if (entry.seqNo == 2) {
            takeAccountSetRow(fields, &context.period);
        }
    }
}

// check_company's second answer and get_rate: how opening balances come across.
void readRate(ImportContext& context) {
    const QStringList company =
        firstRow(context.folder, QStringLiteral("T_002.txt"), kAccountSetFields);
    const QStringList opening = firstRow(context.folder, QStringLiteral("T_008.txt"), kRateField);
    const QString stored = opening.isEmpty() ? QString() : opening.at(kRateField - 1).trimmed();
    const std::optional<Money> rate = stored.isEmpty() ? Money() : Money::parse(stored);
    if (!rate) {
        throw formatError(QStringLiteral("T_008.txt 第 1 行：汇率“%1”不是数字。").arg(stored));
    }
    context.storedRateUnits = rate->units();
    context.convertBalances = company.size() >= kRateSwitch &&
                              company.at(kRateSwitch - 1).trimmed() == u"1" && !rate->isZero();
}

bool importTables(ImportContext& context) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    readRate(context);
    try {
        for (const BackupEntry& entry : backupEntries()) {
            db.columns(entry.table);
            if (entry.seqNo != 1 && entry.seqNo != 8 && entry.seqNo != 12 && entry.seqNo != 19) {
                db.execute(QStringLiteral("DELETE FROM %1 WHERE CID = ?").arg(entry.table), {cid});
            }
            convertFile(entry, context);
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("converter_data"));
        return false;
    }
    if (!context.period.found) {
        throw formatError(QStringLiteral("T_002.txt 中没有账套 %1 的账套信息。").arg(cid));
    }
    return reopenRestoredPeriod(context.period);
}

}  // namespace

QString CharacterTable::decode(const QString& digits, const QString& side) {
    if (digits.size() % 4 != 0) {
        throw formatError(
            QStringLiteral("“%1”的长度不是 4 的倍数，不是字符编号。").arg(digits.left(40)));
    }
    const QList<uint> characters = side.toUcs4();
    QString text;
    for (qsizetype at = 0; at < digits.size(); at += 4) {
        const QStringView group = QStringView(digits).sliced(at, 4);
        int number = 0;
        for (const QChar c : group) {
            if (c < u'0' || c > u'9') {
                throw formatError(QStringLiteral("“%1”不是四位数字的字符编号。").arg(group));
            }
            number = number * 10 + (c.unicode() - u'0');
        }
        if (number == 0) {
            text += u'?';
        } else if (number > characters.size()) {
            throw formatError(QStringLiteral("字符编号 %1 超出了字符对照表（%2 个字符）。")
                                  .arg(number)
                                  .arg(characters.size()));
        } else {
            const char32_t ch = characters.at(number - 1);
            text += QString::fromUcs4(&ch, 1);
        }
    }
    return text;
}

ConverterOutcome importConverterSet(const QString& folder, const QString& accountSetText,
                                    ImportedCharacters characters) {
    if (countBackupFiles(folder) != kFullSet) {
        messages().exclamation(QStringLiteral("没找到符合条件的数据，中止日文版数据导入处理。"));
        return ConverterOutcome::NotASet;
    }
    switch (check_company(folder)) {
        case SetCheck::Same:
            break;
        case SetCheck::Other:
            messages().exclamation(QStringLiteral("要导入的数据不是现在使用中的") + accountSetText +
                                   QStringLiteral("的数据，\n\n中止日文版数据导入处理。"));
            return ConverterOutcome::OtherSet;
        case SetCheck::Failed:
            return ConverterOutcome::Failed;
    }
    Database& db = Database::global();
    try {
        const CharacterTable table = CharacterTable::load();
        ImportContext context;
        context.folder = folder;
        context.side =
            characters == ImportedCharacters::Chinese ? table.chinese() : table.japanese();
        std::optional<TransactionGuard> own;
        if (!db.inTransaction()) {
            own.emplace(db);
        }
        if (!importTables(context)) {
            return ConverterOutcome::Failed;
        }
        if (own) {
            own->commit();
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdConverter_Click"));
        return ConverterOutcome::Failed;
    }
    messages().information(QStringLiteral("日文版数据导入成功！"));
    session().CurrentYearLoaded = true;
    return ConverterOutcome::Imported;
}
