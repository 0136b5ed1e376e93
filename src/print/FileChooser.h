#pragma once

#include <QString>
#include <QStringList>

// What the folder and file chooser is opened for; the caller says so instead of the chooser
// guessing it from whichever screen is visible.
enum class FileDialogUse {
    Import,  // the month's two CSV files of the current set
    Export,  // CSV files
    Backup,  // the 23 table files of a backup (also the converter and the main window)
};

// The chooser's state without a display: the drive and folder shown, the files the use lets
// through, and the result ("ok" after OK, empty otherwise).
class FileChooser {
  public:
    // month is the import screen's chosen month ("01".."12"); empty means none was chosen.
    explicit FileChooser(FileDialogUse use, const QString& month = {});

    // The file-name patterns of the use (case is ignored, as the files come from Windows too).
    QStringList patterns() const;
    // The file-type list's entry.
    QString typeText() const;

    // The roots of the mounted volumes that hold folders, "/" first.
    static QStringList drives();
    // The volume root a folder lies on.
    static QString driveOf(const QString& folder);

    const QString& drive() const { return drive_; }
    const QString& folder() const { return folder_; }
    // Shows a folder (and the drive it lies on).
    void setFolder(const QString& folder);
    // Shows the root of another drive. An unreadable one is asked about with Retry/Cancel until
    // it can be read or the user cancels; cancel returns to the folder's drive. True when moved.
    bool selectDrive(const QString& drive);

    // The shown folder's subfolders (absolute paths, by name), its parent first unless at a root.
    QStringList folders() const;
    // The names of the shown folder's files that match the patterns, by name.
    QStringList files() const;

    QString result;

  private:
    FileDialogUse use_;
    QString month_;
    QString drive_;
    QString folder_;
};
