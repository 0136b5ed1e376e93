#include "db/RecordSet.h"

#include <QSqlRecord>

#include "db/DbError.h"

RecordSet::RecordSet(QSqlQuery query) : query_(std::move(query)) {
    eof_ = !query_.next();
}

void RecordSet::moveNext() {
    if (!eof_) {
        eof_ = !query_.next();
    }
}

void RecordSet::close() {
    query_.finish();
    eof_ = true;
}

int RecordSet::indexOf(const QString& column) const {
    auto found = columns_.constFind(column);
    if (found != columns_.constEnd()) {
        return *found;
    }
    const int index = query_.record().indexOf(column);
    if (index < 0) {
        throw DbError(DbError::kInvalidValue, QStringLiteral("在集合中找不到项目: ") + column);
    }
    columns_.insert(column, index);
    return index;
}

QVariant RecordSet::value(const QString& column) const {
    return valueAt(indexOf(column));
}

QVariant RecordSet::valueAt(int index) const {
    if (eof_) {
        throw DbError(DbError::kInvalidValue, QStringLiteral("没有当前记录。"));
    }
    return query_.value(index);
}

bool RecordSet::isNull(const QString& column) const {
    return value(column).isNull();
}

QString RecordSet::text(const QString& column) const {
    const QVariant v = value(column);
    return v.isNull() ? QString() : v.toString();
}

qint64 RecordSet::number(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull() || v.toString().isEmpty()) {
        return 0;
    }
    return v.toLongLong();
}

double RecordSet::real(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull() || v.toString().isEmpty()) {
        return 0.0;
    }
    return v.toDouble();
}

Money RecordSet::money(const QString& column) const {
    return Money::fromDb(value(column));
}
