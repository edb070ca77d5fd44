#pragma once

#include <QDateTime>
#include <functional>

class QWidget;

// "Backup now" and "Restore from backup" of the main menu.
namespace BackupCommands {

// Asks for a folder, writes a verified copy of the practice there and says where it is, its
// size and that it was verified, or why there is none.
void backupNow(QWidget *parent);

// Asks for a backup file, shows what it holds and asks for confirmation, then restores it.
// True when the program must end (the file engine's data.mdb was replaced).
bool restore(QWidget *parent);

// The start-up report of an automatic copy that failed at the last end; shown once.
void reportFailedAutomaticCopy(QWidget *parent);

// Test seam: the clock that names copies and files kept aside.
void setClock(std::function<QDateTime()> clock);

} // namespace BackupCommands
