#include "db/NativeStatements.h"

#include <sqlite3.h>
#include <QDateTime>
#include <QSqlDriver>

#include "db/DbError.h"

NativeStatements::NativeStatements(const QSqlDatabase& connection) {
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        handle_ = *static_cast<sqlite3* const*>(handle.constData());
    }
}

NativeStatements::~NativeStatements() {
    for (sqlite3_stmt* statement : std::as_const(statements_)) {
        sqlite3_finalize(statement);
    }
}

sqlite3_stmt* NativeStatements::prepared(const QString& sql) {
    const auto found = statements_.constFind(sql);
    if (found != statements_.constEnd()) {
        return *found;
    }
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(handle_, text.constData(), static_cast<int>(text.size()),
                                      &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw DbError(sqlite3_extended_errcode(handle_),
                      QString::fromUtf8(sqlite3_errmsg(handle_)));
    }
    statements_.insert(sql, statement);
    return statement;
}

namespace {

// What the Qt driver binds as NULL: besides null variants, null texts and invalid dates.
bool isNullValue(const QVariant& value) {
    if (value.isNull()) {
        return true;
    }
    switch (value.typeId()) {
        case QMetaType::QString:
            return static_cast<const QString*>(value.constData())->isNull();
        case QMetaType::QByteArray:
            return static_cast<const QByteArray*>(value.constData())->isNull();
        case QMetaType::QDate:
            return !static_cast<const QDate*>(value.constData())->isValid();
        case QMetaType::QTime:
            return !static_cast<const QTime*>(value.constData())->isValid();
        case QMetaType::QDateTime:
            return !static_cast<const QDateTime*>(value.constData())->isValid();
        default:
            return false;
    }
}

int bindText(sqlite3_stmt* statement, int position, const QString& text) {
    // Converted here rather than by the engine, which translates UTF-16 a character at a time.
    const QByteArray utf8 = text.toUtf8();
    return sqlite3_bind_text(statement, position, utf8.constData(), static_cast<int>(utf8.size()),
                             SQLITE_TRANSIENT);
}

}  // namespace

// Each value type gets the storage class the Qt driver gives it, so that both paths store the
// same row.
void NativeStatements::bind(sqlite3_stmt* statement, int position, const QVariant& value) {
    int rc = SQLITE_OK;
    if (isNullValue(value)) {
        rc = sqlite3_bind_null(statement, position);
    } else {
        switch (value.typeId()) {
            case QMetaType::Int:
            case QMetaType::Bool:
                rc = sqlite3_bind_int(statement, position, value.toInt());
                break;
            case QMetaType::UInt:
            case QMetaType::LongLong:
                rc = sqlite3_bind_int64(statement, position, value.toLongLong());
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(statement, position, value.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                rc = sqlite3_bind_blob(statement, position, bytes.constData(),
                                       static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QDateTime:
                rc = bindText(statement, position, value.toDateTime().toString(Qt::ISODateWithMs));
                break;
            case QMetaType::QTime:
                rc = bindText(statement, position,
                              value.toTime().toString(QStringLiteral("hh:mm:ss.zzz")));
                break;
            default:
                rc = bindText(statement, position, value.toString());
                break;
        }
    }
    if (rc != SQLITE_OK) {
        throw DbError(rc, QString::fromUtf8(sqlite3_errstr(rc)));
    }
}

sqlite3_stmt* NativeStatements::boundStatement(const QString& sql, const QVariantList& params) {
    sqlite3_stmt* statement = prepared(sql);
    if (params.size() != sqlite3_bind_parameter_count(statement)) {
        throw DbError(SQLITE_RANGE, QStringLiteral("参数个数不符: ") + sql);
    }
    for (int i = 0; i < params.size(); ++i) {
        bind(statement, i + 1, params.at(i));
    }
    return statement;
}

void NativeStatements::finish(sqlite3_stmt* statement, int rc) {
    if (rc != SQLITE_DONE) {
        const DbError error(sqlite3_extended_errcode(handle_),
                            QString::fromUtf8(sqlite3_errmsg(handle_)));
        sqlite3_reset(statement);
        throw error;
    }
    sqlite3_reset(statement);
}

QList<QVariantList> NativeStatements::selectAll(const QString& sql, const QVariantList& params,
                                                QStringList* names) {
    sqlite3_stmt* statement = boundStatement(sql, params);
    const int count = sqlite3_column_count(statement);
    if (names) {
        names->clear();
        for (int i = 0; i < count; ++i) {
            names->append(QString::fromUtf8(sqlite3_column_name(statement, i)));
        }
    }
    QList<QVariantList> rows;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        QVariantList row;
        row.reserve(count);
        for (int i = 0; i < count; ++i) {
            switch (sqlite3_column_type(statement, i)) {
                case SQLITE_INTEGER:
                    row.append(qlonglong(sqlite3_column_int64(statement, i)));
                    break;
                case SQLITE_FLOAT:
                    row.append(sqlite3_column_double(statement, i));
                    break;
                case SQLITE_NULL:
                    row.append(QVariant());
                    break;
                case SQLITE_BLOB:
                    row.append(
                        QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, i)),
                                   sqlite3_column_bytes(statement, i)));
                    break;
                default:
                    row.append(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                        sqlite3_column_bytes(statement, i)));
            }
        }
        rows.append(std::move(row));
    }
    finish(statement, rc);
    return rows;
}

int NativeStatements::execute(const QString& sql, const QVariantList& params) {
    sqlite3_stmt* statement = boundStatement(sql, params);
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
    }
    finish(statement, rc);
    return sqlite3_changes(handle_);
}

void NativeStatements::addRunningSum() {
    const int rc =
        sqlite3_create_function_v2(handle_, "running_sum", 2, SQLITE_UTF8, &running_,
                                   &NativeStatements::runningSum, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        throw DbError(rc, QString::fromUtf8(sqlite3_errstr(rc)));
    }
}

void NativeStatements::resetRunningSum() {
    running_ = RunningSum();
}

void NativeStatements::runningSum(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
    auto* state = static_cast<RunningSum*>(sqlite3_user_data(context));
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const QByteArray partition(text ? text : "", sqlite3_value_bytes(argv[0]));
    if (!state->started || partition != state->partition) {
        state->started = true;
        state->partition = partition;
        state->sum = 0;
    }
    state->sum += sqlite3_value_int64(argv[1]);
    sqlite3_result_int64(context, state->sum);
}
