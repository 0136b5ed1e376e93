#include <gtest/gtest.h>

#include "common/Money.h"
#include "print/PageBuilder.h"
#include "support/QtPrinters.h"

namespace {

// A ledger-like report: accounts start on a new page, days are grouped with their totals, and
// pages carry the running total of the account.
const char* kLayout = R"({
  "title": "测试", "paper": "A4", "margins_mm": [10, 10, 10, 10], "row_height_mm": 20,
  "source": {"table": "T", "order": "ACC, DAY"},
  "columns": [
    {"key": "DAY", "heading": "日期", "width_mm": 30},
    {"key": "NOTE", "heading": "摘要", "width_mm": 60},
    {"key": "AMT", "heading": "金额", "width_mm": 40, "align": "right", "format": "money", "total": true},
    {"key": "AMT", "heading": "零为空", "width_mm": 40, "format": "money_blank_zero", "carry": true}
  ],
  "bands": {
    "page_header": [{"text": "{title} 账户 {ACC} {missing}"}],
    "groups": [
      {"by": "ACC", "new_page": true, "header": [{"text": "{ACCNAME}"}]},
      {"by": "DAY", "footer": [{"text": "{DAY} 合计", "totals": true}]}
    ],
    "carry": {"bottom": "过次页", "top": "承前页"},
    "report_footer": [{"text": "总计", "totals": true}],
    "page_footer": [{"text": "第 {page} 页 / 共 {pages} 页"}]
  }
})";

ReportData bookRows() {
    ReportData data;
    data.columnNames = {QStringLiteral("ACC"), QStringLiteral("ACCNAME"), QStringLiteral("DAY"),
                        QStringLiteral("NOTE"), QStringLiteral("AMT")};
    data.vars.insert(QStringLiteral("title"), QStringLiteral("测试"));
    // Account 101 has 30 lines over 6 days, 102 two lines (one of them zero) on one day.
    for (int i = 0; i < 30; ++i) {
        data.rows.append({QStringLiteral("101"), QStringLiteral("现金"),
                          QStringLiteral("01.%1").arg(i / 5 + 1, 2, 10, QLatin1Char('0')),
                          QStringLiteral("行%1").arg(i), Money::fromInt(i + 1).toDb()});
    }
    data.rows.append({QStringLiteral("102"), QStringLiteral(""), QStringLiteral("02.01"),
                      QStringLiteral("零"), Money().toDb()});
    data.rows.append({QStringLiteral("102"), QStringLiteral(""), QStringLiteral("02.01"),
                      QStringLiteral("半"), Money::parse(u"0.5")->toDb()});
    return data;
}

// The texts of one page line by line, items of a line joined by "|".
QStringList pageLines(const Page& page) {
    QMap<int, QMap<int, QString>> lines;
    for (const PageText& text : page.texts) {
        lines[qRound(text.rectMm.top() * 10)][qRound(text.rectMm.left() * 10)] = text.text;
    }
    QStringList out;
    for (const auto& line : lines) {
        out.append(QStringList(line.values()).join(u'|'));
    }
    return out;
}

