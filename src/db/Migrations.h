#pragma once

#include <QString>

#include "db/DbError.h"

class Database;

// The file's schema version lives in its header (PRAGMA user_version), so that reading it needs
// no table and a file copied whole carries it along; application_id marks the file as ours.
namespace Migrations {

// Version 1 is every file made before files carried a version (user_version 0), whatever
// shipped tables and rows it holds; version 2 has every shipped table and row; version 3 adds
// the general ledger's indexes; version 4 the ledgers' year-to-date columns and layouts.
inline constexpr int kCurrentVersion = 4;
// "OMBR".
inline constexpr int kApplicationId = 0x4F4D4252;

// The version of the file open on db: 1 for a file that states none.
int fileVersion(Database& db);

// The refusal of a file of a newer program (kNewerVersion).
DbError newerFile(const QString& filePath, int version);

// Brings the file open on db (outside a transaction) up to the current version: the file (its
// log folded in) is first copied beside itself and synced, then every step from the file's
// version on runs in one transaction with the new version. Returns the copy's path, or "" when
// the file was current. The copy is "<file>.v<from>.bak" (then "-2", "-3" … before ".bak": a
// copy is never overwritten, but one that holds exactly the file's bytes is used again). Throws
// DbError kUpgradeFailed naming the file and the copy when anything failed, the file left as it
// was; kNewerVersion for a file of a newer program.
QString upgrade(Database& db);

}  // namespace Migrations
