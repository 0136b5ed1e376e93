#include "support/ChartAudit.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include "db/Database.h"

namespace {

QString code(int n) {
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

QSet<QString> codes(std::initializer_list<std::pair<int, int>> ranges) {
    QSet<QString> all;
    for (const auto& [from, to] : ranges) {
        for (int n = from; n <= to; ++n) {
            all.insert(code(n));
        }
    }
    return all;
}

// Balance-sheet codes that some line of the statutory balance sheet adds into its totals.
const QSet<QString> kBalanceSheetLines =
    codes({{4, 5},     {9, 26},    {30, 30},   {34, 35},   {39, 42},   {45, 51},   {54, 61},
           {70, 81},   {84, 87},   {92, 98},   {100, 101}, {105, 106}, {111, 111}, {116, 116},
           {120, 121}, {124, 125}, {128, 134}, {136, 141}, {144, 145}, {150, 150}, {155, 155},
           {158, 159}, {162, 162}, {165, 165}, {170, 171}});

// Accounts the income statement reads one by one; the others it reads through one of its totals.
const QSet<QString> kIncomeStatementDirect = codes({{171, 171},
                                                    {180, 191},
                                                    {195, 201},
                                                    {203, 203},
                                                    {242, 244},
                                                    {246, 257},
                                                    {259, 259},
                                                    {347, 347},
                                                    {349, 352},
                                                    {355, 356}});
const QSet<QString> kIncomeStatementTotals = {
    QStringLiteral("214"), QStringLiteral("238"), QStringLiteral("240"), QStringLiteral("310"),
    QStringLiteral("321"), QStringLiteral("329"), QStringLiteral("341"), QStringLiteral("345")};

// The conditions of the statutory profit statement's lines, one set per line.
const QList<QSet<QString>> kProfitStatementLines = {codes({{180, 185}, {190, 191}, {320, 320}}),
                                                    codes({{186, 187}}),
                                                    codes({{347, 347}}),
                                                    codes({{195, 196},
                                                           {199, 199},
                                                           {239, 239},
                                                           {242, 242},
                                                           {244, 244},
                                                           {259, 259},
                                                           {203, 213},
                                                           {215, 226},
                                                           {229, 237},
                                                           {246, 255}}),
                                                    codes({{263, 282}, {284, 300}, {302, 309}}),
                                                    codes({{283, 283}}),
                                                    codes({{314, 314}}),
                                                    codes({{333, 333}}),
                                                    codes({{315, 315}}),
                                                    codes({{316, 316}}),
                                                    codes({{317, 317}}),
                                                    codes({{334, 334}, {340, 340}}),
                                                    codes({{343, 343}}),
                                                    codes({{344, 344}}),
                                                    codes({{324, 324}}),
                                                    codes({{327, 327}}),
                                                    codes({{223, 223}, {328, 328}}),
                                                    codes({{301, 301}}),
                                                    codes({{171, 171}}),
                                                    codes({{355, 355}}),
                                                    codes({{356, 356}}),
                                                    codes({{349, 349}}),
                                                    codes({{351, 351}}),
                                                    codes({{352, 352}})};

// Daily entry counts an account as income or expense by its number.
bool inIncomeSet(const QString& kmcode) {
    static const QSet<QString> extra = {
        QStringLiteral("811"), QStringLiteral("812"), QStringLiteral("813"), QStringLiteral("814"),
        QStringLiteral("851"), QStringLiteral("853"), QStringLiteral("855"), QStringLiteral("872"),
        QStringLiteral("911"), QStringLiteral("913"), QStringLiteral("999")};
    return (kmcode >= u"500" && kmcode <= u"549") || extra.contains(kmcode);
}

bool inExpenseSet(const QString& kmcode) {
    static const QSet<QString> extra = {
        QStringLiteral("821"), QStringLiteral("822"), QStringLiteral("823"), QStringLiteral("824"),
        QStringLiteral("862"), QStringLiteral("864"), QStringLiteral("871"), QStringLiteral("873"),
        QStringLiteral("874"), QStringLiteral("875"), QStringLiteral("876")};
    return (kmcode >= u"550" && kmcode <= u"799") || extra.contains(kmcode);
}

class Auditor {
  public:
    explicit Auditor(const Chart& chart) : chart_(chart) {
        for (const ChartAccount& a : chart_) {
            if (byCode_.contains(a.kocode)) {
                fail(1, a, QStringLiteral("key used twice"));
            }
            byCode_.insert(a.kocode, &a);
        }
    }

    QStringList run() {
        for (const ChartAccount& a : chart_) {
            codesAndNumbers(a);
            rollUp(a);
            dailyEntry(a);
            headings(a);
        }
        uniqueNumbers();
        fixedRoles();
        gridSizes();
        headingLevels();
        return problems_;
    }

  private:
    void fail(int rule, const ChartAccount& a, const QString& what) {
        problems_.append(QStringLiteral("R%1 %2 %3: %4").arg(rule).arg(a.kocode, a.name, what));
    }
    void fail(int rule, const QString& what) {
        problems_.append(QStringLiteral("R%1 %2").arg(rule).arg(what));
    }
    const ChartAccount* find(const QString& kocode) const { return byCode_.value(kocode); }
    static bool posting(const ChartAccount& a) { return a.syorikbn == u"0"; }
    static bool inUse(const ChartAccount& a) { return a.siyou == u"Y"; }
    static bool balanceSheet(const ChartAccount& a) { return a.kocode < u"177"; }
    static bool clearing(const ChartAccount& a) { return a.kocode == u"999"; }

    // The chain of totals above an account, or empty when it breaks or loops.
    QStringList chain(const ChartAccount& a) const {
        if (a.syorikbn == u"1" && a.tocode <= u"003") {
            return {a.kocode};  // a top total
        }
        QStringList up;
        const ChartAccount* at = &a;
        while (true) {
            const ChartAccount* parent = find(at->tocode);
            if (!parent || parent->syorikbn != u"1" || up.contains(parent->kocode) ||
                up.size() > 20) {
                return {};
            }
            up.append(parent->kocode);
            if (parent->tocode <= u"003") {
                return up;
            }
            at = parent;
        }
    }

    void codesAndNumbers(const ChartAccount& a) {
        static const QRegularExpression key(QStringLiteral("^[0-9]{3}$"));
        static const QRegularExpression number(QStringLiteral("^[1-9][0-9]{2}$"));
        if (!key.match(a.kocode).hasMatch()) {
            fail(1, a, QStringLiteral("key is not three digits"));
        }
        if (a.kocode == u"000") {
            fail(2, a, QStringLiteral("'000' marks the top of the heading tree"));
        }
        if (posting(a) && inUse(a) && !number.match(a.kmcode).hasMatch()) {
            fail(3, a, QStringLiteral("number '%1' is not three digits 100-999").arg(a.kmcode));
        }
        if (a.kmcode == u"202" || a.kmcode == u"258") {
            fail(4, a, QStringLiteral("number %1 is dropped by the ledgers").arg(a.kmcode));
        }
        if (!posting(a) && !a.kmcode.isEmpty()) {
            fail(5, a, QStringLiteral("headings and totals carry no number"));
        }
        if (a.name.trimmed().isEmpty() || a.name.size() > 15) {
            fail(19, a, QStringLiteral("name empty or longer than 15 characters"));
        }
        if (posting(a) && !inUse(a)) {
            fail(18, a, QStringLiteral("an account not in use can never be taken into use"));
        }
        if (!posting(a) && !inUse(a)) {
            fail(9, a, QStringLiteral("totals and headings must be in use"));
        }
    }

    void rollUp(const ChartAccount& a) {
        if (a.syorikbn == u"2") {
            return;
        }
        if (a.taikbn != u"0" && a.taikbn != u"1") {
            fail(13, a, QStringLiteral("side '%1'").arg(a.taikbn));
        }
        if (a.syorikbn == u"1" && a.tocode > u"003") {
            const ChartAccount* parent = find(a.tocode);
            if (!parent || parent->syorikbn != u"1" || a.kocode >= a.tocode) {
                fail(9, a, QStringLiteral("rolls into %1, which is no later total").arg(a.tocode));
            }
        }
        if (posting(a) && (!find(a.tocode) || find(a.tocode)->syorikbn != u"1")) {
            fail(10, a, QStringLiteral("rolls into '%1', which is no total").arg(a.tocode));
            return;
        }
        for (const char16_t* reserved : {u"204", u"348", u"353"}) {
            if (a.tocode == QStringView(reserved)) {
                fail(11, a, QStringLiteral("nothing may roll into %1").arg(a.tocode));
            }
        }
        const QStringList up = chain(a);
        if (up.isEmpty()) {
            fail(9, a, QStringLiteral("roll-up chain breaks or loops"));
            return;
        }
        if (!posting(a) || !inUse(a)) {
            if (!balanceSheet(a) && (up.contains(u"113") || up.contains(u"176"))) {
                fail(8, a, QStringLiteral("a profit-and-loss total reaches 113 or 176"));
            }
            return;
        }
        if (balanceSheet(a)) {
            balanceSheetAccount(a, up);
        } else if (!clearing(a)) {
            profitAndLossAccount(a, up);
        }
    }

    void balanceSheetAccount(const ChartAccount& a, const QStringList& up) {
        const bool asset = a.kocode < u"113";
        if (up.last() != (asset ? u"113" : u"176")) {
            fail(8, a,
                 QStringLiteral("rolls up to %1, not %2")
                     .arg(up.last(), asset ? QStringLiteral("113") : QStringLiteral("176")));
        }
        if (!kBalanceSheetLines.contains(a.kocode)) {
            fail(6, a, QStringLiteral("no line of the statutory balance sheet adds this code"));
        }
        // Contra accounts sit on the other side of their section.
        const bool contra = a.kocode == u"081" || a.kocode == u"098" || a.kocode == u"141";
        if ((a.taikbn == u"0") != (asset != contra)) {
            fail(13, a, QStringLiteral("side %1 does not fit its section").arg(a.taikbn));
        }
        if (a.kocode == u"171" && !up.contains(u"174")) {
            fail(8, a, QStringLiteral("profit brought forward must be inside 174"));
        }
    }

    void profitAndLossAccount(const ChartAccount& a, const QStringList& up) {
        if (a.kocode < u"180" || a.kocode > u"356") {
            fail(7, a, QStringLiteral("outside 180-356, the statements do not read it"));
        }
        const bool direct = kIncomeStatementDirect.contains(a.kocode);
        const auto viaTotals = std::count_if(up.begin(), up.end(), [](const QString& t) {
            return kIncomeStatementTotals.contains(t);
        });
        if ((direct ? 1 : 0) + viaTotals != 1) {
            fail(7, a,
                 QStringLiteral("the income statement counts it %1 times")
                     .arg((direct ? 1 : 0) + viaTotals));
        }
        const auto lines =
            std::count_if(kProfitStatementLines.begin(), kProfitStatementLines.end(),
                          [&](const QSet<QString>& line) { return line.contains(a.kocode); });
        if (lines != 1) {
            fail(7, a, QStringLiteral("the profit statement counts it %1 times").arg(lines));
        }
        if (up.contains(u"113") || up.contains(u"176")) {
            fail(8, a, QStringLiteral("a profit-and-loss account reaches 113 or 176"));
        }
        const bool debitNatured = a.kocode == u"186" || a.kocode == u"187";
        if (debitNatured && a.taikbn != u"0") {
            fail(13, a, QStringLiteral("sales returns are debit-sided"));
        }
    }

    void dailyEntry(const ChartAccount& a) {
        if (!posting(a)) {
            return;
        }
        if (inIncomeSet(a.kmcode) && a.taikbn != u"1") {
            fail(15, a, QStringLiteral("an income number on a debit-sided account"));
        }
        if (inExpenseSet(a.kmcode) && a.taikbn != u"0") {
            fail(15, a, QStringLiteral("an expense number on a credit-sided account"));
        }
        if (balanceSheet(a) && (inIncomeSet(a.kmcode) || inExpenseSet(a.kmcode))) {
            fail(15, a, QStringLiteral("a balance-sheet account with an income or expense number"));
        }
        if (a.daibun == u"1" || a.daibun == u"2" || a.daibun == u"3") {
            if ((a.daibun == u"1") != (a.taikbn == u"1")) {
                fail(14, a, QStringLiteral("grid %1 does not fit side %2").arg(a.daibun, a.taikbn));
            }
            if (a.aicode != u"004" || balanceSheet(a)) {
                fail(14, a, QStringLiteral("grid accounts are P&L accounts against cash"));
            }
        }
        if (a.hosetno != u"N") {
            fail(16, a, QStringLiteral("subsidiary accounts could never be entered"));
        }
        if (a.hojoset == u"Y" && (!balanceSheet(a) || a.kocode == u"004")) {
            fail(16, a, QStringLiteral("subsidiary accounts only on balance-sheet accounts"));
        }
    }

    void headings(const ChartAccount& a) {
        if (!posting(a) || !inUse(a)) {
            return;
        }
        const ChartAccount* level3 = find(a.buncode);
        const ChartAccount* level2 = level3 ? find(level3->buncode) : nullptr;
        const ChartAccount* level1 = level2 ? find(level2->buncode) : nullptr;
        if (!level1 || level3->syorikbn != u"2" || level2->syorikbn != u"2" ||
            level1->syorikbn != u"2" || level1->buncode != u"000") {
            fail(17, a, QStringLiteral("not three headings below '000'"));
        }
    }

    void headingLevels() {
        for (const ChartAccount& h : chart_) {
            if (h.syorikbn != u"2" || h.buncode == u"000") {
                continue;
            }
            const ChartAccount* parent = find(h.buncode);
            if (!parent || parent->syorikbn != u"2") {
                fail(17, h, QStringLiteral("heading below a missing heading"));
            } else if (parent->buncode == u"000" &&
                       std::none_of(chart_.begin(), chart_.end(), [&](const ChartAccount& c) {
                           return c.syorikbn == u"2" && c.buncode == h.kocode;
                       })) {
                fail(17, h, QStringLiteral("second-level heading without a third level"));
            }
        }
    }

    void uniqueNumbers() {
        QHash<QString, QString> seen;
        for (const ChartAccount& a : chart_) {
            if (!inUse(a) || a.kmcode.isEmpty()) {
                continue;
            }
            if (seen.contains(a.kmcode)) {
                fail(3, a,
                     QStringLiteral("number %1 also used by %2").arg(a.kmcode, seen[a.kmcode]));
            }
            seen.insert(a.kmcode, a.kocode);
        }
    }

    void fixedRoles() {
        const auto expect = [this](const QString& kocode, const QString& kind, const QString& side,
                                   int rule) {
            const ChartAccount* a = find(kocode);
            if (!a || a->syorikbn != kind || (!side.isEmpty() && a->taikbn != side) ||
                a->siyou != u"Y") {
                fail(rule,
                     QStringLiteral("%1 must be kind %2 side %3 in use").arg(kocode, kind, side));
            }
        };
        expect(QStringLiteral("004"), QStringLiteral("0"), QStringLiteral("0"), 11);
        expect(QStringLiteral("171"), QStringLiteral("0"), QStringLiteral("1"), 11);
        expect(QStringLiteral("999"), QStringLiteral("0"), QStringLiteral("1"), 15);
        for (const char* t : {"113", "176", "348", "353"}) {
            expect(QString::fromLatin1(t), QStringLiteral("1"), QString(), 11);
        }
        for (const char* t :
             {"028", "067", "068", "082", "090", "102", "103", "152", "174", "175", "192",
              "202", "204", "241", "245", "258", "260", "261", "311", "330", "346"}) {
            expect(QString::fromLatin1(t), QStringLiteral("1"), QString(), 12);
        }
        for (const char* h : {"178", "193", "312"}) {
            expect(QString::fromLatin1(h), QStringLiteral("2"), QString(), 12);
        }
        for (const char* t : {"348", "353"}) {
            const ChartAccount* a = find(QString::fromLatin1(t));
            if (a && (a->taikbn != u"1" || a->tocode > u"003")) {
                fail(11, *a, QStringLiteral("must be credit-sided and roll nowhere"));
            }
        }
        for (const char* t : {"113", "176"}) {
            if (std::none_of(chart_.begin(), chart_.end(), [&](const ChartAccount& c) {
                    return c.syorikbn == u"1" && c.tocode == QLatin1String(t);
                })) {
                fail(8, QStringLiteral("%1 has no total below it").arg(QLatin1String(t)));
            }
        }
        const ChartAccount* t174 = find(QStringLiteral("174"));
        const ChartAccount* t175 = find(QStringLiteral("175"));
        if (!t174 || !t175 || t174->tocode != u"175" || t175->tocode != u"176") {
            fail(8, QStringLiteral("retained earnings 174 must sit in equity 175, and 175 in 176"));
        }
        for (const ChartAccount& a : chart_) {
            if (!a.kisyuzan.isZero() && a.kocode >= u"177") {
                fail(19, a, QStringLiteral("a profit-and-loss account with an opening balance"));
            }
        }
    }

    void gridSizes() {
        int income = 0;
        int expense = 0;
        for (const ChartAccount& a : chart_) {
            if (!posting(a) || !inUse(a) || a.jun == 0 || a.name.isEmpty() || a.kisyumkbn == u"1" ||
                a.kisyumkbn == u"2") {
                continue;
            }
            income += a.daibun == u"1" ? 1 : 0;
            expense += a.daibun == u"2" || a.daibun == u"3" ? 1 : 0;
        }
        if (income > 16 || expense > 64) {
            fail(14, QStringLiteral("%1 income and %2 expense rows exceed the grids (16 and 64)")
                         .arg(income)
                         .arg(expense));
        }
    }

    const Chart& chart_;
    QHash<QString, const ChartAccount*> byCode_;
    QStringList problems_;
};

Chart readChart(const QString& sql, const QVariantList& params) {
    Chart chart;
    RecordSet rs = Database::global().query(sql, params);
    for (; !rs.eof(); rs.moveNext()) {
        const auto t = [&rs](const char* column) { return rs.text(QString::fromLatin1(column)); };
        chart.append({t("KOCODE"), t("KMCODE"), t("KANNAME"), t("SYORIKBN"), t("TAIKBN"),
                      t("TOCODE"), t("BUNCODE"), t("SIYOU"), t("DAIBUN"), t("KISYUMKBN"),
                      t("AICODE"), t("HOJOSET"), t("HOSETNO"), rs.number(QStringLiteral("JUN")),
                      rs.money(QStringLiteral("KISYUZAN"))});
    }
    return chart;
}

}  // namespace

Chart loadTemplateChart() {
    return readChart(QStringLiteral("SELECT * FROM MT_KANJO ORDER BY KOCODE"), {});
}

Chart loadSetChart(const QString& cid) {
    return readChart(
        QStringLiteral(
            "SELECT M.KOCODE, COALESCE(S.KMCODE, M.KMCODE) AS KMCODE, "
            "COALESCE(S.KANNAME, M.KANNAME) AS KANNAME, M.SYORIKBN, M.TAIKBN, M.TOCODE, "
            "M.BUNCODE, COALESCE(S.SIYOU, M.SIYOU) AS SIYOU, M.DAIBUN, "
            "COALESCE(S.KISYUMKBN, M.KISYUMKBN) AS KISYUMKBN, COALESCE(S.AICODE, M.AICODE) AS "
            "AICODE, "
            "COALESCE(S.HOJOSET, M.HOJOSET) AS HOJOSET, M.HOSETNO, COALESCE(S.JUN, M.JUN) AS JUN, "
            "COALESCE(S.KISYUZAN, M.KISYUZAN) AS KISYUZAN "
            "FROM MT_KANJO M LEFT JOIN T_KISYUZAN S ON S.KOCODE = M.KOCODE AND S.CID = ? "
            "ORDER BY M.KOCODE"),
        {cid});
}

QStringList auditChart(const Chart& chart) {
    return Auditor(chart).run();
}
