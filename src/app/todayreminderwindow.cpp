#include "todayreminderwindow.h"

#include "program.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TodayReminderWindow::TodayReminderWindow(QWidget *parent) : Window(parent), m_query(m_connection)
{
    setUpWindow(QStringLiteral("Υπενθυμίσεις"), 420, 260);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto *layout = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("reminderText"));
    m_text->setReadOnly(true);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(m_text);
    m_exit = new QPushButton(QStringLiteral("Έ&ξοδος"), this);
    m_exit->setObjectName(QStringLiteral("exitButton"));
    layout->addWidget(m_exit, 0, Qt::AlignRight);
    setCancelButton(m_exit);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::close);
}

TodayReminderWindow::~TodayReminderWindow() = default;

void TodayReminderWindow::FormShow()
{
    Kit::guarded(this, [&] {
        m_connection.setUp(Program::DbConnectionString, true);
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

void TodayReminderWindow::showEvent(QShowEvent *event)
{
    Window::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TodayReminderWindow::closeEvent(QCloseEvent *event)
{
    m_connection.close();
    Window::closeEvent(event);
}
