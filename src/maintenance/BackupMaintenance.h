#pragma once

#include <QString>

// What the backup screen does for its logic: the parts that need a display.
class BackupMaintenanceHost {
  public:
    virtual ~BackupMaintenanceHost() = default;
    // Hourglass pointer while true.
    virtual void setBusy(bool busy) = 0;
    // lblMessage: shown with the text, or hidden when the text is empty.
    virtual void showMessageLabel(const QString& text) = 0;
    // The folder chooser for backup sets, shown modally: the folder chosen with OK, or a null
    // string when the user cancelled.
    virtual QString chooseBackupFolder() = 0;
    virtual void focusBack() = 0;
    // The text shown for the current account set in the main window.
    virtual QString accountSetText() const = 0;
    // The period of the set may have changed: show the caption again.
    virtual void refreshCaption() = 0;
};

// The backup screen's routines: backup, restore and compaction of the current account set.
class BackupMaintenance {
  public:
    explicit BackupMaintenance(BackupMaintenanceHost& host) : host_(host) {}

    static QString readMeText();
    static QString questionText();
    // The account-set text and the period label.
    static QString caption(const QString& accountSetText);

    // True unless writing failed; a cancelled folder choice writes nothing and is no failure.
    bool cmdBackUp_Click();
    // True when the set was restored.
    bool cmdLoalBack_Click();
    // True when the file was compacted.
    bool cmdCompack_Click();
    void cmdQuestion_Click();

  private:
    void done();

    BackupMaintenanceHost& host_;
};
