#include "commands.h"
#include "testsupport.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(PatientCommands, FindAndNewPatientOpenTheirWindows) {
    TestSupport::TempPractice practice;
    TestSupport::ModalDriver driver;
    CommandTable table;
    AreaCommands::patients(table);
    ASSERT_TRUE(table.contains(Command::FindPatient));
    ASSERT_TRUE(table.contains(Command::NewPatient));
    QWidget main;
    table[Command::FindPatient](&main);
    table[Command::NewPatient](&main);
    EXPECT_EQ(driver.opened(), (QStringList{"Εύρεση ασθενούς", "Καταχώρηση νέου ασθενούς"}));
}
