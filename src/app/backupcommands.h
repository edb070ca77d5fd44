#pragma once

#include <QDateTime>
#include <functional>

class QWidget;

namespace MyData {
class SecretStore;
}

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

// "Αντίγραφα ασφαλείας…" under "Ρυθμίσεις": encryption of the copies and its passphrase.
void settings(QWidget *parent);

// The name the passphrase of a practice's copies is kept under in the keyring.
QString passphraseName(const QString &practiceFolder);

// The passphrase the automatic copy of the practice is sealed with: empty when the copies are
// not encrypted or the keyring holds none (the copy then fails and says so).
QString passphraseForAutomaticCopy(const QString &practiceFolder);

// Test seam: the keyring (nullptr gives back the desktop's).
void setSecretStore(MyData::SecretStore *store);

// Test seam: the clock that names copies and files kept aside.
void setClock(std::function<QDateTime()> clock);

} // namespace BackupCommands