TEST(PageBuilder, GroupsCarriesAndPageNumbersAddUp) {
    QString error;
    const auto layout = ReportLayout::parse(QStringLiteral("T"), kLayout, &error);
    ASSERT_TRUE(layout) << error.toStdString();
    const PageModel model = buildPages(*layout, bookRows());
    const int pageCount = int(model.pages.size());
    ASSERT_GT(pageCount, 3);

    Money shown;  // sum of the detail amounts printed so far for the account
    QString account;
    QString lastAmount;  // of the last line printed, which 过次页 and 承前页 repeat
    for (int p = 0; p < pageCount; ++p) {
        const QStringList lines = pageLines(model.pages.at(p));
        ASSERT_GE(lines.size(), 4) << p;
        EXPECT_EQ(lines.last(), QStringLiteral("第 %1 页 / 共 %2 页").arg(p + 1).arg(pageCount));
        // Unknown names print empty; the header shows the page's account.
        EXPECT_TRUE(lines.first().startsWith(u"测试 账户 10")) << lines.first().toStdString();
        if (lines.first() != QStringLiteral("测试 账户 ") + account + u' ') {
            account = lines.first().section(u' ', 2, 2);
            shown = Money();
            // A new account starts on its own page, after its name (none: no line), and carries
            // nothing in.
            EXPECT_EQ(lines.at(2),
                      account == u"101" ? QStringLiteral("现金") : QStringLiteral("02.01|零|0.00"))
                << p;
        } else {
            // The carried column repeats the last line's value beside the running total.
            EXPECT_TRUE(
                lines.at(2).startsWith(QStringLiteral("承前页|") + shown.toExactDisplay() + u'|'))
                << p << lines.at(2).toStdString();
        }
        EXPECT_EQ(lines.at(1), QStringLiteral("日期|摘要|金额|零为空"));
        for (const QString& line : lines) {
            const QStringList cells = line.split(u'|');
            if (cells.size() >= 3 && cells.at(1).startsWith(u"行")) {
                shown += *Money::parse(cells.at(2));
                lastAmount = cells.at(2);
                EXPECT_EQ(cells.size(), 4) << "the blank-zero column repeats the amount";
            }
        }
        if (p < pageCount - 1 && pageLines(model.pages.at(p + 1)).first() == lines.first()) {
            EXPECT_EQ(lines.at(lines.size() - 2),
                      QStringLiteral("过次页|") + shown.toExactDisplay() + u'|' + lastAmount)
                << p;
        }
    }
    const QStringList first = pageLines(model.pages.first());
    EXPECT_TRUE(first.contains(QStringLiteral("01.01 合计|15.00")))
        << first.join(u'\n').toStdString();
    const QStringList last = pageLines(model.pages.last());
    EXPECT_TRUE(last.contains(QStringLiteral("02.01|半|0.50|0.50")));
    EXPECT_TRUE(last.contains(QStringLiteral("02.01 合计|0.50")));
    EXPECT_TRUE(last.contains(QStringLiteral("总计|465.50")));
}

TEST(PageBuilder, NoRowsStillGivesOnePageWithHeadings) {
    const auto layout = ReportLayout::parse(QStringLiteral("T"), kLayout, nullptr);
    ReportData empty = bookRows();
    empty.rows.clear();
    const PageModel model = buildPages(*layout, empty);
    ASSERT_EQ(model.pages.size(), 1);
    EXPECT_EQ(pageLines(model.pages.first()),
              QStringList({QStringLiteral("测试 账户  "), QStringLiteral("日期|摘要|金额|零为空"),
                           QStringLiteral("总计|0.00"), QStringLiteral("第 1 页 / 共 1 页")}));
}

// A ledger: the carried-forward line, months with their totals and the totals so far, the balance
// printed without its sign beside its side. With a running seed, the totals so far start from the
// carried-forward row's seed (the turnover before the first month shown); the month totals and
// the rows' amounts stay as they were.
TEST(PageBuilder, LedgerMonthsRunningTotalsAndBalanceSides) {
    const char* json = R"({
      "source": {"table": "T"}, "row_height_mm": 5,
      "columns": [
        {"key": "DAY", "width_mm": 20}, {"key": "DR", "width_mm": 30, "format": "money_blank_zero", "total": true%1},
        {"key": "BAL", "width_mm": 10, "format": "direction", "side": "SIDE"},
        {"key": "BAL", "width_mm": 30, "format": "money_abs"}
      ],
      "bands": {"groups": [
        {"by": "ACC", "new_page": true},
        {"by": "DAY", "prefix": 5, "footer": [
          {"text": "本月合计", "totals": true, "if": "NO!=0"},
          {"text": "本年累计", "totals": "running", "if": "NO!=0"}]}]}
    })";
    ReportData data;
    data.columnNames = {QStringLiteral("ACC"), QStringLiteral("SIDE"), QStringLiteral("DAY"),
                        QStringLiteral("NO"),  QStringLiteral("DR"),   QStringLiteral("BAL"),
                        QStringLiteral("SEED")};
    const auto row = [&](const char* acc, const char* side, const char* day, const char* no,
                         qint64 dr, qint64 bal, qint64 seed) {
        data.rows.append({QString::fromUtf8(acc), QString::fromUtf8(side), QString::fromUtf8(day),
                          QString::fromUtf8(no), Money::fromInt(dr).toDb(),
                          Money::fromInt(bal).toDb(), Money::fromInt(seed).toDb()});
    };
    row("101", "0", "00.01.01", "0", 0, 100, 30);
    row("101", "0", "24.01.05", "1", 50, 150, 0);
    row("101", "0", "24.01.09", "2", 0, -20, 0);
    row("101", "0", "24.02.01", "3", 7, 0, 0);
    row("201", "1", "00.01.01", "0", 0, -5, 4);
    const struct {
        const char* seed;
        const char* january;
        const char* february;
    } cases[] = {{"", "本年累计|50.00", "本年累计|57.00"},
                 {R"(, "running_seed": "SEED")", "本年累计|80.00", "本年累计|87.00"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seed);
        QString error;
        const auto layout = ReportLayout::parse(
            QStringLiteral("L"), QString::fromUtf8(json).arg(QLatin1String(c.seed)).toUtf8(),
            &error);
        ASSERT_TRUE(layout) << error.toStdString();
        const PageModel model = buildPages(*layout, data);
        ASSERT_EQ(model.pages.size(), 2);
        EXPECT_EQ(
            pageLines(model.pages.at(0)),
            QStringList({QStringLiteral("00.01.01|借|100.00"),
                         QStringLiteral("24.01.05|50.00|借|150.00"),
                         QStringLiteral("24.01.09|贷|20.00"), QStringLiteral("本月合计|50.00"),
                         QString::fromUtf8(c.january), QStringLiteral("24.02.01|7.00|平|0.00"),
                         QStringLiteral("本月合计|7.00"), QString::fromUtf8(c.february)}));
        // A credit-sided account with a debit balance; its carried-forward line has no month
        // totals.
        EXPECT_EQ(pageLines(model.pages.at(1)), QStringList({QStringLiteral("00.01.01|借|5.00")}));
    }
}

