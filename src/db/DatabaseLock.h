#pragma once

#include <QString>
#include <memory>

class QLockFile;

// One program per database file: the session row lives in the file, so a second copy would change
// what the first one writes. The lock is a file "<database>.lock" beside the database naming the
// process that holds it; a lock left by a process that no longer runs (a crash) is taken over.
class DatabaseLock {
  public:
    explicit DatabaseLock(const QString& databasePath);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    static QString lockPathFor(const QString& databasePath);

    // True when this object now holds the lock; else refusal() says why.
    bool tryLock();
    void unlock();
    const QString& databasePath() const { return databasePath_; }
    const QString& refusal() const { return refusal_; }
    // After a failed tryLock: another live process holds the lock (rather than the lock file
    // not being writable).
    bool heldElsewhere() const { return heldElsewhere_; }

  private:
    // The lock file names no holder, and still none a moment later.
    bool unfinishedLeftover() const;

    QString databasePath_;
    std::unique_ptr<QLockFile> file_;
    QString refusal_;
    bool heldElsewhere_ = false;
};
