#pragma once

#include <QString>
#include <array>
#include <vector>

#include "common/Money.h"
#include "db/LineSides.h"

// The routines behind msum_tukisime. Each works on session().CurrentCid and the working chart
// T_KANJO (which holds only the current set's accounts). Each routine below reports an engine
// error with the standard message under its own name and returns false (the check returns
// kCheckFailed); the row writers report nothing.

// The months to recompute, in ascending order from index 1; index 0 is never used and an empty
// entry ends the list.
using MonthList = std::array<QString, 14>;

// Put into entry 1 when nothing is stale but the subsidiary cumulative totals are.
inline const QString kSubsidiaryPendingMarker = QStringLiteral("没有处理");
// The caller whose pass also brings the subsidiary cumulative totals up to date.
inline const QString kSubsidiaryLedgerForm = QStringLiteral("prtSoukanjoHojoMotocho");

// msum_check_tukisime results.
constexpr int kCheckNothing = 0;
constexpr int kCheckRecompute = 1;
constexpr int kCheckFailed = -1;  // after the error report

// True for an opening-month key such as "2024/00".
bool isOpeningMonthKey(const QString& month);

// Decides whether and which months to recompute: kCheckRecompute with the months in list,
// kCheckNothing (list entry 1 may hold the marker when caller is the subsidiary ledger), or
// kCheckFailed.
int msum_check_tukisime(const QString& start, const QString& end, MonthList& list,
                        const QString& caller);

// Opening-month rows from the opening balances of the chart and the subsidiary accounts.
bool msum_new_tukidata(const QString& opening);
// One opening-month row of a chart account / subsidiary account (amount on its side).
bool msum_kisyu_tukikanjo(const QString& kocode, const QString& taikbn, Money kisyuzan,
                          const QString& opening);
bool msum_kisyu_tukihojo(const QString& kankocode, const QString& hokocode, const QString& taikbn,
                         Money kisyuzan, const QString& opening);

// One side's turnover of a month per account and subsidiary code.
struct SubsidiaryTotal {
    QString kocode;
    QString hocode;
    Money total;
};
using SubsidiaryTurnover = std::vector<SubsidiaryTotal>;

// Turnover of month from the voucher lines of one side (KRKOCODE/KRKIN for the debit side,
// KSKOCODE/KSKIN for the credit side). The side's lines are read once, grouped by account and
// subsidiary code; subsidiaries receives the groups that name both, for msum_to_tukihojo.
bool msum_to_tukikanjo(const QString& opening, const QString& month, Side side,
                       SubsidiaryTurnover& subsidiaries);
bool msum_to_tukihojo(const QString& opening, const QString& month, Side side,
                      const SubsidiaryTurnover& subsidiaries);

// Rolls posting accounts, then total accounts, up into their total accounts for month to.
bool msum_syukei(const QString& from, const QString& to);
// The profit rows of 353 and 348 (and the opening row of 171) from the rows of 113 and 176.
bool msum_misyobunrieki(const QString& opening, const QString& end);

// Cumulative amounts of month: the 0 forms update existing rows only, the others also insert.
bool msum_update_tukikanjo0(const QString& month);
bool msum_update_tukihojo0(const QString& month);
bool msum_update_tukikanjo(const QString& end);
bool msum_update_tukihojo(const QString& end);

// One row of T_TUKIKAN / T_TUKIHOJO. Texts are trimmed when written.
struct TukikanRow {
    QString cid;
    QString kankocode;
    QString dateym;
    Money krtotal;
    Money kstotal;
    Money krrui;
    Money ksrui;
};

struct TukihojoRow {
    QString cid;
    QString kankocode;
    QString hocode;
    QString dateym;
    Money krtotal;
    Money kstotal;
    Money krrui;
    Money ksrui;
};

// Insert one row into table (a program constant naming T_TUKIKAN / T_TUKIHOJO or a table of the
// same layout). False without a message when the insert fails, in practice because the row
// exists; the engine's report is then in Database::global().lastErrorNumber()/lastErrorText().
bool WriteTukikanRow(const TukikanRow& row, const QString& table);
bool WriteTukihojoRow(const TukihojoRow& row, const QString& table);

inline const QString kTukikanTable = QStringLiteral("T_TUKIKAN");
inline const QString kTukihojoTable = QStringLiteral("T_TUKIHOJO");

// The amount columns of a T_TUKIKAN / T_TUKIHOJO row that an upsert sets on an existing row.
enum TotalsColumns : unsigned {
    kNoAmounts = 0,
    kKrTotal = 1,
    kKsTotal = 2,
    kKrRui = 4,
    kKsRui = 8,
    kTurnover = kKrTotal | kKsTotal,
    kCumulative = kKrRui | kKsRui,
    kAllAmounts = kTurnover | kCumulative,
};
// Replace: the columns take the row's amounts. Add (rolling a total into its parent): the
// turnover columns grow by the row's turnover, and the cumulative columns become the old
// turnover plus the row's cumulative amounts.
enum class Merge { Replace, Add };

// Inserts the month row, or sets the given columns of the existing one (the others keep their
// values; kNoAmounts leaves it as it is): the insert-then-update of the totals in one statement.
// Throws DbError.
void upsertTukikanRow(const TukikanRow& row, unsigned columns, Merge merge = Merge::Replace);
void upsertTukihojoRow(const TukihojoRow& row, unsigned columns);
