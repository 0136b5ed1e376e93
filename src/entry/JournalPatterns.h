#pragma once

#include <QString>
#include <QStringList>

// What the pattern screen does for its logic: the parts that need a display.
class JournalPatternsHost {
  public:
    virtual ~JournalPatternsHost() = default;
    // Puts the focus on the control with this name.
    virtual void setFocusTo(const QString& control) = 0;
};

// The journal patterns of the current account set: named debit/credit account pairs with a
// default description. Edits go to a work copy that replaces the set's patterns when the screen
// is left. No widgets; the screen binds to this state.
class JournalPatterns {
  public:
    enum class Mode { Touroku, Teisei, Delete };
    // Longest pattern name and description, in characters.
    static constexpr int kMaxCharacters = 20;

    explicit JournalPatterns(JournalPatternsHost& host) : host_(host) {}

    // The guidance lines of lblReadMe1 and lblReadMe2, each joined by CR LF.
    static QString readMe1Text();
    static QString readMe2Text();

    // Copies the set's patterns into the work table and reads the account and description lists.
    bool msFormInit();
    // Replaces the set's patterns by the work table; nothing is written unless the work table was
    // filled by a successful opening.
    bool msUnForm();

    // The pair check for the current mode; false (and the focus on the debit account) when the
    // pair is registered in register mode or missing in the other modes.
    bool mfCreSubChk();
    // The full check: debit, credit, pair, then name and description unless deleting.
    bool checkInput();
    // Entering the credit box checks the debit account.
    bool cmbKasikata_GotFocus();
    // Entering the description box or list checks both accounts and the pair.
    bool description_GotFocus();
    // Checks and carries out the chosen mode on the work table, then clears the inputs.
    bool cmdTouroku_Click();
    // Shows the name and description of the chosen pair (emptied in register mode).
    void msShowSub();
    // Empties the inputs; the name and description are locked while deleting.
    void clearInputs();
    void setMode(Mode mode);
    // Choosing a registered description copies it into the description box.
    void cmbTekiyou_Click(const QString& description);

    // The pattern list's preview and print.
    bool cmdHyouji_Click();
    bool cmdInsatu_Click();

    // The input boxes, as typed.
    QString cmbKarikata;
    QString cmbKasikata;
    QString txtIkkatuSiwake;
    QString txtTekiyou;
    QString cmbTekiyou;

    Mode mode() const { return mode_; }
    const QStringList& accounts() const { return accounts_; }
    const QStringList& descriptions() const { return descriptions_; }
    bool textsEditable() const { return mode_ != Mode::Delete; }

    // Copies the current set's patterns into the work table the screen edits and the list
    // prints; joins the caller's transaction. Throws DbError.
    static void fillWorkTable();

  private:
    bool checkAccount(const QString& text, const QString& emptyMessage, const QString& control);
    bool checkText(const QString& text, const QString& emptyMessage, const QString& tooLongMessage,
                   const QString& control);
    bool checkAccountsAndPair();
    bool refuse(const QString& text, const QString& control);
    void apply(const QString& debit, const QString& credit);
    // The pattern list ("R_SIWAKE"): mode 0 preview, 1 print.
    bool printPatternList(int mode);
    void readLists();

    JournalPatternsHost& host_;
    Mode mode_ = Mode::Touroku;
    QStringList accounts_;
    QStringList descriptions_;
    // The work table holds the set's patterns and may be written back.
    bool workFilled_ = false;
};
