#include "notesprintingwindow.h"

#include "connection.h"
#include "printingtexts.h"
#include "recordset.h"
#include "reportrun.h"

#include <QPushButton>
#include <QVBoxLayout>

using namespace PrintingTexts;

NotesPrintingWindow::NotesPrintingWindow(QWidget *parent)
    : Window(parent), m_connection(std::make_unique<Connection>()), m_query(std::make_unique<Query>(*m_connection)), m_report(this)
{
    setObjectName(QStringLiteral("TForm7"));
    setUpWindow(kCaption, 300, 150);
    m_report.addConnection(kNotesConnection, m_query.get());

    auto *layout = new QVBoxLayout(this);
    const QStringList texts{kPrintAll, kPrintSelected, kExit};
    QList<QPushButton *> buttons;
    for (int i = 0; i < texts.size(); ++i) {
        auto *b = new QPushButton(texts[i], this);
        b->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        b->setAutoDefault(false);
        b->setMinimumHeight(32);
        layout->addWidget(b);
        buttons << b;
    }
    buttons[2]->setObjectName(QStringLiteral("ExitButton"));
    setCancelButton(buttons[2]);
    connect(buttons[0], &QPushButton::clicked, this, &NotesPrintingWindow::Button1Click);
    connect(buttons[1], &QPushButton::clicked, this, &NotesPrintingWindow::Button2Click);
    connect(buttons[2], &QPushButton::clicked, this, &QDialog::reject);
}

QString NotesPrintingWindow::selectedSql() const
{
    return kOneNoteSelect + NoteId;
}

void NotesPrintingWindow::Button1Click()
{
    Kit::guarded(this, [this] {
        ReportRun::run(*m_connection, *m_query, kAllNotesSelect, m_report, kNotesLayout);
    });
}

void NotesPrintingWindow::Button2Click()
{
    Kit::guarded(this, [this] {
        ReportRun::run(*m_connection, *m_query, selectedSql(), m_report, kNotesLayout);
    });
}

void NotesPrintingWindow::done(int result)
{
    m_query->close();
    m_query->clearSql();
    m_connection->close();
    Window::done(result);
}

NotesPrintingWindow::~NotesPrintingWindow() = default;
