// The practice's own settings, on the file and (under tests/server/run.sh) on a server: a
// practice made before their table reads the defaults and gets the table with its first
// setting; a setting is one row whatever is written over it.
#include "connection.h"
#include "practicesettings.h"
#include "program.h"
#include "schema.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using TestSupport::TempPractice;

namespace {

void connect(Connection &c)
{
    c.setUp(Program::DbConnectionString, true);
}

} // namespace

TEST(PracticeSettings, AnOlderPracticeReadsTheDefaultAndGetsTheTableWithItsFirstSetting)
{
    TempPractice practice;
    practice.exec(QStringLiteral("DROP TABLE RYTHMISEIS"));
    Connection c;
    connect(c);
    EXPECT_EQ(PracticeSettings::lockMinutes(c), PracticeSettings::kDefaultLockMinutes);
    EXPECT_EQ(PracticeSettings::value(c, QStringLiteral("other"), QStringLiteral("x")),
              QStringLiteral("x"));
    PracticeSettings::setLockMinutes(c, 0);
    EXPECT_TRUE(Schema::hasTable(c, QStringLiteral("RYTHMISEIS")));
    EXPECT_EQ(PracticeSettings::lockMinutes(c), 0);
}

TEST(PracticeSettings, ASettingIsOneRowAndOthersAreLeftAlone)
{
    TempPractice practice;
    Connection c;
    connect(c);
    PracticeSettings::setValue(c, QStringLiteral("other"), QStringLiteral("Ο'Κόνορ"));
    for (int minutes : {5, 0, 480, 481, -2})
        PracticeSettings::setLockMinutes(c, minutes);
    // Out of range is held to the range: -2 is stored as 0 (off, as the person asked).
    EXPECT_EQ(PracticeSettings::lockMinutes(c), 0);
    EXPECT_EQ(practice.count(QStringLiteral("SELECT * FROM RYTHMISEIS WHERE ONOMA='lock_minutes'")),
              1);
    EXPECT_EQ(PracticeSettings::value(c, QStringLiteral("other"), {}), QStringLiteral("Ο'Κόνορ"));
    PracticeSettings::setLockMinutes(c, 481);
    EXPECT_EQ(PracticeSettings::lockMinutes(c), PracticeSettings::kMaxLockMinutes);
}
