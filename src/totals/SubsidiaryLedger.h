#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "totals/LedgerSelection.h"

// The subsidiary ledger screen without widgets: a ledger per subsidiary account of the chosen
// accounts over the chosen months, filled into T_SKANSUBMT_OUT and printed as R_HOJOMOTOTYO.
// An index of -1 is a list that shows no text.
class SubsidiaryLedger : public LedgerSelection {
  public:
    static const QString kForm;    // "prtSoukanjoHojoMotocho"
    static const QString kTitle;   // "辅助账"
    static const QString kLayout;  // "R_HOJOMOTOTYO"

    // Fills the month and account lists; CallerForm becomes this screen. The account lists hold
    // the posting accounts in use that have subsidiary accounts.
    bool Form_Load() override;

    // Picks the first/last entries of lists that show no text (the last account is the first in
    // single-account mode) and checks both ranges; false after the screen's message.
    bool checkSelections();
    // The totals pass with the subsidiary step, then T_SKANSUBMT_OUT for the selections.
    bool PrintMotokanjo();
    // Check, fill, header slots, then preview (mode 0) or print (mode 1).
    bool print_data(int mode) override;
    bool cmdHyouji_Click() { return print_data(0); }
    bool cmdInsatu_Click() { return print_data(1); }
    // Fills the ledger of the first chosen account only; true when the correction screen may open.
    bool cmdDataHyoji_Click() override;
    void cmdQuestion_Click() override;
    void Command1_Click() override;

    // For the command-line report: loads the lists, chooses the months "yyyy/mm" and accounts
    // (account numbers; empty is that end of the list) and fills without printing.
    bool fillFor(const QString& fromMonth, const QString& toMonth, int firstAccount,
                 int lastAccount);

  private:
    // The fill under the busy pointer, the message when it found nothing, the header slots.
    bool runFill();
};
