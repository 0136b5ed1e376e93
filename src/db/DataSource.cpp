#include "db/DataSource.h"

#include <QFileInfo>

#include "common/Session.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/ShippedDatabase.h"

namespace DataSource {

namespace {
QString registered;
}

QString defaultPath() {
    return session().AppFolder + kFileName;
}

QString registeredPath() {
    return registered.isEmpty() ? defaultPath() : registered;
}

void setRegisteredPath(const QString& path) {
    registered = path;
}

bool RegisterDataSource(bool silent, const std::function<QString()>& pickFile) {
    if (silent) {
        const QString path = registeredPath();
        if (QFileInfo::exists(path)) {
            return true;
        }
        try {
            ShippedDatabase::create(path);
            return true;
        } catch (const DbError&) {
            return false;
        }
    }
    const QString chosen = pickFile ? pickFile() : QString();
    if (chosen.isEmpty() || !QFileInfo(chosen).isFile()) {
        return false;
    }
    setRegisteredPath(QFileInfo(chosen).absoluteFilePath());
    return true;
}

void open() {
    Database::global().open(registeredPath());
}

}  // namespace DataSource
