#pragma once

#include <QString>
#include <functional>

// Where the program's database file is. The default is "Kaikei.mdb" in the program folder; the
// user may point the program at another file for the run (nothing is stored outside the file).
namespace DataSource {

inline const QString kFileName = QStringLiteral("Kaikei.mdb");

// The file the connection opens.
QString registeredPath();
void setRegisteredPath(const QString& path);
// AppFolder + "Kaikei.mdb".
QString defaultPath();

// Silent: creates the registered file from the shipped database when it is missing. Otherwise
// asks pickFile for an existing database file and registers it (an empty answer is a refusal).
// True when that went without error.
bool RegisterDataSource(bool silent, const std::function<QString()>& pickFile = {});

// Takes the registered file's lock (see DatabaseLock), then opens the file on the global
// connection and brings an older file up to the current version (see Migrations). Throws
// DbError: kInUse when another copy of the program holds the file, kUnrecognized, kNewerVersion
// or kUpgradeFailed when the file cannot be used (it is left as it was).
void open();
// Closes the global connection (folding its log into the file) and gives the lock back.
// Throws DbError when the log could not be folded in; the connection is closed all the same.
void close();

}  // namespace DataSource
