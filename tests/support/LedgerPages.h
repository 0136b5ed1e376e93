#pragma once

#include <gtest/gtest.h>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>

#include "common/Money.h"
#include "db/Database.h"
#include "print/PageBuilder.h"
#include "print/ReportJobs.h"

// The month totals a ledger prints, and the same worked out from the voucher lines, each as
// "header|yyyy/mm|本月合计 debit|credit|本年累计 debit|credit" (amounts in their plain form),
// the header being the page's account line ("科目：101 现金", then "|辅助科目：…").

// Read from the page model of the layout over its filled work table; sorted.
inline QStringList printedMonthTotals(const QString& layoutName) {
    const ReportJob job = loadReportJob(layoutName);
    const PageModel model = buildPages(job.layout, job.data);
    static const QRegularExpression day(QStringLiteral("^(\\d\\d)\\.(\\d\\d)\\.\\d\\d$"));
    const auto amount = [](const QString& shown) {
        const std::optional<Money> parsed = Money::parse(shown);
        EXPECT_TRUE(shown.isEmpty() || parsed) << shown.toStdString();
        return parsed.value_or(Money()).toText();
    };
    QStringList out;
    QString header;
    QString month;
    QString monthTotals;
    for (const Page& page : model.pages) {
        QMap<int, QMap<int, QString>> lines;  // by top, then by left, in tenths of a millimetre
        double debitX = -1;
        double creditX = -1;
        for (const PageText& text : page.texts) {
            // Texts of one rect (a heading line's left and right parts) share a cell.
            QString& cell = lines[qRound(text.rectMm.top() * 10)][qRound(text.rectMm.left() * 10)];
            cell = cell.isEmpty() ? text.text : cell + u'|' + text.text;
            if (text.font == u"heading" && text.text == u"借方") {
                debitX = text.rectMm.left();
            } else if (text.font == u"heading" && text.text == u"贷方") {
                creditX = text.rectMm.left();
            }
        }
        for (const QMap<int, QString>& line : lines) {
            const QString first = line.first();
            if (first.startsWith(u"科目：")) {
                header = QStringList(line.values()).join(u'|');
                continue;
            }
            const QRegularExpressionMatch date = day.match(first);
            if (date.hasMatch() && date.captured(1) != u"00") {
                month = QStringLiteral("20") + date.captured(1) + u'/' + date.captured(2);
            }
            if (first != u"本月合计" && first != u"本年累计") {
                continue;
            }
            const QString totals = amount(line.value(qRound(debitX * 10))) + u'|' +
                                   amount(line.value(qRound(creditX * 10)));
            if (first == u"本月合计") {
                monthTotals = totals;
            } else {
                out.append(header + u'|' + month + u'|' + monthTotals + u'|' + totals);
            }
        }
    }
    out.sort();
    return out;
}

// From T_SI_MEISAI of the set, periodFirst being the period's first month and first..last the
// months shown: for each account (subsidiary) in the work table and month with lines, the
// month's turnover and the turnover from the period's first month through it; sorted as
// printedMonthTotals.
inline QStringList expectedMonthTotals(bool subsidiary, const QString& cid,
                                       const QString& periodFirst, const QString& first,
                                       const QString& last) {
    const QString side = QStringLiteral(
        "SELECT %1KOCODE AS KO, %2 AS HO, DATEYM AS M, %3 AS DR, %4 AS CR FROM T_SI_MEISAI WHERE "
        "CID = ?1 AND DATEYM BETWEEN ?2 AND ?4");
    const auto hokocode = [&](const char* prefix) {
        return subsidiary ? QLatin1String(prefix) + QStringLiteral("HOKOCODE")
                          : QStringLiteral("''");
    };
    const QString printed =
        subsidiary
            ? QStringLiteral(
                  "SELECT DISTINCT O.KANKOCODE AS KO, H.HOKOCODE AS HO, '科目：' || trim(O.KMCODE) "
                  "|| ' ' || trim(O.KMNAME) || '|辅助科目：' || trim(O.HOCODE) || ' ' || "
                  "trim(O.HONAME) AS HEAD FROM T_SKANSUBMT_OUT O JOIN T_HOJOKAMOKU H ON H.CID = ?1 "
                  "AND H.KANKOCODE = O.KANKOCODE AND H.HOCODE = O.HOCODE")
            : QStringLiteral(
                  "SELECT DISTINCT KANKOCODE AS KO, '' AS HO, '科目：' || trim(KMCODE) "
                  "|| ' ' || trim(KMNAME) AS HEAD FROM T_SKANMT_OUT");
    const QString sql =
        QStringLiteral(
            "WITH L AS (%1 UNION ALL %2), P AS (%3) SELECT P.HEAD, X.M, SUM(CASE WHEN L.M = X.M "
            "THEN L.DR ELSE 0 END), SUM(CASE WHEN L.M = X.M THEN L.CR ELSE 0 END), SUM(L.DR), "
            "SUM(L.CR) FROM P JOIN (SELECT DISTINCT KO, HO, M FROM L WHERE M >= ?3) X ON X.KO = "
            "P.KO AND X.HO = P.HO JOIN L ON L.KO = P.KO AND L.HO = P.HO AND L.M <= X.M GROUP BY "
            "P.HEAD, X.M ORDER BY 1, 2")
            .arg(side.arg(QStringLiteral("KR"), hokocode("KR"), QStringLiteral("KRKIN"),
                          QStringLiteral("0")),
                 side.arg(QStringLiteral("KS"), hokocode("KS"), QStringLiteral("0"),
                          QStringLiteral("KSKIN")),
                 printed);
    QStringList out;
    for (const QVariantList& r :
         Database::global().selectAll(sql, {cid, periodFirst, first, last})) {
        QStringList cells{r.at(0).toString(), r.at(1).toString()};
        for (int i = 2; i < r.size(); ++i) {
            cells.append(Money::fromDb(r.at(i)).toText());
        }
        out.append(cells.join(u'|'));
    }
    return out;
}
