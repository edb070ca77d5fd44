#pragma once

#include "schema.h"
#include "sqltext.h"

#include <QDate>
#include <QList>
#include <QString>

// What reliability_receiptwriter saves in each round when it also saves patients and day
// sheets, so that the test that kills it can tell, round by round, whether what it reported
// is in the file exactly as written. Every round has its own texts and its own day.
namespace WriterRound {

struct Field {
    QString column;
    QString typed;  // as a person types it into the new patient window
    QString stored; // as the file holds it
};

// The new patient of a round: every text carries the round's number, a quote included.
inline QList<Field> patientFields(int round)
{
    const QString n = QString::number(round);
    const QDate born = QDate(1940, 1, 1).addDays(round * 7 % 25000);
    const QString bornText = SqlText::dateText(born);
    return {
        {QStringLiteral("EPWNYMO"), QStringLiteral("Παπαδοπούλου ") + n, {}},
        {QStringLiteral("ONOMA"), QStringLiteral("Ελένη ") + n, {}},
        {QStringLiteral("FYLO"), QStringLiteral("Θήλυ"), {}},
        {QStringLiteral("HMEROMHNIA_GENNHSEWS"), bornText, born.toString(Qt::ISODate)},
        {QStringLiteral("DIEYTHYNSH"),
         QStringLiteral("Οδός Αγίου Νικολάου '%1', Ρόδος").arg(n),
         {}},
        {QStringLiteral("THLEFWNO_1"),
         QStringLiteral("69%1").arg(round, 8, 10, QLatin1Char('0')),
         {}},
        {QStringLiteral("TAMEIO"), QStringLiteral("ΙΚΑ"), {}},
    };
}

// The stored form of a field: the typed text unless the column converts it.
inline QString storedText(const Field &field)
{
    return field.stored.isNull() ? field.typed : field.stored;
}

// A day of its own for each round.
inline QDate day(int round)
{
    return QDate(2010, 1, 1).addDays(round);
}

// The slot a round books on its day, moving through the day's slots round by round.
inline QString slotColumn(int round)
{
    const QStringList columns = Schema::slotColumns();
    return columns.at(round % columns.size());
}

inline QString slotText(int round)
{
    return QStringLiteral("Κ. Ιωάννου, γόνατο (%1)").arg(round);
}

} // namespace WriterRound
