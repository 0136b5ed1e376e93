#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "maintenance/BackupMaintenance.h"

// What the backup and converter screens give their logic: the folder chooser over the screen,
// the pointer, lblMessage, the focus on cmdBack and the caption.
class SetFolderHost : public BackupMaintenanceHost {
  public:
    explicit SetFolderHost(QWidget& screen) : screen_(screen) {}
    // The screen's controls, once they exist.
    void bind(QLabel* message, QPushButton* back) {
        message_ = message;
        back_ = back;
    }
    // The screen's hidden progress label, lblMessage.
    QLabel* makeMessageLabel();
    // A button of the screen's row: not a default button, wide enough for its caption.
    QPushButton* makeButton(const QString& name, const QString& text);

    void setBusy(bool busy) override;
    void showMessageLabel(const QString& text) override;
    QString chooseBackupFolder() override;
    void focusBack() override;
    QString accountSetText() const override;
    void refreshCaption() override;

  private:
    QWidget& screen_;
    QLabel* message_ = nullptr;
    QPushButton* back_ = nullptr;
};