TEST(ReportLayout, MalformedDocumentsAreRefusedWithTheReason) {
    const struct {
        const char* json;
        const char* reason;
    } cases[] = {
        {"{", "报表“X”的格式不对"},
        {R"({"source": {"table": "T; DROP TABLE T_KANJO"}})", "数据表名不对"},
        {R"({"source": {"table": "T", "order": "A; DELETE FROM T"}})", "排序不对"},
        {R"({"source": {"table": "T"}, "paper": "Letter"})", "纸张不明: Letter"},
        {R"({"source": {"table": "T"}, "orientation": "sideways"})", "纸张方向不明"},
        {R"({"source": {"table": "T"}, "columns": [{"key": "A", "align": "middle"}]})",
         "对齐方式不明"},
        {R"({"source": {"table": "T"}, "columns": [{"key": "A", "format": "yen"}]})", "格式不明"},
        {R"({"source": {"table": "T"}, "columns": [{"heading": "空"}]})", "列没有数据: 空"},
        {R"({"source": {"table": "T"}, "columns": [{"key": "A", "width_mm": 181}]})",
         "列宽合计 181 mm 超过版心 180 mm"},
        {R"({"source": {"table": "T"}, "fonts": {"body": ["X", -1]}})", "字号不对"},
        {R"({"source": {"table": "T"}, "columns": [{"key": "A", "running_seed": "S"}]})",
         "累计起点列不对: S"},
        {R"({"source": {"table": "T"}, "columns": [{"key": "A", "total": true, "running_seed": "S; --"}]})",
         "累计起点列不对: S; --"},
        {R"({"source": {"table": "T"}, "bands": {"page_header": [3]}})", "栏的行必须是对象或数组"},
        {R"({"source": {"table": "T"}, "bands": {"page_header": [{"if": "a=1"}]}})",
         "条件不对: a=1"},
        {R"({"source": {"table": "T", "lookups": [{"table": "K; --", "key": "A", "on": "B"}]}})",
         "查找表不对"},
        {R"({"source": {"table": "T", "union": ["U V"]}})", "数据表名不对: U V"},
        {R"({"source": {"table": "T", "skip": [["a b="]]}})", "条件不对: a b="},
        {R"({"source": {"form": {"tables": ["S"], "blocks": [{"caption": "C", "line": "L"}]}}})",
         "表格块不对: C"},
        {R"({"source": {"form": {"tables": ["S"], "blocks": []}}})", "表格没有内容"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(ReportLayout::parse(QStringLiteral("X"), c.json, &error)) << c.json;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason)))
            << c.json << " -> " << error.toStdString();
    }
}

}  // namespace
