#include "db/DataSource.h"

#include <QFileInfo>
#include <memory>

#include "common/Session.h"
#include "db/Database.h"
#include "db/DatabaseLock.h"
#include "db/DbError.h"
#include "db/Migrations.h"
#include "db/ShippedDatabase.h"

namespace DataSource {

namespace {
QString registered;
// Held from a successful open until close, or until the process ends.
std::unique_ptr<DatabaseLock> lock;
}  // namespace

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
    const QString path = QFileInfo(registeredPath()).absoluteFilePath();
    if (!lock || lock->databasePath() != path) {
        lock.reset();
        lock = std::make_unique<DatabaseLock>(path);
    }
    // A missing file has nothing to guard; opening it fails below.
    if (QFileInfo(path).isFile() && !lock->tryLock()) {
        const bool inUse = lock->heldElsewhere();
        const QString refusal = lock->refusal();
        lock.reset();
        throw DbError(inUse ? DbError::kInUse : DbError::kNotOpen, refusal);
    }
    // An older file is brought up to date while the lock keeps everyone else out; a file that
    // could not be is closed again, never used half done.
    try {
        Database::global().open(path);
        Migrations::upgrade(Database::global());
    } catch (const DbError&) {
        try {
            Database::global().close();
        } catch (const DbError&) {
            // The refusal is what the user must read.
        }
        lock.reset();
        throw;
    }
}

void close() {
    const std::unique_ptr<DatabaseLock> held = std::move(lock);
    Database::global().close();
}

}  // namespace DataSource
