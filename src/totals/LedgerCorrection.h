#pragma once

#include <QList>
#include <QString>

#include "common/Money.h"

// What the calling ledger screen shows: its first selected account and its two months.
struct LedgerHeadings {
    QString account;
    QString firstMonth;
    QString lastMonth;
};

// One grid row: day "yy.mm.dd", voucher number, account text, subsidiary text, description and
// the two amounts.
struct LedgerCorrectionRow {
    QString siday;
    QString denno;
    QString account;
    QString subsidiary;
    QString tekiyo;
    Money krkin;
    Money kskin;
};

// The ledger line correction screen without widgets: lists the voucher lines of the work table
// its caller filled (T_SKANSUBMT_OUT for the subsidiary ledger, else T_SKANMT_OUT) and finds
// the voucher of a chosen line for the daily entry screen. It changes no data.
class LedgerCorrection {
  public:
    static const QString kForm;            // "InpSoukanjoMotchoH"
    static const QString kSubsidiaryForm;  // "prtSoukanjoHojoMotocho"
    static constexpr int kMinimumRows = 18;

    // Reads the caller from CallerForm, the headings and the rows.
    bool Form_Load(const LedgerHeadings& headings);

    const QString& caller() const { return caller_; }
    bool subsidiary() const { return caller_ == kSubsidiaryForm; }
    QString title() const;
    QString koumoku() const { return koumoku_; }
    QString kikan() const { return kikan_; }
    // The seven column headings.
    QStringList headings() const;
    const QList<LedgerCorrectionRow>& rows() const { return rows_; }
    // Grid rows shown: at least kMinimumRows.
    int gridRows() const;

    // Finds the voucher of grid row `row` (any row; rows past the lines are empty) and makes it
    // the voucher the daily entry screen opens, with this screen as its caller. True when the
    // daily entry screen may be opened.
    bool cmdsyusei_Click(int row);
    // Back from the daily entry screen: the voucher range it had before.
    void returned();
    // Closing: the ledger screen is the caller again. Returns that screen's form name.
    QString close();
    void cmdQuestion_Click();

  private:
    // "yy.mm.dd" as a voucher day inside the period "yyyy/mm/dd".
    QString voucherDay(const QString& siday) const;

    QString caller_;
    QString koumoku_;
    QString kikan_;
    QString periodFirst_;
    QString periodLast_;
    QList<LedgerCorrectionRow> rows_;
    QString savedMaxDencode_;
    bool opened_ = false;
};
