#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "totals/LedgerSelection.h"

// What one fill of the general ledger covers. Months are "yyyy/mm"; accounts are chosen by the
// number of their account number (KMCODE), both bounds included.
struct LedgerRange {
    QString periodFirst;  // the first month of the period (first entry of the month list)
    QString first;        // the first month printed
    QString last;         // the last month printed, the end month of the totals pass
    int firstAccount = 0;
    int lastAccount = 0;
};

// The general-ledger fill, also used by the subsidiary ledger. Runs the totals pass
// msum_tukisime(periodFirst, last, caller) and then empties and fills T_SKANMT_OUT with one
// ledger per posting account of the range (accounts 202 and 258 never) that has a non-zero
// carried-forward balance or a line in the chosen months:
// - a carried-forward row: SIDAY "00.01.01", DENNO/DENMENO "0", JUN 0, AICODE "0", TEKIYO
//   "结转余额", ZAN = opening balance plus every line of the period before the first month;
// - a row per side of each voucher line in the months (debit JUN 0 with KRKIN, credit JUN 1 with
//   KSKIN; a line on the account's both sides gives both), the counter account's number and name
//   (AICODE, AINAME) and its subsidiary's code and name (AIHOCODE, AIHONAME), ordered by day,
//   voucher number and line number, ZAN the running balance after the row.
// Balances are signed in the account's own direction (debit-sided TAIKBN "0": debit adds).
// Runs in its own transaction unless the caller holds one. False after a failure, which it has
// reported ("(PrintSokanjo)"), or when the totals pass failed; an empty table is not a failure.
bool PrintSokanjo(const LedgerRange& range, const QString& caller);

// The general ledger screen without widgets: the four lists, the selection checks, the fill,
// printing and the way into the ledger line correction. An index of -1 is a list that shows no
// text.
class GeneralLedger : public LedgerSelection {
  public:
    static const QString kForm;    // "prtSoukanjoMotocho"
    static const QString kTitle;   // "总账"
    static const QString kLayout;  // "R_KANJYOMOTOTYO"

    // Fills the lists (months up to the period's end); CallerForm becomes this screen.
    bool Form_Load() override;

    // Defaults empty selections (in single-account mode the last account is the first) and
    // says what is wrong; true when the selections may be used.
    bool checkSelections();
    // The range the selections stand for (after checkSelections).
    LedgerRange range() const;
    // Fills T_SKANMT_OUT for the selections.
    bool PrintSokanjo();
    // Validates, fills and previews (mode 0) or prints (mode 1).
    bool print_data(int mode) override;
    bool cmdHyouji_Click() { return print_data(0); }
    bool cmdInsatu_Click() { return print_data(1); }
    // Fills the ledger of the first selected account; true when the correction screen may open.
    bool cmdDataHyoji_Click() override;
    void cmdQuestion_Click() override;
    void Command1_Click() override;

    // For the command-line report: months "yyyy/mm" and account numbers, empty or 0 meaning that
    // end of the list; fills the work tables without printing.
    bool fillFor(const QString& fromMonth, const QString& toMonth, int firstAccount,
                 int lastAccount);

  private:
    bool load();
    bool fill();
};
