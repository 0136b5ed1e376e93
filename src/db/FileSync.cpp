#include "db/FileSync.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>

#include "db/DbError.h"

void syncPath(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        throw DbError(DbError::kNotOpen, QStringLiteral("不能写入磁盘: ") + path);
    }
    ::close(fd);
}
