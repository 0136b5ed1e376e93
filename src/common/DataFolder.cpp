#include "common/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace DataFolder {

namespace {

QString withSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

}  // namespace

QString installedShareFolder(const QString& programFolder) {
    // An install puts the program in <prefix>/bin and its shared files in <prefix>/share/ombrel;
    // a build folder has no such neighbour. This does not depend on who runs the program: root
    // may write anywhere, yet an installed program's folder is still no place for books.
    const QFileInfo share(QDir(programFolder).filePath(QStringLiteral(OMBREL_BIN_TO_SHARE)));
    return share.isDir() ? withSlash(share.absoluteFilePath()) : QString();
}

QString choose(const QString& programFolder) {
    const QString chosen = qEnvironmentVariable(kOverride);
    if (!chosen.isEmpty()) {
        QDir().mkpath(chosen);
        return withSlash(QFileInfo(chosen).absoluteFilePath());
    }
    const QFileInfo program(programFolder);
    if (program.isDir() && program.isWritable() && installedShareFolder(programFolder).isEmpty()) {
        return withSlash(program.absoluteFilePath());
    }
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(user);
    return withSlash(user);
}

}  // namespace DataFolder
