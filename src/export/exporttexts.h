#pragma once

#include <QString>

// What the export windows and messages say.
namespace ExportTexts {

inline const QString kExportButton = QStringLiteral("Εξαγωγή σε αρχείο…");
inline const QString kChooseFile = QStringLiteral("Εξαγωγή σε αρχείο");
inline const QString kCsvFilter = QStringLiteral("Αρχεία CSV (*.csv)");
inline const QString kXlsxFilter = QStringLiteral("Βιβλία Excel (*.xlsx)");

// A table written: how many rows, and where.
inline QString tableWritten(int rows, const QString &path)
{
    return QStringLiteral("Η εξαγωγή έγινε: %1 γραμμές στο αρχείο\r%2").arg(rows).arg(path);
}

// Why a file was not written; what the system said follows on its own line.
inline QString notWritten(const QString &path, const QString &why)
{
    return QStringLiteral("Η εξαγωγή δεν έγινε. Το αρχείο\r%1\rδεν γράφτηκε: %2").arg(path, why);
}
inline const QString kNoFolder = QStringLiteral("ο φάκελος δεν υπάρχει.");
inline const QString kFolderNotWritable
    = QStringLiteral("δεν επιτρέπεται η δημιουργία αρχείου σε αυτόν τον φάκελο.");
inline const QString kWriteFailed
    = QStringLiteral("η εγγραφή διακόπηκε (ίσως ο δίσκος είναι γεμάτος). "
                     "Ένα παλαιότερο αρχείο με το ίδιο όνομα έμεινε όπως ήταν.");
inline const QString kIsFolder = QStringLiteral("υπάρχει ήδη φάκελος με αυτό το όνομα.");

} // namespace ExportTexts
