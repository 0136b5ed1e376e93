#pragma once

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include "common/Money.h"

// A forward-only, read-only cursor over a query result, read by column name. Positioned on the
// first row when opened; eof() is true once the rows are used up (or when there were none).
class RecordSet {
  public:
    explicit RecordSet(QSqlQuery query);

    bool eof() const { return eof_; }
    void moveNext();
    void close();

    // The raw value; null stays null.
    QVariant value(const QString& column) const;
    QVariant valueAt(int index) const;
    bool isNull(const QString& column) const;
    // Texts read with "" appended: a null reads as "".
    QString text(const QString& column) const;
    // Numbers read through null-to-zero: null or "" reads as 0.
    qint64 number(const QString& column) const;
    double real(const QString& column) const;
    Money money(const QString& column) const;

  private:
    int indexOf(const QString& column) const;

    QSqlQuery query_;
    bool eof_ = true;
    mutable QHash<QString, int> columns_;
};
