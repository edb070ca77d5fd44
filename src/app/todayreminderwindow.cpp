#include "todayreminderwindow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TodayReminderWindow::TodayReminderWindow(QWidget *parent)
    : DataWindow(parent)
    , m_query(m_connection)
{
    setUpWindow(QStringLiteral("Υπενθυμίσεις"), 420, 260);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto *layout = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("reminderText"));
    m_text->setReadOnly(true);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(m_text);
    m_exit = addExitButton();
    layout->addWidget(m_exit, 0, Qt::AlignRight);
    closesWithWindow({&m_query});
}

TodayReminderWindow::~TodayReminderWindow() = default;

void TodayReminderWindow::FormShow()
{
    Kit::guarded(this, [&] {
        openConnection();
        m_query.close();
        m_query.open();
        // Several reminders for the day are shown one after another, in the order entered.
        QStringList texts;
        const int column = m_query.fieldIndex(QStringLiteral("PERIGRAFH"));
        for (int row = 0; row < m_query.rowCount(); ++row)
            texts << m_query.text(row, column);
        m_text->setPlainText(texts.join(QStringLiteral("\n\n")));
    });
}
