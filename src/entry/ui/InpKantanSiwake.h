#pragma once

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "entry/DailyEntry.h"

class EntryTable;
class QTableWidgetItem;

// The daily entry screen: one day in the income, expense and transfer grids, the day's totals,
// and the buttons that save, delete and move between days. Everything shown comes from the logic;
// every edit goes to it first.
class InpKantanSiwake : public QWidget, private DailyEntryHost {
    Q_OBJECT
  public:
    explicit InpKantanSiwake(QWidget* parent = nullptr);

    DailyEntry& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Columns of the income and expense grids.
    enum SimpleColumn { kName, kAmount, kDescription, kKocode, kKmcode, kTecode, kAicode, kTaikbn };
    static constexpr int kSimpleColumns = 8;
    // The transfer grid shows the logic's columns 1..7 from column 0, then the two account keys.
    static constexpr int kTransferColumns = 9;
    static constexpr int toGrid(int transferColumn) { return transferColumn - 1; }

    void setBusy(bool busy) override;
    void focusDateBox() override;
    void focusRate() override;
    void focusIncomeGrid() override;

    void buildGrids();
    void buildLayout();
    QString captionText() const;
    void renderSimpleGrid(EntryTable* grid, EntryGrid which);
    void renderSimpleRow(EntryTable* grid, EntryGrid which, int row);
    void renderTransferGrid();
    void renderTransferRow(int row);
    void renderTotals();
    void simpleCellChanged(EntryTable* grid, EntryGrid which, QTableWidgetItem* item);
    void transferCellChanged(QTableWidgetItem* item);
    // After a refused cell: the cursor goes back to it, so the user can type it again.
    void stayOnRefusedCell(EntryTable* grid, int row, int column);
    void transferHeaderClicked(int row);
    bool leaveGrid(EntryTable* grid, bool forward);
    void dateBoxLeft();
    // Runs a button of the logic after any open cell editor is written back, then shows the day.
    template <typename Handler>
    void run(Handler handler);
    void commitEditors();
    void placeAccountHint();

    DailyEntry logic_;
    bool filling_ = false;
    bool leavingDateBox_ = false;
    // Each opening of the screen loads it afresh; coming back from the manual does not.
    bool needsLoad_ = true;
    QLineEdit* txtSyoriNen;
    QLineEdit* txtZenjituZandaka;
    QLabel* lblRate;
    QDoubleSpinBox* numRate;
    EntryTable* spdSS1;
    EntryTable* spdSS2;
    EntryTable* spdSS3;
    QLabel* lblSyunyu;
    QLabel* lblSisyutu;
    QLabel* lblKanjokamoku;
    QLabel* lblFurikae;
    QWidget* gridArea;
    QLineEdit* txtSyunyuGokei;
    QLineEdit* txtSiireGokei;
    QLineEdit* txtNyukinGokei;
    QLineEdit* txtSyukkinGokei;
    QLineEdit* txtHonjituRieki;
    QLineEdit* txtHonjituZandaka;
    QPushButton* cmdTouroku;
    QPushButton* cmdDelete;
    QPushButton* cmdZenjitu;
    QPushButton* cmdYokujitu;
    QPushButton* cmdBack;
    QPushButton* cmdQuestion;
};
