#include <QDir>
#include <QTextStream>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "maintenance/BackupRestore.h"
#include "maintenance/BackupSet.h"
#include "maintenance/Converter.h"

namespace {

QList<int> range(int from, int to) {
    QList<int> positions;
    for (int i = from; i <= to; ++i) {
        positions.append(i);
    }
    return positions;
}

QString orderOf(int seqNo) {
    switch (seqNo) {
        case 3:
        case 14:
            return QStringLiteral(" ORDER BY DENCODE");
        case 4:
        case 15:
            return QStringLiteral(" ORDER BY DENCODE, DENMENO");
        default:
            return QString();
    }
}

// The converter's line writer: one row, its transcoded columns as numbers.
bool writeConverterLine(const RecordSet& row, const QList<Column>& columns, int fieldCount,
                        const ConverterColumns& rules, const CharacterTable& table,
                        const QString& tableName, LostCharacters& lost, QTextStream& file) {
    try {
        if (fieldCount < 1 || fieldCount > columns.size()) {
            throw DbError(DbError::kInvalidValue, QStringLiteral("字段数 %1 超出了表的列数 %2。")
                                                      .arg(fieldCount)
                                                      .arg(columns.size()));
        }
        QString line;
        for (int i = 0; i < fieldCount; ++i) {
            if (i > 0) {
                line += u',';
            }
            QString text;
            if (rules.transcoded.contains(i + 1)) {
                int missing = 0;
                text = table.encode(fieldText(row.valueAt(i), columns.at(i).kind), missing);
                if (missing > 0) {
                    lost[tableName + u'.' + columns.at(i).name] += missing;
                }
            } else if (!rules.emptied.contains(i + 1)) {
                text = fieldText(row.valueAt(i), columns.at(i).kind);
            }
            line += backupField(text);
        }
        file << line << "\r\n";
        return true;
    } catch (const DbError& error) {
        // This writer's report ends with a full stop after the routine's name.
        messages().show({MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok, Messages::kTitle,
                         Messages::errorText(error.number(), error.description(),
                                             QStringLiteral("write_data_to_text")) +
                             u'。'});
        return false;
    }
}

}  // namespace

CharacterTable CharacterTable::load() {
    CharacterTable table;
    RecordSet rs = Database::global().query(QStringLiteral("SELECT * FROM T_MOJICHG"));
    for (; !rs.eof(); rs.moveNext()) {
        table.chinese_ += rs.text(QStringLiteral("CHINESE"));
        table.japanese_ += rs.text(QStringLiteral("JAPANESE"));
    }
    // A character listed twice keeps its first number, as a search of the string finds it.
    int number = 0;
    for (const char32_t ch : table.chinese_.toUcs4()) {
        ++number;
        if (!table.numbers_.contains(ch)) {
            table.numbers_.insert(ch, number);
        }
    }
    return table;
}

QString CharacterTable::encode(const QString& text, int& lost) const {
    QString digits;
    digits.reserve(text.size() * 4);
    for (const char32_t ch : text.toUcs4()) {
        const int number = numbers_.value(ch, 0);
        if (number == 0 || number > 9999) {
            ++lost;
            digits += QStringLiteral("0000");
        } else {
            digits += QStringLiteral("%1").arg(number, 4, 10, QLatin1Char('0'));
        }
    }
    return digits;
}

ConverterColumns converterColumns(int seqNo, int fieldCount) {
    switch (seqNo) {
        case 1:
            return {{}, {3, 4}};
        case 2:
        case 13:
            return {range(2, 12) + QList<int>{20, 21}, {}};
        case 4:
        case 15:
            return {{30}, {}};
        case 5:
        case 16:
        case 10:
        case 21:
            return {{fieldCount}, {}};
        case 6:
        case 17:
            return {{4, 5, fieldCount}, {}};
        case 8:
        case 19:
            return {{}, {4}};
        case 9:
        case 20:
            return {{5}, {}};
        case 12:
            return {{}, {5}};
        default:
            return {};
    }
}

bool exportConverterSet(const QString& folder, LostCharacters& lost) {
    try {
        if (!QDir().mkpath(folder)) {
            throw DbError(DbError::kNotOpen, QStringLiteral("不能创建文件夹: ") + folder);
        }
        const CharacterTable table = CharacterTable::load();
        for (const BackupEntry& entry : backupEntries()) {
            const QString path = QDir(folder).filePath(entry.textName + QStringLiteral(".txt"));
            const ConverterColumns rules = converterColumns(entry.seqNo, entry.fieldCount);
            const auto line = [&](const RecordSet& row, const QList<Column>& columns,
                                  QTextStream& out) {
                return writeConverterLine(row, columns, entry.fieldCount, rules, table, entry.table,
                                          lost, out);
            };
            if (!writeSetFile(path, entry.table, entry.seqNo, orderOf(entry.seqNo), line)) {
                return false;
            }
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdBackUp_Click"));
        return false;
    }
}

QString lostCharactersText(const LostCharacters& lost) {
    int total = 0;
    QString fields;
    for (auto it = lost.cbegin(); it != lost.cend(); ++it) {
        total += it.value();
        fields += QStringLiteral("\n%1：%2 个").arg(it.key()).arg(it.value());
    }
    return QStringLiteral("有 %1 个字符不在字符对照表中，已按“0000”导出，日文版中将缺少这些字符：")
               .arg(total) +
           fields;
}
