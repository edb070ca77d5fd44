#include "commands.h"
#include "testsupport.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(PatientCommands, FindAndNewPatientOpenTheirWindows)
{
    TestSupport::TempPractice practice;
    TestSupport::ModalDriver driver;
    CommandTable table;
    AreaCommands::patients(table);
    ASSERT_TRUE(table.contains(MenuCommand::FindPatient));
    ASSERT_TRUE(table.contains(MenuCommand::NewPatient));
    QWidget main;
    table[MenuCommand::FindPatient](&main);
    table[MenuCommand::NewPatient](&main);
    EXPECT_EQ(driver.opened(), (QStringList {"Εύρεση ασθενούς", "Καταχώρηση νέου ασθενούς"}));
}
