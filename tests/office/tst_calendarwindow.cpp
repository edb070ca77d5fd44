// The desk calendar as a person uses it: what it shows when opened, the year typed digit by
// digit, the two dates and the order the Tab key follows.
#include "calendarmath.h"
#include "calendarwindow.h"
#include "sqltext.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

TEST(CalendarWindow, OpensOnTodayWithThisYearsEasterAndNoDayCount)
{
    CalendarWindow w;
    const QDate today = QDate::currentDate();
    EXPECT_EQ(w.yearField()->value(), today.year());
    EXPECT_EQ(w.easterResult()->text(), CalendarMath::easterText(QString::number(today.year())));
    EXPECT_FALSE(w.easterResult()->text().isEmpty());
    EXPECT_EQ(w.calendar()->selectedDate(), today);
    EXPECT_EQ(w.fromText()->text(), SqlText::dateText(today));
    EXPECT_EQ(w.toText()->text(), SqlText::dateText(today));
    EXPECT_TRUE(w.dayCount()->text().isEmpty());
}

TEST(CalendarWindow, TheYearIsComputedAsItIsTyped)
{
    CalendarWindow w;
    QSpinBox *year = w.yearField();
    year->selectAll();
    QTest::keyClick(year, Qt::Key_Backspace);
    EXPECT_EQ(w.easterResult()->text(), "είναι 10 Απριλίου"); // empty counts as 1583
    const struct {
        char key;
        const char *shown;
    } steps[] = {{'2', ""}, {'0', ""}, {'0', ""}, {'8', "είναι 27 Απριλίου"}};
    for (const auto &s : steps) {
        QTest::keyClicks(year, QString(QLatin1Char(s.key)));
        EXPECT_EQ(w.easterResult()->text(), QString::fromUtf8(s.shown))
            << year->text().toStdString();
    }
}

TEST(CalendarWindow, TheDayCountFollowsBothPickers)
{
    CalendarWindow w;
    const struct {
        QDate from;
        QDate to;
        const char *shown;
    } cases[] = {{QDate(2008, 3, 1), QDate(2008, 3, 31), "Αριθμός ημερών=30"},
                 {QDate(2008, 2, 28), QDate(2008, 3, 1), "Αριθμός ημερών=2"},
                 {QDate(2008, 3, 2), QDate(2008, 3, 1), ""},
                 {QDate(2008, 3, 1), QDate(2008, 3, 1), ""}};
    for (const auto &c : cases) {
        w.toPicker()->setDate(c.to);
        w.fromPicker()->setDate(c.from);
        EXPECT_EQ(w.dayCount()->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(w.fromText()->text(), SqlText::dateText(c.from));
        EXPECT_EQ(w.toText()->text(), SqlText::dateText(c.to));
    }
    // The pickers keep to their range.
    w.fromPicker()->setDate(QDate(1900, 1, 1));
    EXPECT_EQ(w.fromPicker()->date(), QDate(1940, 1, 1));
}

TEST(CalendarWindow, TabGoesCalendarYearPickersExitAndSkipsTheDateTexts)
{
    CalendarWindow w;
    const QList<QWidget *> order {w.calendar(), w.yearField(), w.fromPicker(), w.toPicker(),
                                  w.exitButton()};
    QList<QWidget *> ours = order;
    ours << w.fromText() << w.toText();
    QList<QWidget *> tabbed;
    QWidget *at = w.calendar();
    do {
        if (ours.contains(at) && (at->focusPolicy() & Qt::TabFocus))
            tabbed << at;
        at = at->nextInFocusChain();
    } while (at != w.calendar());
    EXPECT_EQ(tabbed, order);
}
