#pragma once

#include <QString>
#include <functional>

class QWidget;

// The patient a window works on, as its caller fills the window's input fields (trimmed texts
// of the caller's current record).
struct PatientContext {
    QString id;
    QString firstName;
    QString surname;
    QString birthDate;
};

// Where a window of one area opens a window of another area that may be built later, or that
// lives in a library the first one must not depend on. The program sets each hook at start-up;
// a window keeps the action that needs an unset hook disabled.
namespace WindowHooks {

// Patient list "Εκτυπώσεις": the patient printouts window with the list's current patient,
// the WHERE/ORDER BY tail of the list's SELECT and the complete SELECT.
inline std::function<void(QWidget *parent, const QString &patientId, const QString &listFilter,
                          const QString &listSql)>
    openPatientPrintouts;

// Patient list "Έκδοση απόδειξης": the receipt window for a patient.
inline std::function<void(QWidget *parent, const PatientContext &patient)> openReceipt;

// Patient list "Πληρωμές": the payments of a patient.
inline std::function<void(QWidget *parent, const PatientContext &patient)> openPatientPayments;

// Notebook "Εκτύπωση": the notes printing window with the selected note's ID.
inline std::function<void(QWidget *parent, const QString &noteId)> openNotesPrinting;

// Receipt window and register: print one receipt by its number.
inline std::function<void(QWidget *parent, const QString &receiptNo)> printReceipt;

} // namespace WindowHooks
