#pragma once

#include <QString>

// The texts of the program's lock, as the person reads them.
namespace LockTexts {

// The menu entry and its shortcut, which lock the program at once.
inline const QString kLockEntry = QStringLiteral("&Κλείδωμα τώρα");
inline const QString kLockShortcut = QStringLiteral("Ctrl+L");

// The lock window.
inline const QString kLockCaption = QStringLiteral("Το πρόγραμμα είναι κλειδωμένο");
inline const QString kLockMessage = QStringLiteral(
    "Τα παράθυρα του προγράμματος κρύφτηκαν, ώστε να μη φαίνονται τα στοιχεία των ασθενών. "
    "Ό,τι είχατε γράψει σε αυτά παραμένει όπως ήταν. Για να συνεχίσετε, πληκτρολογήστε τον "
    "κωδικό πρόσβασης.");
inline const QString kUnlockButton = QStringLiteral("&Ξεκλείδωμα");
// What covers every other window while the program is locked.
inline const QString kCoverText = QStringLiteral("Κλειδωμένο");

// The setting, under "Ρυθμίσεις".
inline const QString kSettingEntry = QStringLiteral("Αυτόματο κλείδωμα του προγράμματος…");
inline const QString kSettingCaption = QStringLiteral("Αυτόματο κλείδωμα του προγράμματος");
inline const QString kSettingLabel = QStringLiteral("Κλείδωμα μετά από:");
inline const QString kSettingNever = QStringLiteral("Ποτέ");
inline const QString kSettingOneMinute = QStringLiteral("λεπτό χωρίς χρήση");
inline const QString kSettingMinutes = QStringLiteral("λεπτά χωρίς χρήση");
inline const QString kSettingOff = QStringLiteral("(χωρίς αυτόματο κλείδωμα)");
inline const QString kSettingHelp = QStringLiteral(
    "Όταν για τόσα λεπτά δεν πατηθεί κανένα πλήκτρο και δεν κινηθεί το ποντίκι, το πρόγραμμα "
    "κρύβει όλα τα παράθυρά του και ζητά τον κωδικό πρόσβασης. Με 0 δεν κλειδώνει ποτέ μόνο του· "
    "το «Κλείδωμα τώρα» (Ctrl+L) κλειδώνει πάντα.");
inline const QString kSettingSave = QStringLiteral("Καταχώρηση");

} // namespace LockTexts
