#pragma once

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>

#include "maintenance/BackupMaintenance.h"
#include "maintenance/ui/SetFolderHost.h"

// The backup screen: backs the current account set up into a folder, restores it from one and
// compacts the database file (opened from the data menu, to which it returns).
class runBackUp : public QWidget {
    Q_OBJECT
  public:
    explicit runBackUp(QWidget* parent = nullptr);

    BackupMaintenance& logic() { return logic_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void showAutoBackups();

    SetFolderHost host_{*this};
    BackupMaintenance logic_{host_};
    QLabel* lblReadMe;
    QLabel* lblMessage;
    QPushButton* cmdBackUp;
    QPushButton* cmdLoalBack;
    QPushButton* cmdCompack;
    QPushButton* cmdQuestion;
    QPushButton* cmdBack;
    QListWidget* lstAutoBackup;
    QSpinBox* numKeep;
    QPushButton* cmdAutoRestore;
};
