#pragma once

#include <QString>

// Where the books live: the folder that holds Kaikei.mdb, Data/ and Temp/.
namespace DataFolder {

// Environment variable naming the folder outright (tests, portable use).
inline constexpr char kOverride[] = "OMBREL_DATA_DIR";

// The data folder for a program started from programFolder, always ending in "/":
// OMBREL_DATA_DIR when set; the program folder when it is writable and not an installed copy
// (a build folder); otherwise the user's data folder (~/.local/share/Ombrel), which is created
// when missing. The application name must be "Ombrel" by then.
QString choose(const QString& programFolder);

// The shared files of an installed program (<prefix>/share/ombrel/), or empty when the program
// in programFolder is not installed.
QString installedShareFolder(const QString& programFolder);

}  // namespace DataFolder
