#pragma once

#include <QString>

// The texts of the office windows: captions, labels, grid titles, sort texts.
namespace OfficeTexts {

inline const QString kExit = QStringLiteral("Έ&ξοδος");
inline const QString kPrint = QStringLiteral("Εκτύ&πωση");
inline const QString kStar = QStringLiteral("*");

// Notebook.
inline const QString kNotebookCaption = QStringLiteral("Βιβλίο σημειώσεων");
inline const QString kTitle = QStringLiteral("Τίτλος:");
inline const QString kText = QStringLiteral("Περιγραφή:");
inline const QString kNotebookSort = QStringLiteral("TITLOS ASC");

// Reminders.
inline const QString kRemindersCaption = QStringLiteral("Υπενθυμίσεις");
inline const QString kDate = QStringLiteral("Ημερομηνία:");
inline const QString kDateHint = QStringLiteral("*   (π.χ 28/12/2007)");
inline const QString kReminderText = QStringLiteral("Κείμενο:");
inline const QString kRemindersSort = QStringLiteral("HMEROMHNIA DESC");

// Useful phone numbers.
inline const QString kPhonesCaption = QStringLiteral("Χρήσιμα τηλέφωνα");
inline const QString kPhonesSort = QStringLiteral("ONOMATEPWNYMO ASC");

// Doctors of other specialties.
inline const QString kDoctorsCaption = QStringLiteral("Ιατροί διαφόρων ειδικοτήτων");
inline const QString kDoctorsSort = QStringLiteral("EPWNYMO ASC");

// Desk calendar.
inline const QString kCalendarCaption = QStringLiteral("Ημερολογιακά");
inline const QString kCalendarNote = QStringLiteral("Για αλλαγή κάνε click στο μήνα ή έτος");
inline const QString kEasterFor = QStringLiteral("Το Πάσχα για το έτος:");
inline const QString kYearTip = QStringLiteral("Έτος");
inline const QString kEasterIs = QStringLiteral("είναι ");
inline const QString kApril = QStringLiteral(" Απριλίου");
inline const QString kMay = QStringLiteral(" Μαϊου");
inline const QString kDaysHeading = QStringLiteral("Αριθμός ημερών μεταξύ δύο ημερομηνιών");
inline const QString kFrom = QStringLiteral("Από:");
inline const QString kTo = QStringLiteral("Μέχρι:");
inline const QString kPickerTip = QStringLiteral("Επέλεξε ή δώσε ημερομηνία");
inline const QString kDayCount = QStringLiteral("Αριθμός ημερών=");
inline const QString kCalendarExit = QStringLiteral("Έξοδος");

} // namespace OfficeTexts
