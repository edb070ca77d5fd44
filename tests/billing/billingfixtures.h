#pragma once

#include "connection.h"
#include "program.h"
#include "testsupport.h"

#include <QString>

// A practice ready to issue receipts: numbering from 100 and a VAT rate of 15 unless told
// otherwise, and the figures the tests compare.
namespace BillingFixtures {

inline void setUpNumbering(const TestSupport::TempPractice &practice, const QString &last = "100",
                           const QString &rate = "15")
{
    if (!last.isEmpty())
        practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(" + last + ")");
    if (!rate.isEmpty())
        practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(" + rate + ")");
}

// Runs a statement in the engine's own dialect (triggers that make a write fail).
inline void native(const QString &sql)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    c.executeNative(sql);
}

// The three tables a receipt writes, as one text: what "nothing changed" compares.
inline QString receiptState(const TestSupport::TempPractice &practice)
{
    return practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH") + "|"
        + QString::number(practice.count("SELECT * FROM APODEIKSEIS")) + "|"
        + QString::number(practice.count("SELECT * FROM EISPRAKSH_PELATH")) + "|"
        + practice.scalar("SELECT SUM(POSO) FROM EISPRAKSH_PELATH");
}

} // namespace BillingFixtures
