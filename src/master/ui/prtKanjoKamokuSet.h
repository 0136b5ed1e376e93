#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include "master/ChartList.h"

// The account list of the chart: three classification boxes, the accounts of the chosen small
// class, and the way into the detail screen.
class prtKanjoKamokuSet : public QWidget {
    Q_OBJECT
  public:
    explicit prtKanjoKamokuSet(QWidget* parent = nullptr);

    ChartList& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void fillBox(QComboBox* box, const QList<ClassEntry>& entries, int index);
    void openDetail();

    ChartList logic_;
    QComboBox* cmbDaiBunrui;
    QComboBox* cmbChuBunrui;
    QComboBox* cmbSyoBunrui;
    QTableWidget* spdSS;
    QPushButton* cmdSyusei;
    QPushButton* cmdDelete;
    QPushButton* cmdInsatu;
    QPushButton* cmdBack;
};
