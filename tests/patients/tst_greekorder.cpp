#include "greektext.h"
#include "patientfixtures.h"
#include "patientlistwindow.h"
#include "patientsql.h"

#include <gtest/gtest.h>

using namespace PatientFixtures;

namespace {

const QStringList kSurnames = {
    "Παπαδόπουλος", "ΠΑΠΑΔΟΠΟΥΛΟΣ", "παπαδοπουλος", "Άγγελος", "αγγελος", "Ωμέγας",
    "Ψαράς",        "Σίσυφος",      "ΣΙΣΥΦΟΣ",      "Ζαΐρης",  "Ζαιρης",  "Abbott",
    "abbott",       "Émile",        "Ο'Κόνορ",      "12ος",    "Μαρία😀",  "Μαρία",
    "Μαρίας",       "Ϊωάννα",       "Ἀθηνᾶ",        "Αθηνα",   "",
};

} // namespace

TEST(GreekOrder, TheDatabaseAndTheInMemorySortAgreeOnEveryPair)
{
    for (const QString &a : kSurnames) {
        for (const QString &b : kSurnames) {
            const QByteArray ua = a.toUtf8();
            const QByteArray ub = b.toUtf8();
            const int expected = GreekText::compare(a, b);
            const int got = GreekText::compareUtf8(ua.constData(), int(ua.size()), ub.constData(),
                                                   int(ub.size()));
            EXPECT_EQ((expected > 0) - (expected < 0), (got > 0) - (got < 0))
                << a.toStdString() << " / " << b.toStdString();
        }
    }
}

TEST(GreekOrder, AListOrderedBySurnameInSqlNeedsNoSecondSort)
{
    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    for (const QString &s : kSurnames)
        addPatient(practice, {"x", s});
    PatientListWindow list;
    auto surnames = [&] {
        QStringList out;
        for (int r = 0; r < list.records().rowCount(); ++r)
            out << list.records().text(r, list.records().fieldIndex("EPWNYMO"));
        return out;
    };
    list.ListSql = PatientSql::allPatients().sql;
    list.FormShow();
    const QStringList bySql = surnames();
    list.records().sort("EPWNYMO ASC");
    EXPECT_EQ(surnames(), bySql);
    EXPECT_EQ(bySql.mid(1, 4), (QStringList {"12ος", "Abbott", "abbott", "Émile"}));
    EXPECT_LT(bySql.indexOf("Άγγελος"), bySql.indexOf("Ζαΐρης"));
    EXPECT_LT(bySql.indexOf("Ψαράς"), bySql.indexOf("Ωμέγας"));
    EXPECT_TRUE(messages.shown().isEmpty());
}
