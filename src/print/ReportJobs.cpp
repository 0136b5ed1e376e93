#include "print/ReportJobs.h"

#include <QRegularExpression>
#include <QSet>

#include "common/Clock.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/DbError.h"

namespace {

void addNamesIn(const QString& text, QSet<QString>& names) {
    static const QRegularExpression placeholder(QStringLiteral("\\{([A-Za-z0-9_]+)\\}"));
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text)) {
        names.insert(match.captured(1));
    }
}

// Only the columns the layout shows, groups by or tests are read: a year's journal is 100,000
// rows. The work table is "R", the lookups "L1", "L2" …
QString selectText(const ReportLayout& layout) {
    QSet<QString> names;
    for (const LayoutColumn& column : layout.columns) {
        names.insert(column.key);
        names.insert(column.side);
        addNamesIn(column.text, names);
    }
    const auto addBand = [&](const QList<BandLine>& band) {
        for (const BandLine& line : band) {
            for (const BandItem& item : line) {
                addNamesIn(item.text, names);
                names.insert(item.condition.section(u'!', 0, 0).section(u'=', 0, 0));
            }
        }
    };
    for (const GroupBand& group : layout.groups) {
        names.insert(group.by);
        addBand(group.header);
        addBand(group.footer);
    }
    for (const auto* band :
         {&layout.reportHeader, &layout.pageHeader, &layout.pageFooter, &layout.reportFooter}) {
        addBand(*band);
    }
    QStringList columns;
    for (const Column& column : Database::global().columns(layout.table)) {
        if (names.contains(column.name)) {
            columns.append(QStringLiteral("R.") + column.name);
        }
    }
    QString joins;
    for (int i = 0; i < layout.lookups.size(); ++i) {
        const Lookup& lookup = layout.lookups.at(i);
        const QString alias = QStringLiteral("L%1").arg(i + 1);
        for (const QString& column : lookup.columns) {
            columns.append(QStringLiteral("%1.%2 AS %2").arg(alias, column));
        }
        joins += QStringLiteral(" LEFT JOIN %1 %2 ON %2.%3 = R.%4")
                     .arg(lookup.table, alias, lookup.key, lookup.on);
    }
    // A layout that names no column still counts its rows.
    QString sql = QStringLiteral("SELECT %1 FROM %2 R%3")
                      .arg(columns.isEmpty() ? QStringLiteral("1 AS ROWNO")
                                             : columns.join(QStringLiteral(", ")),
                           layout.table, joins);
    if (!layout.order.isEmpty()) {
        QStringList terms = layout.order.split(u',');
        for (QString& term : terms) {
            term = QStringLiteral("R.") + term.trimmed();
        }
        sql += QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));
    }
    return sql;
}

}  // namespace

QVariant ReportData::value(int row, const QString& name) const {
    const int index = column(name);
    return index < 0 ? QVariant() : rows.at(row).value(index);
}

QString ReportData::resolve(const QString& text, int row,
                            const QHash<QString, QString>& extra) const {
    if (!text.contains(u'{')) {
        return text;
    }
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(u'{', i);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'}', open);
        if (close < 0) {
            out += text.mid(i);
            break;
        }
        out += text.mid(i, open - i);
        const QString name = text.mid(open + 1, close - open - 1);
        if (extra.contains(name)) {
            out += extra.value(name);
        } else if (vars.contains(name)) {
            out += vars.value(name);
        } else if (row >= 0 && row < rows.size()) {
            out += value(row, name).toString().trimmed();
        }
        i = close + 1;
    }
    return out;
}

ReportData readReportData(const ReportLayout& layout) {
    ReportData data;
    data.vars.insert(QStringLiteral("title"), layout.title);
    Database& db = Database::global();
    data.vars.insert(
        QStringLiteral("company"),
        db.scalar(QStringLiteral("SELECT COMPANY FROM WK_COMPANY")).toString().trimmed());
    data.vars.insert(QStringLiteral("period"), session().PeriodLabel);
    data.vars.insert(QStringLiteral("today"), Clock::todayText());
    const QList<QVariantList> slotTexts =
        db.selectAll(QStringLiteral("SELECT * FROM T_PRINTKOMOKU"));
    for (int i = 1; i <= 9; ++i) {
        data.vars.insert(
            QStringLiteral("slot%1").arg(i),
            slotTexts.isEmpty() ? QString() : slotTexts.first().value(i - 1).toString());
    }
    data.rows = db.selectAll(selectText(layout), {}, &data.columnNames);
    return data;
}

ReportJob loadReportJob(const QString& layoutName) {
    const QVariant document = Database::global().scalar(
        QStringLiteral("SELECT LAYOUT FROM MT_REPORT WHERE REPNAME = ?"), {layoutName});
    if (document.isNull()) {
        throw ReportFailure{2103, QStringLiteral("找不到报表“%1”。").arg(layoutName)};
    }
    QString error;
    const std::optional<ReportLayout> layout =
        ReportLayout::parse(layoutName, document.toString().toUtf8(), &error);
    if (!layout) {
        throw ReportFailure{2104, error};
    }
    return ReportJob{*layout, readReportData(*layout)};
}
