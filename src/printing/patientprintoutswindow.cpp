#include "patientprintoutswindow.h"

#include "printingtexts.h"
#include "recordset.h"
#include "reportrun.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace PrintingTexts;

namespace {
QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setMinimumHeight(28);
    return b;
}
} // namespace

PatientPrintoutsWindow::PatientPrintoutsWindow(QWidget *parent)
    : DataWindow(parent)
    , m_query(std::make_unique<Query>(m_connection))
    , m_detailsReport(this)
    , m_healthReport(this)
    , m_historyReport(this)
    , m_listReport(this)
{
    setObjectName(QStringLiteral("TForm22"));
    setUpWindow(kCaption, 520, 250);
    closesWithWindow({m_query.get()});

    // One query, exposed to every layout under the one connection name.
    for (ReportProject *r : {&m_detailsReport, &m_healthReport, &m_historyReport, &m_listReport})
        r->addConnection(kPatientConnection, m_query.get());

    auto group = [this](const QString &title, const QString &name) {
        auto *g = new QGroupBox(title, this);
        g->setObjectName(name);
        g->setStyleSheet(QStringLiteral("QGroupBox { font-weight: bold; }"));
        return g;
    };
    QGroupBox *details = group(kGroupDetails, QStringLiteral("GroupBox1"));
    QGroupBox *health = group(kGroupHealth, QStringLiteral("GroupBox2"));
    QGroupBox *history = group(kGroupHistory, QStringLiteral("GroupBox3"));
    QGroupBox *list = group(kGroupList, QStringLiteral("GroupBox4"));

    auto fill = [](QGroupBox *g, std::initializer_list<QPushButton *> buttons) {
        auto *l = new QVBoxLayout(g);
        for (QPushButton *b : buttons) {
            b->setStyleSheet(QStringLiteral("font-weight: normal;"));
            l->addWidget(b);
        }
        l->addStretch();
    };
    QPushButton *b1 = button(kPrintAll, QStringLiteral("Button1"), details);
    QPushButton *b2 = button(kPrintSelected, QStringLiteral("Button2"), details);
    QPushButton *b3 = button(kPrintAll, QStringLiteral("Button3"), health);
    QPushButton *b4 = button(kPrintSelected, QStringLiteral("Button4"), health);
    QPushButton *b5 = button(kPrintAll, QStringLiteral("Button5"), history);
    QPushButton *b6 = button(kPrintSelected, QStringLiteral("Button6"), history);
    QPushButton *b7 = button(kPrintList, QStringLiteral("Button7"), list);
    fill(details, {b1, b2});
    fill(health, {b3, b4});
    fill(history, {b5, b6});
    fill(list, {b7});

    QPushButton *exit = addExitButton(QStringLiteral("ExitButton"), kExit);
    exit->setMinimumHeight(28);
    exit->setMinimumWidth(100);

    auto *grid = new QGridLayout;
    grid->addWidget(details, 0, 0);
    grid->addWidget(history, 0, 1);
    grid->addWidget(health, 1, 0);
    grid->addWidget(list, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(bottom);

    connect(b1, &QPushButton::clicked, this, &PatientPrintoutsWindow::Button1Click);
    connect(b2, &QPushButton::clicked, this, &PatientPrintoutsWindow::Button2Click);
    connect(b3, &QPushButton::clicked, this, &PatientPrintoutsWindow::Button3Click);
    connect(b4, &QPushButton::clicked, this, &PatientPrintoutsWindow::Button4Click);
    connect(b5, &QPushButton::clicked, this, &PatientPrintoutsWindow::Button5Click);
    connect(b6, &QPushButton::clicked, this, &PatientPrintoutsWindow::Button6Click);
    connect(b7, &QPushButton::clicked, this, &PatientPrintoutsWindow::Button7Click);
}

QString PatientPrintoutsWindow::detailsAllSql() const
{
    return kDetailsSelect + ListFilter;
}
QString PatientPrintoutsWindow::detailsSelectedSql() const
{
    return kDetailsSelect + kWhereId + ReportRun::idText(PatientId);
}
QString PatientPrintoutsWindow::healthAllSql() const
{
    return kHealthSelect + ListFilter;
}
QString PatientPrintoutsWindow::healthSelectedSql() const
{
    return kHealthSelect + kWhereId + ReportRun::idText(PatientId);
}
QString PatientPrintoutsWindow::historyAllSql() const
{
    return kHistorySelect + ListFilter;
}
QString PatientPrintoutsWindow::historySelectedSql() const
{
    return kHistorySelect + kWhereId + ReportRun::idText(PatientId);
}
QString PatientPrintoutsWindow::listSql() const
{
    return ListSql;
}

void PatientPrintoutsWindow::print(ReportProject &report, const QString &layout,
                                   QString (PatientPrintoutsWindow::*sql)() const)
{
    Kit::guarded(this,
                 [&] { ReportRun::run(m_connection, *m_query, (this->*sql)(), report, layout); });
}

using P = PatientPrintoutsWindow;
void P::Button1Click()
{
    print(m_detailsReport, kDetailsLayout, &P::detailsAllSql);
}
void P::Button2Click()
{
    print(m_detailsReport, kDetailsLayout, &P::detailsSelectedSql);
}
void P::Button3Click()
{
    print(m_healthReport, kHealthLayout, &P::healthAllSql);
}
void P::Button4Click()
{
    print(m_healthReport, kHealthLayout, &P::healthSelectedSql);
}
void P::Button5Click()
{
    print(m_historyReport, kHistoryLayout, &P::historyAllSql);
}
void P::Button6Click()
{
    print(m_historyReport, kHistoryLayout, &P::historySelectedSql);
}
void P::Button7Click()
{
    print(m_listReport, kListLayout, &P::listSql);
}

PatientPrintoutsWindow::~PatientPrintoutsWindow() = default;
