#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include "print/ReportLayout.h"

// What a report prints: the work table's rows in the layout's order and the texts its bands
// refer to (title, company, slot1..slot9 from T_PRINTKOMOKU).
struct ReportData {
    QStringList columnNames;
    QList<QVariantList> rows;
    QHash<QString, QString> vars;

    int column(const QString& name) const { return int(columnNames.indexOf(name)); }
    QVariant value(int row, const QString& name) const;
    // Whether the row meets a condition "COL=value" or "COL!=value" (values compared trimmed).
    bool meets(int row, const QString& condition) const;
    // Replaces each {name} by extra's text, the report's texts, then the row's column (trimmed);
    // an unknown name prints empty. {A|B} prints the first of A, B that is not empty.
    QString resolve(const QString& text, int row, const QHash<QString, QString>& extra = {}) const;
};

// Reads the rows and header texts a layout prints from the global database. Throws DbError.
ReportData readReportData(const ReportLayout& layout);
