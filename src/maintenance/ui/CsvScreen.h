#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "maintenance/CsvExchange.h"
#include "print/FileChooser.h"

// What the CSV export and import screens share: the month combo, start and back buttons and the
// folder chooser of their use.
class CsvScreen : public QWidget, public CsvExchangeHost {
  public:
    CsvScreen(const QString& name, const QString& startName, const QString& readMe,
              FileDialogUse use, QWidget* parent);

    QComboBox* cmbTuki;
    QPushButton* cmdStart;
    QPushButton* cmdBack;
    QLabel* lblMessage;
    QLabel* lblReadMe;

  protected:
    // The logic's FormInit, its month list, and its chosen month.
    virtual bool formInit() = 0;
    virtual const QList<LedgerMonth>& monthList() const = 0;
    virtual void choose(int index) = 0;

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    void setBusy(bool busy) override;
    QString chooseFolder(QStringList& files) override;
    void focusBack() override;
    QString accountSetText() const override;

  private:
    FileDialogUse use_;
    bool closeOnShow_ = false;
};
