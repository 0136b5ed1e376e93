#pragma once

// The automatic backup as the program runs it after a save: on a large set it takes seconds, so a
// window says what is being written and how far it is. The window is modal and cannot be
// cancelled: the backup is written whole or not at all.
bool writeAutoBackupShowingProgress();
