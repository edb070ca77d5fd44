#include "calendarwindow.h"

#include "calendarmath.h"
#include "officetexts.h"
#include "sqltext.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace OfficeTexts;

namespace {

const QLocale kGreek(QLocale::Greek, QLocale::Greece);

QLineEdit *dateText(QWidget *parent, const QString &name)
{
    auto *text = new QLineEdit(parent);
    text->setObjectName(name);
    text->setReadOnly(true);
    text->setFocusPolicy(Qt::NoFocus);
    text->setFixedWidth(100);
    return text;
}

QDateEdit *picker(QWidget *parent, const QString &name)
{
    auto *p = new QDateEdit(parent);
    p->setObjectName(name);
    p->setCalendarPopup(true);
    p->setDisplayFormat(QStringLiteral("d/M/yyyy"));
    p->setDateRange(QDate(1940, 1, 1), QDate(2050, 1, 1));
    p->setToolTip(kPickerTip);
    p->setLocale(kGreek);
    p->calendarWidget()->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    Kit::nameCalendarArrows(p->calendarWidget());
    p->setFixedWidth(120);
    return p;
}

} // namespace

CalendarWindow::CalendarWindow(QWidget *parent)
    : Window(parent)
{
    setObjectName(QStringLiteral("calendarWindow"));
    setUpWindow(kCalendarCaption, 440, 470);

    auto *page = new QVBoxLayout(this);
    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("monthCalendar"));
    Kit::nameCalendarArrows(m_calendar);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    m_calendar->setGridVisible(true);
    m_calendar->setLocale(kGreek);
    page->addWidget(m_calendar, 1);

    auto *note = new QLabel(kCalendarNote, this);
    note->setObjectName(QStringLiteral("calendarNote"));
    note->setAutoFillBackground(true);
    Kit::setColour(note, QPalette::Window, Qt::white);
    note->setAlignment(Qt::AlignCenter);
    page->addWidget(note);

    auto *easter = new QHBoxLayout;
    auto *easterLabel = Kit::boldLabel(kEasterFor, this);
    easter->addWidget(easterLabel);
    m_year = new QSpinBox(this);
    easterLabel->setBuddy(m_year);
    m_year->setObjectName(QStringLiteral("yearField"));
    m_year->setRange(CalendarMath::kFirstEasterYear, CalendarMath::kLastEasterYear);
    m_year->setToolTip(kYearTip);
    m_year->setFixedWidth(80);
    easter->addWidget(m_year);
    m_easter = Kit::boldLabel(QString(), this, true);
    m_easter->setObjectName(QStringLiteral("easterResult"));
    easter->addWidget(m_easter, 1);
    page->addLayout(easter);
    page->addSpacing(8);

    auto *heading = Kit::boldLabel(kDaysHeading, this);
    page->addWidget(heading);
    auto *dates = new QGridLayout;
    m_fromText = dateText(this, QStringLiteral("fromText"));
    m_fromPicker = picker(this, QStringLiteral("fromPicker"));
    m_toText = dateText(this, QStringLiteral("toText"));
    m_toPicker = picker(this, QStringLiteral("toPicker"));
    m_days = Kit::boldLabel(QString(), this, true);
    m_days->setObjectName(QStringLiteral("dayCount"));
    // The pickers are the fields a person changes: each is named by its row's label.
    auto *fromLabel = Kit::boldLabel(kFrom, this);
    fromLabel->setBuddy(m_fromPicker);
    auto *toLabel = Kit::boldLabel(kTo, this);
    toLabel->setBuddy(m_toPicker);
    dates->addWidget(fromLabel, 0, 0);
    dates->addWidget(m_fromText, 0, 1);
    dates->addWidget(m_fromPicker, 0, 2);
    dates->addWidget(toLabel, 1, 0);
    dates->addWidget(m_toText, 1, 1);
    dates->addWidget(m_toPicker, 1, 2);
    dates->addWidget(m_days, 1, 3);
    dates->setColumnStretch(3, 1);
    page->addLayout(dates);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_exit = new QPushButton(kCalendarExit, this);
    m_exit->setObjectName(QStringLiteral("exitButton"));
    m_exit->setToolTip(kCalendarExit);
    m_exit->setAutoDefault(false);
    setCancelButton(m_exit);
    connect(m_exit, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(m_exit);
    page->addLayout(buttons);

    QWidget::setTabOrder(m_calendar, m_year);
    QWidget::setTabOrder(m_year, m_fromPicker);
    QWidget::setTabOrder(m_fromPicker, m_toPicker);
    QWidget::setTabOrder(m_toPicker, m_exit);

    // Every change of the typed text counts, also a year not yet complete, which the spin box
    // itself does not report.
    connect(m_year->findChild<QLineEdit *>(), &QLineEdit::textChanged, this,
            &CalendarWindow::yearChanged);
    connect(m_fromPicker, &QDateEdit::dateChanged, this, &CalendarWindow::datesChanged);
    connect(m_toPicker, &QDateEdit::dateChanged, this, &CalendarWindow::datesChanged);

    FormShow();
}

CalendarWindow::~CalendarWindow() = default;

void CalendarWindow::FormShow()
{
    const QDate today = QDate::currentDate();
    m_year->setValue(today.year());
    yearChanged(m_year->text());
    m_calendar->setSelectedDate(today);
    m_fromPicker->setDate(today);
    m_toPicker->setDate(today);
    datesChanged();
}

void CalendarWindow::yearChanged(const QString &text)
{
    m_easter->setText(CalendarMath::easterText(text));
}

void CalendarWindow::datesChanged()
{
    m_fromText->setText(SqlText::dateText(m_fromPicker->date()));
    m_toText->setText(SqlText::dateText(m_toPicker->date()));
    m_days->setText(CalendarMath::dayCountText(m_fromPicker->date(), m_toPicker->date()));
}
