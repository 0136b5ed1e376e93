#include "print/FileChooser.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

#include "common/Messages.h"
#include "common/Session.h"

namespace {

constexpr int kBackupFiles = 23;

bool readable(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace

FileChooser::FileChooser(FileDialogUse use, const QString& month) : use_(use), month_(month) {}

QStringList FileChooser::patterns() const {
    switch (use_) {
        case FileDialogUse::Import: {
            const QString suffix =
                session().CurrentCid + u'_' + (month_.isEmpty() ? QStringLiteral("00") : month_);
            return {QStringLiteral("Data") + suffix + QStringLiteral(".CSV"),
                    QStringLiteral("Kaisha") + suffix + QStringLiteral(".CSV")};
        }
        case FileDialogUse::Export:
            return {QStringLiteral("*.csv")};
        case FileDialogUse::Backup:
            break;
    }
    QStringList names;
    for (int i = 1; i <= kBackupFiles; ++i) {
        names.append(QStringLiteral("T_%1.txt").arg(i, 3, 10, QChar(u'0')));
    }
    return names;
}

QString FileChooser::typeText() const {
    return use_ == FileDialogUse::Backup ? QStringLiteral("*.txt") : QStringLiteral("*.csv");
}

QStringList FileChooser::drives() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Containers mount single files too; only folders can be browsed.
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady() && QFileInfo(root).isDir() &&
            !roots.contains(root)) {
            roots.append(root);
        }
    }
    std::sort(roots.begin() + 1, roots.end());
    return roots;
}

QString FileChooser::driveOf(const QString& folder) {
    const QStorageInfo volume(folder);
    return volume.isValid() ? volume.rootPath() : QStringLiteral("/");
}

void FileChooser::setFolder(const QString& folder) {
    folder_ = QDir(folder).absolutePath();
    drive_ = driveOf(folder_);
}

bool FileChooser::selectDrive(const QString& drive) {
    while (!readable(drive)) {
        const MsgAnswer answer = messages().show(
            {MsgIcon::Exclamation, MsgButtons::RetryCancel, MsgAnswer::Retry,
             QStringLiteral("Warning"), QStringLiteral("请确定磁盘已插入或者磁盘未损坏。")});
        if (answer != MsgAnswer::Retry) {
            drive_ = driveOf(folder_);
            return false;
        }
    }
    drive_ = drive;
    folder_ = QDir(drive).absolutePath();
    return true;
}

QStringList FileChooser::folders() const {
    QStringList paths;
    QDir dir(folder_);
    if (!dir.isRoot()) {
        paths.append(QFileInfo(folder_).absolutePath());
    }
    const QFileInfoList children =
        dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& child : children) {
        paths.append(child.absoluteFilePath());
    }
    return paths;
}

QStringList FileChooser::files() const {
    return QDir(folder_).entryList(patterns(), QDir::Files, QDir::Name | QDir::IgnoreCase);
}
