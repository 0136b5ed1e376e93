#pragma once

#include <QList>
#include <QString>
#include <functional>

// One entry of the two day lists: the voucher's day, with its number as the item's data.
struct JournalDay {
    QString text;
    int denno = 0;
};

// The journal print screen without widgets: the two day lists, the range check, the fill of the
// work tables, printing and the way into the daily entry screen for correction. An index of -1
// is a list that shows no text.
class JournalPrint {
  public:
    static const QString kForm;    // "prtSiwakeNikki"
    static const QString kTitle;   // "日记账"
    static const QString kLayout;  // "R_SIWAKE_NIKKI"

    // Fills both lists with the current set's voucher days; neither shows a text afterwards.
    // CallerForm becomes this screen.
    bool Form_Load();

    const QList<JournalDay>& days() const { return days_; }
    int firstIndex() const { return firstIndex_; }
    int lastIndex() const { return lastIndex_; }
    void setFirstIndex(int index) { firstIndex_ = index; }
    void setLastIndex(int index) { lastIndex_ = index; }

    // Called with true once the range is accepted and the fill starts, with false when it is
    // done (before the report is shown).
    void setBusyHandler(std::function<void(bool)> busy) { busy_ = std::move(busy); }

    // Picks the first and last day when a list shows no text; true when the range holds lines.
    bool InputCheck();
    // Fills T_SIALL_OUT and the header slots, then previews (mode 0) or prints (mode 1).
    bool PrintShiwakeDen(int mode);
    bool cmdHyouji_Click() { return PrintShiwakeDen(0); }
    bool cmdInsatu_Click() { return PrintShiwakeDen(1); }
    // Sets the daily entry screen's voucher range and CallerForm; true when it may be opened.
    bool cmdSyusei_Click();
    void cmdQuestion_Click();

    // For the command-line report: fills the work tables for the first day >= fromDay up to the
    // last day <= toDay (an empty bound is that end of the journal) without printing.
    bool fillForDays(const QString& fromDay, const QString& toDay);

  private:
    bool loadDays();
    // Steps after the range check: the lines, the work table and the header row.
    bool fillWorkTables();

    QList<JournalDay> days_;
    int firstIndex_ = -1;
    int lastIndex_ = -1;
    QString fromNumber_;
    QString toNumber_;
    QString fromDay_;
    QString toDay_;
    std::function<void(bool)> busy_;
};
