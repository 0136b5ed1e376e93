#include "db/RowWriters.h"

#include <QRegularExpression>
#include <QVariantList>
#include <map>
#include <optional>

#include "common/DateHelpers.h"
#include "common/Money.h"
#include "db/Database.h"
#include "db/DbError.h"

namespace {

using E = FieldEncoding;

struct Layout {
    int fieldCount;
    // Positions that are not plain text, with their encoding.
    std::map<int, FieldEncoding> special;
};

std::map<int, FieldEncoding> range(int from, int to, FieldEncoding e,
                                   std::map<int, FieldEncoding> more = {}) {
    for (int p = from; p <= to; ++p) {
        more.emplace(p, e);
    }
    return more;
}

const std::map<RowWriter, Layout>& layouts() {
    static const std::map<RowWriter, Layout> all = {
        {&WriteKanjoTable, {24, {{18, E::Number}, {23, E::Number}}}},
        {&WriteBKanjoTable, {25, {{19, E::Number}, {24, E::Number}}}},
        {&WriteCompanyTable,
         {27,
          {{14, E::Date},
           {15, E::Date},
           {23, E::Date},
           {25, E::Date},
           {19, E::RawNumber},
           {22, E::UntrimmedText},
           {24, E::Number},
           {27, E::QuotedNumber}}}},
        {&WriteSiwakeTable,
         {9, {{4, E::Date}, {5, E::Date}, {7, E::Number}, {8, E::Number}, {9, E::Number}}}},
        {&WriteSiMeisaiTable,
         {31, range(12, 15, E::Number, range(23, 26, E::Number, {{4, E::Date}}))}},
        {&WriteDayInputTable, {3, {}}},
        {&WriteSiPatternTable, {7, {}}},
        {&WriteDayToranTable, {35, range(5, 35, E::RawNumber)}},
        {&WriteKisyuzanTable, {11, {{5, E::Number}, {6, E::Number}, {11, E::QuotedNumber}}}},
        {&WriteHojoKamokuTable, {6, {{6, E::Number}}}},
        {&WriteTekiyoTable, {3, {}}},
        {&WriteTukisimeTable, {5, {}}},
        {&WriteBKesansyoTable,
         {66, range(2, 65, E::RawNumber, {{1, E::UntrimmedText}, {66, E::UntrimmedText}})}},
    };
    return all;
}

DbError invalidField(const QString& table, int position, const QString& field) {
    return DbError(
        DbError::kInvalidValue,
        QStringLiteral("%1 的第 %2 列不能写入“%3”。").arg(table).arg(position).arg(field));
}

std::optional<QVariant> numberValue(const QString& text, ColumnKind kind) {
    const QString t = text.trimmed();
    bool ok = false;
    switch (kind) {
        case ColumnKind::Money: {
            const auto amount = Money::parse(t);
            return amount ? std::optional<QVariant>(amount->toDb()) : std::nullopt;
        }
        case ColumnKind::Integer: {
            const qlonglong n = t.toLongLong(&ok);
            if (ok) {
                return QVariant(n);
            }
            // A whole number written with a decimal part, such as "3.0".
            const double d = t.toDouble(&ok);
            if (ok && d == static_cast<double>(static_cast<qlonglong>(d))) {
                return QVariant(static_cast<qlonglong>(d));
            }
            return std::nullopt;
        }
        case ColumnKind::Real:
        case ColumnKind::Text: {
            const double d = t.toDouble(&ok);
            return ok ? std::optional<QVariant>(d) : std::nullopt;
        }
    }
    return std::nullopt;
}

// A null text would be stored as NULL; the tables hold "" for an empty text.
QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QVariant encode(const QString& field, FieldEncoding encoding, const Column& column,
                const QString& table, int position) {
    switch (encoding) {
        case E::Text:
            return textValue(field.trimmed());
        case E::UntrimmedText:
            return textValue(field);
        case E::Date:
            return textValue(dateNormalise(field));
        case E::Number:
        case E::RawNumber: {
            const bool blank = field.trimmed().isEmpty();
            if (blank && encoding == E::RawNumber) {
                throw invalidField(table, position, field);
            }
            const auto value = numberValue(blank ? QStringLiteral("0") : field, column.kind);
            if (!value) {
                throw invalidField(table, position, field);
            }
            return *value;
        }
        case E::QuotedNumber: {
            const QString text = field.trimmed().isEmpty() ? QStringLiteral("0") : field;
            // A quoted literal that is not a number is stored as the text it is.
            return numberValue(text, column.kind).value_or(QVariant(text));
        }
    }
    return field;
}

bool writeRow(RowWriter writer, const QStringList& fields, const QString& table) {
    Database& db = Database::global();
    try {
        const Layout& layout = layouts().at(writer);
        const QList<Column>& columns = db.columns(table);
        if (fields.size() != layout.fieldCount || columns.size() != layout.fieldCount) {
            throw DbError(DbError::kInvalidValue, QStringLiteral("%1 需要 %2 个值，实际为 %3 个。")
                                                      .arg(table)
                                                      .arg(columns.size())
                                                      .arg(fields.size()));
        }
        QVariantList values;
        values.reserve(fields.size());
        for (int i = 0; i < fields.size(); ++i) {
            const auto special = layout.special.find(i + 1);
            const FieldEncoding encoding =
                special == layout.special.end() ? E::Text : special->second;
            values.append(encode(fields.at(i), encoding, columns.at(i), table, i + 1));
        }
        const QString placeholders = QStringLiteral("?, ").repeated(fields.size() - 1) + u'?';
        // The table name was checked against the schema by columns().
        return db.tryExecute(QStringLiteral("INSERT INTO %1 VALUES(%2)").arg(table, placeholders),
                             values);
    } catch (const DbError& error) {
        db.noteError(error);
        return false;
    }
}

}  // namespace

