#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "print/FileChooser.h"

// The folder and file chooser of the maintenance screens, shown modally. resultText() is "ok"
// after cmdOk and empty otherwise; the caller then reads folder().
class FileDialog : public QDialog {
    Q_OBJECT
  public:
    // Starts in startFolder, or in the program's folder when none is given.
    explicit FileDialog(FileDialogUse use, const QString& month = {},
                        const QString& startFolder = {}, QWidget* parent = nullptr);

    FileChooser& logic() { return logic_; }
    const QString& resultText() const { return logic_.result; }
    const QString& folder() const { return logic_.folder(); }
    // Shows a folder in the lists.
    void showFolder(const QString& folder);

  public slots:
    void reject() override;

  private:
    void refresh();
    void driveChosen(int index);

    FileChooser logic_;
    bool refreshing_ = false;
    QLabel* lblFolder;
    QComboBox* DriveList;
    QListWidget* DirList;
    QListWidget* FileList;
    QComboBox* List1;
    QPushButton* cmdOk;
    QPushButton* cmdCancle;
};
