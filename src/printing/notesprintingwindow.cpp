#include "notesprintingwindow.h"

#include "printingtexts.h"
#include "recordset.h"
#include "reportrun.h"

#include <QPushButton>
#include <QVBoxLayout>

using namespace PrintingTexts;

NotesPrintingWindow::NotesPrintingWindow(QWidget *parent)
    : DataWindow(parent)
    , m_query(std::make_unique<Query>(m_connection))
    , m_report(this)
{
    setObjectName(QStringLiteral("TForm7"));
    setUpWindow(kCaption, 300, 150);
    m_report.addConnection(kNotesConnection, m_query.get());
    closesWithWindow({m_query.get()});

    auto *layout = new QVBoxLayout(this);
    const QStringList texts {kPrintAll, kPrintSelected};
    QList<QPushButton *> buttons;
    for (int i = 0; i < texts.size(); ++i) {
        auto *b = new QPushButton(texts[i], this);
        b->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        b->setAutoDefault(false);
        buttons << b;
    }
    buttons << addExitButton(QStringLiteral("ExitButton"), kExit);
    for (QPushButton *b : buttons) {
        b->setMinimumHeight(32);
        layout->addWidget(b);
    }
    connect(buttons[0], &QPushButton::clicked, this, &NotesPrintingWindow::Button1Click);
    connect(buttons[1], &QPushButton::clicked, this, &NotesPrintingWindow::Button2Click);
}

QString NotesPrintingWindow::selectedSql() const
{
    return kOneNoteSelect + ReportRun::idText(NoteId);
}

void NotesPrintingWindow::Button1Click()
{
    Kit::guarded(this, [this] {
        ReportRun::run(m_connection, *m_query, kAllNotesSelect, m_report, kNotesLayout);
    });
}

void NotesPrintingWindow::Button2Click()
{
    Kit::guarded(this, [this] {
        ReportRun::run(m_connection, *m_query, selectedSql(), m_report, kNotesLayout);
    });
}

NotesPrintingWindow::~NotesPrintingWindow() = default;
