#pragma once

#include <QString>

// Makes what was written to path (a file, or a folder after a rename in it) survive a power cut
// before anything depends on it. Throws DbError when the disk does not take it.
void syncPath(const QString& path);
