#pragma once

#include "testsupport.h"

#include <QRegularExpression>
#include <QString>

// A practice with known receipts (some cancelled), expenses, visits and linked appointment
// slots over 2024 and 2025, with a few rows just outside those years, and what the statistics
// must make of them.
namespace StatisticsFixture {

inline void fill(const TestSupport::TempPractice &practice)
{
    struct Receipt {
        int number;
        const char *date;
        const char *amount;
        const char *vat;
        bool inForce;
    };
    const Receipt receipts[] = {
        {1, "1/10/2025", "40", "9.6", true},
        {2, "1/20/2025", "40", "9.6", true},
        {3, "1/25/2025", "1000", "240", false}, // cancelled: counts nowhere
        {4, "3/5/2025", "10.005", "2.4", true}, // an exact half of a cent
        {5, "3/31/2025", "45.5", "10.92", true},
        {6, "12/31/2025", "50", "12", true},
        {7, "1/1/2024", "30", "7.2", true},
        {8, "3/15/2024", "40", "9.6", true},
        {9, "12/31/2024", "20", "4.8", false},
        {10, "12/31/2023", "99", "0", true}, // before the two years
        {11, "1/1/2026", "77", "0", true},   // after them
    };
    for (const Receipt &r : receipts)
        practice.exec(QStringLiteral("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,POSO,VAT,"
                                     "SYNOLIKO_POSO,EGKYRH) VALUES(%1,#%2#,%3,%4,0,%5)")
                          .arg(r.number)
                          .arg(QLatin1String(r.date), QLatin1String(r.amount),
                               QLatin1String(r.vat),
                               r.inForce ? QStringLiteral("TRUE") : QStringLiteral("FALSE")));
    const char *expenses[][3] = {
        {"1/15/2025", "100", "24"}, {"1/16/2025", "20.5", "0"}, {"6/30/2025", "300", "72"},
        {"6/1/2024", "150", "36"},  {"12/31/2023", "500", "0"},
    };
    for (const auto &e : expenses)
        practice.exec(QStringLiteral("INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) "
                                     "VALUES(#%1#,%2,%3,'Έξοδο')")
                          .arg(QLatin1String(e[0]), QLatin1String(e[1]), QLatin1String(e[2])));
    // Patient 1 first came before 2024; 2 in March 2024; 3 and 6 in January 2025; 4 in
    // December 2025; 5 only after 2025.
    const std::pair<int, const char *> visits[] = {
        {1, "11/5/2023"}, {1, "1/10/2024"}, {1, "1/10/2025"}, {2, "3/1/2024"},
        {2, "3/15/2024"}, {2, "3/2/2025"},  {3, "1/5/2025"},  {3, "1/6/2025"},
        {3, "2/1/2025"},  {4, "12/31/2025"}, {5, "1/2/2026"}, {6, "1/20/2025"},
    };
    for (const auto &[id, date] : visits)
        practice.exec(QStringLiteral("INSERT INTO EPISKEPSEIS(ID,HMEROMHNIA,AITIA) "
                                     "VALUES(%1,#%2#,'Πόνος')")
                          .arg(id)
                          .arg(QLatin1String(date)));
    struct Link {
        const char *date;
        int slot;
        int id;
        bool missed;
    };
    const Link links[] = {
        {"1/10/2025", 0, 1, false}, {"1/10/2025", 1, 3, true},   {"2/1/2025", 5, 3, false},
        {"12/31/2025", 27, 4, true}, {"3/1/2024", 2, 2, false}, {"3/15/2024", 2, 2, true},
        {"1/2/2026", 3, 5, true},
    };
    for (const Link &l : links)
        practice.exec(QStringLiteral("INSERT INTO RANTEBOU_ASTHENH(HMEROMHNIA,THESH,ID,"
                                     "DEN_PROSHLTHE) VALUES(#%1#,%2,%3,%4)")
                          .arg(QLatin1String(l.date))
                          .arg(l.slot)
                          .arg(l.id)
                          .arg(l.missed ? QStringLiteral("TRUE") : QStringLiteral("FALSE")));
}

// A text written with points between digits, as this system shows it.
inline QString shown(const QString &pointed)
{
    static const QRegularExpression point(QStringLiteral("(\\d)\\.(\\d)"));
    QString out = pointed;
    out.replace(point, QStringLiteral("\\1") + TestSupport::num(QStringLiteral("0.0")).at(1)
                           + QStringLiteral("\\2"));
    return out;
}

} // namespace StatisticsFixture
