#include "locksettingwindow.h"

#include "locktexts.h"
#include "practicesettings.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

LockSettingWindow::LockSettingWindow(QWidget *parent)
    : DataWindow(parent)
{
    setUpWindow(LockTexts::kSettingCaption, 460, 165);
    m_stored = PracticeSettings::kDefaultLockMinutes;
    Kit::guarded(this, [&] {
        openConnection();
        m_stored = PracticeSettings::lockMinutes(m_connection);
    });
    closeData();

    auto *layout = new QVBoxLayout(this);
    auto *help = new QLabel(LockTexts::kSettingHelp, this);
    help->setObjectName(QStringLiteral("helpText"));
    help->setWordWrap(true);
    layout->addWidget(help);

    auto *row = new QHBoxLayout;
    m_minutes = new QSpinBox(this);
    m_minutes->setObjectName(QStringLiteral("minutesBox"));
    m_minutes->setRange(0, PracticeSettings::kMaxLockMinutes);
    m_minutes->setSpecialValueText(LockTexts::kSettingNever);
    m_minutes->setValue(m_stored);
    m_minutes->setMinimumWidth(m_minutes->fontMetrics().horizontalAdvance(QStringLiteral("00000"))
                               + m_minutes->fontMetrics().horizontalAdvance(LockTexts::kSettingNever));
    m_minutes->setAccessibleDescription(LockTexts::kSettingHelp);
    QLabel *label = Kit::labelFor(LockTexts::kSettingLabel, m_minutes);
    m_unit = new QLabel(this);
    m_unit->setObjectName(QStringLiteral("unitLabel"));
    row->addWidget(label);
    row->addWidget(m_minutes);
    row->addWidget(m_unit, 1);
    layout->addLayout(row);
    layout->addStretch(1);

    auto *buttons = new QHBoxLayout;
    m_save = new QPushButton(LockTexts::kSettingSave, this);
    m_save->setObjectName(QStringLiteral("saveButton"));
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(addExitButton());
    layout->addLayout(buttons);
    setDefaultButton(m_save);

    showUnit(m_stored);
    connect(m_minutes, &QSpinBox::valueChanged, this, &LockSettingWindow::showUnit);
    connect(m_save, &QPushButton::clicked, this, &LockSettingWindow::SaveClick);
    m_minutes->setFocus();
}

LockSettingWindow::~LockSettingWindow() = default;

void LockSettingWindow::showUnit(int minutes)
{
    if (minutes == 0)
        m_unit->setText(LockTexts::kSettingOff);
    else
        m_unit->setText(minutes == 1 ? LockTexts::kSettingOneMinute : LockTexts::kSettingMinutes);
}

void LockSettingWindow::SaveClick()
{
    const int minutes = m_minutes->value();
    const bool saved = Kit::guarded(this, [&] {
        openConnection();
        PracticeSettings::setLockMinutes(m_connection, minutes);
    });
    closeData();
    if (!saved)
        return;
    m_stored = minutes;
    accept();
}
