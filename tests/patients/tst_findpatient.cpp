#include "findpatientwindow.h"
#include "patientfixtures.h"
#include "patientlistwindow.h"
#include "recordset.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace PatientFixtures;

namespace {

// What the list showed when the find window opened it.
struct Shown {
    QString listSql;
    QString listFilter;
    QStringList surnames;
    QString countLine;
};

class FindPatient : public ::testing::Test {
protected:
    FindPatient()
        : driver([this](QDialog *d) {
            auto *list = qobject_cast<PatientListWindow *>(d);
            if (!list)
                return 0;
            list->FormShow();
            Shown s {list->ListSql, list->ListFilter, {}, list->countLine()->text()};
            for (int r = 0; r < list->records().rowCount(); ++r)
                s.surnames << list->records().text(r, list->records().fieldIndex("EPWNYMO"));
            shown << s;
            list->done(0);
            return 0;
        })
        , find(&list)
    {}

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    TestSupport::ModalDriver driver;
    PatientListWindow list;
    FindPatientWindow find;
    QList<Shown> shown;
};

} // namespace

TEST_F(FindPatient, OpensOnTheSurnamePageWithItsButtonDisabled)
{
    EXPECT_EQ(find.windowTitle(), QStringLiteral("Εύρεση ασθενούς"));
    EXPECT_EQ(find.tabs()->currentIndex(), 0);
    EXPECT_EQ(find.tabs()->tabText(0), QStringLiteral("Με βάση τα αρχικά του επωνύμου"));
    EXPECT_EQ(find.tabs()->tabText(1), QStringLiteral("Με βάση την ημερομηνία γεννήσεως"));
    EXPECT_FALSE(find.surnameFindButton()->isEnabled());
    EXPECT_TRUE(find.dateFindButton()->isEnabled());
    EXPECT_EQ(find.allButton()->text(), QStringLiteral("Όλοι οι ασθενείς"));
}

TEST_F(FindPatient, SurnameButtonFollowsTheTypedText)
{
    typeText(find.surnameBox(), QStringLiteral("   "));
    EXPECT_FALSE(find.surnameFindButton()->isEnabled());
    typeText(find.surnameBox(), QStringLiteral("ΠΑΠ"));
    EXPECT_TRUE(find.surnameFindButton()->isEnabled());
    // An apostrophe, or a double surname typed with a hyphen, cannot be searched.
    retype(find.surnameBox(), QStringLiteral("Ο'Κόνορ"));
    EXPECT_FALSE(find.surnameFindButton()->isEnabled());
    retype(find.surnameBox(), QStringLiteral("Παπαδοπούλου-Νικολάου"));
    EXPECT_FALSE(find.surnameFindButton()->isEnabled());
    // Pressed some other way, an unsafe text still never reaches the list.
    find.surnameFindClick();
    EXPECT_TRUE(driver.opened().isEmpty());
}

TEST_F(FindPatient, SurnameSearchTrimsAndIgnoresCaseAndAccents)
{
    addPatient(practice, {"Γιώργος", "ΠΑΠΑΔΟΠΟΥΛΟΣ"});
    addPatient(practice, {"Μαρία", "Παπαδόπουλος"});
    addPatient(practice, {"Νίκος", "Πετρίδης"});
    addPatient(practice, {"Άννα", "Άπαπας"});
    typeText(find.surnameBox(), QStringLiteral("  ΠΑΠ  "));
    find.surnameFindButton()->click();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(driver.opened(), QStringList {QStringLiteral("Βασικά στοιχεία των ασθενών")});
    EXPECT_TRUE(shown[0].listSql.endsWith(
        QStringLiteral("FROM STOIXEIA_PELATH WHERE EPWNYMO LIKE'ΠΑΠ%' ORDER BY EPWNYMO ASC")));
    EXPECT_EQ(shown[0].listFilter, QStringLiteral("WHERE EPWNYMO LIKE'ΠΑΠ%' ORDER BY EPWNYMO ASC"));
    EXPECT_EQ(shown[0].surnames.size(), 2);
    EXPECT_EQ(shown[0].countLine, QStringLiteral("Βρέθηκαν 2 ασθενείς"));

    retype(find.surnameBox(), QStringLiteral("παπ"));
    find.surnameFindButton()->click();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1].surnames.size(), 2);
    // Enter in the box searches too.
    QTest::keyClick(find.surnameBox(), Qt::Key_Return);
    EXPECT_EQ(shown.size(), 3);
    // The boxes keep their texts across showings of the list.
    EXPECT_EQ(find.surnameBox()->text(), QStringLiteral("παπ"));
}

