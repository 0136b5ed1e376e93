#include <gtest/gtest.h>

#include "support/ChartAudit.h"
#include "support/TestDatabase.h"

namespace {

class ShippedChart : public DatabaseTest {
  protected:
    // The template chart with one change made by edit; returns what the audit finds.
    QStringList brokenBy(const std::function<void(Chart&)>& edit) {
        Chart chart = loadTemplateChart();
        edit(chart);
        return auditChart(chart);
    }
    static ChartAccount& at(Chart& chart, const char* kocode) {
        for (ChartAccount& a : chart) {
            if (a.kocode == QLatin1String(kocode)) {
                return a;
            }
        }
        throw std::runtime_error(kocode);
    }
    static bool mentions(const QStringList& problems, const QString& rule, const QString& code) {
        return std::any_of(problems.begin(), problems.end(), [&](const QString& p) {
            return p.startsWith(rule + u' ') && p.contains(code);
        });
    }
};

TEST_F(ShippedChart, TemplateAndEveryPreparedSetAreCoherent) {
    const Chart chart = loadTemplateChart();
    ASSERT_GT(chart.size(), 250);
    EXPECT_EQ(auditChart(chart), QStringList());
    const QStringList sets = rows(QStringLiteral("SELECT CID FROM T_COMP_MAIN ORDER BY CID"));
    ASSERT_EQ(sets.size(), 13);
    for (const QString& cid : sets) {
        EXPECT_EQ(auditChart(loadSetChart(cid)), QStringList()) << cid.toStdString();
        // A prepared set carries every account, or loading it would keep the previous set's.
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE CID = ?"), {cid}),
                  chart.size())
            << cid.toStdString();
    }
    // The household book speaks of a household.
    EXPECT_EQ(value(QStringLiteral("SELECT KANNAME FROM T_KISYUZAN WHERE CID = '01' AND KOCODE = "
                                   "'180'")),
              QStringLiteral("工资收入"));
}

TEST_F(ShippedChart, AuditCatchesBrokenCharts) {
    using Edit = std::function<void(Chart&)>;
    const QList<std::tuple<Edit, QString, QString>> cases = {
        {[](Chart& c) { at(c, "180").kmcode = QStringLiteral("560"); }, QStringLiteral("R15"),
         QStringLiteral("180")},
        {[](Chart& c) { at(c, "263").kmcode = QStringLiteral("701 "); }, QStringLiteral("R3"),
         QStringLiteral("263")},
        {[](Chart& c) { at(c, "264").kmcode = QStringLiteral("701"); }, QStringLiteral("R3"),
         QStringLiteral("701")},
        {[](Chart& c) { at(c, "070").tocode = QStringLiteral("152"); }, QStringLiteral("R8"),
         QStringLiteral("070")},
        {[](Chart& c) { at(c, "068").tocode = QStringLiteral("067"); }, QStringLiteral("R9"),
         QStringLiteral("068")},
        {[](Chart& c) { at(c, "263").tocode = QString(); }, QStringLiteral("R10"),
         QStringLiteral("263")},
        {[](Chart& c) { at(c, "309").tocode = QStringLiteral("353"); }, QStringLiteral("R11"),
         QStringLiteral("309")},
        {[](Chart& c) { c.removeIf([](const ChartAccount& a) { return a.kocode == u"348"; }); },
         QStringLiteral("R11"), QStringLiteral("348")},
        {[](Chart& c) { at(c, "004").buncode = QStringLiteral("410"); }, QStringLiteral("R17"),
         QStringLiteral("004")},
        {[](Chart& c) { at(c, "034").taikbn = QStringLiteral("1"); }, QStringLiteral("R13"),
         QStringLiteral("034")},
        {[](Chart& c) { at(c, "301").tocode = QStringLiteral("354"); }, QStringLiteral("R7"),
         QStringLiteral("301")},
        {[](Chart& c) {
             ChartAccount extra = at(c, "309");
             extra.kocode = QStringLiteral("223");
             extra.kmcode = QStringLiteral("799");
             extra.tocode = QStringLiteral("238");
             c.append(extra);
         },
         QStringLiteral("R7"), QStringLiteral("223")},
        {[](Chart& c) {
             ChartAccount extra = at(c, "035");
             extra.kocode = QStringLiteral("107");
             extra.kmcode = QStringLiteral("198");
             c.append(extra);
         },
         QStringLiteral("R6"), QStringLiteral("107")},
        {[](Chart& c) { at(c, "034").hosetno = QStringLiteral("Y"); }, QStringLiteral("R16"),
         QStringLiteral("034")},
        {[](Chart& c) { at(c, "180").daibun = QStringLiteral("3"); }, QStringLiteral("R14"),
         QStringLiteral("180")},
        {[](Chart& c) {
             for (ChartAccount& a : c) {
                 if (a.daibun == u"3") {
                     a.jun = 10;
                 }
             }
         },
         QStringLiteral("R14"), QStringLiteral("expense rows")},
        {[](Chart& c) { at(c, "171").tocode = QStringLiteral("175"); }, QStringLiteral("R8"),
         QStringLiteral("171")},
        {[](Chart& c) { at(c, "283").name = QStringLiteral("一二三四五六七八九十一二三四五六"); },
         QStringLiteral("R19"), QStringLiteral("283")},
        {[](Chart& c) { at(c, "471").buncode = QStringLiteral("999"); }, QStringLiteral("R17"),
         QStringLiteral("180")},
    };
    int index = 0;
    for (const auto& [edit, rule, code] : cases) {
        const QStringList problems = brokenBy(edit);
        EXPECT_TRUE(mentions(problems, rule, code))
            << "case " << index << ": " << problems.join(u'\n').toStdString();
        ++index;
    }
}

}  // namespace
