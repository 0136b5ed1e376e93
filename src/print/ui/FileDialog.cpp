#include "print/ui/FileDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "common/Session.h"
#include "common/ui/FocusKeys.h"

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

FileDialog::FileDialog(FileDialogUse use, const QString& month, const QString& startFolder,
                       QWidget* parent)
    : QDialog(parent), logic_(use, month) {
    setObjectName(QStringLiteral("FileDialog"));
    setWindowTitle(QStringLiteral("选择文件夹"));
    setModal(true);

    DriveList = new QComboBox(this);
    DriveList->setObjectName(QStringLiteral("DriveList"));
    DirList = new QListWidget(this);
    DirList->setObjectName(QStringLiteral("DirList"));
    FileList = new QListWidget(this);
    FileList->setObjectName(QStringLiteral("FileList"));
    FileList->setSelectionMode(QAbstractItemView::NoSelection);
    List1 = new QComboBox(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->addItem(logic_.typeText());
    cmdOk = new QPushButton(QStringLiteral("确定"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancle = new QPushButton(QStringLiteral("取消"), this);
    cmdCancle->setObjectName(QStringLiteral("cmdCancle"));
    // Enter walks the controls; the buttons act on a click or Space only.
    for (QPushButton* button : {cmdOk, cmdCancle}) {
        button->setAutoDefault(false);
    }
    FocusKeys::install(this, {DriveList, DirList, FileList, List1, cmdOk, cmdCancle});

    auto* grid = new QGridLayout(this);
    lblFolder = new QLabel(this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    grid->addWidget(lblFolder, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("文件："), this), 0, 1);
    grid->addWidget(DirList, 1, 0);
    grid->addWidget(FileList, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("驱动器："), this), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("文件类型："), this), 2, 1);
    grid->addWidget(DriveList, 3, 0);
    grid->addWidget(List1, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancle);
    grid->addLayout(buttons, 4, 0, 1, 2);
    resize(560, 380);

    DriveList->addItems(FileChooser::drives());
    connect(DriveList, &QComboBox::currentIndexChanged, this, &FileDialog::driveChosen);
    connect(DirList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showFolder(item->data(kPathRole).toString()); });
    connect(cmdOk, &QPushButton::clicked, this, [this] {
        logic_.result = QStringLiteral("ok");
        accept();
    });
    connect(cmdCancle, &QPushButton::clicked, this, &FileDialog::reject);

    showFolder(startFolder.isEmpty()
                   ? (session().AppFolder.isEmpty() ? QDir::currentPath() : session().AppFolder)
                   : startFolder);
}

void FileDialog::showFolder(const QString& folder) {
    logic_.setFolder(folder);
    refresh();
}

void FileDialog::reject() {
    logic_.result.clear();
    QDialog::reject();
}

void FileDialog::driveChosen(int index) {
    if (refreshing_ || index < 0) {
        return;
    }
    logic_.selectDrive(DriveList->itemText(index));
    refresh();
}

void FileDialog::refresh() {
    refreshing_ = true;
    if (DriveList->findText(logic_.drive()) < 0) {
        DriveList->addItem(logic_.drive());
    }
    DriveList->setCurrentIndex(DriveList->findText(logic_.drive()));
    DirList->clear();
    const QString& current = logic_.folder();
    const QStringList paths = logic_.folders();
    const bool hasParent = !QDir(current).isRoot();
    for (int i = 0; i < paths.size(); ++i) {
        auto* item = new QListWidgetItem(
            hasParent && i == 0 ? QStringLiteral("..") : QFileInfo(paths.at(i)).fileName(),
            DirList);
        item->setData(kPathRole, paths.at(i));
    }
    lblFolder->setText(QDir::toNativeSeparators(current));
    FileList->clear();
    FileList->addItems(logic_.files());
    refreshing_ = false;
}