TEST_F(FindPatient, BirthDatesAreAnInclusiveSpanInSurnameOrder)
{
    addPatient(practice, {"Α", "Ζήσης", "31/12/1949"});
    addPatient(practice, {"Β", "Γεωργίου", "1/1/1950"});
    addPatient(practice, {"Γ", "Αλεξίου", "15/6/1955"});
    addPatient(practice, {"Δ", "Βλάχος", "31/12/1960"});
    addPatient(practice, {"Ε", "Δήμου", "1/1/1961"});
    addPatient(practice, {"Ζ", "Έψιλον"});
    find.tabs()->setCurrentIndex(1);
    typeText(find.fromBox(), QStringLiteral("1/1/1950"));
    typeText(find.toBox(), QStringLiteral("31/12/1960"));
    ASSERT_TRUE(find.dateFindButton()->isEnabled());
    find.dateFindButton()->click();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].listFilter,
              QStringLiteral(" WHERE HMEROMHNIA_GENNHSEWS BETWEEN #1/1/1950# "
                             "AND #12/31/1960# ORDER BY EPWNYMO ASC"));
    EXPECT_EQ(shown[0].surnames, (QStringList {"Αλεξίου", "Βλάχος", "Γεωργίου"}));
}

TEST_F(FindPatient, DatesWithOtherSeparatorsCannotBeSearched)
{
    typeText(find.fromBox(), QStringLiteral("1.1.1950"));
    EXPECT_FALSE(find.dateFindButton()->isEnabled());
    retype(find.fromBox(), QStringLiteral("1/1/1950"));
    EXPECT_TRUE(find.dateFindButton()->isEnabled());
    typeText(find.toBox(), QStringLiteral("31-12-1960"));
    EXPECT_FALSE(find.dateFindButton()->isEnabled());
}

TEST_F(FindPatient, DatesThatAreNoDatesAreRefusedUntilChanged)
{
    // Both empty: the button is enabled, but the search is refused.
    find.dateFindButton()->click();
    EXPECT_EQ(messages.texts(), QStringList {QStringLiteral("Λανθασμένα κριτήρια.")});
    EXPECT_EQ(messages.shown().first().kind, QStringLiteral("information"));
    EXPECT_FALSE(find.dateFindButton()->isEnabled());
    EXPECT_TRUE(driver.opened().isEmpty());

    typeText(find.fromBox(), QStringLiteral("1/1/1950"));
    EXPECT_TRUE(find.dateFindButton()->isEnabled());
    typeText(find.toBox(), QStringLiteral("31/2/1960"));
    find.dateFindButton()->click();
    EXPECT_EQ(messages.shown().size(), 2);
    EXPECT_FALSE(find.dateFindButton()->isEnabled());
    EXPECT_TRUE(driver.opened().isEmpty());
}

TEST_F(FindPatient, FromAfterToListsNobody)
{
    addPatient(practice, {"Γ", "Αλεξίου", "15/6/1955"});
    typeText(find.fromBox(), QStringLiteral("31/12/1960"));
    typeText(find.toBox(), QStringLiteral("1/1/1950"));
    find.dateFindButton()->click();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].surnames.isEmpty());
    EXPECT_EQ(shown[0].countLine, QStringLiteral("Βρέθηκαν 0 ασθενείς"));
}

TEST_F(FindPatient, AllPatientsHasNoFilter)
{
    addPatient(practice, {"Β", "Βήτα"});
    addPatient(practice, {"Α", "Άλφα"});
    find.allButton()->click();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].listFilter.isEmpty());
    EXPECT_EQ(shown[0].surnames, (QStringList {"Άλφα", "Βήτα"}));
}
