#pragma once

#include "sqltext.h"
#include "testsupport.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Rows and typing shared by the patient window tests.
namespace PatientFixtures {

struct Patient {
    QString firstName = {};
    QString surname = {};
    QString birthDate = {}; // d/M/yyyy or empty
    QString sex = {};
    QString fund = {};
    QString job = {};
};

inline QString textOrNull(const QString &v)
{
    return v.isEmpty() ? QStringLiteral("NULL") : SqlText::quoted(v);
}

// Adds a patient and returns its ID.
inline QString addPatient(const TestSupport::TempPractice &practice, const Patient &p)
{
    const QString birth
        = p.birthDate.isEmpty() ? QStringLiteral("NULL") : SqlText::ToSqlDate(p.birthDate);
    practice.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,HMEROMHNIA_GENNHSEWS,"
                                 "FYLO,TAMEIO,EPAGGELMA) VALUES(%1,%2,%3,%4,%5,%6)")
                      .arg(textOrNull(p.firstName), textOrNull(p.surname), birth, textOrNull(p.sex),
                           textOrNull(p.fund), textOrNull(p.job)));
    return practice.scalar(QStringLiteral("SELECT MAX(ID) FROM STOIXEIA_PELATH"));
}

inline void addVisit(const TestSupport::TempPractice &practice, const QString &patientId,
                     const QString &date, const QString &reason)
{
    practice.exec(QStringLiteral("INSERT INTO EPISKEPSEIS(ID,HMEROMHNIA,AITIA) VALUES(%1,%2,%3)")
                      .arg(patientId, SqlText::ToSqlDate(date), SqlText::quoted(reason)));
}

// Types a text key by key as a person does (Greek letters included, which QTest's own
// keyClicks cannot send).
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}

// Replaces what a box holds by typing, as a person does.
inline void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        typeText(edit, text);
}

// Chooses an item of a drop-down list, as a click on it does.
inline void choose(QComboBox *box, const QString &item)
{
    const int i = box->findText(item);
    box->setCurrentIndex(i);
    emit box->activated(i);
}

} // namespace PatientFixtures
