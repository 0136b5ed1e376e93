#pragma once

#include <QString>

// What the year-end routines switch on the screen while they run; a screen without these (the
// command-line tool, tests) keeps the no-op defaults.
class YearEndHost {
  public:
    virtual ~YearEndHost() = default;
    virtual void setBusy(bool /*busy*/) {}
    virtual void showMessageLabel(bool /*shown*/) {}
};

// The year-end update of the current account set without widgets: carry the year forward, load
// the previous year for corrections, return to the current year, initialise. Each operation runs
// in one transaction (its own, or the caller's when one is open) and leaves the book as it was
// when it fails.
class YearEndUpdate {
  public:
    // accountSetText is the text the main window shows for the set; the temporary copy of the
    // current year is kept in a folder of that name.
    explicit YearEndUpdate(QString accountSetText, YearEndHost* host = nullptr);

    // Screen load: the rate box, the guidance text, the buttons, then form_init.
    bool Form_Load();
    // The period values of WK_COMPANY. False after a reported failure.
    bool form_init();

    // Carry forward; the questions first. False when stopped or failed (reported).
    bool cmdJikkou_Click();
    // The carry forward itself, steps 3-12, without the questions (the command-line tool).
    bool carryForward();
    // The rate box is shown and holds 0.
    bool rateMissing() const { return rateShown && rate == 0.0; }

    bool cmdPerYear_Click();
    // Brings the current year back while the previous one is loaded; first and last are the
    // loaded year's months ("yyyy/mm").
    bool cmdNowYear_Click();
    bool reset_now_year_data(const QString& first, const QString& last);
    bool cmdSyokika_Click();

    // Copies the loaded year into the year copies and saves its profit statement. Throws DbError;
    // false after a failure reported by a step.
    bool save_now_data(const QString& first, const QString& last, const QString& periodEnd);

    // The folder of the temporary copy of the current year.
    QString temporaryFolder() const;

    // Screen state.
    QString firstMonth;  // "yyyy/mm"
    QString lastMonth;
    QString periodStart;  // "yyyy/mm/dd"
    QString periodEnd;
    QString lblKisyubi;  // the next period's first day
    QString caption;
    QString lblReadMe;
    bool rateShown = false;
    double rate = 0.0;  // numRate
    bool cmdJikkouEnabled = true;
    bool cmdPerYearEnabled = true;
    bool cmdNowYearEnabled = false;

  private:
    void updateButtons();
    void busy(bool on);
    // WK_COMPANY from the set's row, then form_init. Throws DbError.
    void loadSessionCopy();

    QString accountSetText_;
    YearEndHost* host_;
};
