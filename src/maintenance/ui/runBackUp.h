#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "maintenance/BackupMaintenance.h"

// The backup screen: backs the current account set up into a folder, restores it from one and
// compacts the database file (opened from the data menu, to which it returns).
class runBackUp : public QWidget, private BackupMaintenanceHost {
    Q_OBJECT
  public:
    explicit runBackUp(QWidget* parent = nullptr);

    BackupMaintenance& logic() { return logic_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void setBusy(bool busy) override;
    void showMessageLabel(const QString& text) override;
    QString chooseBackupFolder() override;
    void focusBack() override;
    QString accountSetText() const override;
    void refreshCaption() override;

    BackupMaintenance logic_;
    QLabel* lblReadMe;
    QLabel* lblMessage;
    QPushButton* cmdBackUp;
    QPushButton* cmdLoalBack;
    QPushButton* cmdCompack;
    QPushButton* cmdQuestion;
    QPushButton* cmdBack;
};
