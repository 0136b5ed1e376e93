#include "print/ReportJobs.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "common/Clock.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/DbError.h"

namespace {

void addNamesIn(const QString& text, QSet<QString>& names) {
    static const QRegularExpression placeholder(QStringLiteral("\\{([A-Za-z0-9_|]+)\\}"));
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text)) {
        for (const QString& name : match.captured(1).split(u'|')) {
            names.insert(name);
        }
    }
}

// Only the columns the layout shows, groups by or tests are read: a year's journal is 100,000
// rows. The work table is "R", the lookups "L1", "L2" …
QString selectText(const ReportLayout& layout) {
    QSet<QString> names;
    for (const LayoutColumn& column : layout.columns) {
        names.insert(column.key);
        names.insert(column.side);
        names.insert(column.runningSeed);
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
    for (const QStringList& conditions : layout.skip) {
        for (const QString& condition : conditions) {
            names.insert(conditionColumn(condition));
        }
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
    QString from = layout.table;
    if (!layout.unionTables.isEmpty()) {
        from = QStringLiteral("(SELECT * FROM ") + layout.table;
        for (const QString& table : layout.unionTables) {
            from += QStringLiteral(" UNION ALL SELECT * FROM ") + table;
        }
        from += u')';
    }
    QString sql = QStringLiteral("SELECT %1 FROM %2 R%3")
                      .arg(columns.isEmpty() ? QStringLiteral("1 AS ROWNO")
                                             : columns.join(QStringLiteral(", ")),
                           from, joins);
    if (!layout.order.isEmpty()) {
        QStringList terms = layout.order.split(u',');
        for (QString& term : terms) {
            term = QStringLiteral("R.") + term.trimmed();
        }
        sql += QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));
    }
    return sql;
}

// The rows of a fixed form: line r of every block side by side, each numbered line with its
// amounts from the one-row value tables.
void readForm(const FormSource& form, ReportData& data) {
    QList<QVariantList> values;
    for (const QString& table : form.tables) {
        QStringList names;
        const QList<QVariantList> rows =
            Database::global().selectAll(QStringLiteral("SELECT * FROM ") + table, {}, &names);
        QVariantList byLine;
        for (int i = 0; i < names.size(); ++i) {
            if (names.at(i).startsWith(QStringLiteral("KIN"))) {
                const int line = names.at(i).mid(3).toInt();
                if (byLine.size() <= line) {
                    byLine.resize(line + 1);
                }
                byLine[line] = rows.isEmpty() ? QVariant(0) : rows.first().at(i);
            }
        }
        values.append(byLine);
    }
    qsizetype rowCount = 0;
    for (const FormBlock& block : form.blocks) {
        data.columnNames << block.captionKey << block.lineKey << block.valueKeys;
        rowCount = std::max(rowCount, block.lines.size());
    }
    for (qsizetype r = 0; r < rowCount; ++r) {
        QVariantList row;
        for (const FormBlock& block : form.blocks) {
            const QPair<QString, int> line = block.lines.value(r);
            row << line.first << (line.second > 0 ? QString::number(line.second) : QString());
            for (const QVariantList& byLine : values) {
                row << (line.second > 0 ? byLine.value(line.second, 0) : QVariant());
            }
        }
        data.rows.append(row);
    }
}

bool skipped(const ReportLayout& layout, const ReportData& data, int row) {
    return std::any_of(layout.skip.begin(), layout.skip.end(), [&](const QStringList& all) {
        return std::all_of(all.begin(), all.end(),
                           [&](const QString& condition) { return data.meets(row, condition); });
    });
}

}  // namespace

bool ReportData::meets(int row, const QString& condition) const {
    const bool negated = condition.contains(u"!=");
    const bool equal =
        value(row, conditionColumn(condition)).toString().trimmed() == condition.section(u'=', 1);
    return equal != negated;
}

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
        for (const QString& name : text.mid(open + 1, close - open - 1).split(u'|')) {
            QString part;
            if (extra.contains(name)) {
                part = extra.value(name);
            } else if (vars.contains(name)) {
                part = vars.value(name);
            } else if (row >= 0 && row < rows.size()) {
                part = value(row, name).toString().trimmed();
            }
            if (!part.isEmpty()) {
                out += part;
                break;
            }
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
    if (layout.form) {
        readForm(*layout.form, data);
    } else {
        data.rows = db.selectAll(selectText(layout), {}, &data.columnNames);
    }
    if (!layout.skip.isEmpty()) {
        QList<QVariantList> kept;
        for (int row = 0; row < data.rows.size(); ++row) {
            if (!skipped(layout, data, row)) {
                kept.append(data.rows.at(row));
            }
        }
        data.rows = kept;
    }
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
    ReportJob job{*layout, readReportData(*layout)};
    if (const QString mismatch = job.layout.mismatch(job.data.columnNames); !mismatch.isEmpty()) {
        throw ReportFailure{2104, mismatch};
    }
    return job;
}
