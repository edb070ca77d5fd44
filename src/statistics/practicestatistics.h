#pragma once

#include "decimal.h"

#include <QDate>
#include <QString>

#include <array>

class Connection;
class RecordSet;

// What the statistics show for one month, or summed over a period. Amounts are exact decimals
// (net amounts and their VAT apart), counts whole numbers.
struct MonthFigures {
    Decimal income;      // receipts in force, POSO (before VAT)
    Decimal incomeVat;   // their VAT
    Decimal expenses;    // operating expenses, POSO (before VAT)
    Decimal expensesVat; // their VAT
    qint64 visits = 0;
    qint64 newPatients = 0; // patients whose first visit falls in the month
    qint64 linkedSlots = 0; // appointment slots linked to a patient
    qint64 noShows = 0;     // of those, the ones the patient did not come to

    // Income less expenses, both before VAT.
    Decimal net() const { return income - expenses; }
    MonthFigures &operator+=(const MonthFigures &other);
};

// The practice's figures for a period of 12 months ending with a chosen month (the whole year
// when that month is December), and for the 12 months before it, read with the statements of
// StatisticsSql on an open connection.
class PracticeStatistics {
public:
    enum Period { Current = 0, Previous = 1 };

    // endMonth 1..12; a month out of range is taken as December.
    PracticeStatistics(int year, int endMonth);

    int year() const { return m_year; }
    int endMonth() const { return m_endMonth; }
    // The first day of the i-th month (0..11, oldest first) of a period.
    QDate monthStart(Period period, int i) const;
    QDate periodStart(Period period) const { return monthStart(period, 0); }
    QDate periodEnd(Period period) const;
    // The period as a person names it: "2025" for a calendar year, else "7/2024 - 6/2025".
    QString periodName(Period period) const;
    // The two periods' bounds as SQL date literals ("#1/1/2024#", "#12/31/2025#").
    QString fromLiteral() const;
    QString toLiteral() const;

    // Reads every figure; the appointment links only when the practice has their table (a
    // practice made before it has none). Throws DbError.
    void load(Connection &connection);
    bool hasAppointmentLinks() const { return m_hasLinks; }

    const MonthFigures &month(Period period, int i) const;
    MonthFigures total(Period period) const;

    // The rows of one statement's result added in (ETOS, MHNAS and the statement's own
    // columns); rows of months outside the two periods are left out.
    enum class Source { Income, Expenses, Visits, NewPatients, AppointmentLinks };
    void add(Source source, const RecordSet &rows);

private:
    // 0..23 for the months of the two periods, oldest first; -1 outside them.
    int slot(int year, int month) const;

    int m_year;
    int m_endMonth;
    bool m_hasLinks = false;
    std::array<MonthFigures, 24> m_months {};
};
