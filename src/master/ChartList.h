#pragma once

#include <QList>
#include <QString>

// One entry of a classification box: the heading's name, and its key as item data ("410" is 410).
struct ClassEntry {
    QString text;
    int itemData = 0;
};

// One row of the account list: the six columns of the grid.
struct ChartRow {
    QString kmcode;
    QString kanname;
    QString taisyaku;  // "借方" or "贷方"
    QString kocode;    // the row's key (hidden)
    qint64 jun = 0;
    QString hojoset;
};

// The account list of the chart screen: three cascading classification boxes choose a small
// class, whose posting accounts are listed. No widgets; the screen binds to this state.
class ChartList {
  public:
    // The grid shows at least this many rows.
    static constexpr int kMinimumGridRows = 13;

    // Form load: fills the big-class box.
    bool Form_Load();

    // Clicks on the boxes. Choosing a class fills the box below and selects its first entry,
    // which cascades down to the account list.
    void cmbDaiBunrui_Click(int index);
    void cmbChuBunrui_Click(int index);
    void cmbSyoBunrui_Click(int index);

    // Lists the posting accounts of a small class into the grid.
    bool set_sheet_data(const QString& classCode);

    // A click on a grid row; rows without an account select nothing.
    void spdSS_Click(int row);

    // Writes the active row to the chart and to the set's own rows, with the in-use flag "Y" or
    // "N". Runs inside the caller's transaction.
    bool save_data(const QString& flag);

    // Asks, then takes the active account out of use: it loses number and name.
    void cmdDelete_Click();
    void cmdInsatu_Click();

    const QList<ClassEntry>& daiEntries() const { return dai_; }
    const QList<ClassEntry>& chuEntries() const { return chu_; }
    const QList<ClassEntry>& syoEntries() const { return syo_; }
    int daiIndex() const { return daiIndex_; }
    int chuIndex() const { return chuIndex_; }
    int syoIndex() const { return syoIndex_; }
    // Class codes "0##", "0" while nothing is chosen.
    const QString& bigClass() const { return bigClass_; }
    const QString& middleClass() const { return middleClass_; }
    const QString& smallClass() const { return smallClass_; }

    const QList<ChartRow>& rows() const { return rows_; }
    int gridRowCount() const;
    int activeRow() const { return active_; }
    bool hasActiveRow() const { return active_ >= 0 && active_ < rows_.size(); }
    // The row the detail screen edits; only valid while hasActiveRow().
    ChartRow& activeChartRow() { return rows_[active_]; }
    // cmdSyusei and cmdDelete.
    bool editButtonsEnabled() const { return hasActiveRow(); }

  private:
    static QList<ClassEntry> headingsUnder(const QString& classCode);
    void clearGrid();

    QList<ClassEntry> dai_;
    QList<ClassEntry> chu_;
    QList<ClassEntry> syo_;
    int daiIndex_ = -1;
    int chuIndex_ = -1;
    int syoIndex_ = -1;
    QString bigClass_ = QStringLiteral("0");
    QString middleClass_ = QStringLiteral("0");
    QString smallClass_ = QStringLiteral("0");
    QList<ChartRow> rows_;
    int active_ = -1;
};