bool WriteKanjoTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteKanjoTable, fields, table);
}

bool WriteBKanjoTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteBKanjoTable, fields, table);
}

bool WriteCompanyTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteCompanyTable, fields, table);
}

bool WriteSiwakeTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteSiwakeTable, fields, table);
}

bool WriteSiMeisaiTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteSiMeisaiTable, fields, table);
}

bool WriteDayInputTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteDayInputTable, fields, table);
}

bool WriteSiPatternTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteSiPatternTable, fields, table);
}

bool WriteDayToranTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteDayToranTable, fields, table);
}

bool WriteKisyuzanTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteKisyuzanTable, fields, table);
}

bool WriteHojoKamokuTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteHojoKamokuTable, fields, table);
}

bool WriteTekiyoTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteTekiyoTable, fields, table);
}

bool WriteTukisimeTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteTukisimeTable, fields, table);
}

bool WriteBKesansyoTable(const QStringList& fields, const QString& table) {
    return writeRow(&WriteBKesansyoTable, fields, table);
}

RowWriter rowWriterForSeqNo(int seqNo) {
    static const RowWriter bySeqNo[] = {
        &WriteKanjoTable,      &WriteCompanyTable,   &WriteSiwakeTable,   &WriteSiMeisaiTable,
        &WriteDayInputTable,   &WriteSiPatternTable, &WriteDayToranTable, &WriteKisyuzanTable,
        &WriteHojoKamokuTable, &WriteTekiyoTable,    &WriteTukisimeTable, &WriteBKanjoTable,
        &WriteCompanyTable,    &WriteSiwakeTable,    &WriteSiMeisaiTable, &WriteDayInputTable,
        &WriteSiPatternTable,  &WriteDayToranTable,  &WriteKisyuzanTable, &WriteHojoKamokuTable,
        &WriteTekiyoTable,     &WriteTukisimeTable,  &WriteBKesansyoTable};
    if (seqNo < 1 || seqNo > static_cast<int>(std::size(bySeqNo))) {
        return nullptr;
    }
    return bySeqNo[seqNo - 1];
}

FieldEncoding rowWriterEncoding(RowWriter writer, int position) {
    const auto& special = layouts().at(writer).special;
    const auto found = special.find(position);
    return found == special.end() ? FieldEncoding::Text : found->second;
}

int rowWriterFieldCount(RowWriter writer) {
    return layouts().at(writer).fieldCount;
}
