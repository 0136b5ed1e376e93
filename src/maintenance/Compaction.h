#pragma once

#include <QString>

// Compacting the database file. Each step reports its own failure and returns false.

// Writes a compacted copy of the database file source into target, which must not exist.
bool CompactDB(const QString& source, const QString& target);
// Removes a file; one that is not there counts as removed.
bool DeleteFile(const QString& file);
// Gives file the name newName in its folder, replacing a file of that name in one step.
bool RenameFile(const QString& file, const QString& newName);

// Compacts the file of the global connection: the connection is closed (its log folded in), a
// compacted copy "bak_<name>" is written beside the file and takes the file's place. The
// connection is open again afterwards whatever happened. True when the file was compacted.
bool compactDatabase();
